// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Checks the bytes of a written PDF where readers are lenient but archival
// validators are not.
namespace pdfsyntax {

// The faults of every stream in the file, each revision's included: the
// `stream` keyword followed by CRLF or LF, exactly /Length bytes of data (a
// number or a reference to one), an end-of-line, then `endstream`. One
// description per fault, naming the object; empty when every stream keeps
// the rule. A file without any stream is a fault, so that a broken scan
// cannot pass.
QStringList StreamFaults(const QByteArray &pdf);

// The same for a file; "unreadable" when it cannot be read.
QStringList StreamFaultsOf(const QString &path);

} // namespace pdfsyntax
