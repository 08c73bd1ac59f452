// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "invoicepdf/invoicevalues.h"

#include <QDate>
#include <QString>

#include <functional>
#include <optional>

namespace platform {
class MessageBox;
}

namespace invoicepdf {

class InvoiceReport;

// Where a document goes and what it is made from.
struct InvoiceDocument
{
    QString appFolder;
    QString templateName; // a file name in the application folder
    bool previewTemplate = false;
    QDate today;
};

// The file an invoice (or the template preview) is written to.
QString InvoicePdfPath(const QString &appFolder, const QString &invoiceNumber, bool previewTemplate);

// Writes the invoice PDF, or the template preview, and returns its path.
// An invoice whose file exists already is replaced only when the user agrees;
// declining returns nothing and changes nothing. The new file is written
// completely before it replaces the old one, so a failed export leaves the
// old file as it was. Throws RuntimeError with the description to show.
//
// A `finish` step, when given, receives the exported PDF in a temporary
// folder and writes the final file from it (completely, before it replaces
// the old one); it returns false with the description to show.
using PdfFinish = std::function<bool(const QString &exported, const QString &finalPath, QString *error)>;
std::optional<QString> WriteInvoicePdf(InvoiceReport &report, platform::MessageBox &messages,
                                       const InvoiceDocument &document, const InvoiceValues &invoice,
                                       const PdfFinish &finish = {});

} // namespace invoicepdf
