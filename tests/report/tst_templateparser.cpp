// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Every kind of template problem, each reported with its line and column, all
// of them in one description, within bounded memory however hostile the
// template; a valid one, however extreme, is written.

#include "reportfixture.h"

#include <QDir>

#include <sys/resource.h>

namespace {

// What took more than 200 MB in this process's life so far, empty when
// nothing did; not judged under sanitizers, which reserve memory of their own.
QString memoryExcess()
{
#if defined(__SANITIZE_ADDRESS__)
    return {};
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0 > 200 ? u"took %1 MB"_s.arg(usage.ru_maxrss / 1024.0) : QString();
#endif
}

// A template of version 1 whose <report> holds `body`.
QByteArray templateOf(const QByteArray &body, const QByteArray &attributes = {})
{
    return "<?xml version=\"1.0\"?>\n<report version='1'" + attributes + ">" + body + "</report>";
}

} // namespace

class TemplateParserTest : public QObject
{
    Q_OBJECT

private slots:
    void problems_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QStringList>("expected"); // each problem in the order reported; none: a PDF is written
        const QString head = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"_s;
        const auto file = [](const char *name, const QByteArray &source, const QStringList &expected) {
            QTest::newRow(name) << source << expected;
        };
        const auto body = [&](const char *name, const QString &lines, const QStringList &expected) {
            file(name, (head + u"<report version='1'>\n"_s + lines + u"\n</report>\n"_s).toUtf8(), expected);
        };
        body("not well formed", u"<text x='1' y='1' width='9' height='9'>a"_s, {u"4:9: not well-formed XML"_s});
        body("unknown and missing names", uR"(  <txt x='1'/>
  <line x1="1" y1="1" x2="2" y2="2" colour="#000000"/>
  <line x1='1' y1='1' x2='5'/>)"_s,
             {u"3:3: unknown element <txt>; did you mean <text>?"_s,
              u"4:37: unknown attribute 'colour' on <line>; did you mean 'color'?"_s,
              u"5:3: <line> needs the attribute 'y2'"_s});
        body("bad numbers", uR"(<rect x="1e3" y="2 px" width="-4" height="99999"/>)"_s,
             {u"3:7: '1e3' is not a length"_s, u"3:15: '2 px' is not a length"_s,
              u"3:24: the length '-4' for 'width' is out of range"_s,
              u"3:35: the length '99999' for 'height' is out of range (0 to 320 mm)"_s});
        body("bad colours", uR"(<rect x="1" y="1" width="2" height="2" fill="red" stroke="#12345"/>
<text x="1" y="1" width="2" height="2" color="none">a</text>
<line x1="1" y1="1" x2="2" y2="2" color="#12345G"/>)"_s,
             {u"3:40: 'red' is not a colour; write #RRGGBB or none"_s, u"3:51: '#12345' is not a colour"_s,
              u"4:40: 'none' is not a colour; write #RRGGBB"_s, u"5:35: '#12345G' is not a colour"_s});
        body("bad choices and sizes",
             uR"(<text x="1" y="1" width="2" height="2" align="middle" size="0.5" overflow="wrap">a</text>)"_s,
             {u"3:40: 'middle' is not a value for 'align'; write one of: left, center, right"_s,
              u"3:55: '0.5' is not a font size"_s, u"3:66: 'wrap' is not a value for 'overflow'"_s});
        body("fonts that do not travel with the program",
             u"<text x='1' y='1' width='2' height='2' font='Comic Sans MS'>a</text>"_s,
             {u"3:40: the font family 'Comic Sans MS' is not one of the fonts that travel with Quillbook (Noto Sans, "
              "Noto Serif), so the PDF would differ between machines; did you mean 'Noto Sans'?"_s});
        body("placeholder beyond the rows set",
             u"<repeat count='4' pitch='5'>\n  <text x='1' y='1' width='2' height='2'>{PQTY#}</text>\n</repeat>"_s,
             {u"4:42: unknown parameter PQTY4 (from PQTY# in row 4)"_s});
        body("bad placeholders",
             u"<text x='1' y='1' width='2' height='2'>Dear {PNAEM},</text>\n"
             "<text x='1' y='1' width='2' height='2'>{#} {PQTY#}</text>\n"
             "<text x='1' y='1' width='2' height='2'>{P NAME} {PNAME</text>"_s,
             {u"3:45: unknown parameter PNAEM; did you mean PNAME?"_s, u"4:40: {#} stands for the row number"_s,
              u"4:44: 'PQTY#': '#' stands for the row number"_s, u"5:40: '{P NAME}' is not a parameter name"_s,
              u"5:49: '{' without its closing '}'"_s});
        body("condition names", u"<if nonzero='PQTY1 PQTYY2'/>\n<if filled='PNAME' empty='PNAME'/>"_s,
             {u"3:5: unknown parameter PQTYY2; did you mean PQTY2?"_s,
              u"4:1: <if> needs exactly one of the attributes"_s});
        body("styles",
             u"<style name='a' size='12'/>\n<style name='a'/>\n<style name='b' base='c'/>\n"
             "<text x='1' y='1' width='2' height='2' style='aa'>x</text>\n"
             "<if filled='PNAME'><style name='d'/></if>"_s,
             {u"4:8: the style 'a' is defined twice"_s, u"5:17: unknown style 'c'"_s,
              u"6:40: unknown style 'aa'; did you mean 'a'?"_s,
              u"7:20: <style> must stand directly inside <report>"_s});
        body("misplaced content",
             u"stray words\n<rect x='1' y='1' width='2' height='2'>inside</rect>\n"
             "<text x='1' y='1' width='2' height='2'>a<b>bold</b></text>\n"
             "<repeat count='2' pitch='5'><repeat count='2' pitch='1'/></repeat>\n"
             "<band height='3'/>\n<stack><rect x='1' y='1' width='2' height='2'/></stack>"_s,
             {u"3:1: text must stand inside a <text> element"_s, u"4:40: <rect> holds no text"_s,
              u"5:41: <b> cannot stand inside <text>"_s, u"6:29: a <repeat> cannot hold another <repeat>"_s,
              u"7:1: <band> must stand directly inside <stack>"_s,
              u"8:8: only <band> elements can stand inside <stack>"_s});
        body("repeat count",
             u"<repeat count='0' pitch='5'/>\n<repeat count='many'/>\n<repeat count='2147483648' pitch='1'/>"_s,
             {u"3:9: '0' is not a row count"_s, u"4:1: <repeat> needs the attribute 'pitch'"_s,
              u"4:9: 'many' is not a row count"_s, u"5:9: '2147483648' is not a row count"_s});
        // Lines may end in CR alone; columns count characters, not UTF-16 units.
        file("CR and emoji",
             (head + u"<report version='1'>\r<!--😀 €--><txt/>\r<line x1='1' y1='1' x2='1'/>\r</report>\r"_s).toUtf8(),
             {u"3:11: unknown element <txt>"_s, u"4:1: <line> needs the attribute 'y2'"_s});
        file("unsupported version", (head + u"<report version='2'>\n<newthing/>\n</report>\n"_s).toUtf8(),
             {u"2:9: unsupported template version '2'"_s});
        file("missing version", (head + u"<report page='A4'/>\n"_s).toUtf8(),
             {u"2:1: <report> needs the attribute version=\"1\""_s});
        file("wrong root", (head + u"<html version='1'/>\n"_s).toUtf8(),
             {u"2:1: the outermost element must be <report>"_s});
        file("other encoding", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<report version=\"1\"/>\n",
             {u"the encoding 'ISO-8859-1' is not supported"_s});
        file("empty file", QByteArray(), {u"1:1: not well-formed XML"_s});

        // Broken, hostile and oversized: a clear error, never a crash, a hang or an exhausted machine.
        const auto hostile = [&](const char *name, const QByteArray &source, QStringView message) {
            file(name, source, message.isEmpty() ? QStringList() : QStringList{message.toString()});
        };
        hostile("deep nesting, never closed", "<report version='1'>" + QByteArray("<if filled='P'>").repeated(20000),
                u"nested more than");
        hostile("too many rows unrolled",
                templateOf("<repeat count='200' pitch='1'>"
                           + QByteArray("<line x1='1' y1='1' x2='2' y2='2'/>").repeated(30) + "</repeat>"),
                u"more than 5000 elements");
        hostile("too large", templateOf("<!--" + QByteArray(1100 * 1024, 'x') + "-->"), u"larger than 1024 KiB");
        hostile("huge attribute", templateOf({}, " font='" + QByteArray(500000, 'A') + "'"),
                u"a font family name needs 1 to 100 characters");
        QByteArray attributes;
        for (int i = 0; attributes.size() < 1000 * 1024; ++i)
            attributes += " a" + QByteArray::number(i) + "=''";
        hostile("a hundred thousand attributes in one tag", templateOf("<text" + attributes + "/>"),
                u"an element has more than 32 attributes");
        hostile("a hundred thousand problems", templateOf(QByteArray("<txt/>").repeated(100000)),
                u"and 99950 more problems");
        hostile("a condition of many names", templateOf("<if filled='" + QByteArray("P ").repeated(60) + "'/>"),
                u"'filled' lists more than 50 names");
        const QByteArray boxes = "<repeat count='200' pitch='1'>"
            + QByteArray("<text x='1' y='1' width='190' height='280' overflow='shrink'>{P}</text>").repeated(24)
            + "</repeat>";
        hostile("4,800 shrinking boxes of 10,000 characters", templateOf(boxes), u"more than 100000 characters");
        hostile("billion laughs",
                "<!DOCTYPE r [<!ENTITY a 'aaaaaaaaaa'><!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'>"
                "<!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;'><!ENTITY d '&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;'>]>"
                "<report version='1'><text x='1' y='1' width='9' height='9'>&d;&d;&d;</text></report>",
                u"(DTD) are not allowed");
        // Braces without their partners cost one pass over the template, however many there are.
        hostile("a megabyte of unclosed braces",
                templateOf("<text x='1' y='1' width='90' height='9'>" + QByteArray("{a").repeated(500000) + "</text>"),
                u"'{' without its closing '}'");
        hostile("binary garbage", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xff", 18), u"not UTF-8");
        // Within every limit: written quickly, the page's numbers within ±32767 (checked on every PDF).
        hostile("largest lengths, far-off rows, endless lines",
                templateOf(
                    "<text x='1' y='1' width='5' height='2' overflow='shrink' min-size='1'>" + QByteArray(200000, 'W')
                    + "</text>"
                      "<text x='-400' y='400' width='0' height='0'>a</text>"
                      "<rect x='-300' y='-300' width='320' height='320' fill='#000000' stroke='#ff0000' "
                      "thickness='10' radius='320'/>"
                      "<line x1='-400' y1='-400' x2='400' y2='400' thickness='10' pattern='dash'/>"
                      "<repeat count='200' pitch='400'><line x1='-400' y1='-400' x2='400' y2='399' pattern='dot'/>"
                      "<rect x='0' y='0' width='320' height='320' fill='#00ff00'/></repeat>"
                      "<text x='0' y='100' width='200' height='10' wrap='false'>"
                    + QByteArray(6000, 'W')
                    + "</text>"
                      "<text x='-300' y='150' width='320' height='320' size='1'>{P}</text>"),
                u"");
    }

    void problems()
    {
        QFETCH(QByteArray, source);
        QFETCH(QStringList, expected);
        ReportFixture f;
        // A folder of the name is taken as it is, never as a pattern: "%2" stays "%2".
        QVERIFY(QDir(f.dir.path()).mkdir(u"x%2y"_s));
        const QString file = f.write(u"x%2y/t.rep"_s, source);
        Parameters parameters{{u"P"_s, u"word "_s.repeated(2000)}};
        for (const QString &name : {u"PNAME"_s, u"PQTY1"_s, u"PQTY2"_s, u"PQTY3"_s, u"PLOGO"_s})
            parameters.insert(name, u"x"_s);
        QString error;
        const QString pdf = f.exportPdf(file, parameters, u"t.pdf"_s, &error);
        QVERIFY2(memoryExcess().isEmpty(), qPrintable(memoryExcess()));
        if (expected.isEmpty()) {
            QVERIFY2(!pdf.isEmpty(), qPrintable(error));
            QCOMPARE(pdfprobe::info(pdf, u"Pages"_s), u"1"_s);
            return;
        }
        QVERIFY(pdf.isEmpty() && !QFile::exists(f.path(u"t.pdf"_s)));
        // Each line names the file, then "line:column: message"; a problem
        // without a position is looked for anywhere. Fifty at most, then a summary.
        const QStringList lines = error.split(u'\n');
        QVERIFY2(lines.size() <= 51, qPrintable(error.left(2000)));
        const bool positioned
            = std::all_of(expected.begin(), expected.end(), [](const QString &e) { return e.front().isDigit(); });
        QCOMPARE(positioned ? lines.size() : expected.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QVERIFY2(positioned ? lines[i].startsWith(file + u':' + expected[i]) : error.contains(expected[i]),
                     qPrintable(u"got: "_s + error.left(2000) + u"\nwanted: "_s + expected[i]));
        }
    }
};

QTEST_MAIN(TemplateParserTest)
#include "tst_templateparser.moc"
