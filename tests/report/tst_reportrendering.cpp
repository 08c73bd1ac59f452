// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What each template element puts on the page, read back from the PDF with
// poppler: words and their boxes, rendered pixels, fonts, images, metadata.

#include "pdfprobe.h"
#include "reportfixture.h"

#include <QDir>
#include <QPainter>

using pdfprobe::Word;

class ReportRenderingTest : public QObject
{
    Q_OBJECT

private slots:
    void textAlignment_data();
    void textAlignment();
    void wrapping();
    void overflow_data();
    void overflow();
    void styles_data();
    void styles();
    void textColour();
    void shapes();
    void repeatedRows();
    void conditions_data();
    void conditions();
    void stackClosesUp();
    void parameterReplacedAndLineBreaks();
    void editedTemplateReadAgain();
    void imageDownscaledAndFitted();
    void smallImageKeptAndAlphaFlattened();
    void missingImageLeavesBoxEmpty();
    void metadata_data();
    void metadata();
    void scripts_data();
    void scripts();
    void noLigaturesInText();
    void failedExportKeepsEarlierFile();
    void unwritableOutput_data();
    void unwritableOutput();
};

static QColor pixelAt(const QImage &page, double xMm, double yMm, int dpi)
{
    return page.pixelColor(int(xMm / 25.4 * dpi), int(yMm / 25.4 * dpi));
}

static bool near(const QColor &a, const QColor &b, int tolerance = 40)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

void ReportRenderingTest::textAlignment_data()
{
    QTest::addColumn<QString>("align");
    QTest::addColumn<QString>("valign");
    QTest::addColumn<double>("expectedX"); // left, centre or right edge, by align
    QTest::addColumn<double>("expectedY"); // top, centre or bottom edge, by valign

    QTest::newRow("left top") << "left" << "top" << 50.0 << 50.0;
    QTest::newRow("center middle") << "center" << "middle" << 100.0 << 70.0;
    QTest::newRow("right bottom") << "right" << "bottom" << 150.0 << 90.0;
    QTest::newRow("right top") << "right" << "top" << 150.0 << 50.0;
    QTest::newRow("left bottom") << "left" << "bottom" << 50.0 << 90.0;
}

void ReportRenderingTest::textAlignment()
{
    QFETCH(QString, align);
    QFETCH(QString, valign);
    QFETCH(double, expectedX);
    QFETCH(double, expectedY);
    ReportFixture f;
    const QString pdf = f.render(
        u"<text x='50' y='50' width='100' height='40' align='%1' valign='%2' size='12'>Marker</text>"_s
            .arg(align, valign));
    QVERIFY(!pdf.isEmpty());
    const Word word = pdfprobe::find(pdfprobe::words(pdf), u"Marker"_s);
    QVERIFY(!word.text.isEmpty());
    const double x = align == u"left"_s ? word.box.left()
        : align == u"right"_s           ? word.box.right()
                                        : word.box.center().x();
    const double y = valign == u"top"_s ? word.box.top()
        : valign == u"bottom"_s         ? word.box.bottom()
                                        : word.box.center().y();
    QVERIFY2(std::abs(x - expectedX) < 1.0, qPrintable(QString::number(x)));
    QVERIFY2(std::abs(y - expectedY) < 1.5, qPrintable(QString::number(y)));
}

void ReportRenderingTest::wrapping()
{
    ReportFixture f;
    const QString text = u"alpha beta gamma delta epsilon zeta eta theta iota kappa"_s;
    const QString pdf = f.render(
        u"<text x='20' y='20' width='40' height='60' size='10'>%1</text>"
        "<text x='20' y='100' width='40' height='60' size='10' wrap='false'>%1</text>"_s.arg(text));
    QVERIFY(!pdf.isEmpty());
    QSet<int> wrappedLines;
    QSet<int> singleLine;
    for (const Word &word : pdfprobe::words(pdf)) {
        if (word.box.top() < 90) {
            QVERIFY2(word.box.right() <= 60.5, qPrintable(word.text));
            wrappedLines.insert(qRound(word.box.top()));
        } else {
            singleLine.insert(qRound(word.box.top()));
        }
    }
    QVERIFY(wrappedLines.size() >= 3);
    QCOMPARE(singleLine.size(), 1);
}

