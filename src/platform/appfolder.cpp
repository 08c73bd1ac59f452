// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/appfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

using namespace Qt::StringLiterals;

namespace {

// The shipped data of a program installed with its executable in
// programFolder, or an empty string when it is not installed that way.
QString InstalledDataFolder(const QString &programFolder)
{
    const QDir program(programFolder);
    if (program.dirName() != u"bin"_s)
        return {};
    const QFileInfo shared(program.filePath(u"../share/quillbook"_s));
    return shared.isDir() ? shared.canonicalFilePath() : QString();
}

} // namespace

AppFolder PrepareAppFolder(const QString &programFolder, const QString &userFolder)
{
    AppFolder folder{programFolder, InstalledDataFolder(programFolder), {}};
    if (folder.shared.isEmpty())
        return folder;
    folder.path = userFolder;
    if (userFolder.isEmpty()) {
        folder.error = u"The program finds no folder of yours to keep its templates and invoices in."_s;
        return folder;
    }
    const QDir user(userFolder);
    if (!user.mkpath(u"invoices"_s)) {
        folder.error
            = u"The folder %1 cannot be created."_s.arg(QDir::toNativeSeparators(user.filePath(u"invoices"_s)));
        return folder;
    }
    QStringList failed;
    const QDir shared(folder.shared);
    for (const QString &name : shared.entryList(QDir::Files, QDir::Name)) {
        const QString target = user.filePath(name);
        // An existing entry, even a broken link, is the user's and stays.
        if (QFileInfo(target).exists() || QFileInfo(target).isSymLink())
            continue;
        if (!QFile::copy(shared.filePath(name), target)) {
            failed << name;
            continue;
        }
        // The copy is the user's to edit, whatever the shipped file allowed.
        QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
    }
    if (!failed.isEmpty())
        folder.error = u"These files could not be copied into %1: %2"_s.arg(QDir::toNativeSeparators(userFolder),
                                                                            failed.join(u", "_s));
    return folder;
}

QString UserAppFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : QDir(data).filePath(u"Quillbook"_s);
}

} // namespace platform
