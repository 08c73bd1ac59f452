// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/clstotals.h"
#include "invoice/numbers.h"
#include "invoice/runtimeerror.h"
#include "invoice/totals.h"

#include <QTest>

using namespace invoice;
using namespace Qt::StringLiterals;

namespace {

QStringList words(const QString &text)
{
    return text.split(u' ', Qt::SkipEmptyParts);
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

class TotalsTest : public QObject
{
    Q_OBJECT

private slots:
    void figures_data()
    {
        QTest::addColumn<QString>("in");
        // s1, discount, tax, sub total, total, s2, balance ("-": left as it was), then the error
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const QString &in, const QString &expected) {
            QTest::newRow(name) << in << expected;
        };
        const QString huge = u"1,000,000,000,000,000"_s;
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
        row("overflow: taxed shipping", u"10.00* | 0 0 %1 0 0 | 1 10 1"_s.arg(huge), u"0.00 0.00 - - - - - Overflow"_s);
        row("overflow: untaxed shipping", u"10.00* | 0 0 %1 0 0 | 0 10 1"_s.arg(huge),
            u"0.00 0.00 1.00 10.00 - - - Overflow"_s);
        row("overflow: balance", u"10.00* | 0 0 0 0 -922,337,203,685,477 | 0 10 1"_s,
            u"0.00 0.00 1.00 10.00 11.00 0.00 - Overflow"_s);
    }

    void figures()
    {
        QFETCH(QString, in);
        const Amount untouched = Amount::fromUnits(123); // no computed figure has part of a cent
        TotalsFigures f{untouched, untouched, untouched, untouched, untouched, untouched, untouched};
        QString error;
        try {
            CalculateTotals(invoiceFrom(in), f);
        } catch (const RuntimeError &e) {
            error = e.description();
        }
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
        // A failing total: the figures before it are new, the others kept.
        source.input = invoiceFrom(u"20.00* 5.50 5.97* | 10 5 1,000,000,000,000,000 2 20.00 | 0 17.5 1"_s);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, totals.Calculate());
        QCOMPARE(shown(totals), words(u"3.15 1.73 4.75 32.89 42.34 0.85 23.19"_s));
    }
};

QTEST_APPLESS_MAIN(TotalsTest)
#include "tst_totals.moc"
