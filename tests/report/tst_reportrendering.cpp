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

// What is wrong with "Word edge=mm ...", the edges being left, right, top,
// bottom, centerx and centery of the word's box, each within 1.5 mm; empty
// when nothing is.
QString misplaced(const QList<Word> &words, const QString &expectation)
{
    const QStringList parts = expectation.split(u' ');
    const QRectF box = pdfprobe::find(words, parts[0]);
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
        // {-NAME} turns a figure's sign; zero has none to turn.
        QTest::newRow("turned signs") << u"<text x='20' y='20' width='150' height='10'>[{-PA}] [{-PB}] [{-PC}]</text>"_s
                                      << Parameters{{u"PA"_s, u"12.50"_s}, {u"PB"_s, u"-3.00"_s}, {u"PC"_s, u"0.00"_s}}
                                      << QStringList{u"[-12.50] left=20"_s, u"[3.00]"_s, u"[0.00]"_s};
        // A phrase in a text, shown by its condition; any name of the list counts.
        const std::tuple<const char *, const char *, bool> conditions[]
            = {{"filled", "x", true},   {"filled", "   ", false},  {"filled", "0.00", true},
               {"empty", "", true},     {"empty", "x", false},     {"nonzero", "-0,000.00", false},
               {"nonzero", ".", false}, {"nonzero", "0.01", true}, {"nonzero", "NO TAX", true}};
        for (const auto &[test, value, shown] : conditions) {
            QTest::addRow("%s: '%s'", test, value)
                << u"<text x='20' y='20' width='80' height='8'>Always<if %1='PVALUE POTHER'> shown</if></text>"_s.arg(
                       QLatin1StringView(test))
                << Parameters{{u"PVALUE"_s, QString::fromUtf8(value)},
                              {u"POTHER"_s, test == "nonzero"sv ? u"0"_s : QString()}}
                << (shown ? QStringList{u"Always left=20"_s, u"shown top=20"_s} : QStringList{u"Always left=20"_s});
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
    // coping: only whole lines inside the box are drawn, and text left out is
    // marked by "…" at a character boundary.
    void fitting_data()
    {
        QTest::addColumn<QString>("attributes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern"); // for the simplified text read back
        QTest::addColumn<int>("lines");       // distinct lines: so many, or at least -lines
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
        row("line breaks of a value", u"", u"^first second third .*…$", 2, 13,
            u"first\nsecond\nthird\nfourth\nfifth\nsixth\nseventh\neighth");
        row("one long word", u"overflow='ellipsis'", u"^DonauDonau\\w* \\w+…$", 2, 13, u"Donau"_s.repeated(40));
        // Money is never wrapped or cut: it shrinks unasked. Digits without a separator are text.
        row("a figure shrinks unasked", u"", u"^1,234,567,890,123.45$", 1, 10, u"1,234,567,890,123.45");
        row("digits alone are text", u"wrap='false'", u"^\\d+…$", 1, 10, u"1"_s.repeated(40));
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
        QVERIFY2(lines < 0 ? tops.size() >= -lines : tops.size() == lines, qPrintable(QString::number(tops.size())));
    }

    // What is written, or why nothing is. The title is the file's name, dots
    // and all; text in each script and style comes back as the characters it
    // is, in embedded fonts: the family's face when it has the letters.
    void document_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("attributes");
        QTest::addColumn<QString>("text");     // none: not written
        QTest::addColumn<QString>("expected"); // page size and font, or the error
        QTest::newRow("A4, dotted name, bold italic") << QString() << u"INV1.5.pdf"_s << u"bold='true' italic='true'"_s
                                                      << u"Styled"_s << u"595 x 842 pts (A4) NotoSans-BoldItalic"_s;
        QTest::newRow("Letter landscape, derived style")
            << u"page='Letter' orientation='landscape'"_s << u"INV1002.pdf"_s << u"style='sub'"_s << u"Styled"_s
            << u"792 x 612 pts (letter) NotoSerif-BoldItalic"_s;
        QTest::newRow("no ligatures, accents, Greek, Cyrillic, symbols")
            << QString() << u"a.pdf"_s << QString()
            << u"five fluffy offices Ünïcödé café Øresund Ελληνικά Счёт-фактура € £ ¥ № – ₹ ₺ ⅓"_s
            << u"595 x 842 pts (A4) NotoSans-Regular"_s;
        QTest::newRow("Chinese and Japanese")
            << QString() << u"a.pdf"_s << QString() << u"发票金额 請求書"_s << QString();
        QTest::newRow("Hebrew and Arabic")
            << QString() << u"a.pdf"_s << QString() << u"חשבונית מס فاتورة"_s << QString();
        QTest::newRow("missing folder") << QString() << u"no/such/folder/INV1.pdf"_s << QString() << QString()
                                        << u"does not exist"_s;
        QTest::newRow("folder is a file")
            << QString() << u"t.rep/INV1.pdf"_s << QString() << QString() << u"t.rep is a file, not a folder"_s;
        QTest::newRow("output is a folder") << QString() << u"."_s << QString() << QString() << u"Cannot write"_s;
    }

    void document()
    {
        QFETCH(QString, root);
        QFETCH(QString, output);
        QFETCH(QString, attributes);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        ReportFixture f;
        QString message;
        const QString pdf = f.render(u"<style name='heading' font='Noto Serif' bold='true' size='14'/>"
                                     "<style name='sub' base='heading' italic='true'/>"
                                     "<text x='20' y='20' width='150' height='20' %1>{PTEXT}</text>"_s.arg(attributes),
                                     {{u"PTEXT"_s, text}}, root, &message, output);
        if (text.isEmpty()) {
            QVERIFY2(pdf.isEmpty() && message.contains(expected), qPrintable(message));
            QVERIFY2(message.contains(QDir::toNativeSeparators(f.path(output))), qPrintable(message));
            return;
        }
        QVERIFY2(!pdf.isEmpty(), qPrintable(message));
        QCOMPARE(pdfprobe::info(pdf, u"Title"_s), output.chopped(4));
        QCOMPARE(pdfprobe::info(pdf, u"Creator"_s), u"Quillbook"_s);
        QCOMPARE(pdfprobe::info(pdf, u"Pages"_s), u"1"_s);
        // Arabic comes back as contextual forms, which normalise to the letters, as ligature
        // signs would: those are looked for first. Blanks are poppler's guesses: compared away.
        const QString raw = pdfprobe::text(pdf);
        QVERIFY2(!raw.contains(QRegularExpression(u"[\\x{FB00}-\\x{FB06}]"_s)), qPrintable(raw));
        const auto comparable = [](const QString &s) {
            QString result = s.normalized(QString::NormalizationForm_KC);
            result.remove(QChar(0x202B)).remove(QChar(0x202C)); // bidi embedding marks
            return result.removeIf([](QChar c) { return c.isSpace(); });
        };
        QVERIFY2(comparable(raw).contains(comparable(text)), qPrintable(raw));
        // pdffonts: name, type (one or more columns), encoding, embedded, subset, unicode, object, generation.
        const QList<QStringList> fonts = pdfprobe::rows(u"pdffonts"_s, {pdf});
        QVERIFY(!fonts.isEmpty());
        for (const QStringList &row : fonts)
            QVERIFY2(row.value(row.size() - 5) == u"yes"_s, qPrintable(row.join(u' ')));
        if (!expected.isEmpty()) {
            const QString found = pdfprobe::info(pdf, u"Page size"_s) + u' ' + fonts[0][0];
            QVERIFY2(fonts.size() == 1 && found == expected, qPrintable(found));
        }
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
    }
};

QTEST_MAIN(ReportRenderingTest)
#include "tst_reportrendering.moc"
