// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/trapped.h"

#include "invoice/runtimeerror.h"
#include "platform/messagebox.h"

using platform::MessageBox;

using invoice::RuntimeError;

namespace ui {

void Trapped(MessageBox &messages, const std::function<void()> &steps)
{
    try {
        steps();
    } catch (const RuntimeError &error) {
        messages.inform(error.description());
    } catch (const std::exception &error) {
        messages.inform(QString::fromLocal8Bit(error.what()));
    }
}

} // namespace ui
