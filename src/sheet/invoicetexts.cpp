// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/invoicetexts.h"

using invoicepdf::InvoiceValues;

namespace sheet {

InvoiceValues GatherInvoiceValues(const InvoiceTexts &invoice, const CompanyTexts &company, const StoredValues &stored,
                                  const AdjustmentAmounts &amounts)
{
    InvoiceValues values;
    values.companyName = company.companyName;
    values.invoiceNumber = company.invoiceNumber;
    values.companyDetails = company.companyDetails;
    values.customerDetails = invoice.customerDetails;
    values.lines = invoice.lines;
    values.subTotal = invoice.subTotal;
    values.surcharge1Amount = amounts.surcharge1;
    values.surcharge2Amount = amounts.surcharge2;
    values.discountAmount = amounts.discount;
    values.shipping = invoice.shipping;
    values.tax = invoice.tax;
    values.total = invoice.total;
    values.received = invoice.received;
    values.balance = invoice.balance;
    values.paymentMethod = invoice.paymentMethod;
    values.footers = company.footers;
    values.currency = stored.currency;
    values.tel = stored.tel;
    values.fax = stored.fax;
    values.taxHeading = invoice.taxHeading;
    values.taxCharge = stored.taxCharge;
    values.taxValue = stored.taxValue;
    values.surcharge1Percent = invoice.surcharge1Percent;
    values.surcharge2Percent = invoice.surcharge2Percent;
    values.discountPercent = invoice.discountPercent;
    values.logo = stored.logo;
    return values;
}

} // namespace sheet
