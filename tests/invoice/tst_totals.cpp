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

// An invoice in one line: line totals with their tax flags ("T" ticked),
// then surcharge 1, discount, shipping, surcharge 2 and received.
TotalsInput invoice(const QStringList &lines, const QString &taxed, const QStringList &boxes,
                    int shTax, double taxValue, int taxCharge)
{
    TotalsInput in;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        in.lineTotals[size_t(i)] = lines[i];
        in.taxable[size_t(i)] = taxed.at(i) == u'T';
    }
    in.surcharge1 = boxes[0];
    in.discount = boxes[1];
    in.shipping = boxes[2];
    in.surcharge2 = boxes[3];
    in.received = boxes[4];
    in.shTax = shTax;
    in.taxValue = taxValue;
    in.taxCharge = taxCharge;
    return in;
}

TotalsInput workedExample(int shTax = 1, int taxCharge = 1)
{
    return invoice({u"20.00"_s, u"5.50"_s, u"5.97"_s}, u"TFT"_s,
                   {u"10"_s, u"5"_s, u"4.00"_s, u"2"_s, u"20.00"_s}, shTax, 17.5, taxCharge);
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
    void figures_data();
    void figures();
    void overflow_data();
    void overflow();
    void calculatorBeforeCalculate();
    void calculatorFollowsSource();
    void calculatorKeepsFiguresOfFailedRun();
    void randomInvoices();
};

void TotalsTest::figures_data()
{
    const QStringList zeros{u"0.00"_s, u"0.00"_s, u"0.00"_s, u"0.00"_s, u"0.00"_s};
    QTest::addColumn<TotalsInput>("in");
    QTest::addColumn<QStringList>("expected"); // s1, discount, tax, sub total, total, s2, balance
    QTest::newRow("worked example")
        << workedExample()
        << QStringList{u"3.15"_s, u"1.73"_s, u"5.45"_s, u"32.89"_s, u"42.34"_s, u"0.85"_s, u"23.19"_s};
    QTest::newRow("shipping untaxed")
        << workedExample(0, 1)
        << QStringList{u"3.15"_s, u"1.73"_s, u"4.75"_s, u"32.89"_s, u"41.64"_s, u"0.83"_s, u"22.47"_s};
    QTest::newRow("tax not charged")
        << workedExample(1, 0)
        << QStringList{u"3.15"_s, u"1.73"_s, u"0.00"_s, u"32.89"_s, u"36.89"_s, u"0.74"_s, u"17.63"_s};
    QTest::newRow("tax charge other than 1")
        << workedExample(1, 2)
        << QStringList{u"3.15"_s, u"1.73"_s, u"0.00"_s, u"32.89"_s, u"36.89"_s, u"0.74"_s, u"17.63"_s};
    QTest::newRow("blank invoice") << invoice({}, {}, zeros, 1, 17.5, 1) << QStringList(7, u"0.00"_s);
    QTest::newRow("cleared tax box")
        << invoice({u"100.00"_s}, u"F"_s, zeros, 0, 10, 1)
        << QStringList{u"0.00"_s, u"0.00"_s, u"0.00"_s, u"100.00"_s, u"100.00"_s, u"0.00"_s, u"100.00"_s};
    QTest::newRow("separators, negative balance")
        << invoice({u"1,234.50"_s}, u"F"_s, {u"0.00"_s, u"0.00"_s, u"0.00"_s, u"0.00"_s, u"1,500.00"_s}, 0, 5, 1)
        << QStringList{u"0.00"_s, u"0.00"_s, u"0.00"_s, u"1,234.50"_s, u"1,234.50"_s, u"0.00"_s, u"-265.50"_s};
    QTest::newRow("15-digit half of a surcharge")
        << invoice({u"1.15"_s}, u"F"_s, {u"50"_s, u"0.00"_s, u"0.00"_s, u"0.00"_s, u"0.00"_s}, 0, 5, 1)
        << QStringList{u"0.58"_s, u"0.00"_s, u"0.00"_s, u"1.73"_s, u"1.73"_s, u"0.00"_s, u"1.73"_s};
    QTest::newRow("stored rate taken exactly")
        << invoice({u"15.00"_s}, u"T"_s, zeros, 0, 2.3, 1)
        << QStringList{u"0.00"_s, u"0.00"_s, u"0.35"_s, u"15.00"_s, u"15.35"_s, u"0.00"_s, u"15.35"_s};
    QTest::newRow("widened single rate")
        << invoice({u"15.00"_s}, u"T"_s, zeros, 0, double(2.3f), 1)
        << QStringList{u"0.00"_s, u"0.00"_s, u"0.35"_s, u"15.00"_s, u"15.35"_s, u"0.00"_s, u"15.35"_s};
    QTest::newRow("credit line, half cent of tax")
        << invoice({u"-10.05"_s, u""_s}, u"TT"_s, zeros, 0, 10, 1)
        << QStringList{u"0.00"_s, u"0.00"_s, u"-1.01"_s, u"-10.05"_s, u"-11.06"_s, u"0.00"_s, u"-11.06"_s};
}

