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

namespace platform {

using namespace Qt::StringLiterals;

namespace {

// A web address (or any other URL with a scheme of its own) rather than a path.
bool isAddress(const QString &target)
{
    const QUrl url(target);
    return url.isValid() && url.scheme().size() > 1 && !url.isLocalFile();
}

void startOpener(const QString &target, const Shell::Done &done)
{
    done(QProcess::startDetached(u"xdg-open"_s, {target}) ? ShellResult::Opened : ShellResult::Failed);
}

// Asks the MIME database which program opens the type, without waiting for
// the answer: a type no program opens is reported, any other answer starts
// the opener. When xdg-mime cannot be run, the opener decides by itself.
void openWithProgramFor(QObject *owner, const QString &mimeType, const QString &target, const Shell::Done &done)
{
    auto *query = new QProcess(owner);
    query->setProcessChannelMode(QProcess::SeparateChannels);
    QObject::connect(query, &QProcess::finished, query, [query, target, done](int, QProcess::ExitStatus) {
        query->deleteLater();
        if (QString::fromLocal8Bit(query->readAllStandardOutput()).trimmed().isEmpty())
            done(ShellResult::NoAssociation);
        else
            startOpener(target, done);
    });
    QObject::connect(query, &QProcess::errorOccurred, query, [query, target, done](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        query->deleteLater();
        startOpener(target, done);
    });
    query->start(u"xdg-mime"_s, {u"query"_s, u"default"_s, mimeType});
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

DesktopShell::~DesktopShell()
{
    // A question still out is dropped unanswered: what its answer would be
    // reported to may be gone by now.
    for (QProcess *query : m_queries.findChildren<QProcess *>(Qt::FindDirectChildrenOnly)) {
        query->disconnect();
        query->kill();
        query->waitForFinished(1000);
    }
}

void DesktopShell::open(const QString &target, Done done)
{
    if (isAddress(target))
        return startOpener(target, done);
    const QFileInfo info(target);
    if (!info.exists())
        return done(info.absoluteDir().exists() ? ShellResult::FileNotFound : ShellResult::PathNotFound);
    if (!readable(target))
        return done(ShellResult::AccessDenied);
    openWithProgramFor(&m_queries, info.isDir() ? u"inode/directory"_s : QMimeDatabase().mimeTypeForFile(info).name(),
                       target, done);
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
    shell.open(target, [&messages](ShellResult result) {
        const QString message = ShellMessage(result);
        if (!message.isEmpty())
            messages.inform(message);
    });
}

} // namespace platform
