// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The life of the invoice sheet: blanking it, copying the settings into the
// pages, advancing the invoice number, the New command, the tabs and closing.
#include "ui/frmmain2.h"

#include "invoice/runtimeerror.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "settings/clssettings.h"
#include "ui/trapped.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabBar>

#include <limits>

using invoice::RuntimeError;
using invoice::TotalsInput;

namespace ui {

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
    connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);
}

void frmMain2::Trapped(const std::function<void()> &steps)
{
    ui::Trapped(m_platform.messages, steps);
}

void frmMain2::NewInvoice()
{
    Trapped([this] {
        m_invoicePage->Blank();
        LoadSettingsIntoForm();
    });
}

void frmMain2::LoadSettingsIntoForm()
{
    Trapped([this] {
        m_settingsPage->ShowSettings();
        m_invoicePage->ShowNumber(m_settings.InvoiceNumber());
        m_invoicePage->ShowTaxCharge(u"+"_s);
        m_invoicePage->RefreshTotals();
    });
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
    m_invoicePage->RefreshTotals();
}

TotalsInput frmMain2::totalsInput() const
{
    return m_invoicePage->totalsInput();
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

bool frmMain2::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != tab1)
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        return TabStripKey(*static_cast<QKeyEvent *>(event));
    case QEvent::Wheel:
        // The wheel would switch tabs without the page following.
        return true;
    default:
        return false;
    }
}

bool frmMain2::TabStripKey(const QKeyEvent &key)
{
    // Arrows change the page as a click on a tab would; Tab enters the page shown.
    if (key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))
        return false;
    switch (key.key()) {
    case Qt::Key_Right:
    case Qt::Key_Left:
        ShowNeighbourPage(key.key() == Qt::Key_Right ? 1 : -1);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        EnterPage(key.key() == Qt::Key_Tab && !(key.modifiers() & Qt::ShiftModifier));
        return true;
    default:
        return false;
    }
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

} // namespace ui
