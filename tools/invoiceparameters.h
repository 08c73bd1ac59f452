// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The 85 parameter names Quillbook gives every invoice template, in the order
// the program sets them.
QStringList invoiceParameterNames();

// The money amounts among them (unit prices, line totals and the totals
// column), which arrive formatted like 1,234.50.
QStringList invoiceAmountNames();
