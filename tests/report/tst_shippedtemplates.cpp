// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Every template we ship, filled with the 85 parameters the program sends.

#include "invoicepdf/invoiceparameters.h"
#include "reportfixture.h"
#include "report/pagerenderer.h"
#include "report/templateparser.h"

#include <QDir>

using invoicepdf::InvoiceAmountNames;
using invoicepdf::InvoiceParameterNames;

using pdfprobe::Word;

namespace {

void templates()
{
    QTest::addColumn<QString>("file");
    const QDir dir(QStringLiteral(QUILLBOOK_SOURCE_DIR "/templates"));
    const QStringList files = dir.entryList({u"*.rep"_s}, QDir::Files, QDir::Name);
    QVERIFY(files.contains(u"invferncask.rep"_s) && files.size() >= 3);
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << dir.filePath(file);
}

// Exports `file` with every parameter name set, to the value in `values` or empty.
QString exportInvoice(ReportFixture &f, const QString &file, const Parameters &values, const QString &output,
                      QString *error = nullptr)
{
    Parameters all;
    for (const QString &name : InvoiceParameterNames())
        all.insert(name, values.value(name));
    return f.exportPdf(file, all, output, error);
}

// `digits` digits grouped as an amount with two decimals: 98,765,432,109.87 for 13.
QString amountOf(int digits)
{
    QString number;
    for (int i = 0; i < digits; ++i)
        number += QChar(u'0' + (9 - i % 10));
    QString grouped = number.right(2).prepend(u'.');
    for (qsizetype end = digits - 2; end > 0; end -= 3)
        grouped.prepend(number.mid(std::max<qsizetype>(0, end - 3), std::min<qsizetype>(3, end))).prepend(u',');
    return grouped.mid(1);
}

bool holds(const std::vector<report::Condition> &conditions, const Parameters &values)
{
    return std::all_of(conditions.begin(), conditions.end(), [&](const report::Condition &c) {
        const bool any = std::any_of(c.names.begin(), c.names.end(), [&](const QString &name) {
            return c.kind == report::Condition::Kind::NonZero ? !report::PageRenderer::isBlankOrZero(values[name])
                                                               : !values[name].trimmed().isEmpty();
        });
        return c.kind == report::Condition::Kind::Empty ? !any : any;
    });
}

// What a text element shows, line breaks as blanks.
QString shown(const report::PieceList &pieces, const Parameters &values)
{
    QString text;
    for (const report::TextPiece &piece : pieces) {
        if (piece.condition && !holds({*piece.condition}, values))
            continue;
        const QString value = values.value(piece.text);
        text += piece.kind == report::TextPiece::Kind::Parameter
            ? (!piece.negated || !value.contains(QRegularExpression(u"^-?[0-9,]+\\.[0-9]+$"_s)) ? value
               : value.startsWith(u'-')                                                       ? value.mid(1)
                                                                                              : u'-' + value)
            : piece.kind == report::TextPiece::Kind::LineBreak  ? u" "_s
                                                                : piece.text;
    }
    return text.simplified();
}

std::optional<report::ReportTemplate> readTemplate(const QString &file)
{
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly))
        return std::nullopt;
    report::TemplateParser parser;
    return parser.parse(source.readAll());
}

// The text boxes shown with `values` that show one of the parameters `names`.
std::vector<const report::TextBox *> boxesShowing(const report::ReportTemplate &tpl, const Parameters &values,
                                                  const QStringList &names)
{
    std::vector<const report::TextBox *> boxes;
    for (const report::Element &element : tpl.elements) {
        const auto *text = std::get_if<report::TextBox>(&element.shape);
        if (text && holds(element.conditions, values)
            && std::any_of(text->content.begin(), text->content.end(), [&](const report::TextPiece &p) {
                   return p.kind == report::TextPiece::Kind::Parameter && names.contains(p.text);
               }))
            boxes.push_back(text);
    }
    return boxes;
}

// No two words on the page overlapping by more than a quarter of the smaller.
QString collision(const QList<Word> &words)
{
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (!QRectF(0, 0, 210, 297).contains(words[i].box))
            return words[i].text + u" leaves the page"_s;
        for (qsizetype j = i + 1; j < words.size(); ++j) {
            const QRectF a = words[i].box, b = words[j].box, overlap = a.intersected(b);
            const double smaller = std::min(a.width() * a.height(), b.width() * b.height());
            if (overlap.width() * overlap.height() >= 0.25 * smaller)
                return words[i].text + u" / "_s + words[j].text;
        }
    }
    return {};
}

