// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platformui/modaldialogrunner.h"

#include <QDialog>

int ModalDialogRunner::exec(QDialog &dialog)
{
    return dialog.exec();
}
