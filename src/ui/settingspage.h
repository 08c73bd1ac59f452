// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sheet/invoicetexts.h"
#include "ui/pagecontrols.h"

#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPushButton;
namespace settings {
class clsSettings;
}
namespace platform {
struct Platform;
}

namespace ui {

class ClickLabel;
class ControlEvents;

// The Settings page's controls, by the names the program knows them by.
struct SettingsPageControls
{
    QComboBox *cmbTemplate = nullptr;
    QPushButton *cmdView = nullptr; // previewing is the window's
    QLineEdit *txtLogo = nullptr;
    QPushButton *cmdLogo = nullptr;
    QLineEdit *txtCompanyName = nullptr;
    QLineEdit *txtInvoiceNumber = nullptr;
    QPushButton *cmdInvoiceReset = nullptr; // so is the reset dialog
    QFrame *Frame1 = nullptr;
    std::array<QLineEdit *, pagecontrols::AddressLines> txtCompanyDetails{};
    QGroupBox *Frame3 = nullptr;
    QCheckBox *chkChargeTax = nullptr;
    QLineEdit *txtTaxName = nullptr;
    QLineEdit *txtTaxValue = nullptr;
    QCheckBox *chkSHTax = nullptr;
    QLineEdit *txtTel = nullptr;
    QLineEdit *txtFax = nullptr;
    QLineEdit *txtCurrency = nullptr;
    std::array<QLineEdit *, pagecontrols::FooterLines> txtFooter{};
};

// The Settings page: every edit goes to the store the moment it is made,
// keystroke by keystroke; nothing is saved later and nothing is kept here.
// What the tax controls change on the Invoice page is told by signals,
// emitted inside the edit that caused it.
//
// Check boxes act when a mouse button is released over them. A left click
// and Space both emit clicked() after the new state is set, so a keyboard
// toggle is stored exactly as a click is; the other buttons are caught on
// release.
class SettingsPage : public QWidget, public SettingsPageControls
{
    Q_OBJECT
public:
    SettingsPage(platform::Platform &platform, settings::clsSettings &settings, QWidget *parent);

    // The heading with help index `index`; null for a heading of the other page.
    ClickLabel *heading(int index) const;
    // The page's tab stops, in the order Tab visits them.
    QList<QWidget *> tabStops() const;

    // Copies every setting into its control. Each box stores what it is
    // given and acts on it as an edit would.
    void ShowSettings();

    // The page's texts as shown, for printing.
    sheet::CompanyTexts texts() const;
    // Runs what leaving the box with the focus does (its tidy), when that
    // box is on this page.
    void FinishEditing();

signals:
    // The stored tax name or rate changed: the tax heading follows.
    void taxEdited();
    // Charge Tax was switched: the tax heading and the line tax boxes follow.
    void taxChargeSwitched();
    // A stored value the totals use changed.
    void totalsAffected();

private:
    void build();
    void connectControls();
    void txtTaxValue_Change();
    void chkChargeTax_MouseUp();
    void chkSHTax_MouseUp();
    void cmdLogo_Click();
    void Trapped(const std::function<void()> &steps);

    platform::Platform &m_platform;
    settings::clsSettings &m_settings;
    ControlEvents *m_events = nullptr;
    std::array<ClickLabel *, pagecontrols::HeadingCount> m_headings{};
};

} // namespace ui
