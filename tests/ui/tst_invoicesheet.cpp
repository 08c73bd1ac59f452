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

struct TaxRow
{
    QString charge, rate, shipping, heading, rateBox;
}; // as stored, and as shown
// numberAfter empty: the sheet is kept.
struct NewRow
{
    bool viaMenu;
    QString number;
    QList<int> answers;
    QStringList asked;
    QString numberAfter;
};
Q_DECLARE_METATYPE(TaxRow)
Q_DECLARE_METATYPE(NewRow)

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
    void init() { QVERIFY(start({})); }
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
        QTest::addColumn<TaxRow>("row");
        QTest::newRow("charged") << TaxRow{u"1"_s, u"17.50"_s, u"0"_s, u"+VAT@17.5%"_s, u"17.5"_s};
        QTest::newRow("not charged") << TaxRow{u"0"_s, u"17.50"_s, u"1"_s, u"NO TAX"_s, u"17.5"_s};
        QTest::newRow("any other value is not charged") << TaxRow{u"2"_s, u"10.00"_s, u"1"_s, u"NO TAX"_s, u"10"_s};
        QTest::newRow("decimal comma in the store") << TaxRow{u"1"_s, u"21,00"_s, u"0"_s, u"+VAT@21%"_s, u"21"_s};
    }
    void taxSettingsShapeTheSheet()
    {
        QFETCH(TaxRow, row);
        const bool lineTax = row.charge == u"1"_s;
        QVERIFY(start({{u"TaxCharge"_s, row.charge},
                       {u"TaxName"_s, u"VAT"_s},
                       {u"TaxValue"_s, row.rate},
                       {u"SHTax"_s, row.shipping}}));
        QCOMPARE(caption(u"lblHeading(10)"_s), row.heading);
        QCOMPARE(m_user->text(u"txtTaxValue"_s), row.rateBox);
        QCOMPARE(check(u"chkChargeTax"_s)->isChecked(), lineTax);
        QCOMPARE(check(u"chkSHTax"_s)->isChecked(), row.shipping == u"1"_s);
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(check(u"chkTax(%1)"_s.arg(i))->isEnabled(), lineTax);
            QCOMPARE(check(u"chkTax(%1)"_s.arg(i))->isChecked(), lineTax);
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
        QTest::addColumn<NewRow>("row");
        const int Yes = int(Message::Answer::Yes), No = int(Message::Answer::No);
        const QString create = u"Create new invoice?"_s, increment = u"Increment invoice number?"_s;
        QTest::newRow("no changes nothing") << NewRow{false, u"1001"_s, {No}, {create}, QString()};
        QTest::newRow("yes, same number") << NewRow{false, u"1001"_s, {Yes, No}, {create, increment}, u"1001"_s};
        QTest::newRow("yes, next number") << NewRow{false, u"1001"_s, {Yes, Yes}, {create, increment}, u"1002"_s};
        QTest::newRow("menu, next number") << NewRow{true, u"1001"_s, {Yes, Yes}, {create, increment}, u"1002"_s};
        QTest::newRow("largest number") << NewRow{false,
                                                  u"2147483647"_s,
                                                  {Yes, Yes, int(Message::Answer::Ok)},
                                                  {create, increment, u"Overflow"_s},
                                                  u"2147483647"_s};
    }
    void newCommand()
    {
        QFETCH(NewRow, row);
        QVERIFY(start({{u"InvoiceNumber"_s, row.number}}));
        m_user->enter({u"txtCustomerDetails(0)"_s, u"Harbour Cafe"_s, u"txtQty(0)"_s, u"2"_s, u"txtDescription(0)"_s,
                       u"Chairs"_s, u"txtUnitPrice(0)"_s, u"45"_s, u"txtQty(11)"_s, u"1"_s, u"txtUnitPrice(11)"_s,
                       u"15"_s, u"txtSurcharge1"_s, u"10"_s, u"txtSurcharge2"_s, u"3"_s, u"txtReceived"_s, u"50"_s});
        m_app->control<QComboBox>(u"cmbPaymentMethod"_s)->setCurrentIndex(3);
        const QString balance = m_user->text(u"txtBalance"_s);
        for (int answer : row.answers)
            m_app->messages.expect(Message::Answer(answer));
        if (row.viaMenu)
            m_app->window().mnuInvoiceNew->trigger();
        else
            QTest::mouseClick(m_app->control<QPushButton>(u"cmdNew"_s), Qt::LeftButton);

        const QList<Message> shown = m_app->messages.takeShown();
        QCOMPARE(shown.size(), row.asked.size());
        for (qsizetype i = 0; i < shown.size(); ++i) {
            QCOMPARE(shown[i].text, row.asked[i]);
            if (row.answers[i] != int(Message::Answer::Ok)) {
                QCOMPARE(shown[i].buttons, Message::Buttons::YesNo);
                QCOMPARE(shown[i].defaultButton, Message::Answer::Yes);
            }
        }
        const QString shownNumber = row.numberAfter.isEmpty() ? row.number : row.numberAfter;
        QCOMPARE(caption(u"lblNumber"_s), u"NO. "_s + shownNumber);
        QCOMPARE(m_app->stored(u"InvoiceNumber"_s), shownNumber);
        if (row.numberAfter.isEmpty()) {
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
        m_app->window().picInvoice->hide();
        showPage(0);
        QVERIFY(m_app->window().picInvoice->isVisible());
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
