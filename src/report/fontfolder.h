// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace report {

// Makes the font files of `folder` (*.ttf, *.otf, *.ttc) available to every
// painter of this process. Each folder is read once; a missing folder leaves
// the system's fonts alone in charge. Needs a QGuiApplication.
void registerFontFolder(const QString &folder);

} // namespace report