void TotalsTest::figures()
{
    QFETCH(TotalsInput, in);
    TotalsFigures figures;
    CalculateTotals(in, figures);
    QTEST(texts(inOrder(figures)), "expected");
}

void TotalsTest::overflow_data()
{
    const auto boxes = [](const QString &s2, const QString &shipping, const QString &received) {
        return QStringList{u"0"_s, u"0"_s, shipping, s2, received};
    };
    const QString huge = u"1,000,000,000,000,000"_s;
    QTest::addColumn<TotalsInput>("in");
    QTest::addColumn<QStringList>("updated"); // the figures computed before the failing step
    QTest::newRow("sum of lines")
        << invoice({u"900,000,000,000,000"_s, u"900,000,000,000,000"_s}, u"FF"_s, boxes(u"0"_s, u"0"_s, u"0"_s), 0, 10, 1)
        << QStringList();
    QTest::newRow("surcharge 1 product")
        << invoice({u"900,000,000,000"_s}, u"F"_s, {u"1000000"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s}, 0, 10, 1)
        << QStringList();
    QTest::newRow("taxed shipping")
        << invoice({u"10.00"_s}, u"T"_s, boxes(u"0"_s, huge, u"0"_s), 1, 10, 1)
        << QStringList{u"0.00"_s, u"0.00"_s};
    QTest::newRow("untaxed shipping")
        << invoice({u"10.00"_s}, u"T"_s, boxes(u"0"_s, huge, u"0"_s), 0, 10, 1)
        << QStringList{u"0.00"_s, u"0.00"_s, u"1.00"_s, u"10.00"_s};
    QTest::newRow("surcharge 2 box")
        << invoice({u"10.00"_s}, u"T"_s, boxes(huge + huge, u"0"_s, u"0"_s), 0, 10, 1)
        << QStringList{u"0.00"_s, u"0.00"_s, u"1.00"_s, u"10.00"_s, u"11.00"_s};
    QTest::newRow("balance")
        << invoice({u"10.00"_s}, u"T"_s, boxes(u"0"_s, u"0"_s, u"-922,337,203,685,477"_s), 0, 10, 1)
        << QStringList{u"0.00"_s, u"0.00"_s, u"1.00"_s, u"10.00"_s, u"11.00"_s, u"0.00"_s};
}

void TotalsTest::overflow()
{
    QFETCH(TotalsInput, in);
    QFETCH(QStringList, updated);
    const Amount untouched = Amount::fromUnits(123); // no computed figure has part of a cent
    TotalsFigures figures{untouched, untouched, untouched, untouched, untouched, untouched, untouched};
    try {
        CalculateTotals(in, figures);
        QFAIL("expected an Overflow error");
    } catch (const RuntimeError &error) {
        QCOMPARE(error.description(), u"Overflow"_s);
    }
    const QList<Amount> after = inOrder(figures);
    QCOMPARE(texts(after.first(updated.size())), updated);
    QCOMPARE(after.sliced(updated.size()), QList<Amount>(7 - updated.size(), untouched));
}

void TotalsTest::calculatorBeforeCalculate()
{
    FakeSource source;
    source.input.taxCharge = 1;
    const clsTotals totals(source);
    const QStringList shown{totals.SubTotal(), totals.Surcharge1(), totals.Discount(), totals.Tax(),
                            totals.Surcharge2(), totals.Total(), totals.Balance()};
    QCOMPARE(shown, QStringList(7, u"0.00"_s));
}

