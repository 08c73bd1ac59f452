// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace einvoice {

// Whether a printed currency text ("$ US Dollars", "€", "EUR", "Euro")
// names the currency of `code` and no other. A text names a currency by its
// code in capitals, or by a symbol or name that a locale of that currency
// gives it (any letter case, a plural "s" allowed); a symbol several
// currencies share ("$", "kr", "£") names each of them. The empty text
// names nothing.
bool NamesCurrency(const QString &text, const QString &code);

// The one currency a text names ("Euro" gives EUR); empty when it names
// none, or several.
QString CurrencyNamed(const QString &text);

// Why the currency the invoice prints and the e-invoice's currency code
// disagree, one sentence; empty when the printed text names the code's
// currency, or is empty (nothing is printed to disagree).
QString PrintedCurrencyProblem(const QString &printed, const QString &code);

} // namespace einvoice
