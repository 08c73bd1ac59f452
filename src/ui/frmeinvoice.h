// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
namespace platform {
struct Platform;
}

namespace ui {

// Edits the e-invoicing settings. OK checks them, says what is wrong in a
// message and keeps the dialog open, or stores them all and closes; Cancel
// stores nothing. Every heading explains its field when clicked. Beside the
// currency code it shows the currency the invoice prints (`printedCurrency`,
// the Settings tab's) and whether that names the code's currency.
class frmEInvoice : public QDialog
{
    Q_OBJECT
public:
    frmEInvoice(platform::Platform &platform, const QString &printedCurrency, QWidget *parent = nullptr);

    QCheckBox *chkEnabled = nullptr;
    QLineEdit *txtVatId = nullptr;
    QLineEdit *txtTaxNumber = nullptr;
    QLineEdit *txtRegistrationId = nullptr;
    QLineEdit *txtSellerCountry = nullptr;
    QLineEdit *txtCurrency = nullptr;
    QLabel *lblPrintedCurrency = nullptr;
    QLineEdit *txtBuyerCountry = nullptr;
    QComboBox *cmbUntaxed = nullptr;
    QLineEdit *txtExemptionReason = nullptr;
    QSpinBox *spnPaymentDays = nullptr;
    QLineEdit *txtIban = nullptr;
    QLineEdit *txtBic = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    void cmdOK_Click();
    void showPrintedCurrency();

    platform::Platform &m_platform;
    QString m_printedCurrency;
};

} // namespace ui
