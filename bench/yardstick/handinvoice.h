// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QImage>
#include <QString>

// The yardstick for the report engine: the twelve-line invoice drawn by hand
// with QPdfWriter, much as Fern Cask lays it out, the way a program without a
// template engine would write it.
namespace yardstick {

using Values = QHash<QString, QString>;

// NAME=VALUE lines as quillbook-render reads them ("\n" a line break).
Values readValues(const QString &path);

// Makes the two faces the invoice uses available; needs a QGuiApplication.
void addFonts(const QString &fontsFolder);

// Writes the invoice as a PDF/A-1b file; false when it cannot be written.
bool drawInvoice(const Values &values, const QImage &logo, const QString &outputPath);

} // namespace yardstick
