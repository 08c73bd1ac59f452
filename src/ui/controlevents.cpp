// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controlevents.h"

#include "ui/textbox.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

namespace ui {

namespace {

bool allowsFocusHandling(Qt::FocusReason reason)
{
    // The window losing or regaining activation (another window, a message
    // box, a menu) is no move between the window's controls.
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

bool allTyped(const ControlEvents::Handlers &handlers, const QString &typed)
{
    for (const QChar c : typed) {
        if (!handlers.keyAllowed(c))
            return false;
    }
    return true;
}

} // namespace

bool ControlEvents::NumberKey(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'\b' || c == u'\t';
}

std::function<void()> ControlEvents::SelectsAll(QLineEdit *box)
{
    return [box] {
        box->selectAll();
        // A click places the cursor after the focus arrives and would undo an
        // immediate selection; select once more when that is done.
        QTimer::singleShot(0, box, [box] {
            if (box->hasFocus())
                box->selectAll();
        });
    };
}

void ControlEvents::on(QWidget *control, Handlers handlers)
{
    m_handlers.insert(control, std::move(handlers));
    control->installEventFilter(this);
    // Focus is acted on after the box's own handling, through its signals.
    if (auto *box = qobject_cast<TextBox *>(control)) {
        connect(box, &TextBox::gotFocus, this, [this, box](Qt::FocusReason reason) {
            const Handlers handlers = m_handlers.value(box);
            if (handlers.gotFocus && allowsFocusHandling(reason))
                handlers.gotFocus();
        });
        connect(box, &TextBox::lostFocus, this, [this, box](Qt::FocusReason reason) {
            const Handlers handlers = m_handlers.value(box);
            if (handlers.lostFocus && allowsFocusHandling(reason))
                handlers.lostFocus();
        });
    }
}

bool ControlEvents::leave(QObject *control) const
{
    const auto found = m_handlers.constFind(control);
    if (found == m_handlers.constEnd() || !found->lostFocus)
        return false;
    found->lostFocus();
    return true;
}

bool ControlEvents::eventFilter(QObject *watched, QEvent *event)
{
    const auto found = m_handlers.constFind(watched);
    if (found == m_handlers.constEnd())
        return false;
    const Handlers &handlers = *found;

    switch (event->type()) {
    case QEvent::KeyPress:
        if (handlers.keyAllowed) {
            const auto *key = static_cast<QKeyEvent *>(event);
            // Keys that type nothing (arrows, Home, Delete) are no characters.
            if (key->key() == Qt::Key_Delete)
                return false;
            return !allTyped(handlers, key->text());
        }
        break;
    case QEvent::InputMethod:
        // Text composed by an input method is typed text too.
        if (handlers.keyAllowed)
            return !allTyped(handlers, static_cast<QInputMethodEvent *>(event)->commitString());
        break;
    case QEvent::MouseButtonRelease:
        if (handlers.otherButtonReleased) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const auto *widget = static_cast<QWidget *>(watched);
            if (mouse->button() != Qt::LeftButton && widget->rect().contains(mouse->position().toPoint()))
                handlers.otherButtonReleased();
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace ui
