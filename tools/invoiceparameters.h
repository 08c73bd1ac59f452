// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The 85 parameter names Quillbook gives every invoice template, in the order
// the program sets them.
QStringList invoiceParameterNames();
