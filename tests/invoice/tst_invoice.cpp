// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/clstotals.h"
#include "invoice/numbers.h"
#include "invoice/runtimeerror.h"
#include "invoice/totals.h"

#include <QTest>

#include <limits>

using namespace invoice;
using namespace Qt::StringLiterals;

namespace {

constexpr qint64 MaxUnits = std::numeric_limits<qint64>::max();
constexpr qint64 MinUnits = std::numeric_limits<qint64>::min();

// The text `operation` gives, or the description of the error it raises.
template<typename Operation>
QString outcome(Operation operation)
{
    try {
        return operation();
    } catch (const RuntimeError &error) {
        return error.description();
    }
}

QStringList words(const QString &text)
{
    return text.split(u' ', Qt::SkipEmptyParts);
}

// Line totals ("*": taxed) | surcharge 1, discount, shipping, surcharge 2, received | SHTax, rate, TaxCharge
TotalsInput invoiceFrom(const QString &text)
{
    const QStringList part = text.split(u'|');
    const QStringList lines = words(part[0]), box = words(part[1]), setting = words(part[2]);
    TotalsInput in;
    for (size_t i = 0; i < size_t(lines.size()); ++i) {
        in.taxable[i] = lines[i].endsWith(u'*');
        in.lineTotals[i] = lines[i].chopped(in.taxable[i] ? 1 : 0);
    }
    std::tie(in.surcharge1, in.discount, in.shipping, in.surcharge2, in.received)
        = std::tuple(box[0], box[1], box[2], box[3], box[4]);
    in.shTax = setting[0].toInt();
    in.taxValue = NumericAmount(setting[1]);
    in.taxCharge = setting[2].toInt();
    return in;
}

const QString WorkedExample = u"20.00* 5.50 5.97* | 10 5 4.00 2 20.00 | %1 17.5 %2"_s;

struct FakeSource : TotalsSource
{
    TotalsInput totalsInput() const override { return input; }
    int taxCharge() const override { return input.taxCharge; }
    TotalsInput input;
};

QStringList shown(const clsTotals &t)
{
    return {t.Surcharge1(), t.Discount(), t.Tax(), t.SubTotal(), t.Total(), t.Surcharge2(), t.Balance()};
}

} // namespace

