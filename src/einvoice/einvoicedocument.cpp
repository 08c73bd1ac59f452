// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "einvoice/einvoicedocument.h"

#include "invoice/numbers.h"
#include "pdfa3/pdfa3.h"
#include "platform/messagebox.h"

#include <QLocale>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace einvoice {

namespace {

const QString WhereToFill = u" (Settings tab, E-invoicing...)"_s;

// The ISO code of a line that names a country ("Germany", "DE", "UK"); empty otherwise.
QString countryOf(const QString &line)
{
    const QString text = line.trimmed();
    if (text.compare(u"UK"_s, Qt::CaseInsensitive) == 0)
        return u"GB"_s;
    if (text.size() == 2 && IsCountryCode(text.toUpper()))
        return text.toUpper();
    for (int t = 1; t <= int(QLocale::LastTerritory); ++t) {
        const auto territory = QLocale::Territory(t);
        if (text.compare(QLocale::territoryToString(territory), Qt::CaseInsensitive) == 0)
            return QLocale::territoryToCode(territory);
    }
    return {};
}

// The free lines as a party: name, address lines, city (the last line) and
// a country read from a last line that names one. Every other text is kept.
Party partyOf(QString name, QStringList lines)
{
    lines.removeIf([](const QString &line) { return line.trimmed().isEmpty(); });
    for (QString &line : lines)
        line = line.trimmed();
    Party party;
    if (name.trimmed().isEmpty() && !lines.isEmpty())
        name = lines.takeFirst();
    party.name = name.trimmed();
    if (!lines.isEmpty()) {
        party.country = countryOf(lines.last());
        if (!party.country.isEmpty())
            lines.removeLast();
    }
    if (!lines.isEmpty())
        party.city = lines.takeLast();
    party.addressLines = lines;
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

Outcome refuse(const QString &reason)
{
    return {std::nullopt, reason};
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
    if (!IsCountryCode(settings.sellerCountry))
        return refuse(u"The seller's country is not set; fill it in the e-invoicing settings"_s + WhereToFill + u'.');
    if (!IsCurrencyCode(settings.currencyCode))
        return refuse(u"The currency code is not set; fill it in the e-invoicing settings"_s + WhereToFill + u'.');

    Invoice inv;
    inv.number = values.invoiceNumber.trimmed();
    inv.issued = issued;
    inv.due = issued.addDays(settings.paymentDays);
    inv.paymentTerms = settings.paymentDays == 0 ? u"Payment due on receipt"_s
                                                 : u"Payment due within %1 days"_s.arg(settings.paymentDays);
    inv.currency = settings.currencyCode;
    for (const QString &footer : values.footers)
        if (!footer.trimmed().isEmpty())
            inv.notes << footer.trimmed();

    inv.seller = partyOf(values.companyName,
                         QStringList(values.companyDetails.begin(), values.companyDetails.end()));
    inv.seller.country = settings.sellerCountry; // a country line of the company is read, the setting rules
    inv.seller.vatId = IsVatId(settings.vatId) ? settings.vatId : QString();
    inv.seller.taxNumber = settings.taxNumber;
    inv.seller.registrationId = settings.registrationId;
    inv.buyer = partyOf({}, QStringList(values.customerDetails.begin(), values.customerDetails.end()));
    if (inv.buyer.name.isEmpty())
        return refuse(u"The customer lines are empty; the first one must name the customer."_s);
    if (inv.buyer.country.isEmpty())
        inv.buyer.country = settings.buyerCountry;
    if (!IsCountryCode(inv.buyer.country))
        return refuse(u"The customer's country is not known; end the customer lines with it or set the "
                      "buyer's country in the e-invoicing settings"_s + WhereToFill + u'.');

    // Tax is charged only at a stored rate above 0; otherwise every line is untaxed.
    const Amount rate = Amount::fromDouble(totals.taxValue);
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
        line.quantity = NumericAmount(shown.quantity);
        line.unitPrice = NumericAmount(shown.unitPrice);
        if (line.unitPrice < Amount()) { // a credit: the price stays positive, the quantity turns
            line.unitPrice = Amount() - line.unitPrice;
            line.quantity = Amount() - line.quantity;
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
        if (!IsVatId(settings.vatId))
            return refuse(u"Tax is charged on some lines but no valid VAT identifier is set; fill it in the "
                          "e-invoicing settings"_s + WhereToFill + u'.');
        inv.taxes << TaxCategory{u"S"_s, rate, taxedBase, figures.tax, {}};
    }
    if (uses(false)) {
        if (inv.seller.vatId.isEmpty() && settings.taxNumber.trimmed().isEmpty())
            return refuse(u"Untaxed lines need the seller's VAT identifier or tax registration number; fill one "
                          "in the e-invoicing settings"_s + WhereToFill + u'.');
        const bool exempt = settings.untaxedCategory == u"E";
        if (exempt && settings.exemptionReason.trimmed().isEmpty())
            return refuse(u"Exempt lines need the exemption reason; fill it in the e-invoicing settings"_s
                          + WhereToFill + u'.');
        inv.taxes << TaxCategory{settings.untaxedCategory, Amount(),
                                 figures.subTotal + shipping - taxedBase, Amount(),
                                 exempt ? settings.exemptionReason.trimmed() : QString()};
    }

    if (inv.seller.vatId.isEmpty() && inv.seller.registrationId.isEmpty())
        return refuse(u"The seller needs a VAT identifier or a company registration number; fill one in the "
                      "e-invoicing settings"_s + WhereToFill + u'.');

    inv.paymentCode = paymentCode(values.paymentMethod);
    if (inv.paymentCode == u"ZZZ")
        inv.paymentText = values.paymentMethod.trimmed();
    if (inv.paymentCode == u"30") {
        if (!IsIban(settings.iban))
            return refuse(u"Payment by transfer needs the IBAN; fill it in the e-invoicing settings"_s
                          + WhereToFill + u'.');
        inv.iban = settings.iban;
        inv.bic = settings.bic;
    }

    for (const Adjustment &a : inv.adjustments)
        (a.charge ? inv.chargeTotal : inv.allowanceTotal) += a.amount;
    inv.taxBasis = figures.subTotal + shipping;
    inv.taxTotal = figures.tax;
    inv.grandTotal = figures.total;
    inv.duePayable = figures.balance;
    inv.prepaid = figures.total - figures.balance;
    return {inv, {}};
}

std::optional<QString> WriteInvoiceDocument(InvoiceReport &report, MessageBox &messages,
                                            const SettingsStore &store, const InvoiceDocument &document,
                                            const InvoiceValues &values, const TotalsInput &totals)
{
    const Settings settings = ReadSettings(store);
    if (document.previewTemplate || !settings.enabled)
        return WriteInvoicePdf(report, messages, document, values);

    const Outcome outcome = BuildInvoice(values, totals, settings, document.today);
    if (!outcome.invoice) {
        const std::optional<QString> path = WriteInvoicePdf(report, messages, document, values);
        if (path)
            messages.inform(u"INV%1 was written as a plain PDF, not as an e-invoice:\r\n%2"_s.arg(
                values.invoiceNumber, outcome.refusal));
        return path;
    }
    const pdfa3::Attachment attachment{FacturXXml(*outcome.invoice), FacturXFileName(), u"text/xml"_s,
                                       u"Alternative"_s, u"Factur-X invoice (EN 16931)"_s,
                                       QDateTime(document.today, QTime(0, 0), QTimeZone::utc())};
    return WriteInvoicePdf(report, messages, document, values,
                           [&](const QString &exported, const QString &finalPath, QString *error) {
                               return pdfa3::WritePdfA3(exported, finalPath, attachment, FacturXSchema(), error);
                           });
}

} // namespace einvoice
