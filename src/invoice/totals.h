// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "invoice/amount.h"

#include <QString>

#include <array>

namespace invoice {

// What the totals of an invoice are computed from: the texts of the boxes as
// the window holds them and the stored tax settings.
struct TotalsInput
{
    std::array<QString, 12> lineTotals;                           // texts of the line total boxes
    std::array<bool, 12> taxable{};                               // line tax boxes ticked
    QString surcharge1, discount, shipping, surcharge2, received; // adjustment boxes
    int shTax = 0;                                                // stored SHTax: 1 taxes shipping and handling
    Amount taxValue;                                              // stored TaxValue, percent with two decimals
    int taxCharge = 0;                                            // stored TaxCharge: tax is charged only when it is 1
};

// The seven figures of an invoice, each in whole cents once computed.
struct TotalsFigures
{
    Amount surcharge1, surcharge2, subTotal, discount, tax, total, balance;
};

// Computes the figures in the order of the totals column: surcharge 1,
// discount, tax, sub total, total, surcharge 2, balance. The sub total holds
// surcharge 1 and the discount; the total holds shipping and tax but not
// surcharge 2; the balance is total plus surcharge 2 minus the received
// amount. Tax falls on the ticked lines (bearing their share of surcharge 1
// and the discount) and, when shTax is 1, on shipping at its full value.
// Products are exact; each figure is rounded to cents, halves away from
// zero. Throws RuntimeError("Overflow") at the first step whose amount leaves
// the range: the figures of earlier steps then hold their new values and
// those of the failing and later steps keep what they held.
void CalculateTotals(const TotalsInput &in, TotalsFigures &figures);

// How the figures divide between the ticked lines and the others, as the
// calculator itself divides them: the taxed lines, their shares of
// surcharge 1 and the discount, and the base the tax is charged on (shipping
// included when it is taxed). The untaxed shares are the figures less these.
struct TotalsSplit
{
    Amount taxedLines, taxedSurcharge1, taxedDiscount, taxableBase;
};

// As above, also giving the split. Throws as above.
void CalculateTotals(const TotalsInput &in, TotalsFigures &figures, TotalsSplit &split);

} // namespace invoice
