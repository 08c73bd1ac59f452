// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "invoice/clstotals.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabBar;
class ClickLabel;
class clsRegister;
class clsSettings;
class frmRegister;
struct InvoiceDocument;
struct InvoiceValues;
struct RegisterRecord;
struct Platform;

// The main window. Its controls are the invoice's data model: every value
// of the invoice and every setting on screen lives in a named control, and
// the procedures of the program read and write those controls by name.
class frmMain2 : public QMainWindow, public TotalsSource
{
    Q_OBJECT
public:
    static constexpr int LineCount = 12;
    static constexpr int AddressLines = 6;
    static constexpr int FooterLines = 3;
    static constexpr int HeadingCount = 31;

    frmMain2(Platform &platform, clsSettings &settings, QWidget *parent = nullptr);
    ~frmMain2() override;

    // The tab strip and its two pages.
    QTabBar *tab1 = nullptr;
    QWidget *picInvoice = nullptr;
    QWidget *picSettings = nullptr;

    // Invoice page.
    QFrame *Frame2 = nullptr;
    std::array<QLineEdit *, AddressLines> txtCustomerDetails{};
    std::array<ClickLabel *, HeadingCount> lblHeading{};
    std::array<QLineEdit *, LineCount> txtQty{};
    std::array<QLineEdit *, LineCount> txtDescription{};
    std::array<QLineEdit *, LineCount> txtUnitPrice{};
    std::array<QLineEdit *, LineCount> txtTotal{};
    std::array<QCheckBox *, LineCount> chkTax{};
    QLineEdit *txtSurcharge1 = nullptr;
    QLineEdit *txtDiscount = nullptr;
    QLineEdit *txtSubTotal = nullptr;
    QLineEdit *txtSH = nullptr;
    QLineEdit *txtTax = nullptr;
    QLineEdit *txtTTotal = nullptr;
    QLineEdit *txtSurcharge2 = nullptr;
    QLineEdit *txtReceived = nullptr;
    QLineEdit *txtBalance = nullptr;
    QComboBox *cmbPaymentMethod = nullptr;
    QPushButton *cmdPreview = nullptr;
    QPushButton *cmdNew = nullptr;
    ClickLabel *Label26 = nullptr;
    ClickLabel *lblNumber = nullptr;

    // Settings page.
    QComboBox *cmbTemplate = nullptr;
    QPushButton *cmdView = nullptr;
    QLineEdit *txtLogo = nullptr;
    QPushButton *cmdLogo = nullptr;
    QLineEdit *txtCompanyName = nullptr;
    QLineEdit *txtInvoiceNumber = nullptr;
    QPushButton *cmdInvoiceReset = nullptr;
    QPushButton *cmdEInvoice = nullptr; // opens the e-invoicing settings
    QFrame *Frame1 = nullptr;
    std::array<QLineEdit *, AddressLines> txtCompanyDetails{};
    QGroupBox *Frame3 = nullptr;
    QCheckBox *chkChargeTax = nullptr;
    QLineEdit *txtTaxName = nullptr;
    QLineEdit *txtTaxValue = nullptr;
    QCheckBox *chkSHTax = nullptr;
    QLineEdit *txtTel = nullptr;
    QLineEdit *txtFax = nullptr;
    QLineEdit *txtCurrency = nullptr;
    std::array<QLineEdit *, FooterLines> txtFooter{};

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
    void bindTotals(clsTotals *totals) { m_totals = totals; }

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
    InvoiceValues invoiceValues() const;


    TotalsInput totalsInput() const override;
    int taxCharge() const override;

signals:
    // The window was closed; it and the objects it uses are released after
    // the close event, and the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What the window does on the events of one control.
    struct ControlEvents
    {
        std::function<bool(QChar)> keyAllowed = {}; // typed characters that reach the box
        std::function<void()> gotFocus = {};
        std::function<void()> lostFocus = {};
        std::function<void()> otherButtonReleased = {}; // a check box: any button but the left
    };

    void buildInvoicePage();
    void buildSettingsPage();
    void buildMenus();
    void buildTabOrder();
    void connectInvoicePage();
    void connectSettingsPage();
    void connectSheetCommands();
    void on(QWidget *control, ControlEvents events);
    QSize naturalSize() const;

    // Digits, ".", Backspace and Tab: what a number box lets through.
    static bool NumberKey(QChar c);

    // Invoice entry.
    void SelectAllText(QLineEdit *box);
    void txtQty_Change(int index);
    void txtUnitPrice_Change(int index);
    void txtUnitPrice_LostFocus(int index);
    void UpdateLineTotal(int index, bool quantityChanged);
    void Adjustment_Change(QLineEdit *box, bool percentage);
    void Adjustment_LostFocus(QLineEdit *box);
    void chkTax_MouseUp(int index);

    // Settings page: every edit is stored as it happens.
    void txtCompanyName_Change();
    void txtCompanyDetails_Change(int index);
    void txtTel_Change();
    void txtFax_Change();
    void txtCurrency_Change();
    void txtFooter_Change(int index);
    void txtLogo_Change();
    void txtTaxName_Change();
    void txtTaxValue_Change();
    void txtTaxValue_LostFocus();
    void chkChargeTax_MouseUp();
    void chkSHTax_MouseUp();
    void cmdLogo_Click();
    // The tax heading from the stored settings: prefix, name, "@", rate, "%"
    // when tax is charged, else "NO TAX".
    QString TaxHeading(const QString &prefix) const;
    // Sets the tax heading, and enables and ticks the twelve line tax boxes
    // or disables and unticks them, as the stored TaxCharge says.
    void ShowTaxCharge(const QString &prefix);

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
    clsRegister &InvoiceRegister();
    // The record of the invoice about to be printed, as it will be printed.
    RegisterRecord RegisterEntry(const InvoiceDocument &document, const InvoiceValues &values) const;
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
    bool TabStripKey(const QKeyEvent &key);
    void cmbTemplate_Click(int index);
    void Form_Unload();
    void SetTaxHeading(const QString &caption);

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

    Platform &m_platform;
    clsSettings &m_settings;
    clsTotals *m_totals = nullptr;
    QHash<QObject *, ControlEvents> m_events;
    QList<QWidget *> m_tabOrder; // every tab stop of both pages, in order
    QHash<QWidget *, int> m_helpIndex; // the heading (help index) over each control
    std::shared_ptr<clsRegister> m_register;
    QPointer<frmRegister> m_registerWindow;
};
