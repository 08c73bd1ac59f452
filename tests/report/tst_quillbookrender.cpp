// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The template authors' tool, run as a user runs it, with broken, hostile and
// oversized pictures too.

#include "reportfixture.h"

#include <QBuffer>
#include <QImage>

#include <sys/resource.h>

namespace {

struct ToolRun
{
    int exitCode = -1;
    QString out, err;
};

// Runs quillbook-render within 200 MB and 10 s of processor time, far beyond
// what any template within the engine's limits needs: a run that needs more fails.
ToolRun runTool(const QStringList &arguments)
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
        const rlimit memory{rlim_t(200) << 20, rlim_t(200) << 20}, cpu{10, 10};
        setrlimit(RLIMIT_DATA, &memory);
        setrlimit(RLIMIT_CPU, &cpu);
    });
#endif
    process.start(QStringLiteral(QUILLBOOK_APP_DIR "/quillbook-render"), arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// A PNG whose header declares `width` x `height`, with a valid checksum but
// no picture behind it.
QByteArray pngHeader(quint32 width, quint32 height)
{
    QByteArray chunk("IHDR\0\0\0\0\0\0\0\0\x08\x02\0\0\0", 17), tail(4, 0); // 8 bit RGB, no interlace
    qToBigEndian(width, chunk.data() + 4);
    qToBigEndian(height, chunk.data() + 8);
    quint32 crc = 0xffffffffu;
    for (const char byte : std::as_const(chunk)) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    qToBigEndian(crc ^ 0xffffffffu, tail.data());
    return QByteArray("\x89PNG\r\n\x1a\n\0\0\0\x0d", 12) + chunk + tail;
}

QByteArray picture(QSize size, const char *format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(30, 120, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 90);
    return bytes;
}

} // namespace

class QuillbookRenderTest : public QObject
{
    Q_OBJECT

private slots:
    void runs_data()
    {
        QTest::addColumn<QStringList>("arguments"); // "@" stands for the temporary folder
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("expected"); // in standard output for 0, else in standard error
        const QString shipped = QStringLiteral(QUILLBOOK_SOURCE_DIR "/templates/invferncask.rep");
        QTest::newRow("check a shipped template") << QStringList{u"--check"_s, shipped} << 0 << u"no problems found"_s;
        QTest::newRow("check a broken template")
            << QStringList{u"--check"_s, u"@/broken.rep"_s} << 1
            << u"@/broken.rep:3:40: unknown parameter PCOMPANYNAM; did you mean PCOMPANYNAME?\n"
               "@/broken.rep:4:1: unknown element <rectangle>; did you mean <rect>?"_s;
        QTest::newRow("unknown parameter in the params file")
            << QStringList{shipped, u"@/typo.params"_s, u"@/out.pdf"_s} << 1
            << u"@/typo.params:2: unknown parameter PCOMPNAYNAME; did you mean PCOMPANYNAME?\n"
               "@/typo.params:3: expected NAME=VALUE"_s;
        QTest::newRow("params file over 1 MiB") << QStringList{shipped, u"@/huge.params"_s, u"@/out.pdf"_s} << 1
                                                << u"@/huge.params: is larger than 1024 KiB"_s;
        QTest::newRow("a problem on every line")
            << QStringList{shipped, u"@/flood.params"_s, u"@/out.pdf"_s} << 1
            << u"@/flood.params:50: unknown parameter NOPE49\nand 69950 more problems"_s;
        QTest::newRow("output folder missing")
            << QStringList{shipped, u"@/good.params"_s, u"@/none/out.pdf"_s} << 1 << u"does not exist"_s;
        QTest::newRow("no arguments") << QStringList{} << 2 << u"usage: quillbook-render"_s;
        QTest::newRow("version") << QStringList{u"--version"_s} << 0 << u"quillbook-render " QUILLBOOK_VERSION "\n"_s;
    }

