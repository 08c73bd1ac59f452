// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settingspage.h"

#include "platform/filedialog.h"
#include "platform/platform.h"
#include "settings/clssettings.h"
#include "sheet/sheetrules.h"
#include "ui/clicklabel.h"
#include "ui/controlevents.h"
#include "ui/trapped.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

using settings::clsSettings;

using platform::Platform;

namespace ui {

using namespace Qt::StringLiterals;
using namespace pagecontrols;

SettingsPage::SettingsPage(Platform &platform, clsSettings &settings, QWidget *parent)
    : QWidget(parent), m_platform(platform), m_settings(settings), m_events(new ControlEvents(this))
{
    setObjectName(u"picSettings"_s);
    build();
    connectControls();
}

void SettingsPage::build()
{
    auto heading = [&](int index, QWidget *parent, const QRect &geometry) {
        m_headings[index] = MakeHeading(index, parent, geometry);
    };
    auto entry = [&](int headingIndex, QWidget *parent, const QString &name, const QRect &geometry,
                     Qt::Alignment alignment = Qt::AlignLeft) {
        return MakeBox(parent, name, SpokenHeading(headingIndex), geometry, alignment);
    };

    heading(26, this, QRect(10, 6, 200, 16));
    cmbTemplate = new QComboBox(this);
    cmbTemplate->setObjectName(u"cmbTemplate"_s);
    cmbTemplate->setAccessibleName(SpokenHeading(26));
    cmbTemplate->setGeometry(10, 22, 256, 22);
    cmdView = MakeButton(this, u"cmdView"_s, u"&View"_s, QRect(272, 21, 72, 24));

    heading(27, this, QRect(360, 6, 200, 16));
    txtLogo = entry(27, this, u"txtLogo"_s, QRect(360, 23, 300, 21));
    cmdLogo = MakeButton(this, u"cmdLogo"_s, u"..."_s, QRect(664, 21, 30, 24));
    cmdLogo->setAccessibleName(SpokenHeading(27));
    QFont boldButton = cmdLogo->font();
    boldButton.setBold(true);
    cmdLogo->setFont(boldButton);

    heading(16, this, QRect(10, 52, 200, 16));
    txtCompanyName = entry(16, this, u"txtCompanyName"_s, QRect(10, 69, 334, 21));
    heading(17, this, QRect(360, 52, 200, 16));
    txtInvoiceNumber = MakeBox(this, u"txtInvoiceNumber"_s, SpokenHeading(17), QRect(360, 69, 120, 21), Qt::AlignLeft,
                               BoxKind::Shown);
    cmdInvoiceReset = MakeButton(this, u"cmdInvoiceReset"_s, u"Reset"_s, QRect(486, 67, 72, 24));

    Frame1 = new QFrame(this);
    Frame1->setObjectName(u"Frame1"_s);
    Frame1->setFrameShape(QFrame::StyledPanel);
    Frame1->setGeometry(10, 100, 334, 170);
    heading(18, Frame1, QRect(8, 4, 200, 16));
    for (int i = 0; i < AddressLines; ++i) {
        txtCompanyDetails[i]
            = MakeBox(Frame1, ArrayName(u"txtCompanyDetails"_s, i), u"%1 %2"_s.arg(SpokenHeading(18)).arg(i + 1),
                      QRect(8, 22 + i * 24, 318, 21), Qt::AlignLeft);
    }

    Frame3 = new QGroupBox(u"Tax Settings"_s, this);
    Frame3->setObjectName(u"Frame3"_s);
    QFont frameFont = Frame3->font();
    frameFont.setBold(true);
    Frame3->setFont(frameFont);
    Frame3->setGeometry(360, 96, 334, 174);
    chkChargeTax = MakeCheck(Frame3, u"chkChargeTax"_s, SpokenHeading(19), QRect(10, 24, 18, 20));
    heading(19, Frame3, QRect(32, 26, 200, 16));
    heading(20, Frame3, QRect(10, 56, 90, 16));
    txtTaxName = entry(20, Frame3, u"txtTaxName"_s, QRect(100, 53, 100, 21));
    auto *hint = new QLabel(u"e.g TAX,VAT,GST"_s, Frame3);
    hint->setObjectName(u"Label20"_s);
    QFont regular = hint->font();
    regular.setBold(false);
    hint->setFont(regular);
    hint->setGeometry(208, 56, 120, 16);
    heading(21, Frame3, QRect(10, 86, 90, 16));
    txtTaxValue = entry(21, Frame3, u"txtTaxValue"_s, QRect(100, 83, 70, 21), Qt::AlignRight);
    chkSHTax = MakeCheck(Frame3, u"chkSHTax"_s, SpokenHeading(22), QRect(10, 116, 18, 20));
    heading(22, Frame3, QRect(32, 112, 290, 32));
    m_headings[22]->setWordWrap(true);

    for (int i = 0; i < 3; ++i)
        heading(23 + i, this, QRect(10, 284 + i * 28, 110, 16));
    txtTel = entry(23, this, u"txtTel"_s, QRect(120, 281, 224, 21));
    txtFax = entry(24, this, u"txtFax"_s, QRect(120, 309, 224, 21));
    txtCurrency = entry(25, this, u"txtCurrency"_s, QRect(120, 337, 224, 21));
    for (int i = 0; i < FooterLines; ++i) {
        heading(28 + i, this, QRect(360, 284 + i * 28, 90, 16));
        txtFooter[i] = entry(28 + i, this, ArrayName(u"txtFooter"_s, i), QRect(450, 281 + i * 28, 244, 21));
    }
}

void SettingsPage::connectControls()
{
    using Handlers = ControlEvents::Handlers;
    auto stored = [this](QLineEdit *box, auto change, Handlers handlers = {}) {
        handlers.gotFocus = ControlEvents::SelectsAll(box);
        m_events->on(box, std::move(handlers));
        connect(box, &QLineEdit::textChanged, this, change);
    };
    stored(txtCompanyName, [this] { m_settings.setCompanyName(txtCompanyName->text()); });
    for (int i = 0; i < AddressLines; ++i)
        stored(txtCompanyDetails[i], [this, i] { m_settings.setAddress(i + 1, txtCompanyDetails[i]->text()); });
    stored(txtTel, [this] { m_settings.setTel(txtTel->text()); });
    stored(txtFax, [this] { m_settings.setFax(txtFax->text()); });
    stored(txtCurrency, [this] { m_settings.setCurrencyName(txtCurrency->text()); });
    for (int i = 0; i < FooterLines; ++i)
        stored(txtFooter[i], [this, i] { m_settings.setFooter(i + 1, txtFooter[i]->text()); });
    stored(txtLogo, [this] { m_settings.setLogo(txtLogo->text()); });
    stored(txtTaxName, [this] {
        m_settings.setTaxName(txtTaxName->text());
        emit taxEdited();
    });
    // Leaving the rate box tidies it as the adjustment boxes are tidied: two
    // decimals, "0.00" for a text that is empty or cannot be written as a number.
    stored(txtTaxValue, [this] { txtTaxValue_Change(); },
           {.keyAllowed = ControlEvents::NumberKey,
            .lostFocus = [this] { txtTaxValue->setText(sheet::TidiedAdjustment(txtTaxValue->text())); }});

    connect(chkChargeTax, &QCheckBox::clicked, this, &SettingsPage::chkChargeTax_MouseUp);
    m_events->on(chkChargeTax, {.otherButtonReleased = [this] { chkChargeTax_MouseUp(); }});
    connect(chkSHTax, &QCheckBox::clicked, this, &SettingsPage::chkSHTax_MouseUp);
    m_events->on(chkSHTax, {.otherButtonReleased = [this] { chkSHTax_MouseUp(); }});
    connect(cmdLogo, &QPushButton::clicked, this, &SettingsPage::cmdLogo_Click);
    connect(cmbTemplate, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            m_settings.setTemplate(cmbTemplate->itemText(index));
    });
}

