// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

class QDialog;
class QString;

namespace ui {

// Makes the dialog a fixed-size dialog without minimise and maximise boxes,
// in the program's regular font; returns that font in bold for its labels.
QFont MakeFixedDialog(QDialog &dialog, const QString &name);

} // namespace ui
