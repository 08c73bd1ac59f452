// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrytest.h"

#include "app/modmain.h"
#include "ui/clicklabel.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>

using platform::Message;

using namespace Qt::StringLiterals;

class InvoiceSheetTest : public WindowTest
{
    Q_OBJECT

    QString caption(const QString &label) const { return m_app->control<ui::ClickLabel>(label)->caption(); }

    void verifyBlank()
    {
        for (int i = 0; i < 6; ++i)
            QCOMPARE(m_user->text(u"txtCustomerDetails(%1)"_s.arg(i)), QString());
        for (int i = 0; i < 12; ++i)
            for (const QString &box : {u"txtQty"_s, u"txtDescription"_s, u"txtUnitPrice"_s, u"txtTotal"_s})
                QCOMPARE(m_user->text(u"%1(%2)"_s.arg(box).arg(i)), QString());
        for (const QString &box : {u"txtSurcharge1"_s, u"txtDiscount"_s, u"txtSH"_s, u"txtReceived"_s})
            QCOMPARE(m_user->text(box), u"0.00"_s);
        QCOMPARE(m_app->control<QComboBox>(u"cmbPaymentMethod"_s)->currentText(), u"CASH"_s);
    }

private slots:
    void init() { QVERIFY(startWindow(m_app, m_user, {})); }
    void cleanup() { finish(); }

    void startsWithABlankInvoice()
    {
        m_user.reset();
        m_app = std::make_unique<WindowFixture>();
        QVERIFY(m_app->start());
        m_user = std::make_unique<EntryDriver>(*m_app);
        verifyBlank();
        for (const QString &box : {u"txtSubTotal"_s, u"txtTax"_s, u"txtTTotal"_s, u"txtBalance"_s})
            QCOMPARE(m_user->text(box), u"0.00"_s);
        // The first run's settings, shown in the window.
        QCOMPARE(caption(u"lblNumber"_s), u"NO. 1001"_s);
        QCOMPARE(m_user->text(u"txtInvoiceNumber"_s), u"1001"_s);
        QCOMPARE(caption(u"lblHeading(10)"_s), u"+TAX@5%"_s);
        for (int i = 1; i <= 6; ++i)
            QCOMPARE(m_user->text(u"txtCompanyDetails(%1)"_s.arg(i - 1)), m_app->stored(u"Address%1"_s.arg(i)));
        QCOMPARE(m_user->text(u"txtLogo"_s), m_app->path(u"logo.jpg"_s));
    }

    void taxSettingsShapeTheSheet_data()
    {
        QTest::addColumn<QString>("charge");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("shipping");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("rateBox");
        QTest::addColumn<bool>("lineTax");
        QTest::newRow("charged") << u"1"_s << u"17.50"_s << u"0"_s << u"+VAT@17.5%"_s << u"17.5"_s << true;
        QTest::newRow("not charged") << u"0"_s << u"17.50"_s << u"1"_s << u"NO TAX"_s << u"17.5"_s << false;
        QTest::newRow("any other value is not charged") << u"2"_s << u"10.00"_s << u"1"_s << u"NO TAX"_s << u"10"_s
                                                        << false;
        QTest::newRow("decimal comma in the store") << u"1"_s << u"21,00"_s << u"0"_s << u"+VAT@21%"_s << u"21"_s << true;
    }
    void taxSettingsShapeTheSheet()
    {
        QFETCH(QString, charge);
        QFETCH(QString, rate);
        QFETCH(QString, shipping);
        QFETCH(QString, heading);
        QFETCH(QString, rateBox);
        QFETCH(bool, lineTax);
        QVERIFY(startWindow(m_app, m_user,
                            {{u"TaxCharge"_s, charge}, {u"TaxName"_s, u"VAT"_s}, {u"TaxValue"_s, rate},
                             {u"SHTax"_s, shipping}}));
        QCOMPARE(caption(u"lblHeading(10)"_s), heading);
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
        QCOMPARE(m_user->text(u"txtTax"_s) != u"0.00"_s, lineTax);
    }

