// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/clstotals.h"
#include "invoice/numbers.h"
#include "invoice/runtimeerror.h"
#include "invoice/totals.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TotalsInput)

namespace {

QStringList words(const QString &text)
{
    return text.split(u' ', Qt::SkipEmptyParts);
}

// An invoice in one line: line totals with their tax flags ("T" ticked), then
// surcharge 1, discount, shipping, surcharge 2 and received, blank-separated.
TotalsInput invoice(const QString &lines, const QString &taxed, const QString &boxes, int shTax,
                    double taxValue, int taxCharge)
{
    TotalsInput in;
    const QStringList lineTotals = words(lines);
    for (qsizetype i = 0; i < lineTotals.size(); ++i) {
        in.lineTotals[size_t(i)] = lineTotals[i];
        in.taxable[size_t(i)] = taxed.at(i) == u'T';
    }
    const QStringList box = words(boxes);
    in.surcharge1 = box[0];
    in.discount = box[1];
    in.shipping = box[2];
    in.surcharge2 = box[3];
    in.received = box[4];
    in.shTax = shTax;
    in.taxValue = taxValue;
    in.taxCharge = taxCharge;
    return in;
}

TotalsInput workedExample(int shTax = 1, int taxCharge = 1)
{
    return invoice(u"20.00 5.50 5.97"_s, u"TFT"_s, u"10 5 4.00 2 20.00"_s, shTax, 17.5, taxCharge);
}

// The figures in the order they are computed.
QList<Amount> inOrder(const TotalsFigures &f)
{
    return {f.surcharge1, f.discount, f.tax, f.subTotal, f.total, f.surcharge2, f.balance};
}

QStringList texts(const QList<Amount> &amounts)
{
    QStringList result;
    for (const Amount amount : amounts)
        result << FormatAmount(amount, 2);
    return result;
}

class FakeSource : public TotalsSource
{
public:
    TotalsInput totalsInput() const override { return input; }
    int taxCharge() const override { return input.taxCharge; }
    TotalsInput input;
};

QStringList shown(const clsTotals &t)
{
    return {t.Surcharge1(), t.Discount(), t.Tax(), t.SubTotal(), t.Total(), t.Surcharge2(), t.Balance()};
}

// The figures as a double-precision procedure gets them: products in
// doubles, each rounding through a 15-digit decimal. It agrees with exact
// arithmetic wherever the exact products need no more than 15 digits.
TotalsFigures doubleReference(const TotalsInput &in)
{
    const auto read = [](const QString &text) { return Amount::fromDouble(NumericValue(text)); };
    const auto value = [](Amount a) { return double(a.units()) / 10000; };
    const auto rounded = [](double x) { return NumericAmount(FormatAmount(x, 2)); };
    const auto percent = [&](const QString &text) { return value(read(text)) / 100; };
    Amount lines, base;
    for (size_t i = 0; i < 12; ++i) {
        lines += read(in.lineTotals[i]);
        base += in.taxable[i] ? read(in.lineTotals[i]) : Amount();
    }
    TotalsFigures f;
    f.surcharge1 = rounded(value(lines) * percent(in.surcharge1));
    base = rounded(value(base + Amount::fromDouble(value(base) * percent(in.surcharge1))));
    f.discount = rounded(value(lines + f.surcharge1) * percent(in.discount));
    base = rounded(value(base - Amount::fromDouble(value(base) * percent(in.discount))));
    base += in.shTax == 1 ? read(in.shipping) : Amount();
    f.tax = in.taxCharge == 1 ? rounded(value(base) * (in.taxValue / 100)) : Amount();
    f.subTotal = rounded(value(lines + f.surcharge1 - f.discount));
    f.total = rounded(value(f.subTotal + read(in.shipping) + f.tax));
    f.surcharge2 = rounded(value(f.total) * percent(in.surcharge2));
    f.balance = rounded(value(f.total + f.surcharge2 - read(in.received)));
    return f;
}

} // namespace

