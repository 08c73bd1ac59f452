// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/reportengine.h"

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtEndian>
#include <QtTest>

using namespace Qt::StringLiterals;

using Parameters = QHash<QString, QString>;

// Reads written PDFs back with poppler's tools, as a reader of the document gets them.
namespace pdfprobe {

struct Word
{
    QString text;
    QRectF box; // millimetres from the page's top-left corner
};

// A program's standard output; empty, with a warning, when it fails.
inline QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    const bool ran
        = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!ran)
        qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return ran ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

inline QString text(const QString &pdf)
{
    return run(u"pdftotext"_s, {u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s});
}

inline QList<Word> words(const QString &pdf)
{
    QXmlStreamReader reader(run(u"pdftotext"_s, {u"-bbox"_s, u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s}));
    QList<Word> result;
    const auto mm
        = [&](const char *name) { return reader.attributes().value(QLatin1StringView(name)).toDouble() * 25.4 / 72; };
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"word"_s) {
            const QRectF box(QPointF(mm("xMin"), mm("yMin")), QPointF(mm("xMax"), mm("yMax")));
            result.append({reader.readElementText(), box});
        }
    }
    return result;
}

// The box of the first word whose text equals `text`; a null box when there is none.
inline QRectF find(const QList<Word> &words, const QString &text)
{
    const auto it = std::find_if(words.begin(), words.end(), [&](const Word &w) { return w.text == text; });
    return it == words.end() ? QRectF() : it->box;
}

// One field of pdfinfo's report: "Title", "Page size", ...
inline QString info(const QString &pdf, const QString &field)
{
    const QRegularExpression line(u"^"_s + field + u":\\s*(.*)$"_s, QRegularExpression::MultilineOption);
    return line.match(run(u"pdfinfo"_s, {pdf})).captured(1).trimmed();
}

// The rows of a poppler listing below its two heading lines, split at blanks.
inline QList<QStringList> rows(const QString &program, const QStringList &arguments)
{
    QList<QStringList> result;
    for (const QString &line : run(program, arguments).split(u'\n', Qt::SkipEmptyParts).mid(2))
        result.append(line.simplified().split(u' '));
    return result;
}

// The sizes of the embedded images (columns: page, num, type, width, height, ...).
inline QList<QSize> images(const QString &pdf)
{
    QList<QSize> result;
    for (const QStringList &f : rows(u"pdfimages"_s, {u"-list"_s, pdf}))
        result.append({f.value(3).toInt(), f.value(4).toInt()});
    return result;
}

// What keeps a written PDF from being archived as PDF/A-1, empty when nothing
// does: numbers beyond ±32767 in page content. Stream syntax is the preflight's (tests/pdfa).
inline QString archivalFaults(const QString &pdf)
{
    QStringList faults;
    QFile file(pdf);
    const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    static const QRegularExpression token(u"\\([^)]*\\)|<[0-9A-Fa-f\\s]*>|[+-]?(?:\\d+\\.?\\d*|\\.\\d+)"_s);
    for (qsizetype at = data.indexOf("stream"); at >= 0; at = data.indexOf("stream", at + 6)) {
        const QByteArray dictionary = data.mid(data.lastIndexOf("obj", at), at - data.lastIndexOf("obj", at));
        const qsizetype start = at + (data.mid(at + 6, 2) == "\r\n" ? 8 : 7), end = data.indexOf("endstream", start);
        if (data.mid(at - 3, 3) == "end" || end < 0 || !dictionary.contains("/FlateDecode")
            || dictionary.contains("/Subtype /Image") || dictionary.contains("/Length1") || dictionary.contains("/N 3"))
            continue;
        QByteArray packed(4, 0);
        qToBigEndian(quint32(std::min<qsizetype>((end - start) * 64, 1 << 28)), packed.data());
        const QString content = QString::fromLatin1(qUncompress(packed + data.mid(start, end - start)));
        if (content.isEmpty())
            faults << u"a stream that cannot be inflated at %1"_s.arg(at);
        for (auto it = token.globalMatch(content); it.hasNext();) {
            const QString number = it.next().captured();
            if (!number.startsWith(u'(') && !number.startsWith(u'<') && std::abs(number.toDouble()) > 32767)
                faults << u"the number %1 in the stream at %2"_s.arg(number).arg(at);
        }
    }
    return faults.mid(0, 20).join(u'\n');
}

} // namespace pdfprobe

// Writes templates into a temporary folder and exports them with the
// application folder's fonts, as the program does.
struct ReportFixture
{
    QTemporaryDir dir;
    report::ReportEngine engine;

    ReportFixture() { engine.setFontsFolder(QStringLiteral(QUILLBOOK_APP_DIR "/fonts")); }

    QString path(const QString &name) const { return dir.filePath(name); }

    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? file.fileName() : QString();
    }

    // A template whose <report> holds `body`.
    static QByteArray wrap(const QString &body, const QString &rootAttributes = {})
    {
        return (u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<report version=\"1\" "_s + rootAttributes + u">\n"_s
                + body + u"\n</report>\n"_s)
            .toUtf8();
    }

    // Exports `file` with exactly `parameters`: the PDF's path, or empty with
    // the engine's error (or what keeps the PDF from archiving) in `error`.
    QString exportPdf(const QString &file, const Parameters &parameters, const QString &output = u"out.pdf"_s,
                      QString *error = nullptr)
    {
        engine.TemplatePath(file);
        engine.clearParameters();
        for (auto it = parameters.begin(); it != parameters.end(); ++it)
            engine.SetParameter(it.key(), it.value());
        const QString message
            = engine.ExportPdf(path(output)) ? pdfprobe::archivalFaults(path(output)) : engine.errorString();
        if (message.isEmpty())
            return path(output);
        if (error)
            *error = message;
        else
            qWarning("export failed: %s", qPrintable(message));
        return {};
    }

    // As above for a template holding `body`.
    QString render(const QString &body, const Parameters &parameters = {}, const QString &rootAttributes = {},
                   QString *error = nullptr, const QString &output = u"out.pdf"_s)
    {
        return exportPdf(write(u"t.rep"_s, wrap(body, rootAttributes)), parameters, output, error);
    }
};
