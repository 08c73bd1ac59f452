// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

// Every message the program shows the user: a text (which may hold line
// breaks), OK or Yes/No buttons, no icon or the exclamation icon, and a title.
struct Message
{
    enum class Buttons { Ok, YesNo };
    enum class Icon { None, Exclamation };
    enum class Answer { Ok, Yes, No };

    QString text;
    QString title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    Answer defaultButton = Answer::Ok; // Yes or No for a question

    bool operator==(const Message &) const = default;
};

// The application title: the messages' title and the settings' application name.
QString ApplicationTitle();

class MessageBox
{
public:
    virtual ~MessageBox() = default;

    // Shows the message modally and returns the button the user chose.
    virtual Message::Answer show(const Message &message) = 0;

    // An OK message titled with the application title.
    void inform(const QString &text, const QString &title = ApplicationTitle());
    // A Yes/No question without icon, titled with the application title.
    bool ask(const QString &text, Message::Answer defaultButton = Message::Answer::Yes);
};

} // namespace platform
