// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Every kind of template error, each reported with its line and column, all
// of them in one description.

#include "reportfixture.h"

#include "report/templateparser.h"

class TemplateParserTest : public QObject
{
    Q_OBJECT

private slots:
    void problems_data();
    void problems();
    void validTemplateChecksClean();
    void limits_data();
    void limits();
};

static const QString kHead = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"_s;

void TemplateParserTest::problems_data()
{
    QTest::addColumn<QString>("source");
    // Each "line:column: part of the message", in the order they are reported.
    QTest::addColumn<QStringList>("expected");

    const QString open = kHead + u"<report version=\"1\">\n"_s;
    const QString close = u"</report>\n"_s;

    QTest::newRow("not well formed")
        << open + u"<text x=\"1\" y=\"1\" width=\"9\" height=\"9\">a\n</report>\n"_s
        << QStringList{u"4:10: not well-formed XML"_s};
    QTest::newRow("unknown element")
        << open + u"  <txt x=\"1\"/>\n"_s + close
        << QStringList{u"3:3: unknown element <txt>; did you mean <text>?"_s};
    QTest::newRow("unknown attribute")
        << open + u"  <line x1=\"1\" y1=\"1\" x2=\"2\" y2=\"2\" colour=\"#000000\"/>\n"_s + close
        << QStringList{u"3:37: unknown attribute 'colour' on <line>; did you mean 'color'?"_s};
    QTest::newRow("missing attribute")
        << open + u"  <line x1=\"1\" y1=\"1\" x2=\"5\"/>\n"_s + close
        << QStringList{u"3:3: <line> needs the attribute 'y2'"_s};
    QTest::newRow("bad numbers")
        << open + u"<rect x=\"1e3\" y=\"ten\" width=\"-4\" height=\"99999\"/>\n"_s + close
        << QStringList{u"3:7: '1e3' is not a length"_s, u"3:15: 'ten' is not a length"_s,
                       u"3:23: the length '-4' for 'width' is out of range"_s,
                       u"3:34: the length '99999' for 'height' is out of range"_s};
    QTest::newRow("units accepted, unknown unit refused")
        << open + u"<rect x=\"1cm\" y=\"10pt\" width=\"1in\" height=\"2 px\"/>\n"_s + close
        << QStringList{u"3:36: '2 px' is not a length"_s};
    QTest::newRow("bad colours")
        << open + u"<rect x=\"1\" y=\"1\" width=\"2\" height=\"2\" fill=\"red\" stroke=\"#12345\"/>\n"_s
               + u"<text x=\"1\" y=\"1\" width=\"2\" height=\"2\" color=\"none\">a</text>\n"_s + close
        << QStringList{u"3:40: 'red' is not a colour; write #RRGGBB or none"_s,
                       u"3:51: '#12345' is not a colour"_s,
                       u"4:40: 'none' is not a colour; write #RRGGBB"_s};
    QTest::newRow("bad choices and sizes")
        << open + u"<text x=\"1\" y=\"1\" width=\"2\" height=\"2\" align=\"middle\" size=\"0.5\" overflow=\"wrap\">a</text>\n"_s + close
        << QStringList{u"3:40: 'middle' is not a value for 'align'; write one of: left, center, right"_s,
                       u"3:55: '0.5' is not a font size"_s,
                       u"3:66: 'wrap' is not a value for 'overflow'"_s};
    QTest::newRow("unknown placeholder")
        << open + u"<text x=\"1\" y=\"1\" width=\"2\" height=\"2\">Dear {PNAEM},</text>\n"_s + close
        << QStringList{u"3:45: unknown parameter PNAEM; did you mean PNAME?"_s};
    QTest::newRow("placeholder beyond the rows set")
        << open + u"<repeat count=\"4\" pitch=\"5\">\n  <text x=\"1\" y=\"1\" width=\"2\" height=\"2\">{PQTY#}</text>\n</repeat>\n"_s + close
        << QStringList{u"4:42: unknown parameter PQTY4 (from PQTY# in row 4)"_s};
    QTest::newRow("row number outside a repeat")
        << open + u"<text x=\"1\" y=\"1\" width=\"2\" height=\"2\">{#} {PQTY#}</text>\n"_s + close
        << QStringList{u"3:40: {#} stands for the row number"_s,
                       u"3:44: 'PQTY#': '#' stands for the row number"_s};
    QTest::newRow("bad placeholders")
        << open + u"<text x=\"1\" y=\"1\" width=\"2\" height=\"2\">{P NAME} {PNAME</text>\n"_s + close
        << QStringList{u"3:40: '{P NAME}' is not a parameter name"_s,
                       u"3:49: '{' without its closing '}'"_s};
    QTest::newRow("condition names")
        << open + u"<if nonzero=\"PQTY1 PQTYY2\"/>\n<if filled=\"PNAME\" empty=\"PNAME\"/>\n"_s + close
        << QStringList{u"3:5: unknown parameter PQTYY2; did you mean PQTY2?"_s,
                       u"4:1: <if> needs exactly one of the attributes"_s};
    QTest::newRow("styles")
        << open + u"<style name=\"a\" size=\"12\"/>\n<style name=\"a\"/>\n<style name=\"b\" base=\"c\"/>\n"_s
               + u"<text x=\"1\" y=\"1\" width=\"2\" height=\"2\" style=\"aa\">x</text>\n"_s
               + u"<if filled=\"PNAME\"><style name=\"d\"/></if>\n"_s + close
        << QStringList{u"4:8: the style 'a' is defined twice"_s, u"5:17: unknown style 'c'"_s,
                       u"6:40: unknown style 'aa'; did you mean 'a'?"_s,
                       u"7:20: <style> must stand directly inside <report>"_s};
    QTest::newRow("misplaced content")
        << open + u"stray words\n<rect x=\"1\" y=\"1\" width=\"2\" height=\"2\">inside</rect>\n"_s
               + u"<text x=\"1\" y=\"1\" width=\"2\" height=\"2\">a<b>bold</b></text>\n"_s + close
        << QStringList{u"3:1: text must stand inside a <text> element"_s,
                       u"4:40: <rect> holds no text"_s,
                       u"5:41: <b> cannot stand inside <text>"_s};
    QTest::newRow("nesting rules")
        << open + u"<repeat count=\"2\" pitch=\"5\"><repeat count=\"2\" pitch=\"1\"/></repeat>\n"_s
               + u"<band height=\"3\"/>\n<stack><rect x=\"1\" y=\"1\" width=\"2\" height=\"2\"/></stack>\n"_s + close
        << QStringList{u"3:29: a <repeat> cannot hold another <repeat>"_s,
                       u"4:1: <band> must stand directly inside <stack>"_s,
                       u"5:8: only <band> elements can stand inside <stack>"_s};
    QTest::newRow("repeat count")
        << open + u"<repeat count=\"0\" pitch=\"5\"/>\n<repeat count=\"many\"/>\n"_s + close
        << QStringList{u"3:9: '0' is not a row count"_s, u"4:1: <repeat> needs the attribute 'pitch'"_s,
                       u"4:9: 'many' is not a row count"_s};
    QTest::newRow("unsupported version")
        << kHead + u"<report version=\"2\">\n<newthing/>\n</report>\n"_s
        << QStringList{u"2:9: unsupported template version '2'"_s};
    QTest::newRow("missing version")
        << kHead + u"<report page=\"A4\"/>\n"_s
        << QStringList{u"2:1: <report> needs the attribute version=\"1\""_s};
    QTest::newRow("wrong root")
        << kHead + u"<html version=\"1\"/>\n"_s
        << QStringList{u"2:1: the outermost element must be <report>"_s};
    QTest::newRow("DTD refused")
        << kHead + u"<!DOCTYPE report [ <!ENTITY co \"Acme\"> ]>\n<report version=\"1\">&co;</report>\n"_s
        << QStringList{u"2:1: document type declarations (DTD) are not allowed"_s};
    QTest::newRow("undeclared entity")
        << open + u"<text x=\"1\" y=\"1\" width=\"2\" height=\"2\">&nbsp;</text>\n"_s + close
        << QStringList{u"3:46: not well-formed XML: Entity 'nbsp' not declared."_s};
    QTest::newRow("other encoding")
        << u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<report version=\"1\"/>\n"_s
        << QStringList{u"the encoding 'ISO-8859-1' is not supported"_s};
    QTest::newRow("empty file") << QString() << QStringList{u"1:1: not well-formed XML"_s};
    QTest::newRow("problems after a broken element still found")
        << open + u"<txt/>\n<rect x=\"a\" y=\"1\" width=\"2\" height=\"2\"/>\n<text x=\"1\" y=\"1\" width=\"2\" height=\"2\">{PLOGOO}</text>\n"_s + close
        << QStringList{u"3:1: unknown element <txt>"_s, u"4:7: 'a' is not a length"_s,
                       u"5:40: unknown parameter PLOGOO; did you mean PLOGO?"_s};
}

