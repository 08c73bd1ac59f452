// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/clstotals.h"

#include "invoice/numbers.h"

#include <exception>

namespace invoice {

using namespace Qt::StringLiterals;

namespace {

QString formatted(Amount figure)
{
    try {
        return FormatAmount(figure, 2);
    } catch (const std::exception &) {
        return {};
    }
}

} // namespace

clsTotals::clsTotals(TotalsSource &source) : m_source(source) { }

void clsTotals::Calculate()
{
    CalculateTotals(m_source.totalsInput(), m_figures);
}

QString clsTotals::SubTotal() const
{
    return formatted(m_figures.subTotal);
}

QString clsTotals::Surcharge1() const
{
    return formatted(m_figures.surcharge1);
}

QString clsTotals::Discount() const
{
    return formatted(m_figures.discount);
}

QString clsTotals::Tax() const
{
    try {
        if (m_source.taxCharge() != 1)
            return u"0.00"_s;
    } catch (const std::exception &) {
        return {};
    }
    return formatted(m_figures.tax);
}

QString clsTotals::Surcharge2() const
{
    return formatted(m_figures.surcharge2);
}

QString clsTotals::Total() const
{
    return formatted(m_figures.total);
}

QString clsTotals::Balance() const
{
    return formatted(m_figures.balance);
}

} // namespace invoice
