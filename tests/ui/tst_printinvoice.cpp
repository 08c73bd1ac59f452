// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrytest.h"

#include "invoice/numbers.h"
#include "invoicepdf/invoiceparameters.h"
#include "platform/buildinfo.h"
#include "ui/clicklabel.h"

#include <QAction>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>

using invoicepdf::InvoiceParameterNames;
using invoicepdf::InvoiceParameters;
using invoicepdf::InvoiceValues;

namespace BuildInfo = platform::BuildInfo;
using platform::Message;
using platform::ShellResult;

using invoice::NumericAmount;

using namespace Qt::StringLiterals;

namespace {

const Message::Answer Yes = Message::Answer::Yes;
const Message::Answer No = Message::Answer::No;
const Message::Answer Ok = Message::Answer::Ok;

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString pdfText(const QString &path)
{
    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_s, {u"-layout"_s, path, u"-"_s});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0)
        return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

// The worked invoice, a customer, a company and a thank-you line on line 12.
const QList<std::pair<QString, QString>> Company = {
    {u"CompanyName"_s, u"Fern & Cask Ltd"_s}, {u"Address1"_s, u"4 Cooper's Yard"_s},
    {u"Address2"_s, u"Bristol"_s}, {u"Address6"_s, u"United Kingdom"_s}, {u"Tel"_s, u"0117 496 0000"_s},
    {u"Fax"_s, u"0117 496 0001"_s}, {u"Currency"_s, u"GBP"_s}, {u"TaxName"_s, u"V+AT"_s},
    {u"TaxValue"_s, u"17.5"_s}, {u"TaxCharge"_s, u"1"_s}, {u"SHTax"_s, u"1"_s}, {u"Footer1"_s, u"Thank you"_s},
    {u"Footer3"_s, u"Registered in England"_s}, {u"InvoiceNumber"_s, u"1001"_s}, {u"Logo"_s, u""_s},
};

} // namespace

class PrintInvoiceTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_app;
    std::unique_ptr<EntryDriver> m_user;

    void start(const QList<std::pair<QString, QString>> &extra = {})
    {
        m_user.reset();
        m_app = std::make_unique<WindowFixture>();
        m_app->addFile(u"invferncask.rep"_s, contents(QStringLiteral(QUILLBOOK_APP_DIR "/invferncask.rep")));
        m_app->store(u"Init"_s, u"1"_s);
        m_app->store(u"Template"_s, u"invferncask.rep"_s);
        for (const auto &[key, text] : Company + extra)
            m_app->store(key, text);
        QVERIFY(QDir().mkpath(m_app->path(u"invoices"_s)));
        QVERIFY(m_app->start());
        m_user = std::make_unique<EntryDriver>(*m_app);
        QVERIFY(m_user->activate());
    }

    void fillWorkedInvoice()
    {
        m_user->enter(u"txtCustomerDetails(0)"_s, u"Harbour Cafe"_s);
        m_user->enter(u"txtCustomerDetails(5)"_s, u"BS1 4DJ"_s);
        const QStringList lines[] = {{u"2"_s, u"Oak chair"_s, u"10"_s}, {u"1"_s, u"Delivery note"_s, u"5.5"_s},
                                     {u"3"_s, u"Beeswax polish"_s, u"1.99"_s}};
        for (int i = 0; i < 3; ++i) {
            m_user->enter(u"txtQty(%1)"_s.arg(i), lines[i][0]);
            m_user->enter(u"txtDescription(%1)"_s.arg(i), lines[i][1]);
            m_user->enter(u"txtUnitPrice(%1)"_s.arg(i), lines[i][2]);
        }
        QTest::mouseClick(m_app->control(u"chkTax(1)"_s), Qt::LeftButton);
        m_user->enter(u"txtQty(11)"_s, u"1"_s);
        m_user->enter(u"txtDescription(11)"_s, u"Thank-you card"_s);
        m_user->enter(u"txtUnitPrice(11)"_s, u"0"_s);
        m_user->enter(u"txtSurcharge1"_s, u"10"_s);
        m_user->enter(u"txtDiscount"_s, u"5"_s);
        m_user->enter(u"txtSH"_s, u"4"_s);
        m_user->enter(u"txtSurcharge2"_s, u"2"_s);
        m_user->enter(u"txtReceived"_s, u"20"_s);
        m_app->control<QComboBox>(u"cmbPaymentMethod"_s)->setCurrentIndex(3);
        QCOMPARE(m_user->text(u"txtBalance"_s), u"23.19"_s);
    }

    void print(std::initializer_list<Message::Answer> answers)
    {
        for (Message::Answer answer : answers)
            m_app->messages.expect(answer);
        QTest::mouseClick(m_app->control(u"cmdPreview"_s), Qt::LeftButton);
    }

    QString invoicePath(const QString &number = u"1001"_s) const
    {
        return m_app->path(u"invoices/INV%1.pdf"_s.arg(number));
    }

    bool sheetIsBlank() const { return m_app->text(u"txtDescription(0)"_s).isEmpty(); }

