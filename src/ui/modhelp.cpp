// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/modhelp.h"

#include "platform/messagebox.h"

#include <array>

using platform::MessageBox;

namespace ui {

using namespace Qt::StringLiterals;

namespace {

constexpr const char16_t *FooterHelp = u"Enter Company / Tax registration or extra company details or extra message.";

const std::array<const char16_t *, 31> HelpTexts = {
    u"Enter the customer details/address/tel no etc",
    u"Enter the sales item quantity.\r\nThe invoice line will become active once a valid number is entered.",
    u"Enter the sales item description/stock code/stock number",
    u"Enter the price for one item",
    u"This a calculated qty*unit price value",
    u"Check if item is liable for tax or uncheck if item is not liable for tax.",
    u"Enter a surcharge percent value. This could be used for service charges.",
    u"Enter a discount percent value.",
    u"This is the calculated sub total value.",
    u"Enter a Shipping & Handling/Carriage value.",
    u"This is a calculated tax value.",
    u"Select the payment method.",
    u"This is a calculated total value.",
    u"Enter a surcharge percent value.This could be used for credit card costs.",
    u"Enter a value if the customer has made a full or part payment.",
    u"This a calculated total + surcharge2 - received value.",
    u"Enter your company name.",
    u"Click 'Reset' to change next invoice number and/or delete past invoices in invoice folder.",
    u"Enter your company details/address/website/email etc.",
    u"Check if your company charges tax on sales or uncheck if your company does not charge tax on sales.",
    u"Enter the relevant initials for your locale sales tax.",
    u"Enter the percent value of the sales tax charge.",
    u"Check if sales tax is charged on Shipping & Handling / Carriage or uncheck if sales tax is not charged on "
    u"Shipping & Handling / Carriage.",
    u"Enter your company telephone number.",
    u"Enter your company fax number.",
    u"Enter the currency symbol and currency name of your locale.",
    u"Select an invoice template.",
    u"Browse and load your company logo image.\r\nImages must be either a .bmp or .jpg image file.\r\n"
    u"The logo is used in the invoice header if the template supports logos.\r\n"
    u"The logo image will be resized to fit within a 138 pixel width and 92 pixel height.",
    FooterHelp,
    FooterHelp,
    FooterHelp,
};

} // namespace

QString FieldHelpText(int index)
{
    if (index < 0 || index >= int(HelpTexts.size()))
        return {};
    return QString::fromUtf16(HelpTexts[index]);
}

void ShowFieldHelp(MessageBox &messages, int index, const QString &caption)
{
    messages.inform(FieldHelpText(index), caption);
}

} // namespace ui
