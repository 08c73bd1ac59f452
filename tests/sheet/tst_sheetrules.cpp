// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoicepdf/invoiceparameters.h"
#include "sheet/invoicetexts.h"
#include "sheet/sheetrules.h"

#include <QTest>

using namespace Qt::StringLiterals;

class SheetRulesTest : public QObject
{
    Q_OBJECT

private slots:
    // What a box holds after each change ("=": left as typed), and after it is left.
    void boxes_data()
    {
        QTest::addColumn<QStringList>("texts"); // typed | price | percentage | money | tidy price | tidy adjustment
        QTest::newRow("whole number") << u"1500|=|100|=|1,500.00|1,500.00"_s.split(u'|');
        QTest::newRow("exactly 100") << u"100|=|=|=|100.00|100.00"_s.split(u'|');
        QTest::newRow("negative price") << u"-5|=|=|=|-5.00|-5.00"_s.split(u'|');
        QTest::newRow("empty") << u"||0.00|0.00||0.00"_s.split(u'|');
    }
    void boxes()
    {
        QFETCH(QStringList, texts);
        const QString &typed = texts[0];
        const auto shown = [](const std::optional<QString> &corrected) { return corrected.value_or(u"="_s); };
        QCOMPARE(
            (QStringList{typed, shown(sheet::CorrectedPrice(typed)), shown(sheet::CorrectedAdjustment(typed, true)),
                         shown(sheet::CorrectedAdjustment(typed, false)), sheet::TidiedPrice(typed),
                         sheet::TidiedAdjustment(typed)}),
            texts);
    }

    // The line total box: empty without a quantity, otherwise the line's total.
    void lineTotal()
    {
        QCOMPARE(sheet::LineTotalText(u""_s, u"10"_s), u""_s);
        QCOMPARE(sheet::LineTotalText(u"3"_s, u"19.99"_s), u"59.97"_s);
    }

    // The tax heading follows the stored rate, rounded to cents, only while TaxCharge is 1.
    void taxHeading()
    {
        QCOMPARE(sheet::TaxHeading({}, 1, u"TAX"_s, sheet::RateFromBox(u"17.5"_s)), u"TAX@17.5%"_s);
        QCOMPARE(sheet::TaxHeading(u"+"_s, 1, u"TAX"_s, sheet::RateFromBox(u"17.555"_s)), u"+TAX@17.56%"_s);
        QCOMPARE(sheet::TaxHeading(u"+"_s, 2, u"TAX"_s, sheet::RateFromBox(u"5"_s)), u"NO TAX"_s);
    }

    void missingDetails()
    {
        const QStringList none(6), chair{u""_s, u"Chair"_s};
        QCOMPARE(sheet::MissingDetailsQuestion({u""_s, u" "_s}, chair), QString());
        QCOMPARE(sheet::MissingDetailsQuestion(none, none),
                 u"There are no customer details\r\nThere are no described sales items.\r\nContinue?"_s);
    }

    // Each printed value comes from its own box, stored setting or figure (the lists: tst_printinvoice).
    void gatheredValues()
    {
        const sheet::InvoiceTexts invoice{.surcharge1Percent = u"s1%"_s,
                                          .discountPercent = u"discount%"_s,
                                          .subTotal = u"subtotal"_s,
                                          .shipping = u"shipping"_s,
                                          .tax = u"tax"_s,
                                          .total = u"total"_s,
                                          .surcharge2Percent = u"s2%"_s,
                                          .received = u"received"_s,
                                          .balance = u"balance"_s,
                                          .paymentMethod = u"CARD"_s,
                                          .taxHeading = u"+VAT@17.5%"_s};
        const sheet::CompanyTexts company{.companyName = u"company"_s, .invoiceNumber = u"1001"_s};
        const sheet::StoredValues stored{
            u"GBP"_s, u"tel"_s, u"fax"_s, 1, invoice::Amount::fromUnits(175000), u"/stored/logo.jpg"_s};
        const sheet::AdjustmentAmounts amounts{u"s1figure"_s, u"s2figure"_s, u"discountfigure"_s};
        QMap<QString, QString> printed;
        for (const auto &[name, value] : invoicepdf::InvoiceParameters(
                 sheet::GatherInvoiceValues(invoice, company, stored, amounts), false, QDate(2026, 3, 14), u"/app"_s))
            printed[name] = value;
        const QString expected
            = u"PCOMPANYNAME=company PINVOICENUMBER=1001 PSUBTOTAL=subtotal PSURCHARGE1=s1figure "
              "PSURCHARGEVALUE1=s1% PSURCHARGE2=s2figure PSURCHARGEVALUE2=s2% PDISCOUNT=discountfigure "
              "PDISCOUNTPERCENT=discount% PSHIPPING=shipping PTAX=tax PTOTAL=total PRECEIVED=received "
              "PBALANCE=balance PPAYMENTMETHOD=CARD PCURRENCY=GBP PTEL=tel PFAX=fax PTAXNAME=VAT@17.5% "
              "PTAXVALUE=17.5 PLOGO=/stored/logo.jpg"_s;
        for (const QString &pair : expected.split(u' '))
            QCOMPARE(pair.section(u'=', 0, 0) + u'=' + printed.value(pair.section(u'=', 0, 0), u"(none)"_s), pair);
    }
};

QTEST_GUILESS_MAIN(SheetRulesTest)
#include "tst_sheetrules.moc"
