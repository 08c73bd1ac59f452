// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "../ui/entrytest.h"

#include "einvoice/address.h"
#include "einvoice/codelists.h"
#include "einvoice/currencynames.h"
#include "einvoice/einvoicedocument.h"
#include "invoice/numbers.h"
#include "ui/clicklabel.h"
#include "ui/frmeinvoice.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>

using invoice::Amount;
using invoice::FormatAmount;
using invoice::NumericAmount;
using invoicepdf::InvoiceValues;
using platform::ApplicationTitle;
using platform::Message;

using namespace Qt::StringLiterals;

namespace {

const QString Shared = QStringLiteral(QUILLBOOK_SOURCE_DIR "/../shared/einvoice");
const QString Template = QStringLiteral(QUILLBOOK_APP_DIR "/invferncask.rep");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs a program to its end: whether it succeeded; its output, and its errors after it.
bool run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr, QString *errors = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    const bool ok
        = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    const QByteArray out = process.readAllStandardOutput();
    if (output)
        *output = ok ? out : QByteArray();
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError() + out);
    return ok;
}

QByteArray attachment(const QString &pdf)
{
    QByteArray xml;
    run(u"qpdf"_s, {u"--show-attachment=factur-x.xml"_s, pdf}, &xml);
    return xml;
}

// One element's text, read as an amount.
Amount xmlAmount(const QString &xml, const QString &element)
{
    return NumericAmount(QRegularExpression(u"<ram:%1[^>]*>([^<]*)<"_s.arg(element)).match(xml).captured(1));
}

// The charges (or allowances) of one reason as a sum: one of the other kind counts against it.
Amount adjustmentSum(const QString &xml, bool charge, const QString &reason)
{
    static const QRegularExpression block(
        u"<ram:SpecifiedTradeAllowanceCharge>(.*?)</ram:SpecifiedTradeAllowanceCharge>"_s,
        QRegularExpression::DotMatchesEverythingOption);
    Amount sum;
    for (const auto &m : block.globalMatch(xml))
        if (m.captured(1).contains(reason)) {
            const Amount amount = xmlAmount(m.captured(1), u"ActualAmount"_s);
            sum = m.captured(1).contains(charge ? u">true<"_s : u">false<"_s) ? sum + amount : sum - amount;
        }
    return sum;
}

// The e-invoicing settings every invoice starts from: a German seller, euro.
const QList<std::pair<QString, QString>> Details = {
    {u"Enabled"_s, u"1"_s},        {u"VatId"_s, u"DE123456789"_s},
    {u"SellerCountry"_s, u"DE"_s}, {u"Currency"_s, u"EUR"_s},
    {u"BuyerCountry"_s, u"DE"_s},  {u"UntaxedCategory"_s, u"Z"_s},
    {u"PaymentDays"_s, u"14"_s},   {u"IBAN"_s, u"DE89370400440532013000"_s},
    {u"BIC"_s, u"COBADEFFXXX"_s},
};

// An invoice typed as the user types it and totalled by the calculator:
// "LINES / SURCHARGE1 DISCOUNT SHIPPING SURCHARGE2 RECEIVED / SHTAX RATE TAXCHARGE / PAYMENT",
// each line "QTYxPRICE" with "*" when taxed; the parts after the lines may be left out.
struct Typed
{
    InvoiceValues values;
    invoice::TotalsInput totals;
    invoice::TotalsFigures figures;