void ReportRenderingTest::overflow_data()
{
    QTest::addColumn<QString>("overflow");
    QTest::addColumn<bool>("wrap");

    QTest::newRow("shrink wrapped") << "shrink" << true;
    QTest::newRow("shrink single line") << "shrink" << false;
    QTest::newRow("ellipsis wrapped") << "ellipsis" << true;
    QTest::newRow("ellipsis single line") << "ellipsis" << false;
    QTest::newRow("clip wrapped") << "clip" << true;
}

void ReportRenderingTest::overflow()
{
    QFETCH(QString, overflow);
    QFETCH(bool, wrap);
    ReportFixture f;
    const QStringList words{u"one"_s, u"two"_s, u"three"_s, u"four"_s, u"five"_s, u"six"_s,
                            u"seven"_s, u"eight"_s, u"nine"_s, u"ten"_s, u"last"_s};
    const QRectF box(30, 30, 40, 10);
    const QString pdf = f.render(
        u"<text x='30' y='30' width='40' height='10' size='12' min-size='3' overflow='%1' wrap='%2'>%3</text>"_s
            .arg(overflow, wrap ? u"true"_s : u"false"_s, words.join(u' ')));
    QVERIFY(!pdf.isEmpty());
    const QList<Word> found = pdfprobe::words(pdf);
    const QString all = pdfprobe::text(pdf).simplified();

    if (overflow == u"shrink"_s) {
        QCOMPARE(all, words.join(u' '));
        for (const Word &word : found)
            QVERIFY2(box.adjusted(-0.5, -1.5, 0.5, 1.5).contains(word.box), qPrintable(word.text));
    } else if (overflow == u"ellipsis"_s) {
        QVERIFY2(all.endsWith(u"…"_s), qPrintable(all));
        QVERIFY(!all.contains(u"last"_s));
        QVERIFY(all.startsWith(u"one two"_s));
        for (const Word &word : found)
            QVERIFY2(word.box.right() <= box.right() + 0.5, qPrintable(word.text));
    } else {
        // Lines that start below the box are left out altogether.
        QVERIFY(all.startsWith(u"one two"_s));
        QVERIFY(!all.contains(u"last"_s));
        for (const Word &word : found)
            QVERIFY2(word.box.top() < box.bottom(), qPrintable(word.text));
    }
}

void ReportRenderingTest::styles_data()
{
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<QString>("font");

    QTest::newRow("regular") << "" << "NotoSans-Regular";
    QTest::newRow("bold") << "bold='true'" << "NotoSans-Bold";
    QTest::newRow("italic") << "italic='true'" << "NotoSans-Italic";
    QTest::newRow("bold italic") << "bold='true' italic='true'" << "NotoSans-BoldItalic";
    QTest::newRow("serif") << "font='Noto Serif'" << "NotoSerif-Regular";
    QTest::newRow("named style") << "style='heading'" << "NotoSerif-Bold";
    QTest::newRow("style overridden") << "style='heading' bold='false'" << "NotoSerif-Regular";
    QTest::newRow("derived style") << "style='sub'" << "NotoSerif-BoldItalic";
}

void ReportRenderingTest::styles()
{
    QFETCH(QString, attributes);
    QFETCH(QString, font);
    ReportFixture f;
    const QString pdf = f.render(
        u"<style name='heading' font='Noto Serif' bold='true' size='14'/>"
        "<style name='sub' base='heading' italic='true'/>"
        "<text x='20' y='20' width='100' height='10' %1>Styled</text>"_s.arg(attributes));
    QVERIFY(!pdf.isEmpty());
    const auto fonts = pdfprobe::fonts(pdf);
    QCOMPARE(fonts.size(), 1);
    QCOMPARE(fonts.first().first, font);
    QVERIFY(fonts.first().second);
}

void ReportRenderingTest::textColour()
{
    ReportFixture f;
    const QString pdf = f.render(
        u"<style name='red' color='#c00000'/>"
        "<text x='20' y='20' width='150' height='30' size='60' bold='true' style='red'>MMM</text>"_s);
    QVERIFY(!pdf.isEmpty());
    const QImage page = pdfprobe::render(pdf, 50);
    int red = 0;
    for (int y = 0; y < page.height() / 4; ++y) {
        for (int x = 0; x < page.width(); ++x)
            red += near(page.pixelColor(x, y), QColor(0xc0, 0, 0), 30) ? 1 : 0;
    }
    QVERIFY2(red > 200, qPrintable(QString::number(red)));
}

