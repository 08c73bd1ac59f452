// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktopidentity.h"

#include <QApplication>

namespace modMain {

using namespace Qt::StringLiterals;

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(u":/icons/" QUILLBOOK_APP_ID "-%1.png"_s.arg(size), QSize(size, size));
    return icon;
}

void SetDesktopIdentity()
{
    QGuiApplication::setDesktopFileName(u"" QUILLBOOK_APP_ID ""_s);
    QApplication::setWindowIcon(ProgramIcon());
}

} // namespace modMain
