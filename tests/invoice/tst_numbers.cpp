// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/numbers.h"
#include "invoice/runtimeerror.h"

#include <QTest>

#include <limits>

using invoice::Amount;
using invoice::FormatAmount;
using invoice::IsNumeric;
using invoice::LineTotal;
using invoice::NumericAmount;
using invoice::NumericValue;
using invoice::RuntimeError;

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

QString units(Amount amount)
{
    return QString::number(amount.units());
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
        const auto row = [](const char *name, QStringView text, double value, bool numeric, QStringView amount) {
            QTest::newRow(name) << text.toString() << value << numeric << amount.toString();
        };
        row("empty", u"", 0, false, u"0");
        row("lone point", u".", 0, false, u"0");
        row("lone minus", u"-", 0, false, u"0");
        row("two signs", u"--5", 0, false, u"0");
        row("plus", u"+7", 7, false, u"70000");
        row("minus behind", u"5-", 5, false, u"50000");
        row("formatted", u"1,234.50", 1234.5, true, u"12345000");
        row("program's own negative", u"-1,500.00", -1500, true, u"-15000000");
        row("blanks at the ends", u"\t12 \n", 12, true, u"120000");
        row("blanks inside", u" \t- 1 2\r\n", -12, false, u"-120000");
        row("trailing garbage", u"-12.5abc", -12.5, false, u"-125000");
        row("two points", u"1.2.3", 1.2, false, u"12000");
        row("no exponent", u"1e5", 1, false, u"10000");
        row("leading point", u"-.5", -0.5, true, u"-5000");
        row("separator first", u",5", 5, false, u"50000");
        row("separator after point", u"1.,5", 1.5, false, u"15000");
        row("separator before point", u"1,.5", 1.5, false, u"15000");
        row("tie to even, down", u"0.00005", 5e-5, true, u"0");
        row("tie to even, up", u"-0.00015", -1.5e-4, true, u"-2");
        row("above the tie", u"0.0000500000000000000001", 5e-5, true, u"1");
        row("leading zeros", QString(40, u'0') + u"1.5"_s, 1.5, true, u"15000");
        row("largest", u"922,337,203,685,477.5807", 922337203685477.5807, true, QString::number(MaxUnits));
        row("smallest", u"-922337203685477.5808", -922337203685477.5808, true, QString::number(MinUnits));
        row("past the largest", u"922337203685477.5808", 922337203685477.5808, true, u"Overflow");
        row("rounds past the largest", u"922337203685477.58075", 922337203685477.58075, true, u"Overflow");
        row("thirty digits", u"123456789012345678901234567890", 1.2345678901234568e29, true, u"Overflow");
        row("beyond double", u"1"_s + QString(400, u'0'), Infinity, true, u"Overflow");
    }

    void reading()
    {
        QFETCH(QString, text);
        QTEST(NumericValue(text), "value");
        QTEST(IsNumeric(text), "numeric");
        QTEST(outcome([&] { return units(NumericAmount(text)); }), "amount");
    }

    // A double written by FormatAmount: its nearest 15 digits, rounded.
    void formatDouble_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("formatted");
        const auto row = [](const char *name, double value, int decimals, QStringView text) {
            QTest::newRow(name) << value << decimals << text.toString();
        };
        row("half of 0.575", 0.575, 2, u"0.58");
        row("half of 1.005", 1.005, 2, u"1.01");
        row("negative half", -2.5, 0, u"-3");
        row("carry into groups", 999999.995, 2, u"1,000,000.00");
        row("rounds to zero", -0.004, 2, u"0.00");
        row("binary noise", 0.1 + 0.2, 2, u"0.30");
        row("negative count acts as 0", 1234.5, -1, u"1,235");
        row("widened single", double(2.3f), 2, u"2.30");
        row("tie to even, down", 0.03125, 2, u"0.03");
        row("tie to even, up", -0.09375, 3, u"-0.094");
        row("sixteen digits", 922337203685477.5, 1, u"922,337,203,685,478.0");
        row("past the range", 1e15, 2, u"1,000,000,000,000,000.00");
        row("infinity", Infinity, 2, u"Overflow");
        row("nan", std::numeric_limits<double>::quiet_NaN(), 2, u"Overflow");
    }

    void formatDouble()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QTEST(outcome([&] { return FormatAmount(value, decimals); }), "formatted");
    }

    void formatAmount_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("below half") << qint64(12349) << 2 << u"1.23"_s;
        QTest::newRow("half") << qint64(12350) << 2 << u"1.24"_s;
        QTest::newRow("negative half") << qint64(-12350) << 2 << u"-1.24"_s;
        QTest::newRow("negative to zero") << qint64(-49) << 2 << u"0.00"_s;
        QTest::newRow("carry") << qint64(99999950) << 2 << u"10,000.00"_s;
        QTest::newRow("padded") << qint64(1234500) << 6 << u"123.450000"_s;
        QTest::newRow("largest") << MaxUnits << 4 << u"922,337,203,685,477.5807"_s;
        QTest::newRow("smallest in cents") << MinUnits << 2 << u"-922,337,203,685,477.58"_s;
    }

    void formatAmount()
    {
        QFETCH(qint64, units);
        QFETCH(int, decimals);
        QTEST(FormatAmount(Amount::fromUnits(units), decimals), "expected");
    }

    void lineTotal_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, QStringView quantity, QStringView price, QStringView expected) {
            QTest::newRow(name) << quantity.toString() << price.toString() << expected.toString();
        };
        row("beyond single precision", u"1", u"123456.78", u"123,456.78");
        row("fractions", u"2.5", u"0.333", u"0.83");
        row("half a cent, credit", u"0.5", u"-0.01", u"-0.01");
        row("untidied price", u"1", u"1.005", u"1.01");
        row("empty price", u"3", u"", u"0.00");
        row("grouped", u"1,500", u"2", u"3,000.00");
        row("every digit counts", u"0.1111111111111111111", u"9", u"1.00");
        row("wide factors", u"12345678901234567890000", u"0.0000000000000000001", u"1,234.57");
        row("largest", u"922337203685477.58", u"1", u"922,337,203,685,477.58");
        row("past the largest", u"922337203685477.59", u"-1", u"Overflow");
        row("forty digits", QString(40, u'7'), u"1", u"Overflow");
        row("twenty significant digits", u"1.0000000000000000001", u"0", u"Overflow");
    }

    void lineTotal()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QTEST(outcome([&] { return FormatAmount(LineTotal(quantity, price), 2); }), "expected");
    }

    void amountArithmetic()
    {
        const Amount largest = Amount::fromUnits(MaxUnits);
        const Amount smallest = Amount::fromUnits(MinUnits);
        const Amount unit = Amount::fromUnits(1);
        QCOMPARE((largest + smallest).units(), qint64(-1));
        QCOMPARE((smallest - (smallest + unit)).units(), qint64(-1));
        QVERIFY(smallest < unit && unit <= unit && largest > unit);
        QCOMPARE(outcome([&] { return units(largest + unit); }), u"Overflow"_s);
        QCOMPARE(outcome([&] { return units(smallest - unit); }), u"Overflow"_s);
        QCOMPARE(outcome([&] { return units(Amount() - smallest); }), u"Overflow"_s);
    }
};

QTEST_APPLESS_MAIN(NumbersTest)
#include "tst_numbers.moc"
