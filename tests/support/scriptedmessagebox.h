// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/messagebox.h"

#include <QList>
#include <QQueue>

// Answers messages from a script and records every message shown. A message
// that nobody scripted fails the running test, so unexpected messages cannot
// hide; it is answered No (or OK) so that nothing destructive follows.
class ScriptedMessageBox : public MessageBox
{
public:
    // The next message will be answered with this button.
    void expect(Message::Answer answer) { m_script.enqueue(answer); }
    // Every message shown until now, oldest first; clears the record.
    QList<Message> takeShown();
    const QList<Message> &shown() const { return m_shown; }
    // Answers scripted but not used yet.
    qsizetype pending() const { return m_script.size(); }
    void reset();

    Message::Answer show(const Message &message) override;

private:
    QQueue<Message::Answer> m_script;
    QList<Message> m_shown;
};
