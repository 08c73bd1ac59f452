// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "einvoice/currencynames.h"

#include "einvoice/codelists.h"

#include <QList>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace einvoice {

namespace {

// Letter case folded one character at a time, so that positions stay.
QString folded(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        c = c.toCaseFolded();
    return out;
}

struct CurrencyName
{
    QString name;
    QSet<QString> codes;
};

// Every symbol and name the locales give a listed currency, longest first,
// so that "US$" is read before "$".
const QList<CurrencyName> &currencyNames()
{
    static const QList<CurrencyName> names = [] {
        QHash<QString, QSet<QString>> found;
        auto add = [&](const QString &name, const QString &code) {
            // Full-width forms ("￥") are the same symbols.
            const QString key = folded(name.normalized(QString::NormalizationForm_KC).trimmed());
            if (!key.isEmpty() && IsListedCurrency(code))
                found[key].insert(code);
        };
        for (const QLocale &locale :
             QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
            const QString code = locale.currencySymbol(QLocale::CurrencyIsoCode);
            add(locale.currencySymbol(QLocale::CurrencySymbol), code);
            add(locale.currencySymbol(QLocale::CurrencyDisplayName), code);
        }
        // Names in common English use that the locales do not give.
        add(u"Sterling"_s, u"GBP"_s);
        add(u"Yen"_s, u"JPY"_s);
        QList<CurrencyName> names;
        for (auto it = found.begin(); it != found.end(); ++it)
            names << CurrencyName{it.key(), it.value()};
        std::sort(names.begin(), names.end(), [](const CurrencyName &a, const CurrencyName &b) {
            return a.name.size() != b.name.size() ? a.name.size() > b.name.size() : a.name < b.name;
        });
        return names;
    }();
    return names;
}

bool isWordChar(const QString &text, qsizetype at)
{
    return at >= 0 && at < text.size() && text.at(at).isLetterOrNumber();
}

// For each mention of a currency in the text, the codes it may stand for.
QList<QSet<QString>> mentions(const QString &printed)
{
    QList<QSet<QString>> found;
    const QString text = printed.normalized(QString::NormalizationForm_KC);
    QList<bool> taken(text.size(), false);
    auto take = [&](qsizetype from, qsizetype length, const QSet<QString> &codes) {
        if (std::any_of(taken.begin() + from, taken.begin() + from + length, [](bool t) { return t; }))
            return;
        std::fill(taken.begin() + from, taken.begin() + from + length, true);
        found << codes;
    };
    static const QRegularExpression code(u"(?<![\\p{L}\\p{N}])[A-Z]{3}(?![\\p{L}\\p{N}])"_s);
    for (const QRegularExpressionMatch &m : code.globalMatch(text))
        if (IsListedCurrency(m.captured()))
            take(m.capturedStart(), m.capturedLength(), {m.captured()});
    const QString lower = folded(text);
    for (const CurrencyName &name : currencyNames()) {
        for (qsizetype at = lower.indexOf(name.name); at >= 0; at = lower.indexOf(name.name, at + 1)) {
            qsizetype end = at + name.name.size();
            if (name.name.back().isLetterOrNumber() && lower.mid(end, 1) == u"s" && !isWordChar(lower, end + 1))
                ++end; // a plural: "US Dollars"
            if ((name.name.front().isLetterOrNumber() && isWordChar(lower, at - 1))
                || (name.name.back().isLetterOrNumber() && isWordChar(lower, end)))
                continue;
            take(at, end - at, name.codes);
        }
    }
    return found;
}

} // namespace

bool NamesCurrency(const QString &text, const QString &code)
{
    const QList<QSet<QString>> found = mentions(text);
    return !found.isEmpty()
        && std::all_of(found.begin(), found.end(), [&](const QSet<QString> &codes) { return codes.contains(code); });
}

QString CurrencyNamed(const QString &text)
{
    const QList<QSet<QString>> found = mentions(text);
    if (found.isEmpty())
        return {};
    QSet<QString> common = found.first();
    for (const QSet<QString> &codes : found)
        common &= codes;
    return common.size() == 1 ? *common.begin() : QString();
}

QString PrintedCurrencyProblem(const QString &printed, const QString &code)
{
    if (printed.trimmed().isEmpty() || NamesCurrency(printed, code))
        return {};
    return u"The invoice prints its currency as \"%1\" (Settings tab, Currency), which does not name %2, the "
           "e-invoice's currency; name %2 there by its code, symbol or name, or change the currency code."_s.arg(
               printed.trimmed(), code);
}

} // namespace einvoice
