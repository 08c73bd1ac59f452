// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/amount.h"

#include "invoice/runtimeerror.h"
#include "invoice/widemath.h"

#include <cmath>
#include <limits>

namespace invoice {

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void throwOverflow()
{
    throw RuntimeError(u"Overflow"_s);
}

} // namespace

namespace detail {

Amount amountFromWide(Int128 units)
{
    if (units > std::numeric_limits<qint64>::max() || units < std::numeric_limits<qint64>::min())
        throwOverflow();
    return Amount::fromUnits(static_cast<qint64>(units));
}

} // namespace detail

using namespace detail;

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

} // namespace invoice
