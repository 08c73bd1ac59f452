// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "register/registerrecord.h"

#include <QByteArray>
#include <QString>

#include <span>

namespace invoiceregister {

// The records as CSV for a spreadsheet or an accountant (RFC 4180): UTF-8,
// a header row, lines ending in CR LF, fields quoted where they hold a comma,
// a quote or a line break; amounts with a dot and two decimals and no
// grouping, dates and times ISO 8601.
QByteArray RegisterCsv(std::span<const RegisterRecord *const> records);

// Writes RegisterCsv to `path` through QSaveFile, so a failure leaves any
// earlier file whole. Returns false and sets *error on failure.
bool WriteRegisterCsv(const QString &path, std::span<const RegisterRecord *const> records, QString *error);

} // namespace invoiceregister