void ReportRenderingTest::shapes()
{
    ReportFixture f;
    const QString pdf = f.render(
        u"<rect x='20' y='20' width='60' height='40' fill='#00c000' stroke='#0000c0' thickness='2mm'/>"
        "<rect x='100' y='20' width='60' height='40' fill='#c0c000' radius='15'/>"
        "<rect x='20' y='80' width='60' height='40' stroke='#c00000' thickness='1mm'/>"
        "<line x1='20' y1='150' x2='180' y2='150' color='#c000c0' thickness='2mm'/>"
        "<line x1='20' y1='170' x2='180' y2='170' color='#00c0c0' thickness='2mm' pattern='dash'/>"_s);
    QVERIFY(!pdf.isEmpty());
    const int dpi = 100;
    const QImage page = pdfprobe::render(pdf, dpi);
    QVERIFY(near(pixelAt(page, 50, 40, dpi), QColor(0, 0xc0, 0)));     // fill
    QVERIFY(near(pixelAt(page, 20, 40, dpi), QColor(0, 0, 0xc0)));     // stroke on the edge
    QVERIFY(near(pixelAt(page, 130, 40, dpi), QColor(0xc0, 0xc0, 0))); // rounded fill
    QVERIFY(near(pixelAt(page, 100.8, 20.8, dpi), Qt::white));         // cut-off corner
    QVERIFY(near(pixelAt(page, 50, 100, dpi), Qt::white));             // no fill
    QVERIFY(near(pixelAt(page, 80, 100, dpi), QColor(0xc0, 0, 0)));
    QVERIFY(near(pixelAt(page, 100, 150, dpi), QColor(0xc0, 0, 0xc0)));
    QVERIFY(near(pixelAt(page, 100, 153, dpi), Qt::white));
    int inked = 0;
    int blank = 0;
    for (double x = 25; x < 175; x += 0.25)
        (near(pixelAt(page, x, 170, dpi), QColor(0, 0xc0, 0xc0)) ? inked : blank) += 1;
    QVERIFY2(inked > 100 && blank > 50, qPrintable(u"%1 %2"_s.arg(inked).arg(blank)));
}

void ReportRenderingTest::repeatedRows()
{
    ReportFixture f;
    const QString pdf = f.render(
        u"<repeat count='3' pitch='10'>"
        "<text x='20' y='50' width='80' height='8'>{#}:{PITEM#}</text></repeat>"_s,
        {{u"PITEM1"_s, u"apple"_s}, {u"PITEM2"_s, u"pear"_s}, {u"PITEM3"_s, u"plum"_s}});
    QVERIFY(!pdf.isEmpty());
    const QList<Word> words = pdfprobe::words(pdf);
    const QStringList expected{u"1:apple"_s, u"2:pear"_s, u"3:plum"_s};
    for (int row = 0; row < 3; ++row) {
        const Word word = pdfprobe::find(words, expected[row]);
        QVERIFY2(!word.text.isEmpty(), qPrintable(expected[row]));
        QVERIFY(std::abs(word.box.top() - (50 + 10 * row)) < 1.0);
    }
}

void ReportRenderingTest::conditions_data()
{
    QTest::addColumn<QString>("test");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("shown");

    QTest::newRow("filled: text") << "filled" << "x" << true;
    QTest::newRow("filled: empty") << "filled" << "" << false;
    QTest::newRow("filled: blanks") << "filled" << "   " << false;
    QTest::newRow("filled: zero") << "filled" << "0.00" << true;
    QTest::newRow("empty: empty") << "empty" << "" << true;
    QTest::newRow("empty: text") << "empty" << "x" << false;
    QTest::newRow("nonzero: zero") << "nonzero" << "0.00" << false;
    QTest::newRow("nonzero: negative zero") << "nonzero" << "-0" << false;
    QTest::newRow("nonzero: grouped zero") << "nonzero" << "0,000.00" << false;
    QTest::newRow("nonzero: empty") << "nonzero" << "" << false;
    QTest::newRow("nonzero: amount") << "nonzero" << "0.01" << true;
    QTest::newRow("nonzero: grouped") << "nonzero" << "1,500.00" << true;
    QTest::newRow("nonzero: words") << "nonzero" << "NO TAX" << true;
    QTest::newRow("nonzero: lone point") << "nonzero" << "." << false;
    QTest::newRow("nonzero: digits after zero") << "nonzero" << "0.05" << true;
}

