// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shell.h"

#include "platform/messagebox.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A web address (or any other URL with a scheme of its own) rather than a path.
bool isAddress(const QString &target)
{
    const QUrl url(target);
    return url.isValid() && url.scheme().size() > 1 && !url.isLocalFile();
}

// The desktop file of the program the MIME database opens this type with;
// empty when it knows none. When xdg-mime cannot be run, the answer is left
// to xdg-open itself, so "unknown" is reported as a program found.
QString defaultProgramFor(const QString &mimeType)
{
    QProcess query;
    query.setProcessChannelMode(QProcess::SeparateChannels);
    query.start(u"xdg-mime"_s, {u"query"_s, u"default"_s, mimeType});
    if (!query.waitForStarted(2000))
        return u"?"_s;
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return u"?"_s;
    }
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

// Whether this user may read the file or list the folder: tried, not
// guessed from its permission bits, so that what counts is what the program
// that opens it will meet.
bool readable(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno != EACCES && errno != EPERM;
    ::close(fd);
    return true;
}

} // namespace

ShellResult DesktopShell::open(const QString &target)
{
    if (!isAddress(target)) {
        const QFileInfo info(target);
        if (!info.exists())
            return info.absoluteDir().exists() ? ShellResult::FileNotFound : ShellResult::PathNotFound;
        if (!readable(target))
            return ShellResult::AccessDenied;
        const QString type = info.isDir() ? u"inode/directory"_s : QMimeDatabase().mimeTypeForFile(info).name();
        if (defaultProgramFor(type).isEmpty())
            return ShellResult::NoAssociation;
    }
    return QProcess::startDetached(u"xdg-open"_s, {target}) ? ShellResult::Opened : ShellResult::Failed;
}

QString ShellMessage(ShellResult result)
{
    switch (result) {
    case ShellResult::FileNotFound:
        return u"File not found"_s;
    case ShellResult::PathNotFound:
        return u"Path not found"_s;
    case ShellResult::AccessDenied:
        return u"Access denied"_s;
    case ShellResult::BadFormat:
        return u"Bad file format"_s;
    case ShellResult::AssociationIncomplete:
        return u"Filename association is invalid or incomplete"_s;
    case ShellResult::NoAssociation:
        return u"No application associated with filename extension"_s;
    case ShellResult::Opened:
    case ShellResult::Failed:
        break;
    }
    return {};
}

void ShellOpenFile(Shell &shell, MessageBox &messages, const QString &target)
{
    const QString message = ShellMessage(shell.open(target));
    if (!message.isEmpty())
        messages.inform(message);
}