ClickLabel *SettingsPage::heading(int index) const
{
    return m_headings[index];
}

QList<QWidget *> SettingsPage::tabStops() const
{
    QList<QWidget *> order{txtCompanyName, cmdInvoiceReset};
    for (QLineEdit *box : txtCompanyDetails)
        order << box;
    order << chkChargeTax << txtTaxName << txtTaxValue << chkSHTax << txtTel << txtFax << txtCurrency << cmbTemplate
          << cmdView;
    for (QLineEdit *box : txtFooter)
        order << box;
    order << txtLogo << cmdLogo;
    return order;
}

void SettingsPage::Trapped(const std::function<void()> &steps)
{
    ui::Trapped(m_platform.messages, steps);
}

void SettingsPage::ShowSettings()
{
    txtCurrency->setText(m_settings.CurrencyName());
    txtTel->setText(m_settings.Tel());
    txtFax->setText(m_settings.Fax());
    txtTaxName->setText(m_settings.TaxName());
    txtTaxValue->setText(sheet::GeneralNumber(m_settings.TaxValue()));
    txtInvoiceNumber->setText(QString::number(m_settings.InvoiceNumber()));
    txtCompanyName->setText(m_settings.CompanyName());
    for (int i = 0; i < AddressLines; ++i)
        txtCompanyDetails[i]->setText(m_settings.Address(i + 1));
    txtLogo->setText(m_settings.Logo());
    for (int i = 0; i < FooterLines; ++i)
        txtFooter[i]->setText(m_settings.Footer(i + 1));
    chkSHTax->setChecked(m_settings.SHTax() == 1);
    chkChargeTax->setChecked(m_settings.TaxCharge() == 1);
}

