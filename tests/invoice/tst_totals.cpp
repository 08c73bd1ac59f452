// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/clstotals.h"
#include "invoice/numbers.h"
#include "invoice/runtimeerror.h"
#include "invoice/totals.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using invoice::Amount;
using invoice::CalculateTotals;
using invoice::clsTotals;
using invoice::FormatAmount;
using invoice::NumericAmount;
using invoice::RuntimeError;
using invoice::TotalsFigures;
using invoice::TotalsInput;
using invoice::TotalsSource;

using namespace Qt::StringLiterals;

namespace {

QStringList words(QStringView text)
{
    return text.toString().split(u' ', Qt::SkipEmptyParts);
}

// An invoice in one line: line totals ("*" marks a taxed line) | surcharge 1,
// discount, shipping, surcharge 2, received | SHTax, tax rate, TaxCharge.
TotalsInput invoiceFrom(const QString &text)
{
    const QStringList part = text.split(u'|');
    const QStringList lines = words(part[0]), box = words(part[1]), setting = words(part[2]);
    TotalsInput in;
    for (size_t i = 0; i < size_t(lines.size()); ++i) {
        in.taxable[i] = lines[i].endsWith(u'*');
        in.lineTotals[i] = lines[i].chopped(in.taxable[i] ? 1 : 0);
    }
    in.surcharge1 = box[0];
    in.discount = box[1];
    in.shipping = box[2];
    in.surcharge2 = box[3];
    in.received = box[4];
    in.shTax = setting[0].toInt();
    in.taxValue = NumericAmount(setting[1]);
    in.taxCharge = setting[2].toInt();
    return in;
}

const QString WorkedExample = u"20.00* 5.50 5.97* | 10 5 4.00 2 20.00 | %1 17.5 %2"_s;

// The figures in the order they are computed.
QList<Amount> inOrder(const TotalsFigures &f)
{
    return {f.surcharge1, f.discount, f.tax, f.subTotal, f.total, f.surcharge2, f.balance};
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

} // namespace

class TotalsTest : public QObject
{
    Q_OBJECT

private slots:
    void figures_data()
    {
        QTest::addColumn<QString>("in");
        // s1, discount, tax, sub total, total, s2, balance ("-": left as it was), then the error
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, QStringView in, QStringView expected) {
            QTest::newRow(name) << in.toString() << expected.toString();
        };
        const QString huge = u"1,000,000,000,000,000"_s;
        row("worked example", WorkedExample.arg(1).arg(1), u"3.15 1.73 5.45 32.89 42.34 0.85 23.19");
        row("shipping untaxed", WorkedExample.arg(0).arg(1), u"3.15 1.73 4.75 32.89 41.64 0.83 22.47");
        row("tax not charged", WorkedExample.arg(1).arg(0), u"3.15 1.73 0.00 32.89 36.89 0.74 17.63");
        row("blank invoice", u"| 0.00 0.00 0.00 0.00 0.00 | 1 17.5 1", u"0.00 0.00 0.00 0.00 0.00 0.00 0.00");
        row("cleared tax box", u"100.00 | 0 0 0 0 0 | 0 10 1", u"0.00 0.00 0.00 100.00 100.00 0.00 100.00");
        row("separators, negative balance", u"1,234.50 | 0 0 0 0 1,500.00 | 0 5 1",
            u"0.00 0.00 0.00 1,234.50 1,234.50 0.00 -265.50");
        row("15-digit half of a surcharge", u"1.15 | 50 0 0 0 0 | 0 5 1", u"0.58 0.00 0.00 1.73 1.73 0.00 1.73");
        row("stored rate taken exactly", u"15.00* | 0 0 0 0 0 | 0 2.3 1", u"0.00 0.00 0.35 15.00 15.35 0.00 15.35");
        row("credit line, half cent of tax", u"-10.05* | 0 0 0 0 0 | 0 10 1",
            u"0.00 0.00 -1.01 -10.05 -11.06 0.00 -11.06");
        // Beyond the amount range: the earlier figures are updated, the rest untouched.
        row("overflow: sum of lines", u"900,000,000,000,000 900,000,000,000,000 | 0 0 0 0 0 | 0 10 1",
            u"- - - - - - - Overflow");
        row("overflow: surcharge 1", u"900,000,000,000 | 1000000 0 0 0 0 | 0 10 1", u"- - - - - - - Overflow");
        row("overflow: taxed shipping", u"10.00* | 0 0 %1 0 0 | 1 10 1"_s.arg(huge), u"0.00 0.00 - - - - - Overflow");
        row("overflow: untaxed shipping", u"10.00* | 0 0 %1 0 0 | 0 10 1"_s.arg(huge),
            u"0.00 0.00 1.00 10.00 - - - Overflow");
        row("overflow: surcharge 2", u"10.00* | 0 0 0 %1 0 | 0 10 1"_s.arg(huge + huge),
            u"0.00 0.00 1.00 10.00 11.00 - - Overflow");
        row("overflow: balance", u"10.00* | 0 0 0 0 -922,337,203,685,477 | 0 10 1",
            u"0.00 0.00 1.00 10.00 11.00 0.00 - Overflow");
    }