    explicit Typed(const QString &invoice)
    {
        const QStringList parts = invoice.split(u" / "_s);
        const QStringList lines = parts[0].split(u' ', Qt::SkipEmptyParts);
        const QStringList a = parts.value(1, u"0 0 0 0 0"_s).split(u' ');
        const QStringList tax = parts.value(2, u"0 19 1"_s).split(u' ');
        values.companyName = u"Ferncask GmbH"_s;
        values.invoiceNumber = u"1001"_s;
        values.companyDetails = {u"Hafenstrasse 4"_s, u"20457 Hamburg"_s, {}, {}, {}, u"Germany"_s};
        values.customerDetails
            = {u"Harbour Cafe"_s, u"Attn: Accounts"_s, u"Kaiserstr. 1"_s, {}, u"60311 Frankfurt"_s, u"Germany"_s};
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QStringList qp = QString(lines[i]).remove(u'*').split(u'x');
            const QString total = FormatAmount(invoice::LineTotal(qp[0], qp[1]), 2);
            values.lines[i] = {qp[0], u"Article %1"_s.arg(i + 1), FormatAmount(NumericAmount(qp[1]), 2), total};
            totals.lineTotals[i] = total;
            totals.taxable[i] = lines[i].endsWith(u'*');
        }
        QString *boxes[]
            = {&totals.surcharge1, &totals.discount, &totals.shipping, &totals.surcharge2, &totals.received};
        for (int i = 0; i < 5; ++i)
            *boxes[i] = a[i];
        totals.shTax = tax[0].toInt();
        totals.taxValue = values.taxValue = NumericAmount(tax[1]);
        totals.taxCharge = values.taxCharge = tax[2].toInt();
        invoice::CalculateTotals(totals, figures);
        values.total = FormatAmount(figures.total, 2);
        values.paymentMethod = parts.value(3, u"CASH"_s);
        values.footers = {u"Thank you"_s, {}, {}};
        values.currency = u"EUR"_s;
    }

    // Prints it as the window does, with e-invoicing on. `settings` holds
    // e-invoicing settings "KEY=VALUE;..." and may replace the printed currency
    // (Printed=), the customer lines (Customer=) or the company lines (Company=),
    // lines parted by "|".
    std::optional<QString> print(AppFixture &app, const QString &settings)
    {
        for (const auto &[key, value] : Details)
            app.store_.SaveSetting(ApplicationTitle(), einvoice::SettingsSection(), key, value);
        for (const QString &pair : settings.split(u';', Qt::SkipEmptyParts)) {
            const QString key = pair.section(u'=', 0, 0), value = pair.section(u'=', 1);
            if (key == u"Printed")
                values.currency = value;
            else if (key == u"Customer" || key == u"Company")
                for (int i = 0; i < InvoiceValues::AddressLines; ++i)
                    (key == u"Customer" ? values.customerDetails : values.companyDetails)[i]
                        = value.split(u'|').value(i);
            else
                app.store_.SaveSetting(ApplicationTitle(), einvoice::SettingsSection(), key, value);
        }
        app.addFile(u"invferncask.rep"_s, contents(Template));
        QDir().mkpath(app.path(u"invoices"_s));
        const invoicepdf::InvoiceDocument document{app.appFolder(), u"invferncask.rep"_s, false, QDate(2026, 3, 14)};
        return einvoice::WriteInvoiceDocument(app.report, app.messages, app.store_, document, values, totals);
    }
};

} // namespace

class EInvoiceTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_xmls; // every e-invoice's XML, validated in one start at the end
    int m_saved = 0;

