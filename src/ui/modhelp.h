// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {
class MessageBox;
}

namespace ui {

// The explanation of the field under heading `index` (0 to 30); empty for
// any other index.
QString FieldHelpText(int index);

// Shows the field's explanation in an OK message titled with the heading's
// caption exactly as it stands.
void ShowFieldHelp(platform::MessageBox &messages, int index, const QString &caption);

} // namespace ui
