// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The Settings tab's way to the e-invoicing settings.
#include "ui/frmmain2.h"

#include "platform/dialogrunner.h"
#include "platform/platform.h"
#include "settings/clssettings.h"
#include "ui/frmeinvoice.h"

#include <QPushButton>

namespace ui {

using namespace Qt::StringLiterals;

void frmMain2::buildEInvoicing()
{
    cmdEInvoice = new QPushButton(u"&E-invoicing..."_s, picSettings);
    cmdEInvoice->setObjectName(u"cmdEInvoice"_s);
    cmdEInvoice->setGeometry(564, 67, 130, 24);
    setTabOrder(cmdInvoiceReset, cmdEInvoice);
    connect(cmdEInvoice, &QPushButton::clicked, this, [this] {
        frmEInvoice dialog(m_platform, m_settings.CurrencyName(), this);
        m_platform.dialogs.exec(dialog);
    });
}

} // namespace ui
