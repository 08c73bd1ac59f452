// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/messagebox.h"

#include <QMessageBox>

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

Message::Answer QtMessageBox::show(const Message &message)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(message.title);
    box.setText(message.text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(message.icon == Message::Icon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
    if (message.buttons == Message::Buttons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.exec();
        return Message::Answer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(message.defaultButton == Message::Answer::No ? QMessageBox::No : QMessageBox::Yes);
    // Closing the question with Escape or the close box counts as No.
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Message::Answer::Yes : Message::Answer::No;
}
