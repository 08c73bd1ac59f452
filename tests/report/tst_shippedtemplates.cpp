// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Every template we ship, filled with the parameters the program sends.

#include "invoicepdf/invoiceparameters.h"
#include "reportfixture.h"

#include <QDir>

using invoicepdf::InvoiceAmountNames;
using invoicepdf::InvoiceParameterNames;

namespace {

const QDir Templates(QStringLiteral(QUILLBOOK_SOURCE_DIR "/templates"));

// Calls `row` with the name and path of every shipped template.
template<typename Row>
void forEachTemplate(Row row)
{
    const QStringList files = Templates.entryList({u"*.rep"_s}, QDir::Files, QDir::Name);
    QVERIFY(files.contains(u"invferncask.rep"_s) && files.size() >= 3);
    for (const QString &file : files)
        row(file, Templates.filePath(file));
}

// A row per shipped template.
void templates()
{
    QTest::addColumn<QString>("file");
    forEachTemplate([](const QString &name, const QString &file) { QTest::newRow(qPrintable(name)) << file; });
}

// Exports `file` with every parameter name set, to the value in `values` or empty.
QString exportInvoice(ReportFixture &f, const QString &file, const Parameters &values, QString *error = nullptr)
{
    Parameters all;
    for (const QString &name : InvoiceParameterNames())
        all.insert(name, values.value(name));
    return f.exportPdf(file, all, u"INV1.pdf"_s, error);
}

// Each parameter set to a distinct word that is not a number, so that every
// condition that hides zeros lets it through.
Parameters tokens()
{
    Parameters values;
    for (const QString &name : InvoiceParameterNames())
        values.insert(name, u"v"_s + name.toLower().mid(1));
    return values;
}

// Two words on the page overlapping by a quarter of the smaller or more, or a
// word off the page; empty when there is none.
QString collision(const QList<pdfprobe::Word> &words)
{
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (!QRectF(0, 0, 210, 297).contains(words[i].box))
            return words[i].text + u" leaves the page"_s;
        for (qsizetype j = i + 1; j < words.size(); ++j) {
            const QRectF a = words[i].box, b = words[j].box, overlap = a.intersected(b);
            if (overlap.width() * overlap.height() >= 0.25 * std::min(a.width() * a.height(), b.width() * b.height()))
                return words[i].text + u" / "_s + words[j].text;
        }
    }
    return {};
}

} // namespace

