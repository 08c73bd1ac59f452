// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The window's help and its dialogs: field help on every heading, the reset
// dialog behind the Reset button, the banner and the number, and the About box.
#include "ui/frmmain2.h"

#include "platform/dialogrunner.h"
#include "platform/platform.h"
#include "ui/clicklabel.h"
#include "ui/frmabout.h"
#include "ui/frminvoicereset.h"
#include "ui/modhelp.h"

#include <QAction>
#include <QPushButton>

void frmMain2::connectHelpAndDialogs()
{
    for (int i = 0; i < HeadingCount; ++i) {
        ClickLabel *heading = lblHeading[i];
        heading->setCursor(Qt::PointingHandCursor);
        connect(heading, &ClickLabel::clicked, this,
                [this, i] { ShowFieldHelp(m_platform.messages, i, lblHeading[i]->caption()); });
    }
    for (ClickLabel *label : {Label26, lblNumber}) {
        label->setCursor(Qt::PointingHandCursor);
        connect(label, &ClickLabel::clicked, this, &frmMain2::cmdInvoiceReset_Click);
    }
    connect(cmdInvoiceReset, &QPushButton::clicked, this, &frmMain2::cmdInvoiceReset_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain2::mnuHelpAbout_Click);
}

void frmMain2::cmdInvoiceReset_Click()
{
    frmInvoiceReset dialog(
        m_platform, m_settings, [this] { NewInvoice(); }, [this] { mnuInvoiceViewAll_Click(); });
    m_platform.dialogs.exec(dialog);
}

void frmMain2::mnuHelpAbout_Click()
{
    frmAbout about;
    m_platform.dialogs.exec(about);
}