void TemplateParserTest::problems()
{
    QFETCH(QString, source);
    QFETCH(QStringList, expected);
    ReportFixture f;
    const QString file = f.write(u"t.rep"_s, source.toUtf8());
    f.engine.TemplatePath(file);
    for (const QString &name : {u"PNAME"_s, u"PQTY1"_s, u"PQTY2"_s, u"PQTY3"_s, u"PLOGO"_s})
        f.engine.SetParameter(name, u"x"_s);
    QVERIFY(!f.engine.check());
    QVERIFY(!f.engine.ExportPdf(f.path(u"t.pdf"_s)));
    QVERIFY(!QFile::exists(f.path(u"t.pdf"_s)));

    const QStringList lines = f.engine.errorString().split(u'\n');
    QCOMPARE(lines.size(), expected.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QVERIFY2(lines[i].startsWith(file + u':'), qPrintable(lines[i]));
        const QString rest = lines[i].mid(file.size() + 1);
        const bool positioned = expected[i].front().isDigit();
        QVERIFY2(positioned ? rest.startsWith(expected[i]) : rest.contains(expected[i]),
                 qPrintable(u"got: "_s + rest + u"\nwanted: "_s + expected[i]));
    }
}

void TemplateParserTest::validTemplateChecksClean()
{
    ReportFixture f;
    f.engine.TemplatePath(f.write(u"ok.rep"_s, ReportFixture::wrap(
        u"<style name='s' size='9pt'/>\n"
        "<!-- comments are fine -->\n"
        "<text x='1cm' y='0.5in' width='20' height='12pt' style='s'>{PNAME} {{literal}}<br/>{PQTY1}</text>\n"
        "<repeat count='3' pitch='5'><if filled='PQTY#'><text x='1' y='1' width='9' height='5'>{#} {PQTY#}</text></if></repeat>\n"
        "<stack><band height='5' nonzero='PQTY2'><line x1='1' y1='1' x2='9' y2='1'/></band></stack>\n"_s)));
    for (const QString &name : {u"PNAME"_s, u"PQTY1"_s, u"PQTY2"_s, u"PQTY3"_s})
        f.engine.SetParameter(name, {});
    QVERIFY2(f.engine.check(), qPrintable(f.engine.errorString()));
    QVERIFY(f.engine.errorString().isEmpty());

    f.engine.TemplatePath(f.path(u"absent.rep"_s));
    QVERIFY(!f.engine.check());
    QVERIFY(f.engine.errorString().contains(u"does not exist"_s));
}

