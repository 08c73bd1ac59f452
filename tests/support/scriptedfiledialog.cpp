// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "scriptedfiledialog.h"

#include <QTest>

using platform::FileFilter;

QString ScriptedFileDialog::openFileName(const FileFilter &filter)
{
    m_shown.append(filter);
    if (m_script.isEmpty()) {
        QTest::qFail("Unexpected file-open dialog", __FILE__, __LINE__);
        return {};
    }
    return m_script.dequeue();
}

QString ScriptedFileDialog::saveFileName(const FileFilter &filter, const QString &)
{
    m_shown.append(filter);
    if (m_script.isEmpty()) {
        QTest::qFail("Unexpected file-save dialog", __FILE__, __LINE__);
        return {};
    }
    return m_script.dequeue();
}
