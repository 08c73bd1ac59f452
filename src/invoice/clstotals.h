// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "invoice/totals.h"

#include <QString>

namespace invoice {

// Where the calculator reads an invoice from: the main window, which reads
// its boxes and the settings store afresh on every call.
class TotalsSource
{
public:
    virtual ~TotalsSource() = default;
    virtual TotalsInput totalsInput() const = 0;
    // The stored TaxCharge, read when the tax figure is shown.
    virtual int taxCharge() const = 0;
};

// The invoice's seven figures, recomputed from the source by Calculate and
// read back as texts with two decimals (1,234.50). Every figure is 0.00
// until the first Calculate; the readers never recalculate.
class clsTotals
{
public:
    explicit clsTotals(TotalsSource &source);

    // Recomputes every figure from the source's current input. Throws
    // RuntimeError at a failing step; figures of earlier steps then hold their
    // new values and the others keep those of the previous run.
    void Calculate();

    // Each reader gives the empty text if writing the figure fails.
    QString SubTotal() const;
    QString Surcharge1() const;
    QString Discount() const;
    // 0.00 whenever the stored TaxCharge is not 1, whatever was computed.
    QString Tax() const;
    QString Surcharge2() const;
    QString Total() const;
    QString Balance() const;

private:
    TotalsSource &m_source;
    TotalsFigures m_figures;
};

} // namespace invoice
