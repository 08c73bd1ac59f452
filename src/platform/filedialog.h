// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace platform {

// One entry of a file-open dialog's file-type list.
struct FileFilter
{
    QString description;
    QStringList patterns; // wildcards such as "*.jpg"

    bool operator==(const FileFilter &) const = default;
};

// The modal file-open dialog.
class FileDialog
{
public:
    virtual ~FileDialog() = default;

    // Lets the user choose one existing file of the filter's types. Returns
    // its full path, or the empty text when the user cancelled.
    virtual QString openFileName(const FileFilter &filter) = 0;

    // Lets the user name a file to write, of the filter's type, offering
    // `suggested`. Returns its full path, or the empty text when the user
    // cancelled. Where a dialog cannot be shown, that is a cancel.
    virtual QString saveFileName(const FileFilter &filter, const QString &suggested)
    {
        Q_UNUSED(filter);
        Q_UNUSED(suggested);
        return {};
    }
};

} // namespace platform
