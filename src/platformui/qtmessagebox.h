// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/messagebox.h"

#include <memory>

class QMessageBox;
class QWidget;

namespace platformui {

// QMessageBox, modal over the given window.
class QtMessageBox : public platform::MessageBox
{
public:
    void setParentWindow(QWidget *parent) { m_parent = parent; }
    platform::Message::Answer show(const platform::Message &message) override;

    // The box made for the message, not yet shown.
    std::unique_ptr<QMessageBox> makeBox(const platform::Message &message) const;

private:
    QWidget *m_parent = nullptr;
};

} // namespace platformui
