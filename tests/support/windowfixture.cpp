// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowfixture.h"

#include "app/modmain.h"
#include "ui/frmmain2.h"

#include <QTest>

using ui::frmMain2;

WindowFixture::WindowFixture(const QStringList &templates) : AppFixture(templates) { }

WindowFixture::~WindowFixture()
{
    modMain::Shutdown();
}

bool WindowFixture::start()
{
    return modMain::Main(platform);
}

frmMain2 &WindowFixture::window() const
{
    frmMain2 *window = modMain::ExistingMainWindow();
    if (!window)
        qFatal("The main window does not exist");
    return *window;
}

QString WindowFixture::text(const QString &name) const
{
    auto *box = control<QLineEdit>(name);
    if (!box) {
        QTest::qFail(qPrintable(QStringLiteral("No text box named %1").arg(name)), __FILE__, __LINE__);
        return {};
    }
    return box->text();
}
