// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrytest.h"

#include "platform/buildinfo.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLocale>
#include <QProcess>

using platform::Message;
using namespace Qt::StringLiterals;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString pdfText(const QString &path)
{
    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_s, {u"-layout"_s, path, u"-"_s});
    pdftotext.waitForFinished(30000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

// "Y", "N" and "O" answer a message Yes, No and Ok.
Message::Answer answer(QChar letter)
{
    return letter == u'Y' ? Message::Answer::Yes : letter == u'N' ? Message::Answer::No : Message::Answer::Ok;
}

// The tax name is tidied on the Settings page, and stored as tidied.
const QString Company = u"CompanyName=Fern & Cask Ltd;Address6=United Kingdom;Fax=0117 496 0001;Currency=GBP;"
                        "TaxName=V+AT;TaxValue=17.5;TaxCharge=1;SHTax=1;Footer3=Registered in England;"
                        "InvoiceNumber=1001;Logo="_s;

} // namespace

class PrintInvoiceTest : public WindowTest
{
    Q_OBJECT

    // Three lines, a thank-you line on line 12 and every adjustment; the
    // amount received is typed last and the cursor left in its box.
    void fillWorkedInvoice()
    {
        const QString typed = u"txtCustomerDetails(0)=Harbour Cafe;txtCustomerDetails(5)=BS1 4DJ;txtQty(0)=2;"
                              "txtDescription(0)=Oak chair;txtUnitPrice(0)=10;txtQty(1)=1;txtDescription(1)=Delivery "
                              "note;txtUnitPrice(1)=5.5;txtQty(2)=3;txtDescription(2)=Beeswax polish;txtUnitPrice(2)="
                              "1.99;txtQty(11)=1;txtDescription(11)=Thank-you card;txtUnitPrice(11)=0;txtSurcharge1=10;"
                              "txtDiscount=5;txtSH=4;txtSurcharge2=2"_s;
        for (const QString &box : typed.split(u';'))
            m_user->enter(box.section(u'=', 0, 0), box.section(u'=', 1));
        QTest::mouseClick(m_app->control(u"chkTax(1)"_s), Qt::LeftButton);
        m_app->control<QComboBox>(u"cmbPaymentMethod"_s)->setCurrentIndex(3);
        m_user->type(u"txtReceived"_s, u"20"_s);
        QCOMPARE(m_user->text(u"txtBalance"_s), u"23.19"_s);
    }

    QString invoicePath() const { return m_app->path(u"invoices/INV1001.pdf"_s); }

private slots:
    void init()
    {
        StoredSettings settings;
        for (const QString &pair : Company.split(u';'))
            settings.append({pair.section(u'=', 0, 0), pair.section(u'=', 1)});
        QVERIFY(start(settings));
        m_app->addFile(u"invferncask.rep"_s, contents(QStringLiteral(QUILLBOOK_APP_DIR "/invferncask.rep")));
        QVERIFY(QDir().mkpath(m_app->path(u"invoices"_s)));
    }
    void cleanup() { finish(); }

    // Typed, printed by Alt+P (which tidies the box left open) through the
    // real engine into a folder deleted since the start; then the template
    // preview, with "TEMPLATE" as the number, leaves the invoice as it was.
    void workedInvoice()
    {
        fillWorkedInvoice();
        QVERIFY(QDir(m_app->path(u"invoices"_s)).removeRecursively());
        m_app->messages.expect(Message::Answer::No);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
        QTRY_COMPARE(m_app->messages.pending(), 0); // an access key presses its button a moment later
        QMap<QString, QString> sent;
        for (const auto &[key, value] : m_app->report.parameters)
            sent[key] = value;
        const QString expected
            = u"PCOMPANYDETAILS6=United Kingdom|PCUSTOMERDETAILS6=BS1 4DJ|PUNITPRICE2=5.50|PDESCRIPTION12=Thank-you "
              "card|PSURCHARGE2=0.85|PDISCOUNT=1.73|PRECEIVED=20.00|PPAYMENTMETHOD=CARD|PFOOTER3=Registered in "
              "England|PCURRENCY=GBP|PFAX=0117 496 0001|PTAXNAME=VAT@17.5%|PSURCHARGEVALUE2=2.00|PDISCOUNTPERCENT=5.00"_s;
        for (const QString &pair : expected.split(u'|'))
            QCOMPARE(pair.section(u'=', 0, 0) + u'=' + sent.value(pair.section(u'=', 0, 0), u"(not sent)"_s), pair);
        QCOMPARE(sent[u"PLOGO"_s], m_app->path(u"logo.jpg"_s));
        QCOMPARE(m_app->shell.opened, QStringList{invoicePath()});
        const QString date = QLocale::system().toString(m_app->clock.day, QLocale::LongFormat);
        QString text = pdfText(invoicePath());
        for (const QString &words : {u"Harbour Cafe"_s, u"Oak chair"_s, u"Delivery note"_s, u"5.97"_s, u"32.89"_s,
                                     u"5.45"_s, u"42.34"_s, u"23.19"_s, u"1001"_s, date})
            QVERIFY2(text.contains(words), qPrintable(words + u" is missing from:\n"_s + text));

        showPage(1);
        QTest::mouseClick(m_app->control(u"cmdView"_s), Qt::LeftButton);
        QCOMPARE(m_app->shell.opened.value(1), m_app->path(u"viewtemplate.pdf"_s));
        text = pdfText(m_app->path(u"viewtemplate.pdf"_s));
        QVERIFY2(text.contains(u"TEMPLATE"_s) && text.contains(u"23.19"_s) && !text.contains(u"1001"_s),
                 qPrintable(text));
        QCOMPARE(m_app->stored(u"InvoiceNumber"_s), u"1001"_s);
        QCOMPARE(m_app->text(u"txtBalance"_s), u"23.19"_s);
    }

