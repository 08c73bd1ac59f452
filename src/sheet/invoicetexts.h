// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "invoicepdf/invoicevalues.h"

#include <QString>

#include <array>

// What an invoice is printed from, gathered without a window: the texts of
// the boxes as shown, the stored settings it prints, and the calculator's
// adjustment amounts.
namespace sheet {

// The Invoice page as it shows the invoice.
struct InvoiceTexts
{
    std::array<QString, invoicepdf::InvoiceValues::AddressLines> customerDetails{};
    std::array<invoicepdf::InvoiceValues::Line, invoicepdf::InvoiceValues::LineCount> lines{};
    QString surcharge1Percent;
    QString discountPercent;
    QString subTotal;
    QString shipping;
    QString tax;
    QString total;
    QString surcharge2Percent;
    QString received;
    QString balance;
    QString paymentMethod;
    QString taxHeading; // as shown over the tax total ("+VAT@17.5%", "NO TAX")
};

// The Settings page's boxes that an invoice prints.
struct CompanyTexts
{
    QString companyName;
    QString invoiceNumber;
    std::array<QString, invoicepdf::InvoiceValues::AddressLines> companyDetails{};
    std::array<QString, invoicepdf::InvoiceValues::FooterLines> footers{};
};

// Settings an invoice takes from the store rather than from their boxes.
struct StoredValues
{
    QString currency;
    QString tel;
    QString fax;
    qint32 taxCharge = 0;
    invoice::Amount taxValue;
    QString logo;
};

// The calculator's figures for the percentage adjustments; empty before
// the calculator has run.
struct AdjustmentAmounts
{
    QString surcharge1;
    QString surcharge2;
    QString discount;
};

// Every value the invoice document is made from.
invoicepdf::InvoiceValues GatherInvoiceValues(const InvoiceTexts &invoice, const CompanyTexts &company,
                                              const StoredValues &stored, const AdjustmentAmounts &amounts);

} // namespace sheet
