// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The invoice register as the main window meets it: the record of each
// printed invoice, and Invoice > Register..., which opens its window.
#include "ui/frmmain2.h"

#include "einvoice/einvoicedocument.h"
#include "invoice/numbers.h"
#include "platform/clock.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "register/clsregister.h"
#include "ui/frmregister.h"

#include <QFileInfo>

using invoiceregister::clsRegister;
using invoiceregister::RegisterRecord;

using invoicepdf::InvoiceDocument;
using invoicepdf::InvoicePdfPath;
using invoicepdf::InvoiceValues;

using invoice::NumericAmount;

namespace ui {

using namespace Qt::StringLiterals;

clsRegister &frmMain2::InvoiceRegister()
{
    if (!m_register)
        m_register = std::make_shared<clsRegister>(m_platform.appFolder);
    m_register->open();
    if (const QString notice = m_register->takeNotice(); !notice.isEmpty())
        m_platform.messages.inform(notice);
    return *m_register;
}

RegisterRecord frmMain2::RegisterEntry(const InvoiceDocument &document, const InvoiceValues &values) const
{
    RegisterRecord r;
    r.number = values.invoiceNumber;
    r.issued = QDateTime(document.today, m_platform.clock.now().time());
    r.customer = values.customerDetails;
    r.subTotal = NumericAmount(values.subTotal);
    r.shipping = NumericAmount(values.shipping);
    r.tax = NumericAmount(values.tax);
    r.surcharge2 = NumericAmount(values.surcharge2Amount);
    r.total = NumericAmount(values.total);
    r.received = NumericAmount(values.received);
    r.balance = NumericAmount(values.balance);
    if (values.taxCharge == 1)
        r.taxRate = values.taxValue;
    r.currency = values.currency;
    r.paymentMethod = values.paymentMethod;
    r.templateName = document.templateName;
    // Printing attaches the e-invoice exactly when this finds one.
    const einvoice::Settings settings = einvoice::ReadSettings(m_platform.store);
    r.eInvoice = settings.enabled && einvoice::BuildInvoice(values, totalsInput(), settings, document.today).invoice;
    r.fileName = QFileInfo(InvoicePdfPath(document.appFolder, values.invoiceNumber, false)).fileName();
    return r;
}

void frmMain2::RegisterChanged()
{
    if (m_registerWindow)
        m_registerWindow->reload();
}

void frmMain2::mnuInvoiceRegister_Click()
{
    Trapped([this] {
        InvoiceRegister();
        if (!m_registerWindow) {
            m_registerWindow = new frmRegister(m_platform, m_register, this);
            m_registerWindow->setAttribute(Qt::WA_DeleteOnClose);
        } else {
            m_registerWindow->reload();
        }
        m_registerWindow->show();
        m_registerWindow->raise();
        m_registerWindow->activateWindow();
    });
}

} // namespace ui
