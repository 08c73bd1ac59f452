// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platformui/modaldialogrunner.h"

#include <QDialog>

namespace platformui {

int ModalDialogRunner::exec(QDialog &dialog)
{
    return dialog.exec();
}

} // namespace platformui
