// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Feeds arbitrary bytes to the template reader and draws whatever it accepts,
// with parameters of every awkward shape, onto a small picture.

#include "report/pagerenderer.h"
#include "report/templateparser.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

QStringList knownNames()
{
    QStringList names{u"PNAME"_s, u"PLOGO"_s, u"P"_s, u"PTOTAL"_s};
    for (int n = 1; n <= 12; ++n)
        names << u"PQTY%1"_s.arg(n) << u"PTOTAL%1"_s.arg(n);
    return names;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QStringList names = knownNames();
    static const QHash<QString, QString> parameters = [] {
        QHash<QString, QString> values;
        const QStringList samples{u""_s, u"0.00"_s, u"1,234.50"_s, u"line\nbreak"_s,
                                  QString(3000, u'W'), u"שלום 中文 Ελληνικά"_s};
        qsizetype i = 0;
        for (const QString &name : knownNames())
            values.insert(name, samples[i++ % samples.size()]);
        values.insert(u"PLOGO"_s, u"/nonexistent/logo.jpg"_s);
        return values;
    }();

    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     qsizetype(size));
    report::TemplateParser parser(u"fuzz.rep"_s);
    const auto tpl = parser.parse(bytes);
    report::checkPlaceholders(parser.placeholders(), names, u"fuzz.rep"_s);
    if (!tpl)
        return 0;

    // A coarse picture keeps each run fast while every layout path still runs.
    QImage page(84, 119, QImage::Format_RGB32);
    page.setDotsPerMeterX(394); // 10 dpi
    page.setDotsPerMeterY(394);
    page.fill(Qt::white);
    QPainter painter(&page);
    report::PageRenderer renderer(painter, 10.0, parameters, QString(),
                                  [](const QString &, QSizeF) { return QImage(); });
    renderer.render(*tpl);
    return 0;
}
