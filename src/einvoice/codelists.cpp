// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "einvoice/codelists.h"

#include <QSet>

namespace einvoice {

namespace {

QStringList split(const char *list)
{
    return QString::fromLatin1(list).split(u' ', Qt::SkipEmptyParts);
}

QSet<QString> toSet(const char *list)
{
    const QStringList codes = split(list);
    return QSet<QString>(codes.begin(), codes.end());
}

} // namespace

QStringList CountryCodes()
{
    return split(codelists::Countries);
}

QStringList CurrencyCodes()
{
    return split(codelists::Currencies);
}

QStringList VatPrefixes()
{
    return split(codelists::VatPrefixes);
}

bool IsListedCountry(const QString &code)
{
    static const QSet<QString> codes = toSet(codelists::Countries);
    return codes.contains(code);
}

bool IsListedCurrency(const QString &code)
{
    static const QSet<QString> codes = toSet(codelists::Currencies);
    return codes.contains(code);
}

bool IsListedVatPrefix(const QString &prefix)
{
    static const QSet<QString> prefixes = toSet(codelists::VatPrefixes);
    return prefixes.contains(prefix);
}

} // namespace einvoice
