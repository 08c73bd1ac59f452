// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Renders a template as Quillbook would, for template authors:
//   quillbook-render TEMPLATE PARAMS OUT.pdf
//   quillbook-render --check TEMPLATE

#include "invoiceparameters.h"
#include "paramsfile.h"
#include "report/reportengine.h"

#include <QGuiApplication>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

int usage(QTextStream &err)
{
    err << "usage: quillbook-render TEMPLATE PARAMS OUT.pdf\n"
           "       quillbook-render --check TEMPLATE\n"
           "PARAMS holds NAME=VALUE lines (UTF-8; \\n in a value is a line break).\n";
    return 2;
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
    const QStringList args = app.arguments().mid(1);
    const QStringList names = invoiceParameterNames();

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
    if (!engine.ExportPdf(args[2])) {
        err << engine.errorString() << '\n';
        return 1;
    }
    for (const QString &warning : engine.warnings())
        err << warning << '\n';
    return 0;
}
