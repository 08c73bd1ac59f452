// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platformdoubles.h"

#include <QDir>

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
