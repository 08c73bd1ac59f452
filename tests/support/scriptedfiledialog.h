// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/filedialog.h"

#include <QList>
#include <QQueue>

// Answers the file-open dialog from a script ("" is a cancel) and records the
// filter of every dialog shown. A dialog nobody scripted fails the running
// test and counts as cancelled.
class ScriptedFileDialog : public platform::FileDialog
{
public:
    void expect(const QString &fileName) { m_script.enqueue(fileName); }
    const QList<platform::FileFilter> &shown() const { return m_shown; }
    qsizetype pending() const { return m_script.size(); }

    QString openFileName(const platform::FileFilter &filter) override;
    // Answered from the same script.
    QString saveFileName(const platform::FileFilter &filter, const QString &suggested) override;

private:
    QQueue<QString> m_script;
    QList<platform::FileFilter> m_shown;
};
