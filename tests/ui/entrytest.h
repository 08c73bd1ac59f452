// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowfixture.h"

#include <QApplication>
#include <QTest>

// Drives the started main window as a user would: clicks into boxes, types,
// and leaves them with Tab.
class EntryDriver
{
public:
    explicit EntryDriver(WindowFixture &app)
        : m_app(app)
    {
    }

    // Brings the window to the front so that it takes the keyboard.
    bool activate()
    {
        m_app.window().activateWindow();
        return QTest::qWaitForWindowActive(&m_app.window())
            && QTest::qWaitFor([] { return QGuiApplication::focusWindow() != nullptr; });
    }

    // Clicks into the box (which selects its whole text) and types.
    void type(const QString &name, const QString &keys)
    {
        QWidget *box = m_app.control(name);
        if (!box) {
            QTest::qFail(qPrintable(QStringLiteral("No control named %1").arg(name)), __FILE__, __LINE__);
            return;
        }
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
        QCoreApplication::processEvents();
        QTest::keyClicks(box, keys);
    }

    // Types and then leaves the box with Tab.
    void enter(const QString &name, const QString &keys)
    {
        type(name, keys);
        leave();
    }

    void leave() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

    QString text(const QString &name) const { return m_app.text(name); }

private:
    WindowFixture &m_app;
};
