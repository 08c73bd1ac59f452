// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoicepdf/invoiceparameters.h"

#include "invoice/numbers.h"
#include "platform/filesystem.h"

#include <QLocale>

using platform::AppPath;

using invoice::Amount;
using invoice::PlainDecimal;

namespace invoicepdf {

using namespace Qt::StringLiterals;

QStringList InvoiceParameterNames()
{
    const QList<ReportParameter> parameters = InvoiceParameters({}, false, {}, {});
    QStringList names;
    names.reserve(parameters.size());
    for (const auto &[name, value] : parameters)
        names << name;
    return names;
}

QList<ReportParameter> InvoiceParameters(const InvoiceValues &invoice, bool previewTemplate, const QDate &today,
                                         const QString &appFolder)
{
    QList<ReportParameter> p;
    p.reserve(85);
    p.append({u"PCOMPANYNAME"_s, invoice.companyName});
    p.append({u"PINVOICENUMBER"_s, previewTemplate ? u"TEMPLATE"_s : invoice.invoiceNumber});
    for (int k = 1; k <= InvoiceValues::AddressLines; ++k) {
        p.append({u"PCOMPANYDETAILS"_s + QString::number(k), invoice.companyDetails[k - 1]});
        p.append({u"PCUSTOMERDETAILS"_s + QString::number(k), invoice.customerDetails[k - 1]});
    }
    for (int n = 1; n <= InvoiceValues::LineCount; ++n) {
        const InvoiceValues::Line &line = invoice.lines[n - 1];
        const QString number = QString::number(n);
        p.append({u"PQTY"_s + number, line.quantity});
        p.append({u"PDESCRIPTION"_s + number, line.description});
        p.append({u"PUNITPRICE"_s + number, line.unitPrice});
        p.append({u"PTOTAL"_s + number, line.total});
    }
    p.append({u"PSUBTOTAL"_s, invoice.subTotal});
    p.append({u"PSURCHARGE1"_s, invoice.surcharge1Amount});
    p.append({u"PSURCHARGE2"_s, invoice.surcharge2Amount});
    p.append({u"PDISCOUNT"_s, invoice.discountAmount});
    p.append({u"PSHIPPING"_s, invoice.shipping});
    p.append({u"PTAX"_s, invoice.tax});
    p.append({u"PTOTAL"_s, invoice.total});
    p.append({u"PRECEIVED"_s, invoice.received});
    p.append({u"PBALANCE"_s, invoice.balance});
    p.append({u"PPAYMENTMETHOD"_s, invoice.paymentMethod});
    for (int k = 1; k <= InvoiceValues::FooterLines; ++k)
        p.append({u"PFOOTER"_s + QString::number(k), invoice.footers[k - 1]});
    p.append({u"PCURRENCY"_s, invoice.currency});
    p.append({u"PTEL"_s, invoice.tel});
    p.append({u"PFAX"_s, invoice.fax});
    p.append({u"PDATE"_s, QLocale::system().toString(today, QLocale::LongFormat)});
    p.append({u"PTAXNAME"_s, QString(invoice.taxHeading).remove(u'+')});
    p.append({u"PTAXVALUE"_s, invoice.taxCharge == 1 ? TaxRateText(invoice.taxValue) : u"0"_s});
    p.append({u"PSURCHARGEVALUE1"_s, invoice.surcharge1Percent});
    p.append({u"PSURCHARGEVALUE2"_s, invoice.surcharge2Percent});
    p.append({u"PDISCOUNTPERCENT"_s, invoice.discountPercent});
    p.append({u"PLOGO"_s, invoice.logo.isEmpty() ? AppPath(appFolder, u"logo.jpg"_s) : invoice.logo});
    return p;
}

QString TaxRateText(Amount rate)
{
    return PlainDecimal(rate);
}

QStringList InvoiceAmountNames()
{
    QStringList names;
    for (int n = 1; n <= 12; ++n)
        names << u"PUNITPRICE%1"_s.arg(n) << u"PTOTAL%1"_s.arg(n);
    names << u"PSURCHARGE1"_s << u"PDISCOUNT"_s << u"PSUBTOTAL"_s << u"PSHIPPING"_s << u"PTAX"_s << u"PTOTAL"_s
          << u"PSURCHARGE2"_s << u"PRECEIVED"_s << u"PBALANCE"_s;
    return names;
}

} // namespace invoicepdf
