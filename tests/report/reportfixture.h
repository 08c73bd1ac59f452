// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pdfsyntax.h"
#include "report/reportengine.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtEndian>
#include <QtTest>

#include <sys/resource.h>

#include <algorithm>

using namespace Qt::StringLiterals;

using Parameters = QHash<QString, QString>;

// Looks into written PDFs with poppler's command-line tools, so tests check
// what a reader of the document gets rather than bytes.
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
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString text(const QString &pdf)
{
    return run(u"pdftotext"_s, {u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s});
}

inline QList<Word> words(const QString &pdf)
{
    QXmlStreamReader reader(run(u"pdftotext"_s, {u"-bbox"_s, u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s}));
    QList<Word> result;
    const auto mm = [&](const QString &name) { return reader.attributes().value(name).toDouble() * 25.4 / 72; };
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"word"_s) {
            const QRectF box(QPointF(mm(u"xMin"_s), mm(u"yMin"_s)), QPointF(mm(u"xMax"_s), mm(u"yMax"_s)));
            result.append({reader.readElementText(), box});
        }
    }
    return result;
}

// One field of pdfinfo's report: "Title", "Page size", ...
inline QString info(const QString &pdf, const QString &field)
{
    const QRegularExpression line(u"^"_s + QRegularExpression::escape(field) + u":\\s*(.*)$"_s,
                                  QRegularExpression::MultilineOption);
    return line.match(run(u"pdfinfo"_s, {pdf})).captured(1).trimmed();
}

// The rows of a poppler listing below its two heading lines, split at blanks.
inline QList<QStringList> rows(const QString &listing)
{
    QList<QStringList> result;
    for (const QString &line : listing.split(u'\n').mid(2)) {
        if (!line.trimmed().isEmpty())
            result.append(line.simplified().split(u' '));
    }
    return result;
}

// The sizes of the embedded images, soft masks included.
inline QList<QSize> images(const QString &pdf)
{
    QList<QSize> result; // columns: page, num, type, width, height, ...
    for (const QStringList &f : rows(run(u"pdfimages"_s, {u"-list"_s, pdf})))
        result.append({f.value(3).toInt(), f.value(4).toInt()});
    return result;
}

// Each font's name and whether it is embedded.
inline QList<QPair<QString, bool>> fonts(const QString &pdf)
{
    QList<QPair<QString, bool>> result; // columns: name, type (words), encoding, emb, sub, uni, object, id
    for (const QStringList &f : rows(run(u"pdffonts"_s, {pdf})))
        result.append({f.first(), f.value(f.size() - 5) == u"yes"_s});
    return result;
}

inline QImage render(const QString &pdf, int dpi)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(u"page"_s);
    run(u"pdftoppm"_s, {u"-png"_s, u"-r"_s, QString::number(dpi), u"-singlefile"_s, pdf, prefix});
    return QImage(prefix + u".png"_s).convertToFormat(QImage::Format_RGB32);
}

// The first word whose text equals `text`, or a word with an empty text.
inline Word find(const QList<Word> &words, const QString &text)
{
    const auto it = std::find_if(words.begin(), words.end(), [&](const Word &w) { return w.text == text; });
    return it == words.end() ? Word() : *it;
}

// The numbers in the PDF's content streams (pages and the text maps of its
// fonts) that lie outside ±32767, PDF/A-1's limit for integers and reals
// alike, plus "unreadable" for a stream that cannot be inflated.
inline QStringList numbersOutOfRange(const QString &pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return {u"unreadable"_s};
    const QByteArray data = file.readAll();
    QStringList result;
    for (qsizetype at = data.indexOf("stream"); at >= 0; at = data.indexOf("stream", at + 6)) {
        if (at >= 3 && data.mid(at - 3, 3) == "end")
            continue;
        const QByteArray dictionary = data.mid(data.lastIndexOf("obj", at), at - data.lastIndexOf("obj", at));
        qsizetype start = at + 6;
        start += data.mid(start, 2) == "\r\n" ? 2 : 1;
        const qsizetype end = data.indexOf("endstream", start);
        if (end < 0 || !dictionary.contains("/FlateDecode") || dictionary.contains("/Subtype /Image")
            || dictionary.contains("/Length1") || dictionary.contains("/N 3"))
            continue;
        QByteArray packed(4, 0);
        qToBigEndian(quint32(std::min<qsizetype>((end - start) * 64, 1 << 28)), packed.data());
        const QByteArray content = qUncompress(packed + data.mid(start, end - start));
        if (content.isEmpty()) {
            result << u"unreadable"_s;
            continue;
        }
        // Numbers outside strings (...) and hexadecimal strings <...>.
        static const QRegularExpression token(u"\\([^)]*\\)|<[0-9A-Fa-f\\s]*>|[+-]?(?:\\d+\\.?\\d*|\\.\\d+)"_s);
        for (auto it = token.globalMatch(QString::fromLatin1(content)); it.hasNext();) {
            const QString number = it.next().captured();
            if (!number.startsWith(u'(') && !number.startsWith(u'<') && std::abs(number.toDouble()) > 32767)
                result << number;
        }
    }
    return result;
}

