// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrytest.h"

#include "app/modmain.h"
#include "ui/clicklabel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

using ui::ClickLabel;
using ui::frmMain2;

using platform::Message;

using namespace Qt::StringLiterals;

class InvoiceSheetTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_app;
    std::unique_ptr<EntryDriver> m_user;

    // Starts the program over a store that already holds these settings.
    void startWith(const QList<std::pair<QString, QString>> &settings)
    {
        m_user.reset();
        m_app = std::make_unique<WindowFixture>();
        m_app->store(u"Init"_s, u"1"_s);
        m_app->store(u"Template"_s, u"invferncask.rep"_s);
        for (const auto &[key, text] : settings)
            m_app->store(key, text);
        QVERIFY(m_app->start());
        m_user = std::make_unique<EntryDriver>(*m_app);
        QVERIFY(m_user->activate());
    }

    QString heading() const { return m_app->control<ClickLabel>(u"lblHeading(10)"_s)->caption(); }
    QString number() const { return m_app->control<ClickLabel>(u"lblNumber"_s)->caption(); }

    void fillSomeInvoice()
    {
        m_user->enter(u"txtCustomerDetails(0)"_s, u"Harbour Cafe"_s);
        m_user->enter(u"txtQty(0)"_s, u"2"_s);
        m_user->enter(u"txtDescription(0)"_s, u"Chairs"_s);
        m_user->enter(u"txtUnitPrice(0)"_s, u"45"_s);
        m_user->enter(u"txtQty(11)"_s, u"1"_s);
        m_user->enter(u"txtDescription(11)"_s, u"Delivery"_s);
        m_user->enter(u"txtUnitPrice(11)"_s, u"15"_s);
        m_user->enter(u"txtSurcharge1"_s, u"10"_s);
        m_user->enter(u"txtSurcharge2"_s, u"3"_s);
        m_user->enter(u"txtReceived"_s, u"50"_s);
        m_app->control<QComboBox>(u"cmbPaymentMethod"_s)->setCurrentIndex(3);
    }

    void verifyBlank()
    {
        for (int i = 0; i < 6; ++i)
            QCOMPARE(m_user->text(u"txtCustomerDetails(%1)"_s.arg(i)), QString());
        for (int i = 0; i < 12; ++i) {
            for (const QString &box : {u"txtQty"_s, u"txtDescription"_s, u"txtUnitPrice"_s, u"txtTotal"_s})
                QCOMPARE(m_user->text(u"%1(%2)"_s.arg(box).arg(i)), QString());
        }
        for (const QString &box : {u"txtSurcharge1"_s, u"txtDiscount"_s, u"txtSH"_s, u"txtReceived"_s})
            QCOMPARE(m_user->text(box), u"0.00"_s);
        QCOMPARE(m_app->control<QComboBox>(u"cmbPaymentMethod"_s)->currentText(), u"CASH"_s);
    }

