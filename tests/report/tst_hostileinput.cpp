// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Broken and hostile templates and images end in a clear error or an empty
// image box, never in a crash, a hang or an exhausted machine.

#include "pdfprobe.h"
#include "reportfixture.h"

#include <QBuffer>
#include <QtEndian>

class HostileInputTest : public QObject
{
    Q_OBJECT

private slots:
    void templates_data();
    void templates();
    void images_data();
    void images();
};

void HostileInputTest::templates_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("message"); // empty: a PDF must be written

    const QByteArray head = "<?xml version=\"1.0\"?>\n";
    QTest::newRow("huge coordinate")
        << head + "<report version=\"1\"><rect x=\"1000000000000000000000000000000\" y=\"1\" width=\"1\" height=\"1\"/></report>"
        << u"out of range"_s;
    QTest::newRow("exponent")
        << head + "<report version=\"1\"><text x=\"1e308\" y=\"1\" width=\"1\" height=\"1\">a</text></report>"
        << u"is not a length"_s;
    QTest::newRow("huge font size")
        << head + "<report version=\"1\" size=\"99999999999999999999\"/>" << u"is not a font size"_s;
    QTest::newRow("huge row count")
        << head + "<report version=\"1\"><repeat count=\"2147483648\" pitch=\"1\"/></report>"
        << u"is not a row count"_s;

    QByteArray deep = head + "<report version=\"1\">";
    for (int i = 0; i < 20000; ++i)
        deep += "<if filled=\"P\">";
    QTest::newRow("deep nesting") << deep << u"nested more than"_s;

    QTest::newRow("billion laughs")
        << head + "<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                  "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]>"
                  "<report version=\"1\"><text x=\"1\" y=\"1\" width=\"9\" height=\"9\">&d;&d;&d;</text></report>"
        << u"(DTD) are not allowed"_s;
    QTest::newRow("external entity")
        << head + "<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><report version=\"1\">&x;</report>"
        << u"(DTD) are not allowed"_s;
    QTest::newRow("undeclared entity")
        << head + "<report version=\"1\"><text x=\"1\" y=\"1\" width=\"9\" height=\"9\">&x;</text></report>"
        << u"not well-formed XML"_s;
    QTest::newRow("binary garbage") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xff", 18)
                                    << u"not UTF-8"_s;
    QByteArray noise;
    for (int i = 0; i < 4096; ++i)
        noise += char((i * 7919 + 13) % 95 + 32);
    QTest::newRow("printable noise") << noise << u"not well-formed XML"_s;
    QTest::newRow("truncated") << head + "<report version=\"1\"><text x=\"1\" y=\"1\" wid"
                               << u"not well-formed XML"_s;
    QTest::newRow("huge attribute")
        << head + "<report version=\"1\" font=\"" + QByteArray(500000, 'A') + "\"/>"
        << u"a font family name needs 1 to 100 characters"_s;

    // Allowed but extreme: must still finish quickly and write a PDF.
    QTest::newRow("long text shrunk into a tiny box")
        << head + "<report version=\"1\"><text x=\"1\" y=\"1\" width=\"5\" height=\"2\" overflow=\"shrink\" min-size=\"1\">"
               + QByteArray(200000, 'W') + "</text></report>"
        << QString();
    QTest::newRow("long text ellipsis")
        << head + "<report version=\"1\"><text x=\"1\" y=\"1\" width=\"50\" height=\"20\" overflow=\"ellipsis\">"
               + QByteArray(100000, 'x').replace(7, 1, " ") + "</text></report>"
        << QString();
    QTest::newRow("zero-sized and off-page boxes")
        << head + "<report version=\"1\"><text x=\"-2000\" y=\"2000\" width=\"0\" height=\"0\">a</text>"
                  "<rect x=\"2000\" y=\"-2000\" width=\"2000\" height=\"2000\" fill=\"#000000\" radius=\"2000\"/>"
                  "<line x1=\"-2000\" y1=\"-2000\" x2=\"2000\" y2=\"2000\" thickness=\"2000\"/></report>"
        << QString();
    QTest::newRow("all elements at the limit")
        << head + "<report version=\"1\"><repeat count=\"200\" pitch=\"0.1\">"
               + QByteArray("<text x=\"1\" y=\"1\" width=\"50\" height=\"5\" overflow=\"shrink\">{#} row text</text>").repeated(25)
               + "</repeat></report>"
        << QString();
}

