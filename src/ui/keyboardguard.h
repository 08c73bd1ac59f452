// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;
class QWidget;

namespace ui {

// Watches every key press of the program. A key held with Alt, Ctrl or Meta
// that no access key or shortcut of what is shown took types nothing: on
// most keyboards Alt with a letter would otherwise reach the box with the
// focus as that letter, and a stray Alt+P would replace a stored company
// name. Also gives one window its page keys: Ctrl+Tab and Ctrl+PgDown for
// the next page, Ctrl+Shift+Tab and Ctrl+PgUp for the previous one.
class KeyboardGuard : public QObject
{
    Q_OBJECT
public:
    // Installs itself on the application for as long as it lives.
    explicit KeyboardGuard(QObject *parent = nullptr);

    // Page keys pressed anywhere in `window` call `step` with +1 or -1.
    void setPageKeys(QWidget *window, std::function<void(int)> step);

    // +1, -1, or 0 when the key is no page key. X11 delivers Ctrl+Shift+Tab
    // as Backtab, with or without Shift among the modifiers.
    static int pageStep(const QKeyEvent &key);
    // True when the key would type a character although Alt, Ctrl or Meta is held.
    static bool typesUnderModifier(const QKeyEvent &key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window = nullptr;
    std::function<void(int)> m_step;
};

} // namespace ui