void ReportRenderingTest::conditions()
{
    QFETCH(QString, test);
    QFETCH(QString, value);
    QFETCH(bool, shown);
    ReportFixture f;
    // A second name in the list: any of them counts for filled and nonzero.
    const QString pdf = f.render(
        u"<if %1='PVALUE POTHER'><text x='20' y='20' width='80' height='8'>Visible</text></if>"
        "<text x='20' y='40' width='80' height='8'>Always</text>"_s.arg(test),
        {{u"PVALUE"_s, value}, {u"POTHER"_s, test == u"nonzero"_s ? u"0"_s : QString()}});
    QVERIFY(!pdf.isEmpty());
    const QString text = pdfprobe::text(pdf);
    QVERIFY(text.contains(u"Always"_s));
    QCOMPARE(text.contains(u"Visible"_s), shown);
}

void ReportRenderingTest::stackClosesUp()
{
    ReportFixture f;
    const QString body =
        u"<stack>"
        "<band height='10'><text x='20' y='20' width='80' height='8'>First</text></band>"
        "<band height='10' filled='PMIDDLE'><text x='20' y='30' width='80' height='8'>{PMIDDLE}</text></band>"
        "<band height='10'><text x='20' y='40' width='80' height='8'>Third</text>"
        "<rect x='20' y='48' width='80' height='1' fill='#000000'/></band>"
        "</stack>"_s;
    const QString shown = f.render(body, {{u"PMIDDLE"_s, u"Middle"_s}}, {}, nullptr, u"a.pdf"_s);
    const QString closed = f.render(body, {{u"PMIDDLE"_s, QString()}}, {}, nullptr, u"b.pdf"_s);
    QVERIFY(!shown.isEmpty() && !closed.isEmpty());
    const double before = pdfprobe::find(pdfprobe::words(shown), u"Third"_s).box.top();
    const double after = pdfprobe::find(pdfprobe::words(closed), u"Third"_s).box.top();
    QVERIFY(std::abs(before - 40) < 1.0);
    QVERIFY(std::abs(after - 30) < 1.0);
    const QImage page = pdfprobe::render(closed, 100);
    QVERIFY(near(pixelAt(page, 50, 38.5, 100), Qt::black)); // the rule moved with its band
}

void ReportRenderingTest::parameterReplacedAndLineBreaks()
{
    ReportFixture f;
    f.engine.SetParameter(u"PNOTE"_s, u"first"_s);
    f.engine.SetParameter(u"PNOTE"_s, u"upper\nlower"_s);
    f.engine.TemplatePath(f.write(u"t.rep"_s, ReportFixture::wrap(
        u"<text x='20' y='20' width='80' height='30'>{PNOTE}</text>"_s)));
    QVERIFY2(f.engine.ExportPdf(f.path(u"n.pdf"_s)), qPrintable(f.engine.errorString()));
    const QList<Word> words = pdfprobe::words(f.path(u"n.pdf"_s));
    QCOMPARE(words.size(), 2);
    QCOMPARE(words[0].text, u"upper"_s);
    QCOMPARE(words[1].text, u"lower"_s);
    QVERIFY(words[1].box.top() > words[0].box.bottom() - 0.5);
}

void ReportRenderingTest::editedTemplateReadAgain()
{
    ReportFixture f;
    QVERIFY(!f.render(u"<text x='20' y='20' width='80' height='10'>Before</text>"_s).isEmpty());
    QString error;
    QVERIFY(f.render(u"<txt/>"_s, {}, {}, &error).isEmpty());
    QVERIFY(error.contains(u"unknown element <txt>"_s));
    const QString pdf = f.render(u"<text x='20' y='20' width='80' height='10'>After</text>"_s);
    QVERIFY(!pdf.isEmpty());
    QCOMPARE(pdfprobe::text(pdf).simplified(), u"After"_s);
}

