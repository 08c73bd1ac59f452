// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace einvoice {

// The codes an e-invoice may carry, exactly as the EN 16931 rules list them
// (codelistdata.cpp, written by scripts/einvoice-codelists): a code outside
// these lists makes the e-invoice fail the rules, whatever ISO says today.
namespace codelists {
extern const char *const Countries;   // ISO 3166-1 alpha-2, with 1A (Kosovo) and XI (Northern Ireland)
extern const char *const Currencies;  // ISO 4217 alpha-3
extern const char *const VatPrefixes; // the countries again, with EL for Greece
} // namespace codelists

// Each list in its order, for comparing with the rules.
QStringList CountryCodes();
QStringList CurrencyCodes();
QStringList VatPrefixes();

// Whether `code`, exactly as given (upper case), is listed.
bool IsListedCountry(const QString &code);
bool IsListedCurrency(const QString &code);
bool IsListedVatPrefix(const QString &prefix);

} // namespace einvoice