private slots:
    void init() { startWith({}); }
    void cleanup()
    {
        QCOMPARE(m_app->messages.pending(), 0);
        m_user.reset();
        m_app.reset();
    }

    void startsWithABlankInvoice()
    {
        m_user.reset();
        m_app = std::make_unique<WindowFixture>();
        QVERIFY(m_app->start());
        m_user = std::make_unique<EntryDriver>(*m_app);
        verifyBlank();
        for (const QString &box : {u"txtSubTotal"_s, u"txtTax"_s, u"txtTTotal"_s, u"txtBalance"_s})
            QCOMPARE(m_user->text(box), u"0.00"_s);
        // The first-run settings, copied into the window.
        QCOMPARE(number(), u"NO. 1001"_s);
        QCOMPARE(m_user->text(u"txtInvoiceNumber"_s), u"1001"_s);
        QCOMPARE(heading(), u"+TAX@5%"_s);
        QCOMPARE(m_user->text(u"txtTaxValue"_s), u"5"_s);
        QCOMPARE(m_user->text(u"txtTaxName"_s), u"TAX"_s);
        QCOMPARE(m_user->text(u"txtCurrency"_s), u"$ US Dollars"_s);
        QCOMPARE(m_user->text(u"txtCompanyName"_s), u"Company Name"_s);
        QCOMPARE(m_user->text(u"txtCompanyDetails(5)"_s), u"Address 6"_s);
        QCOMPARE(m_user->text(u"txtFooter(2)"_s), u"example: Tax/VAT Registration Number"_s);
        QCOMPARE(m_user->text(u"txtLogo"_s), m_app->path(u"logo.jpg"_s));
        QVERIFY(m_app->control<QCheckBox>(u"chkChargeTax"_s)->isChecked());
        QVERIFY(!m_app->control<QCheckBox>(u"chkSHTax"_s)->isChecked());
        for (int i = 0; i < 12; ++i) {
            auto *tax = m_app->control<QCheckBox>(u"chkTax(%1)"_s.arg(i));
            QVERIFY(tax->isEnabled());
            QVERIFY(tax->isChecked());
        }
    }

    void taxSettingsShapeTheSheet_data()
    {
        QTest::addColumn<QString>("charge");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("shipping");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("rateBox");
        QTest::addColumn<bool>("lineTax");
        QTest::newRow("VAT at seventeen and a half") << u"1"_s << u"VAT"_s << u"17.50"_s << u"0"_s
                                                     << u"+VAT@17.5%"_s << u"17.5"_s << true;
        QTest::newRow("not charged") << u"0"_s << u"VAT"_s << u"17.50"_s << u"1"_s << u"NO TAX"_s << u"17.5"_s
                                     << false;
        QTest::newRow("any other value is not charged") << u"2"_s << u"GST"_s << u"10.00"_s << u"1"_s
                                                        << u"NO TAX"_s << u"10"_s << false;
        QTest::newRow("decimal comma in the store") << u"1"_s << u"IVA"_s << u"21,00"_s << u"0"_s << u"+IVA@21%"_s
                                                    << u"21"_s << true;
    }
    void taxSettingsShapeTheSheet()
    {
        QFETCH(QString, charge);
        QFETCH(QString, name);
        QFETCH(QString, rate);
        QFETCH(QString, shipping);
        QFETCH(QString, heading);
        QFETCH(QString, rateBox);
        QFETCH(bool, lineTax);
        startWith({{u"TaxCharge"_s, charge}, {u"TaxName"_s, name}, {u"TaxValue"_s, rate}, {u"SHTax"_s, shipping}});
        QCOMPARE(this->heading(), heading);
        QCOMPARE(m_user->text(u"txtTaxValue"_s), rateBox);
        QCOMPARE(m_app->control<QCheckBox>(u"chkChargeTax"_s)->isChecked(), lineTax);
        QCOMPARE(m_app->control<QCheckBox>(u"chkSHTax"_s)->isChecked(), shipping == u"1"_s);
        for (int i = 0; i < 12; ++i) {
            auto *tax = m_app->control<QCheckBox>(u"chkTax(%1)"_s.arg(i));
            QCOMPARE(tax->isEnabled(), lineTax);
            QCOMPARE(tax->isChecked(), lineTax);
        }
        // Shipping is taxed only where tax is charged at all.
        m_user->enter(u"txtQty(0)"_s, u"1"_s);
        m_user->enter(u"txtUnitPrice(0)"_s, u"100"_s);
        m_user->enter(u"txtSH"_s, u"10"_s);
        if (!lineTax)
            QCOMPARE(m_user->text(u"txtTax"_s), u"0.00"_s);
        else
            QVERIFY(m_user->text(u"txtTax"_s) != u"0.00"_s);
    }

    void newCommand_data()
    {
        QTest::addColumn<bool>("viaMenu");
        QTest::addColumn<QList<int>>("answers"); // Yes = 1, No = 0
        QTest::addColumn<bool>("blanked");
        QTest::addColumn<QString>("number");
        QTest::newRow("no changes nothing") << false << QList<int>{0} << false << u"1001"_s;
        QTest::newRow("yes, same number") << false << QList<int>{1, 0} << true << u"1001"_s;
        QTest::newRow("yes, next number") << false << QList<int>{1, 1} << true << u"1002"_s;
        QTest::newRow("menu, next number") << true << QList<int>{1, 1} << true << u"1002"_s;
    }
    void newCommand()
    {
        QFETCH(bool, viaMenu);
        QFETCH(QList<int>, answers);
        QFETCH(bool, blanked);
        QFETCH(QString, number);
        startWith({{u"InvoiceNumber"_s, u"1001"_s}});
        fillSomeInvoice();
        const QString balance = m_user->text(u"txtBalance"_s);
        for (int answer : answers)
            m_app->messages.expect(answer ? Message::Answer::Yes : Message::Answer::No);
        if (viaMenu)
            m_app->window().mnuInvoiceNew->trigger();
        else
            QTest::mouseClick(m_app->control<QPushButton>(u"cmdNew"_s), Qt::LeftButton);

        const QList<Message> shown = m_app->messages.takeShown();
        QCOMPARE(shown.size(), answers.size());
        const QStringList questions{u"Create new invoice?"_s, u"Increment invoice number?"_s};
        for (qsizetype i = 0; i < shown.size(); ++i) {
            QCOMPARE(shown[i].text, questions[i]);
            QCOMPARE(shown[i].title, u"Tallyquill"_s);
            QCOMPARE(shown[i].buttons, Message::Buttons::YesNo);
            QCOMPARE(shown[i].defaultButton, Message::Answer::Yes);
            QCOMPARE(shown[i].icon, Message::Icon::None);
        }
        if (blanked) {
            verifyBlank();
            // The second surcharge carries over and counts on the new sheet.
            QCOMPARE(m_user->text(u"txtSurcharge2"_s), u"3.00"_s);
            QCOMPARE(m_user->text(u"txtBalance"_s), u"0.00"_s);
        } else {
            QCOMPARE(m_user->text(u"txtCustomerDetails(0)"_s), u"Harbour Cafe"_s);
            QCOMPARE(m_user->text(u"txtBalance"_s), balance);
        }
        QCOMPARE(this->number(), u"NO. "_s + number);
        QCOMPARE(m_app->stored(u"InvoiceNumber"_s), number);
    }

    void secondSurchargeTakesPartInTheNextInvoice()
    {
        m_user->enter(u"txtSurcharge2"_s, u"10"_s);
        m_app->messages.expect(Message::Answer::Yes);
        m_app->messages.expect(Message::Answer::No);
        m_app->window().mnuInvoiceNew->trigger();
        m_user->enter(u"txtQty(0)"_s, u"1"_s);
        m_user->enter(u"txtUnitPrice(0)"_s, u"100"_s);
        // No tax is charged in this store: 100 plus 10 % of it.
        QCOMPARE(m_user->text(u"txtBalance"_s), u"110.00"_s);
    }

    void numberAtTheLargestValueIsReported()
    {
        startWith({{u"InvoiceNumber"_s, u"2147483647"_s}});
        m_user->enter(u"txtCustomerDetails(0)"_s, u"Someone"_s);
        m_app->messages.expect(Message::Answer::Yes);
        m_app->messages.expect(Message::Answer::Yes);
        m_app->messages.expect(Message::Answer::Ok);
        QTest::mouseClick(m_app->control<QPushButton>(u"cmdNew"_s), Qt::LeftButton);
        const QList<Message> shown = m_app->messages.takeShown();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[2].text, u"Overflow"_s);
        QCOMPARE(m_app->stored(u"InvoiceNumber"_s), u"2147483647"_s);
        // The sheet is still blanked afterwards.
        QCOMPARE(m_user->text(u"txtCustomerDetails(0)"_s), QString());
        QCOMPARE(number(), u"NO. 2147483647"_s);
    }

    void tabsSwitchPagesAndMenuEntries()
    {
        frmMain2 &window = m_app->window();
        for (int round = 0; round < 2; ++round) {
            QTest::mouseClick(window.tab1, Qt::LeftButton, {}, window.tab1->tabRect(1).center());
            QVERIFY(window.picSettings->isVisible());
            QVERIFY(!window.picInvoice->isVisible());
            QVERIFY(!window.mnuInvoiceNew->isEnabled());
            QVERIFY(!window.mnuInvoiceSale->isEnabled());
            QVERIFY(window.mnuInvoiceViewAll->isEnabled());
            QTest::mouseClick(window.tab1, Qt::LeftButton, {}, window.tab1->tabRect(0).center());
            QVERIFY(window.picInvoice->isVisible());
            QVERIFY(window.mnuInvoiceNew->isEnabled());
            QVERIFY(window.mnuInvoiceSale->isEnabled());
        }
        // Choosing the tab that is already selected shows its page again.
        window.picInvoice->hide();
        QTest::mouseClick(window.tab1, Qt::LeftButton, {}, window.tab1->tabRect(0).center());
        QVERIFY(window.picInvoice->isVisible());
    }

    void closingEndsWithoutAQuestion_data()
    {
        QTest::addColumn<bool>("viaMenu");
        QTest::newRow("close box") << false;
        QTest::newRow("File, Exit") << true;
    }
    void closingEndsWithoutAQuestion()
    {
        QFETCH(bool, viaMenu);
        fillSomeInvoice();
        frmMain2 &window = m_app->window();
        if (viaMenu)
            window.mnuFileExit->trigger();
        else
            window.close();
        QVERIFY(!window.isVisible());
        QTRY_VERIFY(!modMain::ExistingMainWindow());
        QVERIFY(!modMain::gTotals);
        QVERIFY(!modMain::gSettings);
        QVERIFY(m_app->messages.shown().isEmpty());
    }
};

QTEST_MAIN(InvoiceSheetTest)
#include "tst_invoicesheet.moc"
