// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/messagebox.h"

namespace platform {

using namespace Qt::StringLiterals;

QString ApplicationTitle()
{
    return u"Tallyquill"_s;
}

void MessageBox::inform(const QString &text, const QString &title)
{
    show({text, title, Message::Buttons::Ok, Message::Icon::None, Message::Answer::Ok});
}

bool MessageBox::ask(const QString &text, Message::Answer defaultButton)
{
    return show({text, ApplicationTitle(), Message::Buttons::YesNo, Message::Icon::None, defaultButton})
        == Message::Answer::Yes;
}

} // namespace platform
