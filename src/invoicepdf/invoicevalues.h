// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "invoice/amount.h"

#include <QString>

#include <array>

namespace invoicepdf {

// One invoice as the window shows it: the boxes' texts exactly as displayed,
// the totals calculator's figures and the settings' values. Gathered by the
// window; the document is made from these values alone.
struct InvoiceValues
{
    static constexpr int LineCount = 12;
    static constexpr int AddressLines = 6;
    static constexpr int FooterLines = 3;

    struct Line
    {
        QString quantity;
        QString description;
        QString unitPrice;
        QString total;
    };

    QString companyName;
    QString invoiceNumber; // the number box's text, unchanged
    std::array<QString, AddressLines> companyDetails;
    std::array<QString, AddressLines> customerDetails;
    std::array<Line, LineCount> lines;

    QString subTotal;
    QString surcharge1Amount;
    QString surcharge2Amount;
    QString discountAmount;
    QString shipping;
    QString tax;
    QString total;
    QString received;
    QString balance;
    QString paymentMethod;
    std::array<QString, FooterLines> footers;

    QString currency;
    QString tel;
    QString fax;
    QString taxHeading; // the tax column's heading as shown ("+VAT@17.5%", "NO TAX")
    qint32 taxCharge = 0;
    invoice::Amount taxValue;
    QString surcharge1Percent;
    QString surcharge2Percent;
    QString discountPercent;
    QString logo; // the stored logo path; empty for the default logo
};

} // namespace invoicepdf