private slots:
    void invoices_data()
    {
        QTest::addColumn<QString>("invoice");  // as Typed reads it
        QTest::addColumn<QString>("settings"); // as print() reads them
        QTest::addColumn<QString>("message");  // the one message shown, or empty
        QTest::addColumn<QString>("xml");      // what the XML holds, parts separated by "|"
        const QString noCountry = u"Customer=Harbour Cafe|Kaiserstr. 1|60311 Frankfurt"_s;
        const QString exempt = u"UntaxedCategory=E;ExemptionReason=Exempt under art. 132"_s;
        QTest::newRow("worked invoice") << u"2x10* 1x5.5 3x1.99* 1x0* / 10 5 4 0 20 / 1 17.5 1 / CARD"_s << u""_s
                                        << u""_s << u"<ram:TypeCode>48</ram:TypeCode>|format=\"102\">20260328<"_s;
        // Surcharge 2.01 splits 1.01 + 1.00, discount 1.11 splits 0.55 + 0.56: the remainder cents.
        // Codes edited by hand in small letters are read in capitals.
        QTest::newRow("mixed, remainder cent") << u"1x10.05* 1x10.05 / 10 5 0 0 0 / 0 19 1 / TRANSFER"_s
                                               << u"SellerCountry=de;Currency=eur;IBAN=DE89 3704 0044 0532 0130 00"_s
                                               << u""_s << u"<ram:IBANID>DE89370400440532013000<"_s;
        QTest::newRow("shipping untaxed, exempt")
            << u"1x99.99* 2x12.34 / 0 3 15 0 0 / 0 7 1"_s << exempt << u""_s << u"<ram:CategoryCode>E<"_s;
        QTest::newRow("tax not charged") << u"4x25* 1x19.9 / 5 0 6.5 0 0 / 1 20 0 / CHEQUE"_s
                                         << u"VatId=;TaxNumber=22/815/08151;RegistrationId=HRB 12345"_s << u""_s
                                         << u"<ram:TypeCode>20</ram:TypeCode>"_s;
        QTest::newRow("charged at 0 %: untaxed")
            << u"2x10* 1x5 / 0 0 3 0 0 / 1 0 1"_s << u""_s << u""_s << u"<ram:CategoryCode>Z<"_s;
        QTest::newRow("overpaid, a point for quantity")
            << u"1x40* .x7 / 0 0 0 0 100 / 0 20 1 / CHECK"_s << u""_s << u""_s << u"C62\">0<"_s;
        QTest::newRow("credit line, other method") << u"2x50* 1x-30* 1x-5.55 / 0 2 0 0 10 / 1 10 1 / OTHER"_s << u""_s
                                                   << u""_s << u"<ram:Information>OTHER<"_s;
        // A negative total: a credit note, its amounts positive, no payment to the seller's account.
        QTest::newRow("credit note by transfer")
            << u"1x-50* 2x-12.5 / 10 5 4 0 0 / 1 19 1 / TRANSFER"_s << u""_s << u""_s << u""_s;
        QTest::newRow("credit note, received")
            << u"3x-9.99 / 0 0 0 0 5 / 0 19 1"_s << exempt << u""_s << u"C62\">3<|<ram:LineTotalAmount>29.97<"_s;
        // The quantity as typed, every digit; buyers abroad with postcodes, regions and surplus lines.
        QTest::newRow("UK buyer")
            << u"0.12345x100* 2.50x3.99 0.5x1.99"_s
            << u"Customer=Quay Books Ltd|10 Downing Street|London SW1A 2AA|United Kingdom"_s << u""_s
            << u"C62\">0.12345<|<ram:LineTotalAmount>12.35<|C62\">2.5<|<ram:LineTotalAmount>1.00<"_s;
        QTest::newRow("US buyer") << u"1x10 1,000x0.5"_s
                                  << u"Customer=Peach Supply|191 Peachtree St NE|Atlanta, GA 30303|USA"_s << u""_s
                                  << u"C62\">1000<|<ram:LineTotalAmount>500.00<"_s;
        QTest::newRow("Kosovo") << u"1x10*"_s << u"Customer=Drini Trade|Rruga Agim Ramadani 4|10000 Prishtinë|Kosovo"_s
                                << u""_s << u"<ram:CountryID>1A<"_s;
        QTest::newRow("Canary Islands, six lines")
            << u"1x10*"_s
            << u"Customer=Atlantic SL|Dpto. Compras|Planta 2|Calle Triana 20|35002 Las Palmas|Canary Islands"_s << u""_s
            << u"Calle Triana 20|Canary Islands<"_s;
        QTest::newRow("buyer country assumed") << u"1x10*"_s << noCountry
                                               << u"so DE (Germany), the buyer's country of "
                                                  "the e-invoicing settings, was assumed"_s
                                               << u""_s;
        // Printed plain, with one message naming what is wrong with what was typed.
        const auto plain
            = [](const char *tag, const QString &invoice, const QString &settings, const QString &message) {
                  QTest::newRow(tag) << invoice << settings << message << u""_s;
              };
        plain("surcharge 2", u"1x10* / 0 0 0 2 0"_s, u""_s, u"Surcharge 2"_s);
        plain("no VAT identifier", u"1x10*"_s, u"VatId="_s, u"the VAT identifier is not set"_s);
        plain("untaxed, no identifier", u"1x10"_s, u"VatId="_s, u"tax registration number"_s);
        plain("tax number only", u"1x10"_s, u"VatId=;TaxNumber=22/815/08151"_s, u"company registration number"_s);
        plain("exempt without reason", u"1x10"_s, u"UntaxedCategory=E"_s, u"exemption reason"_s);
        plain("transfer without IBAN", u"1x10* / 0 0 0 0 0 / 0 19 1 / TRANSFER"_s, u"IBAN="_s,
              u"needs the IBAN, which is not set"_s);
        plain("IBAN check digits", u"1x10* / 0 0 0 0 0 / 0 19 1 / TRANSFER"_s, u"IBAN=DE89370400440532013001"_s,
              u"IBAN \"DE89370400440532013001\" has wrong check digits"_s);
        plain("currency as a name", u"1x10*"_s, u"Currency=EURO"_s, u"\"EURO\" is not an ISO 4217 code; write EUR."_s);
        plain("printed currency differs", u"1x10*"_s, u"Printed=$ US Dollars"_s,
              u"\"$ US Dollars\" (Settings tab, Currency), which does not name EUR"_s);
        plain("seller country outside the list", u"1x10*"_s, u"SellerCountry=XK"_s,
              u"\"XK\" is not a country code that e-invoices accept; write 1A for Kosovo."_s);
        plain("company abroad", u"1x10*"_s, u"Company=12 rue de Rivoli|75001 Paris|France"_s,
              u"names FR (France) as its country, but the seller's country is DE"_s);
        plain("VAT prefix not a country", u"1x10*"_s, u"VatId=EU123456789"_s,
              u"\"EU123456789\" does not begin with a country prefix"_s);
        plain("buyer country unknown", u"1x10*"_s, u"BuyerCountry=XX;"_s + noCountry,
              u"buyer's country \"XX\" is not a country code"_s);
        plain("no lines", u""_s, u""_s, u"no lines"_s);
    }

    // Each print: the message it shows, if any; an e-invoice carries the XML
    // of the invoice, whose totals are the calculator's figures.
    void invoices()
    {
        QFETCH(QString, invoice);
        QFETCH(QString, settings);
        QFETCH(QString, message);
        QFETCH(QString, xml);
        AppFixture app;
        app.messages.expect(Message::Answer::Ok);
        Typed t(invoice);
        const std::optional<QString> path = t.print(app, settings);
        QVERIFY(path);
        const QByteArray attached = attachment(*path);
        const QList<Message> shown = app.messages.takeShown();
        QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            const QString written = attached.isEmpty() ? u"a plain PDF"_s : u"an e-invoice"_s;
            QVERIFY2(shown[0].text.startsWith(u"INV1001 was written as "_s + written)
                         && shown[0].text.contains(message),
                     qPrintable(shown[0].text));
        }
        if (attached.isEmpty())
            return;

        const auto outcome
            = einvoice::BuildInvoice(t.values, t.totals, einvoice::ReadSettings(app.store_), QDate(2026, 3, 14));
        QVERIFY2(outcome.invoice, qPrintable(outcome.refusal));
        QCOMPARE(attached, einvoice::FacturXXml(*outcome.invoice));
        const QString text = QString::fromUtf8(attached);
        for (const QString &part : xml.split(u'|', Qt::SkipEmptyParts))
            QVERIFY2(text.contains(part), qPrintable(part + u" is not in:\n"_s + text));
        // A credit note states the credit positive: each figure with its sign turned.
        const invoice::TotalsFigures &f = t.figures;
        const bool credit = f.total < Amount();
        QCOMPARE(text.contains(u"<ram:TypeCode>381</ram:TypeCode>"_s), credit);
        QVERIFY(!credit || !text.contains(u"IBANID"_s));
        QVERIFY(!text.contains(u"<ram:ActualAmount>-"_s));
        const Amount shipping = NumericAmount(t.totals.shipping);
        const QList<std::pair<Amount, QString>> figures = {
            {f.subTotal + shipping, u"TaxBasisTotalAmount"_s},
            {f.surcharge1, u"Surcharge"_s},
            {f.discount, u"Discount"_s},
            {shipping, u"Shipping"_s},
            {t.totals.taxCharge == 1 ? f.tax : Amount(), u"TaxTotalAmount"_s},
            {f.total, u"GrandTotalAmount"_s},
            {NumericAmount(t.totals.received), u"TotalPrepaidAmount"_s},
            {f.balance, u"DuePayableAmount"_s},
        };
        for (const auto &[figure, name] : figures) {
            const Amount inXml
                = name.endsWith(u"Amount") ? xmlAmount(text, name) : adjustmentSum(text, name != u"Discount", name);
            QCOMPARE(FormatAmount(credit ? Amount() - inXml : inXml, 2), FormatAmount(figure, 2));
        }
        QFile saved(m_xmls.filePath(u"%1.xml"_s.arg(m_saved++)));
        QVERIFY(saved.open(QIODevice::WriteOnly) && saved.write(attached) == attached.size());
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
        for (const QString &schema :
             {u"facturx-1.07.3/Factur-X_1.07.3_EN16931.xsd"_s,
              u"cii-d16b-uncoupled/CII/uncefact/data/standard/CrossIndustryInvoice_100pD16B.xsd"_s})
            QVERIFY2(run(u"xmllint"_s, QStringList{u"--noout"_s, u"--schema"_s, Shared + u'/' + schema} + paths,
                         nullptr, &errors),
                     qPrintable(errors));
        QTemporaryDir reports;
        QVERIFY2(
            run(u"java"_s,
                {u"-cp"_s, u"/usr/share/java/Saxon-HE.jar"_s, u"net.sf.saxon.Transform"_s, u"-s:"_s + m_xmls.path(),
                 u"-xsl:"_s + Shared + u"/en16931-cii/EN16931-CII-validation.xslt"_s, u"-o:"_s + reports.path()},
                nullptr, &errors),
            qPrintable(errors));
        static const QRegularExpression fatal(u"<svrl:failed-assert[^>]*flag=\"fatal\".*?</svrl:failed-assert>"_s,
                                              QRegularExpression::DotMatchesEverythingOption);
        for (const QString &f : files) {
            const QString report = QString::fromUtf8(contents(reports.filePath(f)));
            QVERIFY2(report.contains(u"schematron-output"_s), qPrintable(f + u": no report"_s));
            QVERIFY2(!fatal.match(report).hasMatch(), qPrintable(f + u": "_s + fatal.match(report).captured(0)));
        }
    }

    // The dialog's checks, one field wrong at a time; settings it accepts read back as written.
    // "printed": whether the printed currency names the code (an empty one prints nothing to disagree).
    void typedSettings_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("problem"); // empty: accepted
        const std::initializer_list<std::array<QString, 3>> rows = {
            {u""_s, u""_s, u""_s},
            {u"vat"_s, u"EL123456789"_s, u""_s},
            {u"vat"_s, u"123456789"_s, u"\"123456789\" must be the two letters of its country"_s},
            {u"vat"_s, u"EU123456789"_s, u"\"EU123456789\" does not begin with a country prefix"_s},
            {u"seller"_s, u"ZZ"_s, u"seller's country \"ZZ\" is not a country code"_s},
            {u"seller"_s, u"EU"_s, u"\"EU\" is not a country code"_s},
            {u"seller"_s, u"IC"_s, u"write ES for Spain."_s},
            {u"seller"_s, u"de"_s, u""_s},
            {u"buyer"_s, u"France"_s, u"write FR for France."_s},
            {u"currency"_s, u"EU"_s, u"\"EU\" is not an ISO 4217 code"_s},
            {u"currency"_s, u"XYZ"_s, u"\"XYZ\" is not an ISO 4217 code"_s},
            {u"currency"_s, u"GPB"_s, u"\"GPB\" is not an ISO 4217 code"_s},
            {u"currency"_s, u"Euro"_s, u"write EUR."_s},
            {u"iban"_s, u"GB82 WEST 1234 5698 7654 32"_s, u""_s},
            {u"iban"_s, u"GB82WEST12345698765433"_s, u"has wrong check digits"_s},
            {u"iban"_s, u"DE8937"_s, u"two check digits and 10 to 30"_s},
            {u"iban"_s, u"ZZ82WEST12345698765432"_s, u"does not begin with a country code"_s},
            {u"bic"_s, u"DEUTDEFF5"_s, u"BIC"_s},
            {u"exempt"_s, u"E"_s, u"exemption reason"_s},
            {u"printed"_s, u"$ US Dollars=USD"_s, u""_s},
            {u"printed"_s, u"$ US Dollars=EUR"_s, u"not name EUR"_s},
            {u"printed"_s, u"$ US Dollars=CAD"_s, u"not name CAD"_s},
            {u"printed"_s, u"$=CAD"_s, u""_s},
            {u"printed"_s, u"€=EUR"_s, u""_s},
            {u"printed"_s, u"EUR=EUR"_s, u""_s},
            {u"printed"_s, u"EUROS=EUR"_s, u""_s},
            {u"printed"_s, u"franc suisse=CHF"_s, u""_s},
            {u"printed"_s, u"£ Sterling=GBP"_s, u""_s},
            {u"printed"_s, u"£=EUR"_s, u"not name EUR"_s},
            {u"printed"_s, u"EUR / USD=EUR"_s, u"not name EUR"_s},
            {u"printed"_s, u"￥=JPY"_s, u""_s},
            {u"printed"_s, u"kr=SEK"_s, u""_s},
            {u"printed"_s, u"Dollars=USD"_s, u"not name USD"_s},
            {u"printed"_s, u"=EUR"_s, u""_s},
        };
        for (const auto &[field, value, problem] : rows)
            QTest::addRow("%s %s", qPrintable(field), qPrintable(value)) << field << value << problem;
    }

    void typedSettings()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, problem);
        einvoice::Settings s{true, u"DE123456789"_s, {}, {}, u"DE"_s, u"EUR"_s, u"FR"_s, u"Z"_s, {}, 30, {}, {}};
        const QHash<QString, QString *> fields{{u"vat"_s, &s.vatId},
                                               {u"seller"_s, &s.sellerCountry},
                                               {u"buyer"_s, &s.buyerCountry},
                                               {u"currency"_s, &s.currencyCode},
                                               {u"iban"_s, &s.iban},
                                               {u"bic"_s, &s.bic},
                                               {u"exempt"_s, &s.untaxedCategory}};
        if (fields.contains(field))
            *fields[field] = value;
        const QString found = field == u"printed"
            ? einvoice::PrintedCurrencyProblem(value.section(u'=', 0, 0), value.section(u'=', 1))
            : einvoice::SettingsProblem(s);
        QVERIFY2(problem.isEmpty() ? found.isEmpty() : found.contains(problem), qPrintable(found));
        if (!problem.isEmpty())
            return;
        AppFixture app;
        QVERIFY(einvoice::WriteSettings(app.store_, s, nullptr));
        const einvoice::Settings back = einvoice::ReadSettings(app.store_);
        QCOMPARE(QStringList({back.iban, back.vatId, back.buyerCountry}),
                 QStringList({s.iban.remove(u' '), s.vatId, s.buyerCountry}));
        QVERIFY(back.enabled);
    }

    // Address lines as printed (the name taken off), read with the buyer's-country setting DE:
    // LineOne|LineTwo|LineThree|Postcode|City|Region|Country, "?" after a country assumed.
    void addresses_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("fields");
        QTest::newRow("DE") << u"Kaiserstr. 1|60311 Frankfurt am Main|Germany"_s
                            << u"Kaiserstr. 1|||60311|Frankfurt am Main||DE"_s;
        QTest::newRow("DE own name, prefix")
            << u"Hafenstraße 4|D-20457 Hamburg|Deutschland"_s << u"Hafenstraße 4|||20457|Hamburg||DE"_s;
        QTest::newRow("DE code, Delaware too")
            << u"Unter den Linden 1|10117 Berlin|DE"_s << u"Unter den Linden 1|||10117|Berlin||DE"_s;
        QTest::newRow("no country") << u"Attn: Accounts|Kaiserstr. 1|60311 Frankfurt"_s
                                    << u"Attn: Accounts|Kaiserstr. 1||60311|Frankfurt||DE?"_s;
        QTest::newRow("surplus lines")
            << u"z. Hd. Frau Meier|Einkauf|Industriestr. 7|Gebaeude B|70173 Stuttgart"_s
            << u"z. Hd. Frau Meier|Einkauf|Industriestr. 7, Gebaeude B|70173|Stuttgart||DE?"_s;
        QTest::newRow("website, telephone") << u"Am Sandtorkai 5|20457 Hamburg|www.ferncask.de|+49 40 1234567"_s
                                            << u"Am Sandtorkai 5|||20457|Hamburg||DE?"_s;
        QTest::newRow("e-mail, bare domain")
            << u"Am Sandtorkai 5|20457 Hamburg|info@ferncask.de|ferncask.de|Fax: 040 1234568"_s
            << u"Am Sandtorkai 5|||20457|Hamburg||DE?"_s;
        QTest::newRow("AT") << u"Mariahilfer Straße 12|1070 Wien|Österreich"_s
                            << u"Mariahilfer Straße 12|||1070|Wien||AT"_s;
        QTest::newRow("CH code") << u"Via Nassa 5|6900 Lugano|CH"_s << u"Via Nassa 5|||6900|Lugano||CH"_s;
        QTest::newRow("FR after a comma")
            << u"12 rue de Rivoli|75001 Paris, France"_s << u"12 rue de Rivoli|||75001|Paris||FR"_s;
        QTest::newRow("IT") << u"Via Roma 10|00184 Roma RM|Italia"_s << u"Via Roma 10|||00184|Roma RM||IT"_s;
        QTest::newRow("ES") << u"Calle Mayor 5|28013 Madrid|España"_s << u"Calle Mayor 5|||28013|Madrid||ES"_s;
        QTest::newRow("Canary Islands") << u"Calle Triana 20|35002 Las Palmas|Canary Islands"_s
                                        << u"Calle Triana 20|||35002|Las Palmas|Canary Islands|ES"_s;
        QTest::newRow("PT") << u"Rua Augusta 100|1100-053 Lisboa|Portugal"_s
                            << u"Rua Augusta 100|||1100-053|Lisboa||PT"_s;
        QTest::newRow("NL, code") << u"Damrak 1|1012 LG Amsterdam|NL"_s << u"Damrak 1|||1012 LG|Amsterdam||NL"_s;
        QTest::newRow("PL") << u"ul. Marszałkowska 1|00-624 Warszawa|Polska"_s
                            << u"ul. Marszałkowska 1|||00-624|Warszawa||PL"_s;
        QTest::newRow("SE") << u"Drottninggatan 5|111 51 Stockholm|Sverige"_s
                            << u"Drottninggatan 5|||111 51|Stockholm||SE"_s;
        QTest::newRow("CZ") << u"Václavské náměstí 1|110 00 Praha 1|Czech Republic"_s
                            << u"Václavské náměstí 1|||110 00|Praha 1||CZ"_s;
        QTest::newRow("Kosovo") << u"Rruga Agim Ramadani 4|10000 Prishtinë|Kosovo"_s
                                << u"Rruga Agim Ramadani 4|||10000|Prishtinë||1A"_s;
        QTest::newRow("Georgia, the country")
            << u"Rustaveli Ave 12|0108 Tbilisi|Georgia"_s << u"Rustaveli Ave 12|||0108|Tbilisi||GE"_s;
        QTest::newRow("GB") << u"10 Downing Street|London SW1A 2AA|United Kingdom"_s
                            << u"10 Downing Street|||SW1A 2AA|London||GB"_s;
        QTest::newRow("GB postcode below the city") << u"Flat 2|14 High Street|Edinburgh|EH1 1YZ|Scotland"_s
                                                    << u"Flat 2|14 High Street||EH1 1YZ|Edinburgh|Scotland|GB"_s;
        QTest::newRow("IE") << u"1 Grafton Street|Dublin 2 D02 X285|Ireland"_s
                            << u"1 Grafton Street|||D02 X285|Dublin 2||IE"_s;
        QTest::newRow("US") << u"1600 Amphitheatre Pkwy|Mountain View, CA 94043|USA"_s
                            << u"1600 Amphitheatre Pkwy|||94043|Mountain View|CA|US"_s;
        QTest::newRow("US on one line") << u"Springfield, IL 62701, USA"_s << u"|||62701|Springfield|IL|US"_s;
        QTest::newRow("US state, no country")
            << u"191 Peachtree St NE|Atlanta|Georgia"_s << u"191 Peachtree St NE||||Atlanta|Georgia|DE?"_s;
        QTest::newRow("US state after a comma")
            << u"191 Peachtree St NE|Atlanta, Georgia"_s << u"191 Peachtree St NE||||Atlanta|Georgia|DE?"_s;
        QTest::newRow("a state's name as the city")
            << u"350 Fifth Avenue|New York|USA"_s << u"350 Fifth Avenue||||New York||US"_s;
        QTest::newRow("a state's code alone") << u"100 Main St|Houston|TX|USA"_s << u"100 Main St||||Houston|TX|US"_s;
        QTest::newRow("CA the state") << u"1 Market St|San Francisco|CA"_s << u"1 Market St||||San Francisco|CA|DE?"_s;
        QTest::newRow("CA the country") << u"100 King St W|Toronto ON M5H 1J9|Canada"_s
                                        << u"100 King St W|||M5H 1J9|Toronto|ON|CA"_s;
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

    // The program's code lists are the rules' own.
    void codeLists()
    {
        const QString xslt = QString::fromUtf8(contents(Shared + u"/en16931-cii/EN16931-CII-validation.xslt"_s));
        if (xslt.isEmpty())
            QSKIP("../shared/einvoice is absent: the code lists are not compared with the rules");
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

    // The render tool attaches a given XML the same way; a missing one is an error, and no PDF.
    void renderTool()
    {
        QTemporaryDir dir;
        const QString tool = QStringLiteral(QUILLBOOK_APP_DIR "/quillbook-render");
        const QByteArray xml = "<?xml version=\"1.0\"?>\n<invoice>\u00e9</invoice>\n";
        QFile in(dir.filePath(u"in.xml"_s)), params(dir.filePath(u"p.params"_s));
        QVERIFY(in.open(QIODevice::WriteOnly) && in.write(xml) == xml.size() && params.open(QIODevice::WriteOnly)
                && params.write("PCOMPANYNAME=Acme\n") > 0);
        in.close();
        params.close();
        QString errors;
        const auto render = [&](const QString &xmlFile, const QString &pdf) {
            return run(tool, {u"--attach"_s, dir.filePath(xmlFile), Template, params.fileName(), dir.filePath(pdf)},
                       nullptr, &errors);
        };
        QVERIFY2(render(u"in.xml"_s, u"INV7.pdf"_s), qPrintable(errors));
        QCOMPARE(attachment(dir.filePath(u"INV7.pdf"_s)), xml);
        QVERIFY(!render(u"absent.xml"_s, u"INV8.pdf"_s));
        QVERIFY2(errors.contains(u"absent.xml"_s), qPrintable(errors));
        QVERIFY(!QFile::exists(dir.filePath(u"INV8.pdf"_s)));
    }

    // From the window: the dialog refuses a wrong code and stores a right one, Print gives the
    // e-invoice, and the template preview stays a plain PDF.
    void fromTheWindow()
    {
        WindowFixture app;
        app.addFile(u"invferncask.rep"_s, contents(Template));
        for (const QString &pair : u"Init=1;Template=invferncask.rep;CompanyName=Ferncask;TaxValue=19;TaxCharge=1;"
                                   "InvoiceNumber=1001;Currency=€ Euro"_s.split(u';'))
            app.store(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        QVERIFY(QDir().mkpath(app.path(u"invoices"_s)));
        QVERIFY(app.start());
        EntryDriver user(app);
        QVERIFY(user.activate());
        app.dialogs.expect([&](QDialog &d) {
            auto &dialog = static_cast<ui::frmEInvoice &>(d);
            // A heading explains its field in a message titled with its caption.
            app.messages.expect(Message::Answer::Ok);
            QTest::mouseClick(static_cast<QWidget *>(dialog.findChild<ui::ClickLabel *>()), Qt::LeftButton);
            QCOMPARE(app.messages.takeShown().value(0).title, u"Attach an e-invoice"_s);
            dialog.chkEnabled->setChecked(true);
            dialog.txtSellerCountry->setText(u"DE"_s);
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
        QVERIFY(shown.size() == 1 && shown[0].text.contains(u"VAT identifier \"123456789\""_s));
        QCOMPARE(app.store_.GetSetting(ApplicationTitle(), einvoice::SettingsSection(), u"VatId"_s), u"DE123456789"_s);

        for (const auto &[box, text] : {std::pair{u"txtCustomerDetails(0)"_s, u"Harbour Cafe"_s},
                                        {u"txtCustomerDetails(5)"_s, u"France"_s},
                                        {u"txtQty(0)"_s, u"2"_s},
                                        {u"txtDescription(0)"_s, u"Oak chair"_s},
                                        {u"txtUnitPrice(0)"_s, u"10"_s}})
            user.enter(box, text);
        app.messages.expect(Message::Answer::No);
        QTest::mouseClick(app.control(u"cmdPreview"_s), Qt::LeftButton);
        QCOMPARE(app.messages.takeShown().size(), 1); // the number question only
        const QByteArray xml = attachment(app.path(u"invoices/INV1001.pdf"_s));
        QVERIFY2(xml.contains("<ram:CountryID>FR</ram:CountryID>"), xml.constData());
        QVERIFY(xml.contains("<ram:GrandTotalAmount>23.80</ram:GrandTotalAmount>"));
        QTest::mouseClick(app.window().tab1, Qt::LeftButton, {}, app.window().tab1->tabRect(1).center());
        QTest::mouseClick(app.control(u"cmdView"_s), Qt::LeftButton);
        QVERIFY(contents(app.path(u"viewtemplate.pdf"_s)).startsWith("%PDF-1.4"));
        QVERIFY(!contents(app.path(u"viewtemplate.pdf"_s)).contains("factur-x"));
    }
};

QTEST_MAIN(EInvoiceTest)
#include "tst_einvoice.moc"