void HostileInputTest::templates()
{
    QFETCH(QByteArray, source);
    QFETCH(QString, message);
    ReportFixture f;
    f.engine.TemplatePath(f.write(u"hostile.rep"_s, source));
    f.engine.SetParameter(u"P"_s, u"x"_s);
    const bool written = f.engine.ExportPdf(f.path(u"hostile.pdf"_s));
    if (message.isEmpty()) {
        QVERIFY2(written, qPrintable(f.engine.errorString()));
        QVERIFY(!pdfprobe::infoField(f.path(u"hostile.pdf"_s), u"Pages"_s).isEmpty());
    } else {
        QVERIFY(!written);
        QVERIFY2(f.engine.errorString().contains(message), qPrintable(f.engine.errorString()));
        QVERIFY(!QFile::exists(f.path(u"hostile.pdf"_s)));
    }
}

// A PNG whose header declares `width` x `height`, with a valid checksum but
// no picture behind it.
static QByteArray pngHeader(quint32 width, quint32 height)
{
    QByteArray chunk("IHDR");
    char size[8];
    qToBigEndian(width, size);
    qToBigEndian(height, size + 4);
    chunk.append(size, 8);
    chunk.append("\x08\x02\x00\x00\x00", 5); // 8 bit RGB, no interlace
    quint32 crc = 0xffffffffu;
    for (const char byte : std::as_const(chunk)) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    char length[4];
    char check[4];
    qToBigEndian(quint32(13), length);
    qToBigEndian(crc ^ 0xffffffffu, check);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(length, 4) + chunk + QByteArray(check, 4);
}

static QByteArray jpeg(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(30, 120, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

void HostileInputTest::images_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("embedded");

    QTest::newRow("50000 x 50000 header") << pngHeader(50000, 50000) << u"big.png"_s << false;
    QTest::newRow("wide header") << pngHeader(1000000, 1) << u"wide.png"_s << false;
    QTest::newRow("header without data") << pngHeader(200, 100) << u"empty.png"_s << false;
    QTest::newRow("truncated JPEG") << jpeg({800, 600}).left(2000) << u"cut.jpg"_s << true;
    QTest::newRow("JPEG header only") << jpeg({800, 600}).left(20) << u"stub.jpg"_s << false;
    QTest::newRow("garbage") << QByteArray(5000, '\x5a') << u"garbage.jpg"_s << false;
    QTest::newRow("empty file") << QByteArray() << u"nothing.png"_s << false;
    QTest::newRow("text named as image") << QByteArray("<svg/>") << u"logo.svg"_s << false;
    QTest::newRow("sound picture") << jpeg({640, 480}) << u"fine.jpg"_s << true;
}

void HostileInputTest::images()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(bool, embedded);
    ReportFixture f;
    const QString image = f.write(name, bytes);
    const QString pdf = f.render(
        u"<image x='20' y='20' width='80' height='60' source='{PLOGO}'/>"
        "<text x='20' y='90' width='80' height='10'>After the image</text>"_s,
        {{u"PLOGO"_s, image}});
    QVERIFY(!pdf.isEmpty());
    QVERIFY(pdfprobe::text(pdf).contains(u"After the image"_s));
    QCOMPARE(pdfprobe::images(pdf).size(), embedded ? 1 : 0);
}

QTEST_MAIN(HostileInputTest)
#include "tst_hostileinput.moc"
