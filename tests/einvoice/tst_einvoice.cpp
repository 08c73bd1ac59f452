// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "../ui/entrytest.h"

#include "einvoice/address.h"
#include "einvoice/codelists.h"
#include "einvoice/currencynames.h"
#include "einvoice/einvoicedocument.h"
#include "invoice/numbers.h"
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

Amount xmlAmount(const QString &xml, const QString &element)
{
    return NumericAmount(QRegularExpression(u"<ram:%1[^>]*>([^<]*)<"_s.arg(element)).match(xml).captured(1));
}

// Stores the usual settings (a German seller, euro), then `changes`; returns Printed=, Customer=, Company=.
QHash<QString, QString> storeSettings(AppFixture &app, const QString &changes)
{
    QHash<QString, QString> others;
    const QString all = u"Enabled=1;VatId=DE123456789;SellerCountry=DE;Currency=EUR;BuyerCountry=DE;UntaxedCategory=Z;"
                        "PaymentDays=14;IBAN=DE89370400440532013000;BIC=COBADEFFXXX;"_s
        + changes;
    for (const QString &pair : all.split(u';', Qt::SkipEmptyParts)) {
        const QString key = pair.section(u'=', 0, 0), value = pair.section(u'=', 1);
        if (key == u"Printed" || key == u"Customer" || key == u"Company")
            others.insert(key, value);
        else
            app.store_.SaveSetting(ApplicationTitle(), einvoice::SettingsSection(), key, value);
    }
    return others;
}

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
        values.paymentMethod = parts.value(3, u"CASH"_s);
        values.currency = u"EUR"_s;
    }

    // Prints it as the window does, with the settings of storeSettings(); address lines parted by "|".
    std::optional<QString> print(AppFixture &app, const QString &settings)
    {
        const QHash<QString, QString> others = storeSettings(app, settings);
        values.currency = others.value(u"Printed"_s, values.currency);
        for (const QString &key : {u"Customer"_s, u"Company"_s})
            for (int i = 0; others.contains(key) && i < InvoiceValues::AddressLines; ++i)
                (key == u"Customer" ? values.customerDetails : values.companyDetails)[i]
                    = others[key].split(u'|').value(i);
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
        QTest::addColumn<QString>("settings"); // as storeSettings() reads them
        QTest::addColumn<QString>("message");  // the one message shown, or empty
        QTest::addColumn<QString>("xml");      // what the XML holds, parts separated by "|"
        const QString noCountry = u"Customer=Harbour Cafe|Kaiserstr. 1|60311 Frankfurt"_s;
        const QString exempt = u"UntaxedCategory=E;ExemptionReason=Exempt under art. 132"_s;
        QTest::newRow("worked invoice") << u"2x10* 1x5.5 3x1.99* 1x0* / 10 5 4 0 20 / 1 17.5 1 / CARD"_s << u""_s
                                        << u""_s << u"<ram:TypeCode>48</ram:TypeCode>|format=\"102\">20260328<"_s;
        // Surcharge 2.01 splits 1.01 + 1.00, discount 1.11 splits 0.55 + 0.56; codes typed in small letters.
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
        QTest::newRow("credit line, other method") << u"2x50* 1x-30* 1x-5.55 / 0 2 0 0 10 / 1 10 1 / OTHER"_s << u""_s
                                                   << u""_s << u"<ram:Information>OTHER<"_s;
        QTest::newRow("credit note by transfer, received")
            << u"1x-50* 2x-12.5 3x-9.99 / 10 5 4 0 5 / 1 19 1 / TRANSFER"_s << exempt << u""_s
            << u"C62\">3<|<ram:LineTotalAmount>29.97<"_s;
        QTest::newRow("quantities as typed, UK buyer")
            << u"0.12345x100* 2.50x3.99 1,000x0.5"_s
            << u"Customer=Quay Books Ltd|10 Downing Street|London SW1A 2AA|United Kingdom"_s << u""_s
            << u"C62\">0.12345<|<ram:LineTotalAmount>12.35<|C62\">2.5<|C62\">1000<"_s;
        QTest::newRow("Canary Islands, six lines")
            << u"1x10*"_s
            << u"Customer=Atlantic SL|Dpto. Compras|Planta 2|Calle Triana 20|35002 Las Palmas|Canary Islands"_s << u""_s
            << u"Calle Triana 20|Canary Islands<"_s;
        QTest::newRow("buyer country assumed")
            << u"1x10*"_s << noCountry << u"so DE (Germany), the buyer's country of the e-invoicing settings"_s
            << u""_s;
        // Printed plain, with one message naming what is wrong.
        const auto plain
            = [](const char *tag, const QString &invoice, const QString &settings, const QString &message) {
                  QTest::newRow(tag) << invoice << settings << message << u""_s;
              };
        const QString transfer = u"1x10* / 0 0 0 0 0 / 0 19 1 / TRANSFER"_s;
        plain("surcharge 2", u"1x10* / 0 0 0 2 0"_s, u""_s, u"Surcharge 2"_s);
        plain("no VAT identifier", u"1x10*"_s, u"VatId="_s, u"the VAT identifier is not set"_s);
        plain("untaxed, no identifier", u"1x10"_s, u"VatId="_s, u"tax registration number"_s);
        plain("tax number only", u"1x10"_s, u"VatId=;TaxNumber=22/815/08151"_s, u"company registration number"_s);
        plain("exempt without reason", u"1x10"_s, u"UntaxedCategory=E"_s, u"exemption reason"_s);
        plain("transfer without IBAN", transfer, u"IBAN="_s, u"needs the IBAN, which is not set"_s);
        plain("IBAN check digits", transfer, u"IBAN=DE89370400440532013001"_s, u"has wrong check digits"_s);
        plain("currency as a name", u"1x10*"_s, u"Currency=EURO"_s, u"\"EURO\" is not an ISO 4217 code; write EUR."_s);
        plain("printed currency differs", u"1x10*"_s, u"Printed=$ US Dollars"_s, u"which does not name EUR"_s);
        plain("seller country outside the list", u"1x10*"_s, u"SellerCountry=XK"_s, u"write 1A for Kosovo."_s);
        plain("company abroad", u"1x10*"_s, u"Company=12 rue de Rivoli|75001 Paris|France"_s,
              u"names FR (France) as its country, but the seller's country is DE"_s);
        plain("VAT prefix not a country", u"1x10*"_s, u"VatId=EU123456789"_s,
              u"does not begin with a country prefix"_s);
        plain("buyer country unknown", u"1x10*"_s, u"BuyerCountry=XX;"_s + noCountry,
              u"\"XX\" is not a country code"_s);
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

        const QString text = QString::fromUtf8(attached);
        for (const QString &part : xml.split(u'|', Qt::SkipEmptyParts))
            QVERIFY2(text.contains(part), qPrintable(part + u" is not in:\n"_s + text));
        // A credit note states each figure with its sign turned.
        const invoice::TotalsFigures &f = t.figures;
        const bool credit = f.total < Amount();
        QCOMPARE(text.contains(u"<ram:TypeCode>381</ram:TypeCode>"_s), credit);
        QVERIFY(!credit || !text.contains(u"IBANID"_s));
        QVERIFY(!text.contains(u"<ram:ActualAmount>-"_s));
        const QList<std::pair<Amount, QString>> figures = {
            {t.totals.taxCharge == 1 ? f.tax : Amount(), u"TaxTotalAmount"_s},
            {f.total, u"GrandTotalAmount"_s},
            {NumericAmount(t.totals.received), u"TotalPrepaidAmount"_s},
        };
        for (const auto &[figure, name] : figures)
            QCOMPARE(FormatAmount(credit ? Amount() - xmlAmount(text, name) : xmlAmount(text, name), 2),
                     FormatAmount(figure, 2));
        QFile saved(m_xmls.filePath(u"%1.xml"_s.arg(m_saved++)));
        QVERIFY(saved.open(QIODevice::WriteOnly) && saved.write(attached) == attached.size());
    }

    // Every XML above against both schemas and the EN 16931 rules, in one start each.
    void validation()
    {
        if (!QDir(Shared).exists())
            QSKIP("../shared/einvoice is absent: the e-invoices are not validated");
        const QStringList files = QDir(m_xmls.path()).entryList({u"*.xml"_s}, QDir::Files);
        QVERIFY(m_saved > 0 && files.size() == m_saved);
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

    // The settings' checks, one setting wrong at a time, and the printed currency against the code;
    // settings they accept read back as written.
    void typedSettings_data()
    {
        QTest::addColumn<QString>("settings"); // as storeSettings() reads them
        QTest::addColumn<QString>("problem");  // empty: accepted
        const std::initializer_list<std::array<QString, 2>> rows = {
            {u"IBAN=GB82 WEST 1234 5698 7654 32"_s, u""_s},
            {u"VatId=123456789"_s, u"\"123456789\" must be the two letters of its country"_s},
            {u"BuyerCountry=France"_s, u"write FR for France."_s},
            {u"Currency=XYZ"_s, u"\"XYZ\" is not an ISO 4217 code"_s},
            {u"IBAN=DE8937"_s, u"two check digits and 10 to 30"_s},
            {u"IBAN=ZZ82WEST12345698765432"_s, u"does not begin with a country code"_s},
            {u"BIC=DEUTDEFF5"_s, u"BIC"_s},
            {u"UntaxedCategory=E"_s, u"exemption reason"_s},
            {u"Currency=USD;Printed=$ US Dollars"_s, u""_s},
            {u"Currency=CAD;Printed=$"_s, u""_s},
            {u"Printed=EUR"_s, u""_s},
            {u"Currency=GBP;Printed=£ Sterling"_s, u""_s},
            {u"Printed=EUR / USD"_s, u"not name EUR"_s},
            {u"Currency=JPY;Printed=￥"_s, u""_s},
            {u"Currency=USD;Printed=Dollars"_s, u"not name USD"_s},
        };
        for (const auto &[settings, problem] : rows)
            QTest::newRow(qPrintable(settings)) << settings << problem;
    }

    void typedSettings()
    {
        QFETCH(QString, settings);
        QFETCH(QString, problem);
        AppFixture app;
        const QString printed = storeSettings(app, settings).value(u"Printed"_s);
        einvoice::Settings s = einvoice::ReadSettings(app.store_);
        QString found = einvoice::SettingsProblem(s);
        if (found.isEmpty())
            found = einvoice::PrintedCurrencyProblem(printed, s.currencyCode);
        QVERIFY2(problem.isEmpty() ? found.isEmpty() : found.contains(problem), qPrintable(found));
        if (!problem.isEmpty())
            return;
        QVERIFY(einvoice::WriteSettings(app.store_, s, nullptr));
        const einvoice::Settings back = einvoice::ReadSettings(app.store_);
        QCOMPARE(QStringList({back.iban, back.vatId, back.currencyCode}),
                 QStringList({s.iban.remove(u' '), s.vatId, s.currencyCode}));
        QVERIFY(back.enabled);
    }

    // Address lines as printed (the name taken off), read with the buyer's-country setting DE:
    // LineOne|LineTwo|LineThree|Postcode|City|Region|Country, "?" after a country assumed.
    void addresses_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("fields");
        QTest::newRow("own name, postcode prefix")
            << u"Hafenstraße 4|D-20457 Hamburg|Deutschland"_s << u"Hafenstraße 4|||20457|Hamburg||DE"_s;
        QTest::newRow("code, a state's too, above a postcode")
            << u"Unter den Linden 1|10117 Berlin|DE"_s << u"Unter den Linden 1|||10117|Berlin||DE"_s;
        QTest::newRow("no country") << u"Attn: Accounts|Kaiserstr. 1|60311 Frankfurt"_s
                                    << u"Attn: Accounts|Kaiserstr. 1||60311|Frankfurt||DE?"_s;
        QTest::newRow("surplus lines")
            << u"z. Hd. Frau Meier|Einkauf|Industriestr. 7|Gebaeude B|70173 Stuttgart"_s
            << u"z. Hd. Frau Meier|Einkauf|Industriestr. 7, Gebaeude B|70173|Stuttgart||DE?"_s;
        QTest::newRow("contact lines")
            << u"Am Sandtorkai 5|20457 Hamburg|www.ferncask.de|+49 40 1234567|info@ferncask.de|ferncask.de|"
               "Fax: 040 1234568"_s
            << u"Am Sandtorkai 5|||20457|Hamburg||DE?"_s;
        QTest::newRow("country after a comma")
            << u"12 rue de Rivoli|75001 Paris, France"_s << u"12 rue de Rivoli|||75001|Paris||FR"_s;
        QTest::newRow("part of a country") << u"Calle Triana 20|35002 Las Palmas|Canary Islands"_s
                                           << u"Calle Triana 20|||35002|Las Palmas|Canary Islands|ES"_s;
        QTest::newRow("code outside the list")
            << u"Rruga Agim Ramadani 4|10000 Prishtinë|Kosovo"_s << u"Rruga Agim Ramadani 4|||10000|Prishtinë||1A"_s;
        QTest::newRow("postcode after the city")
            << u"10 Downing Street|London SW1A 2AA|United Kingdom"_s << u"10 Downing Street|||SW1A 2AA|London||GB"_s;
        QTest::newRow("postcode below the city") << u"Flat 2|14 High Street|Edinburgh|EH1 1YZ|Scotland"_s
                                                 << u"Flat 2|14 High Street||EH1 1YZ|Edinburgh|Scotland|GB"_s;
        QTest::newRow("region before the postcode") << u"1600 Amphitheatre Pkwy|Mountain View, CA 94043|USA"_s
                                                    << u"1600 Amphitheatre Pkwy|||94043|Mountain View|CA|US"_s;
        QTest::newRow("a state, no postcode: no country")
            << u"191 Peachtree St NE|Atlanta|Georgia"_s << u"191 Peachtree St NE||||Atlanta|Georgia|DE?"_s;
        QTest::newRow("a state's name as the city")
            << u"350 Fifth Avenue|New York|USA"_s << u"350 Fifth Avenue||||New York||US"_s;
        QTest::newRow("a state's code alone") << u"100 Main St|Houston|TX|USA"_s << u"100 Main St||||Houston|TX|US"_s;
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

    // From the window: the dialog refuses a wrong code and stores a right one; the template preview stays plain.
    void fromTheWindow()
    {
        WindowFixture app;
        app.addFile(u"invferncask.rep"_s, contents(Template));
        for (const QString &pair : u"Init=1;Template=invferncask.rep;CompanyName=Ferncask;TaxValue=19;TaxCharge=1;"
                                   "InvoiceNumber=1001;Currency=€ Euro"_s.split(u';'))
            app.store(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        QVERIFY(app.start());
        EntryDriver user(app);
        QVERIFY(user.activate());
        app.dialogs.expect([&](QDialog &d) {
            auto &dialog = static_cast<ui::frmEInvoice &>(d);
            dialog.chkEnabled->setChecked(true);
            dialog.txtSellerCountry->setText(u"DE"_s);
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

        // The template preview stays a plain PDF.
        QTest::mouseClick(app.window().tab1, Qt::LeftButton, {}, app.window().tab1->tabRect(1).center());
        QTest::mouseClick(app.control(u"cmdView"_s), Qt::LeftButton);
        QVERIFY(contents(app.path(u"viewtemplate.pdf"_s)).startsWith("%PDF-1.4"));
        QVERIFY(attachment(app.path(u"viewtemplate.pdf"_s)).isEmpty());
    }
};

QTEST_MAIN(EInvoiceTest)
#include "tst_einvoice.moc"