class ShippedTemplatesTest : public QObject
{
    Q_OBJECT

private slots:
    // Every parameter is shown, and nothing is cut short: the template's own
    // words fit their boxes too; the logo is embedded below full resolution.
    // Amounts of every length the window can hold, in every amount at once:
    // each figure is shown whole, with one sign at most, never touching
    // another; one too long for its box even at its smallest size is refused.
    void everyParameterShown_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<bool>("fits");
        // `digits` digits grouped as an amount with two decimals.
        const auto amountOf = [](int digits) {
            QString number;
            for (int i = 0; i < digits - 2; ++i)
                number += ((digits - 2 - i) % 3 == 0 && i > 0 ? u","_s : QString()) + QChar(u'0' + 9 - i % 10);
            return number + u".87"_s;
        };
        forEachTemplate([&](const QString &name, const QString &file) {
            for (int digits = 10; digits <= 18; ++digits)
                QTest::addRow("%s, %d digits", qPrintable(name), digits)
                    << file << (digits % 2 ? u"-"_s : QString()) + amountOf(digits) << true;
            QTest::addRow("%s, the largest total", qPrintable(name)) << file << u"-922,337,203,685,477.58"_s << true;
            QTest::addRow("%s, 40 digits", qPrintable(name)) << file << amountOf(40) << false;
        });
    }

    void everyParameterShown()
    {
        QFETCH(QString, file);
        QFETCH(QString, amount);
        QFETCH(bool, fits);
        ReportFixture f;
        Parameters values = tokens();
        for (const QString &name : InvoiceAmountNames())
            values[name] = amount;
        QImage logo(2400, 1600, QImage::Format_RGB32);
        logo.fill(QColor(46, 94, 78));
        QVERIFY(logo.save(values[u"PLOGO"_s] = f.path(u"logo.jpg"_s)));
        QString error;
        const QString pdf = exportInvoice(f, file, values, &error);
        if (!fits) {
            // Named: the template's element by its position, and the parameter.
            const QRegularExpression message(QRegularExpression::escape(file)
                                             + u":\\d+:\\d+: the figure P[A-Z]+\\d* does not fit its <text> box"_s);
            QVERIFY2(pdf.isEmpty() && message.match(error).hasMatch(), qPrintable(error));
            QVERIFY(!QFile::exists(f.path(u"INV1.pdf"_s)));
            return;
        }
        QVERIFY2(!pdf.isEmpty(), qPrintable(error));
        const QString text = pdfprobe::text(pdf);
        for (const QString &name : InvoiceParameterNames()) {
            const QRegularExpression token(u"(?<![A-Za-z0-9])"_s + values[name] + u"(?![A-Za-z0-9])"_s);
            QVERIFY2(name == u"PLOGO"_s || values[name] == amount || text.contains(token),
                     qPrintable(name + u" is not shown"_s));
        }
        QVERIFY2(!text.contains(u"…"_s), qPrintable(text));
        const auto images = pdfprobe::images(pdf);
        QVERIFY(images.size() == 1 && images[0].width() < 2400);
        // Only the amounts hold separators: any other number with one is a piece of a figure.
        const QString digits = amount.startsWith(u'-') ? amount.mid(1) : amount;
        static const QRegularExpression number(u"\\d[\\d,.]*\\d"_s), twoSigns(u"[-\u2013\u2212(]\\s*[-\u2013\u2212]"_s);
        int whole = 0;
        const QList<pdfprobe::Word> words = pdfprobe::words(pdf);
        for (const pdfprobe::Word &word : words) {
            const QString found = number.match(word.text).captured();
            whole += found == digits ? 1 : 0;
            QVERIFY2(found == digits || !found.contains(QRegularExpression(u"[,.]"_s)), qPrintable(word.text));
            QVERIFY2(!word.text.contains(twoSigns), qPrintable(word.text));
        }
        QVERIFY(whole >= 30);
        const QString collided = collision(words);
        QVERIFY2(collided.isEmpty(), qPrintable(collided));
    }

    void longTextsEndInEllipsis_data() { templates(); }

    // Names, addresses and descriptions far too long for their boxes shrink or
    // end in "…" instead of running into their neighbours; twelve lines
    // without a logo stay small.
    void longTextsEndInEllipsis()
    {
        QFETCH(QString, file);
        ReportFixture f;
        Parameters values = tokens();
        values[u"PLOGO"_s] = QString();
        const QStringList longNames{u"PCOMPANYNAME"_s,      u"PCOMPANYDETAILS1"_s, u"PCUSTOMERDETAILS1"_s,
                                    u"PCUSTOMERDETAILS2"_s, u"PDESCRIPTION1"_s,    u"PDESCRIPTION12"_s,
                                    u"PFOOTER2"_s};
        for (const QString &name : longNames)
            values[name] = u"Northern Lakes Reclaimed Timber and Architectural Salvage Cooperative, joinery workshop "
                           "and showroom for restored fireplaces, doors, flooring and garden furniture "_s.repeated(4);
        const QString pdf = exportInvoice(f, file, values);
        QVERIFY(!pdf.isEmpty());
        QVERIFY2(QFileInfo(pdf).size() < 60 * 1024, qPrintable(QString::number(QFileInfo(pdf).size())));
        const QString text = pdfprobe::text(pdf);
        QVERIFY2(text.count(u"…"_s) >= longNames.size() && text.contains(u"vdescription11"_s), qPrintable(text));
        const QString collided = collision(pdfprobe::words(pdf));
        QVERIFY2(collided.isEmpty(), qPrintable(collided));
    }

    void blankInvoiceLeavesNoClutter_data() { templates(); }

    // As a new sheet prints: two lines, zero adjustments, no tax, no fax, no logo.
    void blankInvoiceLeavesNoClutter()
    {
        QFETCH(QString, file);
        ReportFixture f;
        Parameters values = tokens();
        for (int n = 3; n <= 12; ++n) {
            for (const char *name : {"PQTY%1", "PDESCRIPTION%1", "PUNITPRICE%1", "PTOTAL%1"})
                values.remove(QString::fromLatin1(name).arg(n));
        }
        for (const QString &name : {u"PSURCHARGE1"_s, u"PSURCHARGE2"_s, u"PDISCOUNT"_s, u"PSHIPPING"_s, u"PRECEIVED"_s,
                                    u"PTAX"_s, u"PSURCHARGEVALUE1"_s, u"PSURCHARGEVALUE2"_s, u"PDISCOUNTPERCENT"_s})
            values[name] = u"0.00"_s;
        values[u"PTAXNAME"_s] = u"NO TAX"_s;
        values[u"PTAXVALUE"_s] = u"0"_s;
        for (const QString &name : {u"PFAX"_s, u"PINVOICENUMBER"_s, u"PCURRENCY"_s, u"PDATE"_s, u"PLOGO"_s})
            values[name] = QString();
        const QString pdf = exportInvoice(f, file, values);
        QVERIFY(!pdf.isEmpty());
        const QString text = pdfprobe::text(pdf);
        QVERIFY(text.contains(u"NO TAX"_s) && text.contains(u"vtotal2"_s));
        // Phrases about empty fields are left out whole: no "are in ." or "Invoice  of".
        const QRegularExpression fragment(u"\\s[.,;:%]|\\b(in|of|No\\.|invoice|number)\\s*([.,;:]|$)"_s,
                                          QRegularExpression::MultilineOption);
        QVERIFY2(!fragment.match(text).hasMatch(), qPrintable(fragment.match(text).captured()));
        for (const QString &absent : {u"Surcharge"_s, u"Discount"_s, u"discount"_s, u"Shipping"_s, u"Received"_s,
                                      u"received"_s, u"Fax"_s, u"0.00%"_s})
            QVERIFY2(!text.contains(absent), qPrintable(absent));
        QVERIFY(pdfprobe::images(pdf).isEmpty());
    }
};

QTEST_MAIN(ShippedTemplatesTest)
#include "tst_shippedtemplates.moc"
