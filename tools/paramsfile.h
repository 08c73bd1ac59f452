// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// A parameters file: UTF-8 text of NAME=VALUE lines. Blank lines and lines
// starting with '#' are skipped; in a value "\n" is a line break and "\\" a
// backslash. Everything after the first '=' is the value, blanks included.
struct ParamsFile
{
    QList<QPair<QString, QString>> values; // in file order; a later line wins
    QStringList problems;                  // "file:line: message"
};

// Reads `path`; names not in `known` are problems, with the nearest one suggested.
ParamsFile readParamsFile(const QString &path, const QStringList &known);
