// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Feeds arbitrary bytes to the template reader, the parameters reader and
// the picture loader, and writes whatever they accept as a real PDF/A page,
// as quillbook-render does. An input is a template, optionally followed by
// a line "#params" and a parameters file, and by a line "#image" and the
// bytes of the logo.

#include "invoicepdf/invoiceparameters.h"
#include "paramsfile.h"
#include "report/fontfolder.h"
#include "report/imageloader.h"
#include "report/pagerenderer.h"
#include "report/templateparser.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdint>

using invoicepdf::InvoiceParameterNames;

using namespace Qt::StringLiterals;

namespace {

QStringList families;
QTemporaryDir *folder = nullptr;

// Splits off what follows `marker` at the start of a line.
QByteArray takeSection(QByteArray &data, const QByteArray &marker)
{
    const qsizetype at = data.indexOf("\n" + marker + "\n");
    if (at < 0)
        return {};
    const QByteArray section = data.mid(at + marker.size() + 2);
    data.truncate(at + 1);
    return section;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit it would remove the application fonts after
    // Qt's per-thread storage is gone.
    static QGuiApplication *app = new QGuiApplication(*argc, *argv);
    Q_UNUSED(app);
    families = report::registerFontFolder(QStringLiteral(QUILLBOOK_APP_DIR "/fonts"));
    folder = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QStringList names = InvoiceParameterNames();
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray image = takeSection(bytes, "#image");
    const QByteArray params = takeSection(bytes, "#params");

    report::TemplateParser parser;
    const auto tpl = parser.parse(bytes);
    report::ProblemList problems = parser.problems();
    report::checkPlaceholders(parser.placeholders(), names, problems);
    report::checkFonts(parser.fonts(), families, problems);
    problems.lines(u"fuzz.rep"_s);
    const ParamsFile values = readParams(params, u"fuzz.params"_s, names);
    if (!tpl || !problems.isEmpty())
        return 0;

    QHash<QString, QString> parameters;
    for (const QString &name : names)
        parameters.insert(name, QString());
    for (const auto &[name, value] : values.values)
        parameters.insert(name, value);
    const QString logo = folder->filePath(u"logo"_s);
    if (!image.isEmpty()) {
        QFile file(logo);
        if (file.open(QIODevice::WriteOnly))
            file.write(image);
        parameters.insert(u"PLOGO"_s, logo);
    }

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(tpl->pageSize, tpl->orientation, QMarginsF()));
    report::PageRenderer renderer(&writer, parameters, folder->path(),
                                  [](const QString &path, QSizeF box, QColor background) {
                                      return report::loadImageForBox(path, box, background);
                                  });
    renderer.setFallbackFamilies(families);
    if (!renderer.layOut(*tpl))
        return 0;
    QPainter painter(&writer);
    renderer.paint(painter);
    painter.end();
    return 0;
}
