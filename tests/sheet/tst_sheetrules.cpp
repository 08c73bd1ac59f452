// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/runtimeerror.h"
#include "invoicepdf/invoiceparameters.h"
#include "sheet/invoicetexts.h"
#include "sheet/sheetrules.h"

#include <QTest>

using invoicepdf::InvoiceValues;

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
        QTest::newRow("just above 100") << u"100.001|=|100|=|100.00|100.00"_s.split(u'|');
        QTest::newRow("negative price") << u"-5|=|=|=|-5.00|-5.00"_s.split(u'|');
        QTest::newRow("empty") << u"||0.00|0.00||0.00"_s.split(u'|');
        QTest::newRow("lone point") << u".||0.00|0.00||0.00"_s.split(u'|');
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

    // The line total box: empty without a quantity, refused when too large.
    void lineTotal_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("total");
        QTest::newRow("worked line") << u"3"_s << u"19.99"_s << u"59.97"_s;
        QTest::newRow("no price yet") << u"2"_s << u""_s << u"0.00"_s;
        QTest::newRow("no quantity") << u""_s << u"10"_s << u""_s;
        QTest::newRow("a point for a quantity") << u"."_s << u"10"_s << u"0.00"_s;
        QTest::newRow("too large") << u"99999999999"_s << u"99999999999"_s << u"Overflow"_s;
    }
    void lineTotal()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QString result;
        try {
            result = sheet::LineTotalText(quantity, price);
        } catch (const invoice::RuntimeError &error) {
            result = error.description();
        }
        QTEST(result, "total");
    }

    // The tax heading, and the rate stored for what the rate box holds.
    void taxHeading_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("taxCharge");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("heading");
        QTest::newRow("first run") << u"+"_s << 1 << u"5.00"_s << u"+TAX@5%"_s;
        QTest::newRow("charge tax switched on") << QString() << 1 << u"17.5"_s << u"TAX@17.5%"_s;
        QTest::newRow("rounded to cents") << u"+"_s << 1 << u"17.555"_s << u"+TAX@17.56%"_s;
        QTest::newRow("not charged") << u"+"_s << 0 << u"5"_s << u"NO TAX"_s;
        QTest::newRow("any value but 1") << u"+"_s << 2 << u"5"_s << u"NO TAX"_s;
    }
    void taxHeading()
    {
        QFETCH(QString, prefix);
        QFETCH(int, taxCharge);
        QFETCH(QString, box);
        QTEST(sheet::TaxHeading(prefix, taxCharge, u"TAX"_s, sheet::RateFromBox(box)), "heading");
    }

    void missingDetails_data()
    {
        QTest::addColumn<QStringList>("customer");
        QTest::addColumn<QStringList>("descriptions");
        QTest::addColumn<QString>("question");
        const QStringList none(6), blank{u""_s, u" "_s}, chair{u""_s, u"Chair"_s};
        QTest::newRow("nothing missing") << blank << chair << QString();
        QTest::newRow("customer missing") << none << chair << u"There are no customer details\r\n\r\nContinue?"_s;
        QTest::newRow("items missing") << blank << none << u"\r\nThere are no described sales items.\r\nContinue?"_s;
        QTest::newRow("both missing")
            << none << none << u"There are no customer details\r\nThere are no described sales items.\r\nContinue?"_s;
    }
    void missingDetails()
    {
        QFETCH(QStringList, customer);
        QFETCH(QStringList, descriptions);
        QTEST(sheet::MissingDetailsQuestion(customer, descriptions), "question");
    }

    // Each printed value comes from its own box, stored setting or figure:
    // every source holds a text of its own.
    void gatheredValues()
    {
        sheet::InvoiceTexts invoice{.surcharge1Percent = u"surcharge 1 %"_s,
                                    .discountPercent = u"discount %"_s,
                                    .subTotal = u"sub total"_s,
                                    .shipping = u"shipping"_s,
                                    .tax = u"tax"_s,
                                    .total = u"total"_s,
                                    .surcharge2Percent = u"surcharge 2 %"_s,
                                    .received = u"received"_s,
                                    .balance = u"balance"_s,
                                    .paymentMethod = u"CARD"_s,
                                    .taxHeading = u"+VAT@17.5%"_s};
        sheet::CompanyTexts company{.companyName = u"company"_s, .invoiceNumber = u"1001"_s};
        for (int k = 0; k < InvoiceValues::AddressLines; ++k) {
            invoice.customerDetails[k] = u"customer %1"_s.arg(k + 1);
            company.companyDetails[k] = u"company %1"_s.arg(k + 1);
        }
        for (int n = 1; n <= InvoiceValues::LineCount; ++n)
            invoice.lines[n - 1]
                = {u"qty %1"_s.arg(n), u"description %1"_s.arg(n), u"price %1"_s.arg(n), u"total %1"_s.arg(n)};
        for (int k = 0; k < InvoiceValues::FooterLines; ++k)
            company.footers[k] = u"footer %1"_s.arg(k + 1);
        const sheet::StoredValues stored{
            u"stored currency"_s, u"stored tel"_s, u"stored fax"_s, 1, invoice::Amount::fromUnits(175000),
            u"/stored/logo.jpg"_s};
        const sheet::AdjustmentAmounts amounts{u"surcharge 1 figure"_s, u"surcharge 2 figure"_s, u"discount figure"_s};
        QMap<QString, QString> printed;
        for (const auto &[name, value] : invoicepdf::InvoiceParameters(
                 sheet::GatherInvoiceValues(invoice, company, stored, amounts), false, QDate(2026, 3, 14), u"/app"_s))
            printed[name] = value;
        const QStringList expected = {u"PCOMPANYNAME=company"_s,
                                      u"PINVOICENUMBER=1001"_s,
                                      u"PCOMPANYDETAILS6=company 6"_s,
                                      u"PCUSTOMERDETAILS1=customer 1"_s,
                                      u"PQTY12=qty 12"_s,
                                      u"PDESCRIPTION5=description 5"_s,
                                      u"PUNITPRICE1=price 1"_s,
                                      u"PTOTAL12=total 12"_s,
                                      u"PSUBTOTAL=sub total"_s,
                                      u"PSURCHARGE1=surcharge 1 figure"_s,
                                      u"PSURCHARGEVALUE1=surcharge 1 %"_s,
                                      u"PSURCHARGE2=surcharge 2 figure"_s,
                                      u"PSURCHARGEVALUE2=surcharge 2 %"_s,
                                      u"PDISCOUNT=discount figure"_s,
                                      u"PDISCOUNTPERCENT=discount %"_s,
                                      u"PSHIPPING=shipping"_s,
                                      u"PTAX=tax"_s,
                                      u"PTOTAL=total"_s,
                                      u"PRECEIVED=received"_s,
                                      u"PBALANCE=balance"_s,
                                      u"PPAYMENTMETHOD=CARD"_s,
                                      u"PFOOTER1=footer 1"_s,
                                      u"PFOOTER3=footer 3"_s,
                                      u"PCURRENCY=stored currency"_s,
                                      u"PTEL=stored tel"_s,
                                      u"PFAX=stored fax"_s,
                                      u"PTAXNAME=VAT@17.5%"_s,
                                      u"PTAXVALUE=17.5"_s,
                                      u"PLOGO=/stored/logo.jpg"_s};
        for (const QString &pair : expected)
            QCOMPARE(pair.section(u'=', 0, 0) + u'=' + printed.value(pair.section(u'=', 0, 0), u"(none)"_s), pair);
    }
};

QTEST_GUILESS_MAIN(SheetRulesTest)
#include "tst_sheetrules.moc"
