// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <compare>

namespace invoice {

// Money as a signed 64-bit count of ten-thousandths: four exact decimals,
// range -922,337,203,685,477.5808 to 922,337,203,685,477.5807. Every
// operation that would leave the range throws RuntimeError("Overflow").
class Amount
{
public:
    constexpr Amount() = default;

    // The amount of `units` ten-thousandths; every qint64 is a valid amount.
    static constexpr Amount fromUnits(qint64 units)
    {
        Amount amount;
        amount.m_units = units;
        return amount;
    }

    constexpr qint64 units() const { return m_units; }

    // Exact; throw RuntimeError("Overflow") when the result leaves the range.
    friend Amount operator+(Amount a, Amount b);
    friend Amount operator-(Amount a, Amount b);
    Amount &operator+=(Amount other) { return *this = *this + other; }
    Amount &operator-=(Amount other) { return *this = *this - other; }

    friend constexpr bool operator==(Amount, Amount) = default;
    friend constexpr std::strong_ordering operator<=>(Amount, Amount) = default;

private:
    qint64 m_units = 0;
};

} // namespace invoice
