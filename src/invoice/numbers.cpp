// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/numbers.h"

#include "invoice/runtimeerror.h"
#include "invoice/widemath.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace invoice {

using namespace Qt::StringLiterals;
using namespace detail;

namespace {

[[noreturn]] void throwOverflow()
{
    throw RuntimeError(u"Overflow"_s);
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// A number as read from a box: magnitude = digits × 10^-scale.
struct ScannedNumber
{
    bool negative = false;
    std::string digits; // no leading zeros, no trailing zeros after the point; "" for zero
    qsizetype scale = 0;
};

ScannedNumber scanNumber(const QString &text)
{
    ScannedNumber number;
    bool signAllowed = true;
    bool pointSeen = false;
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (isBlank(c) || c == u',')
            continue;
        if (signAllowed && (c == u'-' || c == u'+')) {
            number.negative = c == u'-';
            signAllowed = false;
            continue;
        }
        signAllowed = false;
        if (isDigit(c)) {
            if (!number.digits.empty() || c != u'0')
                number.digits.push_back(static_cast<char>(c));
            if (pointSeen)
                ++number.scale;
        } else if (c == u'.' && !pointSeen) {
            pointSeen = true;
        } else {
            break;
        }
    }
    while (number.scale > 0 && !number.digits.empty() && number.digits.back() == '0') {
        number.digits.pop_back();
        --number.scale;
    }
    if (number.digits.empty())
        number = {};
    return number;
}

// The magnitude with `target` decimals as an integer, rounded; false when it
// exceeds `limit`.
bool scaledMagnitude(const ScannedNumber &number, qsizetype target, Rounding rounding, UInt128 limit, UInt128 &result)
{
    const std::string &digits = number.digits;
    const auto size = static_cast<qsizetype>(digits.size());
    qsizetype keep = size;
    qsizetype zeros = 0;
    int firstDropped = 0;
    bool restNonZero = false;
    if (number.scale > target) {
        keep = size - (number.scale - target);
        if (keep >= 0) {
            if (keep < size) {
                firstDropped = digits[keep] - '0';
                restNonZero = std::any_of(digits.begin() + keep + 1, digits.end(), [](char c) { return c != '0'; });
            }
        } else {
            keep = 0; // every digit lies below the first dropped place
            restNonZero = size > 0;
        }
    } else {
        zeros = target - number.scale;
    }

    UInt128 magnitude = 0;
    for (qsizetype i = 0; i < keep; ++i) {
        magnitude = magnitude * 10 + static_cast<unsigned>(digits[i] - '0');
        if (magnitude > limit)
            return false;
    }
    for (qsizetype i = 0; i < zeros && magnitude != 0; ++i) {
        magnitude *= 10;
        if (magnitude > limit)
            return false;
    }
    const bool up = rounding == Rounding::HalfAwayFromZero
        ? firstDropped >= 5
        : firstDropped > 5 || (firstDropped == 5 && (restNonZero || (magnitude & 1) != 0));
    if (up)
        ++magnitude;
    if (magnitude > limit)
        return false;
    result = magnitude;
    return true;
}

// A factor of a line total: magnitude = mantissa × 10^exponent.
struct Factor
{
    bool negative = false;
    quint64 mantissa = 0;
    qsizetype exponent = 0;
};

Factor lineFactor(const QString &text)
{
    ScannedNumber number = scanNumber(text);
    Factor factor;
    factor.negative = number.negative;
    std::string &digits = number.digits;
    // Whole-number zeros do not need room in the mantissa.
    qsizetype trailingZeros = 0;
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
        ++trailingZeros;
    }
    if (digits.size() > 19) // 10^19 - 1 is the widest that fits 64 bits
        throwOverflow();
    for (const char c : digits)
        factor.mantissa = factor.mantissa * 10 + static_cast<unsigned>(c - '0');
    factor.exponent = trailingZeros - number.scale;
    return factor;
}

// 1 + the digits as a decimal integer ("" counts as 0).
void incrementDigits(std::string &digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// Writes magnitude = digits × 10^-scale with `decimals` decimals, halves away
// from zero.
QString formatDecimal(bool negative, std::string digits, qsizetype scale, int decimals)
{
    decimals = std::max(decimals, 0);
    if (scale > decimals) {
        const qsizetype drop = scale - decimals;
        const auto size = static_cast<qsizetype>(digits.size());
        const bool up = drop <= size && digits[size - drop] >= '5';
        digits.resize(static_cast<size_t>(std::max<qsizetype>(size - drop, 0)));
        if (up)
            incrementDigits(digits);
    } else {
        digits.append(static_cast<size_t>(decimals - scale), '0');
    }
    if (digits.size() <= static_cast<size_t>(decimals))
        digits.insert(0, static_cast<size_t>(decimals) + 1 - digits.size(), '0');

    const size_t integerLength = digits.size() - static_cast<size_t>(decimals);
    size_t start = 0;
    while (start + 1 < integerLength && digits[start] == '0')
        ++start;
    const bool isZero = std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });

    QString text;
    text.reserve(static_cast<qsizetype>(digits.size() + digits.size() / 3 + 2));
    if (negative && !isZero)
        text += u'-';
    for (size_t i = start; i < integerLength; ++i) {
        if (i > start && (integerLength - i) % 3 == 0)
            text += u',';
        text += QLatin1Char(digits[i]);
    }
    if (decimals > 0) {
        text += u'.';
        for (size_t i = integerLength; i < digits.size(); ++i)
            text += QLatin1Char(digits[i]);
    }
    return text;
}

} // namespace

