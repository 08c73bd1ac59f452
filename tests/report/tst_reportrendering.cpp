// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What each template element puts on the page, read back from the PDF with
// poppler: words and their boxes, rendered pixels, fonts, images, metadata.

#include "reportfixture.h"

#include <QDir>

using pdfprobe::Word;
using namespace std::string_view_literals;

namespace {

constexpr int Dpi = 100;

QColor pixelAt(const QImage &page, double xMm, double yMm)
{
    return page.pixelColor(int(xMm / 25.4 * Dpi), int(yMm / 25.4 * Dpi));
}

bool near(const QColor &a, const QColor &b, int tolerance = 40)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

// What is wrong with "Word edge=mm ...", the edges being left, right, top,
// bottom, centerx and centery of the word's box, each within 1.5 mm; empty
// when nothing is.
QString misplaced(const QList<Word> &words, const QString &expectation)
{
    const QStringList parts = expectation.split(u' ');
    const QRectF box = pdfprobe::find(words, parts[0]).box;
    const QHash<QString, double> edges{
        {u"left"_s, box.left()},     {u"right"_s, box.right()},        {u"top"_s, box.top()},
        {u"bottom"_s, box.bottom()}, {u"centerx"_s, box.center().x()}, {u"centery"_s, box.center().y()}};
    if (box.isNull())
        return parts[0] + u" is missing"_s;
    for (const QString &part : parts.mid(1)) {
        const double edge = edges.value(part.section(u'=', 0, 0));
        if (std::abs(edge - part.section(u'=', 1).toDouble()) > 1.5)
            return u"%1: %2 is at %3"_s.arg(parts[0], part).arg(edge);
    }
    return {};
}

QString writeImage(const QString &path, QSize size, QColor colour, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(size, format);
    image.fill(colour);
    return image.save(path) ? path : QString();
}

} // namespace

