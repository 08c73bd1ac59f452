// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "invoice/clstotals.h"
#include "ui/invoicepage.h"
#include "ui/settingspage.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QKeyEvent;
class QMenu;
class QPushButton;
class QTabBar;
namespace invoiceregister {
class clsRegister;
}
namespace settings {
class clsSettings;
}
namespace invoicepdf {
struct InvoiceDocument;
}
namespace invoicepdf {
struct InvoiceValues;
}
namespace invoiceregister {
struct RegisterRecord;
}
namespace platform {
struct Platform;
}

namespace ui {

class ClickLabel;
class frmRegister;

// The main window: the menus, the tab strip over the two pages, the
// keyboard's page keys, printing, the register and the dialogs. The pages
// build their own controls and keep them in step as the user types; the
// window keeps their controls under the names the program and its tests use,
// which are the invoice's data model: every value of the invoice and every
// setting on screen lives in a named control.
class frmMain2 : public QMainWindow,
                 public invoice::TotalsSource,
                 public InvoicePageControls,
                 public SettingsPageControls
{
    Q_OBJECT
public:
    static constexpr int LineCount = pagecontrols::LineCount;
    static constexpr int AddressLines = pagecontrols::AddressLines;
    static constexpr int FooterLines = pagecontrols::FooterLines;
    static constexpr int HeadingCount = pagecontrols::HeadingCount;

    frmMain2(platform::Platform &platform, settings::clsSettings &settings, QWidget *parent = nullptr);
    ~frmMain2() override;

    // The tab strip and its two pages.
    QTabBar *tab1 = nullptr;
    QWidget *picInvoice = nullptr;
    QWidget *picSettings = nullptr;

    // Every field heading of both pages, by help index.
    std::array<ClickLabel *, HeadingCount> lblHeading{};
    // On the Settings page, made by the window: opens the e-invoicing settings.
    QPushButton *cmdEInvoice = nullptr;

    // Menus.
    QMenu *mnuFile = nullptr;
    QAction *mnuFileExit = nullptr;
    QMenu *mnuInvoice = nullptr;
    QAction *mnuInvoiceSale = nullptr;
    QAction *mnuInvoiceNew = nullptr;
    QAction *mnuInvoiceViewAll = nullptr;
    QAction *mnuInvoiceRegister = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpHelp = nullptr;
    QAction *mnuHelpSupport = nullptr;
    QAction *mnuHelpAbout = nullptr;

    // Where the visible page stands, inside the window's client area.
    static QPoint pagePosition();

    // Sizes and places the window wholly inside its screen's free area,
    // centred; a screen too small for the layout gets a smaller window whose
    // pages scroll.
    void placeOnScreen();
    // Where a window of `natural` inside size goes on a screen whose free
    // area is `available`, with `frame` around it: its inside rectangle.
    static QRect Placement(QSize natural, const QRect &available, const QMargins &frame);

    // The totals calculator reads this window; bound once at start-up.
    void bindTotals(invoice::clsTotals *totals);

    // Blanks the invoice sheet and copies the settings into the window.
    void NewInvoice();
    // Copies every setting into its control, sets the tax heading and the
    // line tax boxes, and re-totals.
    void LoadSettingsIntoForm();
    // Adds one to the stored next invoice number.
    void IncrementInvoiceNumber();
    // Recalculates the invoice and shows sub total, tax, total and balance.
    void RefreshTotals();
    // Writes the invoice (or, previewing, the chosen template filled with the
    // invoice as viewtemplate.pdf) and opens it; advancing the number blanks
    // the sheet once the PDF is written.
    void PrintInvoice(bool advanceNumber, bool previewTemplate);
    // Every value the invoice document is made from, as the window shows it.
    invoicepdf::InvoiceValues invoiceValues() const;

    invoice::TotalsInput totalsInput() const override;
    int taxCharge() const override;

signals:
    // The window was closed; it and the objects it uses are released after
    // the close event, and the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildTabOrder();
    void connectPages();
    void connectSheetCommands();
    QSize naturalSize() const;

    // Sheet lifecycle.
    void cmdNew_Click();
    void mnuInvoiceNew_Click();
    void mnuInvoiceSale_Click();
    void cmdPreview_Click();
    void cmdView_Click();
    void mnuInvoiceViewAll_Click();

    // The invoice register (frmmain2register.cpp): opened at its first use,
    // when what the user must know about it is shown.
    void mnuInvoiceRegister_Click();
    invoiceregister::clsRegister &InvoiceRegister();
    // The record of the invoice about to be printed, as it will be printed.
    invoiceregister::RegisterRecord RegisterEntry(const invoicepdf::InvoiceDocument &document,
                                                  const invoicepdf::InvoiceValues &values) const;
    // A recorded invoice appears in an open register window.
    void RegisterChanged();
    void mnuHelpHelp_Click();
    void mnuHelpSupport_Click();
    void ShellOpenFile(const QString &target);

    // Help and dialogs.
    void connectHelpAndDialogs();
    void buildEInvoicing();
    void cmdInvoiceReset_Click();
    void mnuHelpAbout_Click();
    void tab1_Click(int index);
    // Ctrl+Tab and the like: the next (+1) or previous (-1) page, as a click
    // on its tab.
    void ShowNeighbourPage(int step);
    // Puts the keyboard on the first (or last) control of the page shown.
    void EnterPage(bool forward);
    // What the tab strip does with a key; true when the key is used up.
    bool TabStripKey(const QKeyEvent &key);
    void Form_Unload();

    // F1: the field help of the heading over the control with the focus.
    void ShowHelpForFocus();
    // What leaving the box with the focus does (its tidy), done before the
    // invoice is printed whichever way printing was started.
    void FinishEditing();
    // True when the shown line totals and totals are what the figures give;
    // otherwise says why once and returns false.
    bool FiguresAddUp();
    // Both of the above, before anything is printed.
    bool ReadyToPrint();

    // Runs a procedure that traps failures: the first one ends it and is shown.
    void Trapped(const std::function<void()> &steps);

    platform::Platform &m_platform;
    settings::clsSettings &m_settings;
    invoice::clsTotals *m_totals = nullptr;
    InvoicePage *m_invoicePage = nullptr;
    SettingsPage *m_settingsPage = nullptr;
    QList<QWidget *> m_tabOrder;       // every tab stop of both pages, in order
    QHash<QWidget *, int> m_helpIndex; // the heading (help index) over each control
    std::shared_ptr<invoiceregister::clsRegister> m_register;
    QPointer<frmRegister> m_registerWindow;
};

} // namespace ui
