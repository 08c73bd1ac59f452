// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdfprobe.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace pdfprobe {

QString run(const QString &program, const QStringList &arguments, bool *ok)
{
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForFinished(60000);
    const bool success = finished && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
    if (ok)
        *ok = success;
    if (!success) {
        qWarning("%s failed: %s", qPrintable(program),
                 qPrintable(QString::fromUtf8(process.readAllStandardError())));
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString text(const QString &pdf)
{
    return run(u"pdftotext"_s, {u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s});
}

QList<Word> words(const QString &pdf)
{
    const QString xml = run(u"pdftotext"_s, {u"-bbox"_s, u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s});
    QList<Word> result;
    QXmlStreamReader reader(xml);
    constexpr double mmPerPoint = 25.4 / 72.0;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement || reader.name() != u"word"_s)
            continue;
        const auto a = reader.attributes();
        const double x0 = a.value(u"xMin"_s).toDouble() * mmPerPoint;
        const double y0 = a.value(u"yMin"_s).toDouble() * mmPerPoint;
        const double x1 = a.value(u"xMax"_s).toDouble() * mmPerPoint;
        const double y1 = a.value(u"yMax"_s).toDouble() * mmPerPoint;
        result.append({reader.readElementText(), QRectF(QPointF(x0, y0), QPointF(x1, y1))});
    }
    return result;
}

QString info(const QString &pdf, bool metadata)
{
    QStringList args;
    if (metadata)
        args << u"-meta"_s;
    return run(u"pdfinfo"_s, args << pdf);
}

QString infoField(const QString &pdf, const QString &field)
{
    const QRegularExpression line(u"^"_s + QRegularExpression::escape(field) + u":\\s*(.*)$"_s,
                                  QRegularExpression::MultilineOption);
    return line.match(info(pdf)).captured(1).trimmed();
}

QList<Image> images(const QString &pdf)
{
    const QStringList lines = run(u"pdfimages"_s, {u"-list"_s, pdf}).split(u'\n');
    QList<Image> result;
    for (const QString &line : lines.mid(2)) {
        const QStringList f = line.simplified().split(u' ');
        if (f.size() < 9)
            continue;
        result.append({f[3].toInt(), f[4].toInt(), f[2], f[8]});
    }
    return result;
}

QList<QPair<QString, bool>> fonts(const QString &pdf)
{
    const QStringList lines = run(u"pdffonts"_s, {pdf}).split(u'\n');
    QList<QPair<QString, bool>> result;
    // Columns: name, type (one or more words), encoding, emb, sub, uni, object, id.
    for (const QString &line : lines.mid(2)) {
        const QStringList f = line.simplified().split(u' ');
        if (f.size() < 7)
            continue;
        result.append({f.first(), f[f.size() - 5] == u"yes"_s});
    }
    return result;
}

QImage render(const QString &pdf, int dpi)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(u"page"_s);
    run(u"pdftoppm"_s, {u"-png"_s, u"-r"_s, QString::number(dpi), u"-singlefile"_s, pdf, prefix});
    return QImage(prefix + u".png"_s).convertToFormat(QImage::Format_RGB32);
}

Word find(const QList<Word> &words, const QString &text)
{
    for (const Word &word : words) {
        if (word.text == text)
            return word;
    }
    return {};
}

} // namespace pdfprobe
