// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "register/periodtotals.h"

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

void add(PeriodTotal &sum, const RegisterRecord &r)
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

QList<PeriodTotal> PeriodTotals(std::span<const RegisterRecord *const> records, Period period)
{
    QMap<QString, PeriodTotal> periods; // the keys sort as the periods do
    PeriodTotal all;
    all.period = u"Total"_s;
    for (const RegisterRecord *r : records) {
        if (r->replaced)
            continue;
        const QString key = PeriodOf(r->issued.date(), period);
        PeriodTotal &sum = periods[key];
        sum.period = key;
        add(sum, *r);
        add(all, *r);
    }
    QList<PeriodTotal> rows = periods.values();
    rows << all;
    return rows;
}
