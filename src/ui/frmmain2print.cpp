// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Printing the invoice to PDF, the template preview, and what the window
// opens through the desktop: the invoices folder and the maker's web site.
#include "ui/frmmain2.h"

#include "einvoice/einvoicedocument.h"
#include "platform/buildinfo.h"
#include "platform/clock.h"
#include "platform/filesystem.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "register/clsregister.h"
#include "settings/clssettings.h"
#include "ui/clicklabel.h"

#include <QComboBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {

bool anyText(const auto &boxes)
{
    return std::any_of(boxes.begin(), boxes.end(), [](const QLineEdit *box) { return !box->text().isEmpty(); });
}

} // namespace

void frmMain2::cmdPreview_Click()
{
    Trapped([this] {
        const bool customer = anyText(txtCustomerDetails);
        const bool items = anyText(txtDescription);
        if (!customer || !items) {
            const QString question = (customer ? QString() : u"There are no customer details"_s) + u"\r\n"_s
                + (items ? QString() : u"There are no described sales items."_s) + u"\r\nContinue?"_s;
            if (!m_platform.messages.ask(question))
                return;
        }
        const bool advance =
            m_platform.messages.ask(u"Incement invoice number?\r\n(this will clear current invoice information)"_s);
        PrintInvoice(advance, false);
    });
}

void frmMain2::cmdView_Click()
{
    PrintInvoice(false, true);
}

void frmMain2::PrintInvoice(bool advanceNumber, bool previewTemplate)
{
    Trapped([&] {
        const InvoiceDocument document{m_platform.appFolder, m_settings.Template(), previewTemplate,
                                       m_platform.clock.today()};
        const InvoiceValues values = invoiceValues();
        // An invoice is in the register before its PDF is written, and
        // confirmed there once the PDF is in place.
        std::optional<PendingRecord> recording;
        if (!previewTemplate)
            recording.emplace(InvoiceRegister(), RegisterEntry(document, values));
        const std::optional<QString> path = einvoice::WriteInvoiceDocument(
            m_platform.report, m_platform.messages, m_platform.store, document, values, totalsInput());
        if (!path)
            return;
        if (recording) {
            recording->confirm();
            RegisterChanged();
        }
        if (advanceNumber) {
            IncrementInvoiceNumber();
            NewInvoice();
        }
        ShellOpenFile(*path);
    });
}

InvoiceValues frmMain2::invoiceValues() const
{
    InvoiceValues invoice;
    invoice.companyName = txtCompanyName->text();
    invoice.invoiceNumber = txtInvoiceNumber->text();
    for (int k = 0; k < AddressLines; ++k) {
        invoice.companyDetails[k] = txtCompanyDetails[k]->text();
        invoice.customerDetails[k] = txtCustomerDetails[k]->text();
    }
    for (int n = 0; n < LineCount; ++n)
        invoice.lines[n] = {txtQty[n]->text(), txtDescription[n]->text(), txtUnitPrice[n]->text(),
                            txtTotal[n]->text()};
    invoice.subTotal = txtSubTotal->text();
    if (m_totals) {
        invoice.surcharge1Amount = m_totals->Surcharge1();
        invoice.surcharge2Amount = m_totals->Surcharge2();
        invoice.discountAmount = m_totals->Discount();
    }
    invoice.shipping = txtSH->text();
    invoice.tax = txtTax->text();
    invoice.total = txtTTotal->text();
    invoice.received = txtReceived->text();
    invoice.balance = txtBalance->text();
    invoice.paymentMethod = cmbPaymentMethod->currentText();
    for (int k = 0; k < FooterLines; ++k)
        invoice.footers[k] = txtFooter[k]->text();
    invoice.currency = m_settings.CurrencyName();
    invoice.tel = m_settings.Tel();
    invoice.fax = m_settings.Fax();
    invoice.taxHeading = lblHeading[10]->caption();
    invoice.taxCharge = m_settings.TaxCharge();
    invoice.taxValue = m_settings.TaxValue();
    invoice.surcharge1Percent = txtSurcharge1->text();
    invoice.surcharge2Percent = txtSurcharge2->text();
    invoice.discountPercent = txtDiscount->text();
    invoice.logo = m_settings.Logo();
    return invoice;
}

void frmMain2::ShellOpenFile(const QString &target)
{
    ::ShellOpenFile(m_platform.shell, m_platform.messages, target);
}

void frmMain2::mnuInvoiceViewAll_Click()
{
    // The desktop's handler for folders is its file manager.
    ShellOpenFile(AppPath(m_platform.appFolder, u"invoices"_s));
}

void frmMain2::mnuHelpHelp_Click()
{
    m_platform.messages.inform(u"Click on a heading to get help."_s, u"Help"_s);
}

void frmMain2::mnuHelpSupport_Click()
{
    ShellOpenFile(BuildInfo::SupportAddress());
}