// The benchmark's twelve-line invoice, its first `lines` lines used, with long
// values where a template has to shrink or cut.
Parameters realisticInvoice(int lines)
{
    Parameters v;
    QFile file(QStringLiteral(QUILLBOOK_SOURCE_DIR "/bench/report/invoice12.params"));
    if (!file.open(QIODevice::ReadOnly))
        return v;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        if (!line.startsWith(u'#') && equals > 0)
            v.insert(line.left(equals), line.mid(equals + 1));
    }
    v[u"PCUSTOMERDETAILS1"_s] = u"Mrs Eleanor Whitfield-Armstrong of Penrith"_s;
    v[u"PSURCHARGE1"_s] = u"120.00"_s;
    v[u"PSURCHARGEVALUE1"_s] = u"1.50"_s;
    v[u"PBALANCE"_s] = u"16,813.37"_s;
    for (int n = 1; n <= 12; ++n) {
        if (n > lines) {
            for (const char *name : {"PQTY%1", "PDESCRIPTION%1", "PUNITPRICE%1", "PTOTAL%1"})
                v.remove(QString::fromLatin1(name).arg(n));
        } else {
            v[u"PDESCRIPTION%1"_s.arg(n)] =
                u"Solid oak shelf %1, 120 × 30 cm, hand-oiled, with concealed steel brackets"_s.arg(n);
            v[u"PTOTAL%1"_s.arg(n)] = u"11,110.50"_s;
        }
    }
    return v;
}

} // namespace

class ShippedTemplatesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyParameterShown_data() { templates(); }

    void everyParameterShown()
    {
        QFETCH(QString, file);
        ReportFixture f;
        // A distinct token per parameter; tokens are not numbers, so every
        // condition that hides zeros lets them through.
        Parameters values;
        for (const QString &name : InvoiceParameterNames())
            values.insert(name, u"v"_s + name.toLower().mid(1));
        QImage logo(2400, 1600, QImage::Format_RGB32);
        logo.fill(QColor(46, 94, 78));
        QVERIFY(logo.save(values[u"PLOGO"_s] = f.path(u"logo.jpg"_s)));
        const QString pdf = exportInvoice(f, file, values, u"INV1.pdf"_s);
        QVERIFY(!pdf.isEmpty());

        const QString text = pdfprobe::text(pdf);
        QCOMPARE(values.size(), 85);
        for (const QString &name : InvoiceParameterNames()) {
            const QRegularExpression token(u"(?<![A-Za-z0-9])"_s + values[name] + u"(?![A-Za-z0-9])"_s);
            QVERIFY2(name == u"PLOGO"_s || text.contains(token), qPrintable(name + u" is not shown"_s));
        }
        // The template's own words too: no box is lower than a line of its text.
        const auto tpl = readTemplate(file);
        QVERIFY(tpl);
        QSet<QString> words;
        for (const Word &word : pdfprobe::words(pdf))
            words << word.text;
        for (const report::Element &element : tpl->elements) {
            const auto *box = std::get_if<report::TextBox>(&element.shape);
            for (const QString &word : box && holds(element.conditions, values)
                     ? shown(box->content, values).split(u' ', Qt::SkipEmptyParts)
                     : QStringList())
                QVERIFY2(words.contains(word), qPrintable(word + u" is not shown"_s));
        }
        const auto images = pdfprobe::images(pdf);
        QCOMPARE(images.size(), 1);
        QVERIFY2(images[0].width() < 2400, "the logo is embedded at full resolution");
    }

    void realisticInvoiceLaysOutCleanly_data() { templates(); }

    void realisticInvoiceLaysOutCleanly()
    {
        QFETCH(QString, file);
        ReportFixture f;
        const QString pdf = exportInvoice(f, file, realisticInvoice(12), u"INV1042.pdf"_s);
        QVERIFY(!pdf.isEmpty());
        // Twelve lines without a logo stay small.
        QVERIFY2(QFileInfo(pdf).size() < 60 * 1024, qPrintable(QString::number(QFileInfo(pdf).size())));
        const QString text = pdfprobe::text(pdf);
        QVERIFY(text.contains(u"16,813.37"_s) && text.contains(u"shelf 12,"_s));

        // Every word on the page, no two colliding: long values shrink or end in "…" instead.
        const QString collided = collision(pdfprobe::words(pdf));
        QVERIFY2(collided.isEmpty(), qPrintable(collided));
    }

    // Names, addresses and descriptions far too long for their boxes: each
    // box shows only whole lines of it, inside the box, the last ending in "…".
    void longTextsEndInEllipsis_data() { templates(); }

    void longTextsEndInEllipsis()
    {
        QFETCH(QString, file);
        ReportFixture f;
        Parameters values = realisticInvoice(12);
        values[u"PLOGO"_s] = QString();
        const QString words = u"Northern Lakes Reclaimed Timber and Architectural Salvage Cooperative, joinery "
                              "workshop and showroom for restored fireplaces, doors, flooring and garden furniture "_s;
        const QStringList longNames{u"PCOMPANYNAME"_s, u"PCOMPANYDETAILS1"_s, u"PCUSTOMERDETAILS1"_s,
                                    u"PCUSTOMERDETAILS2"_s, u"PDESCRIPTION1"_s, u"PDESCRIPTION12"_s, u"PFOOTER2"_s};
        for (const QString &name : longNames)
            values[name] = words.repeated(4).trimmed();
        const QString pdf = exportInvoice(f, file, values, u"INV8.pdf"_s);
        QVERIFY(!pdf.isEmpty());
        const auto tpl = readTemplate(file);
        QVERIFY(tpl);
        const QList<Word> all = pdfprobe::words(pdf);
        int checked = 0;
        for (const report::TextBox *text : boxesShowing(*tpl, values, longNames)) {
            QStringList inside;
            for (const Word &word : all) {
                if (text->box.contains(word.box.center())) {
                    QVERIFY2(text->box.adjusted(-0.3, -0.3, 0.3, 0.3).contains(word.box), qPrintable(word.text));
                    inside << word.text;
                }
            }
            const QString read = inside.join(QString());
            QVERIFY2(read.endsWith(u"…"_s), qPrintable(read));
            QVERIFY2(shown(text->content, values).remove(u' ').startsWith(read.chopped(1)), qPrintable(read));
            ++checked;
        }
        QVERIFY(checked >= longNames.size());
    }

    // Amounts of every length the window can hold, in every amount at once:
    // each figure is shown whole, on one line inside its box, never touching
    // another; one too long for its box even at its smallest size is refused.
    void figuresStayWhole_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<bool>("fits");
        const QDir dir(QStringLiteral(QUILLBOOK_SOURCE_DIR "/templates"));
        for (const QString &name : dir.entryList({u"*.rep"_s}, QDir::Files, QDir::Name)) {
            const auto row = [&](const QString &what, const QString &amount, bool fits) {
                QTest::addRow("%s, %s", qPrintable(name), qPrintable(what)) << dir.filePath(name) << amount << fits;
            };
            for (int digits = 10; digits <= 18; ++digits)
                row(u"%1 digits"_s.arg(digits), (digits % 2 ? u"-"_s : QString()) + amountOf(digits), true);
            row(u"the largest total"_s, u"-922,337,203,685,477.58"_s, true);
            row(u"40 digits"_s, amountOf(40), false);
        }
    }

    void figuresStayWhole()
    {
        QFETCH(QString, file);
        QFETCH(QString, amount);
        QFETCH(bool, fits);
        ReportFixture f;
        Parameters values = realisticInvoice(12);
        values[u"PLOGO"_s] = QString();
        for (const QString &name : InvoiceAmountNames())
            values[name] = amount;
        QString error;
        const QString pdf = exportInvoice(f, file, values, u"INV7.pdf"_s, &error);
        if (!fits) {
            // Named: the template's element by its position, and the parameter.
            const QRegularExpression message(QRegularExpression::escape(file)
                                             + u":\\d+:\\d+: the figure P[A-Z]+\\d* does not fit its <text> box"_s);
            QVERIFY2(pdf.isEmpty() && message.match(error).hasMatch(), qPrintable(error));
            QVERIFY(!QFile::exists(f.path(u"INV7.pdf"_s)));
            return;
        }
        QVERIFY2(!pdf.isEmpty(), qPrintable(error));

        const auto tpl = readTemplate(file);
        QVERIFY(tpl);
        for (const report::Band &band : tpl->bands) // nothing moves up: each figure stays in its written box
            QVERIFY(!band.condition || holds({*band.condition}, values));
        const QStringList amounts = InvoiceAmountNames();
        QList<QRectF> boxes;
        const QList<Word> words = pdfprobe::words(pdf);
        for (const report::TextBox *text : boxesShowing(*tpl, values, amounts)) {
            const QRectF box = text->box;
            QStringList inside;
            double top = 0;
            for (const Word &word : words) {
                if (!box.contains(word.box.center()))
                    continue;
                if (inside.isEmpty())
                    top = word.box.top();
                inside << word.text;
                const QString where = u"%1 at %2,%3"_s.arg(word.text).arg(box.x()).arg(box.y());
                QVERIFY2(box.adjusted(-0.3, -0.3, 0.3, 0.3).contains(word.box), qPrintable(where));
                QVERIFY2(std::abs(word.box.top() - top) < 0.3, qPrintable(where + u": a second line"_s));
            }
            QCOMPARE(inside.join(u' '), shown(text->content, values));
            // A figure carries one sign at most, whatever its own.
            static const QRegularExpression twoSigns(u"[-\u2013\u2212(]\\s*[-\u2013\u2212]"_s);
            QVERIFY2(!inside.join(u' ').contains(twoSigns), qPrintable(inside.join(u' ')));
            for (const QRectF &other : std::as_const(boxes)) {
                const bool sameRow = other.top() < box.bottom() && box.top() < other.bottom();
                const double gap = std::max(other.left() - box.right(), box.left() - other.right());
                QVERIFY2(!sameRow || gap >= 2.0, qPrintable(u"figure boxes %1 mm apart"_s.arg(gap)));
            }
            boxes << box;
        }
        QVERIFY(boxes.size() >= 30);
        const QString collided = collision(words);
        QVERIFY2(collided.isEmpty(), qPrintable(collided));
    }

    void blankInvoiceLeavesNoClutter_data() { templates(); }

    void blankInvoiceLeavesNoClutter()
    {
        QFETCH(QString, file);
        ReportFixture f;
        // As a new sheet prints: two lines, zero adjustments, no tax, no fax, no logo.
        Parameters values = realisticInvoice(2);
        for (const QString &name : {u"PSURCHARGE1"_s, u"PSURCHARGE2"_s, u"PDISCOUNT"_s, u"PSHIPPING"_s,
                                    u"PRECEIVED"_s, u"PTAX"_s, u"PSURCHARGEVALUE1"_s, u"PSURCHARGEVALUE2"_s,
                                    u"PDISCOUNTPERCENT"_s})
            values[name] = u"0.00"_s;
        values[u"PTAXNAME"_s] = u"NO TAX"_s;
        values[u"PTAXVALUE"_s] = u"0"_s;
        for (const QString &name : {u"PFAX"_s, u"PINVOICENUMBER"_s, u"PCURRENCY"_s, u"PDATE"_s, u"PLOGO"_s})
            values[name] = QString();
        const QString pdf = exportInvoice(f, file, values, u"INV2.pdf"_s);
        QVERIFY(!pdf.isEmpty());
        const QString text = pdfprobe::text(pdf);
        QVERIFY(text.contains(u"NO TAX"_s) && text.contains(u"shelf 2,"_s));
        // Phrases about empty fields are left out whole: no "are in ." or "Invoice  of".
        const QRegularExpression fragment(u"\\s[.,;:%]|\\b(in|of|No\\.|invoice|number)\\s*([.,;:]|$)"_s,
                                          QRegularExpression::MultilineOption);
        QVERIFY2(!fragment.match(text).hasMatch(), qPrintable(fragment.match(text).captured()));
        for (const QString &absent : {u"Surcharge"_s, u"Discount"_s, u"discount"_s, u"Shipping"_s, u"Received"_s,
                                      u"received"_s, u"Fax"_s, u"0.00%"_s})
            QVERIFY2(!text.contains(absent), qPrintable(absent));
        QCOMPARE(text.count(u"11,110.50"_s), 2); // only the two filled rows
        QVERIFY(pdfprobe::images(pdf).isEmpty());
    }
};

QTEST_MAIN(ShippedTemplatesTest)
#include "tst_shippedtemplates.moc"
