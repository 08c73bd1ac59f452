// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/numbers.h"
#include "invoice/runtimeerror.h"

#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 MaxUnits = std::numeric_limits<qint64>::max();
constexpr qint64 MinUnits = std::numeric_limits<qint64>::min();

// Runs `operation` and checks that it fails with the user-facing "Overflow".
template<typename Operation>
void verifyOverflow(Operation operation)
{
    try {
        operation();
        QFAIL("expected an Overflow error");
    } catch (const RuntimeError &error) {
        QCOMPARE(error.description(), u"Overflow"_s);
    }
}

} // namespace

class NumbersTest : public QObject
{
    Q_OBJECT

private slots:
    void formatDouble_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("half of 0.575") << 0.575 << 2 << u"0.58"_s;
        QTest::newRow("half of 1.005") << 1.005 << 2 << u"1.01"_s;
        QTest::newRow("half of 2.675") << 2.675 << 2 << u"2.68"_s;
        QTest::newRow("negative half") << -2.5 << 0 << u"-3"_s;
        QTest::newRow("carry into groups") << 999999.995 << 2 << u"1,000,000.00"_s;
        QTest::newRow("groups") << 1234.5 << 2 << u"1,234.50"_s;
        QTest::newRow("negative groups") << -1234567.125 << 2 << u"-1,234,567.13"_s;
        QTest::newRow("zero") << 0.0 << 2 << u"0.00"_s;
        QTest::newRow("rounds to zero") << -0.004 << 2 << u"0.00"_s;
        QTest::newRow("binary noise") << 0.1 + 0.2 << 2 << u"0.30"_s;
        QTest::newRow("negative count acts as 0") << 1234.5 << -1 << u"1,235"_s;
        QTest::newRow("beyond 15 digits") << 1e20 << 2 << u"100,000,000,000,000,000,000.00"_s;
    }

    void formatDouble()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QTEST(FormatAmount(value, decimals), "expected");
    }

    void formatNonFinite()
    {
        for (const double value : {std::numeric_limits<double>::infinity(),
                                   -std::numeric_limits<double>::infinity(),
                                   std::numeric_limits<double>::quiet_NaN()})
            verifyOverflow([value] { FormatAmount(value, 2); });
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

    void numericValue_data()
    {
        const QString zeros400(400, u'0');
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("lone point") << u"."_s << 0.0;
        QTest::newRow("lone minus") << u"-"_s << 0.0;
        QTest::newRow("two signs") << u"--5"_s << 0.0;
        QTest::newRow("formatted") << u"1,234.50"_s << 1234.5;
        QTest::newRow("plus") << u"+7"_s << 7.0;
        QTest::newRow("blanks anywhere") << u" \t- 1 2\r\n"_s << -12.0;
        QTest::newRow("trailing garbage") << u"12.5abc"_s << 12.5;
        QTest::newRow("two points") << u"1.2.3"_s << 1.2;
        QTest::newRow("no exponent") << u"1e5"_s << 1.0;
        QTest::newRow("leading point") << u"-.5"_s << -0.5;
        QTest::newRow("thirty digits") << u"123456789012345678901234567890"_s << 1.2345678901234568e29;
        QTest::newRow("beyond double") << u"1"_s + zeros400 << std::numeric_limits<double>::infinity();
    }

    void numericValue()
    {
        QFETCH(QString, text);
        QTEST(NumericValue(text), "expected");
    }

    void isNumeric_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("lone point") << u"."_s << false;
        QTest::newRow("lone minus") << u"-"_s << false;
        QTest::newRow("blanks at the ends") << u"\t12 \n"_s << true;
        QTest::newRow("blank inside") << u"1 2"_s << false;
        QTest::newRow("program's own") << u"-1,500.00"_s << true;
        QTest::newRow("two points") << u"1.2.3"_s << false;
        QTest::newRow("trailing garbage") << u"12a"_s << false;
        QTest::newRow("plus") << u"+5"_s << false;
        QTest::newRow("minus behind") << u"5-"_s << false;
        QTest::newRow("leading point") << u"-.5"_s << true;
        QTest::newRow("separator first") << u",5"_s << false;
        QTest::newRow("separators doubled") << u"1,,5"_s << false;
        QTest::newRow("separator before point") << u"1,.5"_s << false;
    }

    void isNumeric()
    {
        QFETCH(QString, text);
        QTEST(IsNumeric(text), "expected");
    }

    void numericAmount_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("units"); // -1 marks an expected Overflow
        QTest::newRow("formatted") << u"1,234.50"_s << qint64(12345000);
        QTest::newRow("trailing garbage") << u"-3x"_s << qint64(-30000);
        QTest::newRow("tie to even, down") << u"0.00005"_s << qint64(0);
        QTest::newRow("tie to even, up") << u"-0.00015"_s << qint64(-2);
        QTest::newRow("above the tie") << u"0.0000500000000000000001"_s << qint64(1);
        QTest::newRow("leading zeros") << QString(40, u'0') + u"1.5"_s << qint64(15000);
        QTest::newRow("largest") << u"922,337,203,685,477.5807"_s << MaxUnits;
        QTest::newRow("smallest") << u"-922337203685477.5808"_s << MinUnits;
        QTest::newRow("past the largest") << u"922337203685477.5808"_s << qint64(-1);
        QTest::newRow("rounds past the largest") << u"922337203685477.58075"_s << qint64(-1);
        QTest::newRow("forty digits") << QString(40, u'9') << qint64(-1);
    }

    void numericAmount()
    {
        QFETCH(QString, text);
        QFETCH(qint64, units);
        if (units == -1)
            verifyOverflow([&] { NumericAmount(text); });
        else
            QCOMPARE(NumericAmount(text).units(), units);
    }

    void lineTotal_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("expected"); // empty marks an expected Overflow
        QTest::newRow("beyond single precision") << u"1"_s << u"123456.78"_s << u"123,456.78"_s;
        QTest::newRow("three at 19.99") << u"3"_s << u"19.99"_s << u"59.97"_s;
        QTest::newRow("fractions") << u"2.5"_s << u"0.333"_s << u"0.83"_s;
        QTest::newRow("half a cent, credit") << u"0.5"_s << u"-0.01"_s << u"-0.01"_s;
        QTest::newRow("untidied price") << u"1"_s << u"1.005"_s << u"1.01"_s;
        QTest::newRow("empty price") << u"3"_s << QString() << u"0.00"_s;
        QTest::newRow("grouped") << u"1,500"_s << u"2"_s << u"3,000.00"_s;
        QTest::newRow("every digit counts") << u"0.1111111111111111111"_s << u"9"_s << u"1.00"_s;
        QTest::newRow("wide factors") << u"12345678901234567890000"_s << u"0.0000000000000000001"_s
                                      << u"1,234.57"_s;
        QTest::newRow("largest") << u"922337203685477.58"_s << u"1"_s << u"922,337,203,685,477.58"_s;
        QTest::newRow("past the largest") << u"922337203685477.59"_s << u"-1"_s << QString();
        QTest::newRow("forty digits") << QString(40, u'7') << u"1"_s << QString();
        QTest::newRow("twenty significant digits") << u"1.0000000000000000001"_s << u"0"_s
                                                   << QString();
    }

    void lineTotal()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(QString, expected);
        if (expected.isEmpty())
            verifyOverflow([&] { LineTotal(quantity, price); });
        else
            QCOMPARE(FormatAmount(LineTotal(quantity, price), 2), expected);
    }

    void amountArithmetic()
    {
        const Amount largest = Amount::fromUnits(MaxUnits);
        const Amount smallest = Amount::fromUnits(MinUnits);
        const Amount unit = Amount::fromUnits(1);
        QCOMPARE((largest + smallest).units(), qint64(-1));
        QCOMPARE((smallest - (smallest + unit)).units(), qint64(-1));
        QVERIFY(smallest < unit && unit <= unit && largest > unit);
        verifyOverflow([&] { largest + unit; });
        verifyOverflow([&] { smallest - unit; });
        verifyOverflow([&] { Amount() - smallest; });
    }

    void fromDouble_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("units"); // -1 marks an expected Overflow
        QTest::newRow("nearest") << 0.575 << qint64(5750);
        QTest::newRow("widened single") << double(2.3f) << qint64(23000);
        QTest::newRow("tie to even, down") << 0.03125 << qint64(312);
        QTest::newRow("tie to even, up") << -0.09375 << qint64(-938);
        QTest::newRow("large") << 922337203685477.5 << qint64(9223372036854775000);
        QTest::newRow("beyond") << 1e15 << qint64(-1);
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << qint64(-1);
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << qint64(-1);
    }

    void fromDouble()
    {
        QFETCH(double, value);
        QFETCH(qint64, units);
        if (units == -1)
            verifyOverflow([&] { Amount::fromDouble(value); });
        else
            QCOMPARE(Amount::fromDouble(value).units(), units);
    }
};

QTEST_APPLESS_MAIN(NumbersTest)
#include "tst_numbers.moc"
