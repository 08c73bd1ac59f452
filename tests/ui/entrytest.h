// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QTabBar>
#include <QTest>

// Drives the started main window as a user would: clicks, types, leaves with Tab.
class EntryDriver
{
public:
    explicit EntryDriver(WindowFixture &app) : m_app(app) { }

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
        QVERIFY2(box, qPrintable(name));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
        QCoreApplication::processEvents();
        QTest::keyClicks(box, keys);
    }

    void enter(const QString &name, const QString &keys)
    {
        type(name, keys);
        leave();
    }

    // Enters box after box: a name, its keys, the next name, its keys...
    void enter(const QStringList &namesAndKeys)
    {
        for (qsizetype i = 0; i + 1 < namesAndKeys.size(); i += 2)
            enter(namesAndKeys[i], namesAndKeys[i + 1]);
    }

    void leave() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

    QString text(const QString &name) const { return m_app.text(name); }

private:
    WindowFixture &m_app;
};

using StoredSettings = QList<std::pair<QString, QString>>;

// The program and a user at it; at the end no expected message or file dialog is left.
class WindowTest : public QObject
{
protected:
    std::unique_ptr<WindowFixture> m_app;
    std::unique_ptr<EntryDriver> m_user;

    // Starts the program over an initialised store that also holds `settings`.
    bool start(const StoredSettings &settings, const QStringList &templates = {QStringLiteral("invferncask.rep")})
    {
        m_app = std::make_unique<WindowFixture>(templates);
        m_app->store(QStringLiteral("Init"), QStringLiteral("1"));
        m_app->store(QStringLiteral("Template"), QStringLiteral("invferncask.rep"));
        for (const auto &[key, text] : settings)
            m_app->store(key, text);
        return launch();
    }
    // Starts the program over an empty store: the first run's settings.
    bool startFirstRun()
    {
        m_app = std::make_unique<WindowFixture>();
        return launch();
    }
    bool launch()
    {
        m_user = std::make_unique<EntryDriver>(*m_app);
        return m_app->start() && m_user->activate();
    }
    void showPage(int index)
    {
        QTabBar *tabs = m_app->window().tab1;
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }
    QCheckBox *check(const QString &name) const { return m_app->control<QCheckBox>(name); }
    // Another button than the left changes no check box, but its release counts as a click.
    void click(const QString &name, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(check(name), button, {}, check(name)->rect().center());
    }
    void finish()
    {
        QCOMPARE(m_app->messages.pending(), 0);
        QCOMPARE(m_app->fileDialog.pending(), 0);
        m_user.reset();
        m_app.reset();
    }
};
