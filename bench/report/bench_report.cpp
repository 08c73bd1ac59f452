// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Reading the default template, and writing a full twelve-line invoice with a
// logo, document after document in one process as the program does; beside
// it the same invoice drawn by hand with QPdfWriter, the yardstick.

#include "handinvoice.h"
#include "report/reportengine.h"
#include "report/templateparser.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString kTemplate = QStringLiteral(QUILLBOOK_SOURCE_DIR "/templates/invferncask.rep");

void parseDefaultTemplate(benchmark::State &state)
{
    const QByteArray data = readFile(kTemplate);
    for (auto _ : state) {
        report::TemplateParser parser;
        auto tpl = parser.parse(data);
        benchmark::DoNotOptimize(tpl);
        if (!tpl)
            state.SkipWithError("the template does not parse");
    }
}
BENCHMARK(parseDefaultTemplate)->Unit(benchmark::kMicrosecond)->Repetitions(5);

void exportInvoice(benchmark::State &state)
{
    QTemporaryDir dir;
    report::ReportEngine engine;
    engine.setFontsFolder(QStringLiteral(QUILLBOOK_APP_DIR "/fonts"));
    engine.TemplatePath(kTemplate);
    const QString params
        = QString::fromUtf8(readFile(QStringLiteral(QUILLBOOK_SOURCE_DIR "/bench/report/invoice12.params")));
    for (const QString &line : params.split(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        if (!line.startsWith(u'#') && equals > 0)
            engine.SetParameter(line.left(equals), line.mid(equals + 1));
    }
    engine.SetParameter(u"PLOGO"_s, QStringLiteral(QUILLBOOK_SOURCE_DIR "/assets/logo.jpg"));
    int number = 0;
    for (auto _ : state) {
        // Each document has its own file, as each invoice does.
        const QString output = dir.filePath(u"INV%1.pdf"_s.arg(++number % 100));
        if (!engine.ExportPdf(output))
            state.SkipWithError(engine.errorString().toUtf8().constData());
    }
}
BENCHMARK(exportInvoice)->Unit(benchmark::kMillisecond)->Iterations(100)->Repetitions(5);

// The yardstick: the values read and the logo decoded once, as the engine keeps them.
void handDrawnInvoice(benchmark::State &state)
{
    QTemporaryDir dir;
    yardstick::addFonts(QStringLiteral(QUILLBOOK_APP_DIR "/fonts"));
    const yardstick::Values values
        = yardstick::readValues(QStringLiteral(QUILLBOOK_SOURCE_DIR "/bench/report/invoice12.params"));
    const QImage logo(QStringLiteral(QUILLBOOK_SOURCE_DIR "/assets/logo.jpg"));
    int number = 0;
    for (auto _ : state) {
        if (!yardstick::drawInvoice(values, logo, dir.filePath(u"INV%1.pdf"_s.arg(++number % 100))))
            state.SkipWithError("the PDF could not be written");
    }
}
BENCHMARK(handDrawnInvoice)->Unit(benchmark::kMillisecond)->Iterations(100)->Repetitions(5);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
