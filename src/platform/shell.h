// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class MessageBox;

// How an attempt to open a file, folder or web address with the desktop's
// associated program ended. Each failure but Failed has its own message.
enum class ShellResult {
    Opened,
    FileNotFound,
    PathNotFound,
    AccessDenied,
    BadFormat,
    AssociationIncomplete,
    NoAssociation,
    Failed, // any other failure: passed over in silence
};

// Opens documents, folders and web addresses with whatever program the
// desktop associates with them.
class Shell
{
public:
    virtual ~Shell() = default;

    // Starts the associated program for `target` (a local path or a URL such
    // as https://host/page) and returns at once; never waits for the program.
    virtual ShellResult open(const QString &target) = 0;
};

// The desktop's own route: the freedesktop.org MIME database answers which
// program opens a type (xdg-mime), and xdg-open starts it, detached, so it
// outlives the window and leaves no zombie behind.
class DesktopShell : public Shell
{
public:
    ShellResult open(const QString &target) override;
};

// The message a failure is reported with; empty for a result passed over.
QString ShellMessage(ShellResult result);

// Opens `target` through the shell and reports a failure in an OK message
// titled with the application title.
void ShellOpenFile(Shell &shell, MessageBox &messages, const QString &target);
