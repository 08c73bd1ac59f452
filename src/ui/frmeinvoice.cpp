// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmeinvoice.h"

#include "einvoice/currencynames.h"
#include "einvoice/einvoicesettings.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "ui/clicklabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

using platform::Platform;

namespace ui {

using namespace Qt::StringLiterals;

frmEInvoice::frmEInvoice(Platform &platform, const QString &printedCurrency, QWidget *parent)
    : QDialog(parent), m_platform(platform), m_printedCurrency(printedCurrency.trimmed())
{
    setObjectName(u"frmEInvoice"_s);
    setWindowTitle(u"E-invoicing"_s);
    auto *form = new QFormLayout(this);

    auto row = [&](const QString &caption, QWidget *field, const QString &name, const QString &help) {
        field->setObjectName(name);
        field->setAccessibleName(caption);
        auto *heading = new ClickLabel(caption);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        heading->setCursor(Qt::PointingHandCursor);
        heading->setBuddy(field);
        connect(heading, &ClickLabel::clicked, this,
                [this, caption, help] { m_platform.messages.inform(help, caption); });
        form->addRow(heading, field);
    };
    auto line = [&](const QString &caption, QLineEdit *&box, const QString &name, const QString &help) {
        box = new QLineEdit;
        box->setMinimumWidth(260); // an IBAN fits whole
        row(caption, box, name, help);
    };

    chkEnabled = new QCheckBox;
    row(u"Attach an e-invoice"_s, chkEnabled, u"chkEnabled"_s,
        u"When ticked, every invoice PDF also carries the invoice as Factur-X / ZUGFeRD XML (EN 16931), which "
        "accounting software reads. An invoice that cannot be an e-invoice is written as a plain PDF with a "
        "message saying why."_s);
    line(u"VAT identifier"_s, txtVatId, u"txtVatId"_s,
         u"Your VAT identification number with its country prefix, such as DE123456789. Needed when tax is "
         "charged."_s);
    line(u"Tax number"_s, txtTaxNumber, u"txtTaxNumber"_s,
         u"Optional: your tax registration number, for sellers without a VAT identifier."_s);
    line(u"Registration number"_s, txtRegistrationId, u"txtRegistrationId"_s,
         u"Optional: your company's number in the trade register. A seller without a VAT identifier needs it."_s);
    line(u"Seller country"_s, txtSellerCountry, u"txtSellerCountry"_s,
         u"Your country as a two-letter ISO 3166 code, such as GB, DE or FR."_s);
    line(u"Currency code"_s, txtCurrency, u"txtCurrency"_s,
         u"The invoice's currency as a three-letter ISO 4217 code, such as EUR or GBP; the currency the "
         "invoice prints must name it."_s);
    lblPrintedCurrency = new QLabel;
    lblPrintedCurrency->setWordWrap(true);
    row(u"Printed currency"_s, lblPrintedCurrency, u"lblPrintedCurrency"_s,
        u"The currency the invoice prints, as the Settings tab's Currency box holds it. It must name the "
        "currency of the code above, by its code, symbol or name (\"EUR\", \"\u20ac\" or \"Euro\"); an invoice "
        "whose two currencies disagree is written as a plain PDF."_s);
    connect(txtCurrency, &QLineEdit::textChanged, this, &frmEInvoice::showPrintedCurrency);
    line(u"Buyer country"_s, txtBuyerCountry, u"txtBuyerCountry"_s,
         u"The customer's country when the last customer line does not name one (two-letter code)."_s);
    cmbUntaxed = new QComboBox;
    cmbUntaxed->addItem(u"Z - zero-rated"_s, u"Z"_s);
    cmbUntaxed->addItem(u"E - exempt"_s, u"E"_s);
    row(u"Untaxed lines"_s, cmbUntaxed, u"cmbUntaxed"_s,
        u"How lines without tax are declared: zero-rated goods (Z), or exempt from VAT (E) with the reason "
        "below."_s);
    line(u"Exemption reason"_s, txtExemptionReason, u"txtExemptionReason"_s,
         u"For exempt lines: the legal reason for the exemption, as the invoice states it."_s);
    spnPaymentDays = new QSpinBox;
    spnPaymentDays->setRange(0, 3650);
    row(u"Payment due in days"_s, spnPaymentDays, u"spnPaymentDays"_s,
        u"Days from the invoice date to the due date; 0 means due on receipt."_s);
    line(u"IBAN"_s, txtIban, u"txtIban"_s, u"Optional: the account for payment by transfer."_s);
    line(u"BIC"_s, txtBic, u"txtBic"_s, u"Optional: your bank's BIC, 8 or 11 characters."_s);

    auto *buttons = new QHBoxLayout;
    cmdOK = new QPushButton(u"OK"_s);
    cmdOK->setObjectName(u"cmdOK"_s);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(u"&Cancel"_s);
    cmdCancel->setObjectName(u"cmdCancel"_s);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    form->addRow(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &frmEInvoice::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    const einvoice::Settings s = einvoice::ReadSettings(m_platform.store);
    chkEnabled->setChecked(s.enabled);
    txtVatId->setText(s.vatId);
    txtTaxNumber->setText(s.taxNumber);
    txtRegistrationId->setText(s.registrationId);
    txtSellerCountry->setText(s.sellerCountry);
    txtCurrency->setText(s.currencyCode);
    txtBuyerCountry->setText(s.buyerCountry);
    cmbUntaxed->setCurrentIndex(cmbUntaxed->findData(s.untaxedCategory));
    txtExemptionReason->setText(s.exemptionReason);
    spnPaymentDays->setValue(s.paymentDays);
    txtIban->setText(s.iban);
    txtBic->setText(s.bic);
    showPrintedCurrency();
}

void frmEInvoice::showPrintedCurrency()
{
    const QString code = txtCurrency->text().trimmed().toUpper();
    if (m_printedCurrency.isEmpty())
        lblPrintedCurrency->setText(u"The invoice prints no currency."_s);
    else if (!einvoice::IsCurrencyCode(code))
        lblPrintedCurrency->setText(u"The invoice prints \"%1\"."_s.arg(m_printedCurrency));
    else if (einvoice::NamesCurrency(m_printedCurrency, code))
        lblPrintedCurrency->setText(u"The invoice prints \"%1\", which names %2."_s.arg(m_printedCurrency, code));
    else
        lblPrintedCurrency->setText(u"The invoice prints \"%1\", which does not name %2: invoices stay plain PDFs "
                                    "until the two agree (Settings tab, Currency)."_s.arg(m_printedCurrency, code));
}

void frmEInvoice::cmdOK_Click()
{
    einvoice::Settings s;
    s.enabled = chkEnabled->isChecked();
    s.vatId = txtVatId->text();
    s.taxNumber = txtTaxNumber->text();
    s.registrationId = txtRegistrationId->text();
    s.sellerCountry = txtSellerCountry->text();
    s.currencyCode = txtCurrency->text();
    s.buyerCountry = txtBuyerCountry->text();
    s.untaxedCategory = cmbUntaxed->currentData().toString();
    s.exemptionReason = txtExemptionReason->text();
    s.paymentDays = spnPaymentDays->value();
    s.iban = txtIban->text();
    s.bic = txtBic->text();
    // Switched off, the details may stay unfinished.
    const QString problem = s.enabled ? einvoice::SettingsProblem(s) : QString();
    if (!problem.isEmpty()) {
        m_platform.messages.inform(problem);
        return;
    }
    QString error;
    if (!einvoice::WriteSettings(m_platform.store, s, &error)) {
        m_platform.messages.inform(error);
        return;
    }
    accept();
}

} // namespace ui