class TotalsTest : public QObject
{
    Q_OBJECT

private slots:
    void figures_data()
    {
        const QString zeros = u"0 0 0 0 0"_s;
        QTest::addColumn<TotalsInput>("in");
        QTest::addColumn<QString>("expected"); // s1, discount, tax, sub total, total, s2, balance
        QTest::newRow("worked example") << workedExample() << u"3.15 1.73 5.45 32.89 42.34 0.85 23.19"_s;
        QTest::newRow("shipping untaxed") << workedExample(0, 1) << u"3.15 1.73 4.75 32.89 41.64 0.83 22.47"_s;
        QTest::newRow("tax not charged") << workedExample(1, 0) << u"3.15 1.73 0.00 32.89 36.89 0.74 17.63"_s;
        QTest::newRow("tax charge 2") << workedExample(1, 2) << u"3.15 1.73 0.00 32.89 36.89 0.74 17.63"_s;
        QTest::newRow("blank invoice")
            << invoice({}, {}, u"0.00 0.00 0.00 0.00 0.00"_s, 1, 17.5, 1)
            << u"0.00 0.00 0.00 0.00 0.00 0.00 0.00"_s;
        QTest::newRow("cleared tax box")
            << invoice(u"100.00"_s, u"F"_s, zeros, 0, 10, 1) << u"0.00 0.00 0.00 100.00 100.00 0.00 100.00"_s;
        QTest::newRow("separators, negative balance")
            << invoice(u"1,234.50"_s, u"F"_s, u"0 0 0 0 1,500.00"_s, 0, 5, 1)
            << u"0.00 0.00 0.00 1,234.50 1,234.50 0.00 -265.50"_s;
        QTest::newRow("15-digit half of a surcharge")
            << invoice(u"1.15"_s, u"F"_s, u"50 0 0 0 0"_s, 0, 5, 1) << u"0.58 0.00 0.00 1.73 1.73 0.00 1.73"_s;
        QTest::newRow("stored rate taken exactly")
            << invoice(u"15.00"_s, u"T"_s, zeros, 0, 2.3, 1) << u"0.00 0.00 0.35 15.00 15.35 0.00 15.35"_s;
        QTest::newRow("credit line, half cent of tax")
            << invoice(u"-10.05"_s, u"T"_s, zeros, 0, 10, 1) << u"0.00 0.00 -1.01 -10.05 -11.06 0.00 -11.06"_s;
    }

    void figures()
    {
        QFETCH(TotalsInput, in);
        QFETCH(QString, expected);
        TotalsFigures figures;
        CalculateTotals(in, figures);
        QCOMPARE(texts(inOrder(figures)), words(expected));
    }

    void overflow_data()
    {
        const QString huge = u"1,000,000,000,000,000"_s;
        QTest::addColumn<TotalsInput>("in");
        QTest::addColumn<QString>("updated"); // the figures computed before the failing step
        QTest::newRow("sum of lines")
            << invoice(u"900,000,000,000,000 900,000,000,000,000"_s, u"FF"_s, u"0 0 0 0 0"_s, 0, 10, 1)
            << QString();
        QTest::newRow("surcharge 1 product")
            << invoice(u"900,000,000,000"_s, u"F"_s, u"1000000 0 0 0 0"_s, 0, 10, 1) << QString();
        QTest::newRow("taxed shipping")
            << invoice(u"10.00"_s, u"T"_s, u"0 0 %1 0 0"_s.arg(huge), 1, 10, 1) << u"0.00 0.00"_s;
        QTest::newRow("untaxed shipping")
            << invoice(u"10.00"_s, u"T"_s, u"0 0 %1 0 0"_s.arg(huge), 0, 10, 1) << u"0.00 0.00 1.00 10.00"_s;
        QTest::newRow("surcharge 2 box")
            << invoice(u"10.00"_s, u"T"_s, u"0 0 0 %1 0"_s.arg(huge + huge), 0, 10, 1)
            << u"0.00 0.00 1.00 10.00 11.00"_s;
        QTest::newRow("balance") << invoice(u"10.00"_s, u"T"_s, u"0 0 0 0 -922,337,203,685,477"_s, 0, 10, 1)
                                 << u"0.00 0.00 1.00 10.00 11.00 0.00"_s;
    }

    void overflow()
    {
        QFETCH(TotalsInput, in);
        QFETCH(QString, updated);
        const Amount untouched = Amount::fromUnits(123); // no computed figure has part of a cent
        TotalsFigures figures{untouched, untouched, untouched, untouched, untouched, untouched, untouched};
        try {
            CalculateTotals(in, figures);
            QFAIL("expected an Overflow error");
        } catch (const RuntimeError &error) {
            QCOMPARE(error.description(), u"Overflow"_s);
        }
        const QList<Amount> after = inOrder(figures);
        const qsizetype count = words(updated).size();
        QCOMPARE(texts(after.first(count)), words(updated));
        QCOMPARE(after.sliced(count), QList<Amount>(7 - count, untouched));
    }

