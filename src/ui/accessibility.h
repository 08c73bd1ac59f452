// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace ui {

// How screen readers meet the program's windows, where the toolkit's own
// answer falls short: a list with an accessible name is spoken by that name
// (with its selection as its value) rather than by the selected entry, the
// tab strip by its name rather than the selected tab's, and decorations are
// left out of the tree. Installs itself once; later calls do nothing.
void InstallAccessibility();

// The widget is decoration only (a connector line, an empty label): screen
// readers do not meet it.
void MarkDecorative(QWidget *widget, bool decorative = true);

} // namespace ui
