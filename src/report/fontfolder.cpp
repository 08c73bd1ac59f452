// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/fontfolder.h"

#include <QDir>
#include <QFontDatabase>
#include <QSet>

using namespace Qt::StringLiterals;

namespace report {

void registerFontFolder(const QString &folder)
{
    static QSet<QString> registered;
    const QString canonical = QDir(folder).canonicalPath();
    if (canonical.isEmpty() || registered.contains(canonical))
        return;
    registered.insert(canonical);
    const QDir dir(canonical);
    const QStringList files =
        dir.entryList({u"*.ttf"_s, u"*.otf"_s, u"*.ttc"_s}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        QFontDatabase::addApplicationFont(dir.filePath(file));
}

} // namespace report