double NumericValue(const QString &text)
{
    const ScannedNumber number = scanNumber(text);
    if (number.digits.empty())
        return 0.0;
    const std::string literal = number.digits + 'e' + std::to_string(-number.scale);
    double value = 0.0;
    const auto result = std::from_chars(literal.data(), literal.data() + literal.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const bool huge = static_cast<qsizetype>(number.digits.size()) > number.scale;
        value = huge ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return number.negative ? -value : value;
}

bool IsNumeric(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin).unicode()))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1).unicode()))
        --end;
    if (begin < end && text.at(begin) == u'-')
        ++begin;

    bool digitSeen = false;
    bool pointSeen = false;
    for (qsizetype i = begin; i < end; ++i) {
        const char16_t c = text.at(i).unicode();
        if (isDigit(c)) {
            digitSeen = true;
        } else if (c == u'.') {
            if (pointSeen)
                return false;
            pointSeen = true;
        } else if (c == u',') {
            if (i == begin || i + 1 == end || !isDigit(text.at(i - 1).unicode()) || !isDigit(text.at(i + 1).unicode()))
                return false;
        } else {
            return false;
        }
    }
    return digitSeen;
}

Amount NumericAmount(const QString &text)
{
    const ScannedNumber number = scanNumber(text);
    const UInt128 limit = number.negative ? UInt128(1) << 63 : (UInt128(1) << 63) - 1;
    UInt128 units = 0;
    if (!scaledMagnitude(number, 4, Rounding::HalfEven, limit, units))
        throwOverflow();
    return amountFromWide(number.negative ? -Int128(units) : Int128(units));
}

QString DecimalText(const QString &text)
{
    const ScannedNumber number = scanNumber(text);
    if (number.digits.empty())
        return u"0"_s;
    std::string digits = number.digits;
    if (number.scale > 0) {
        if (static_cast<qsizetype>(digits.size()) <= number.scale)
            digits.insert(0, static_cast<size_t>(number.scale) + 1 - digits.size(), '0');
        digits.insert(digits.size() - static_cast<size_t>(number.scale), 1, '.');
    }
    return (number.negative ? u"-"_s : QString()) + QString::fromLatin1(digits);
}

QString FormatAmount(Amount value, int decimals)
{
    const qint64 units = value.units();
    // Through unsigned arithmetic so that the most negative amount has a magnitude.
    const quint64 magnitude = units < 0 ? 0 - static_cast<quint64>(units) : static_cast<quint64>(units);
    return formatDecimal(units < 0, std::to_string(magnitude), 4, decimals);
}

QString PlainDecimal(Amount value)
{
    QString text = FormatAmount(value, 4).remove(u',');
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

Amount CentsOf(Amount value)
{
    return NumericAmount(FormatAmount(value, 2).remove(u','));
}

QString FormatAmount(double value, int decimals)
{
    if (!std::isfinite(value))
        throwOverflow();
    // d.dddddddddddddde±x: the 15 significant digits the amount is rounded from
    char buffer[32];
    const auto written
        = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14);
    const std::string_view literal(buffer, static_cast<size_t>(written.ptr - buffer));
    const size_t exponentAt = literal.find('e');
    std::string digits;
    digits.reserve(15);
    for (const char c : literal.substr(0, exponentAt))
        if (c != '.')
            digits.push_back(c);
    const char *exponentBegin = literal.data() + exponentAt + 1;
    const bool negativeExponent = *exponentBegin == '-';
    if (*exponentBegin == '-' || *exponentBegin == '+')
        ++exponentBegin;
    int exponent = 0;
    std::from_chars(exponentBegin, literal.data() + literal.size(), exponent);
    if (negativeExponent)
        exponent = -exponent;

    qsizetype scale = 14 - exponent;
    if (scale < 0) {
        digits.append(static_cast<size_t>(-scale), '0');
        scale = 0;
    }
    return formatDecimal(std::signbit(value), std::move(digits), scale, decimals);
}

Amount LineTotal(const QString &quantityText, const QString &unitPriceText)
{
    const Factor quantity = lineFactor(quantityText);
    const Factor price = lineFactor(unitPriceText);
    UInt128 cents = UInt128(quantity.mantissa) * price.mantissa; // below 10^38
    // The largest count of cents whose amount still fits.
    constexpr UInt128 maxCents = std::numeric_limits<qint64>::max() / 100;
    const qsizetype shift = quantity.exponent + price.exponent + 2;
    if (cents != 0 && shift >= 0) {
        for (qsizetype i = 0; i < shift; ++i) {
            if (cents > maxCents)
                throwOverflow();
            cents *= 10;
        }
    } else if (cents != 0) {
        if (-shift > 38) {
            cents = 0; // less than a tenth of a cent
        } else {
            UInt128 divisor = 1;
            for (qsizetype i = 0; i < -shift; ++i)
                divisor *= 10;
            const UInt128 rest = cents % divisor;
            cents /= divisor;
            if (2 * rest >= divisor)
                ++cents;
        }
    }
    if (cents > maxCents)
        throwOverflow();
    const Int128 units = Int128(cents) * 100;
    return amountFromWide(quantity.negative != price.negative ? -units : units);
}

} // namespace invoice
