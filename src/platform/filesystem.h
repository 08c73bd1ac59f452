// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace platform {

// The file-system operations the program needs beyond reading and writing files.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // Names (no path) of the ordinary, non-hidden files in folder that match
    // the wildcard pattern, ignoring letter case, in listing order. Returns
    // false and sets *error when the folder cannot be listed.
    virtual bool ListFiles(const QString &folder, const QString &pattern, QStringList *names, QString *error) const = 0;

    // Creates the folder; true when it exists afterwards.
    virtual bool MakeFolder(const QString &path) = 0;

    // Deletes the file. Returns false and sets *error when it cannot.
    virtual bool RemoveFile(const QString &path, QString *error) = 0;
};

class QtFileSystem : public FileSystem
{
public:
    bool ListFiles(const QString &folder, const QString &pattern, QStringList *names, QString *error) const override;
    bool MakeFolder(const QString &path) override;
    bool RemoveFile(const QString &path, QString *error) override;
};

// The path of a file or folder inside the application folder.
QString AppPath(const QString &appFolder, const QString &relative);

} // namespace platform
