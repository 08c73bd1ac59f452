// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "register/periodtotals.h"

namespace invoiceregister {

using namespace Qt::StringLiterals;

QString PeriodOf(const QDate &date, Period period)
{
    switch (period) {
    case Period::Month:
        return date.toString(u"yyyy-MM"_s);
    case Period::Quarter:
        return u"%1-Q%2"_s.arg(date.year()).arg((date.month() + 2) / 3);
    case Period::Year:
        break;
    }
    return QString::number(date.year());
}

namespace {

void add(PeriodTotal &sum, const RegisterEntry &r)
{
    ++sum.invoices;
    sum.net += r.net();
    sum.total += r.total;
    sum.received += r.received;
    sum.balance += r.balance;
    if (r.taxRate)
        sum.taxByRate[r.taxRate->units()] += r.tax;
}

} // namespace

QList<PeriodTotal> PeriodTotals(std::span<const RegisterEntry *const> records, Period period)
{
    // Keyed by number (year * 100 + month or quarter), named once per period.
    QMap<int, PeriodTotal> periods;
    PeriodTotal all;
    all.period = u"Total"_s;
    for (const RegisterEntry *r : records) {
        if (r->replaced)
            continue;
        int year = 0, month = 0;
        r->date.getDate(&year, &month, nullptr);
        const int key = year * 100
            + (period == Period::Month         ? month
                   : period == Period::Quarter ? (month + 2) / 3
                                               : 0);
        PeriodTotal &sum = periods[key];
        if (sum.period.isEmpty())
            sum.period = PeriodOf(r->date, period);
        add(sum, *r);
        add(all, *r);
    }
    QList<PeriodTotal> rows = periods.values();
    rows << all;
    return rows;
}

} // namespace invoiceregister
