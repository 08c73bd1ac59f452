// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class SettingsStore;

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

// Reads every detail; an empty country or currency gives the user's
// locale's, and a missing category Z.
Settings ReadSettings(const SettingsStore &store);

// Writes every detail. Returns false when the store refused a write;
// *error then says why.
bool WriteSettings(SettingsStore &store, const Settings &settings, QString *error);

// What is wrong with the details as typed, one sentence naming the field;
// empty when they can be stored. Codes are checked for their form (and
// countries against the known ones), the IBAN for its check digits.
QString SettingsProblem(const Settings &settings);

// The form checks, for the dialog's messages and the invoice's refusals.
bool IsCountryCode(const QString &code);
bool IsCurrencyCode(const QString &code);
bool IsVatId(const QString &vatId);
bool IsIban(const QString &iban);
bool IsBic(const QString &bic);

} // namespace einvoice
