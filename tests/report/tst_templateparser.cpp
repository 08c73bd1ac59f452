// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Every kind of template error, each reported with its line and column, all
// of them in one description.

#include "reportfixture.h"

#include <QDir>

class TemplateParserTest : public QObject
{
    Q_OBJECT

private slots:
    void problems_data()
    {
        QTest::addColumn<QString>("source");
        // "line:column: start of the message" (or, without a position, part of
        // it) for each problem in the order reported
        QTest::addColumn<QStringList>("expected");
        const QString head = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"_s;
        const auto file = [](const char *name, const QString &source, const QStringList &expected) {
            QTest::newRow(name) << source << expected;
        };
        const auto body = [&](const char *name, const QString &lines, const QStringList &expected) {
            file(name, head + u"<report version='1'>\n"_s + lines + u"\n</report>\n"_s, expected);
        };
        body("not well formed", u"<text x='1' y='1' width='9' height='9'>a"_s, {u"4:9: not well-formed XML"_s});
        body("unknown element", u"  <txt x='1'/>"_s, {u"3:3: unknown element <txt>; did you mean <text>?"_s});
        body("unknown attribute", uR"(  <line x1="1" y1="1" x2="2" y2="2" colour="#000000"/>)"_s,
             {u"3:37: unknown attribute 'colour' on <line>; did you mean 'color'?"_s});
        body("missing attribute", u"  <line x1='1' y1='1' x2='5'/>"_s, {u"3:3: <line> needs the attribute 'y2'"_s});
        body("bad numbers", uR"(<rect x="1e3" y="ten" width="-4" height="99999"/>)"_s,
             {u"3:7: '1e3' is not a length"_s, u"3:15: 'ten' is not a length"_s,
              u"3:23: the length '-4' for 'width' is out of range"_s,
              u"3:34: the length '99999' for 'height' is out of range"_s});
        body("units accepted, unknown unit refused", u"<rect x='1cm' y='10pt' width='1in' height='2 px'/>"_s,
             {u"3:36: '2 px' is not a length"_s});
        body("bad colours",
             uR"(<rect x="1" y="1" width="2" height="2" fill="red" stroke="#12345"/>
<text x="1" y="1" width="2" height="2" color="none">a</text>)"_s,
             {u"3:40: 'red' is not a colour; write #RRGGBB or none"_s, u"3:51: '#12345' is not a colour"_s,
              u"4:40: 'none' is not a colour; write #RRGGBB"_s});
        body("bad choices and sizes",
             uR"(<text x="1" y="1" width="2" height="2" align="middle" size="0.5" overflow="wrap">a</text>)"_s,
             {u"3:40: 'middle' is not a value for 'align'; write one of: left, center, right"_s,
              u"3:55: '0.5' is not a font size"_s, u"3:66: 'wrap' is not a value for 'overflow'"_s});
        body("fonts that do not travel with the program",
             u"<text x='1' y='1' width='2' height='2' font='Comic Sans MS'>a</text>\n<style name='s' font='Times New Roman'/>"_s,
             {u"3:40: the font family 'Comic Sans MS' is not one of the fonts that travel with Quillbook (Noto Sans, "
               "Noto Serif), so the PDF would differ between machines; did you mean 'Noto Sans'?"_s,
              u"4:17: the font family 'Times New Roman' is not one of the fonts"_s});
        body("unknown placeholder", u"<text x='1' y='1' width='2' height='2'>Dear {PNAEM},</text>"_s,
             {u"3:45: unknown parameter PNAEM; did you mean PNAME?"_s});
        body("placeholder beyond the rows set",
             u"<repeat count='4' pitch='5'>\n  <text x='1' y='1' width='2' height='2'>{PQTY#}</text>\n</repeat>"_s,
             {u"4:42: unknown parameter PQTY4 (from PQTY# in row 4)"_s});
        body("row number outside a repeat", u"<text x='1' y='1' width='2' height='2'>{#} {PQTY#}</text>"_s,
             {u"3:40: {#} stands for the row number"_s, u"3:44: 'PQTY#': '#' stands for the row number"_s});
        body("bad placeholders", u"<text x='1' y='1' width='2' height='2'>{P NAME} {PNAME</text>"_s,
             {u"3:40: '{P NAME}' is not a parameter name"_s, u"3:49: '{' without its closing '}'"_s});
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
             "<text x='1' y='1' width='2' height='2'>a<b>bold</b></text>"_s,
             {u"3:1: text must stand inside a <text> element"_s, u"4:40: <rect> holds no text"_s,
              u"5:41: <b> cannot stand inside <text>"_s});
        body("nesting rules",
             u"<repeat count='2' pitch='5'><repeat count='2' pitch='1'/></repeat>\n"
             "<band height='3'/>\n<stack><rect x='1' y='1' width='2' height='2'/></stack>"_s,
             {u"3:29: a <repeat> cannot hold another <repeat>"_s, u"4:1: <band> must stand directly inside <stack>"_s,
              u"5:8: only <band> elements can stand inside <stack>"_s});
        body("repeat count", u"<repeat count='0' pitch='5'/>\n<repeat count='many'/>"_s,
             {u"3:9: '0' is not a row count"_s, u"4:1: <repeat> needs the attribute 'pitch'"_s,
              u"4:9: 'many' is not a row count"_s});
        body("undeclared entity", u"<text x='1' y='1' width='2' height='2'>&nbsp;</text>"_s,
             {u"3:45: not well-formed XML: Entity 'nbsp' not declared."_s});
        body("problems after a broken element still found",
             u"<txt/>\n<rect x='a' y='1' width='2' height='2'/>\n"
             "<text x='1' y='1' width='2' height='2'>{PLOGOO}</text>"_s,
             {u"3:1: unknown element <txt>"_s, u"4:7: 'a' is not a length"_s,
              u"5:40: unknown parameter PLOGOO; did you mean PLOGO?"_s});
        file("lines ending in CR alone", head + u"<report version='1'>\r  <txt/>\r<line x1='1' y1='1' x2='1'/>\r</report>\r"_s,
             {u"3:3: unknown element <txt>"_s, u"4:1: <line> needs the attribute 'y2'"_s});
        body("columns count characters, not UTF-16 units", u"<!--😀 €--><txt/>"_s,
             {u"3:11: unknown element <txt>"_s});
        file("unsupported version", head + u"<report version='2'>\n<newthing/>\n</report>\n"_s,
             {u"2:9: unsupported template version '2'"_s});
        file("missing version", head + u"<report page='A4'/>\n"_s,
             {u"2:1: <report> needs the attribute version=\"1\""_s});
        file("wrong root", head + u"<html version='1'/>\n"_s, {u"2:1: the outermost element must be <report>"_s});
        file("DTD refused", head + u"<!DOCTYPE report [ <!ENTITY co 'Acme'> ]>\n<report version='1'>&co;</report>\n"_s,
             {u"2:1: document type declarations (DTD) are not allowed"_s});
        file("other encoding", u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<report version=\"1\"/>\n"_s,
             {u"the encoding 'ISO-8859-1' is not supported"_s});
        file("empty file", QString(), {u"1:1: not well-formed XML"_s});
    }

    void problems()
    {
        QFETCH(QString, source);
        QFETCH(QStringList, expected);
        ReportFixture f;
        // A folder of the name is taken as it is, never as a pattern: "%2" stays "%2".
        QVERIFY(QDir(f.dir.path()).mkdir(u"x%2y"_s));
        const QString file = f.write(u"x%2y/t.rep"_s, source.toUtf8());
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

    void validTemplateChecksClean()
    {
        ReportFixture f;
        f.engine.TemplatePath(f.write(u"ok.rep"_s, ReportFixture::wrap(
            u"<style name='s' size='9pt'/>\n<!-- comments are fine -->\n"
            "<text x='1cm' y='0.5in' width='20' height='12pt' style='s'>{PNAME} {{literal}}<br/>{PQTY1}</text>\n"
            "<repeat count='3' pitch='5'><if filled='PQTY#'>"
            "<text x='1' y='1' width='9' height='5'>{#} {PQTY#}</text></if></repeat>\n"
            "<stack><band height='5' nonzero='PQTY2'><line x1='1' y1='1' x2='9' y2='1'/></band></stack>\n"_s)));
        for (const QString &name : {u"PNAME"_s, u"PQTY1"_s, u"PQTY2"_s, u"PQTY3"_s})
            f.engine.SetParameter(name, {});
        QVERIFY2(f.engine.check(), qPrintable(f.engine.errorString()));
        QVERIFY(f.engine.errorString().isEmpty());

        f.engine.TemplatePath(f.path(u"absent.rep"_s));
        QVERIFY(!f.engine.check());
        QVERIFY(f.engine.errorString().contains(u"does not exist"_s));
    }
};

QTEST_MAIN(TemplateParserTest)
#include "tst_templateparser.moc"
