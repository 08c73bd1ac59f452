// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/numbers.h"
#include "invoice/totals.h"

#include <benchmark/benchmark.h>

using invoice::Amount;
using invoice::CalculateTotals;
using invoice::FormatAmount;
using invoice::LineTotal;
using invoice::NumericAmount;
using invoice::TotalsFigures;
using invoice::TotalsInput;

using namespace Qt::StringLiterals;

namespace {

// Twelve filled lines, every adjustment box in use, tax on shipping.
TotalsInput fullInvoice()
{
    TotalsInput in;
    for (size_t i = 0; i < in.lineTotals.size(); ++i) {
        in.lineTotals[i] = FormatAmount(Amount::fromUnits(qint64(i + 1) * 12'345'670), 2);
        in.taxable[i] = i % 3 != 0;
    }
    in.surcharge1 = u"10.00"_s;
    in.discount = u"5.00"_s;
    in.shipping = u"1,250.00"_s;
    in.surcharge2 = u"2.00"_s;
    in.received = u"20,000.00"_s;
    in.shTax = 1;
    in.taxValue = Amount::fromUnits(175000);
    in.taxCharge = 1;
    return in;
}

void CalculateTotalsFullInvoice(benchmark::State &state)
{
    const TotalsInput in = fullInvoice();
    TotalsFigures figures;
    for (auto _ : state) {
        CalculateTotals(in, figures);
        benchmark::DoNotOptimize(figures);
    }
}
BENCHMARK(CalculateTotalsFullInvoice);

// The four texts shown after every recalculation.
void FormatFourTotals(benchmark::State &state)
{
    TotalsFigures figures;
    CalculateTotals(fullInvoice(), figures);
    for (auto _ : state) {
        for (const Amount figure : {figures.subTotal, figures.tax, figures.total, figures.balance}) {
            QString text = FormatAmount(figure, 2);
            benchmark::DoNotOptimize(text);
        }
    }
}
BENCHMARK(FormatFourTotals);

void NumericAmountFormatted(benchmark::State &state)
{
    const QString text = u"123,456.78"_s;
    for (auto _ : state)
        benchmark::DoNotOptimize(NumericAmount(text));
}
BENCHMARK(NumericAmountFormatted);

void LineTotalTyped(benchmark::State &state)
{
    const QString quantity = u"2.5"_s;
    const QString price = u"1,234.567"_s;
    for (auto _ : state)
        benchmark::DoNotOptimize(LineTotal(quantity, price));
}
BENCHMARK(LineTotalTyped);

} // namespace

BENCHMARK_MAIN();
