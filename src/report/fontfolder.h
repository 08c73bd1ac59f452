// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace report {

// Makes the font files of `folder` (*.ttf, *.otf, *.ttc) available to every
// painter of this process and returns the families they hold, sorted. Each
// folder is read once. Needs a QGuiApplication.
QStringList registerFontFolder(const QString &folder);

// The family of `families` nearest to `family`: a serif one for names that
// speak of serifs or of well-known serif faces, else by spelling.
QString nearestFamily(const QString &family, const QStringList &families);

} // namespace report
