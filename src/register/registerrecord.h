// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "invoice/amount.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QString>

#include <array>
#include <optional>

namespace invoiceregister {

// One issued invoice PDF as the register keeps it: the figures printed on it,
// to the cent, and the file as it was written.
struct RegisterRecord
{
    static constexpr int CustomerLines = 6;

    qint64 id = 0;    // the position in the register, from 1; 0 before it is recorded
    QString number;   // the invoice number as printed after "INV"
    int version = 1;  // a reprint over an earlier PDF of the same number is the next version
    QDateTime issued; // local date and time the PDF was written
    std::array<QString, CustomerLines> customer;
    invoice::Amount subTotal, shipping, tax, surcharge2, total, received, balance;
    std::optional<invoice::Amount> taxRate; // percent; empty when no tax was charged
    QString currency;
    QString paymentMethod;
    QString templateName;
    bool eInvoice = false; // the PDF carries factur-x.xml
    QString fileName;      // INV<number>.pdf in the invoices folder
    QByteArray sha256;     // hex digest of the file as issued
    bool rebuilt = false;  // read back from the PDF's e-invoice rather than recorded at printing
    bool replaced = false; // a later version of the number exists (never stored: derived)

    // The amount before tax: what a tax return calls net.
    invoice::Amount net() const { return subTotal + shipping; }
};

// What the register window lists, sorts, filters and totals of a record.
// Every record is read this way when the window opens, so it holds no more
// than that, and the date and time without a time zone: a hundred thousand
// of them are read in a few tens of milliseconds.
struct RegisterEntry
{
    qint64 id = 0;
    QString number;
    int version = 1;
    bool replaced = false; // a later version of the number exists
    QDate date;            // local date and time the PDF was written
    QTime time;
    QString customer; // the first of the customer's lines
    invoice::Amount subTotal, shipping, tax, total, received, balance;
    std::optional<invoice::Amount> taxRate; // percent; empty when no tax was charged

    invoice::Amount net() const { return subTotal + shipping; }
};

// Where the chain of record hashes stands. Each record's hash covers its own
// fields and the hash of the record before it, so an edited record breaks its
// own link and a removed one breaks the link of the record after it.
struct ChainState
{
    bool intact = true;
    qint64 brokenAt = 0; // the first record whose link does not hold; 0 when intact
    QString number;      // that record's invoice number, when it exists
    QString reason;
};

} // namespace invoiceregister