static QString writeImage(const QString &path, QSize size, QColor colour, bool alpha = false)
{
    QImage image(size, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(colour);
    if (!image.save(path))
        return {};
    return path;
}

void ReportRenderingTest::imageDownscaledAndFitted()
{
    ReportFixture f;
    // A 3:1 camera-sized picture in a 60 x 40 mm box: 60 x 20 mm, centred.
    const QString logo = writeImage(f.path(u"logo.jpg"_s), {3000, 1000}, QColor(0, 0, 200));
    const QString pdf = f.render(
        u"<image x='20' y='20' width='60' height='40' source='{PLOGO}'/>"_s, {{u"PLOGO"_s, logo}});
    QVERIFY(!pdf.isEmpty());
    const auto images = pdfprobe::images(pdf);
    QCOMPARE(images.size(), 1);
    const int expectedWidth = qCeil(60 / 25.4 * 300); // 709 pixels at 300 dpi
    QVERIFY2(std::abs(images[0].width - expectedWidth) <= 2, qPrintable(QString::number(images[0].width)));
    QVERIFY(std::abs(images[0].height * 3 - images[0].width) <= 3);
    const QImage page = pdfprobe::render(pdf, 100);
    QVERIFY(near(pixelAt(page, 50, 40, 100), QColor(0, 0, 200)));
    QVERIFY(near(pixelAt(page, 50, 25, 100), Qt::white));
    QVERIFY(near(pixelAt(page, 50, 55, 100), Qt::white));
}

void ReportRenderingTest::smallImageKeptAndAlphaFlattened()
{
    ReportFixture f;
    const QString logo = writeImage(f.path(u"logo.png"_s), {100, 50}, QColor(200, 0, 0, 128), true);
    const QString pdf = f.render(
        u"<image x='20' y='20' width='60' height='40' source='{PLOGO}' align='left' valign='top'/>"_s,
        {{u"PLOGO"_s, logo}});
    QVERIFY(!pdf.isEmpty());
    const auto images = pdfprobe::images(pdf);
    QCOMPARE(images.size(), 1); // no soft mask: PDF/A-1 has no transparency
    QCOMPARE(images[0].type, u"image"_s);
    QCOMPARE(images[0].width, 100);
    QCOMPARE(images[0].height, 50);
    const QImage page = pdfprobe::render(pdf, 100);
    QVERIFY(near(pixelAt(page, 30, 25, 100), QColor(228, 128, 128), 30)); // half red on white
}

void ReportRenderingTest::missingImageLeavesBoxEmpty()
{
    ReportFixture f;
    const QString pdf = f.render(
        u"<image x='20' y='20' width='60' height='40' source='{PLOGO}'/>"
        "<image x='20' y='80' width='60' height='40' source='missing.png'/>"
        "<text x='20' y='130' width='60' height='10'>Still here</text>"_s,
        {{u"PLOGO"_s, f.path(u"nothing.jpg"_s)}});
    QVERIFY(!pdf.isEmpty());
    QVERIFY(pdfprobe::images(pdf).isEmpty());
    QVERIFY(pdfprobe::text(pdf).contains(u"Still here"_s));
}

void ReportRenderingTest::metadata_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("pageSize");
    QTest::addColumn<QString>("title");

    QTest::newRow("A4") << "page='A4'" << "INV1001.pdf" << "595 x 842 pts (A4)" << "INV1001";
    QTest::newRow("default page") << "" << "INV7.pdf" << "595 x 842 pts (A4)" << "INV7";
    QTest::newRow("Letter") << "page='Letter'" << "INV1002.pdf" << "612 x 792 pts (letter)"
                            << "INV1002";
    QTest::newRow("A4 landscape") << "page='A4' orientation='landscape'" << "viewtemplate.pdf"
                                  << "842 x 595 pts (A4)" << "viewtemplate";
    QTest::newRow("dotted name") << "" << "INV1.5.pdf" << "595 x 842 pts (A4)" << "INV1.5";
}

