// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "register/registerrecord.h"

#include <QList>
#include <QMap>
#include <QString>

#include <span>

namespace invoiceregister {

// The figures a tax return asks for, per month, quarter or year.
enum class Period { Month, Quarter, Year };

struct PeriodTotal
{
    QString period; // "2026-03", "2026-Q1", "2026"; "Total" for the sum of all
    int invoices = 0;
    invoice::Amount net, total, received, balance;
    QMap<qint64, invoice::Amount> taxByRate; // rate in ten-thousandths of a percent -> tax charged at it
};

// The period of a date: "2026-03", "2026-Q1" or "2026".
QString PeriodOf(const QDate &date, Period period);

// Totals of the records per period, oldest period first, and a last row
// summing them all. A version replaced by a reprint is not counted: the
// reprint stands in its place. Invoices without tax add to no rate.
QList<PeriodTotal> PeriodTotals(std::span<const RegisterEntry *const> records, Period period);

} // namespace invoiceregister
