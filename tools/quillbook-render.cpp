// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Renders a template as Quillbook would, for template authors:
//   quillbook-render TEMPLATE PARAMS OUT.pdf
//   quillbook-render --attach XML TEMPLATE PARAMS OUT.pdf
//   quillbook-render --check TEMPLATE
//   quillbook-render --help | --version

#include "invoicepdf/invoiceparameters.h"
#include "paramsfile.h"
#include "einvoice/facturx.h"
#include "pdfa3/pdfa3.h"
#include "report/reportengine.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

using invoicepdf::InvoiceParameterNames;

using namespace Qt::StringLiterals;

namespace {

// Asked for, the usage goes to standard output and the run succeeds.
int usage(QTextStream &stream, int exitCode = 2)
{
    stream << "usage: quillbook-render TEMPLATE PARAMS OUT.pdf\n"
              "       quillbook-render --attach XML TEMPLATE PARAMS OUT.pdf\n"
              "       quillbook-render --check TEMPLATE\n"
              "       quillbook-render --help | --version\n"
              "PARAMS holds NAME=VALUE lines (UTF-8; \\n in a value is a line break).\n";
    return exitCode;
}

} // namespace

int main(int argc, char *argv[])
{
    // A command-line tool must not need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    // --attach writes a PDF/A-3 carrying the given XML as its factur-x.xml.
    QString attach;
    if (args.size() == 5 && args[0] == u"--attach"_s) {
        attach = args[1];
        args = args.mid(2);
    }
    const QStringList names = InvoiceParameterNames();

    if (args == QStringList{u"--help"_s})
        return usage(out, 0);
    if (args == QStringList{u"--version"_s}) {
        out << "quillbook-render " QUILLBOOK_VERSION "\n";
        return 0;
    }

    report::ReportEngine engine;
    if (args.size() == 2 && args[0] == u"--check"_s) {
        engine.TemplatePath(args[1]);
        for (const QString &name : names)
            engine.SetParameter(name, QString());
        if (!engine.check()) {
            err << engine.errorString() << '\n';
            return 1;
        }
        out << args[1] << ": no problems found\n";
        return 0;
    }
    if (args.size() != 3 || args[0].startsWith(u"--"_s))
        return usage(err);

    const ParamsFile params = readParamsFile(args[1], names);
    if (!params.problems.isEmpty()) {
        err << params.problems.join(u'\n') << '\n';
        return 1;
    }
    engine.TemplatePath(args[0]);
    for (const QString &name : names)
        engine.SetParameter(name, QString());
    for (const auto &[name, value] : params.values)
        engine.SetParameter(name, value);
    if (attach.isEmpty()) {
        if (!engine.ExportPdf(args[2])) {
            err << engine.errorString() << '\n';
            return 1;
        }
    } else {
        QFile xml(attach);
        if (!xml.open(QIODevice::ReadOnly)) {
            err << attach << ": " << xml.errorString() << '\n';
            return 1;
        }
        QTemporaryDir work;
        const QString exported = work.filePath(QFileInfo(args[2]).fileName());
        const pdfa3::Attachment attachment{xml.readAll(),         einvoice::FacturXFileName(),
                                           u"text/xml"_s,         u"Alternative"_s,
                                           u"Factur-X invoice"_s, QDateTime::currentDateTimeUtc()};
        QString error;
        if (!engine.ExportPdf(exported)
            || !pdfa3::WritePdfA3(exported, args[2], attachment, einvoice::FacturXSchema(), &error)) {
            err << (error.isEmpty() ? engine.errorString() : error) << '\n';
            return 1;
        }
    }
    // A picture left out does not stop the invoice; the author is told why.
    for (const QString &warning : engine.warnings())
        err << warning << '\n';
    return 0;
}
