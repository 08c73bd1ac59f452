// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the invoice reads and writes numbers. A box's text is read with one
// rule: blanks (space, tab, line breaks) and "," group separators are
// skipped wherever they stand; after an optional "-" or "+" come digits with
// at most one "."; reading stops at the first character that cannot continue
// the number (a second ".", a letter, an exponent); no digit read means 0.

#include "invoice/amount.h"

#include <QString>

namespace invoice {

// The number a box's text stands for, as the nearest double. Never fails:
// a number beyond the double range reads as an infinity of its sign.
double NumericValue(const QString &text);

// Whether the text, blanks at either end aside, is a number: an optional "-"
// in front, at least one digit, at most one ".", and "," only between two
// digits. "", ".", "-", "1.2.3", "5-" and "+5" are not numeric.
bool IsNumeric(const QString &text);

// The text read by the NumericValue rule straight into an exact amount:
// every digit counts, digits after the fourth decimal round to the nearest
// ten-thousandth (a tie to the even last digit). Throws
// RuntimeError("Overflow") for a value outside the amount range.
Amount NumericAmount(const QString &text);

// The text read by the NumericValue rule with every digit, as a plain
// decimal: a leading "-" for a value other than 0, no group separators, no
// trailing zeros after the point and no point without decimals
// ("1,000.50" gives "1000.5", "0.12345" stays, "." gives "0").
QString DecimalText(const QString &text);

// `value` with `decimals` decimals (a negative count acts as 0), halves
// away from zero, "." as decimal point, "," between groups of three integer
// digits, a leading "-" for values that do not round to zero: 1,234.50,
// -3.00, 0.00. The amount's exact decimal is rounded.
QString FormatAmount(Amount value, int decimals);

// The amount as the shortest plain decimal: "." as the point, no group
// separators, no trailing zeros (17.5 gives "17.5", 5 gives "5").
QString PlainDecimal(Amount value);

// The amount rounded to cents, halves away from zero.
Amount CentsOf(Amount value);

// As above; the double is first written with 15 significant digits and that
// decimal is rounded, so 0.575 gives 0.58 and 1.005 gives 1.01. Throws
// RuntimeError("Overflow") for infinities and NaN.
QString FormatAmount(double value, int decimals);

// The total of an invoice line: quantity times unit price, both texts read
// by the NumericValue rule with every typed digit, multiplied exactly and
// rounded to cents, halves away from zero (2.5 × 0.333 gives 0.83).
// Throws RuntimeError("Overflow") when the product leaves the amount range,
// and when a factor has more than 19 significant digits (leading zeros and
// trailing zeros not counted), which no sensible price or quantity has.
Amount LineTotal(const QString &quantityText, const QString &unitPriceText);

} // namespace invoice
