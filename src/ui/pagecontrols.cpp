// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pagecontrols.h"

#include "ui/clicklabel.h"
#include "ui/textbox.h"

#include <QCheckBox>
#include <QPushButton>

#include <array>

namespace ui {

using namespace Qt::StringLiterals;

namespace pagecontrols {

namespace {

// Captions of the field headings, by their help index.
const std::array<const char16_t *, HeadingCount> HeadingCaptions = {
    u"Customer Details",
    u"QTY",
    u"DESCRIPTION",
    u"UNIT PRICE",
    u"TOTAL",
    u"TAX",
    u"+Surcharge1 %",
    u"-Discount %",
    u"=Sub Total",
    u"+Ship&&Hand",
    u"+Tax",
    u"Payment Method",
    u"=Total",
    u"+Surcharge2 %",
    u"-Received",
    u"Balance",
    u"Company Name",
    u"Invoice Number",
    u"Company Details",
    u"Charge Tax",
    u"Tax Name",
    u"Tax Value %",
    u"Charge Tax on Shipping && Handling / Carriage",
    u"Company Tel No",
    u"Company Fax No",
    u"Currency",
    u"Invoice Template",
    u"Logo",
    u"Footer Line 1",
    u"Footer Line 2",
    u"Footer Line 3",
};

const QColor LightGrey(0xe0, 0xe0, 0xe0);
const QColor LightBlue(0x5b, 0x7f, 0xd6);

} // namespace

QString HeadingCaption(int index)
{
    return QString::fromUtf16(HeadingCaptions[index]);
}

QString SpokenHeading(int index)
{
    return ClickLabel::spokenName(HeadingCaption(index));
}

QString ArrayName(const QString &name, int index)
{
    return u"%1(%2)"_s.arg(name).arg(index);
}

ClickLabel *MakeHeading(int index, QWidget *parent, const QRect &geometry)
{
    auto *heading = new ClickLabel(HeadingCaption(index), parent);
    heading->setObjectName(ArrayName(u"lblHeading"_s, index));
    QFont bold = parent->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setGeometry(geometry);
    return heading;
}

QLineEdit *MakeBox(QWidget *parent, const QString &name, const QString &spoken, const QRect &geometry,
                   Qt::Alignment alignment, BoxKind kind)
{
    auto *box = new TextBox(parent);
    box->setObjectName(name);
    // Boxes inside a bold frame stay regular.
    QFont font = box->font();
    font.setBold(false);
    box->setFont(font);
    box->setAccessibleName(spoken);
    box->setGeometry(geometry);
    box->setAlignment(alignment | Qt::AlignVCenter);
    box->setFrame(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    if (kind != BoxKind::Entry) {
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::ClickFocus);
        palette.setColor(QPalette::Base, kind == BoxKind::Shown ? LightGrey : LightBlue);
        palette.setColor(QPalette::Text, kind == BoxKind::Shown ? Qt::black : Qt::white);
    }
    box->setPalette(palette);
    return box;
}

QCheckBox *MakeCheck(QWidget *parent, const QString &name, const QString &spoken, const QRect &geometry)
{
    auto *check = new QCheckBox(parent);
    check->setObjectName(name);
    check->setAccessibleName(spoken);
    check->setGeometry(geometry);
    return check;
}

QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

} // namespace pagecontrols

} // namespace ui
