// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/amount.h"

#include "invoice/runtimeerror.h"
#include "invoice/widemath.h"

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void throwOverflow()
{
    throw RuntimeError(u"Overflow"_s);
}

} // namespace

namespace invoice::detail {

Amount amountFromWide(Int128 units)
{
    if (units > std::numeric_limits<qint64>::max() || units < std::numeric_limits<qint64>::min())
        throwOverflow();
    return Amount::fromUnits(static_cast<qint64>(units));
}

} // namespace invoice::detail

using namespace invoice::detail;

Amount Amount::fromDouble(double value)
{
    if (!std::isfinite(value))
        throwOverflow();
    if (value == 0)
        return {};

    // value = mantissa × 2^exponent exactly, with a 53-bit integer mantissa
    // (fewer bits for subnormal values, which round to zero below anyway).
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);
    const auto mantissa = static_cast<qint64>(std::ldexp(fraction, 53));
    exponent -= 53;

    if (exponent >= 0) // at least 2^52 whole units of currency: far beyond the range
        throwOverflow();
    const Int128 scaled = Int128(mantissa) * 10000; // below 2^67
    const int shift = -exponent;
    Int128 units = 0;
    if (shift < 70) {
        units = scaled >> shift;
        const Int128 rest = scaled - (units << shift);
        const Int128 half = Int128(1) << (shift - 1);
        if (rest > half || (rest == half && (units & 1) != 0))
            ++units;
    } // else: below half a ten-thousandth
    return amountFromWide(value < 0 ? -units : units);
}

Amount operator+(Amount a, Amount b)
{
    qint64 sum = 0;
    if (__builtin_add_overflow(a.m_units, b.m_units, &sum))
        throwOverflow();
    return Amount::fromUnits(sum);
}

Amount operator-(Amount a, Amount b)
{
    qint64 difference = 0;
    if (__builtin_sub_overflow(a.m_units, b.m_units, &difference))
        throwOverflow();
    return Amount::fromUnits(difference);
}
