// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// quillbook --export-register FILE [--from DATE] [--to DATE]: the register's
// records issued in the range (ISO dates, both ends included, either left
// out for an open end) written to FILE as CSV, for scripts. No window.
namespace modMain {

// Whether the command line asks for the export.
bool IsRegisterCommand(int argc, char *argv[]);

// Runs the export over the register of appFolder. Returns the exit status:
// 0 done, 1 the register or the file failed, 2 a wrong command line; a
// failure is described in *error.
int ExportRegister(const QStringList &arguments, const QString &appFolder, QString *error);

// The command as a program: QCoreApplication, the application folder, the
// export, a failure on standard error.
int RunRegisterCommand(int argc, char *argv[]);

} // namespace modMain
