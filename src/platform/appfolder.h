// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

// Where the program keeps its templates, the logo, the template preview and
// the invoices.
//
// A program run from its own folder (the build's app/ folder, a portable
// copy) keeps them beside itself. An installed program, whose shipped
// templates and logo lie in share/quillbook beside the bin/ folder that holds
// it, never writes below its prefix: it keeps them in the user's own folder,
// which it makes on first start and gives a copy of every shipped file that
// is missing there. A file the user has is never replaced, so edited
// templates stay, and a shipped template the user deleted comes back.
struct AppFolder
{
    QString path;   // the application folder
    QString shared; // the installed program's shipped data; empty when run from its own folder
    QString error;  // what could not be prepared in the user's folder; empty when all went well
};

// Chooses the application folder of the program in programFolder and, for an
// installed program, prepares userFolder as described above: the folder
// itself, its invoices folder and the missing shipped files.
AppFolder PrepareAppFolder(const QString &programFolder, const QString &userFolder);

// The user's folder of an installed program (~/.local/share/Quillbook on Linux).
QString UserAppFolder();

} // namespace platform
