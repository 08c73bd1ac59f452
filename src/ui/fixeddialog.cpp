// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/fixeddialog.h"

#include <QDialog>

namespace ui {

using namespace Qt::StringLiterals;

QFont MakeFixedDialog(QDialog &dialog, const QString &name)
{
    dialog.setObjectName(name);
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint);
    QFont font(u"Noto Sans"_s);
    font.setPixelSize(11);
    dialog.setFont(font);
    font.setBold(true);
    return font;
}

} // namespace ui
