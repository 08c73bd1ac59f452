// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "einvoice/einvoicesettings.h"
#include "einvoice/facturx.h"
#include "invoice/totals.h"
#include "invoicepdf/invoicepdf.h"

#include <optional>

namespace invoicepdf {
class InvoiceReport;
}
namespace platform {
class MessageBox;
}
namespace platform {
class SettingsStore;
}

namespace einvoice {

// The e-invoice of an invoice as the window shows it, or why it cannot be one.
struct Outcome
{
    std::optional<Invoice> invoice;
    QString refusal; // one sentence naming what to change; set when there is no invoice
    QString notice;  // what was assumed for the invoice (the buyer's country); told after printing
};

// Builds the e-invoice from the window's values, the calculator's input and
// the e-invoicing settings. Every figure is the calculator's own: the
// surcharge and the discount are split between the taxed and the untaxed
// lines as the calculator splits them. A negative total makes a credit
// note, whose amounts are the invoice's with their signs turned. Throws
// RuntimeError as the calculator does.
Outcome BuildInvoice(const invoicepdf::InvoiceValues &values, const invoice::TotalsInput &totals,
                     const Settings &settings, const QDate &issued);

// Writes the invoice PDF as WriteInvoicePdf does. With e-invoicing switched
// on, an invoice that can be an e-invoice is written as a PDF/A-3 carrying
// its XML; one that cannot is written as the plain PDF and, once written,
// one message says why. An e-invoice with a notice is followed by one
// message telling it. The template preview is always plain.
std::optional<QString> WriteInvoiceDocument(invoicepdf::InvoiceReport &report, platform::MessageBox &messages,
                                            const platform::SettingsStore &store,
                                            const invoicepdf::InvoiceDocument &document,
                                            const invoicepdf::InvoiceValues &values,
                                            const invoice::TotalsInput &totals);

} // namespace einvoice
