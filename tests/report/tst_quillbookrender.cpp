// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The template authors' tool, run as a user runs it.

#include "reportfixture.h"

#include <QProcess>

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
        QTest::newRow("check a shipped template") << QStringList{u"--check"_s, shipped} << 0
                                                  << u"no problems found"_s;
        QTest::newRow("check a broken template")
            << QStringList{u"--check"_s, u"@/broken.rep"_s} << 1
            << u"@/broken.rep:3:40: unknown parameter PCOMPANYNAM; did you mean PCOMPANYNAME?\n"
               "@/broken.rep:4:1: unknown element <rectangle>; did you mean <rect>?"_s;
        QTest::newRow("check a missing template") << QStringList{u"--check"_s, u"@/absent.rep"_s} << 1
                                                  << u"does not exist"_s;
        QTest::newRow("unknown parameter in the params file")
            << QStringList{shipped, u"@/typo.params"_s, u"@/out.pdf"_s} << 1
            << u"@/typo.params:2: unknown parameter PCOMPNAYNAME; did you mean PCOMPANYNAME?\n"
               "@/typo.params:3: expected NAME=VALUE"_s;
        QTest::newRow("params file over 1 MiB") << QStringList{shipped, u"@/huge.params"_s, u"@/out.pdf"_s} << 1
                                                << u"@/huge.params: is larger than 1024 KiB"_s;
        QTest::newRow("a problem on every line")
            << QStringList{shipped, u"@/flood.params"_s, u"@/out.pdf"_s} << 1
            << u"@/flood.params:50: unknown parameter NOPE49\nand 69950 more problems"_s;
        QTest::newRow("output folder missing") << QStringList{shipped, u"@/good.params"_s, u"@/none/out.pdf"_s}
                                               << 1 << u"does not exist"_s;
        QTest::newRow("no arguments") << QStringList{} << 2 << u"usage: quillbook-render"_s;
        QTest::newRow("check without template") << QStringList{u"--check"_s} << 2 << u"usage:"_s;
        QTest::newRow("help") << QStringList{u"--help"_s} << 0 << u"usage: quillbook-render"_s;
        QTest::newRow("version") << QStringList{u"--version"_s} << 0 << u"quillbook-render 1.0.4\n"_s;
    }

    void runs()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, expected);
        ReportFixture f;
        f.write(u"broken.rep"_s, ReportFixture::wrap(
            u"<text x='1' y='1' width='9' height='9'>{PCOMPANYNAM}</text>\n<rectangle/>"_s));
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
        f.write(u"t.rep"_s, ReportFixture::wrap(u"<text x='20' y='20' width='100' height='30'>{PCOMPANYDETAILS1}</text>"
                                                "<text x='20' y='60' width='100' height='10'>[{PFAX}]</text>"_s));
        // Comments, blank lines and CR LF endings; the later of two values wins; "\n" breaks the line.
        f.write(u"p.params"_s, "# comment line\n\n"
                               "PCOMPANYDETAILS1=First line\\nSecond = line \\\\ end\r\n"
                               "PCOMPANYDETAILS1=Überschrift\\nZweite Zeile\n"
                               "PFAX=\r\n");
        QCOMPARE(runTool({f.path(u"t.rep"_s), f.path(u"p.params"_s), f.path(u"INV9.pdf"_s)}).exitCode, 0);
        const QList<pdfprobe::Word> words = pdfprobe::words(f.path(u"INV9.pdf"_s));
        const QRectF first = pdfprobe::find(words, u"Überschrift"_s).box;
        const QRectF second = pdfprobe::find(words, u"Zeile"_s).box;
        QVERIFY(!first.isNull() && !second.isNull());
        QVERIFY(second.top() > first.bottom() - 0.5);
        QVERIFY(pdfprobe::text(f.path(u"INV9.pdf"_s)).contains(u"[]"_s)); // nothing is left of a CR LF ending
        QCOMPARE(pdfprobe::info(f.path(u"INV9.pdf"_s), u"Title"_s), u"INV9"_s);

        f.write(u"b.params"_s, "PCOMPANYDETAILS1=a \\\\n b\n");
        QCOMPARE(runTool({f.path(u"t.rep"_s), f.path(u"b.params"_s), f.path(u"b.pdf"_s)}).exitCode, 0);
        QVERIFY(pdfprobe::text(f.path(u"b.pdf"_s)).contains(u"a \\n b"_s)); // an escaped backslash
    }
};

QTEST_MAIN(QuillbookRenderTest)
#include "tst_quillbookrender.moc"