void ReportRenderingTest::metadata()
{
    QFETCH(QString, root);
    QFETCH(QString, output);
    QFETCH(QString, pageSize);
    QFETCH(QString, title);
    ReportFixture f;
    const QString pdf = f.render(u"<text x='20' y='20' width='60' height='10'>Page</text>"_s, {},
                                 root, nullptr, output);
    QVERIFY(!pdf.isEmpty());
    QCOMPARE(pdfprobe::infoField(pdf, u"Title"_s), title);
    QCOMPARE(pdfprobe::infoField(pdf, u"Creator"_s), u"Quillbook"_s);
    QCOMPARE(pdfprobe::infoField(pdf, u"Page size"_s), pageSize);
    QCOMPARE(pdfprobe::infoField(pdf, u"Pages"_s), u"1"_s);
    QVERIFY(pdfprobe::info(pdf, true).contains(u"pdfaid:part=\"1\""_s));
    QVERIFY(pdfprobe::info(pdf, true).contains(u"pdfaid:conformance=\"B\""_s));
}

void ReportRenderingTest::scripts_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("accents") << u"Ünïcödé café Øresund"_s;
    QTest::newRow("Greek") << u"Ελληνικά τιμολόγιο"_s;
    QTest::newRow("Cyrillic") << u"Счёт-фактура"_s;
    QTest::newRow("Chinese") << u"发票金额"_s;
    QTest::newRow("Japanese") << u"請求書"_s;
    QTest::newRow("Hebrew") << u"חשבונית מס"_s;
    QTest::newRow("Arabic") << u"فاتورة"_s;
    QTest::newRow("symbols") << u"€ £ ¥ № –"_s;
}

void ReportRenderingTest::scripts()
{
    QFETCH(QString, text);
    ReportFixture f;
    const QString pdf = f.render(u"<text x='20' y='20' width='150' height='20'>{PTEXT}</text>"_s,
                                 {{u"PTEXT"_s, text}});
    QVERIFY(!pdf.isEmpty());
    // Arabic comes back as its contextual forms, which normalise to the letters.
    // Blanks are compared away: poppler guesses them from the gaps between glyphs.
    const auto comparable = [](const QString &s) {
        QString result = s.normalized(QString::NormalizationForm_KC);
        result.remove(QChar(0x202B)).remove(QChar(0x202C)); // bidi embedding marks
        result.removeIf([](QChar c) { return c.isSpace(); });
        return result;
    };
    const QString extracted = comparable(pdfprobe::text(pdf));
    QVERIFY2(extracted.contains(comparable(text)), qPrintable(extracted));
    const auto fonts = pdfprobe::fonts(pdf);
    QVERIFY(!fonts.isEmpty());
    for (const auto &[name, embedded] : fonts)
        QVERIFY2(embedded, qPrintable(name));
}

void ReportRenderingTest::noLigaturesInText()
{
    ReportFixture f;
    const QString pdf = f.render(u"<text x='20' y='20' width='150' height='20'>five fluffy offices</text>"_s);
    QVERIFY(!pdf.isEmpty());
    QCOMPARE(pdfprobe::text(pdf).simplified(), u"five fluffy offices"_s);
}

void ReportRenderingTest::failedExportKeepsEarlierFile()
{
    ReportFixture f;
    const QString pdf = f.render(u"<text x='20' y='20' width='60' height='10'>Good</text>"_s);
    QVERIFY(!pdf.isEmpty());
    QFile original(pdf);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();

    QString error;
    QVERIFY(f.render(u"<text x='20' y='20' width='60' height='10'>{PMISSING}</text>"_s, {}, {},
                     &error)
                .isEmpty());
    QVERIFY(error.contains(u"unknown parameter PMISSING"_s));
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(original.readAll(), before);
    // Nothing half-written is left beside it.
    QCOMPARE(QDir(f.dir.path()).entryList({u"*.pdf*"_s}, QDir::Files), QStringList{u"out.pdf"_s});
}

void ReportRenderingTest::unwritableOutput_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing folder") << "no/such/folder/INV1.pdf" << "does not exist";
    QTest::newRow("folder is a file") << "t.rep/INV1.pdf" << "does not exist";
    QTest::newRow("output is a folder") << "." << "Cannot write";
}

void ReportRenderingTest::unwritableOutput()
{
    QFETCH(QString, output);
    QFETCH(QString, message);
    ReportFixture f;
    QString error;
    QVERIFY(f.render(u"<text x='20' y='20' width='60' height='10'>x</text>"_s, {}, {}, &error,
                     output)
                .isEmpty());
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(f.path(output))), qPrintable(error));
}

QTEST_MAIN(ReportRenderingTest)
#include "tst_reportrendering.moc"
