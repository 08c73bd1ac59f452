// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "../ui/entrytest.h"

#include "einvoice/address.h"
#include "einvoice/codelists.h"
#include "einvoice/currencynames.h"
#include "einvoice/einvoicedocument.h"
#include "invoice/numbers.h"
#include "pdfa3/pdfa3.h"
#include "pdfsyntax.h"
#include "ui/clicklabel.h"
#include "ui/frmeinvoice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>

using ui::ClickLabel;
using ui::frmEInvoice;

using invoicepdf::InvoiceDocument;
using invoicepdf::InvoiceValues;

using platform::ApplicationTitle;
using platform::Message;

using invoice::Amount;
using invoice::CalculateTotals;
using invoice::FormatAmount;
using invoice::LineTotal;
using invoice::NumericAmount;
using invoice::TotalsFigures;
using invoice::TotalsInput;

using namespace Qt::StringLiterals;

namespace {

const QString Shared = QStringLiteral(QUILLBOOK_SOURCE_DIR "/../shared/einvoice");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs a program to its end: whether it succeeded, with its output and its errors.
bool run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr,
         QString *errors = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    const bool ok = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
    const QByteArray out = process.readAllStandardOutput();
    if (output)
        *output = out;
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError() + out);
    return ok;
}

QByteArray output(const QString &program, const QStringList &arguments)
{
    QByteArray out;
    return run(program, arguments, &out) ? out : QByteArray();
}

// The settings every invoice starts from: a German seller, euro.
const QList<std::pair<QString, QString>> Details = {
    {u"Enabled"_s, u"1"_s}, {u"VatId"_s, u"DE123456789"_s}, {u"SellerCountry"_s, u"DE"_s},
    {u"Currency"_s, u"EUR"_s}, {u"BuyerCountry"_s, u"DE"_s}, {u"UntaxedCategory"_s, u"Z"_s},
    {u"PaymentDays"_s, u"14"_s}, {u"IBAN"_s, u"DE89370400440532013000"_s}, {u"BIC"_s, u"COBADEFFXXX"_s},
};

// One XML element's text, read as an amount.
Amount xmlAmount(const QByteArray &xml, const QString &element)
{
    const QRegularExpression re(u"<ram:%1[^>]*>([^<]*)</ram:%1>"_s.arg(element));
    return NumericAmount(re.match(QString::fromUtf8(xml)).captured(1));
}

// The allowances (charge false) or charges of one reason, as a sum: one of the other kind counts against it.
Amount adjustmentSum(const QByteArray &xml, bool charge, const QString &reason)
{
    static const QRegularExpression block(u"<ram:SpecifiedTradeAllowanceCharge>(.*?)</ram:SpecifiedTradeAllowanceCharge>"_s,
                                          QRegularExpression::DotMatchesEverythingOption);
    Amount sum;
    for (const auto &m : block.globalMatch(QString::fromUtf8(xml))) {
        const QString text = m.captured(1);
        if (!text.contains(reason))
            continue;
        const Amount amount = xmlAmount(text.toUtf8(), u"ActualAmount"_s);
        sum = text.contains(charge ? u">true<"_s : u">false<"_s) ? sum + amount : sum - amount;
    }
    return sum;
}

} // namespace

class EInvoiceTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_xmls; // every invoice's XML, validated in one start at the end
    int m_saved = 0;

    // An invoice typed as the user types it, totalled by the calculator and
    // printed by the shipped template.
    struct Typed
    {
        InvoiceValues values;
        TotalsInput totals;
    };

    // lines: "QTYxPRICE" with "*" for a taxed line; adjustments: "s1 discount
    // shipping s2 received"; tax: "shTax rate taxCharge".
    static Typed typed(const QString &lines, const QString &adjustments, const QString &tax,
                       const QString &payment)
    {
        Typed t;
        InvoiceValues &v = t.values;
        v.companyName = u"Ferncask GmbH"_s;
        v.invoiceNumber = u"1001"_s;
        v.companyDetails = {u"Hafenstrasse 4"_s, u"20457 Hamburg"_s, {}, {}, {}, u"Germany"_s};
        v.customerDetails = {u"Harbour Cafe"_s, u"Attn: Accounts"_s, u"Kaiserstr. 1"_s, {}, u"60311 Frankfurt"_s,
                             u"Germany"_s};
        const QStringList items = lines.split(u' ', Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < items.size(); ++i) {
            QString item = items[i];
            t.totals.taxable[i] = item.endsWith(u'*');
            item.remove(u'*');
            const QStringList qp = item.split(u'x');
            const QString total = FormatAmount(LineTotal(qp[0], qp[1]), 2);
            v.lines[i] = {qp[0], u"Article %1"_s.arg(i + 1), FormatAmount(NumericAmount(qp[1]), 2), total};
            t.totals.lineTotals[i] = total;
        }
        const QStringList a = adjustments.split(u' ');
        t.totals.surcharge1 = a[0];
        t.totals.discount = a[1];
        t.totals.shipping = a[2];
        t.totals.surcharge2 = a[3];
        t.totals.received = a[4];
        const QStringList x = tax.split(u' ');
        t.totals.shTax = x[0].toInt();
        t.totals.taxValue = NumericAmount(x[1]);
        t.totals.taxCharge = x[2].toInt();
        TotalsFigures f;
        CalculateTotals(t.totals, f);
        const auto cents = [](Amount value) { return FormatAmount(value, 2); };
        v.subTotal = cents(f.subTotal);
        v.surcharge1Amount = cents(f.surcharge1);
        v.surcharge2Amount = cents(f.surcharge2);
        v.discountAmount = cents(f.discount);
        v.shipping = cents(NumericAmount(a[2]));
        v.tax = t.totals.taxCharge == 1 ? cents(f.tax) : u"0.00"_s;
        v.total = cents(f.total);
        v.received = cents(NumericAmount(a[4]));
        v.balance = cents(f.balance);
        v.paymentMethod = payment;
        v.footers = {u"Thank you"_s, {}, {}};
        v.currency = u"EUR"_s;
        v.taxHeading = u"+VAT"_s;
        v.taxCharge = t.totals.taxCharge;
        v.taxValue = t.totals.taxValue;
        v.surcharge1Percent = a[0];
        v.surcharge2Percent = a[3];
        v.discountPercent = a[1];
        return t;
    }

    // Prints the invoice as the window does, with e-invoicing on. `settings`
    // holds e-invoicing settings "KEY=VALUE;..." and may replace the printed
    // currency (Printed=), the customer lines (Customer=) or the company
    // lines (Company=), lines separated by "|".
    static std::optional<QString> print(AppFixture &app, Typed &t, const QString &settings)
    {
        for (const auto &[key, value] : Details)
            app.store_.SaveSetting(ApplicationTitle(), einvoice::SettingsSection(), key, value);
        for (const QString &pair : settings.split(u';', Qt::SkipEmptyParts)) {
            const QString key = pair.section(u'=', 0, 0), value = pair.section(u'=', 1);
            const QStringList lines = value.split(u'|');
            if (key == u"Printed")
                t.values.currency = value;
            else if (key == u"Customer" || key == u"Company")
                for (int i = 0; i < InvoiceValues::AddressLines; ++i)
                    (key == u"Customer" ? t.values.customerDetails : t.values.companyDetails)[i] = lines.value(i);
            else
                app.store_.SaveSetting(ApplicationTitle(), einvoice::SettingsSection(), key, value);
        }
        app.addFile(u"invferncask.rep"_s, contents(QStringLiteral(QUILLBOOK_APP_DIR "/invferncask.rep")));
        QDir().mkpath(app.path(u"invoices"_s));
        const InvoiceDocument document{app.appFolder(), u"invferncask.rep"_s, false, QDate(2026, 3, 14)};
        return einvoice::WriteInvoiceDocument(app.report, app.messages, app.store_, document, t.values, t.totals);
    }

