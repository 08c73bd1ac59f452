// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "einvoice/address.h"
#include "invoice/amount.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace pdfa3 {
struct XmpSchema;
}

namespace einvoice {

// A party as the XML names it.
struct Party
{
    QString name;
    PostalAddress address;
    QString vatId;
    QString taxNumber;
    QString registrationId;
};

struct Line
{
    QString name;
    QString quantity;          // the exact decimal typed, "0.12345"; negative for a credit
    invoice::Amount unitPrice; // never negative
    invoice::Amount net;       // in cents
    bool taxed = false;
};

// A document-level allowance (the discount) or charge (surcharge, shipping)
// for one VAT category.
struct Adjustment
{
    bool charge = false;
    invoice::Amount amount;
    QString reason;
    bool taxed = false;
};

// One VAT category's breakdown.
struct TaxCategory
{
    QString code;         // S, Z or E
    invoice::Amount rate; // percent
    invoice::Amount base;
    invoice::Amount tax;
    QString exemptionReason; // E only
};

// An invoice in the EN 16931 profile, every amount already final.
struct Invoice
{
    bool creditNote = false; // every amount then counts for the buyer: a credit of 10.00 is 10.00
    QString number;
    QDate issued;
    QDate due;
    QString paymentTerms;
    QString currency;
    QStringList notes;
    Party seller;
    Party buyer;
    QList<Line> lines;
    QList<Adjustment> adjustments;
    QString taxedCode = QStringLiteral("S");
    QString untaxedCode = QStringLiteral("Z");
    invoice::Amount taxRate;
    QList<TaxCategory> taxes;
    invoice::Amount lineTotal, chargeTotal, allowanceTotal, taxBasis, taxTotal, grandTotal, prepaid, duePayable;
    QString paymentCode; // UNTDID 4461; empty when no means is given
    QString paymentText;
    QString iban, bic;
};

// The CII XML (Factur-X / ZUGFeRD, profile EN 16931), UTF-8.
QByteArray FacturXXml(const Invoice &invoice);

// The attachment's name and the metadata schema that announces it.
QString FacturXFileName();
pdfa3::XmpSchema FacturXSchema();

// An amount in the XML's form: "." as decimal point, no separators, at
// least `minDecimals` and at most four decimals.
QString XmlAmount(invoice::Amount value, int minDecimals = 2);

} // namespace einvoice
