// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The Settings page: every edit goes to the store the moment it is made,
// keystroke by keystroke; nothing is saved later and nothing is kept here.
// The tax controls also rewrite the tax heading of the Invoice page, switch
// its twelve line tax boxes and re-total.
//
// Check boxes act when a mouse button is released over them. A left click
// and Space both emit clicked() after the new state is set, so a keyboard
// toggle is stored exactly as a click is; the other buttons are caught on
// release by the event filter.
#include "ui/frmmain2.h"

#include "platform/filedialog.h"
#include "platform/platform.h"
#include "settings/clssettings.h"
#include "sheet/sheetrules.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

void frmMain2::connectSettingsPage()
{
    auto stored = [this](QLineEdit *box, auto change, ControlEvents events = {}) {
        events.gotFocus = [this, box] { SelectAllText(box); };
        on(box, std::move(events));
        connect(box, &QLineEdit::textChanged, this, change);
    };
    stored(txtCompanyName, [this] { txtCompanyName_Change(); });
    for (int i = 0; i < AddressLines; ++i)
        stored(txtCompanyDetails[i], [this, i] { txtCompanyDetails_Change(i); });
    stored(txtTel, [this] { txtTel_Change(); });
    stored(txtFax, [this] { txtFax_Change(); });
    stored(txtCurrency, [this] { txtCurrency_Change(); });
    for (int i = 0; i < FooterLines; ++i)
        stored(txtFooter[i], [this, i] { txtFooter_Change(i); });
    stored(txtLogo, [this] { txtLogo_Change(); });
    stored(txtTaxName, [this] { txtTaxName_Change(); });
    stored(txtTaxValue, [this] { txtTaxValue_Change(); },
           {.keyAllowed = NumberKey, .lostFocus = [this] { txtTaxValue_LostFocus(); }});

    connect(chkChargeTax, &QCheckBox::clicked, this, &frmMain2::chkChargeTax_MouseUp);
    on(chkChargeTax, {.otherButtonReleased = [this] { chkChargeTax_MouseUp(); }});
    connect(chkSHTax, &QCheckBox::clicked, this, &frmMain2::chkSHTax_MouseUp);
    on(chkSHTax, {.otherButtonReleased = [this] { chkSHTax_MouseUp(); }});
    connect(cmdLogo, &QPushButton::clicked, this, &frmMain2::cmdLogo_Click);
}

void frmMain2::txtCompanyName_Change()
{
    m_settings.setCompanyName(txtCompanyName->text());
}

void frmMain2::txtCompanyDetails_Change(int index)
{
    m_settings.setAddress(index + 1, txtCompanyDetails[index]->text());
}

void frmMain2::txtTel_Change()
{
    m_settings.setTel(txtTel->text());
}

void frmMain2::txtFax_Change()
{
    m_settings.setFax(txtFax->text());
}

void frmMain2::txtCurrency_Change()
{
    m_settings.setCurrencyName(txtCurrency->text());
}

void frmMain2::txtFooter_Change(int index)
{
    m_settings.setFooter(index + 1, txtFooter[index]->text());
}

void frmMain2::txtLogo_Change()
{
    m_settings.setLogo(txtLogo->text());
}

QString frmMain2::TaxHeading(const QString &prefix) const
{
    return sheet::TaxHeading(prefix, m_settings.TaxCharge(), m_settings.TaxName(), m_settings.TaxValue());
}

void frmMain2::txtTaxName_Change()
{
    m_settings.setTaxName(txtTaxName->text());
    SetTaxHeading(TaxHeading(u"+"_s));
}

void frmMain2::txtTaxValue_Change()
{
    Trapped([this] {
        // Correcting the text runs this handler once more, nested here; this
        // run then carries on with the corrected text.
        if (const auto corrected = sheet::CorrectedAdjustment(txtTaxValue->text(), true))
            txtTaxValue->setText(*corrected);
        m_settings.setTaxValue(sheet::RateFromBox(txtTaxValue->text()));
        SetTaxHeading(TaxHeading(u"+"_s));
        RefreshTotals();
    });
}

void frmMain2::txtTaxValue_LostFocus()
{
    // The same tidying as the adjustment boxes: two decimals, "0.00" for a
    // text that is empty or cannot be written as a number.
    Adjustment_LostFocus(txtTaxValue);
}

void frmMain2::ShowTaxCharge(const QString &prefix)
{
    const bool charged = m_settings.TaxCharge() == 1;
    SetTaxHeading(TaxHeading(prefix));
    for (QCheckBox *tax : chkTax) {
        tax->setEnabled(charged);
        tax->setChecked(charged);
    }
}

void frmMain2::chkChargeTax_MouseUp()
{
    Trapped([this] {
        m_settings.setTaxCharge(chkChargeTax->isChecked() ? 1 : 0);
        // Switching tax on ticks every line, whatever was chosen line by line.
        ShowTaxCharge(QString());
        RefreshTotals();
    });
}

void frmMain2::chkSHTax_MouseUp()
{
    m_settings.setSHTax(chkSHTax->isChecked() ? 1 : 0);
    RefreshTotals();
}

void frmMain2::cmdLogo_Click()
{
    Trapped([this] {
        // Only the path is kept; the file is neither opened nor checked here.
        const QString fileName =
            m_platform.fileDialog.openFileName({u"*.JPG or *.BMP Picture Files"_s, {u"*.jpg"_s, u"*.bmp"_s}});
        if (!fileName.isEmpty())
            txtLogo->setText(fileName);
    });
}
