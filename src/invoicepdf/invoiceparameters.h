// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "invoicepdf/invoicevalues.h"

#include <QDate>
#include <QList>
#include <QStringList>

#include <utility>

namespace invoicepdf {

using ReportParameter = std::pair<QString, QString>;

// The 85 parameter names every invoice template is given, in the order they
// are set.
QStringList InvoiceParameterNames();

// The money amounts among them (unit prices, line totals and the totals
// column), which arrive formatted like 1,234.50.
QStringList InvoiceAmountNames();

// The invoice's 85 parameters with their values, in the order they are set.
// A template preview carries "TEMPLATE" as its number. The date is written in
// the user's long date format; an empty logo setting gives the application
// folder's logo.jpg.
QList<ReportParameter> InvoiceParameters(const InvoiceValues &invoice, bool previewTemplate, const QDate &today,
                                         const QString &appFolder);

// The tax rate as the invoice prints it: the stored rate taken at single
// precision, in the shortest form that reads back as that number (17.5, 2.3).
QString TaxRateText(invoice::Amount rate);

} // namespace invoicepdf
