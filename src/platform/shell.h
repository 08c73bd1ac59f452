// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace platform {

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

    using Done = std::function<void(ShellResult)>;

    // Starts the associated program for `target` (a local path or a URL such
    // as https://host/page) and returns at once, without waiting for the
    // program or for the desktop to find it. `done` gets the result: at once
    // when it is known at once, otherwise later, from the event loop.
    virtual void open(const QString &target, Done done) = 0;
};

// The desktop's own route: the freedesktop.org MIME database answers which
// program opens a type (xdg-mime), and xdg-open starts it, detached, so it
// outlives the window and leaves no zombie behind.
class DesktopShell : public Shell
{
public:
    DesktopShell() = default;
    DesktopShell(const DesktopShell &) = delete;
    DesktopShell &operator=(const DesktopShell &) = delete;
    // Drops the questions still out: no `done` runs after this.
    ~DesktopShell() override;

    void open(const QString &target, Done done) override;

private:
    QObject m_queries; // owns the desktop questions still out
};

// The message a failure is reported with; empty for a result passed over.
QString ShellMessage(ShellResult result);

// Opens `target` through the shell and reports a failure in an OK message
// titled with the application title (perhaps after this returns: `messages`
// must outlive the event loop's next turns).
void ShellOpenFile(Shell &shell, MessageBox &messages, const QString &target);

} // namespace platform
