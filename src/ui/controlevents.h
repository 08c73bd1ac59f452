// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>

#include <functional>

class QLineEdit;
class QWidget;

namespace ui {

// What a page does on its controls' key, focus and mouse events, one entry
// per control. Key filters and the release of a mouse button other than the
// left one over a check box are read by this object's event filter, which
// only ever discards a key and passes everything else on. Focus gained and
// lost come from the boxes themselves (TextBox signals after its own focus
// handling), so other event filters keep working.
class ControlEvents : public QObject
{
    Q_OBJECT
public:
    struct Handlers
    {
        std::function<bool(QChar)> keyAllowed = {}; // typed characters that reach the box
        std::function<void()> gotFocus = {};
        std::function<void()> lostFocus = {};
        std::function<void()> otherButtonReleased = {}; // a check box: any button but the left
    };

    using QObject::QObject;

    // Acts on `control`'s events as `handlers` say, from now on.
    void on(QWidget *control, Handlers handlers);
    // Runs what leaving `control` does, if it is one of these controls;
    // true when something ran.
    bool leave(QObject *control) const;

    // Digits, ".", Backspace and Tab: what a number box lets through.
    static bool NumberKey(QChar c);
    // Selects the box's whole text as it gains the focus, however it gained it.
    static std::function<void()> SelectsAll(QLineEdit *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QHash<QObject *, Handlers> m_handlers;
};

} // namespace ui
