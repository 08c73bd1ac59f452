// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The life of the invoice sheet: blanking it, copying the settings into the
// window, advancing the invoice number, the New command, the tabs and closing.
#include "ui/frmmain2.h"

#include "invoice/numbers.h"
#include "invoice/runtimeerror.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "settings/clssettings.h"
#include "sheet/sheetrules.h"
#include "ui/clicklabel.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

#include <limits>

using namespace Qt::StringLiterals;

void frmMain2::connectSheetCommands()
{
    connect(cmdNew, &QPushButton::clicked, this, &frmMain2::cmdNew_Click);
    connect(mnuInvoiceNew, &QAction::triggered, this, &frmMain2::mnuInvoiceNew_Click);
    connect(mnuInvoiceSale, &QAction::triggered, this, &frmMain2::mnuInvoiceSale_Click);
    connect(cmdPreview, &QPushButton::clicked, this, &frmMain2::cmdPreview_Click);
    connect(cmdView, &QPushButton::clicked, this, &frmMain2::cmdView_Click);
    connect(mnuInvoiceViewAll, &QAction::triggered, this, &frmMain2::mnuInvoiceViewAll_Click);
    connect(mnuHelpHelp, &QAction::triggered, this, &frmMain2::mnuHelpHelp_Click);
    connect(mnuHelpSupport, &QAction::triggered, this, &frmMain2::mnuHelpSupport_Click);
    connect(tab1, &QTabBar::tabBarClicked, this, &frmMain2::tab1_Click);
    connect(cmbTemplate, &QComboBox::currentIndexChanged, this, &frmMain2::cmbTemplate_Click);
    connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);

}

void frmMain2::Trapped(const std::function<void()> &steps)
{
    try {
        steps();
    } catch (const RuntimeError &error) {
        m_platform.messages.inform(error.description());
    } catch (const std::exception &error) {
        m_platform.messages.inform(QString::fromLocal8Bit(error.what()));
    }
}

void frmMain2::NewInvoice()
{
    Trapped([this] {
        for (QLineEdit *box : txtCustomerDetails)
            box->setText(QString());
        // Emptying a quantity empties its line's price and total, and re-totals.
        for (int i = 0; i < LineCount; ++i) {
            txtQty[i]->setText(QString());
            txtDescription[i]->setText(QString());
            txtUnitPrice[i]->setText(QString());
        }
        // The second surcharge carries over to the next invoice.
        for (QLineEdit *box : {txtSurcharge1, txtSubTotal, txtDiscount, txtSH, txtTax, txtTTotal, txtReceived,
                               txtBalance})
            box->setText(u"0.00"_s);
        cmbPaymentMethod->setCurrentIndex(0);
        LoadSettingsIntoForm();
    });
}

void frmMain2::LoadSettingsIntoForm()
{
    Trapped([this] {
        txtCurrency->setText(m_settings.CurrencyName());
        txtTel->setText(m_settings.Tel());
        txtFax->setText(m_settings.Fax());
        txtTaxName->setText(m_settings.TaxName());
        txtTaxValue->setText(sheet::GeneralNumber(m_settings.TaxValue()));
        txtInvoiceNumber->setText(QString::number(m_settings.InvoiceNumber()));
        lblNumber->setCaption(u"NO. "_s + QString::number(m_settings.InvoiceNumber()));
        txtCompanyName->setText(m_settings.CompanyName());
        for (int i = 0; i < AddressLines; ++i)
            txtCompanyDetails[i]->setText(m_settings.Address(i + 1));
        txtLogo->setText(m_settings.Logo());
        for (int i = 0; i < FooterLines; ++i)
            txtFooter[i]->setText(m_settings.Footer(i + 1));
        chkSHTax->setChecked(m_settings.SHTax() == 1);

        chkChargeTax->setChecked(m_settings.TaxCharge() == 1);
        ShowTaxCharge(u"+"_s);
        RefreshTotals();
    });
}

void frmMain2::SetTaxHeading(const QString &caption)
{
    lblHeading[10]->setCaption(caption);
}

