// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "invoice/amount.h"

#include <QString>
#include <QStringList>

#include <optional>

// The rules of the invoice sheet, as plain functions of the boxes' texts and
// the settings. The window only wires its boxes' events to them.
namespace sheet {

// What a unit price box holds after a change: a text that is no number
// (a lone "-" or ".", a second ".") is emptied; nullopt leaves the text.
std::optional<QString> CorrectedPrice(const QString &text);

// What an adjustment box (or the tax rate box) holds after a change: a text
// that is no number becomes "0.00", and a percentage above 100 becomes "100";
// nullopt leaves the text as typed.
std::optional<QString> CorrectedAdjustment(const QString &text, bool percentage);

// The tidy on leaving a box: two decimals with grouped thousands. An empty
// price stays empty and a price that is no number is emptied; an adjustment
// that is empty or no number becomes "0.00".
QString TidiedPrice(const QString &text);
QString TidiedAdjustment(const QString &text);

// A line's total from its quantity and unit price texts: empty when the
// quantity is, otherwise the product to the cent. Throws RuntimeError
// ("Overflow") when the product is out of range.
QString LineTotalText(const QString &quantity, const QString &unitPrice);

// The tax rate to store for what the rate box holds: its number rounded to cents.
invoice::Amount RateFromBox(const QString &text);

// A rate in its shortest form, without trailing zeros: 5 gives "5", 17.5 "17.5".
QString GeneralNumber(invoice::Amount value);

// The heading over the tax total: "NO TAX" when tax is not charged (the
// stored TaxCharge is not 1), otherwise prefix, name, "@", rate and "%".
QString TaxHeading(const QString &prefix, int taxCharge, const QString &taxName, invoice::Amount rate);

// The question asked before an invoice with no customer details or no
// described item is printed; empty when nothing is missing. A line of
// blanks counts as filled.
QString MissingDetailsQuestion(const QStringList &customerLines, const QStringList &descriptions);

} // namespace sheet
