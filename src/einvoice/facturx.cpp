// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "einvoice/facturx.h"

#include "pdfa3/pdfa3.h"

#include <QXmlStreamWriter>

using invoice::Amount;

using namespace Qt::StringLiterals;

namespace einvoice {

namespace {

const QString Rsm = u"urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100"_s;
const QString Ram = u"urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100"_s;
const QString Udt = u"urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100"_s;

class Writer
{
public:
    explicit Writer(QByteArray *out) : m_xml(out)
    {
        m_xml.setAutoFormatting(true);
        m_xml.setAutoFormattingIndent(2);
    }

    QXmlStreamWriter &xml() { return m_xml; }

    void open(const QString &name) { m_xml.writeStartElement(Ram, name); }
    void close() { m_xml.writeEndElement(); }
    void text(const QString &name, const QString &value) { m_xml.writeTextElement(Ram, name, value); }
    void optional(const QString &name, const QString &value)
    {
        if (!value.isEmpty())
            text(name, value);
    }
    void amount(const QString &name, Amount value) { text(name, XmlAmount(value)); }
    void date(const QString &name, const QDate &day)
    {
        open(name);
        m_xml.writeStartElement(Udt, u"DateTimeString"_s);
        m_xml.writeAttribute(u"format"_s, u"102"_s);
        m_xml.writeCharacters(day.toString(u"yyyyMMdd"_s));
        m_xml.writeEndElement();
        close();
    }

    // The VAT category of a line or of an allowance or charge.
    void tax(const Invoice &inv, bool taxed)
    {
        text(u"TypeCode"_s, u"VAT"_s);
        text(u"CategoryCode"_s, taxed ? inv.taxedCode : inv.untaxedCode);
        text(u"RateApplicablePercent"_s, XmlAmount(taxed ? inv.taxRate : Amount()));
    }