void SettingsPage::txtTaxValue_Change()
{
    Trapped([this] {
        // Correcting the text runs this handler once more, nested here; this
        // run then carries on with the corrected text.
        if (const auto corrected = sheet::CorrectedAdjustment(txtTaxValue->text(), true))
            txtTaxValue->setText(*corrected);
        m_settings.setTaxValue(sheet::RateFromBox(txtTaxValue->text()));
        emit taxEdited();
        emit totalsAffected();
    });
}

void SettingsPage::chkChargeTax_MouseUp()
{
    Trapped([this] {
        m_settings.setTaxCharge(chkChargeTax->isChecked() ? 1 : 0);
        // Switching tax on ticks every line, whatever was chosen line by line.
        emit taxChargeSwitched();
        emit totalsAffected();
    });
}

void SettingsPage::chkSHTax_MouseUp()
{
    m_settings.setSHTax(chkSHTax->isChecked() ? 1 : 0);
    emit totalsAffected();
}

void SettingsPage::cmdLogo_Click()
{
    Trapped([this] {
        // Only the path is kept; the file is neither opened nor checked here.
        const QString fileName
            = m_platform.fileDialog.openFileName({u"*.JPG or *.BMP Picture Files"_s, {u"*.jpg"_s, u"*.bmp"_s}});
        if (!fileName.isEmpty())
            txtLogo->setText(fileName);
    });
}

sheet::CompanyTexts SettingsPage::texts() const
{
    sheet::CompanyTexts texts;
    texts.companyName = txtCompanyName->text();
    texts.invoiceNumber = txtInvoiceNumber->text();
    for (int k = 0; k < AddressLines; ++k)
        texts.companyDetails[k] = txtCompanyDetails[k]->text();
    for (int k = 0; k < FooterLines; ++k)
        texts.footers[k] = txtFooter[k]->text();
    return texts;
}

void SettingsPage::FinishEditing()
{
    m_events->leave(QApplication::focusWidget());
}

} // namespace ui
