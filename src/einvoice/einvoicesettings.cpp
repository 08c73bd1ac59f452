// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "einvoice/einvoicesettings.h"

#include "einvoice/address.h"
#include "einvoice/codelists.h"
#include "einvoice/currencynames.h"
#include "platform/messagebox.h"
#include "platform/settingsstore.h"

#include <QLocale>
#include <QRegularExpression>

using platform::ApplicationTitle;
using platform::SettingsStore;

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
    return IsListedCountry(code);
}

bool IsCurrencyCode(const QString &code)
{
    return IsListedCurrency(code);
}

bool IsVatId(const QString &vatId)
{
    return matches(vatId, u"[A-Z]{2}[0-9A-Z+*.]{2,12}"_s) && IsListedVatPrefix(vatId.left(2));
}

namespace {

bool ibanForm(const QString &iban)
{
    return matches(iban, u"[A-Z]{2}[0-9]{2}[0-9A-Z]{10,30}"_s);
}

// The check digits make the rearranged number 1 modulo 97.
bool ibanCheckDigits(const QString &iban)
{
    const QString rearranged = iban.mid(4) + iban.left(4);
    int remainder = 0;
    for (const QChar c : rearranged) {
        const int value = c.isDigit() ? c.digitValue() : c.unicode() - u'A' + 10;
        remainder = (remainder * (value >= 10 ? 100 : 10) + value) % 97;
    }
    return remainder == 1;
}

} // namespace

bool IsIban(const QString &iban)
{
    const QString text = compact(iban);
    return ibanForm(text) && IsListedCountry(text.left(2)) && ibanCheckDigits(text);
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
    s.sellerCountry = get(u"SellerCountry"_s).toUpper();
    if (s.sellerCountry.isEmpty())
        s.sellerCountry = localeCountry();
    s.currencyCode = get(u"Currency"_s).toUpper();
    if (s.currencyCode.isEmpty())
        s.currencyCode = localeCurrency();
    s.buyerCountry = get(u"BuyerCountry"_s).toUpper();
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

QString CountryProblem(const QString &field, const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return field + u" is not set."_s;
    if (IsCountryCode(text.toUpper()))
        return {};
    if (const QString named = CountryNamed(text); !named.isEmpty())
        return u"%1 \"%2\" is not a country code that e-invoices accept; write %3 for %4."_s.arg(field, text, named,
                                                                                                 CountryName(named));
    if (text.size() != 2)
        return u"%1 \"%2\" is not a two-letter country code, such as DE or FR."_s.arg(field, text);
    return u"%1 \"%2\" is not a country code that e-invoices accept, such as DE or FR."_s.arg(field, text);
}

QString CurrencyProblem(const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return u"The currency code is not set."_s;
    if (IsCurrencyCode(text.toUpper()))
        return {};
    if (const QString named = CurrencyNamed(text); !named.isEmpty())
        return u"The currency code \"%1\" is not an ISO 4217 code; write %2."_s.arg(text, named);
    return u"The currency code \"%1\" is not an ISO 4217 code that e-invoices accept, such as EUR or GBP."_s.arg(text);
}

QString VatIdProblem(const QString &typed)
{
    const QString text = compact(typed);
    if (text.isEmpty() || IsVatId(text))
        return {};
    if (matches(text, u"[A-Z]{2}[0-9A-Z+*.]{2,12}"_s))
        return u"The VAT identifier \"%1\" does not begin with a country prefix that e-invoices accept "
               "(EL for Greece), such as DE123456789."_s.arg(typed.trimmed());
    return u"The VAT identifier \"%1\" must be the two letters of its country (EL for Greece) followed by 2 "
           "to 12 letters or digits, such as DE123456789."_s.arg(typed.trimmed());
}

QString IbanProblem(const QString &typed)
{
    const QString text = compact(typed);
    if (text.isEmpty() || IsIban(text))
        return {};
    if (!ibanForm(text))
        return u"The IBAN \"%1\" must be the two letters of its country, two check digits and 10 to 30 "
               "letters or digits."_s.arg(typed.trimmed());
    if (!IsListedCountry(text.left(2)))
        return u"The IBAN \"%1\" does not begin with a country code."_s.arg(typed.trimmed());
    return u"The IBAN \"%1\" has wrong check digits: a letter or digit is mistyped."_s.arg(typed.trimmed());
}

QString SettingsProblem(const Settings &s)
{
    for (const QString &problem :
         {VatIdProblem(s.vatId), CountryProblem(u"The seller's country"_s, s.sellerCountry),
          s.buyerCountry.trimmed().isEmpty() ? QString() : CountryProblem(u"The buyer's country"_s, s.buyerCountry),
          CurrencyProblem(s.currencyCode)})
        if (!problem.isEmpty())
            return problem;
    if (s.untaxedCategory == u"E" && s.exemptionReason.trimmed().isEmpty())
        return u"Exempt lines need the exemption reason that the invoice states."_s;
    if (s.paymentDays < 0 || s.paymentDays > 3650)
        return u"The payment terms must be 0 to 3650 days."_s;
    if (const QString problem = IbanProblem(s.iban); !problem.isEmpty())
        return problem;
    if (!s.bic.trimmed().isEmpty() && !IsBic(s.bic))
        return u"The BIC \"%1\" must have 8 or 11 letters and digits, such as DEUTDEFF."_s.arg(s.bic.trimmed());
    return {};
}

} // namespace einvoice
