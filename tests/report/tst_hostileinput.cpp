// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Broken, hostile and oversized templates and images end in a clear error or
// an empty image box, never in a crash, a hang or an exhausted machine.

#include "reportfixture.h"

#include <QBuffer>
#include <QtEndian>

#include <cstring>

namespace {

// A template of version 1 whose <report> holds `body`.
QByteArray templateOf(const QByteArray &body, const QByteArray &attributes = {})
{
    return "<?xml version=\"1.0\"?>\n<report version='1'" + attributes + ">" + body + "</report>";
}

// A PNG whose header declares `width` x `height`, with a valid checksum but
// no picture behind it.
QByteArray pngHeader(quint32 width, quint32 height)
{
    char chunk[17] = "IHDR";
    qToBigEndian(width, chunk + 4);
    qToBigEndian(height, chunk + 8);
    memcpy(chunk + 12, "\x08\x02\x00\x00\x00", 5); // 8 bit RGB, no interlace
    quint32 crc = 0xffffffffu;
    for (const char byte : chunk) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    char length[4], check[4];
    qToBigEndian(quint32(13), length);
    qToBigEndian(crc ^ 0xffffffffu, check);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(length, 4) + QByteArray(chunk, 17) + QByteArray(check, 4);
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

class HostileInputTest : public QObject
{
    Q_OBJECT

private slots:
    void templates_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("message"); // empty: a PDF must be written
        const auto row = [](const char *name, const QByteArray &source, QStringView message) {
            QTest::newRow(name) << source << message.toString();
        };
        const QByteArray line = "<line x1='1' y1='1' x2='2' y2='2'/>", nest = "<if filled='P'>";
        row("huge coordinate", templateOf("<rect x='1000000000000000000000000000000' y='1' width='1' height='1'/>"),
            u"out of range");
        row("huge font size", templateOf({}, " size='99999999999999999999'"), u"is not a font size");
        row("huge row count", templateOf("<repeat count='2147483648' pitch='1'/>"), u"is not a row count");
        row("nesting too deep", templateOf(nest.repeated(40) + QByteArray("</if>").repeated(40)),
            u"nested more than 32 levels");
        row("deep nesting, never closed", "<report version='1'>" + nest.repeated(20000), u"nested more than");
        row("too many elements", templateOf(line.repeated(5001)), u"more than 5000 elements");
        row("too many rows unrolled", templateOf("<repeat count='200' pitch='1'>" + line.repeated(30) + "</repeat>"),
            u"more than 5000 elements");
        row("too large", templateOf("<!--" + QByteArray(1100 * 1024, 'x') + "-->"), u"larger than 1024 KiB");
        row("huge attribute", templateOf({}, " font='" + QByteArray(500000, 'A') + "'"),
            u"a font family name needs 1 to 100 characters");
        QByteArray attributes;
        for (int i = 0; attributes.size() < 1000 * 1024; ++i)
            attributes += " a" + QByteArray::number(i) + "=''";
        row("a hundred thousand attributes in one tag", templateOf("<text" + attributes + "/>"),
            u"an element has more than 32 attributes");
        row("a hundred thousand problems", templateOf(QByteArray("<txt/>").repeated(100000)),
            u"and 99950 more problems");
        row("a condition of many names", templateOf("<if filled='" + QByteArray("P ").repeated(60) + "'/>"),
            u"'filled' lists more than 50 names");
        const QByteArray boxes = "<repeat count='200' pitch='1'>"
            + QByteArray("<text x='1' y='1' width='190' height='280' overflow='shrink'>{P}</text>").repeated(24)
            + "</repeat>";
        row("4,800 shrinking boxes of 10,000 characters", templateOf(boxes), u"more than 100000 characters");
        row("4,800 such boxes with an ellipsis", templateOf(QByteArray(boxes).replace("shrink", "ellipsis")),
            u"more than 100000 characters");
        row("placeholders written as references",
            templateOf("<text x='1' y='1' width='90' height='90'>" + QByteArray("{&#80;} ").repeated(90000)
                       + "</text>"),
            u"");
        row("billion laughs",
            "<!DOCTYPE r [<!ENTITY a 'aaaaaaaaaa'><!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'>"
            "<!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;'><!ENTITY d '&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;'>]>"
            "<report version='1'><text x='1' y='1' width='9' height='9'>&d;&d;&d;</text></report>",
            u"(DTD) are not allowed");
        row("binary garbage", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xff", 18), u"not UTF-8");
        QByteArray noise;
        for (int i = 0; i < 4096; ++i)
            noise += char((i * 7919 + 13) % 95 + 32);
        row("printable noise", noise, u"not well-formed XML");
        // Allowed but extreme: must still finish quickly and write a PDF.
        row("long text shrunk into a tiny box",
            templateOf("<text x='1' y='1' width='5' height='2' overflow='shrink' min-size='1'>"
                       + QByteArray(200000, 'W') + "</text>"),
            u"");
        row("long text ellipsis",
            templateOf("<text x='1' y='1' width='50' height='20' overflow='ellipsis'>"
                       + QByteArray(100000, 'x').replace(7, 1, " ") + "</text>"),
            u"");
        row("lengths out of range", templateOf("<rect x='-401' y='1' width='321' height='1' thickness='11mm'/>"),
            u"the length '321' for 'width' is out of range (0 to 320 mm)");
        // Within every limit, and the page's numbers still within ±32767 (checked on every PDF written).
        row("largest lengths, far-off rows, an endless line",
            templateOf("<text x='-400' y='400' width='0' height='0'>a</text>"
                       "<rect x='-300' y='-300' width='320' height='320' fill='#000000' stroke='#ff0000' "
                       "thickness='10' radius='320'/>"
                       "<line x1='-400' y1='-400' x2='400' y2='400' thickness='10' pattern='dash'/>"
                       "<repeat count='200' pitch='400'><line x1='-400' y1='-400' x2='400' y2='399' pattern='dot'/>"
                       "<rect x='0' y='0' width='320' height='320' fill='#00ff00'/></repeat>"
                       "<text x='0' y='100' width='200' height='10' wrap='false'>" + QByteArray(6000, 'W') + "</text>"
                       "<text x='-300' y='150' width='320' height='320' size='1'>{P}</text>"),
            u"");
        row("all elements at the limit",
            templateOf("<repeat count='200' pitch='0.1'>"
                       + QByteArray("<text x='1' y='1' width='50' height='5' overflow='shrink'>{#} row text</text>")
                             .repeated(25)
                       + "</repeat>"),
            u"");
    }

    void templates()
    {
        QFETCH(QByteArray, source);
        QFETCH(QString, message);
        ReportFixture f;
        const QString file = f.write(u"hostile.rep"_s, source);
        QString error, pdf;
        const Cost cost = Cost::of([&] {
            pdf = f.exportPdf(file, {{u"P"_s, u"word "_s.repeated(2000)}}, u"hostile.pdf"_s, &error);
        });
        QVERIFY2(cost.excess().isEmpty(), qPrintable(cost.excess()));
        if (message.isEmpty()) {
            QVERIFY2(!pdf.isEmpty(), qPrintable(error));
            QCOMPARE(pdfprobe::info(pdf, u"Pages"_s), u"1"_s);
        } else {
            QVERIFY2(pdf.isEmpty() && error.contains(message), qPrintable(error.left(2000)));
            QVERIFY2(error.count(u'\n') <= 50, "more than 50 problems and a summary");
            QVERIFY(!QFile::exists(f.path(u"hostile.pdf"_s)));
        }
    }

    // Braces without their partners cost one pass over the template, however
    // many there are: a megabyte of them is checked within the tool's bounds.
    void unclosedBraces()
    {
        ReportFixture f;
        const QString file = f.write(u"braces.rep"_s, templateOf("<text x='1' y='1' width='90' height='9'>"
                                                                  + QByteArray("{a").repeated(500000) + "</text>"));
        const ToolRun run = runTool({u"--check"_s, file});
        QVERIFY2(run.err.contains(u"'{' without its closing '}'"_s) && run.err.contains(u"more problems"_s),
                 qPrintable(run.err.left(500)));
        QVERIFY(run.exitCode > 0);
    }

    // Each picture is embedded, or its box stays empty and the engine says why.
    void images_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("box"); // mm, square
        QTest::addColumn<QString>("warning"); // empty: embedded
        const auto row = [](const char *name, const QByteArray &bytes, QStringView file, int box, QStringView warning) {
            QTest::newRow(name) << bytes << file.toString() << box << warning.toString();
        };
        row("50000 x 50000 header", pngHeader(50000, 50000), u"big.png", 80, u"cannot be read");
        row("just over the side limit", picture({20001, 1}, "PNG"), u"wide.png", 80, u"is too large");
        row("header without data", pngHeader(200, 100), u"empty.png", 80, u"cannot be read");
        // Decoded for a box 300 mm wide, within the bounds of time and memory.
        row("48 megapixel PNG", picture({8000, 6000}, "PNG"), u"large.png", 300, u"");
        row("truncated JPEG", picture({800, 600}, "JPG").left(2000), u"cut.jpg", 80, u"");
        row("garbage", QByteArray(5000, '\x5a'), u"garbage.jpg", 80, u"cannot be read");
        row("empty file", QByteArray(), u"nothing.png", 80, u"cannot be read");
        row("text named as image", QByteArray("<svg/>"), u"logo.svg", 80, u"cannot be read");
    }

    void images()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(int, box);
        QFETCH(QString, warning);
        ReportFixture f;
        const QString file = f.write(name, bytes);
        f.write(u"t.rep"_s, ReportFixture::wrap(u"<image x='5' y='20' width='%1' height='%1' source='{PLOGO}'/>"
                                                "<text x='20' y='10' width='80' height='10'>Rest of the page</text>"_s
                                                    .arg(box)));
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

QTEST_MAIN(HostileInputTest)
#include "tst_hostileinput.moc"