    // New invoice: the answers given in turn, and the sheet and number after.
    void newCommand_data()
    {
        QTest::addColumn<bool>("viaMenu");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QString>("numberAfter"); // empty: the sheet is kept
        const int Yes = int(Message::Answer::Yes), No = int(Message::Answer::No);
        const QString create = u"Create new invoice?"_s, increment = u"Increment invoice number?"_s;
        QTest::newRow("no changes nothing") << false << u"1001"_s << QList<int>{No} << QStringList{create} << QString();
        QTest::newRow("yes, same number") << false << u"1001"_s << QList<int>{Yes, No} << QStringList{create, increment}
                                          << u"1001"_s;
        QTest::newRow("yes, next number") << false << u"1001"_s << QList<int>{Yes, Yes} << QStringList{create, increment}
                                          << u"1002"_s;
        QTest::newRow("menu, next number") << true << u"1001"_s << QList<int>{Yes, Yes} << QStringList{create, increment}
                                           << u"1002"_s;
        QTest::newRow("largest number") << false << u"2147483647"_s << QList<int>{Yes, Yes, int(Message::Answer::Ok)}
                                        << QStringList{create, increment, u"Overflow"_s} << u"2147483647"_s;
    }
    void newCommand()
    {
        QFETCH(bool, viaMenu);
        QFETCH(QString, number);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, asked);
        QFETCH(QString, numberAfter);
        QVERIFY(startWindow(m_app, m_user, {{u"InvoiceNumber"_s, number}}));
        m_user->enter({u"txtCustomerDetails(0)"_s, u"Harbour Cafe"_s, u"txtQty(0)"_s, u"2"_s, u"txtDescription(0)"_s,
                       u"Chairs"_s, u"txtUnitPrice(0)"_s, u"45"_s, u"txtQty(11)"_s, u"1"_s, u"txtUnitPrice(11)"_s, u"15"_s,
                       u"txtSurcharge1"_s, u"10"_s, u"txtSurcharge2"_s, u"3"_s, u"txtReceived"_s, u"50"_s});
        m_app->control<QComboBox>(u"cmbPaymentMethod"_s)->setCurrentIndex(3);
        const QString balance = m_user->text(u"txtBalance"_s);
        for (int answer : answers)
            m_app->messages.expect(Message::Answer(answer));
        if (viaMenu)
            m_app->window().mnuInvoiceNew->trigger();
        else
            QTest::mouseClick(m_app->control<QPushButton>(u"cmdNew"_s), Qt::LeftButton);

        const QList<Message> shown = m_app->messages.takeShown();
        QCOMPARE(shown.size(), asked.size());
        for (qsizetype i = 0; i < shown.size(); ++i) {
            QCOMPARE(shown[i].text, asked[i]);
            if (answers[i] != int(Message::Answer::Ok)) {
                QCOMPARE(shown[i].buttons, Message::Buttons::YesNo);
                QCOMPARE(shown[i].defaultButton, Message::Answer::Yes);
            }
        }
        const QString shownNumber = numberAfter.isEmpty() ? number : numberAfter;
        QCOMPARE(caption(u"lblNumber"_s), u"NO. "_s + shownNumber);
        QCOMPARE(m_app->stored(u"InvoiceNumber"_s), shownNumber);
        if (numberAfter.isEmpty()) {
            QCOMPARE(m_user->text(u"txtCustomerDetails(0)"_s), u"Harbour Cafe"_s);
            QCOMPARE(m_user->text(u"txtBalance"_s), balance);
            return;
        }
        verifyBlank();
        // The second surcharge carries over and counts on the new sheet (no tax in this store).
        QCOMPARE(m_user->text(u"txtSurcharge2"_s), u"3.00"_s);
        QCOMPARE(m_user->text(u"txtBalance"_s), u"0.00"_s);
        m_user->enter(u"txtQty(0)"_s, u"1"_s);
        m_user->enter(u"txtUnitPrice(0)"_s, u"100"_s);
        QCOMPARE(m_user->text(u"txtBalance"_s), u"103.00"_s);
    }

    // Choosing the tab that is already selected shows its page again.
    void reselectedTabShowsItsPage()
    {
        ui::frmMain2 &window = m_app->window();
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
        m_user->enter(u"txtCustomerDetails(0)"_s, u"Harbour Cafe"_s);
        ui::frmMain2 &window = m_app->window();
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
