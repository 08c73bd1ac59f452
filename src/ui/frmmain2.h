// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>

#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabBar;
class ClickLabel;
class clsSettings;
struct Platform;

// The main window. Its controls are the invoice's data model: every value
// of the invoice and every setting on screen lives in a named control, and
// the procedures of the program read and write those controls by name.
class frmMain2 : public QMainWindow
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
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpHelp = nullptr;
    QAction *mnuHelpSupport = nullptr;
    QAction *mnuHelpAbout = nullptr;

    // Where the visible page stands, inside the window's client area.
    static QPoint pagePosition();

signals:
    // The window was unloaded: it handles no more events and the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildInvoicePage();
    void buildSettingsPage();
    void buildMenus();
    void buildTabOrder();

    void tab1_Click(int index);
    void cmbTemplate_Click(int index);
    void Form_Unload();

    Platform &m_platform;
    clsSettings &m_settings;
    bool m_unloaded = false;
};