class InvoiceTest : public QObject
{
    Q_OBJECT

private slots:
    // A box's text read three ways: as a double, by the numeric test, as an exact amount.
    void reading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<QString>("amount"); // ten-thousandths, or the error
        const auto row = [](const char *name, const QString &text, double value, bool numeric, const QString &amount) {
            QTest::newRow(name) << text << value << numeric << amount;
        };
        row("lone point", u"."_s, 0, false, u"0"_s);
        row("minus behind", u"5-"_s, 5, false, u"50000"_s);
        row("program's own negative", u"-1,500.00"_s, -1500, true, u"-15000000"_s);
        row("blanks inside", u" \t- 1 2\r\n"_s, -12, false, u"-120000"_s);
        row("no exponent", u"1e5"_s, 1, false, u"10000"_s);
        row("leading point", u"-.5"_s, -0.5, true, u"-5000"_s);
        row("tie to even", u"0.00005"_s, 5e-5, true, u"0"_s);
        row("above the tie", u"0.0000500000000000000001"_s, 5e-5, true, u"1"_s);
        row("largest", u"922,337,203,685,477.5807"_s, 922337203685477.5807, true, QString::number(MaxUnits));
        row("smallest", u"-922337203685477.5808"_s, -922337203685477.5808, true, QString::number(MinUnits));
        row("rounds past the largest", u"922337203685477.58075"_s, 922337203685477.58075, true, u"Overflow"_s);
        row("beyond double", u"1"_s + QString(400, u'0'), std::numeric_limits<double>::infinity(), true, u"Overflow"_s);
    }
    void reading()
    {
        QFETCH(QString, text);
        QTEST(NumericValue(text), "value");
        QTEST(IsNumeric(text), "numeric");
        QTEST(outcome([&] { return QString::number(NumericAmount(text).units()); }), "amount");
    }

    // Amounts, and doubles by their nearest 15 digits, written with halves away from zero.
    void formatting_data()
    {
        QTest::addColumn<QVariant>("value"); // a double, or an amount in ten-thousandths
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("formatted");
        const auto row = [](const char *name, const QVariant &value, int decimals, const QString &text) {
            QTest::newRow(name) << value << decimals << text;
        };
        row("half of 1.005", 1.005, 2, u"1.01"_s);
        row("negative half", -2.5, 0, u"-3"_s);
        row("carry into groups", 999999.995, 2, u"1,000,000.00"_s);
        row("rounds to zero", -0.004, 2, u"0.00"_s);
        row("widened single", double(2.3f), 2, u"2.30"_s);
        row("tie to even", 0.03125, 2, u"0.03"_s);
        row("sixteen digits", 922337203685477.5, 1, u"922,337,203,685,478.0"_s);
        row("nan", std::numeric_limits<double>::quiet_NaN(), 2, u"Overflow"_s);
        row("amount, negative half", qint64(-12350), 2, u"-1.24"_s);
        row("amount, carry", qint64(99999950), 2, u"10,000.00"_s);
        row("amount, smallest in cents", MinUnits, 2, u"-922,337,203,685,477.58"_s);
    }
    void formatting()
    {
        QFETCH(QVariant, value);
        QFETCH(int, decimals);
        QTEST(outcome([&] {
                  return value.typeId() == QMetaType::Double
                      ? FormatAmount(value.toDouble(), decimals)
                      : FormatAmount(Amount::fromUnits(value.toLongLong()), decimals);
              }),
              "formatted");
    }

    void lineTotal_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const QString &quantity, const QString &price, const QString &expected) {
            QTest::newRow(name) << quantity << price << expected;
        };
        row("beyond single precision", u"1"_s, u"123456.78"_s, u"123,456.78"_s);
        row("untidied price", u"1"_s, u"1.005"_s, u"1.01"_s);
        row("every digit counts", u"0.1111111111111111111"_s, u"9"_s, u"1.00"_s);
        row("wide factors", u"12345678901234567890000"_s, u"0.0000000000000000001"_s, u"1,234.57"_s);
        row("past the largest", u"922337203685477.59"_s, u"-1"_s, u"Overflow"_s);
        row("twenty significant digits", u"1.0000000000000000001"_s, u"0"_s, u"Overflow"_s);
    }
    void lineTotal()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QTEST(outcome([&] { return FormatAmount(LineTotal(quantity, price), 2); }), "expected");
    }

    void figures_data()
    {
        QTest::addColumn<QString>("in");
        // s1, discount, tax, sub total, total, s2, balance ("-": left as it was), then the error
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const QString &in, const QString &expected) {
            QTest::newRow(name) << in << expected;
        };
        row("worked example", WorkedExample.arg(1).arg(1), u"3.15 1.73 5.45 32.89 42.34 0.85 23.19"_s);
        row("shipping untaxed", WorkedExample.arg(0).arg(1), u"3.15 1.73 4.75 32.89 41.64 0.83 22.47"_s);
        row("tax not charged", WorkedExample.arg(1).arg(2), u"3.15 1.73 0.00 32.89 36.89 0.74 17.63"_s);
        // The taxed base is rounded to cents after the surcharge and again after the discount.
        row("base rounded twice", u"10.00* | 0.05 0.05 0 0 0 | 0 100 1"_s, u"0.01 0.01 10.01 10.00 20.01 0.00 20.01"_s);
        row("separators, negative balance", u"1,234.50 | 0 0 0 0 1,500.00 | 0 5 1"_s,
            u"0.00 0.00 0.00 1,234.50 1,234.50 0.00 -265.50"_s);
        row("15-digit half of a surcharge", u"1.15 | 50 0 0 0 0 | 0 5 1"_s, u"0.58 0.00 0.00 1.73 1.73 0.00 1.73"_s);
        row("stored rate taken exactly", u"15.00* | 0 0 0 0 0 | 0 2.3 1"_s, u"0.00 0.00 0.35 15.00 15.35 0.00 15.35"_s);
        row("credit line, half cent of tax", u"-10.05* | 0 0 0 0 0 | 0 10 1"_s,
            u"0.00 0.00 -1.01 -10.05 -11.06 0.00 -11.06"_s);
        // Beyond the amount range: the earlier figures are updated, the rest untouched.
        row("overflow: sum of lines", u"900,000,000,000,000 900,000,000,000,000 | 0 0 0 0 0 | 0 10 1"_s,
            u"- - - - - - - Overflow"_s);
        row("overflow: taxed shipping", u"10.00* | 0 0 1,000,000,000,000,000 0 0 | 1 10 1"_s,
            u"0.00 0.00 - - - - - Overflow"_s);
        row("overflow: untaxed shipping", u"10.00* | 0 0 1,000,000,000,000,000 0 0 | 0 10 1"_s,
            u"0.00 0.00 1.00 10.00 - - - Overflow"_s);
        row("overflow: balance", u"10.00* | 0 0 0 0 -922,337,203,685,477 | 0 10 1"_s,
            u"0.00 0.00 1.00 10.00 11.00 0.00 - Overflow"_s);
    }
    void figures()
    {
        QFETCH(QString, in);
        const Amount untouched = Amount::fromUnits(123); // no computed figure has part of a cent
        TotalsFigures f{untouched, untouched, untouched, untouched, untouched, untouched, untouched};
        const QString error = outcome([&] {
            CalculateTotals(invoiceFrom(in), f);
            return QString();
        });
        QStringList result;
        for (const Amount figure : {f.surcharge1, f.discount, f.tax, f.subTotal, f.total, f.surcharge2, f.balance})
            result << (figure == untouched ? u"-"_s : FormatAmount(figure, 2));
        QTEST((result << error).join(u' ').trimmed(), "expected");
    }

    void calculator()
    {
        FakeSource source;
        source.input = invoiceFrom(WorkedExample.arg(1).arg(1));
        clsTotals totals(source);
        QCOMPARE(shown(totals), QStringList(7, u"0.00"_s)); // the readers never calculate
        totals.Calculate();
        QCOMPARE(shown(totals), words(u"3.15 1.73 5.45 32.89 42.34 0.85 23.19"_s));
        // The tax reader follows the stored setting at once; the rest waits for Calculate.
        source.input.taxCharge = 0;
        QCOMPARE(shown(totals), words(u"3.15 1.73 0.00 32.89 42.34 0.85 23.19"_s));
    }
};

QTEST_APPLESS_MAIN(InvoiceTest)
#include "tst_invoice.moc"