    void party(const QString &element, const Party &party)
    {
        open(element);
        text(u"Name"_s, party.name);
        if (!party.registrationId.isEmpty()) {
            open(u"SpecifiedLegalOrganization"_s);
            text(u"ID"_s, party.registrationId);
            close();
        }
        const PostalAddress &address = party.address;
        open(u"PostalTradeAddress"_s);
        optional(u"PostcodeCode"_s, address.postcode);
        const QString names[] = {u"LineOne"_s, u"LineTwo"_s, u"LineThree"_s};
        for (qsizetype i = 0; i < address.lines.size() && i < 3; ++i)
            text(names[i], address.lines[i]);
        optional(u"CityName"_s, address.city);
        text(u"CountryID"_s, address.country);
        optional(u"CountrySubDivisionName"_s, address.region);
        close();
        const std::pair<QString, QString> registrations[] = {{u"VA"_s, party.vatId}, {u"FC"_s, party.taxNumber}};
        for (const auto &[scheme, id] : registrations) {
            if (id.isEmpty())
                continue;
            open(u"SpecifiedTaxRegistration"_s);
            m_xml.writeStartElement(Ram, u"ID"_s);
            m_xml.writeAttribute(u"schemeID"_s, scheme);
            m_xml.writeCharacters(id);
            m_xml.writeEndElement();
            close();
        }
        close();
    }

private:
    QXmlStreamWriter m_xml;
};

} // namespace

QString XmlAmount(Amount value, int minDecimals)
{
    const qint64 units = value.units();
    const quint64 magnitude = units < 0 ? 0 - quint64(units) : quint64(units);
    QString fraction = u"%1"_s.arg(magnitude % 10000, 4, 10, QLatin1Char('0'));
    while (fraction.size() > minDecimals && fraction.endsWith(u'0'))
        fraction.chop(1);
    QString text = (units < 0 ? u"-"_s : QString()) + QString::number(magnitude / 10000);
    return fraction.isEmpty() ? text : text + u'.' + fraction;
}

QString FacturXFileName()
{
    return u"factur-x.xml"_s;
}

pdfa3::XmpSchema FacturXSchema()
{
    return {u"Factur-X PDFA Extension Schema"_s,
            u"urn:factur-x:pdfa:CrossIndustryDocument:invoice:1p0#"_s,
            u"fx"_s,
            {
                {u"DocumentFileName"_s, FacturXFileName(), u"Text"_s, u"external"_s,
                 u"name of the embedded XML invoice file"_s},
                {u"DocumentType"_s, u"INVOICE"_s, u"Text"_s, u"external"_s, u"INVOICE"_s},
                {u"Version"_s, u"1.0"_s, u"Text"_s, u"external"_s, u"The actual version of the Factur-X XML schema"_s},
                {u"ConformanceLevel"_s, u"EN 16931"_s, u"Text"_s, u"external"_s,
                 u"The conformance level of the embedded Factur-X data"_s},
            }};
}

QByteArray FacturXXml(const Invoice &inv)
{
    QByteArray out;
    Writer w(&out);
    QXmlStreamWriter &xml = w.xml();
    xml.writeStartDocument();
    xml.writeNamespace(Rsm, u"rsm"_s);
    xml.writeNamespace(Ram, u"ram"_s);
    xml.writeNamespace(Udt, u"udt"_s);
    xml.writeStartElement(Rsm, u"CrossIndustryInvoice"_s);

    xml.writeStartElement(Rsm, u"ExchangedDocumentContext"_s);
    w.open(u"GuidelineSpecifiedDocumentContextParameter"_s);
    w.text(u"ID"_s, u"urn:cen.eu:en16931:2017"_s);
    w.close();
    xml.writeEndElement();

    xml.writeStartElement(Rsm, u"ExchangedDocument"_s);
    w.text(u"ID"_s, inv.number);
    w.text(u"TypeCode"_s, inv.creditNote ? u"381"_s : u"380"_s);
    w.date(u"IssueDateTime"_s, inv.issued);
    for (const QString &note : inv.notes) {
        w.open(u"IncludedNote"_s);
        w.text(u"Content"_s, note);
        w.close();
    }
    xml.writeEndElement();

    xml.writeStartElement(Rsm, u"SupplyChainTradeTransaction"_s);
    for (qsizetype i = 0; i < inv.lines.size(); ++i) {
        const Line &line = inv.lines[i];
        w.open(u"IncludedSupplyChainTradeLineItem"_s);
        w.open(u"AssociatedDocumentLineDocument"_s);
        w.text(u"LineID"_s, QString::number(i + 1));
        w.close();
        w.open(u"SpecifiedTradeProduct"_s);
        w.text(u"Name"_s, line.name);
        w.close();
        w.open(u"SpecifiedLineTradeAgreement"_s);
        w.open(u"NetPriceProductTradePrice"_s);
        w.text(u"ChargeAmount"_s, XmlAmount(line.unitPrice));
        w.close();
        w.close();
        w.open(u"SpecifiedLineTradeDelivery"_s);
        xml.writeStartElement(Ram, u"BilledQuantity"_s);
        xml.writeAttribute(u"unitCode"_s, u"C62"_s);
        xml.writeCharacters(line.quantity);
        xml.writeEndElement();
        w.close();
        w.open(u"SpecifiedLineTradeSettlement"_s);
        w.open(u"ApplicableTradeTax"_s);
        w.tax(inv, line.taxed);
        w.close();
        w.open(u"SpecifiedTradeSettlementLineMonetarySummation"_s);
        w.amount(u"LineTotalAmount"_s, line.net);
        w.close();
        w.close();
        w.close();
    }

    w.open(u"ApplicableHeaderTradeAgreement"_s);
    w.party(u"SellerTradeParty"_s, inv.seller);
    w.party(u"BuyerTradeParty"_s, inv.buyer);
    w.close();
    w.open(u"ApplicableHeaderTradeDelivery"_s);
    w.close();

    w.open(u"ApplicableHeaderTradeSettlement"_s);
    w.text(u"InvoiceCurrencyCode"_s, inv.currency);
    if (!inv.paymentCode.isEmpty()) {
        w.open(u"SpecifiedTradeSettlementPaymentMeans"_s);
        w.text(u"TypeCode"_s, inv.paymentCode);
        w.optional(u"Information"_s, inv.paymentText);
        if (!inv.iban.isEmpty()) {
            w.open(u"PayeePartyCreditorFinancialAccount"_s);
            w.text(u"IBANID"_s, inv.iban);
            w.close();
            if (!inv.bic.isEmpty()) {
                w.open(u"PayeeSpecifiedCreditorFinancialInstitution"_s);
                w.text(u"BICID"_s, inv.bic);
                w.close();
            }
        }
        w.close();
    }
    for (const TaxCategory &category : inv.taxes) {
        w.open(u"ApplicableTradeTax"_s);
        w.amount(u"CalculatedAmount"_s, category.tax);
        w.text(u"TypeCode"_s, u"VAT"_s);
        w.optional(u"ExemptionReason"_s, category.exemptionReason);
        w.amount(u"BasisAmount"_s, category.base);
        w.text(u"CategoryCode"_s, category.code);
        w.text(u"RateApplicablePercent"_s, XmlAmount(category.rate));
        w.close();
    }
    for (const Adjustment &adjustment : inv.adjustments) {
        w.open(u"SpecifiedTradeAllowanceCharge"_s);
        w.open(u"ChargeIndicator"_s);
        xml.writeTextElement(Udt, u"Indicator"_s, adjustment.charge ? u"true"_s : u"false"_s);
        w.close();
        w.amount(u"ActualAmount"_s, adjustment.amount);
        w.text(u"Reason"_s, adjustment.reason);
        w.open(u"CategoryTradeTax"_s);
        w.tax(inv, adjustment.taxed);
        w.close();
        w.close();
    }
    w.open(u"SpecifiedTradePaymentTerms"_s);
    w.optional(u"Description"_s, inv.paymentTerms);
    w.date(u"DueDateDateTime"_s, inv.due);
    w.close();
    w.open(u"SpecifiedTradeSettlementHeaderMonetarySummation"_s);
    w.amount(u"LineTotalAmount"_s, inv.lineTotal);
    w.amount(u"ChargeTotalAmount"_s, inv.chargeTotal);
    w.amount(u"AllowanceTotalAmount"_s, inv.allowanceTotal);
    w.amount(u"TaxBasisTotalAmount"_s, inv.taxBasis);
    xml.writeStartElement(Ram, u"TaxTotalAmount"_s);
    xml.writeAttribute(u"currencyID"_s, inv.currency);
    xml.writeCharacters(XmlAmount(inv.taxTotal));
    xml.writeEndElement();
    w.amount(u"GrandTotalAmount"_s, inv.grandTotal);
    w.amount(u"TotalPrepaidAmount"_s, inv.prepaid);
    w.amount(u"DuePayableAmount"_s, inv.duePayable);
    w.close();
    w.close();

    xml.writeEndElement(); // SupplyChainTradeTransaction
    xml.writeEndElement(); // CrossIndustryInvoice
    xml.writeEndDocument();
    return out;
}

} // namespace einvoice