private slots:
    void invoices_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("adjustments");
        QTest::addColumn<QString>("tax");
        QTest::addColumn<QString>("payment");
        QTest::addColumn<QString>("settings");
        // Every figure is the calculator's; these are the ones it printed, checked against the PDF.
        QTest::newRow("worked invoice") << u"2x10* 1x5.5 3x1.99* 1x0*"_s << u"10 5 4 0 20"_s << u"1 17.5 1"_s
                                        << u"CARD"_s << u""_s;
        // Surcharge 2.01 splits 1.01 + 1.00, discount 1.11 splits 0.55 + 0.56: the remainder cents.
        // Codes edited by hand in small letters are read in capitals.
        QTest::newRow("mixed, remainder cent") << u"1x10.05* 1x10.05"_s << u"10 5 0 0 0"_s << u"0 19 1"_s
                                               << u"TRANSFER"_s << u"SellerCountry=de;Currency=eur"_s;
        QTest::newRow("shipping untaxed, exempt") << u"1x99.99* 2x12.34"_s << u"0 3 15 0 0"_s << u"0 7 1"_s
                                                  << u"CASH"_s
                                                  << u"UntaxedCategory=E;ExemptionReason=Exempt under art. 132"_s;
        QTest::newRow("tax not charged") << u"4x25* 1x19.9"_s << u"5 0 6.5 0 0"_s << u"1 20 0"_s << u"CHEQUE"_s
                                         << u"VatId=;TaxNumber=22/815/08151;RegistrationId=HRB 12345"_s;
        QTest::newRow("charged at 0 %: untaxed") << u"2x10* 1x5"_s << u"0 0 3 0 0"_s << u"1 0 1"_s << u"CASH"_s
                                                 << u""_s;
        QTest::newRow("overpaid: negative balance") << u"1x40*"_s << u"0 0 0 0 100"_s << u"0 20 1"_s
                                                    << u"CHECK"_s << u""_s;
        QTest::newRow("credit line, other method") << u"2x50* 1x-30* 1x-5.55"_s << u"0 2 0 0 10"_s
                                                   << u"1 10 1"_s << u"OTHER"_s << u""_s;
        // A negative total: a credit note, its amounts positive, no payment to the seller's account.
        QTest::newRow("credit note by transfer") << u"1x-50* 2x-12.5"_s << u"10 5 4 0 0"_s << u"1 19 1"_s
                                                 << u"TRANSFER"_s << u""_s;
        QTest::newRow("credit note, received") << u"3x-9.99"_s << u"0 0 0 0 5"_s << u"0 19 1"_s << u"CASH"_s
                                               << u"UntaxedCategory=E;ExemptionReason=Exempt under art. 132"_s;
        // The quantity as typed, every digit; buyers abroad with postcodes, regions and surplus lines.
        QTest::newRow("fractional quantity, UK buyer")
            << u"0.12345x100* 2.5x3.99"_s << u"0 0 0 0 0"_s << u"0 20 1"_s << u"CARD"_s
            << u"Customer=Quay Books Ltd|10 Downing Street|London SW1A 2AA|United Kingdom"_s;
        QTest::newRow("US buyer") << u"1x10"_s << u"0 0 0 0 0"_s << u"0 19 1"_s << u"CASH"_s
                                  << u"Customer=Peach Supply|191 Peachtree St NE|Atlanta, GA 30303|USA"_s;
        QTest::newRow("Kosovo") << u"1x10*"_s << u"0 0 0 0 0"_s << u"0 19 1"_s << u"CASH"_s
                                << u"Customer=Drini Trade|Rruga Agim Ramadani 4|10000 Prishtinë|Kosovo"_s;
        QTest::newRow("Canary Islands, six lines")
            << u"1x10*"_s << u"0 0 0 0 0"_s << u"0 19 1"_s << u"CASH"_s
            << u"Customer=Atlantic SL|Dpto. Compras|Planta 2|Calle Triana 20|35002 Las Palmas|Canary Islands"_s;
    }

    // Each invoice: the attachment is the XML byte for byte, its totals are
    // the printed figures, and the container holds what readers look for.
    void invoices()
    {
        QFETCH(QString, lines);
        QFETCH(QString, adjustments);
        QFETCH(QString, tax);
        QFETCH(QString, payment);
        QFETCH(QString, settings);
        AppFixture app;
        Typed t = typed(lines, adjustments, tax, payment);
        const std::optional<QString> path = print(app, t, settings);
        QVERIFY(path);
        QCOMPARE(app.messages.takeShown().size(), 0);

        const auto outcome = einvoice::BuildInvoice(t.values, t.totals, einvoice::ReadSettings(app.store_),
                                                    QDate(2026, 3, 14));
        QVERIFY2(outcome.invoice, qPrintable(outcome.refusal));
        const QByteArray xml = einvoice::FacturXXml(*outcome.invoice);
        // A credit note states the credit positive: each XML figure is the printed one with its sign turned.
        const bool credit = NumericAmount(t.values.total) < Amount();
        QCOMPARE(xml.contains("<ram:TypeCode>381</ram:TypeCode>"), credit);
        QVERIFY(!credit || (xmlAmount(xml, u"GrandTotalAmount"_s) > Amount() && !xml.contains("IBANID")));
        QVERIFY(!xml.contains("<ram:ActualAmount>-"));
        QString errors;
        QCOMPARE(output(u"qpdf"_s, {u"--show-attachment=factur-x.xml"_s, *path}), xml);
        QVERIFY2(run(u"qpdf"_s, {u"--check"_s, *path}, nullptr, &errors), qPrintable(errors));
        const QStringList streamFaults = pdfsyntax::StreamFaultsOf(*path);
        QVERIFY2(streamFaults.isEmpty(), qPrintable(streamFaults.join(u'\n')));
        QFile saved(m_xmls.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_') + u".xml"_s));
        QVERIFY(saved.open(QIODevice::WriteOnly) && saved.write(xml) == xml.size());
        ++m_saved;

        // The XML's totals, found among the printed figures.
        const QString printed = QString::fromUtf8(output(u"pdftotext"_s, {u"-layout"_s, *path, u"-"_s}));
        const auto signed_ = [&](Amount inXml) { return credit ? Amount() - inXml : inXml; };
        const QList<std::pair<QString, Amount>> figures = {
            {t.values.subTotal, signed_(xmlAmount(xml, u"TaxBasisTotalAmount"_s)) - NumericAmount(t.values.shipping)},
            {t.values.surcharge1Amount, signed_(adjustmentSum(xml, true, u"Surcharge"_s))},
            {t.values.discountAmount, signed_(adjustmentSum(xml, false, u"Discount"_s))},
            {t.values.shipping, signed_(adjustmentSum(xml, true, u"Shipping"_s))},
            {t.values.tax, signed_(xmlAmount(xml, u"TaxTotalAmount"_s))},
            {t.values.total, signed_(xmlAmount(xml, u"GrandTotalAmount"_s))},
            {t.values.received, signed_(xmlAmount(xml, u"TotalPrepaidAmount"_s))},
            {t.values.balance, signed_(xmlAmount(xml, u"DuePayableAmount"_s))},
        };
        // The template leaves out figures of zero and prints deductions with their sign turned.
        for (const auto &[shown, inXml] : figures) {
            QCOMPARE(FormatAmount(inXml, 2), shown);
            const QString magnitude = shown.startsWith(u'-') ? shown.mid(1) : shown;
            const QRegularExpression figure(u"(^|\\s)-?%1(\\s|$)"_s.arg(QRegularExpression::escape(magnitude)));
            QVERIFY2(inXml == Amount() || figure.match(printed).hasMatch(),
                     qPrintable(shown + u" is not printed in:\n"_s + printed));
        }

        QPDF pdf;
        pdf.processFile(QFile::encodeName(*path).constData());
        QPDFObjectHandle root = pdf.getRoot();
        QPDFObjectHandle fileEntry = root.getKey("/AF").getArrayItem(0);
        QCOMPARE(root.getKey("/AF").getArrayNItems(), 1);
        QCOMPARE(QString::fromStdString(fileEntry.getKey("/AFRelationship").getName()), u"/Alternative"_s);
        QCOMPARE(QString::fromStdString(fileEntry.getKey("/UF").getUTF8Value()), u"factur-x.xml"_s);
        QPDFObjectHandle file = fileEntry.getKey("/EF").getKey("/F");
        QCOMPARE(QString::fromStdString(file.getDict().getKey("/Subtype").getName()), u"/text/xml"_s);
        QCOMPARE(QString::fromStdString(file.getDict().getKey("/Params").getKey("/ModDate").getUTF8Value()), u"D:20260314000000Z"_s);
        QVERIFY(root.getKey("/Names").getKey("/EmbeddedFiles").isDictionary());
        QPDFObjectHandle intent = root.getKey("/OutputIntents").getArrayItem(0);
        QCOMPARE(QString::fromStdString(intent.getKey("/S").getName()), u"/GTS_PDFA1"_s);
        QVERIFY(intent.getKey("/DestOutputProfile").isStream());
        QPDFObjectHandle metadata = root.getKey("/Metadata");
        QVERIFY(!metadata.getDict().hasKey("/Filter"));
        const auto data = metadata.getStreamData(qpdf_dl_generalized);
        const QString xmp = QString::fromUtf8(reinterpret_cast<const char *>(data->getBuffer()), data->getSize());
        for (const QString &claim : {u"pdfaid:part=\"3\""_s, u"pdfaid:conformance=\"B\""_s,
                                     u"<pdfaSchema:prefix>fx</pdfaSchema:prefix>"_s,
                                     u"<fx:DocumentType>INVOICE</fx:DocumentType>"_s,
                                     u"<fx:DocumentFileName>factur-x.xml</fx:DocumentFileName>"_s,
                                     u"<fx:Version>1.0</fx:Version>"_s,
                                     u"<fx:ConformanceLevel>EN 16931</fx:ConformanceLevel>"_s})
            QVERIFY2(xmp.contains(claim), qPrintable(claim + u" missing from:\n"_s + xmp));
    }

    // Every XML above against both schemas and the EN 16931 rules, in one start each.
    void validation()
    {
        if (!QDir(Shared).exists())
            QSKIP("../shared/einvoice is absent: the e-invoices are not validated");
        const QStringList files = QDir(m_xmls.path()).entryList({u"*.xml"_s}, QDir::Files);
        QVERIFY(m_saved > 0);
        QCOMPARE(files.size(), m_saved);
        QStringList paths;
        for (const QString &f : files)
            paths << m_xmls.filePath(f);
        QString errors;
        for (const QString &schema : {u"facturx-1.07.3/Factur-X_1.07.3_EN16931.xsd"_s,
                                      u"cii-d16b-uncoupled/CII/uncefact/data/standard/CrossIndustryInvoice_100pD16B.xsd"_s})
            QVERIFY2(run(u"xmllint"_s, QStringList{u"--noout"_s, u"--schema"_s, Shared + u'/' + schema} + paths,
                         nullptr, &errors),
                     qPrintable(errors));
        QTemporaryDir reports;
        QVERIFY2(run(u"java"_s, {u"-cp"_s, u"/usr/share/java/Saxon-HE.jar"_s, u"net.sf.saxon.Transform"_s,
                                  u"-s:"_s + m_xmls.path(), u"-xsl:"_s + Shared + u"/en16931-cii/EN16931-CII-validation.xslt"_s,
                                  u"-o:"_s + reports.path()},
                     nullptr, &errors),
                 qPrintable(errors));
        for (const QString &f : files) {
            const QString report = QString::fromUtf8(contents(reports.filePath(f)));
            QVERIFY2(report.contains(u"schematron-output"_s), qPrintable(f + u": no report"_s));
            static const QRegularExpression fatal(u"<svrl:failed-assert[^>]*flag=\"fatal\".*?</svrl:failed-assert>"_s,
                                                  QRegularExpression::DotMatchesEverythingOption);
            const QRegularExpressionMatch found = fatal.match(report);
            QVERIFY2(!found.hasMatch(), qPrintable(f + u": "_s + found.captured(0)));
        }
    }

    // An invoice that cannot be an e-invoice is written plain, with one message saying why, naming
    // what is wrong with what was typed; an e-invoice with an assumption says so in one message.
    void messages_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("adjustments");
        QTest::addColumn<QString>("payment");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<bool>("plain");
        QTest::addColumn<QString>("message");
        const QString none = u"0 0 0 0 0"_s;
        const QString noCountry = u"Customer=Harbour Cafe|Kaiserstr. 1|60311 Frankfurt"_s;
        QTest::newRow("surcharge 2") << u"1x10*"_s << u"0 0 0 2 0"_s << u"CASH"_s << u""_s << true << u"Surcharge 2"_s;
        QTest::newRow("no VAT identifier") << u"1x10*"_s << none << u"CASH"_s << u"VatId="_s << true
                                           << u"the VAT identifier is not set"_s;
        QTest::newRow("untaxed, no identifier") << u"1x10"_s << none << u"CASH"_s << u"VatId="_s << true
                                                << u"tax registration number"_s;
        QTest::newRow("tax number only") << u"1x10"_s << none << u"CASH"_s << u"VatId=;TaxNumber=22/815/08151"_s << true
                                         << u"company registration number"_s;
        QTest::newRow("exempt without reason") << u"1x10"_s << none << u"CASH"_s << u"UntaxedCategory=E"_s << true
                                               << u"exemption reason"_s;
        QTest::newRow("transfer without IBAN") << u"1x10*"_s << none << u"TRANSFER"_s << u"IBAN="_s << true
                                               << u"needs the IBAN, which is not set"_s;
        QTest::newRow("IBAN check digits") << u"1x10*"_s << none << u"TRANSFER"_s << u"IBAN=DE89370400440532013001"_s << true
                                           << u"IBAN \"DE89370400440532013001\" has wrong check digits"_s;
        QTest::newRow("currency as a name") << u"1x10*"_s << none << u"CASH"_s << u"Currency=EURO"_s << true
                                            << u"\"EURO\" is not an ISO 4217 code; write EUR."_s;
        QTest::newRow("printed currency differs") << u"1x10*"_s << none << u"CASH"_s << u"Printed=$ US Dollars"_s << true
                                                  << u"\"$ US Dollars\" (Settings tab, Currency), which does not name EUR"_s;
        QTest::newRow("seller country outside the list") << u"1x10*"_s << none << u"CASH"_s << u"SellerCountry=XK"_s << true
                                                         << u"\"XK\" is not a country code that e-invoices accept; "
                                                            "write 1A for Kosovo."_s;
        QTest::newRow("company abroad") << u"1x10*"_s << none << u"CASH"_s << u"Company=12 rue de Rivoli|75001 Paris|France"_s
                                        << true << u"names FR (France) as its country, but the seller's country is DE"_s;
        QTest::newRow("VAT prefix not a country") << u"1x10*"_s << none << u"CASH"_s << u"VatId=EU123456789"_s << true
                                                  << u"\"EU123456789\" does not begin with a country prefix"_s;
        QTest::newRow("buyer country unknown") << u"1x10*"_s << none << u"CASH"_s << u"BuyerCountry=XX;"_s + noCountry
                                               << true << u"buyer's country \"XX\" is not a country code"_s;
        QTest::newRow("no lines") << u""_s << none << u"CASH"_s << u""_s << true << u"no lines"_s;
        QTest::newRow("buyer country assumed") << u"1x10*"_s << none << u"CASH"_s << noCountry << false
                                               << u"so DE (Germany), the buyer's country of the e-invoicing settings, "
                                                  "was assumed"_s;
    }

    void messages()
    {
        QFETCH(QString, lines);
        QFETCH(QString, adjustments);
        QFETCH(QString, payment);
        QFETCH(QString, settings);
        QFETCH(bool, plain);
        QFETCH(QString, message);
        AppFixture app;
        app.messages.expect(Message::Answer::Ok);
        Typed t = typed(lines, adjustments, u"0 19 1"_s, payment);
        const std::optional<QString> path = print(app, t, settings);
        QVERIFY(path);
        const QList<Message> shown = app.messages.takeShown();
        QCOMPARE(shown.size(), 1);
        const QString written = plain ? u"INV1001 was written as a plain PDF"_s : u"INV1001 was written as an e-invoice"_s;
        QVERIFY2(shown[0].text.startsWith(written) && shown[0].text.contains(message), qPrintable(shown[0].text));
        QCOMPARE(contents(*path).contains("factur-x"), !plain);
    }

    // The dialog's checks, one field wrong at a time; a stored value reads back as written.
    void settingsProblems_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("problem"); // empty: accepted
        QTest::newRow("valid") << u""_s << u""_s << u""_s;
        QTest::newRow("Greek VAT identifier") << u"vat"_s << u"EL123456789"_s << u""_s;
        QTest::newRow("VAT identifier without prefix") << u"vat"_s << u"123456789"_s
                                                       << u"\"123456789\" must be the two letters of its country"_s;
        QTest::newRow("VAT prefix not a country") << u"vat"_s << u"EU123456789"_s
                                                  << u"\"EU123456789\" does not begin with a country prefix"_s;
        QTest::newRow("seller country unknown") << u"seller"_s << u"ZZ"_s
                                                << u"seller's country \"ZZ\" is not a country code"_s;
        QTest::newRow("seller country: the EU") << u"seller"_s << u"EU"_s << u"\"EU\" is not a country code"_s;
        QTest::newRow("seller country: a part of Spain") << u"seller"_s << u"IC"_s << u"write ES for Spain."_s;
        QTest::newRow("seller country in small letters") << u"seller"_s << u"de"_s << u""_s;
        QTest::newRow("buyer country as a name") << u"buyer"_s << u"France"_s << u"write FR for France."_s;
        QTest::newRow("currency too short") << u"currency"_s << u"EU"_s << u"\"EU\" is not an ISO 4217 code"_s;
        QTest::newRow("currency unknown") << u"currency"_s << u"XYZ"_s << u"\"XYZ\" is not an ISO 4217 code"_s;
        QTest::newRow("currency misspelt") << u"currency"_s << u"GPB"_s << u"\"GPB\" is not an ISO 4217 code"_s;
        QTest::newRow("currency as a name") << u"currency"_s << u"Euro"_s << u"write EUR."_s;
        QTest::newRow("IBAN with spaces") << u"iban"_s << u"GB82 WEST 1234 5698 7654 32"_s << u""_s;
        QTest::newRow("IBAN check digits wrong") << u"iban"_s << u"GB82WEST12345698765433"_s
                                                 << u"has wrong check digits"_s;
        QTest::newRow("IBAN too short") << u"iban"_s << u"DE8937"_s << u"two check digits and 10 to 30"_s;
        QTest::newRow("IBAN of no country") << u"iban"_s << u"ZZ82WEST12345698765432"_s
                                            << u"does not begin with a country code"_s;
        QTest::newRow("BIC of 9 characters") << u"bic"_s << u"DEUTDEFF5"_s << u"BIC"_s;
        QTest::newRow("exempt without reason") << u"exempt"_s << u""_s << u"exemption reason"_s;
    }

    void settingsProblems()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, problem);
        einvoice::Settings s{true, u"DE123456789"_s, {}, {}, u"DE"_s, u"EUR"_s, u"FR"_s, u"Z"_s, {}, 30, {}, {}};
        QHash<QString, QString *> fields{{u"vat"_s, &s.vatId}, {u"seller"_s, &s.sellerCountry},
                                         {u"buyer"_s, &s.buyerCountry}, {u"currency"_s, &s.currencyCode},
                                         {u"iban"_s, &s.iban}, {u"bic"_s, &s.bic}};
        if (field == u"exempt")
            s.untaxedCategory = u"E"_s;
        else if (fields.contains(field))
            *fields[field] = value;
        const QString found = einvoice::SettingsProblem(s);
        QVERIFY2(problem.isEmpty() ? found.isEmpty() : found.contains(problem), qPrintable(found));
        if (!problem.isEmpty())
            return;
        AppFixture app;
        QVERIFY(einvoice::WriteSettings(app.store_, s, nullptr));
        const einvoice::Settings back = einvoice::ReadSettings(app.store_);
        QCOMPARE(back.iban, s.iban.remove(u' '));
        QCOMPARE(back.vatId, s.vatId);
        QCOMPARE(back.buyerCountry, s.buyerCountry);
        QCOMPARE(back.enabled, true);
    }

    // Address lines as printed (the name taken off), read with the buyer's-country setting DE:
    // LineOne|LineTwo|LineThree|Postcode|City|Region|Country, "?" after a country assumed.
    void addresses_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("fields");
        QTest::newRow("DE") << u"Kaiserstr. 1|60311 Frankfurt am Main|Germany"_s << u"Kaiserstr. 1|||60311|Frankfurt am Main||DE"_s;
        QTest::newRow("DE own name, prefix") << u"Hafenstraße 4|D-20457 Hamburg|Deutschland"_s << u"Hafenstraße 4|||20457|Hamburg||DE"_s;
        QTest::newRow("DE code, Delaware too") << u"Unter den Linden 1|10117 Berlin|DE"_s << u"Unter den Linden 1|||10117|Berlin||DE"_s;
        QTest::newRow("no country") << u"Attn: Accounts|Kaiserstr. 1|60311 Frankfurt"_s << u"Attn: Accounts|Kaiserstr. 1||60311|Frankfurt||DE?"_s;
        QTest::newRow("surplus lines") << u"z. Hd. Frau Meier|Einkauf|Industriestr. 7|Gebaeude B|70173 Stuttgart"_s << u"z. Hd. Frau Meier|Einkauf|Industriestr. 7, Gebaeude B|70173|Stuttgart||DE?"_s;
        QTest::newRow("website, telephone") << u"Am Sandtorkai 5|20457 Hamburg|www.ferncask.de|+49 40 1234567"_s << u"Am Sandtorkai 5|||20457|Hamburg||DE?"_s;
        QTest::newRow("e-mail, bare domain") << u"Am Sandtorkai 5|20457 Hamburg|info@ferncask.de|ferncask.de|Fax: 040 1234568"_s << u"Am Sandtorkai 5|||20457|Hamburg||DE?"_s;
        QTest::newRow("AT") << u"Mariahilfer Straße 12|1070 Wien|Österreich"_s << u"Mariahilfer Straße 12|||1070|Wien||AT"_s;
        QTest::newRow("CH code") << u"Via Nassa 5|6900 Lugano|CH"_s << u"Via Nassa 5|||6900|Lugano||CH"_s;
        QTest::newRow("FR after a comma") << u"12 rue de Rivoli|75001 Paris, France"_s << u"12 rue de Rivoli|||75001|Paris||FR"_s;
        QTest::newRow("IT") << u"Via Roma 10|00184 Roma RM|Italia"_s << u"Via Roma 10|||00184|Roma RM||IT"_s;
        QTest::newRow("ES") << u"Calle Mayor 5|28013 Madrid|España"_s << u"Calle Mayor 5|||28013|Madrid||ES"_s;
        QTest::newRow("Canary Islands") << u"Calle Triana 20|35002 Las Palmas|Canary Islands"_s << u"Calle Triana 20|||35002|Las Palmas|Canary Islands|ES"_s;
        QTest::newRow("PT") << u"Rua Augusta 100|1100-053 Lisboa|Portugal"_s << u"Rua Augusta 100|||1100-053|Lisboa||PT"_s;
        QTest::newRow("NL, code") << u"Damrak 1|1012 LG Amsterdam|NL"_s << u"Damrak 1|||1012 LG|Amsterdam||NL"_s;
        QTest::newRow("PL") << u"ul. Marszałkowska 1|00-624 Warszawa|Polska"_s << u"ul. Marszałkowska 1|||00-624|Warszawa||PL"_s;
        QTest::newRow("SE") << u"Drottninggatan 5|111 51 Stockholm|Sverige"_s << u"Drottninggatan 5|||111 51|Stockholm||SE"_s;
        QTest::newRow("CZ") << u"Václavské náměstí 1|110 00 Praha 1|Czech Republic"_s << u"Václavské náměstí 1|||110 00|Praha 1||CZ"_s;
        QTest::newRow("Kosovo") << u"Rruga Agim Ramadani 4|10000 Prishtinë|Kosovo"_s << u"Rruga Agim Ramadani 4|||10000|Prishtinë||1A"_s;
        QTest::newRow("Georgia, the country") << u"Rustaveli Ave 12|0108 Tbilisi|Georgia"_s << u"Rustaveli Ave 12|||0108|Tbilisi||GE"_s;
        QTest::newRow("GB") << u"10 Downing Street|London SW1A 2AA|United Kingdom"_s << u"10 Downing Street|||SW1A 2AA|London||GB"_s;
        QTest::newRow("GB postcode below the city") << u"Flat 2|14 High Street|Edinburgh|EH1 1YZ|Scotland"_s << u"Flat 2|14 High Street||EH1 1YZ|Edinburgh|Scotland|GB"_s;
        QTest::newRow("IE") << u"1 Grafton Street|Dublin 2 D02 X285|Ireland"_s << u"1 Grafton Street|||D02 X285|Dublin 2||IE"_s;
        QTest::newRow("US") << u"1600 Amphitheatre Pkwy|Mountain View, CA 94043|USA"_s << u"1600 Amphitheatre Pkwy|||94043|Mountain View|CA|US"_s;
        QTest::newRow("US on one line") << u"Springfield, IL 62701, USA"_s << u"|||62701|Springfield|IL|US"_s;
        QTest::newRow("US state, no country") << u"191 Peachtree St NE|Atlanta|Georgia"_s << u"191 Peachtree St NE||||Atlanta|Georgia|DE?"_s;
        QTest::newRow("US state after a comma") << u"191 Peachtree St NE|Atlanta, Georgia"_s << u"191 Peachtree St NE||||Atlanta|Georgia|DE?"_s;
        QTest::newRow("a state's name as the city") << u"350 Fifth Avenue|New York|USA"_s << u"350 Fifth Avenue||||New York||US"_s;
        QTest::newRow("a state's code alone") << u"100 Main St|Houston|TX|USA"_s << u"100 Main St||||Houston|TX|US"_s;
        QTest::newRow("CA the state") << u"1 Market St|San Francisco|CA"_s << u"1 Market St||||San Francisco|CA|DE?"_s;
        QTest::newRow("CA the country") << u"100 King St W|Toronto ON M5H 1J9|Canada"_s << u"100 King St W|||M5H 1J9|Toronto|ON|CA"_s;
        QTest::newRow("AU") << u"1 George St|Sydney NSW 2000|Australia"_s << u"1 George St|||2000|Sydney|NSW|AU"_s;
        QTest::newRow("no postcode") << u"Calle Mayor 5|Madrid"_s << u"Calle Mayor 5||||Madrid||DE?"_s;
    }

    void addresses()
    {
        QFETCH(QString, lines);
        QFETCH(QString, fields);
        const einvoice::PostalAddress a = einvoice::ReadAddress(lines.split(u'|'), u"DE"_s);
        QStringList read = a.lines;
        read.resize(3);
        read << a.postcode << a.city << a.region << a.country + (a.countryAssumed ? u"?"_s : QString());
        QCOMPARE(read.join(u'|'), fields);
    }

    // The printed currency must name the e-invoice's; an empty one prints nothing to disagree.
    void printedCurrency_data()
    {
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("agrees");
        QTest::newRow("symbol and name") << u"$ US Dollars"_s << u"USD"_s << true;
        QTest::newRow("another currency") << u"$ US Dollars"_s << u"EUR"_s << false;
        QTest::newRow("a shared symbol, named for another") << u"$ US Dollars"_s << u"CAD"_s << false;
        QTest::newRow("a shared symbol alone") << u"$"_s << u"CAD"_s << true;
        QTest::newRow("euro sign") << u"€"_s << u"EUR"_s << true;
        QTest::newRow("code") << u"EUR"_s << u"EUR"_s << true;
        QTest::newRow("name in capitals, plural") << u"EUROS"_s << u"EUR"_s << true;
        QTest::newRow("name in its own language") << u"franc suisse"_s << u"CHF"_s << true;
        QTest::newRow("sterling") << u"£ Sterling"_s << u"GBP"_s << true;
        QTest::newRow("pound sign for euro") << u"£"_s << u"EUR"_s << false;
        QTest::newRow("two currencies") << u"EUR / USD"_s << u"EUR"_s << false;
        QTest::newRow("full-width yen") << u"￥"_s << u"JPY"_s << true;
        QTest::newRow("krona") << u"kr"_s << u"SEK"_s << true;
        QTest::newRow("names none") << u"Dollars"_s << u"USD"_s << false;
        QTest::newRow("nothing printed") << u""_s << u"EUR"_s << true;
    }

    void printedCurrency()
    {
        QFETCH(QString, printed);
        QFETCH(QString, code);
        QFETCH(bool, agrees);
        QCOMPARE(einvoice::PrintedCurrencyProblem(printed, code).isEmpty(), agrees);
    }

    // The XML's quantity is the one printed, every digit; the line total as the calculator rounds it.
    void quantities_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("billed");
        QTest::addColumn<QString>("lineTotal");
        QTest::newRow("five decimals") << u"0.12345"_s << u"100.00"_s << u"0.12345"_s << u"12.35"_s;
        QTest::newRow("half a cent") << u"0.5"_s << u"1.99"_s << u"0.5"_s << u"1.00"_s;
        QTest::newRow("group separator") << u"1,000"_s << u"0.50"_s << u"1000"_s << u"500.00"_s;
        QTest::newRow("trailing zeros") << u"2.50"_s << u"4.00"_s << u"2.5"_s << u"10.00"_s;
        QTest::newRow("credit: a credit note's line") << u"3"_s << u"-1.25"_s << u"3"_s << u"3.75"_s;
        QTest::newRow("a point alone") << u"."_s << u"7.00"_s << u"0"_s << u"0.00"_s;
    }

    void quantities()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(QString, billed);
        QFETCH(QString, lineTotal);
        Typed t = typed(u"1x1"_s, u"0 0 0 0 0"_s, u"0 19 1"_s, u"CASH"_s);
        const QString total = FormatAmount(LineTotal(quantity, price), 2);
        t.values.lines[0] = {quantity, u"Oak chair"_s, price, total};
        t.totals.lineTotals[0] = total;
        einvoice::Settings settings = {true, u"DE123456789"_s, {}, {}, u"DE"_s, u"EUR"_s, u"DE"_s, u"Z"_s, {}, 30, {}, {}};
        const auto outcome = einvoice::BuildInvoice(t.values, t.totals, settings, QDate(2026, 3, 14));
        QVERIFY2(outcome.invoice, qPrintable(outcome.refusal));
        const QString xml = QString::fromUtf8(einvoice::FacturXXml(*outcome.invoice));
        QVERIFY2(xml.contains(u"<ram:BilledQuantity unitCode=\"C62\">%1</ram:BilledQuantity>"_s.arg(billed)), qPrintable(xml));
        QVERIFY2(xml.contains(u"<ram:LineTotalAmount>%1</ram:LineTotalAmount>"_s.arg(lineTotal)), qPrintable(xml));
    }

    // The program's code lists are the rules' own.
    void codeLists()
    {
        const QString rules = Shared + u"/en16931-cii/EN16931-CII-validation.xslt"_s;
        if (!QFile::exists(rules))
            QSKIP("../shared/einvoice is absent: the code lists are not compared with the rules");
        const QString xslt = QString::fromUtf8(contents(rules));
        const auto listed = [&](const QString &rule) {
            const QRegularExpression assertion(u"<svrl:failed-assert test=\"[^\"]*?contains\\('([^']*)'[^\"]*\">\\s*"
                                               "<xsl:attribute name=\"id\">%1<"_s.arg(rule));
            return assertion.match(xslt).captured(1).split(u' ', Qt::SkipEmptyParts);
        };
        QCOMPARE(einvoice::CountryCodes(), listed(u"BR-CL-14"_s));
        QCOMPARE(einvoice::CurrencyCodes(), listed(u"BR-CL-04"_s));
        QCOMPARE(einvoice::CurrencyCodes(), listed(u"BR-CL-03"_s));
        QCOMPARE(einvoice::VatPrefixes(), listed(u"BR-CO-09"_s));
    }

    // The render tool attaches a given XML the same way; a missing one is an error.
    void renderTool()
    {
        QTemporaryDir dir;
        const QString tool = QStringLiteral(QUILLBOOK_APP_DIR "/quillbook-render");
        const QString rep = QStringLiteral(QUILLBOOK_APP_DIR "/invferncask.rep");
        const QByteArray xml = "<?xml version=\"1.0\"?>\n<invoice>\u00e9</invoice>\n";
        QFile file(dir.filePath(u"in.xml"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(xml) == xml.size());
        file.close();
        QFile params(dir.filePath(u"p.params"_s));
        QVERIFY(params.open(QIODevice::WriteOnly) && params.write("PCOMPANYNAME=Acme\n") > 0);
        params.close();
        const QString out = dir.filePath(u"INV7.pdf"_s);
        QString errors;
        QVERIFY2(run(tool, {u"--attach"_s, file.fileName(), rep, params.fileName(), out}, nullptr, &errors),
                 qPrintable(errors));
        QCOMPARE(output(u"qpdf"_s, {u"--show-attachment=factur-x.xml"_s, out}), xml);
        QVERIFY(!run(tool, {u"--attach"_s, dir.filePath(u"absent.xml"_s), rep, params.fileName(),
                            dir.filePath(u"INV8.pdf"_s)}, nullptr, &errors));
        QVERIFY2(errors.contains(u"absent.xml"_s), qPrintable(errors));
        QVERIFY(!QFile::exists(dir.filePath(u"INV8.pdf"_s)));
    }

    // A page that cannot be read leaves the earlier file byte for byte.
    void failedAttachmentKeepsOldFile_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("not a PDF") << QByteArray("kept? no: this is not a PDF\n");
        QTest::newRow("PDF without PDF/A metadata") << QByteArray(
            "%PDF-1.4\n1 0 obj<</Type/Catalog/Pages 2 0 R>>endobj\n2 0 obj<</Type/Pages/Kids[]/Count 0>>endobj\n"
            "trailer<</Root 1 0 R>>\n%%EOF\n");
    }

    void failedAttachmentKeepsOldFile()
    {
        QFETCH(QByteArray, page);
        QTemporaryDir dir;
        QFile in(dir.filePath(u"page.pdf"_s));
        QFile old(dir.filePath(u"INV1.pdf"_s));
        QVERIFY(in.open(QIODevice::WriteOnly) && in.write(page) == page.size());
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("an invoice printed last week") > 0);
        in.close();
        old.close();
        QString error;
        QVERIFY(!pdfa3::WritePdfA3(in.fileName(), old.fileName(), {"<x/>", u"factur-x.xml"_s, u"text/xml"_s,
                                   u"Alternative"_s, {}, QDateTime::currentDateTimeUtc()}, einvoice::FacturXSchema(),
                                   &error));
        QVERIFY2(error.startsWith(u"Cannot write INV1.pdf: "_s), qPrintable(error));
        QCOMPARE(contents(old.fileName()), QByteArray("an invoice printed last week"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    }

    // From the window: the dialog stores the details, and Print gives the e-invoice.
    void fromTheWindow()
    {
        WindowFixture app;
        app.addFile(u"invferncask.rep"_s, contents(QStringLiteral(QUILLBOOK_APP_DIR "/invferncask.rep")));
        for (const auto &[key, text] : QList<std::pair<QString, QString>>{
                 {u"Init"_s, u"1"_s}, {u"Template"_s, u"invferncask.rep"_s}, {u"CompanyName"_s, u"Ferncask"_s},
                 {u"TaxValue"_s, u"19"_s}, {u"TaxCharge"_s, u"1"_s}, {u"InvoiceNumber"_s, u"1001"_s},
                 {u"Currency"_s, u"€ Euro"_s}})
            app.store(key, text);
        QVERIFY(QDir().mkpath(app.path(u"invoices"_s)));
        QVERIFY(app.start());
        EntryDriver user(app);
        QVERIFY(user.activate());

        // A wrong code is refused with a message and the dialog stays; a right one is stored.
        app.dialogs.expect([&](QDialog &d) {
            auto &dialog = static_cast<frmEInvoice &>(d);
            // A heading explains its field, titled with its caption.
            app.messages.expect(Message::Answer::Ok);
            QTest::mouseClick(static_cast<QWidget *>(dialog.findChild<ClickLabel *>()), Qt::LeftButton);
            const Message help = app.messages.takeShown().value(0);
            QCOMPARE(help.title, u"Attach an e-invoice"_s);
            QVERIFY(help.text.contains(u"Factur-X"_s));
            QVERIFY(dialog.lblPrintedCurrency->text().contains(u"\"€ Euro\""_s));
            dialog.chkEnabled->setChecked(true);
            dialog.txtSellerCountry->setText(u"DE"_s);
            // Beside the code, whether the printed currency names it.
            dialog.txtCurrency->setText(u"USD"_s);
            QVERIFY(dialog.lblPrintedCurrency->text().contains(u"\"€ Euro\", which does not name USD"_s));
            dialog.txtCurrency->setText(u"EUR"_s);
            QVERIFY(dialog.lblPrintedCurrency->text().contains(u"\"€ Euro\", which names EUR"_s));
            dialog.txtVatId->setText(u"123456789"_s);
            app.messages.expect(Message::Answer::Ok);
            dialog.cmdOK->click();
            QVERIFY(dialog.isVisible());
            dialog.txtVatId->setText(u"de 123 456 789"_s);
            dialog.cmdOK->click();
            QVERIFY(!dialog.isVisible());
        });
        app.window().cmdEInvoice->click();
        QVERIFY(user.activate());
        const QList<Message> shown = app.messages.takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.contains(u"VAT identifier \"123456789\""_s));
        QCOMPARE(app.store_.GetSetting(ApplicationTitle(), einvoice::SettingsSection(), u"VatId"_s), u"DE123456789"_s);

        user.enter(u"txtCustomerDetails(0)"_s, u"Harbour Cafe"_s);
        user.enter(u"txtCustomerDetails(5)"_s, u"France"_s);
        user.enter(u"txtQty(0)"_s, u"2"_s);
        user.enter(u"txtDescription(0)"_s, u"Oak chair"_s);
        user.enter(u"txtUnitPrice(0)"_s, u"10"_s);
        app.messages.expect(Message::Answer::No);
        QTest::mouseClick(app.control(u"cmdPreview"_s), Qt::LeftButton);
        QCOMPARE(app.messages.takeShown().size(), 1); // the number question only
        const QByteArray xml = output(u"qpdf"_s, {u"--show-attachment=factur-x.xml"_s, app.path(u"invoices/INV1001.pdf"_s)});
        QVERIFY(xml.contains("<ram:CountryID>FR</ram:CountryID>"));
        QVERIFY(xml.contains("<ram:GrandTotalAmount>23.80</ram:GrandTotalAmount>"));

        // The template preview stays a plain PDF.
        QTest::mouseClick(app.window().tab1, Qt::LeftButton, {}, app.window().tab1->tabRect(1).center());
        QTest::mouseClick(app.control(u"cmdView"_s), Qt::LeftButton);
        QVERIFY(contents(app.path(u"viewtemplate.pdf"_s)).startsWith("%PDF-1.4"));
        QVERIFY(!contents(app.path(u"viewtemplate.pdf"_s)).contains("factur-x"));
    }
};

QTEST_MAIN(EInvoiceTest)
#include "tst_einvoice.moc"
