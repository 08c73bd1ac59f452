// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/numbers.h"
#include "invoice/runtimeerror.h"

#include <QTest>

#include <limits>

using namespace invoice;
using namespace Qt::StringLiterals;

namespace {

constexpr qint64 MaxUnits = std::numeric_limits<qint64>::max();
constexpr qint64 MinUnits = std::numeric_limits<qint64>::min();
constexpr double Infinity = std::numeric_limits<double>::infinity();

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

} // namespace

class NumbersTest : public QObject
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
        row("empty", u""_s, 0, false, u"0"_s);
        row("lone point", u"."_s, 0, false, u"0"_s);
        row("two signs", u"--5"_s, 0, false, u"0"_s);
        row("plus", u"+7"_s, 7, false, u"70000"_s);
        row("minus behind", u"5-"_s, 5, false, u"50000"_s);
        row("formatted", u"1,234.50"_s, 1234.5, true, u"12345000"_s);
        row("program's own negative", u"-1,500.00"_s, -1500, true, u"-15000000"_s);
        row("blanks at the ends", u"\t12 \n"_s, 12, true, u"120000"_s);
        row("blanks inside", u" \t- 1 2\r\n"_s, -12, false, u"-120000"_s);
        row("trailing garbage", u"-12.5abc"_s, -12.5, false, u"-125000"_s);
        row("two points", u"1.2.3"_s, 1.2, false, u"12000"_s);
        row("no exponent", u"1e5"_s, 1, false, u"10000"_s);
        row("leading point", u"-.5"_s, -0.5, true, u"-5000"_s);
        row("separator first", u",5"_s, 5, false, u"50000"_s);
        row("separator beside point", u"1.,5"_s, 1.5, false, u"15000"_s);
        row("tie to even, down", u"0.00005"_s, 5e-5, true, u"0"_s);
        row("tie to even, up", u"-0.00015"_s, -1.5e-4, true, u"-2"_s);
        row("above the tie", u"0.0000500000000000000001"_s, 5e-5, true, u"1"_s);
        row("leading zeros", QString(40, u'0') + u"1.5"_s, 1.5, true, u"15000"_s);
        row("largest", u"922,337,203,685,477.5807"_s, 922337203685477.5807, true, QString::number(MaxUnits));
        row("smallest", u"-922337203685477.5808"_s, -922337203685477.5808, true, QString::number(MinUnits));
        row("past the largest", u"922337203685477.5808"_s, 922337203685477.5808, true, u"Overflow"_s);
        row("rounds past the largest", u"922337203685477.58075"_s, 922337203685477.58075, true, u"Overflow"_s);
        row("beyond double", u"1"_s + QString(400, u'0'), Infinity, true, u"Overflow"_s);
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
        row("half of 0.575", 0.575, 2, u"0.58"_s);
        row("half of 1.005", 1.005, 2, u"1.01"_s);
        row("negative half", -2.5, 0, u"-3"_s);
        row("carry into groups", 999999.995, 2, u"1,000,000.00"_s);
        row("rounds to zero", -0.004, 2, u"0.00"_s);
        row("negative count acts as 0", 1234.5, -1, u"1,235"_s);
        row("widened single", double(2.3f), 2, u"2.30"_s);
        row("tie to even, down", 0.03125, 2, u"0.03"_s);
        row("tie to even, up", -0.09375, 3, u"-0.094"_s);
        row("sixteen digits", 922337203685477.5, 1, u"922,337,203,685,478.0"_s);
        row("past the range", 1e15, 2, u"1,000,000,000,000,000.00"_s);
        row("infinity", Infinity, 2, u"Overflow"_s);
        row("nan", std::numeric_limits<double>::quiet_NaN(), 2, u"Overflow"_s);
        row("amount below half", qint64(12349), 2, u"1.23"_s);
        row("amount, negative half", qint64(-12350), 2, u"-1.24"_s);
        row("amount, negative to zero", qint64(-49), 2, u"0.00"_s);
        row("amount, carry", qint64(99999950), 2, u"10,000.00"_s);
        row("amount, padded", qint64(1234500), 6, u"123.450000"_s);
        row("amount, largest", MaxUnits, 4, u"922,337,203,685,477.5807"_s);
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
        row("fractions", u"2.5"_s, u"0.333"_s, u"0.83"_s);
        row("half a cent, credit", u"0.5"_s, u"-0.01"_s, u"-0.01"_s);
        row("untidied price", u"1"_s, u"1.005"_s, u"1.01"_s);
        row("empty price", u"3"_s, u""_s, u"0.00"_s);
        row("grouped", u"1,500"_s, u"2"_s, u"3,000.00"_s);
        row("every digit counts", u"0.1111111111111111111"_s, u"9"_s, u"1.00"_s);
        row("wide factors", u"12345678901234567890000"_s, u"0.0000000000000000001"_s, u"1,234.57"_s);
        row("largest", u"922337203685477.58"_s, u"1"_s, u"922,337,203,685,477.58"_s);
        row("past the largest", u"922337203685477.59"_s, u"-1"_s, u"Overflow"_s);
        row("twenty significant digits", u"1.0000000000000000001"_s, u"0"_s, u"Overflow"_s);
    }
    void lineTotal()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QTEST(outcome([&] { return FormatAmount(LineTotal(quantity, price), 2); }), "expected");
    }

    void amountArithmetic()
    {
        const Amount largest = Amount::fromUnits(MaxUnits), smallest = Amount::fromUnits(MinUnits);
        const Amount unit = Amount::fromUnits(1);
        QCOMPARE((largest + smallest).units(), qint64(-1));
        QCOMPARE((smallest - (smallest + unit)).units(), qint64(-1));
        QVERIFY(smallest < unit && unit <= unit && largest > unit);
        const auto units = [](Amount a) { return QString::number(a.units()); };
        QCOMPARE(outcome([&] { return units(largest + unit); }), u"Overflow"_s);
        QCOMPARE(outcome([&] { return units(smallest - unit); }), u"Overflow"_s);
        QCOMPARE(outcome([&] { return units(Amount() - smallest); }), u"Overflow"_s);
    }
};

QTEST_APPLESS_MAIN(NumbersTest)
#include "tst_numbers.moc"