    // Invoice > Sale: the questions before printing and what their answers
    // leave; a print that fails loses nothing: the old file, the number, the sheet.
    void outcome_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QStringList>("messages"); // a part of each message shown, in order
        QTest::addColumn<bool>("written");         // and opened
        const QString advance = u"Incement invoice number?\r\n(this will clear current invoice information)"_s;
        const QString exists = u"Invoice INV1001 already exists.Overwrite?"_s;
        QTest::newRow("number advanced") << u""_s << u"Y"_s << QStringList{advance} << true;
        QTest::newRow("no customer, stop")
            << u"no customer"_s << u"N"_s << QStringList{u"There are no customer details\r\n\r\nContinue?"_s} << false;
        QTest::newRow("old invoice kept") << u"old invoice"_s << u"NN"_s << QStringList{advance, exists} << false;
        QTest::newRow("old invoice replaced") << u"old invoice"_s << u"NY"_s << QStringList{advance, exists} << true;
        QTest::newRow("template does not parse")
            << u"bad template"_s << u"YYO"_s << QStringList{advance, exists, u"invferncask.rep:1:"_s} << false;
        QTest::newRow("unreadable logo") << u"bad logo"_s << u"NO"_s
                                         << QStringList{advance, u"written without a picture"_s} << true;
        QTest::newRow("overflow") << u"overflow"_s << u"OO"_s
                                  << QStringList{u"Overflow"_s, u"do not add up (Overflow)"_s} << false;
    }

    void outcome()
    {
        QFETCH(QString, setup);
        QFETCH(QString, answers);
        QFETCH(QStringList, messages);
        QFETCH(bool, written);
        const bool advanced = answers == u"Y";
        ui::frmMain2 &w = m_app->window();
        fillWorkedInvoice();
        for (QChar letter : answers)
            m_app->messages.expect(answer(letter));
        const QByteArray old = "an invoice printed last week\n";
        const bool planted = setup == u"old invoice" || setup == u"bad template";
        if (planted)
            m_app->addFile(u"invoices/INV1001.pdf"_s, old);
        if (setup == u"bad template")
            m_app->addFile(u"invferncask.rep"_s, "<report><text>");
        if (setup == u"no customer")
            for (int k : {0, 5})
                w.txtCustomerDetails[k]->clear();
        if (setup == u"bad logo") {
            m_app->addFile(u"shop front.jpg"_s, "not a picture");
            w.txtLogo->setText(m_app->path(u"shop front.jpg"_s));
        }
        if (setup == u"overflow")
            m_user->type(u"txtSH"_s, u"999999999999999"_s); // the calculator tells of it at once
        bool blankWhenOpened = false;
        m_app->shell.onOpen = [&] { blankWhenOpened = m_app->text(u"txtQty(0)"_s).isEmpty(); };
        m_app->control<QAction>(u"mnuInvoiceSale"_s)->trigger();

        const QList<Message> shown = m_app->messages.takeShown();
        QCOMPARE(shown.size(), messages.size());
        for (qsizetype i = 0; i < shown.size(); ++i) {
            QVERIFY2(shown[i].text.contains(messages[i]), qPrintable(shown[i].text));
            QCOMPARE(shown[i].buttons, answers[i] == u'O' ? Message::Buttons::Ok : Message::Buttons::YesNo);
        }
        QCOMPARE(m_app->shell.opened, written ? QStringList{invoicePath()} : QStringList());
        QVERIFY(!written || contents(invoicePath()).startsWith("%PDF-"));
        if (planted)
            QCOMPARE(contents(invoicePath()) == old, !written);
        QCOMPARE(QDir(m_app->path(u"invoices"_s)).entryList(QDir::Files),
                 written || planted ? QStringList{u"INV1001.pdf"_s} : QStringList());
        QCOMPARE(m_app->stored(u"InvoiceNumber"_s), advanced ? u"1002"_s : u"1001"_s);
        QCOMPARE(m_app->text(u"txtInvoiceNumber"_s), advanced ? u"1002"_s : u"1001"_s);
        QCOMPARE(blankWhenOpened, advanced);
        QCOMPARE(m_app->text(u"txtBalance"_s) == u"0.00"_s, advanced);
    }

    // What the other desktop commands open or show.
    void desktopCommands()
    {
        m_app->messages.expect(Message::Answer::Ok);
        m_app->control<QAction>(u"mnuHelpHelp"_s)->trigger();
        QCOMPARE(m_app->messages.takeShown().value(0).title, u"Help"_s);
        m_app->control<QAction>(u"mnuInvoiceViewAll"_s)->trigger();
        m_app->control<QAction>(u"mnuHelpSupport"_s)->trigger();
        QCOMPARE(m_app->shell.opened,
                 (QStringList{m_app->path(u"invoices"_s),
                              u"https://%1/contact.asp"_s.arg(platform::BuildInfo::WebsiteHost())}));
    }
};

QTEST_MAIN(PrintInvoiceTest)
#include "tst_printinvoice.moc"
