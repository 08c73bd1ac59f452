// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/sheetrules.h"

#include "invoice/numbers.h"
#include "invoice/runtimeerror.h"

#include <QLocale>

#include <algorithm>

using invoice::Amount;
using invoice::CentsOf;
using invoice::FormatAmount;
using invoice::IsNumeric;
using invoice::LineTotal;
using invoice::NumericAmount;
using invoice::NumericValue;
using invoice::PlainDecimal;
using invoice::RuntimeError;

using namespace Qt::StringLiterals;

namespace sheet {

namespace {

bool anyText(const QStringList &texts)
{
    return std::any_of(texts.begin(), texts.end(), [](const QString &text) { return !text.isEmpty(); });
}

} // namespace

std::optional<QString> CorrectedPrice(const QString &text)
{
    return IsNumeric(text) ? std::nullopt : std::optional<QString>(QString());
}

std::optional<QString> CorrectedAdjustment(const QString &text, bool percentage)
{
    if (!IsNumeric(text))
        return u"0.00"_s;
    // Exactly 100 stays as typed; above it is written as a plain whole number.
    if (percentage && NumericValue(text) > 100)
        return u"100"_s;
    return std::nullopt;
}

QString TidiedPrice(const QString &text)
{
    if (text.isEmpty() || !IsNumeric(text))
        return {};
    try {
        return FormatAmount(NumericValue(text), 2);
    } catch (const RuntimeError &) {
        return {};
    }
}

QString TidiedAdjustment(const QString &text)
{
    if (!IsNumeric(text))
        return u"0.00"_s;
    try {
        return FormatAmount(NumericValue(text), 2);
    } catch (const RuntimeError &) {
        return u"0.00"_s;
    }
}

QString LineTotalText(const QString &quantity, const QString &unitPrice)
{
    return quantity.isEmpty() ? QString() : FormatAmount(LineTotal(quantity, unitPrice), 2);
}

Amount RateFromBox(const QString &text)
{
    return CentsOf(NumericAmount(text));
}

QString GeneralNumber(Amount value)
{
    return PlainDecimal(value);
}

QString TaxHeading(const QString &prefix, int taxCharge, const QString &taxName, Amount rate)
{
    if (taxCharge != 1)
        return u"NO TAX"_s;
    return prefix + taxName + u'@' + GeneralNumber(rate) + u'%';
}

QString MissingDetailsQuestion(const QStringList &customerLines, const QStringList &descriptions)
{
    const bool customer = anyText(customerLines);
    const bool items = anyText(descriptions);
    if (customer && items)
        return {};
    return (customer ? QString() : u"There are no customer details"_s) + u"\r\n"_s
        + (items ? QString() : u"There are no described sales items."_s) + u"\r\nContinue?"_s;
}

} // namespace sheet