void TemplateParserTest::limits_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("message");

    QByteArray deep = "<report version=\"1\">";
    for (int i = 0; i < 40; ++i)
        deep += "<if filled=\"A\">";
    for (int i = 0; i < 40; ++i)
        deep += "</if>";
    deep += "</report>";
    QTest::newRow("deep nesting") << deep << u"nested more than 32 levels"_s;

    QByteArray many = "<report version=\"1\">";
    for (int i = 0; i < 5001; ++i)
        many += "<line x1=\"1\" y1=\"1\" x2=\"2\" y2=\"2\"/>";
    many += "</report>";
    QTest::newRow("too many elements") << many << u"more than 5000 elements"_s;

    QByteArray rows = "<report version=\"1\"><repeat count=\"200\" pitch=\"1\">";
    for (int i = 0; i < 30; ++i)
        rows += "<line x1=\"1\" y1=\"1\" x2=\"2\" y2=\"2\"/>";
    rows += "</repeat></report>";
    QTest::newRow("too many rows unrolled") << rows << u"more than 5000 elements"_s;

    QTest::newRow("too large")
        << QByteArray("<report version=\"1\"><!--") + QByteArray(1100 * 1024, 'x') + "--></report>"
        << u"larger than 1024 KiB"_s;
    QTest::newRow("not UTF-8") << QByteArray("<report version=\"1\">\xff\xfe</report>")
                               << u"not UTF-8"_s;
}

void TemplateParserTest::limits()
{
    QFETCH(QByteArray, source);
    QFETCH(QString, message);
    report::TemplateParser parser(u"t.rep"_s);
    QVERIFY(!parser.parse(source).has_value());
    QVERIFY(!parser.problems().isEmpty());
    QVERIFY2(parser.problems().join(u'\n').contains(message), qPrintable(parser.problems().join(u'\n')));
}

QTEST_MAIN(TemplateParserTest)
#include "tst_templateparser.moc"