private slots:
    void init() { start(); }
    void cleanup()
    {
        QCOMPARE(m_app->messages.pending(), 0);
        m_user.reset();
        m_app.reset();
    }

    // Every parameter the template is given, in order, for one full invoice.
    void parameters()
    {
        const QStringList company = {u"4 Cooper's Yard"_s, u"Bristol"_s, {}, {}, {}, u"United Kingdom"_s};
        const QStringList customer = {u"Harbour Cafe"_s, {}, {}, {}, {}, u"BS1 4DJ"_s};
        QList<QStringList> lines(12, QStringList{{}, {}, {}, {}});
        lines[0] = {u"2"_s, u"Oak chair"_s, u"10.00"_s, u"20.00"_s};
        lines[1] = {u"1"_s, u"Delivery note"_s, u"5.50"_s, u"5.50"_s};
        lines[2] = {u"3"_s, u"Beeswax polish"_s, u"1.99"_s, u"5.97"_s};
        lines[11] = {u"1"_s, u"Thank-you card"_s, u"0.00"_s, u"0.00"_s};

        QList<std::pair<QString, QString>> expected = {{u"PCOMPANYNAME"_s, u"Fern & Cask Ltd"_s},
                                                       {u"PINVOICENUMBER"_s, u"1001"_s}};
        for (int k = 0; k < 6; ++k) {
            expected.append({u"PCOMPANYDETAILS%1"_s.arg(k + 1), company[k]});
            expected.append({u"PCUSTOMERDETAILS%1"_s.arg(k + 1), customer[k]});
        }
        for (int n = 0; n < 12; ++n) {
            const QStringList names = {u"PQTY"_s, u"PDESCRIPTION"_s, u"PUNITPRICE"_s, u"PTOTAL"_s};
            for (int c = 0; c < 4; ++c)
                expected.append({names[c] + QString::number(n + 1), lines[n][c]});
        }
        expected += {
            {u"PSUBTOTAL"_s, u"32.89"_s}, {u"PSURCHARGE1"_s, u"3.15"_s}, {u"PSURCHARGE2"_s, u"0.85"_s},
            {u"PDISCOUNT"_s, u"1.73"_s}, {u"PSHIPPING"_s, u"4.00"_s}, {u"PTAX"_s, u"5.45"_s},
            {u"PTOTAL"_s, u"42.34"_s}, {u"PRECEIVED"_s, u"20.00"_s}, {u"PBALANCE"_s, u"23.19"_s},
            {u"PPAYMENTMETHOD"_s, u"CARD"_s}, {u"PFOOTER1"_s, u"Thank you"_s}, {u"PFOOTER2"_s, u""_s},
            {u"PFOOTER3"_s, u"Registered in England"_s}, {u"PCURRENCY"_s, u"GBP"_s},
            {u"PTEL"_s, u"0117 496 0000"_s}, {u"PFAX"_s, u"0117 496 0001"_s},
            {u"PDATE"_s, QLocale::system().toString(QDate(2026, 3, 14), QLocale::LongFormat)},
            {u"PTAXNAME"_s, u"VAT@17.5%"_s}, {u"PTAXVALUE"_s, u"17.5"_s}, {u"PSURCHARGEVALUE1"_s, u"10.00"_s},
            {u"PSURCHARGEVALUE2"_s, u"2.00"_s}, {u"PDISCOUNTPERCENT"_s, u"5.00"_s},
            {u"PLOGO"_s, m_app->path(u"logo.jpg"_s)},
        };
        QCOMPARE(expected.size(), 85);

        fillWorkedInvoice();
        print({No});
        QCOMPARE(m_app->report.templatePaths, QStringList{m_app->path(u"invferncask.rep"_s)});
        const auto &sent = m_app->report.parameters;
        QCOMPARE(sent.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QCOMPARE(sent[i].first, expected[i].first);
            QCOMPARE(sent[i].second, expected[i].second);
        }
        QCOMPARE(m_app->shell.opened, QStringList{invoicePath()});
    }

    // The shipped template and the real engine: what the customer reads.
    void printedPdfShowsTheInvoice()
    {
        fillWorkedInvoice();
        // A folder deleted since the first start is made again.
        QVERIFY(QDir(m_app->path(u"invoices"_s)).removeRecursively());
        print({No});
        const QString text = pdfText(invoicePath());
        QVERIFY2(!text.isEmpty(), "pdftotext read nothing");
        const QStringList expected = {u"Harbour Cafe"_s, u"BS1 4DJ"_s, u"Oak chair"_s, u"Delivery note"_s,
                                      u"Beeswax polish"_s, u"Thank-you card"_s, u"20.00"_s, u"5.50"_s, u"5.97"_s,
                                      u"32.89"_s, u"5.45"_s, u"42.34"_s, u"23.19"_s, u"1001"_s,
                                      QLocale::system().toString(QDate(2026, 3, 14), QLocale::LongFormat)};
        for (const QString &words : expected)
            QVERIFY2(text.contains(words), qPrintable(words + u" is missing from:\n"_s + text));
    }

    // The question about missing details, and what its No leaves.
    void missingDetails_data()
    {
        QTest::addColumn<QString>("customer");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("question");
        QTest::newRow("customer missing") << u""_s << u"Chair"_s
                                          << u"There are no customer details\r\n\r\nContinue?"_s;
        QTest::newRow("items missing") << u" "_s << u""_s
                                       << u"\r\nThere are no described sales items.\r\nContinue?"_s;
    }

    void missingDetails()
    {
        QFETCH(QString, customer);
        QFETCH(QString, description);
        QFETCH(QString, question);
        m_user->enter(u"txtCustomerDetails(2)"_s, customer);
        m_user->enter(u"txtQty(0)"_s, u"2"_s);
        m_user->enter(u"txtUnitPrice(0)"_s, u"3"_s);
        m_user->enter(u"txtDescription(11)"_s, description);
        print({No});
        QCOMPARE(m_app->messages.takeShown().value(0).text, question);
        QVERIFY(m_app->report.exports.isEmpty());
        QVERIFY(m_app->shell.opened.isEmpty());

        print({Yes, No});
        QCOMPARE(m_app->messages.takeShown().size(), 2);
        QCOMPARE(m_app->report.exports, QStringList{invoicePath()});
    }

    // No keeps the number and the sheet; Yes advances and blanks before opening.
    void incrementQuestion_data()
    {
        QTest::addColumn<bool>("advance");
        QTest::newRow("No") << false;
        QTest::newRow("Yes") << true;
    }

    void incrementQuestion()
    {
        QFETCH(bool, advance);
        fillWorkedInvoice();
        bool blankWhenOpened = false;
        m_app->shell.onOpen = [&] { blankWhenOpened = sheetIsBlank(); };
        print({advance ? Yes : No});
        const Message question = m_app->messages.takeShown().value(0);
        QCOMPARE(question.text, u"Incement invoice number?\r\n(this will clear current invoice information)"_s);
        QCOMPARE(question.buttons, Message::Buttons::YesNo);
        QVERIFY(QFile::exists(invoicePath()));
        QCOMPARE(m_app->shell.opened, QStringList{invoicePath()});
        QCOMPARE(blankWhenOpened, advance);
        QCOMPARE(m_app->stored(u"InvoiceNumber"_s), advance ? u"1002"_s : u"1001"_s);
        QCOMPARE(m_app->text(u"txtInvoiceNumber"_s), advance ? u"1002"_s : u"1001"_s);
        QCOMPARE(m_app->text(u"txtBalance"_s), advance ? u"0.00"_s : u"23.19"_s);
    }

    // An invoice printed before: No leaves it, Yes replaces it.
    void overwrite_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::newRow("No") << false;
        QTest::newRow("Yes") << true;
    }

    void overwrite()
    {
        QFETCH(bool, replace);
        fillWorkedInvoice();
        const QByteArray old = "%PDF-1.4 an invoice printed last week\n";
        m_app->addFile(u"invoices/INV1001.pdf"_s, old);
        print({No, replace ? Yes : No});
        QCOMPARE(m_app->messages.takeShown().value(1).text, u"Invoice INV1001 already exists.Overwrite?"_s);
        QCOMPARE(contents(invoicePath()) == old, !replace);
        QVERIFY(!replace || contents(invoicePath()).startsWith("%PDF-1.4"));
        QCOMPARE(m_app->report.exports.size(), replace ? 1 : 0);
        QCOMPARE(m_app->shell.opened.size(), replace ? 1 : 0);
        QCOMPARE(m_app->text(u"txtBalance"_s), u"23.19"_s);
    }

    // A failed export loses nothing: the old file, the number, the sheet.
    void failedExport_data()
    {
        QTest::addColumn<QString>("blocking"); // the file that must stay as it was
        QTest::addColumn<QByteArray>("templateText");
        QTest::addColumn<QString>("message");
        QTest::newRow("template does not parse")
            << u"invoices/INV1001.pdf"_s << QByteArray("<report><text>") << u"invferncask.rep:1:"_s;
        QTest::newRow("invoices folder is a file")
            << u"invoices"_s << QByteArray() << u"invoices is a file, not a folder."_s;
    }

    void failedExport()
    {
        QFETCH(QString, blocking);
        QFETCH(QByteArray, templateText);
        QFETCH(QString, message);
        fillWorkedInvoice();
        if (!templateText.isEmpty())
            m_app->addFile(u"invferncask.rep"_s, templateText);
        const QByteArray old = "kept byte for byte\n";
        if (blocking == u"invoices")
            QVERIFY(QDir(m_app->path(blocking)).removeRecursively());
        m_app->addFile(blocking, old);
        const bool oldInvoice = blocking != u"invoices";
        if (oldInvoice)
            print({Yes, Yes, Ok});
        else
            print({Yes, Ok});
        const QList<Message> shown = m_app->messages.takeShown();
        QCOMPARE(shown.size(), oldInvoice ? 3 : 2);
        QVERIFY2(shown.last().text.contains(message), qPrintable(shown.last().text));
        QCOMPARE(shown.last().buttons, Message::Buttons::Ok);
        QCOMPARE(contents(m_app->path(blocking)), old);
        QCOMPARE(m_app->stored(u"InvoiceNumber"_s), u"1001"_s);
        QCOMPARE(m_app->text(u"txtBalance"_s), u"23.19"_s);
        QVERIFY(m_app->shell.opened.isEmpty());
        QCOMPARE(QDir(m_app->path(u"invoices"_s)).entryList(QDir::Files).size(), blocking == u"invoices" ? 0 : 1);
    }

    // Every way of starting to print tidies the box being edited first, so
    // the window and the document carry the same figures whichever was taken.
    void everyRouteTidiesFirst_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("box"); // typed last, the cursor left in it
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("printed");
        QTest::newRow("button clicked") << u"click"_s << u"txtUnitPrice(0)"_s << u"1.005"_s << u"PTOTAL"_s << u"3.56"_s;
        QTest::newRow("Alt+P, price") << u"alt+p"_s << u"txtUnitPrice(0)"_s << u"1.005"_s << u"PTOTAL"_s << u"3.56"_s;
        QTest::newRow("Alt+P, received") << u"alt+p"_s << u"txtReceived"_s << u"1500"_s << u"PRECEIVED"_s
                                         << u"1,500.00"_s;
        QTest::newRow("Invoice, Sale") << u"menu"_s << u"txtUnitPrice(0)"_s << u"1.005"_s << u"PUNITPRICE1"_s
                                       << u"1.01"_s;
        QTest::newRow("Ctrl+Tab, Alt+V") << u"preview"_s << u"txtUnitPrice(0)"_s << u"1.005"_s << u"PUNITPRICE1"_s
                                         << u"1.01"_s;
    }
    void everyRouteTidiesFirst()
    {
        QFETCH(QString, route);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, parameter);
        QFETCH(QString, printed);
        m_user->enter(u"txtCustomerDetails(0)"_s, u"Harbour Cafe"_s);
        m_user->enter(u"txtQty(0)"_s, u"3"_s);
        m_user->enter(u"txtDescription(0)"_s, u"Tea"_s);
        m_user->enter(u"txtUnitPrice(0)"_s, u"1"_s);
        m_user->type(box, typed);
        if (route == u"preview")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QWidget *focus = QApplication::focusWidget();
        if (route != u"preview")
            m_app->messages.expect(No);
        if (route == u"click")
            QTest::mouseClick(m_app->control(u"cmdPreview"_s), Qt::LeftButton);
        else if (route == u"menu")
            m_app->control<QAction>(u"mnuInvoiceSale"_s)->trigger();
        else
            QTest::keyClick(focus, route == u"preview" ? Qt::Key_V : Qt::Key_P, Qt::AltModifier);
        // An access key presses its button a moment later, as the eye can follow.
        QTRY_COMPARE(m_app->report.exports.size(), 1);
        m_app->messages.takeShown();
        QString sent;
        for (const auto &[name, value] : m_app->report.parameters)
            if (name == parameter)
                sent = value;
        QCOMPARE(sent, printed);
        if (box == u"txtUnitPrice(0)")
            QCOMPARE(m_user->text(box), u"1.01"_s);
    }

    // A figure too large for the totals leaves the earlier totals shown;
    // such an invoice is refused with one message, with or without e-invoicing.
    void figuresThatDoNotAddUpAreRefused_data()
    {
        QTest::addColumn<bool>("einvoicing");
        QTest::newRow("plain") << false;
        QTest::newRow("e-invoicing on") << true;
    }
    void figuresThatDoNotAddUpAreRefused()
    {
        QFETCH(bool, einvoicing);
        QSettings(m_app->storeFile(), QSettings::IniFormat).setValue(u"EInvoice/Enabled"_s, einvoicing ? 1 : 0);
        m_user->enter(u"txtQty(0)"_s, u"1"_s);
        m_user->enter(u"txtUnitPrice(0)"_s, u"100"_s);
        m_app->messages.expect(Ok);
        m_user->type(u"txtSH"_s, u"999999999999999"_s);
        QCOMPARE(m_app->messages.takeShown().size(), 1); // the calculator's "Overflow"
        m_app->messages.expect(Ok);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
        QTRY_COMPARE(m_app->messages.pending(), 0);
        const QList<Message> shown = m_app->messages.takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(u"do not add up (Overflow)"_s), qPrintable(shown[0].text));
        QVERIFY(m_app->report.exports.isEmpty());
        QCOMPARE(m_app->stored(u"InvoiceNumber"_s), u"1001"_s);
        QVERIFY(!QFile::exists(invoicePath()));
    }

    // A logo that cannot be read: the invoice is written without it, then
    // one message names the file.
    void unreadableLogoIsReported()
    {
        const QString logo = m_app->path(u"shop front.jpg"_s);
        m_app->addFile(u"shop front.jpg"_s, "not a picture");
        m_app->window().txtLogo->setText(logo);
        fillWorkedInvoice();
        print({No, Ok});
        const QList<Message> shown = m_app->messages.takeShown();
        QCOMPARE(shown.size(), 2);
        QVERIFY(QFile::exists(invoicePath()));
        QVERIFY2(shown[1].text.startsWith(u"INV1001.pdf was written without a picture:\r\nthe picture "_s + logo),
                 qPrintable(shown[1].text));
    }

    // The template preview: the invoice's values, "TEMPLATE" as the number.
    void preview()
    {
        fillWorkedInvoice();
        m_app->addFile(u"viewtemplate.pdf"_s, "an older preview");
        QTest::mouseClick(m_app->control<QTabBar>(u"tab1"_s), Qt::LeftButton, {},
                          m_app->control<QTabBar>(u"tab1"_s)->tabRect(1).center());
        QTest::mouseClick(m_app->control(u"cmdView"_s), Qt::LeftButton);
        const QString path = m_app->path(u"viewtemplate.pdf"_s);
        QCOMPARE(m_app->shell.opened, QStringList{path});
        const QString text = pdfText(path);
        QVERIFY2(text.contains(u"TEMPLATE"_s) && text.contains(u"Harbour Cafe"_s) && text.contains(u"23.19"_s),
                 qPrintable(text));
        QVERIFY(!text.contains(u"1001"_s));
        QCOMPARE(m_app->stored(u"InvoiceNumber"_s), u"1001"_s);
        QCOMPARE(m_app->text(u"txtBalance"_s), u"23.19"_s);
    }

    // What the other desktop commands open or show.
    void desktopCommands()
    {
        m_app->messages.expect(Ok);
        m_app->control<QAction>(u"mnuHelpHelp"_s)->trigger();
        const Message help = m_app->messages.takeShown().value(0);
        QCOMPARE(help.text, u"Click on a heading to get help."_s);
        QCOMPARE(help.title, u"Help"_s);

        m_app->control<QAction>(u"mnuInvoiceViewAll"_s)->trigger();
        m_app->control<QAction>(u"mnuHelpSupport"_s)->trigger();
        QCOMPARE(m_app->shell.opened,
                 (QStringList{m_app->path(u"invoices"_s), u"https://%1/contact.asp"_s.arg(BuildInfo::WebsiteHost())}));

        m_app->shell.result = ShellResult::NoAssociation;
        m_app->messages.expect(Ok);
        m_app->control<QAction>(u"mnuInvoiceViewAll"_s)->trigger();
        QCOMPARE(m_app->messages.takeShown().value(0).text, u"No application associated with filename extension"_s);
    }

    // The rate as the invoice prints it: exact, in its shortest form; "0"
    // whenever tax is not charged, whatever rate is stored.
    void taxValue_data()
    {
        QTest::addColumn<int>("taxCharge");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("sent");
        QTest::newRow("2.3 exactly") << 1 << u"2.3"_s << u"2.3"_s;
        QTest::newRow("whole rate") << 1 << u"20.00"_s << u"20"_s;
        QTest::newRow("cents") << 1 << u"8.25"_s << u"8.25"_s;
        QTest::newRow("tax not charged") << 0 << u"17.5"_s << u"0"_s;
    }

    void taxValue()
    {
        QFETCH(int, taxCharge);
        QFETCH(QString, rate);
        QFETCH(QString, sent);
        InvoiceValues invoice;
        invoice.taxCharge = taxCharge;
        invoice.taxValue = NumericAmount(rate);
        const auto parameters = InvoiceParameters(invoice, false, {}, {});
        QCOMPARE(parameters[InvoiceParameterNames().indexOf(u"PTAXVALUE"_s)].second, sent);
    }
};

QTEST_MAIN(PrintInvoiceTest)
#include "tst_printinvoice.moc"
