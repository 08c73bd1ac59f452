// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/totals.h"

#include "invoice/numbers.h"
#include "invoice/widemath.h"

namespace invoice {

using namespace detail;

namespace {

// A percentage box holds ten-thousandths of a percent, so the fraction it
// stands for is units / 10^6 and an amount times it is, in ten-thousandths,
// amount.units × percent.units / 10^6.
constexpr Int128 PercentOfUnits = 1'000'000;

// value × percent% as a fixed-point amount (nearest ten-thousandth, a tie to even).
Amount percentOf(Amount value, Amount percent)
{
    return amountFromWide(roundedQuotient(Int128(value.units()) * percent.units(), PercentOfUnits, Rounding::HalfEven));
}

// value × percent% rounded to cents, halves away from zero.
Amount percentOfInCents(Amount value, Amount percent)
{
    const Int128 cents
        = roundedQuotient(Int128(value.units()) * percent.units(), PercentOfUnits * 100, Rounding::HalfAwayFromZero);
    return amountFromWide(cents * 100);
}

} // namespace

void CalculateTotals(const TotalsInput &in, TotalsFigures &figures)
{
    TotalsSplit split;
    CalculateTotals(in, figures, split);
}

void CalculateTotals(const TotalsInput &in, TotalsFigures &figures, TotalsSplit &split)
{
    // The taxable base lives apart from the figures, so that a failing run
    // never leaves a half-built base in place of the tax.
    Amount lines;
    Amount taxableBase;
    for (size_t i = 0; i < in.lineTotals.size(); ++i) {
        const Amount lineTotal = NumericAmount(in.lineTotals[i]);
        lines += lineTotal;
        if (in.taxable[i])
            taxableBase += lineTotal;
    }

    TotalsSplit parts;
    parts.taxedLines = taxableBase;

    const Amount surcharge1Percent = NumericAmount(in.surcharge1);
    figures.surcharge1 = percentOfInCents(lines, surcharge1Percent);
    // The taxable share of the surcharge is held to four decimals before the
    // base is rounded to cents.
    taxableBase = roundedToCents(taxableBase + percentOf(taxableBase, surcharge1Percent));
    parts.taxedSurcharge1 = taxableBase - parts.taxedLines;

    const Amount discountPercent = NumericAmount(in.discount);
    figures.discount = percentOfInCents(lines + figures.surcharge1, discountPercent);
    const Amount beforeDiscount = taxableBase;
    taxableBase = roundedToCents(taxableBase - percentOf(taxableBase, discountPercent));
    parts.taxedDiscount = beforeDiscount - taxableBase;

    if (in.shTax == 1)
        taxableBase += NumericAmount(in.shipping);
    parts.taxableBase = taxableBase;

    // The rate is the two-decimal figure the store holds, taken exactly.
    Amount tax = percentOfInCents(taxableBase, in.taxValue);
    if (in.taxCharge != 1)
        tax = Amount();
    figures.tax = tax;

    figures.subTotal = roundedToCents(lines + figures.surcharge1 - figures.discount);
    figures.total = roundedToCents(figures.subTotal + NumericAmount(in.shipping) + figures.tax);
    figures.surcharge2 = percentOfInCents(figures.total, NumericAmount(in.surcharge2));
    figures.balance = roundedToCents(figures.total + figures.surcharge2 - NumericAmount(in.received));
    split = parts;
}

} // namespace invoice
