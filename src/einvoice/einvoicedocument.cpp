// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "einvoice/einvoicedocument.h"

#include "einvoice/currencynames.h"
#include "invoice/numbers.h"
#include "pdfa3/pdfa3.h"
#include "platform/messagebox.h"

#include <QTimeZone>

using invoicepdf::InvoiceDocument;
using invoicepdf::InvoiceReport;
using invoicepdf::InvoiceValues;
using invoicepdf::WriteInvoicePdf;

using platform::MessageBox;
using platform::SettingsStore;

using invoice::Amount;
using invoice::CalculateTotals;
using invoice::DecimalText;
using invoice::NumericAmount;
using invoice::TotalsFigures;
using invoice::TotalsInput;
using invoice::TotalsSplit;

using namespace Qt::StringLiterals;

namespace einvoice {

namespace {

// Where each refused setting is put right.
QString inSettings(const QString &problem)
{
    return problem + u" Set it in the e-invoicing settings (Settings tab, E-invoicing...)."_s;
}

// The free lines as a party: the name (the first line when none is given)
// and the address of the rest.
Party partyOf(const QString &name, const QStringList &lines, const QString &fallbackCountry)
{
    QStringList rest;
    for (const QString &line : lines)
        if (!line.trimmed().isEmpty())
            rest << line.trimmed();
    Party party;
    party.name = name.trimmed();
    if (party.name.isEmpty() && !rest.isEmpty())
        party.name = rest.takeFirst();
    party.address = ReadAddress(rest, fallbackCountry);
    return party;
}

QString paymentCode(const QString &method)
{
    const QString m = method.trimmed().toUpper();
    if (m == u"CASH")
        return u"10"_s;
    if (m == u"CHECK" || m == u"CHEQUE")
        return u"20"_s;
    if (m == u"CARD")
        return u"48"_s;
    if (m == u"TRANSFER")
        return u"30"_s;
    return m.isEmpty() ? QString() : u"ZZZ"_s;
}

// An identifier as the checks read it: no blanks, capitals.
QString compact(const QString &text)
{
    return text.simplified().remove(u' ').toUpper();
}

QString negated(const QString &decimal)
{
    if (decimal == u"0")
        return decimal;
    return decimal.startsWith(u'-') ? decimal.mid(1) : u'-' + decimal;
}

// A credit note states what the buyer is owed: every amount with its sign
// turned, prices excepted, which stay positive while the quantities turn.
void turnSigns(Invoice &inv)
{
    inv.creditNote = true;
    const auto turn = [](Amount &a) { a = Amount() - a; };
    for (Line &line : inv.lines) {
        line.quantity = negated(line.quantity);
        turn(line.net);
    }
    for (Adjustment &a : inv.adjustments)
        turn(a.amount);
    for (TaxCategory &c : inv.taxes) {
        turn(c.base);
        turn(c.tax);
    }
    for (Amount *a : {&inv.lineTotal, &inv.taxBasis, &inv.taxTotal, &inv.grandTotal, &inv.prepaid, &inv.duePayable})
        turn(*a);
}

Outcome refuse(const QString &reason)
{
    return {std::nullopt, reason, {}};
}

} // namespace

Outcome BuildInvoice(const InvoiceValues &values, const TotalsInput &totals, const Settings &settings,
                     const QDate &issued)
{
    TotalsFigures figures;
    TotalsSplit split;
    CalculateTotals(totals, figures, split);

    if (figures.surcharge2 != Amount())
        return refuse(u"Surcharge 2 is charged on the total with tax, which an e-invoice cannot carry; "
                      "set it to 0 to make one."_s);
    if (values.invoiceNumber.trimmed().isEmpty())
        return refuse(u"The invoice has no number; set the next invoice number on the Settings tab."_s);
    if (values.companyName.trimmed().isEmpty())
        return refuse(u"The company name is empty; fill it in on the Settings tab."_s);
    if (const QString problem = CountryProblem(u"The seller's country"_s, settings.sellerCountry); !problem.isEmpty())
        return refuse(inSettings(problem));
    if (const QString problem = CurrencyProblem(settings.currencyCode); !problem.isEmpty())
        return refuse(inSettings(problem));
    if (const QString problem = PrintedCurrencyProblem(values.currency, settings.currencyCode); !problem.isEmpty())
        return refuse(problem);
    if (const QString problem = VatIdProblem(settings.vatId); !problem.isEmpty())
        return refuse(inSettings(problem));

    Invoice inv;
    inv.number = values.invoiceNumber.trimmed();
    inv.issued = issued;
    inv.due = issued.addDays(settings.paymentDays);
    inv.currency = settings.currencyCode;
    for (const QString &footer : values.footers)
        if (!footer.trimmed().isEmpty())
            inv.notes << footer.trimmed();

    inv.seller = partyOf(values.companyName, QStringList(values.companyDetails.begin(), values.companyDetails.end()),
                         settings.sellerCountry);
    if (inv.seller.address.country != settings.sellerCountry)
        return refuse(inSettings(u"The company's address names %1 (%2) as its country, but the seller's country is "
                                 "%3; make the two agree."_s.arg(inv.seller.address.country,
                                                                 CountryName(inv.seller.address.country),
                                                                 settings.sellerCountry)));
    inv.seller.vatId = compact(settings.vatId);
    inv.seller.taxNumber = settings.taxNumber;
    inv.seller.registrationId = settings.registrationId;
    inv.buyer
        = partyOf({}, QStringList(values.customerDetails.begin(), values.customerDetails.end()), settings.buyerCountry);
    if (inv.buyer.name.isEmpty())
        return refuse(u"The customer lines are empty; the first one must name the customer."_s);
    QString notice;
    if (inv.buyer.address.countryAssumed) {
        const QString country = inv.buyer.address.country;
        if (const QString problem = CountryProblem(u"The buyer's country"_s, country); !problem.isEmpty())
            return refuse(u"The customer lines name no country; end them with the customer's country. "_s
                          + inSettings(problem));
        notice = u"The customer lines name no country, so %1 (%2), the buyer's country of the e-invoicing "
                 "settings, was assumed; end the customer lines with the country to name it."_s.arg(
                     country, CountryName(country));
    }

    // Tax is charged only at a stored rate above 0; otherwise every line is untaxed.
    const Amount rate = totals.taxValue;
    const bool taxCharged = totals.taxCharge == 1 && rate > Amount();
    inv.taxRate = rate;
    inv.untaxedCode = settings.untaxedCategory;

    for (int i = 0; i < InvoiceValues::LineCount; ++i) {
        const InvoiceValues::Line &shown = values.lines[i];
        const Amount net = NumericAmount(totals.lineTotals[i]);
        if (shown.quantity.trimmed().isEmpty() && shown.description.trimmed().isEmpty()
            && shown.unitPrice.trimmed().isEmpty() && net == Amount())
            continue;
        Line line;
        line.name = shown.description.trimmed().isEmpty() ? u"Item %1"_s.arg(i + 1) : shown.description.trimmed();
        // The quantity as typed, every digit, as the line total took it.
        line.quantity = DecimalText(shown.quantity);
        line.unitPrice = NumericAmount(shown.unitPrice);
        if (line.unitPrice < Amount()) { // a credit: the price stays positive, the quantity turns
            line.unitPrice = Amount() - line.unitPrice;
            line.quantity = negated(line.quantity);
        }
        line.net = net;
        line.taxed = taxCharged && totals.taxable[i];
        inv.lines << line;
        inv.lineTotal += net;
    }
    if (inv.lines.isEmpty())
        return refuse(u"The invoice has no lines."_s);

    const Amount shipping = NumericAmount(totals.shipping);
    const bool shippingTaxed = taxCharged && totals.shTax == 1;
    const Amount taxedSurcharge = taxCharged ? split.taxedSurcharge1 : Amount();
    const Amount taxedDiscount = taxCharged ? split.taxedDiscount : Amount();
    auto adjust = [&](bool charge, Amount amount, const QString &reason, bool taxed) {
        if (amount != Amount())
            inv.adjustments << Adjustment{charge, amount, reason, taxed};
    };
    const QString surchargeReason = u"Surcharge %1%"_s.arg(XmlAmount(NumericAmount(totals.surcharge1)));
    const QString discountReason = u"Discount %1%"_s.arg(XmlAmount(NumericAmount(totals.discount)));
    adjust(true, taxedSurcharge, surchargeReason, true);
    adjust(true, figures.surcharge1 - taxedSurcharge, surchargeReason, false);
    adjust(false, taxedDiscount, discountReason, true);
    adjust(false, figures.discount - taxedDiscount, discountReason, false);
    adjust(true, shipping, u"Shipping and handling"_s, shippingTaxed);

    const auto uses = [&](bool taxed) {
        return std::any_of(inv.lines.begin(), inv.lines.end(), [&](const Line &l) { return l.taxed == taxed; })
            || std::any_of(inv.adjustments.begin(), inv.adjustments.end(),
                           [&](const Adjustment &a) { return a.taxed == taxed; });
    };
    const Amount taxedBase = taxCharged ? split.taxableBase : Amount();
    if (uses(true)) {
        if (settings.vatId.isEmpty())
            return refuse(inSettings(u"Tax is charged on some lines, but the VAT identifier is not set."_s));
        inv.taxes << TaxCategory{u"S"_s, rate, taxedBase, figures.tax, {}};
    }
    if (uses(false)) {
        if (settings.vatId.isEmpty() && settings.taxNumber.trimmed().isEmpty())
            return refuse(inSettings(u"Untaxed lines need the seller's VAT identifier or tax registration number."_s));
        const bool exempt = settings.untaxedCategory == u"E";
        if (exempt && settings.exemptionReason.trimmed().isEmpty())
            return refuse(inSettings(u"Exempt lines need the exemption reason."_s));
        inv.taxes << TaxCategory{settings.untaxedCategory, Amount(), figures.subTotal + shipping - taxedBase, Amount(),
                                 exempt ? settings.exemptionReason.trimmed() : QString()};
    }

    if (settings.vatId.isEmpty() && inv.seller.registrationId.isEmpty())
        return refuse(inSettings(u"The seller needs a VAT identifier or a company registration number."_s));

    inv.taxBasis = figures.subTotal + shipping;
    inv.taxTotal = figures.tax;
    inv.grandTotal = figures.total;
    inv.duePayable = figures.balance;
    inv.prepaid = figures.total - figures.balance;
    if (inv.grandTotal < Amount())
        turnSigns(inv);
    // A negative charge is an allowance and the other way round, so that every one is stated positive.
    for (Adjustment &a : inv.adjustments) {
        if (a.amount < Amount()) {
            a.amount = Amount() - a.amount;
            a.charge = !a.charge;
        }
        (a.charge ? inv.chargeTotal : inv.allowanceTotal) += a.amount;
    }

    inv.paymentCode = paymentCode(values.paymentMethod);
    if (inv.paymentCode == u"ZZZ")
        inv.paymentText = values.paymentMethod.trimmed();
    if (inv.creditNote) {
        // The refund goes to the buyer, whose account the invoice does not know.
        inv.paymentTerms = settings.paymentDays == 0 ? u"Refund due on receipt"_s
                                                     : u"Refund due within %1 days"_s.arg(settings.paymentDays);
        if (inv.paymentCode == u"30")
            inv.paymentCode.clear();
    } else {
        inv.paymentTerms = settings.paymentDays == 0 ? u"Payment due on receipt"_s
                                                     : u"Payment due within %1 days"_s.arg(settings.paymentDays);
        if (inv.paymentCode == u"30") {
            if (settings.iban.isEmpty())
                return refuse(inSettings(u"Payment by transfer needs the IBAN, which is not set."_s));
            if (const QString problem = IbanProblem(settings.iban); !problem.isEmpty())
                return refuse(inSettings(problem));
            inv.iban = compact(settings.iban);
            inv.bic = compact(settings.bic);
        }
    }
    return {inv, {}, notice};
}

std::optional<QString> WriteInvoiceDocument(InvoiceReport &report, MessageBox &messages, const SettingsStore &store,
                                            const InvoiceDocument &document, const InvoiceValues &values,
                                            const TotalsInput &totals)
{
    const Settings settings = ReadSettings(store);
    if (document.previewTemplate || !settings.enabled)
        return WriteInvoicePdf(report, messages, document, values);

    const Outcome outcome = BuildInvoice(values, totals, settings, document.today);
    if (!outcome.invoice) {
        const std::optional<QString> path = WriteInvoicePdf(report, messages, document, values);
        if (path)
            messages.inform(u"INV%1 was written as a plain PDF, not as an e-invoice:\r\n%2"_s.arg(values.invoiceNumber,
                                                                                                  outcome.refusal));
        return path;
    }
    const pdfa3::Attachment attachment{FacturXXml(*outcome.invoice),
                                       FacturXFileName(),
                                       u"text/xml"_s,
                                       u"Alternative"_s,
                                       u"Factur-X invoice (EN 16931)"_s,
                                       QDateTime(document.today, QTime(0, 0), QTimeZone::utc())};
    const std::optional<QString> path = WriteInvoicePdf(
        report, messages, document, values, [&](const QString &exported, const QString &finalPath, QString *error) {
            return pdfa3::WritePdfA3(exported, finalPath, attachment, FacturXSchema(), error);
        });
    if (path && !outcome.notice.isEmpty())
        messages.inform(u"INV%1 was written as an e-invoice.\r\n%2"_s.arg(values.invoiceNumber, outcome.notice));
    return path;
}

} // namespace einvoice
