// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/keyboardguard.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace ui {

KeyboardGuard::KeyboardGuard(QObject *parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

void KeyboardGuard::setPageKeys(QWidget *window, std::function<void(int)> step)
{
    m_window = window;
    m_step = std::move(step);
}

int KeyboardGuard::pageStep(const QKeyEvent &key)
{
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    if (!ctrl || (mods & (Qt::AltModifier | Qt::MetaModifier)))
        return 0;
    const bool shift = mods & Qt::ShiftModifier;
    switch (key.key()) {
    case Qt::Key_Tab:
        return shift ? -1 : 1;
    case Qt::Key_Backtab:
        return -1;
    case Qt::Key_PageDown:
        return shift ? 0 : 1;
    case Qt::Key_PageUp:
        return shift ? 0 : -1;
    default:
        return 0;
    }
}

bool KeyboardGuard::typesUnderModifier(const QKeyEvent &key)
{
    if (!(key.modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)))
        return false;
    // Ctrl+C, Ctrl+V and the like deliver control characters, which type nothing.
    const QString text = key.text();
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

bool KeyboardGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (m_step && widget->window() == m_window) {
        if (const int step = pageStep(*key)) {
            m_step(step);
            return true;
        }
    }
    // Menus answer letters of their own entries.
    if (qobject_cast<QMenu *>(widget) || qobject_cast<QMenuBar *>(widget))
        return false;
    return typesUnderModifier(*key);
}

} // namespace ui
