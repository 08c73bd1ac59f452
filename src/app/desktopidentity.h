// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace modMain {

// The program's icon, in every size it is drawn in.
QIcon ProgramIcon();

// Gives the program's windows their icon and names the desktop entry they
// belong to, so that the desktop groups them with the menu entry.
void SetDesktopIdentity();

} // namespace modMain