    void figures()
    {
        QFETCH(QString, in);
        const Amount untouched = Amount::fromUnits(123); // no computed figure has part of a cent
        TotalsFigures figures{untouched, untouched, untouched, untouched, untouched, untouched, untouched};
        QString error;
        try {
            CalculateTotals(invoiceFrom(in), figures);
        } catch (const RuntimeError &e) {
            error = e.description();
        }
        QStringList result;
        for (const Amount figure : inOrder(figures))
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
        QCOMPARE(shown(totals), words(u"3.15 1.73 5.45 32.89 42.34 0.85 23.19"));
        // The tax reader follows the stored setting at once; the rest waits for Calculate.
        source.input.taxCharge = 0;
        QCOMPARE(shown(totals), words(u"3.15 1.73 0.00 32.89 42.34 0.85 23.19"));
        totals.Calculate();
        QCOMPARE(totals.Total(), u"36.89"_s);
        // A failing total: the figures before it are new, the others kept.
        source.input = invoiceFrom(u"20.00* 5.50 5.97* | 10 5 1,000,000,000,000,000 2 20.00 | 0 17.5 1"_s);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, totals.Calculate());
        QCOMPARE(shown(totals), words(u"3.15 1.73 4.75 32.89 36.89 0.74 17.63"));
    }

    // Whatever the input: the figures are whole cents, they add up as the
    // totals column says, tax is 0 unless charged, and the order of the
    // lines does not matter.
    void randomInvoices()
    {
        QRandomGenerator random(20260603);
        const auto money = [&](int maxCents) {
            const qint64 cents = random.bounded(maxCents);
            return random.bounded(2) ? FormatAmount(Amount::fromUnits(cents * 100), 2)
                                     : QString::number(cents / 100.0, 'f', 2);
        };
        for (int run = 0; run < 4000; ++run) {
            QStringList lines; // some credits, some taxed, the others left blank
            for (int i = 0; i < 12; ++i) {
                if (const int kind = random.bounded(8); kind >= 2)
                    lines << (kind == 2 ? u"-"_s : QString()) + money(100'000'000)
                            + (random.bounded(2) ? u"*"_s : QString());
            }
            const bool whole = random.bounded(2); // whole percentages
            const auto percent = [&] { return whole ? QString::number(random.bounded(101)) : money(10'001); };
            const QString text = u"%1 | %2 %3 %4 %5 %6 | %7 %8 %9"_s
                .arg(lines.join(u' '), percent(), percent(), money(1'000'000), percent(), money(200'000'000))
                .arg(random.bounded(2)).arg(random.bounded(10'001) / 100.0).arg(random.bounded(-1, 3));
            const QByteArray context = text.toUtf8();
            const TotalsInput in = invoiceFrom(text);
            TotalsFigures f;
            CalculateTotals(in, f);
            Amount sum;
            for (const QString &line : in.lineTotals)
                sum += NumericAmount(line);
            QVERIFY2(f.balance == f.total + f.surcharge2 - NumericAmount(in.received), context);
            QVERIFY2(f.subTotal == sum + f.surcharge1 - f.discount, context);
            if (in.taxCharge != 1)
                QVERIFY2(f.tax == Amount() && f.total == f.subTotal + NumericAmount(in.shipping), context);
            for (const Amount figure : inOrder(f))
                QVERIFY2(figure.units() % 100 == 0, context);

            // Blank lines, at the end above, land anywhere here.
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