    void runs()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, expected);
        ReportFixture f;
        f.write(u"broken.rep"_s,
                ReportFixture::wrap(u"<text x='1' y='1' width='9' height='9'>{PCOMPANYNAM}</text>\n<rectangle/>"_s));
        f.write(u"typo.params"_s, "PCOMPANYNAME=Acme\nPCOMPNAYNAME=Acme\nno equals sign\n");
        f.write(u"good.params"_s, "PCOMPANYNAME=Acme\n");
        f.write(u"huge.params"_s, "PDESCRIPTION1=" + QByteArray(1024 * 1024, 'x') + "\n");
        QByteArray flood;
        for (int i = 0; i < 70000; ++i)
            flood += "NOPE" + QByteArray::number(i) + "=1\n";
        f.write(u"flood.params"_s, flood);
        for (QString &argument : arguments)
            argument.replace(u"@"_s, f.dir.path());
        const ToolRun outcome = runTool(arguments);
        QCOMPARE(outcome.exitCode, exitCode);
        const QString &stream = exitCode == 0 ? outcome.out : outcome.err;
        QVERIFY2(stream.contains(expected.replace(u"@"_s, f.dir.path())), qPrintable(stream));
    }

    void rendersParamsFile()
    {
        ReportFixture f;
        f.write(u"t.rep"_s,
                ReportFixture::wrap(u"<text x='20' y='20' width='100' height='30'>{PCOMPANYDETAILS1}</text>"
                                    "<text x='20' y='60' width='100' height='10'>[{PFAX}]</text>"_s));
        // Comments, blank lines and CR LF endings; the later of two values wins;
        // "\n" breaks the line, "\\" is a backslash.
        f.write(u"p.params"_s,
                "# comment line\n\n"
                "PCOMPANYDETAILS1=First line\\nSecond = line \\\\ end\r\n"
                "PCOMPANYDETAILS1=Überschrift\\nZweite \\\\n Zeile\n"
                "PFAX=\r\n");
        const QString pdf = f.path(u"INV9.pdf"_s);
        QCOMPARE(runTool({f.path(u"t.rep"_s), f.path(u"p.params"_s), pdf}).exitCode, 0);
        const QList<pdfprobe::Word> words = pdfprobe::words(pdf);
        const QRectF first = pdfprobe::find(words, u"Überschrift"_s), second = pdfprobe::find(words, u"Zeile"_s);
        QVERIFY(!first.isNull() && !second.isNull() && second.top() > first.bottom() - 0.5);
        const QString text = pdfprobe::text(pdf);
        QVERIFY2(text.contains(u"Zweite \\n Zeile"_s) && text.contains(u"[]"_s), qPrintable(text));
        QCOMPARE(pdfprobe::info(pdf, u"Title"_s), u"INV9"_s);
    }

    // --attach carries the XML as it is; a missing one is an error, and no PDF.
    void attaches()
    {
        ReportFixture f;
        const QByteArray xml = "<?xml version=\"1.0\"?>\n<invoice>\u00e9</invoice>\n";
        f.write(u"p.params"_s, "PCOMPANYNAME=Acme\n");
        f.write(u"in.xml"_s, xml);
        const auto render = [&](const QString &in, const QString &out) {
            return runTool({u"--attach"_s, f.path(in), QStringLiteral(QUILLBOOK_APP_DIR "/invferncask.rep"),
                            f.path(u"p.params"_s), f.path(out)});
        };
        QCOMPARE(render(u"in.xml"_s, u"INV7.pdf"_s).exitCode, 0);
        QCOMPARE(pdfprobe::run(u"qpdf"_s, {u"--show-attachment=factur-x.xml"_s, f.path(u"INV7.pdf"_s)}).toUtf8(), xml);
        QVERIFY(render(u"absent.xml"_s, u"INV8.pdf"_s).err.contains(u"absent.xml"_s));
        QVERIFY(!QFile::exists(f.path(u"INV8.pdf"_s)));
    }

    // Each picture is embedded, or its box stays empty and the engine says why.
    void images_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("box");         // mm, square
        QTest::addColumn<QString>("warning"); // empty: embedded
        const auto row = [](const char *name, const QByteArray &bytes, QStringView file, int box, QStringView warning) {
            QTest::newRow(name) << bytes << file.toString() << box << warning.toString();
        };
        row("50000 x 50000 header", pngHeader(50000, 50000), u"big.png", 80, u"cannot be read");
        row("just over the side limit", picture({20001, 1}, "PNG"), u"wide.png", 80, u"is too large");
        // Decoded for a box 300 mm wide, within the bounds of time and memory.
        row("48 megapixel PNG", picture({8000, 6000}, "PNG"), u"large.png", 300, u"");
        row("truncated JPEG", picture({800, 600}, "JPG").left(2000), u"cut.jpg", 80, u"");
    }

    void images()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(int, box);
        QFETCH(QString, warning);
        ReportFixture f;
        const QString file = f.write(name, bytes);
        f.write(u"t.rep"_s,
                ReportFixture::wrap(u"<image x='5' y='20' width='%1' height='%1' source='{PLOGO}'/>"
                                    "<text x='20' y='10' width='80' height='10'>Rest of the page</text>"_s.arg(box)));
        f.write(u"p.params"_s, "PLOGO=" + file.toUtf8() + "\n");
        const ToolRun run = runTool({f.path(u"t.rep"_s), f.path(u"p.params"_s), f.path(u"out.pdf"_s)});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QString pdf = f.path(u"out.pdf"_s);
        QVERIFY(pdfprobe::text(pdf).contains(u"Rest of the page"_s));
        QCOMPARE(pdfprobe::images(pdf).size(), warning.isEmpty() ? 1 : 0);
        // The tool says why a picture is left out, with the template's position.
        QVERIFY2(warning.isEmpty() ? !run.err.contains(u"t.rep:"_s)
                                   : run.err.contains(f.path(u"t.rep"_s) + u":3:1: the picture "_s + file)
                         && run.err.contains(warning),
                 qPrintable(run.err));
    }
};

QTEST_MAIN(QuillbookRenderTest)
#include "tst_quillbookrender.moc"