class ReportRenderingTest : public QObject
{
    Q_OBJECT

private slots:
    void placement_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<Parameters>("parameters");
        QTest::addColumn<QStringList>("expected"); // see misplaced()
        QTest::newRow("alignment")
            << u"<text x='50' y='50' width='100' height='40' align='left' valign='bottom' size='12'>Left</text>"
               "<text x='50' y='100' width='100' height='40' align='center' valign='top' size='12'>Centre</text>"
               "<text x='50' y='150' width='100' height='40' align='right' valign='middle' size='12'>Right</text>"_s
            << Parameters()
            << QStringList{u"Left left=50 bottom=90"_s, u"Centre centerx=100 top=100"_s,
                           u"Right right=150 centery=170"_s};
        QTest::newRow("repeated rows")
            << u"<repeat count='3' pitch='10'><text x='20' y='50' width='80' height='8'>{#}:{PITEM#}</text></repeat>"_s
            << Parameters{{u"PITEM1"_s, u"apple"_s}, {u"PITEM2"_s, u"pear"_s}, {u"PITEM3"_s, u"plum"_s}}
            << QStringList{u"1:apple left=20 top=50"_s, u"2:pear left=20 top=60"_s, u"3:plum left=20 top=70"_s};
        const QString stack
            = u"<stack><band height='10'><text x='20' y='20' width='80' height='8'>First</text></band>"
              "<band height='10' filled='PMIDDLE'><text x='20' y='30' width='80' height='8'>{PMIDDLE}</text></band>"
              "<band height='10'><text x='20' y='40' width='80' height='8'>Third</text></band></stack>"_s;
        QTest::newRow("stack, all bands shown")
            << stack << Parameters{{u"PMIDDLE"_s, u"Middle"_s}}
            << QStringList{u"First top=20"_s, u"Middle top=30"_s, u"Third top=40"_s};
        QTest::newRow("stack closes up") << stack << Parameters{{u"PMIDDLE"_s, QString()}}
                                         << QStringList{u"First top=20"_s, u"Third top=30"_s};
        QTest::newRow("line break in a value")
            << u"<text x='20' y='20' width='80' height='30' size='10'>{PNOTE}</text>"_s
            << Parameters{{u"PNOTE"_s, u"upper\nlower"_s}}
            << QStringList{u"upper left=20 top=20"_s, u"lower left=20 top=24.8"_s};
        const QString phrase = u"<text x='20' y='20' width='150' height='8'>Invoice {PNUMBER}<if filled='PDATE'> of "
                               "{PDATE}</if>.</text>"_s;
        QTest::newRow("a phrase shown with its parameter")
            << phrase << Parameters{{u"PNUMBER"_s, u"7"_s}, {u"PDATE"_s, u"today"_s}}
            << QStringList{u"Invoice left=20"_s, u"7 top=20"_s, u"of top=20"_s, u"today. top=20"_s};
        QTest::newRow("a phrase left out without it") << phrase << Parameters{{u"PNUMBER"_s, u"7"_s}, {u"PDATE"_s, {}}}
                                                      << QStringList{u"Invoice left=20"_s, u"7. top=20"_s};
        // {-NAME} turns a figure's sign; zero has none to turn.
        QTest::newRow("turned signs")
            << u"<text x='20' y='20' width='150' height='10'>[{-PA}] [{-PB}] [{-PC}] [{-PD}]</text>"_s
            << Parameters{{u"PA"_s, u"12.50"_s}, {u"PB"_s, u"-3.00"_s}, {u"PC"_s, u"0.00"_s}, {u"PD"_s, u"1,000.00"_s}}
            << QStringList{u"[-12.50] left=20"_s, u"[3.00]"_s, u"[0.00]"_s, u"[-1,000.00]"_s};
        // A second name in the list: any of them counts for filled and nonzero.
        const std::tuple<const char *, const char *, bool> conditions[]
            = {{"filled", "x", true},      {"filled", "", false},    {"filled", "   ", false},
               {"filled", "0.00", true},   {"empty", "", true},      {"empty", "x", false},
               {"nonzero", "0.00", false}, {"nonzero", "-0", false}, {"nonzero", "0,000.00", false},
               {"nonzero", ".", false},    {"nonzero", "", false},   {"nonzero", "0.01", true},
               {"nonzero", "NO TAX", true}};
        for (const auto &[test, value, shown] : conditions) {
            QTest::addRow("%s: '%s'", test, value)
                << u"<if %1='PVALUE POTHER'><text x='20' y='20' width='80' height='8'>Shown</text></if>"
                   "<text x='20' y='40' width='80' height='8'>Always</text>"_s.arg(QLatin1StringView(test))
                << Parameters{{u"PVALUE"_s, QString::fromUtf8(value)},
                              {u"POTHER"_s, test == "nonzero"sv ? u"0"_s : QString()}}
                << (shown ? QStringList{u"Shown top=20"_s, u"Always top=40"_s} : QStringList{u"Always top=40"_s});
        }
    }

    void placement()
    {
        QFETCH(QString, body);
        QFETCH(Parameters, parameters);
        QFETCH(QStringList, expected);
        ReportFixture f;
        const QString pdf = f.render(body, parameters);
        QVERIFY(!pdf.isEmpty());
        const QList<Word> words = pdfprobe::words(pdf);
        QCOMPARE(words.size(), expected.size());
        for (const QString &expectation : expected) {
            const QString problem = misplaced(words, expectation);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
    }

    // Eleven words in a box 40 mm wide, roomy or 10 mm high, for each way of
    // coping. Whatever the way, only whole lines inside the box are drawn, and
    // text left out is marked by "…" at a character boundary.
    void fitting_data()
    {
        QTest::addColumn<QString>("attributes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern"); // for the simplified text read back
        QTest::addColumn<int>("lines");       // distinct lines: so many, at least -lines, or any for 0
        QTest::addColumn<double>("height");   // of the box, which holds every word
        const auto row = [](const char *name, QStringView attributes, QStringView pattern, int lines, double height,
                            QStringView text = u"one two three four five six seven eight nine ten last") {
            QTest::newRow(name) << attributes.toString() << text.toString() << pattern.toString() << lines << height;
        };
        const auto all = u"^one two three four five six seven eight nine ten last$";
        const auto elided = u"^one two (?!.*last).*…$";
        row("wrapped", u"", all, -3, 60);
        row("not wrapped", u"wrap='false'", u"^one two three (?!.*last).*…$", 1, 60);
        row("shrink wrapped", u"overflow='shrink' min-size='3'", all, -2, 10);
        row("shrink single line", u"overflow='shrink' min-size='3' wrap='false'", all, 1, 10);
        row("shrink stops at min-size, then cuts", u"overflow='shrink' min-size='11'", elided, 1, 10);
        row("ellipsis wrapped", u"overflow='ellipsis'", elided, 2, 13);
        row("ellipsis single line", u"overflow='ellipsis' wrap='false'", elided, 1, 13);
        row("clip leaves out what does not fit", u"overflow='clip'", elided, 2, 13);
        row("line breaks of a value", u"", u"^first second third .*…$", 2, 13,
            u"first\nsecond\nthird\nfourth\nfifth\nsixth\nseventh\neighth");
        row("one long word", u"overflow='ellipsis'", u"^DonauDonau\\w* \\w+…$", 2, 13, u"Donau"_s.repeated(40));
        // Money is never wrapped or cut: it shrinks unasked. Digits without a
        // separator (a quantity, a reference) and a telephone number are text.
        row("a figure shrinks unasked", u"", u"^1,234,567,890,123.45$", 1, 10, u"1,234,567,890,123.45");
        row("digits alone are text", u"wrap='false'", u"^\\d+…$", 1, 10, u"1"_s.repeated(40));
        row("a telephone number is text", u"", u"^(0117 496 0000 ?)+$", -2, 60, u"0117 496 0000 "_s.repeated(4));
        row("accents kept with their letter", u"wrap='false'", u"^(café )+(c|ca|caf|café)?…$", 1, 10,
            u"cafe\u0301 "_s.repeated(30));
    }

    void fitting()
    {
        QFETCH(QString, attributes);
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(int, lines);
        QFETCH(double, height);
        ReportFixture f;
        const QString pdf = f.render(u"<text x='30' y='30' width='40' height='%1' size='12' %2>"
                                     "{PTEXT}</text>"_s.arg(height)
                                         .arg(attributes),
                                     {{u"PTEXT"_s, text}});
        QVERIFY(!pdf.isEmpty());
        const QString read = pdfprobe::text(pdf).normalized(QString::NormalizationForm_C).simplified();
        QVERIFY2(QRegularExpression(pattern).match(read).hasMatch(), qPrintable(read));
        QSet<int> tops;
        const QRectF box = QRectF(30, 30, 40, height).adjusted(-0.3, -0.3, 0.3, 0.3);
        for (const Word &word : pdfprobe::words(pdf)) {
            QVERIFY2(box.contains(word.box), qPrintable(word.text));
            tops.insert(qRound(word.box.top()));
        }
        QVERIFY2(lines < 0 ? tops.size() >= -lines : lines == 0 || tops.size() == lines,
                 qPrintable(QString::number(tops.size())));
    }

    // Shapes, styled text and pictures, probed on the rendered page. A camera-sized
    // 3:1 picture is fitted into its box and reduced to 300 to 600 dpi; a small
    // one is kept as it is, flattened onto what lies behind it; a missing one
    // leaves its box empty.
    void drawing()
    {
        ReportFixture f;
        const QString pdf
            = f.render(u"<rect x='20' y='20' width='60' height='40' fill='#00c000' stroke='#0000c0' thickness='2mm'/>"
                       "<rect x='100' y='20' width='60' height='40' fill='#c0c000' radius='15'/>"
                       "<rect x='20' y='80' width='60' height='40' stroke='#c00000' thickness='1mm'/>"
                       "<line x1='20' y1='150' x2='180' y2='150' color='#c000c0' thickness='2mm'/>"
                       "<line x1='20' y1='170' x2='180' y2='170' color='#00c0c0' thickness='2mm' pattern='dash'/>"
                       "<style name='red' color='#c00000'/>"
                       "<text x='100' y='80' width='100' height='40' size='60' bold='true' style='red'>MMM</text>"
                       "<stack><band height='10' filled='PNONE'/>"
                       "<band height='10'><rect x='20' y='190' width='80' height='1' fill='#000000'/></band></stack>"
                       "<image x='20' y='200' width='60' height='40' source='{PLOGO}'/>"
                       "<image x='100' y='200' width='60' height='40' source='{PSMALL}' align='left' valign='top'/>"
                       "<image x='100' y='250' width='60' height='40' source='{PMISSING}'/>"
                       "<image x='140' y='250' width='60' height='40' source='missing.png'/>"
                       "<rect x='20' y='250' width='80' height='40' fill='#203040'/>"
                       "<image x='20' y='250' width='60' height='40' source='{PSMALL}' align='left' valign='top'/>"_s,
                       {{u"PNONE"_s, QString()},
                        {u"PLOGO"_s, writeImage(f.path(u"logo.jpg"_s), {3000, 1000}, QColor(0, 0, 200))},
                        {u"PSMALL"_s,
                         writeImage(f.path(u"small.png"_s), {100, 50}, QColor(200, 0, 0, 128), QImage::Format_ARGB32)},
                        {u"PMISSING"_s, f.path(u"nothing.jpg"_s)}});
        QVERIFY(!pdf.isEmpty());
        const auto images = pdfprobe::images(pdf);
        QCOMPARE(images.size(), 3);                     // no soft mask: PDF/A-1 has no transparency
        const int neededWidth = qCeil(60 / 25.4 * 300); // 709 pixels: 300 to 600 dpi are kept
        QVERIFY2(images[0].width() >= neededWidth && images[0].width() <= 2 * neededWidth,
                 qPrintable(QString::number(images[0].width())));
        QVERIFY(std::abs(images[0].height() * 3 - images[0].width()) <= 3);
        QCOMPARE(images[1], QSize(100, 50));

        const QImage page = pdfprobe::render(pdf, Dpi);
        const struct
        {
            double x, y;
            QColor colour;
            int tolerance = 40;
        } probes[] = {
            {50, 40, QColor(0, 0xc0, 0)},      // fill
            {20, 40, QColor(0, 0, 0xc0)},      // stroke on the edge
            {130, 40, QColor(0xc0, 0xc0, 0)},  // rounded fill
            {100.8, 20.8, Qt::white},          // its cut-off corner
            {50, 100, Qt::white},              // no fill
            {80, 100, QColor(0xc0, 0, 0)},     // stroke only
            {100, 150, QColor(0xc0, 0, 0xc0)}, // line
            {100, 153, Qt::white},             // beside it
            {50, 180.5, Qt::black},            // the rule moved up with its band
            {50, 190.5, Qt::white},
            {50, 220, QColor(0, 0, 200)}, // the picture fitted, 60 x 20 mm, centred
            {50, 205, Qt::white},
            {50, 235, Qt::white},
            {110, 205, QColor(228, 128, 128), 30}, // half red on white, top left
            {140, 235, Qt::white},
            {30, 255, QColor(116, 24, 32), 30}, // laid on the colour behind it, not on a white box
            {90, 280, QColor(0x20, 0x30, 0x40), 10},
        };
        for (const auto &probe : probes)
            QVERIFY2(near(pixelAt(page, probe.x, probe.y), probe.colour, probe.tolerance),
                     qPrintable(u"%1,%2"_s.arg(probe.x).arg(probe.y)));
        // Points of a colour in a rectangle of the page, looked at every half millimetre.
        const auto count = [&](QRectF area, const QColor &colour) {
            int n = 0;
            for (double y = area.top(); y <= area.bottom(); y += 0.5)
                for (double x = area.left(); x < area.right(); x += 0.5)
                    n += near(pixelAt(page, x, y), colour, 30) ? 1 : 0;
            return n;
        };
        const int dashes = count({25, 170, 150, 0}, QColor(0, 0xc0, 0xc0));
        QVERIFY2(dashes > 50 && dashes < 275, qPrintable(u"dashes: %1 of 300 points inked"_s.arg(dashes)));
        QVERIFY(count({100, 80, 100, 40}, QColor(0xc0, 0, 0)) > 200); // the text in its style's red
    }

    // What is written, or why nothing is: the document's title is the file's
    // name, dots and all; a failed export names the file.
    void output_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("pageSize");
        QTest::addColumn<QString>("error"); // empty: written
        QTest::newRow("default page, dotted name")
            << QString() << u"INV1.5.pdf"_s << u"595 x 842 pts (A4)"_s << QString();
        QTest::newRow("Letter") << u"page='Letter'"_s << u"INV1002.pdf"_s << u"612 x 792 pts (letter)"_s << QString();
        QTest::newRow("A4 landscape") << u"page='A4' orientation='landscape'"_s << u"viewtemplate.pdf"_s
                                      << u"842 x 595 pts (A4)"_s << QString();
        QTest::newRow("missing folder") << QString() << u"no/such/folder/INV1.pdf"_s << QString()
                                        << u"does not exist"_s;
        QTest::newRow("folder is a file")
            << QString() << u"t.rep/INV1.pdf"_s << QString() << u"t.rep is a file, not a folder"_s;
        QTest::newRow("output is a folder") << QString() << u"."_s << QString() << u"Cannot write"_s;
    }

    void output()
    {
        QFETCH(QString, root);
        QFETCH(QString, output);
        QFETCH(QString, error);
        ReportFixture f;
        QString message;
        const QString pdf
            = f.render(u"<text x='20' y='20' width='60' height='10'>Page</text>"_s, {}, root, &message, output);
        if (!error.isEmpty()) {
            QVERIFY2(pdf.isEmpty() && message.contains(error), qPrintable(message));
            QVERIFY2(message.contains(QDir::toNativeSeparators(f.path(output))), qPrintable(message));
            return;
        }
        QVERIFY2(!pdf.isEmpty(), qPrintable(message));
        QCOMPARE(pdfprobe::info(pdf, u"Title"_s), output.chopped(4));
        QCOMPARE(pdfprobe::info(pdf, u"Creator"_s), u"Quillbook"_s);
        QTEST(pdfprobe::info(pdf, u"Page size"_s), "pageSize");
        QCOMPARE(pdfprobe::info(pdf, u"Pages"_s), u"1"_s);
    }

    // Text in each script and style comes back as the characters it is, in
    // embedded fonts: the shipped family's face when it has the letters.
    void text_data()
    {
        QTest::addColumn<QString>("attributes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("font"); // empty: any embedded fonts
        const auto row = [](const char *name, QStringView attributes, QStringView text, QStringView font) {
            QTest::newRow(name) << attributes.toString() << text.toString() << font.toString();
        };
        row("regular", u"", u"Styled", u"NotoSans-Regular");
        row("bold", u"bold='true'", u"Styled", u"NotoSans-Bold");
        row("italic", u"italic='true'", u"Styled", u"NotoSans-Italic");
        row("bold italic", u"bold='true' italic='true'", u"Styled", u"NotoSans-BoldItalic");
        row("serif", u"font='Noto Serif'", u"Styled", u"NotoSerif-Regular");
        row("named style", u"style='heading'", u"Styled", u"NotoSerif-Bold");
        row("style overridden", u"style='heading' bold='false'", u"Styled", u"NotoSerif-Regular");
        row("derived style", u"style='sub'", u"Styled", u"NotoSerif-BoldItalic");
        row("no ligatures, accents, Greek, Cyrillic, symbols", u"",
            u"five fluffy offices Ünïcödé café Øresund Ελληνικά Счёт-фактура € £ ¥ № – ₹ ₺ ⅓", u"NotoSans-Regular");
        row("Chinese and Japanese", u"", u"发票金额 請求書", u"");
        row("Hebrew", u"", u"חשבונית מס", u"");
        row("Arabic", u"", u"فاتورة", u"");
    }

    void text()
    {
        QFETCH(QString, attributes);
        QFETCH(QString, text);
        QFETCH(QString, font);
        ReportFixture f;
        const QString pdf = f.render(u"<style name='heading' font='Noto Serif' bold='true' size='14'/>"
                                     "<style name='sub' base='heading' italic='true'/>"
                                     "<text x='20' y='20' width='150' height='20' %1>{PTEXT}</text>"_s.arg(attributes),
                                     {{u"PTEXT"_s, text}});
        QVERIFY(!pdf.isEmpty());
        // Arabic comes back as its contextual forms, which normalise to the letters; ligature
        // signs would too, so they are looked for first. Blanks are compared away: poppler
        // guesses them from the gaps between glyphs.
        const QString raw = pdfprobe::text(pdf);
        QVERIFY2(!raw.contains(QRegularExpression(u"[\\x{FB00}-\\x{FB06}]"_s)), qPrintable(raw));
        const auto comparable = [](const QString &s) {
            QString result = s.normalized(QString::NormalizationForm_KC);
            result.remove(QChar(0x202B)).remove(QChar(0x202C)); // bidi embedding marks
            return result.removeIf([](QChar c) { return c.isSpace(); });
        };
        QVERIFY2(comparable(raw).contains(comparable(text)), qPrintable(raw));
        const auto fonts = pdfprobe::fonts(pdf);
        QVERIFY(!fonts.isEmpty());
        for (const auto &[name, embedded] : fonts)
            QVERIFY2(embedded, qPrintable(name));
        if (!font.isEmpty())
            QCOMPARE(fonts, (QList<QPair<QString, bool>>{{font, true}}));
    }

    // Each export reads the template afresh; a failed one leaves the earlier
    // file as it was and nothing half-written beside it.
    void exportsOneAfterAnother()
    {
        ReportFixture f;
        const QString pdf = f.render(u"<text x='20' y='20' width='60' height='10'>Before</text>"_s);
        const auto bytes = [&] {
            QFile file(pdf);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray before = bytes();
        QVERIFY(!before.isEmpty());
        QString error;
        QVERIFY(f.render(u"<txt/><text x='20' y='20' width='60' height='10'>{PMISSING}</text>"_s, {}, {}, &error)
                    .isEmpty());
        QVERIFY2(error.contains(u"unknown element <txt>"_s) && error.contains(u"unknown parameter PMISSING"_s),
                 qPrintable(error));
        QCOMPARE(bytes(), before);
        QCOMPARE(QDir(f.dir.path()).entryList({u"*.pdf*"_s}, QDir::Files), QStringList{u"out.pdf"_s});
        // Setting a name again replaces its value.
        f.engine.TemplatePath(
            f.write(u"t.rep"_s, ReportFixture::wrap(u"<text x='20' y='20' width='60' height='10'>{PNOTE}</text>"_s)));
        f.engine.SetParameter(u"PNOTE"_s, u"first"_s);
        f.engine.SetParameter(u"PNOTE"_s, u"After"_s);
        QVERIFY2(f.engine.ExportPdf(pdf), qPrintable(f.engine.errorString()));
        QCOMPARE(pdfprobe::text(pdf).simplified(), u"After"_s);
    }
};

QTEST_MAIN(ReportRenderingTest)
#include "tst_reportrendering.moc"
