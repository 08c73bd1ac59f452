// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/filesystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform {

using namespace Qt::StringLiterals;

bool QtFileSystem::ListFiles(const QString &folder, const QString &pattern, QStringList *names, QString *error) const
{
    const QFileInfo info(folder);
    if (!info.exists() || !info.isDir()) {
        *error = u"Path not found: %1"_s.arg(QDir::toNativeSeparators(folder));
        return false;
    }
    if (!info.isReadable() || !info.isExecutable()) {
        *error = u"Permission denied: %1"_s.arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QDir dir(folder);
    dir.setNameFilters({pattern});
    // Name filters ignore letter case unless told otherwise. Files only: no
    // folders and, without QDir::Hidden, no hidden files.
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Unsorted);
    *names = dir.entryList();
    return true;
}

bool QtFileSystem::MakeFolder(const QString &path)
{
    return QDir().mkpath(path);
}

bool QtFileSystem::RemoveFile(const QString &path, QString *error)
{
    QFile file(path);
    if (file.remove())
        return true;
    *error = file.errorString();
    return false;
}

QString AppPath(const QString &appFolder, const QString &relative)
{
    return QDir(appFolder).filePath(relative);
}

} // namespace platform