    void calculatorBeforeCalculate()
    {
        FakeSource source;
        source.input.taxCharge = 1;
        QCOMPARE(shown(clsTotals(source)), QStringList(7, u"0.00"_s));
    }

    void calculatorFollowsSource()
    {
        FakeSource source;
        source.input = workedExample();
        clsTotals totals(source);
        totals.Calculate();
        QCOMPARE(shown(totals), words(u"3.15 1.73 5.45 32.89 42.34 0.85 23.19"_s));
        // The tax reader follows the stored setting at once; the rest waits for Calculate.
        source.input.taxCharge = 0;
        QCOMPARE(shown(totals), words(u"3.15 1.73 0.00 32.89 42.34 0.85 23.19"_s));
        totals.Calculate();
        QCOMPARE(totals.Total(), u"36.89"_s);
    }

    void calculatorKeepsFiguresOfFailedRun()
    {
        FakeSource source;
        source.input = workedExample();
        clsTotals totals(source);
        totals.Calculate();
        source.input.shTax = 0;
        source.input.shipping = u"1,000,000,000,000,000"_s;
        QVERIFY_THROWS_EXCEPTION(RuntimeError, totals.Calculate());
        QCOMPARE(shown(totals), words(u"3.15 1.73 4.75 32.89 42.34 0.85 23.19"_s));
    }

    // Whatever the input: the figures are whole cents, they add up as the
    // totals column says, tax is 0 unless charged, the order of the lines
    // does not matter, and with whole percentages the exact figures are
    // those of double precision.
    void randomInvoices()
    {
        QRandomGenerator random(20260603);
        const auto money = [&](int maxCents) {
            const qint64 cents = random.bounded(maxCents);
            return random.bounded(2) ? FormatAmount(Amount::fromUnits(cents * 100), 2)
                                     : QString::number(cents / 100.0, 'f', 2);
        };
        for (int run = 0; run < 4000; ++run) {
            TotalsInput in;
            for (size_t i = 0; i < 12; ++i) {
                const int kind = random.bounded(8);
                const QString sign = kind == 2 ? u"-"_s : QString(); // a credit line
                in.lineTotals[i] = kind < 2 ? QString() : sign + money(100'000'000);
                in.taxable[i] = random.bounded(2);
            }
            const bool wholePercentages = random.bounded(2);
            for (QString *percentage : {&in.surcharge1, &in.discount, &in.surcharge2})
                *percentage = wholePercentages ? QString::number(random.bounded(101)) : money(10'001);
            in.shipping = money(1'000'000);
            in.received = money(200'000'000);
            in.shTax = random.bounded(2);
            in.taxValue = random.bounded(10'001) / 100.0;
            in.taxCharge = random.bounded(-1, 3);

            TotalsFigures f;
            CalculateTotals(in, f);
            Amount lines;
            for (const QString &line : in.lineTotals)
                lines += NumericAmount(line);
            const QByteArray context = u"%1 | %2 %3 %4 %5 %6 | %7 %8 %9"_s
                .arg(QStringList(in.lineTotals.begin(), in.lineTotals.end()).join(u' '), in.surcharge1,
                     in.discount, in.shipping, in.surcharge2, in.received)
                .arg(in.shTax).arg(in.taxValue).arg(in.taxCharge).toUtf8();
            QVERIFY2(f.balance == f.total + f.surcharge2 - NumericAmount(in.received), context);
            QVERIFY2(f.subTotal == lines + f.surcharge1 - f.discount, context);
            if (in.taxCharge != 1)
                QVERIFY2(f.tax == Amount() && f.total == f.subTotal + NumericAmount(in.shipping), context);
            for (const Amount figure : inOrder(f))
                QVERIFY2(figure.units() % 100 == 0, context);
            if (wholePercentages)
                QVERIFY2(inOrder(doubleReference(in)) == inOrder(f), context);

            TotalsInput shuffled = in;
            std::array<size_t, 12> order{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
            std::shuffle(order.begin(), order.end(), random);
            for (size_t i = 0; i < 12; ++i) {
                shuffled.lineTotals[i] = in.lineTotals[order[i]];
                shuffled.taxable[i] = in.taxable[order[i]];
            }
            TotalsFigures reordered;
            CalculateTotals(shuffled, reordered);
            QVERIFY2(inOrder(reordered) == inOrder(f), context);
        }
    }
};

QTEST_APPLESS_MAIN(TotalsTest)
#include "tst_totals.moc"
