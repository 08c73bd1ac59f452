// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "einvoice/einvoicesettings.h"

#include "platform/messagebox.h"
#include "platform/settingsstore.h"

#include <QLocale>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace einvoice {

namespace {

QString compact(const QString &text)
{
    return text.simplified().remove(u' ').toUpper();
}

bool matches(const QString &text, const QString &pattern)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(text).hasMatch();
}

QString localeCountry()
{
    const QLocale::Territory territory = QLocale::system().territory();
    return territory == QLocale::AnyTerritory ? QString() : QLocale::territoryToCode(territory);
}

QString localeCurrency()
{
    const QString code = QLocale::system().currencySymbol(QLocale::CurrencyIsoCode);
    return IsCurrencyCode(code) ? code : QString();
}

} // namespace

QString SettingsSection()
{
    return u"EInvoice"_s;
}

bool IsCountryCode(const QString &code)
{
    return matches(code, u"[A-Z]{2}"_s) && QLocale::codeToTerritory(code) != QLocale::AnyTerritory;
}

bool IsCurrencyCode(const QString &code)
{
    return matches(code, u"[A-Z]{3}"_s);
}

bool IsVatId(const QString &vatId)
{
    // Greece's identifiers carry EL, not its country code.
    const QString prefix = vatId.left(2);
    return matches(vatId, u"[A-Z]{2}[0-9A-Z+*.]{2,12}"_s) && (prefix == u"EL" || IsCountryCode(prefix));
}

bool IsIban(const QString &iban)
{
    const QString text = compact(iban);
    if (!matches(text, u"[A-Z]{2}[0-9]{2}[0-9A-Z]{10,30}"_s))
        return false;
    // The check digits make the rearranged number 1 modulo 97.
    const QString rearranged = text.mid(4) + text.left(4);
    int remainder = 0;
    for (const QChar c : rearranged) {
        const int value = c.isDigit() ? c.digitValue() : c.unicode() - u'A' + 10;
        remainder = (remainder * (value >= 10 ? 100 : 10) + value) % 97;
    }
    return remainder == 1;
}

bool IsBic(const QString &bic)
{
    return matches(compact(bic), u"[A-Z]{4}[A-Z]{2}[0-9A-Z]{2}([0-9A-Z]{3})?"_s);
}

Settings ReadSettings(const SettingsStore &store)
{
    const QString app = ApplicationTitle();
    auto get = [&](const QString &key) { return store.GetSetting(app, SettingsSection(), key).trimmed(); };
    Settings s;
    s.enabled = get(u"Enabled"_s) == u"1";
    s.vatId = get(u"VatId"_s);
    s.taxNumber = get(u"TaxNumber"_s);
    s.registrationId = get(u"RegistrationId"_s);
    s.sellerCountry = get(u"SellerCountry"_s);
    if (s.sellerCountry.isEmpty())
        s.sellerCountry = localeCountry();
    s.currencyCode = get(u"Currency"_s);
    if (s.currencyCode.isEmpty())
        s.currencyCode = localeCurrency();
    s.buyerCountry = get(u"BuyerCountry"_s);
    if (s.buyerCountry.isEmpty())
        s.buyerCountry = s.sellerCountry;
    s.untaxedCategory = get(u"UntaxedCategory"_s) == u"E" ? u"E"_s : u"Z"_s;
    s.exemptionReason = get(u"ExemptionReason"_s);
    bool ok = false;
    const int days = get(u"PaymentDays"_s).toInt(&ok);
    s.paymentDays = ok && days >= 0 ? days : 30;
    s.iban = get(u"IBAN"_s);
    s.bic = get(u"BIC"_s);
    return s;
}

bool WriteSettings(SettingsStore &store, const Settings &s, QString *error)
{
    const QList<std::pair<QString, QString>> values = {
        {u"Enabled"_s, s.enabled ? u"1"_s : u"0"_s},
        {u"VatId"_s, compact(s.vatId)},
        {u"TaxNumber"_s, s.taxNumber.trimmed()},
        {u"RegistrationId"_s, s.registrationId.trimmed()},
        {u"SellerCountry"_s, s.sellerCountry.trimmed().toUpper()},
        {u"Currency"_s, s.currencyCode.trimmed().toUpper()},
        {u"BuyerCountry"_s, s.buyerCountry.trimmed().toUpper()},
        {u"UntaxedCategory"_s, s.untaxedCategory},
        {u"ExemptionReason"_s, s.exemptionReason.trimmed()},
        {u"PaymentDays"_s, QString::number(s.paymentDays)},
        {u"IBAN"_s, compact(s.iban)},
        {u"BIC"_s, compact(s.bic)},
    };
    for (const auto &[key, text] : values) {
        if (!store.SaveSetting(ApplicationTitle(), SettingsSection(), key, text)) {
            if (error)
                *error = store.errorString();
            return false;
        }
    }
    return true;
}

QString SettingsProblem(const Settings &s)
{
    if (!s.vatId.trimmed().isEmpty() && !IsVatId(compact(s.vatId)))
        return u"The VAT identifier must be two letters of its country (EL for Greece) followed by 2 to 12 "
               "letters or digits, such as DE123456789."_s;
    if (!IsCountryCode(s.sellerCountry.trimmed().toUpper()))
        return u"The seller's country must be a two-letter ISO 3166 code, such as DE or FR."_s;
    if (!s.buyerCountry.trimmed().isEmpty() && !IsCountryCode(s.buyerCountry.trimmed().toUpper()))
        return u"The buyer's country must be a two-letter ISO 3166 code, such as DE or FR."_s;
    if (!IsCurrencyCode(s.currencyCode.trimmed().toUpper()))
        return u"The currency must be a three-letter ISO 4217 code, such as EUR or GBP."_s;
    if (s.untaxedCategory == u"E" && s.exemptionReason.trimmed().isEmpty())
        return u"Exempt lines need the exemption reason that the invoice states."_s;
    if (s.paymentDays < 0 || s.paymentDays > 3650)
        return u"The payment terms must be 0 to 3650 days."_s;
    if (!s.iban.trimmed().isEmpty() && !IsIban(s.iban))
        return u"The IBAN is not valid: check its letters and digits."_s;
    if (!s.bic.trimmed().isEmpty() && !IsBic(s.bic))
        return u"The BIC must have 8 or 11 letters and digits, such as DEUTDEFF."_s;
    return {};
}

} // namespace einvoice
