// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/messagebox.h"

#include <QList>
#include <QQueue>

// Answers messages from a script and records every message shown. A message
// that nobody scripted fails the running test, so unexpected messages cannot
// hide; it is answered No (or OK) so that nothing destructive follows.
class ScriptedMessageBox : public platform::MessageBox
{
public:
    // The next message will be answered with this button.
    void expect(platform::Message::Answer answer) { m_script.enqueue(answer); }
    // Every message shown until now, oldest first; clears the record.
    QList<platform::Message> takeShown();
    const QList<platform::Message> &shown() const { return m_shown; }
    // Answers scripted but not used yet.
    qsizetype pending() const { return m_script.size(); }
    void reset();

    platform::Message::Answer show(const platform::Message &message) override;

private:
    QQueue<platform::Message::Answer> m_script;
    QList<platform::Message> m_shown;
};
