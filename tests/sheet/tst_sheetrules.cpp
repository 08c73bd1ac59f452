// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/runtimeerror.h"
#include "invoicepdf/invoiceparameters.h"
#include "sheet/invoicetexts.h"
#include "sheet/sheetrules.h"

#include <QTest>

using invoicepdf::InvoiceParameters;
using invoicepdf::InvoiceValues;
using invoicepdf::ReportParameter;

using invoice::Amount;
using invoice::RuntimeError;

using namespace Qt::StringLiterals;

namespace {
const QString Unchanged = u"(unchanged)"_s;
QString shown(const std::optional<QString> &corrected)
{
    return corrected.value_or(Unchanged);
}
} // namespace

class SheetRulesTest : public QObject
{
    Q_OBJECT

private slots:
    // What a box holds after each change, and after it is left.
    void boxes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("price");      // corrected as typed
        QTest::addColumn<QString>("percentage"); // corrected as typed
        QTest::addColumn<QString>("money");      // shipping, received: corrected as typed
        QTest::addColumn<QString>("tidyPrice");
        QTest::addColumn<QString>("tidyAdjustment");
        const QString U = Unchanged;
        QTest::newRow("whole number") << u"1500"_s << U << u"100"_s << U << u"1,500.00"_s << u"1,500.00"_s;
        QTest::newRow("half cent") << u"1.005"_s << U << U << U << u"1.01"_s << u"1.01"_s;
        QTest::newRow("exactly 100") << u"100"_s << U << U << U << u"100.00"_s << u"100.00"_s;
        QTest::newRow("just above 100") << u"100.001"_s << U << u"100"_s << U << u"100.00"_s << u"100.00"_s;
        QTest::newRow("grouped") << u"12,500.5"_s << U << u"100"_s << U << u"12,500.50"_s << u"12,500.50"_s;
        QTest::newRow("negative price") << u"-5"_s << U << U << U << u"-5.00"_s << u"-5.00"_s;
        QTest::newRow("empty") << u""_s << u""_s << u"0.00"_s << u"0.00"_s << u""_s << u"0.00"_s;
        QTest::newRow("lone minus") << u"-"_s << u""_s << u"0.00"_s << u"0.00"_s << u""_s << u"0.00"_s;
        QTest::newRow("lone point") << u"."_s << u""_s << u"0.00"_s << u"0.00"_s << u""_s << u"0.00"_s;
        QTest::newRow("two points") << u"1.2.3"_s << u""_s << u"0.00"_s << u"0.00"_s << u""_s << u"0.00"_s;
    }
    void boxes()
    {
        QFETCH(QString, typed);
        QFETCH(QString, price);
        QFETCH(QString, percentage);
        QFETCH(QString, money);
        QFETCH(QString, tidyPrice);
        QFETCH(QString, tidyAdjustment);
        QCOMPARE(shown(sheet::CorrectedPrice(typed)), price);
        QCOMPARE(shown(sheet::CorrectedAdjustment(typed, true)), percentage);
        QCOMPARE(shown(sheet::CorrectedAdjustment(typed, false)), money);
        QCOMPARE(sheet::TidiedPrice(typed), tidyPrice);
        QCOMPARE(sheet::TidiedAdjustment(typed), tidyAdjustment);
    }

    void lineTotal_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("total"); // "Overflow": refused
        QTest::newRow("worked line") << u"3"_s << u"19.99"_s << u"59.97"_s;
        QTest::newRow("half away from zero") << u"3"_s << u"1.005"_s << u"3.02"_s;
        QTest::newRow("credit line") << u"2"_s << u"-0.125"_s << u"-0.25"_s;
        QTest::newRow("no price yet") << u"2"_s << u""_s << u"0.00"_s;
        QTest::newRow("no quantity") << u""_s << u"10"_s << u""_s;
        QTest::newRow("a point for a quantity") << u"."_s << u"10"_s << u"0.00"_s;
        QTest::newRow("too large") << u"99999999999"_s << u"99999999999"_s << u"Overflow"_s;
    }
    void lineTotal()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(QString, total);
        QString result;
        try {
            result = sheet::LineTotalText(quantity, price);
        } catch (const RuntimeError &error) {
            result = error.description();
        }
        QCOMPARE(result, total);
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
        QFETCH(QString, heading);
        QCOMPARE(sheet::TaxHeading(prefix, taxCharge, u"TAX"_s, sheet::RateFromBox(box)), heading);
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
        QFETCH(QString, question);
        QCOMPARE(sheet::MissingDetailsQuestion(customer, descriptions), question);
    }

    // Each printed value comes from its own box, stored setting or figure:
    // every source below holds a text of its own.
    void gatheredValues_data()
    {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("printed");
        const std::pair<const char *, QString> rows[] = {
            {"PCOMPANYNAME", u"company"_s}, {"PINVOICENUMBER", u"1001"_s}, {"PCOMPANYDETAILS6", u"company 6"_s},
            {"PCUSTOMERDETAILS1", u"customer 1"_s}, {"PQTY12", u"qty 12"_s}, {"PDESCRIPTION5", u"description 5"_s},
            {"PUNITPRICE1", u"price 1"_s}, {"PTOTAL12", u"total 12"_s}, {"PSUBTOTAL", u"sub total"_s},
            {"PSURCHARGE1", u"surcharge 1 figure"_s}, {"PSURCHARGEVALUE1", u"surcharge 1 %"_s},
            {"PSURCHARGE2", u"surcharge 2 figure"_s}, {"PSURCHARGEVALUE2", u"surcharge 2 %"_s},
            {"PDISCOUNT", u"discount figure"_s}, {"PDISCOUNTPERCENT", u"discount %"_s}, {"PSHIPPING", u"shipping"_s},
            {"PTAX", u"tax"_s}, {"PTOTAL", u"total"_s}, {"PRECEIVED", u"received"_s}, {"PBALANCE", u"balance"_s},
            {"PPAYMENTMETHOD", u"CARD"_s}, {"PFOOTER1", u"footer 1"_s}, {"PFOOTER3", u"footer 3"_s},
            {"PCURRENCY", u"stored currency"_s}, {"PTEL", u"stored tel"_s}, {"PFAX", u"stored fax"_s},
            {"PTAXNAME", u"VAT@17.5%"_s}, {"PTAXVALUE", u"17.5"_s}, {"PLOGO", u"/stored/logo.jpg"_s},
        };
        for (const auto &[parameter, printed] : rows)
            QTest::newRow(parameter) << QString::fromLatin1(parameter) << printed;
    }
    void gatheredValues()
    {
        QFETCH(QString, parameter);
        QFETCH(QString, printed);
        sheet::InvoiceTexts invoice{.surcharge1Percent = u"surcharge 1 %"_s, .discountPercent = u"discount %"_s,
                                    .subTotal = u"sub total"_s, .shipping = u"shipping"_s, .tax = u"tax"_s,
                                    .total = u"total"_s, .surcharge2Percent = u"surcharge 2 %"_s,
                                    .received = u"received"_s, .balance = u"balance"_s, .paymentMethod = u"CARD"_s,
                                    .taxHeading = u"+VAT@17.5%"_s};
        sheet::CompanyTexts company{.companyName = u"company"_s, .invoiceNumber = u"1001"_s};
        for (int k = 0; k < InvoiceValues::AddressLines; ++k) {
            invoice.customerDetails[k] = u"customer %1"_s.arg(k + 1);
            company.companyDetails[k] = u"company %1"_s.arg(k + 1);
        }
        for (int n = 0; n < InvoiceValues::LineCount; ++n) {
            const QString line = QString::number(n + 1);
            invoice.lines[n] = {u"qty "_s + line, u"description "_s + line, u"price "_s + line, u"total "_s + line};
        }
        for (int k = 0; k < InvoiceValues::FooterLines; ++k)
            company.footers[k] = u"footer %1"_s.arg(k + 1);
        const sheet::StoredValues stored{u"stored currency"_s, u"stored tel"_s, u"stored fax"_s, 1, Amount::fromUnits(175000),
                                         u"/stored/logo.jpg"_s};
        const sheet::AdjustmentAmounts amounts{u"surcharge 1 figure"_s, u"surcharge 2 figure"_s, u"discount figure"_s};

        const auto parameters = InvoiceParameters(sheet::GatherInvoiceValues(invoice, company, stored, amounts),
                                                  false, QDate(2026, 3, 14), u"/app"_s);
        const auto found = std::find_if(parameters.begin(), parameters.end(),
                                        [&](const ReportParameter &p) { return p.first == parameter; });
        QVERIFY(found != parameters.end());
        QCOMPARE(found->second, printed);
    }
};

QTEST_GUILESS_MAIN(SheetRulesTest)
#include "tst_sheetrules.moc"