void frmMain2::IncrementInvoiceNumber()
{
    Trapped([this] {
        const qint32 number = m_settings.InvoiceNumber();
        if (number == std::numeric_limits<qint32>::max())
            throw RuntimeError(u"Overflow"_s);
        m_settings.setInvoiceNumber(number + 1);
    });
}

void frmMain2::RefreshTotals()
{
    if (!m_totals)
        return;
    Trapped([this] {
        m_totals->Calculate();
        txtSubTotal->setText(m_totals->SubTotal());
        txtTax->setText(m_totals->Tax());
        txtTTotal->setText(m_totals->Total());
        txtBalance->setText(m_totals->Balance());
    });
}

TotalsInput frmMain2::totalsInput() const
{
    TotalsInput input;
    for (int i = 0; i < LineCount; ++i) {
        input.lineTotals[i] = txtTotal[i]->text();
        input.taxable[i] = chkTax[i]->isChecked();
    }
    input.surcharge1 = txtSurcharge1->text();
    input.discount = txtDiscount->text();
    input.shipping = txtSH->text();
    input.surcharge2 = txtSurcharge2->text();
    input.received = txtReceived->text();
    input.shTax = m_settings.SHTax();
    input.taxValue = m_settings.TaxValue();
    input.taxCharge = m_settings.TaxCharge();
    return input;
}

int frmMain2::taxCharge() const
{
    return m_settings.TaxCharge();
}

void frmMain2::cmdNew_Click()
{
    mnuInvoiceNew_Click();
}

void frmMain2::mnuInvoiceNew_Click()
{
    if (!m_platform.messages.ask(u"Create new invoice?"_s))
        return;
    if (m_platform.messages.ask(u"Increment invoice number?"_s))
        IncrementInvoiceNumber();
    NewInvoice();
}

void frmMain2::mnuInvoiceSale_Click()
{
    cmdPreview_Click();
}

void frmMain2::tab1_Click(int index)
{
    const QString caption = tab1->tabText(index);
    QWidget *shown = nullptr;
    if (caption == u"Settings") {
        picInvoice->hide();
        picSettings->show();
        picSettings->move(pagePosition());
        mnuInvoiceNew->setEnabled(false);
        mnuInvoiceSale->setEnabled(false);
        shown = picSettings;
    } else if (caption == u"Invoice") {
        picSettings->hide();
        picInvoice->show();
        picInvoice->move(pagePosition());
        mnuInvoiceNew->setEnabled(true);
        mnuInvoiceSale->setEnabled(true);
        shown = picInvoice;
    }
    // The keyboard follows the page: a box of the hidden page would
    // otherwise keep the focus and take what the user types next. It waits
    // on the tab strip, so that typing replaces no text until the user
    // enters a box (Tab enters the page's first).
    if (shown)
        tab1->setFocus(Qt::OtherFocusReason);
}

void frmMain2::EnterPage(bool forward)
{
    QWidget *page = picInvoice->isVisible() ? picInvoice : picSettings;
    QList<QWidget *> stops;
    for (QWidget *stop : std::as_const(m_tabOrder)) {
        if (page->isAncestorOf(stop) && stop->isEnabled())
            stops << stop;
    }
    if (!stops.isEmpty())
        (forward ? stops.first() : stops.last())->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void frmMain2::ShowNeighbourPage(int step)
{
    const int index = (tab1->currentIndex() + step + tab1->count()) % tab1->count();
    // A click on a tab runs the handler, then selects the tab.
    tab1_Click(index);
    tab1->setCurrentIndex(index);
}

void frmMain2::cmbTemplate_Click(int index)
{
    if (index >= 0)
        m_settings.setTemplate(cmbTemplate->itemText(index));
}

void frmMain2::closeEvent(QCloseEvent *event)
{
    event->accept();
    Form_Unload();
}

void frmMain2::Form_Unload()
{
    // Start-up releases the window and its objects once this event is over.
    emit unloaded();
}
