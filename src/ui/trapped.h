// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace platform {
class MessageBox;
}

namespace ui {

// Runs a procedure that traps failures: the first failure ends it and its
// description is shown; nothing escapes into the event loop.
void Trapped(platform::MessageBox &messages, const std::function<void()> &steps);

} // namespace ui
