// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "invoice/totals.h"
#include "sheet/invoicetexts.h"
#include "ui/pagecontrols.h"

#include <QWidget>

#include <array>

namespace platform {
class MessageBox;
}
class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
namespace settings {
class clsSettings;
}
namespace invoice {
class clsTotals;
}

namespace ui {

class ClickLabel;
class ControlEvents;

// The Invoice page's controls, by the names the program knows them by.
struct InvoicePageControls
{
    QFrame *Frame2 = nullptr;
    std::array<QLineEdit *, pagecontrols::AddressLines> txtCustomerDetails{};
    std::array<QLineEdit *, pagecontrols::LineCount> txtQty{};
    std::array<QLineEdit *, pagecontrols::LineCount> txtDescription{};
    std::array<QLineEdit *, pagecontrols::LineCount> txtUnitPrice{};
    std::array<QLineEdit *, pagecontrols::LineCount> txtTotal{};
    std::array<QCheckBox *, pagecontrols::LineCount> chkTax{};
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
    QPushButton *cmdPreview = nullptr; // printing is the window's
    QPushButton *cmdNew = nullptr;     // so is the New command's question
    ClickLabel *Label26 = nullptr;
    ClickLabel *lblNumber = nullptr;
};

// The Invoice page: the customer, twelve lines and the totals column. It
// keeps its own figures in step as the user types: line totals follow
// quantity and price, adjustment boxes stay numeric, numbers are tidied on
// leaving a box, and every edit re-totals.
//
// Writing a box's text from here runs that box's change handling at once,
// inside the statement that wrote it (QLineEdit::textChanged is synchronous),
// and writing the text a box already holds runs nothing. The handlers rely
// on both: tidying a price recomputes its line, and emptying an emptied
// price ends the chain.
class InvoicePage : public QWidget, public InvoicePageControls
{
    Q_OBJECT
public:
    InvoicePage(platform::MessageBox &messages, settings::clsSettings &settings, QWidget *parent);

    // The heading with help index `index`; null for a heading of the other page.
    ClickLabel *heading(int index) const;
    // The page's tab stops, in the order Tab visits them.
    QList<QWidget *> tabStops() const;

    // The calculator that reads this page; bound once at start-up.
    void bindTotals(invoice::clsTotals *totals) { m_totals = totals; }
    // Recalculates the invoice and shows sub total, tax, total and balance.
    void RefreshTotals();
    // What the calculator reads: the line totals and tax boxes, the
    // adjustment boxes, and the stored tax settings.
    invoice::TotalsInput totalsInput() const;

    // Empties the customer, the lines and every adjustment but the second
    // surcharge, which carries over to the next invoice; payment by CASH.
    void Blank();
    // "NO. 1001" under the banner.
    void ShowNumber(qint32 number);
    // The tax heading from the stored settings, after `prefix`.
    void ShowTaxHeading(const QString &prefix);
    // The tax heading, and the twelve line tax boxes enabled and ticked, or
    // disabled and unticked, as the stored TaxCharge says.
    void ShowTaxCharge(const QString &prefix);

    // The page's texts as shown, for printing.
    sheet::InvoiceTexts texts() const;
    // Runs what leaving the box with the focus does (its tidy), when that
    // box is on this page.
    void FinishEditing();

private:
    void build();
    void connectControls();
    void UpdateLineTotal(int index, bool quantityChanged);
    void Adjustment_Change(QLineEdit *box, bool percentage);
    void Trapped(const std::function<void()> &steps);

    platform::MessageBox &m_messages;
    settings::clsSettings &m_settings;
    invoice::clsTotals *m_totals = nullptr;
    ControlEvents *m_events = nullptr;
    std::array<ClickLabel *, pagecontrols::HeadingCount> m_headings{};
};

} // namespace ui
