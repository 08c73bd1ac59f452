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
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace ui {

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

    // F1 explains the field under the heading of the control with the focus.
    auto helps = [this](int index, auto... controls) { ((m_helpIndex[controls] = index), ...); };
    for (int i = 0; i < LineCount; ++i) {
        helps(1, txtQty[i]);
        helps(2, txtDescription[i]);
        helps(3, txtUnitPrice[i]);
        helps(4, txtTotal[i]);
        helps(5, chkTax[i]);
    }
    for (int i = 0; i < AddressLines; ++i) {
        helps(0, txtCustomerDetails[i]);
        helps(18, txtCompanyDetails[i]);
    }
    for (int i = 0; i < FooterLines; ++i)
        helps(28 + i, txtFooter[i]);
    helps(6, txtSurcharge1);
    helps(7, txtDiscount);
    helps(8, txtSubTotal);
    helps(9, txtSH);
    helps(10, txtTax);
    helps(11, cmbPaymentMethod);
    helps(12, txtTTotal);
    helps(13, txtSurcharge2);
    helps(14, txtReceived);
    helps(15, txtBalance);
    helps(16, txtCompanyName);
    helps(17, txtInvoiceNumber, cmdInvoiceReset);
    helps(19, chkChargeTax);
    helps(20, txtTaxName);
    helps(21, txtTaxValue);
    helps(22, chkSHTax);
    helps(23, txtTel);
    helps(24, txtFax);
    helps(25, txtCurrency);
    helps(26, cmbTemplate, cmdView);
    helps(27, txtLogo, cmdLogo);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain2::mnuHelpAbout_Click);
}

void frmMain2::ShowHelpForFocus()
{
    const int index = m_helpIndex.value(QApplication::focusWidget(), -1);
    if (index >= 0)
        ShowFieldHelp(m_platform.messages, index, lblHeading[index]->caption());
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

} // namespace ui