void TotalsTest::calculatorFollowsSource()
{
    FakeSource source;
    source.input = workedExample();
    clsTotals totals(source);
    totals.Calculate();
    QCOMPARE((QStringList{totals.Surcharge1(), totals.Discount(), totals.Tax(), totals.SubTotal(),
                          totals.Total(), totals.Surcharge2(), totals.Balance()}),
             (QStringList{u"3.15"_s, u"1.73"_s, u"5.45"_s, u"32.89"_s, u"42.34"_s, u"0.85"_s, u"23.19"_s}));

    // The tax reader follows the stored setting at once; the rest waits for Calculate.
    source.input.taxCharge = 0;
    QCOMPARE(totals.Tax(), u"0.00"_s);
    QCOMPARE(totals.Total(), u"42.34"_s);
    totals.Calculate();
    QCOMPARE(totals.Total(), u"36.89"_s);
}

void TotalsTest::calculatorKeepsFiguresOfFailedRun()
{
    FakeSource source;
    source.input = workedExample();
    clsTotals totals(source);
    totals.Calculate();
    source.input.shTax = 0;
    source.input.shipping = u"1,000,000,000,000,000"_s;
    QVERIFY_THROWS_EXCEPTION(RuntimeError, totals.Calculate());
    QCOMPARE((QStringList{totals.Surcharge1(), totals.Discount(), totals.Tax(), totals.SubTotal(),
                          totals.Total(), totals.Surcharge2(), totals.Balance()}),
             (QStringList{u"3.15"_s, u"1.73"_s, u"4.75"_s, u"32.89"_s, u"42.34"_s, u"0.85"_s, u"23.19"_s}));
}

void TotalsTest::randomInvoices()
{
    QRandomGenerator random(20260603);
    const auto money = [&](int maxCents) {
        const Amount amount = Amount::fromUnits(qint64(random.bounded(maxCents)) * 100);
        return random.bounded(2) ? FormatAmount(amount, 2) : QString::number(amount.units() / 10000.0, 'f', 2);
    };
    const int taxCharges[] = {0, 1, 1, 2};
    for (int run = 0; run < 4000; ++run) {
        TotalsInput in;
        for (size_t i = 0; i < 12; ++i) {
            const int kind = random.bounded(8);
            in.lineTotals[i] = kind < 2 ? QString() : (kind == 2 ? u"-"_s : QString()) + money(100'000'000);
            in.taxable[i] = random.bounded(2);
        }
        const bool wholePercentages = random.bounded(2);
        QString *percentages[] = {&in.surcharge1, &in.discount, &in.surcharge2};
        for (QString *percentage : percentages)
            *percentage = wholePercentages ? QString::number(random.bounded(101)) : money(10'001);
        in.shipping = money(1'000'000);
        in.received = money(200'000'000);
        in.shTax = random.bounded(2);
        in.taxValue = random.bounded(10'001) / 100.0;
        in.taxCharge = taxCharges[random.bounded(4)];

        TotalsFigures f;
        CalculateTotals(in, f);
        Amount lines;
        for (const QString &line : in.lineTotals)
            lines += NumericAmount(line);
        const QString context = u"run %1: %2 | %3 %4 %5 %6 %7 | %8 %9 %10"_s.arg(run)
            .arg(QStringList(in.lineTotals.begin(), in.lineTotals.end()).join(u' '), in.surcharge1, in.discount,
                 in.shipping, in.surcharge2, in.received)
            .arg(in.shTax).arg(in.taxValue).arg(in.taxCharge);
        QVERIFY2(f.balance == f.total + f.surcharge2 - NumericAmount(in.received), qPrintable(context));
        QVERIFY2(f.subTotal == lines + f.surcharge1 - f.discount, qPrintable(context));
        if (in.taxCharge != 1)
            QVERIFY2(f.tax == Amount() && f.total == f.subTotal + NumericAmount(in.shipping), qPrintable(context));
        for (const Amount figure : inOrder(f))
            QVERIFY2(figure.units() % 100 == 0, qPrintable(context));
        if (wholePercentages)
            QVERIFY2(inOrder(doubleReference(in)) == inOrder(f), qPrintable(context));

        std::array<size_t, 12> order{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
        std::shuffle(order.begin(), order.end(), random);
        TotalsInput shuffled = in;
        for (size_t i = 0; i < 12; ++i) {
            shuffled.lineTotals[i] = in.lineTotals[order[i]];
            shuffled.taxable[i] = in.taxable[order[i]];
        }
        TotalsFigures reordered;
        CalculateTotals(shuffled, reordered);
        QVERIFY2(inOrder(reordered) == inOrder(f), qPrintable(context));
    }
}

QTEST_APPLESS_MAIN(TotalsTest)
#include "tst_totals.moc"
