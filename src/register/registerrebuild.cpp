// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "register/registerrebuild.h"

#include "invoice/numbers.h"
#include "invoice/runtimeerror.h"
#include "register/clsregister.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QXmlStreamReader>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>

#include <algorithm>

using invoice::Amount;
using invoice::NumericAmount;
using invoice::RuntimeError;

namespace invoiceregister {

using namespace Qt::StringLiterals;

std::optional<QByteArray> AttachedEInvoice(const QString &pdfPath)
{
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(pdfPath).constData());
        const auto file = QPDFEmbeddedFileDocumentHelper(pdf).getEmbeddedFile("factur-x.xml");
        if (!file)
            return std::nullopt;
        const std::shared_ptr<Buffer> data = file->getEmbeddedFileStream().getStreamData(qpdf_dl_generalized);
        return QByteArray(reinterpret_cast<const char *>(data->getBuffer()), qsizetype(data->getSize()));
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

namespace {

QString paymentMethod(const QString &code, const QString &text)
{
    static const QHash<QString, QString> methods
        = {{u"10"_s, u"CASH"_s}, {u"20"_s, u"CHECK"_s}, {u"48"_s, u"CARD"_s}, {u"30"_s, u"TRANSFER"_s}};
    return methods.value(code, text);
}

} // namespace

std::optional<RegisterRecord> RecordFromEInvoice(const QByteArray &xml)
{
    RegisterRecord r;
    r.eInvoice = true;
    r.rebuilt = true;
    QStringList path; // the local names of the open elements
    QStringList buyer;
    QString paymentCode, paymentText, chargeReason, categoryCode, rate, postcode;
    Amount taxBasis, actual;
    bool charge = false, haveTotals = false, creditNote = false;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            path << reader.name().toString();
            continue;
        }
        if (reader.isEndElement()) {
            const QString name = path.takeLast();
            if (name == u"SpecifiedTradeAllowanceCharge" && chargeReason == u"Shipping and handling")
                r.shipping += charge ? actual : Amount() - actual; // an allowance when the sign is turned
            if (name == u"ApplicableTradeTax" && path.endsWith(u"ApplicableHeaderTradeSettlement"_s)
                && categoryCode == u"S")
                r.taxRate = NumericAmount(rate);
            continue;
        }
        if (!reader.isCharacters() || reader.isWhitespace() || path.isEmpty())
            continue;
        const QString name = path.last();
        const QString parent = path.size() > 1 ? path[path.size() - 2] : QString();
        const QString text = reader.text().toString().trimmed();
        if (name == u"ID" && parent == u"ExchangedDocument")
            r.number = text;
        else if (name == u"DateTimeString" && parent == u"IssueDateTime")
            r.issued = QDateTime(QDate::fromString(text, u"yyyyMMdd"_s), QTime(0, 0));
        else if (name == u"TypeCode" && parent == u"ExchangedDocument")
            creditNote = text == u"381";
        else if (name == u"PostcodeCode" && path.contains(u"BuyerTradeParty"_s))
            postcode = text;
        else if (path.contains(u"BuyerTradeParty"_s)
                 && (name == u"Name" || name.startsWith(u"Line") || name == u"CityName" || name == u"CountryID"
                     || name == u"CountrySubDivisionName")
                 && !path.contains(u"SpecifiedLegalOrganization"_s))
            buyer << (name == u"CityName" ? (postcode + u' ' + text).trimmed() : text);
        else if (name == u"InvoiceCurrencyCode")
            r.currency = text;
        else if (name == u"TypeCode" && parent == u"SpecifiedTradeSettlementPaymentMeans")
            paymentCode = text;
        else if (name == u"Information" && parent == u"SpecifiedTradeSettlementPaymentMeans")
            paymentText = text;
        else if (name == u"Indicator")
            charge = text == u"true";
        else if (name == u"ActualAmount")
            actual = NumericAmount(text);
        else if (name == u"Reason" && parent == u"SpecifiedTradeAllowanceCharge")
            chargeReason = text;
        else if (name == u"CategoryCode")
            categoryCode = text;
        else if (name == u"RateApplicablePercent")
            rate = text;
        else if (parent == u"SpecifiedTradeSettlementHeaderMonetarySummation") {
            haveTotals = true;
            if (name == u"TaxBasisTotalAmount")
                taxBasis = NumericAmount(text);
            else if (name == u"TaxTotalAmount")
                r.tax = NumericAmount(text);
            else if (name == u"GrandTotalAmount")
                r.total = NumericAmount(text);
            else if (name == u"TotalPrepaidAmount")
                r.received = NumericAmount(text);
            else if (name == u"DuePayableAmount")
                r.balance = NumericAmount(text);
        }
    }
    if (reader.hasError() || !haveTotals || !r.issued.isValid())
        return std::nullopt;
    // An e-invoice carries no second surcharge: the sub total is the tax
    // basis less shipping.
    r.subTotal = taxBasis - r.shipping;
    if (creditNote) // its amounts count for the buyer: the register keeps the invoice's signs
        for (Amount *a : {&r.subTotal, &r.shipping, &r.tax, &r.total, &r.received, &r.balance})
            *a = Amount() - *a;
    for (int i = 0; i < RegisterRecord::CustomerLines && i < buyer.size(); ++i)
        r.customer[i] = buyer[i];
    r.paymentMethod = paymentMethod(paymentCode, paymentText);
    return r;
}

RebuildResult RebuildRegister(clsRegister &invoiceRegister)
{
    invoiceRegister.open();
    QSet<QByteArray> known;
    for (const RegisterRecord &r : invoiceRegister.records())
        known.insert(r.sha256);
    const QDir folder(invoiceRegister.invoicesFolder());
    RebuildResult result;
    QList<RegisterRecord> found;
    for (const QString &name : folder.entryList({u"*"_s}, QDir::Files, QDir::Name)) {
        if (!name.startsWith(u"INV"_s, Qt::CaseInsensitive) || !name.endsWith(u".pdf"_s, Qt::CaseInsensitive))
            continue;
        const QString path = folder.filePath(name);
        const QByteArray sha = FileSha256(path);
        if (known.contains(sha)) {
            ++result.known;
            continue;
        }
        const std::optional<QByteArray> xml = AttachedEInvoice(path);
        std::optional<RegisterRecord> record;
        try {
            record = xml ? RecordFromEInvoice(*xml) : std::nullopt;
        } catch (const RuntimeError &) {
            // A figure out of range: listed as unread with the plain PDFs.
        }
        if (!record) {
            result.unread << name;
            continue;
        }
        record->number = name.mid(3, name.size() - 7);
        record->fileName = name;
        record->sha256 = sha;
        found << *record;
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const RegisterRecord &a, const RegisterRecord &b) { return a.issued < b.issued; });
    for (const RegisterRecord &record : std::as_const(found)) {
        invoiceRegister.append(record);
        ++result.added;
    }
    return result;
}

} // namespace invoiceregister
