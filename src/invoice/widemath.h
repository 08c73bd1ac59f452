// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Exact 128-bit helpers shared by the money routines; not part of the
// library's public interface.

#include "invoice/amount.h"

namespace invoice::detail {

__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

enum class Rounding {
    HalfEven,         // converting to a fixed-point amount
    HalfAwayFromZero, // rounding to cents, as amounts are written
};

// n / d rounded to an integer; d must be positive.
inline Int128 roundedQuotient(Int128 n, Int128 d, Rounding rounding)
{
    Int128 q = n / d;
    const Int128 r = n % d;
    const Int128 twiceRest = r < 0 ? -2 * r : 2 * r;
    bool up = false;
    if (rounding == Rounding::HalfAwayFromZero)
        up = twiceRest >= d;
    else
        up = twiceRest > d || (twiceRest == d && (q & 1) != 0);
    if (up)
        q += n < 0 ? -1 : 1;
    return q;
}

// The amount of `units` ten-thousandths; throws RuntimeError("Overflow")
// outside the range.
Amount amountFromWide(Int128 units);

// `units` rounded to whole cents, halves away from zero. Never leaves the
// range: the extreme amounts round inwards or to a representable cent.
inline Amount roundedToCents(Amount value)
{
    return Amount::fromUnits(
        static_cast<qint64>(roundedQuotient(value.units(), 100, Rounding::HalfAwayFromZero) * 100));
}

} // namespace invoice::detail
