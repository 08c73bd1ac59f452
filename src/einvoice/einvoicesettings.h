// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {
class SettingsStore;
}

namespace einvoice {

// The details an e-invoice needs beyond the company and tax settings. Kept
// in the per-user store in a section of their own; every write reaches the
// store before it returns.
struct Settings
{
    bool enabled = false;
    QString vatId;           // the seller's VAT identifier, country prefix first (DE123456789)
    QString taxNumber;       // optional tax registration number
    QString registrationId;  // optional company registration number (trade register)
    QString sellerCountry;   // ISO 3166-1 alpha-2
    QString currencyCode;    // ISO 4217
    QString buyerCountry;    // when the customer lines name no country
    QString untaxedCategory; // "Z" zero-rated or "E" exempt: the lines whose tax box is clear
    QString exemptionReason; // the reason printed for exempt lines
    int paymentDays = 30;    // days from the invoice date to the due date
    QString iban;            // optional, for transfers
    QString bic;             // optional
};

// The section that holds them.
QString SettingsSection();

// Reads every detail, codes in capitals as written; an empty country or
// currency gives the user's locale's, and a missing category Z.
Settings ReadSettings(const platform::SettingsStore &store);

// Writes every detail. Returns false when the store refused a write;
// *error then says why.
bool WriteSettings(platform::SettingsStore &store, const Settings &settings, QString *error);

// What is wrong with the details as typed, one sentence naming the field
// and what is wrong with it; empty when they can be stored. Codes are
// checked against the lists of the EN 16931 rules, the IBAN for its check
// digits.
QString SettingsProblem(const Settings &settings);

// What is wrong with one value as typed, one sentence that names the field
// and says what was typed; empty when it is right. `field` begins the
// sentence ("The seller's country"). An empty country or currency is "not
// set"; an empty VAT identifier or IBAN is no problem here.
QString CountryProblem(const QString &field, const QString &typed);
QString CurrencyProblem(const QString &typed);
QString VatIdProblem(const QString &typed);
QString IbanProblem(const QString &typed);

// The checks behind them: listed codes, exactly as stored (upper case).
bool IsCountryCode(const QString &code);
bool IsCurrencyCode(const QString &code);
bool IsVatId(const QString &vatId);
bool IsIban(const QString &iban);
bool IsBic(const QString &bic);

} // namespace einvoice
