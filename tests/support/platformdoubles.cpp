// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platformdoubles.h"

#include <QDialog>
#include <QDir>
#include <QTest>

int ScriptedDialogs::exec(QDialog &dialog)
{
    if (m_steps.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("Unexpected dialog: ") + dialog.windowTitle()), __FILE__, __LINE__);
        return QDialog::Rejected;
    }
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        QTest::qFail("The dialog was not shown", __FILE__, __LINE__);
    m_steps.dequeue()(dialog);
    if (dialog.isVisible())
        dialog.reject();
    return dialog.result();
}

RecordingReport::RecordingReport()
{
    m_engine.engine().setFontsFolder(QDir(QStringLiteral(QUILLBOOK_APP_DIR)).filePath(QStringLiteral("fonts")));
}

void RecordingReport::TemplatePath(const QString &path)
{
    templatePaths << path;
    m_engine.TemplatePath(path);
}

void RecordingReport::SetParameter(const QString &name, const QString &value)
{
    if (std::exchange(m_exported, false))
        parameters.clear();
    parameters.append({name, value});
    m_engine.SetParameter(name, value);
}

bool RecordingReport::ExportPdf(const QString &outputPath)
{
    exports << outputPath;
    m_exported = true;
    return m_engine.ExportPdf(outputPath);
}
