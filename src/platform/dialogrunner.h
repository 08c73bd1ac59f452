// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QDialog;

namespace platform {

// Shows the program's own dialogs (the reset dialog, the About box) modally:
// the main window takes no input until the dialog is closed.
class DialogRunner
{
public:
    virtual ~DialogRunner() = default;
    // Returns the dialog's result once it is closed.
    virtual int exec(QDialog &dialog) = 0;
};

} // namespace platform
