// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "scriptedmessagebox.h"

#include <QTest>

using platform::Message;

QList<Message> ScriptedMessageBox::takeShown()
{
    return std::exchange(m_shown, {});
}

void ScriptedMessageBox::reset()
{
    m_script.clear();
    m_shown.clear();
}

Message::Answer ScriptedMessageBox::show(const Message &message)
{
    m_shown.append(message);
    if (m_script.isEmpty()) {
        const QByteArray text
            = "Unexpected message: \"" + message.text.toUtf8() + "\" titled \"" + message.title.toUtf8() + '"';
        QTest::qFail(text.constData(), __FILE__, __LINE__);
        return message.buttons == Message::Buttons::Ok ? Message::Answer::Ok : Message::Answer::No;
    }
    const Message::Answer answer = m_script.dequeue();
    const bool fits
        = message.buttons == Message::Buttons::Ok ? answer == Message::Answer::Ok : answer != Message::Answer::Ok;
    if (!fits) {
        const QByteArray text = "Scripted answer does not fit the buttons of \"" + message.text.toUtf8() + '"';
        QTest::qFail(text.constData(), __FILE__, __LINE__);
    }
    return answer;
}
