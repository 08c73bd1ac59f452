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
    QStringList problems;                  // "file:line: message", the first 50, then "and N more problems"
};

// More than the 85 values of any invoice need, each as long as a box shows.
constexpr qint64 kMaxParamsFileBytes = 1024 * 1024;

// Reads `path`; names not in `known` are problems, with the nearest one
// suggested. A file larger than kMaxParamsFileBytes is refused unread.
ParamsFile readParamsFile(const QString &path, const QStringList &known);

// The same for the bytes of such a file; `label` starts each problem.
ParamsFile readParams(const QByteArray &bytes, const QString &label, const QStringList &known);
