// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace ui {

// A single-line text box that tells when it gains or loses the focus, after
// its own handling of the focus event is done (the cursor placed, editing
// finished), so the window acts on the box as the user sees it.
class TextBox : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

signals:
    void gotFocus(Qt::FocusReason reason);
    void lostFocus(Qt::FocusReason reason);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

} // namespace ui
