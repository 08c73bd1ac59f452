// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "register/registerrecord.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

namespace invoiceregister {

class clsRegister;

// The e-invoice (factur-x.xml) a PDF carries; nothing for a plain PDF or a
// file that is not a readable PDF.
std::optional<QByteArray> AttachedEInvoice(const QString &pdfPath);

// The register's figures read from a Factur-X invoice; nothing when the XML
// lacks the totals.
std::optional<RegisterRecord> RecordFromEInvoice(const QByteArray &xml);

struct RebuildResult
{
    int added = 0;      // records appended
    int known = 0;      // PDFs the register already held as they are
    QStringList unread; // file names of PDFs without a readable e-invoice, which were not recorded
};

// Reads every INV*.pdf of the invoices folder whose contents the register
// does not hold yet and appends it, oldest issue date first, with the
// figures of its attached e-invoice. Plain PDFs carry no figures that can be
// read back: they are listed, not recorded. Throws RuntimeError as the
// register does.
RebuildResult RebuildRegister(clsRegister &invoiceRegister);

} // namespace invoiceregister
