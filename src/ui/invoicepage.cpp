// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/invoicepage.h"

#include "invoice/clstotals.h"
#include "invoice/runtimeerror.h"
#include "platform/messagebox.h"
#include "settings/clssettings.h"
#include "sheet/sheetrules.h"
#include "ui/accessibility.h"
#include "ui/clicklabel.h"
#include "ui/controlevents.h"
#include "ui/trapped.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

using settings::clsSettings;

using platform::MessageBox;

using invoice::RuntimeError;
using invoice::TotalsInput;

namespace ui {

using namespace Qt::StringLiterals;
using namespace pagecontrols;

namespace {

constexpr int RowPitch = 18; // 270 twips

QFrame *makeLine(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *line = new QFrame(parent);
    line->setObjectName(name);
    line->setGeometry(geometry);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    line->setPalette(palette);
    MarkDecorative(line);
    return line;
}

ClickLabel *makeBanner(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry,
                       int pointSize)
{
    auto *label = new ClickLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAutoFillBackground(true);
    label->setAlignment(Qt::AlignCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(true);
    if (pointSize > 0)
        font.setPointSizeF(pointSize);
    label->setFont(font);
    return label;
}

} // namespace

InvoicePage::InvoicePage(MessageBox &messages, clsSettings &settings, QWidget *parent)
    : QWidget(parent), m_messages(messages), m_settings(settings), m_events(new ControlEvents(this))
{
    setObjectName(u"picInvoice"_s);
    build();
    connectControls();
}

void InvoicePage::build()
{
    Frame2 = new QFrame(this);
    Frame2->setObjectName(u"Frame2"_s);
    Frame2->setFrameShape(QFrame::StyledPanel);
    Frame2->setGeometry(4, 2, 693, 86);
    m_headings[0] = MakeHeading(0, Frame2, QRect(8, 4, 200, 16));
    for (int i = 0; i < AddressLines; ++i) {
        const int column = i / 3;
        const int row = i % 3;
        const int x = column == 0 ? 26 : 370;
        const int y = 22 + row * 20;
        auto *number = new QLabel(QString::number(i + 1), Frame2);
        number->setObjectName(u"Label%1"_s.arg(27 + i));
        number->setAlignment(Qt::AlignCenter);
        QFont numberFont = number->font();
        numberFont.setBold(true);
        number->setFont(numberFont);
        number->setGeometry(x - 20, y, 18, BoxHeight);
        txtCustomerDetails[i]
            = MakeBox(Frame2, ArrayName(u"txtCustomerDetails"_s, i), u"%1 %2"_s.arg(SpokenHeading(0)).arg(i + 1),
                      QRect(x, y, 310, BoxHeight), Qt::AlignLeft);
    }

    // Column headings and the twelve invoice lines.
    struct Column
    {
        int x;
        int width;
    };
    const Column qty{6, 52}, description{60, 388}, price{450, 92}, total{544, 104}, tax{650, 40};
    const int headingY = 92;
    const int firstRow = 108;
    auto placeHeading = [&](int index, const Column &column, Qt::Alignment alignment) {
        m_headings[index] = MakeHeading(index, this, QRect(column.x, headingY, column.width, 16));
        m_headings[index]->setAlignment(alignment | Qt::AlignVCenter);
    };
    placeHeading(1, qty, Qt::AlignCenter);
    placeHeading(2, description, Qt::AlignCenter);
    placeHeading(3, price, Qt::AlignCenter);
    placeHeading(4, total, Qt::AlignCenter);
    placeHeading(5, tax, Qt::AlignRight);
    for (int i = 0; i < LineCount; ++i) {
        const int y = firstRow + i * RowPitch;
        const QString line = QString::number(i + 1);
        txtQty[i] = MakeBox(this, ArrayName(u"txtQty"_s, i), SpokenHeading(1) + u' ' + line,
                            QRect(qty.x, y, qty.width, BoxHeight), Qt::AlignRight);
        txtDescription[i] = MakeBox(this, ArrayName(u"txtDescription"_s, i), SpokenHeading(2) + u' ' + line,
                                    QRect(description.x, y, description.width, BoxHeight), Qt::AlignLeft);
        txtUnitPrice[i] = MakeBox(this, ArrayName(u"txtUnitPrice"_s, i), SpokenHeading(3) + u' ' + line,
                                  QRect(price.x, y, price.width, BoxHeight), Qt::AlignRight);
        txtTotal[i] = MakeBox(this, ArrayName(u"txtTotal"_s, i), SpokenHeading(4) + u' ' + line,
                              QRect(total.x, y, total.width, BoxHeight), Qt::AlignRight, BoxKind::Shown);
        chkTax[i] = MakeCheck(this, ArrayName(u"chkTax"_s, i), SpokenHeading(5) + u' ' + line,
                              QRect(tax.x + 22, y, 18, BoxHeight));
        chkTax[i]->setText(QString());
    }

    // The adjustments and totals, in the order of the calculation.
    const int boxWidth = 86;
    const int gap = 22;
    auto columnX = [&](int column) { return 6 + column * (boxWidth + gap); };
    const int row1Heading = 330, row1Box = 346, row2Heading = 374, row2Box = 390;
    auto adjustment = [&](int headingIndex, const QString &name, int column, int headingY, int boxY, BoxKind kind) {
        m_headings[headingIndex]
            = MakeHeading(headingIndex, this, QRect(columnX(column), headingY, boxWidth + gap - 4, 16));
        const QString spoken = headingIndex == 10 ? u"Tax"_s : SpokenHeading(headingIndex);
        QLineEdit *box
            = MakeBox(this, name, spoken, QRect(columnX(column), boxY, boxWidth, BoxHeight + 1), Qt::AlignRight, kind);
        box->setText(u"0.00"_s);
        return box;
    };
    txtSurcharge1 = adjustment(6, u"txtSurcharge1"_s, 0, row1Heading, row1Box, BoxKind::Entry);
    txtSurcharge1->setToolTip(u"Example use - Service Charge"_s);
    txtDiscount = adjustment(7, u"txtDiscount"_s, 1, row1Heading, row1Box, BoxKind::Entry);
    txtSubTotal = adjustment(8, u"txtSubTotal"_s, 2, row1Heading, row1Box, BoxKind::Figure);
    txtSH = adjustment(9, u"txtSH"_s, 3, row1Heading, row1Box, BoxKind::Entry);
    txtTax = adjustment(10, u"txtTax"_s, 4, row1Heading, row1Box, BoxKind::Figure);
    txtTTotal = adjustment(12, u"txtTTotal"_s, 1, row2Heading, row2Box, BoxKind::Figure);
    txtSurcharge2 = adjustment(13, u"txtSurcharge2"_s, 2, row2Heading, row2Box, BoxKind::Entry);
    txtSurcharge2->setToolTip(u"Example use - Credit card costs"_s);
    txtReceived = adjustment(14, u"txtReceived"_s, 3, row2Heading, row2Box, BoxKind::Entry);
    txtBalance = adjustment(15, u"txtBalance"_s, 4, row2Heading, row2Box, BoxKind::Figure);

    // Connectors that lead the eye through the calculation: along the first
    // row, back along the page to the total, then along the second row.
    const int mid1 = row1Box + BoxHeight / 2;
    const int mid2 = row2Box + BoxHeight / 2;
    int lineNumber = 1;
    for (int column = 0; column < 4; ++column)
        makeLine(this, u"Line%1"_s.arg(lineNumber++), QRect(columnX(column) + boxWidth, mid1 - 1, gap, 3));
    const int backY = row1Box + BoxHeight + 4;
    const int taxMid = columnX(4) + boxWidth / 2;
    const int totalMid = columnX(1) + boxWidth / 2;
    makeLine(this, u"Line5"_s, QRect(taxMid - 1, row1Box + BoxHeight + 1, 3, backY - row1Box - BoxHeight));
    makeLine(this, u"Line6"_s, QRect(totalMid - 1, backY, taxMid - totalMid + 2, 3));
    makeLine(this, u"Line7"_s, QRect(totalMid - 1, backY, 3, row2Box - backY));
    lineNumber = 9;
    for (int column = 1; column < 4; ++column)
        makeLine(this, u"Line%1"_s.arg(lineNumber++), QRect(columnX(column) + boxWidth, mid2 - 1, gap, 3));
    makeLine(this, u"Line12"_s, QRect(columnX(4), row2Box + BoxHeight + 3, boxWidth, 3));

    // The invoice banner and the next number, left of the second row.
    Label26 = makeBanner(this, u"Label26"_s, u"INVOICE"_s, QRect(columnX(0), row2Heading, boxWidth, 24), 12);
    lblNumber = makeBanner(this, u"lblNumber"_s, u"Label27"_s, QRect(columnX(0), row2Heading + 24, boxWidth, 18), 0);

    // Payment method and the two commands, right of the totals.
    const int rightX = columnX(5) - 4;
    const int rightWidth = PageWidth - rightX - 6;
    m_headings[11] = MakeHeading(11, this, QRect(rightX, row1Heading, rightWidth, 16));
    cmbPaymentMethod = new QComboBox(this);
    cmbPaymentMethod->setObjectName(u"cmbPaymentMethod"_s);
    cmbPaymentMethod->setAccessibleName(SpokenHeading(11));
    cmbPaymentMethod->setGeometry(rightX, row1Box, rightWidth, 22);
    for (const QString &method : {u"CASH"_s, u"CHECK"_s, u"CHEQUE"_s, u"CARD"_s, u"TRANSFER"_s, u"OTHER"_s})
        cmbPaymentMethod->addItem(method, 0);
    cmbPaymentMethod->setCurrentIndex(-1);
    cmdPreview
        = MakeButton(this, u"cmdPreview"_s, u"&Print PDF Invoice"_s, QRect(rightX, row2Heading - 2, rightWidth, 26));
    cmdNew = MakeButton(this, u"cmdNew"_s, u"&New Invoice"_s, QRect(rightX, row2Heading + 28, rightWidth, 26));
}

void InvoicePage::connectControls()
{
    using Handlers = ControlEvents::Handlers;
    // A unit price may also be negative (a credit line).
    auto priceKey = [](QChar c) { return ControlEvents::NumberKey(c) || c == u'-'; };

    for (QLineEdit *box : txtCustomerDetails)
        m_events->on(box, {.gotFocus = ControlEvents::SelectsAll(box)});
    for (int i = 0; i < LineCount; ++i) {
        m_events->on(txtDescription[i], {.gotFocus = ControlEvents::SelectsAll(txtDescription[i])});
        m_events->on(txtQty[i],
                     {.keyAllowed = ControlEvents::NumberKey, .gotFocus = ControlEvents::SelectsAll(txtQty[i])});
        connect(txtQty[i], &QLineEdit::textChanged, this, [this, i] { UpdateLineTotal(i, true); });
        m_events->on(txtUnitPrice[i],
                     Handlers{.keyAllowed = priceKey,
                              .gotFocus = ControlEvents::SelectsAll(txtUnitPrice[i]),
                              .lostFocus
                              = [this, i] { txtUnitPrice[i]->setText(sheet::TidiedPrice(txtUnitPrice[i]->text())); }});
        connect(txtUnitPrice[i], &QLineEdit::textChanged, this, [this, i] { UpdateLineTotal(i, false); });
        // A left click and Space both toggle the box and emit clicked() after
        // the new state is set; the other buttons are caught on release.
        connect(chkTax[i], &QCheckBox::clicked, this, &InvoicePage::RefreshTotals);
        m_events->on(chkTax[i], {.otherButtonReleased = [this] { RefreshTotals(); }});
    }

    const std::pair<QLineEdit *, bool> adjustments[]
        = {{txtSurcharge1, true}, {txtDiscount, true}, {txtSurcharge2, true}, {txtSH, false}, {txtReceived, false}};
    for (const auto &[box, percentage] : adjustments) {
        m_events->on(box,
                     {.keyAllowed = ControlEvents::NumberKey,
                      .gotFocus = ControlEvents::SelectsAll(box),
                      .lostFocus = [box = box] { box->setText(sheet::TidiedAdjustment(box->text())); }});
        connect(box, &QLineEdit::textChanged, this,
                [this, box = box, percentage = percentage] { Adjustment_Change(box, percentage); });
    }
}

ClickLabel *InvoicePage::heading(int index) const
{
    return m_headings[index];
}

QList<QWidget *> InvoicePage::tabStops() const
{
    QList<QWidget *> order;
    for (QLineEdit *box : txtCustomerDetails)
        order << box;
    for (int i = 0; i < LineCount; ++i)
        order << txtQty[i] << txtDescription[i] << txtUnitPrice[i] << chkTax[i];
    order << txtSurcharge1 << txtDiscount << txtSH << txtSurcharge2 << txtReceived << cmbPaymentMethod << cmdPreview
          << cmdNew;
    return order;
}

void InvoicePage::Trapped(const std::function<void()> &steps)
{
    ui::Trapped(m_messages, steps);
}

void InvoicePage::UpdateLineTotal(int index, bool quantityChanged)
{
    // A lone "-" or ".", or a second ".", empties the price at once; its own
    // change handling runs the line once more, nested here.
    if (!quantityChanged) {
        if (const auto corrected = sheet::CorrectedPrice(txtUnitPrice[index]->text()))
            txtUnitPrice[index]->setText(*corrected);
    }

    if (!txtQty[index]->text().isEmpty()) {
        try {
            txtTotal[index]->setText(sheet::LineTotalText(txtQty[index]->text(), txtUnitPrice[index]->text()));
        } catch (const RuntimeError &error) {
            // The line keeps its previous total and nothing is re-totalled.
            m_messages.inform(error.description());
            return;
        }
    } else {
        txtTotal[index]->setText(QString());
        // Clearing a quantity clears the whole line; clearing a price does not.
        if (quantityChanged)
            txtUnitPrice[index]->setText(QString());
    }
    RefreshTotals();
}

void InvoicePage::Adjustment_Change(QLineEdit *box, bool percentage)
{
    if (const auto corrected = sheet::CorrectedAdjustment(box->text(), percentage))
        box->setText(*corrected);
    RefreshTotals();
}

void InvoicePage::RefreshTotals()
{
    if (!m_totals)
        return;
    Trapped([this] {
        m_totals->Calculate();
        txtSubTotal->setText(m_totals->SubTotal());
        txtTax->setText(m_totals->Tax());
        txtTTotal->setText(m_totals->Total());
        txtBalance->setText(m_totals->Balance());
    });
}

TotalsInput InvoicePage::totalsInput() const
{
    TotalsInput input;
    for (int i = 0; i < LineCount; ++i) {
        input.lineTotals[i] = txtTotal[i]->text();
        input.taxable[i] = chkTax[i]->isChecked();
    }
    input.surcharge1 = txtSurcharge1->text();
    input.discount = txtDiscount->text();
    input.shipping = txtSH->text();
    input.surcharge2 = txtSurcharge2->text();
    input.received = txtReceived->text();
    input.shTax = m_settings.SHTax();
    input.taxValue = m_settings.TaxValue();
    input.taxCharge = m_settings.TaxCharge();
    return input;
}

void InvoicePage::Blank()
{
    for (QLineEdit *box : txtCustomerDetails)
        box->setText(QString());
    // Emptying a quantity empties its line's price and total, and re-totals.
    for (int i = 0; i < LineCount; ++i) {
        txtQty[i]->setText(QString());
        txtDescription[i]->setText(QString());
        txtUnitPrice[i]->setText(QString());
    }
    for (QLineEdit *box : {txtSurcharge1, txtSubTotal, txtDiscount, txtSH, txtTax, txtTTotal, txtReceived, txtBalance})
        box->setText(u"0.00"_s);
    cmbPaymentMethod->setCurrentIndex(0);
}

void InvoicePage::ShowNumber(qint32 number)
{
    lblNumber->setCaption(u"NO. "_s + QString::number(number));
}

void InvoicePage::ShowTaxHeading(const QString &prefix)
{
    m_headings[10]->setCaption(
        sheet::TaxHeading(prefix, m_settings.TaxCharge(), m_settings.TaxName(), m_settings.TaxValue()));
}

void InvoicePage::ShowTaxCharge(const QString &prefix)
{
    const bool charged = m_settings.TaxCharge() == 1;
    ShowTaxHeading(prefix);
    for (QCheckBox *tax : chkTax) {
        tax->setEnabled(charged);
        tax->setChecked(charged);
    }
}

sheet::InvoiceTexts InvoicePage::texts() const
{
    sheet::InvoiceTexts texts;
    for (int k = 0; k < AddressLines; ++k)
        texts.customerDetails[k] = txtCustomerDetails[k]->text();
    for (int n = 0; n < LineCount; ++n)
        texts.lines[n] = {txtQty[n]->text(), txtDescription[n]->text(), txtUnitPrice[n]->text(), txtTotal[n]->text()};
    texts.surcharge1Percent = txtSurcharge1->text();
    texts.discountPercent = txtDiscount->text();
    texts.subTotal = txtSubTotal->text();
    texts.shipping = txtSH->text();
    texts.tax = txtTax->text();
    texts.total = txtTTotal->text();
    texts.surcharge2Percent = txtSurcharge2->text();
    texts.received = txtReceived->text();
    texts.balance = txtBalance->text();
    texts.paymentMethod = cmbPaymentMethod->currentText();
    texts.taxHeading = m_headings[10]->caption();
    return texts;
}

void InvoicePage::FinishEditing()
{
    m_events->leave(QApplication::focusWidget());
}

} // namespace ui
