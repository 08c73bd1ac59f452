// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/filedialog.h"

class QFileDialog;
class QWidget;

namespace platformui {

// QFileDialog, modal over the given window, in the folder it opens by default.
class QtFileDialog : public platform::FileDialog
{
public:
    void setParentWindow(QWidget *parent) { m_parent = parent; }
    QString openFileName(const platform::FileFilter &filter) override;
    QString saveFileName(const platform::FileFilter &filter, const QString &suggested) override;

    // The wildcard matching in either letter case, also where the file
    // system and the dialog compare names exactly: "*.jpg" gives "*.[jJ][pP][gG]".
    static QString anyLetterCase(const QString &pattern);
    // Sets the dialog up for one existing file of the filter's types, large
    // enough for long file names on the screen it opens on.
    static void prepare(QFileDialog &dialog, const platform::FileFilter &filter);

private:
    QWidget *m_parent = nullptr;
};

} // namespace platformui