// What keeps a written PDF from being archived as PDF/A-1: numbers beyond
// its limits and streams that break its syntax; empty when there is nothing.
inline QString archivalFaults(const QString &pdf)
{
    QStringList faults = pdfsyntax::StreamFaultsOf(pdf).mid(0, 10);
    const QStringList beyond = numbersOutOfRange(pdf);
    if (!beyond.isEmpty())
        faults << u"numbers beyond ±32767 in the content: "_s + beyond.mid(0, 10).join(u' ');
    return faults.join(u'\n');
}

} // namespace pdfprobe

// What a piece of work cost this process: processor seconds and peak memory.
// Every input, however hostile, must stay within the memory bound. The
// tool's memory is bounded by runTool() instead.
struct Cost
{
    double seconds = 0;
    double megabytes = 0;

    static constexpr double kMaxMegabytes = 200.0;
    static constexpr int kMaxCpuSeconds = 10;

    template<typename Work>
    static Cost of(Work &&work)
    {
        const auto now = [] {
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            return std::pair(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
                                 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6,
                             usage.ru_maxrss / 1024.0);
        };
        const double before = now().first;
        work();
        const auto [after, peak] = now();
        return {after - before, peak};
    }

    // Empty when the memory stayed within its bound. Time is not judged
    // here: the engine's own work limits end hostile input with a message,
    // and `make bench` measures speed. Sanitizers reserve memory of their
    // own, so under them memory is not judged either.
    QString excess() const
    {
#if defined(__SANITIZE_ADDRESS__)
        return {};
#else
        if (megabytes > kMaxMegabytes)
            return u"took %1 MB (and %2 s of processor time)"_s.arg(megabytes).arg(seconds);
        return {};
#endif
    }
};

// A run of the template authors' tool.
struct ToolRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs quillbook-render with its data memory limited to Cost::kMaxMegabytes
// and its processor time to Cost::kMaxCpuSeconds, far above what any
// template within the engine's limits needs: a run that needs more fails.
inline ToolRun runTool(const QStringList &arguments)
{
    QProcess process;
#if defined(__SANITIZE_ADDRESS__)
    // LeakSanitizer's tracer faults at the tool's exit after libjpeg has
    // reported a damaged picture; the tests' own processes keep leak checking.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"ASAN_OPTIONS"_s, u"detect_leaks=0"_s);
    process.setProcessEnvironment(environment);
#else
    process.setChildProcessModifier([] {
        const rlimit limit{rlim_t(Cost::kMaxMegabytes * 1024 * 1024), rlim_t(Cost::kMaxMegabytes * 1024 * 1024)};
        setrlimit(RLIMIT_DATA, &limit);
        const rlimit cpu{rlim_t(Cost::kMaxCpuSeconds), rlim_t(Cost::kMaxCpuSeconds)};
        setrlimit(RLIMIT_CPU, &cpu);
    });
#endif
    process.start(QStringLiteral(QUILLBOOK_APP_DIR "/quillbook-render"), arguments);
    if (!process.waitForFinished(60000))
        return {};
    ToolRun run{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    // Every PDF the tool writes could be archived as PDF/A-1.
    if (run.exitCode == 0 && arguments.size() == 3 && arguments[2].endsWith(u".pdf"_s)) {
        const QString faults = pdfprobe::archivalFaults(arguments[2]);
        if (!faults.isEmpty()) {
            run.exitCode = -2;
            run.err += faults;
        }
    }
    return run;
}

// Writes small templates into a temporary folder and exports them with the
// fonts of the application folder, as the program does.
class ReportFixture
{
public:
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
        return (u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<report version=\"1\" "_s + rootAttributes
                + u">\n"_s + body + u"\n</report>\n"_s)
            .toUtf8();
    }

    // Exports the template `file` with exactly `parameters`; returns the PDF's
    // path, or an empty string with the engine's description in `error`.
    QString exportPdf(const QString &file, const Parameters &parameters, const QString &output = u"out.pdf"_s,
                      QString *error = nullptr)
    {
        engine.TemplatePath(file);
        engine.clearParameters();
        for (auto it = parameters.begin(); it != parameters.end(); ++it)
            engine.SetParameter(it.key(), it.value());
        if (engine.ExportPdf(path(output))) {
            // Every PDF the tests write could be archived as PDF/A-1.
            const QString message = pdfprobe::archivalFaults(path(output));
            if (message.isEmpty())
                return path(output);
            if (error)
                *error = message;
            else
                qWarning("%s", qPrintable(message));
            return {};
        }
        if (error)
            *error = engine.errorString();
        else
            qWarning("export failed: %s", qPrintable(engine.errorString()));
        return {};
    }

    // As above for a template holding `body`.
    QString render(const QString &body, const Parameters &parameters = {}, const QString &rootAttributes = {},
                   QString *error = nullptr, const QString &output = u"out.pdf"_s)
    {
        return exportPdf(write(u"t.rep"_s, wrap(body, rootAttributes)), parameters, output, error);
    }
};
