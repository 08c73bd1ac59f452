// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "appfixture.h"

#include "ui/frmmain2.h"

#include <QLineEdit>
#include <QString>

namespace ui {
class frmMain2;
}

// A started program in a throw-away application folder and settings store,
// shut down again when the fixture goes.
class WindowFixture : public AppFixture
{
public:
    explicit WindowFixture(const QStringList &templates = {QStringLiteral("invferncask.rep")});
    ~WindowFixture();

    // Runs start-up; true when the main window is shown.
    bool start();
    ui::frmMain2 &window() const;

    template<typename T = QWidget>
    T *control(const QString &name) const;
    QString text(const QString &name) const;
};

template<typename T>
T *WindowFixture::control(const QString &name) const
{
    return static_cast<QObject &>(window()).findChild<T *>(name);
}
