// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrytest.h"

#include "app/modmain.h"
#include "ui/clicklabel.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QPushButton>

using platform::Message;

using namespace Qt::StringLiterals;

struct TypingRow
{
    QString box, keys, whileTyping, afterLeaving;
};
// numberAfter empty: the sheet is kept.
struct NewRow
{
    bool viaMenu;
    QString number;
    QList<int> answers;
    QStringList asked;
    QString numberAfter;
};
Q_DECLARE_METATYPE(TypingRow)
Q_DECLARE_METATYPE(NewRow)

class InvoiceEntryTest : public WindowTest
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
    // The first run's settings: tax of 5 % on every line.
    void init() { QVERIFY(startFirstRun()); }
    void cleanup() { finish(); }

    // One row per kind of box, typed and left ("\x02" is Home); the rules are the sheet's.
    void typing_data()
    {
        QTest::addColumn<TypingRow>("row");
        const QString price = u"txtUnitPrice(0)"_s;
        QTest::newRow("quantity, not tidied") << TypingRow{u"txtQty(0)"_s, u"1a2b ,-3."_s, u"123."_s, u"123."_s};
        QTest::newRow("percentage capped") << TypingRow{u"txtDiscount"_s, u"150"_s, u"100"_s, u"100.00"_s};
        QTest::newRow("money, letters and comma") << TypingRow{u"txtSH"_s, u"1,5x00"_s, u"1500"_s, u"1,500.00"_s};
        QTest::newRow("price lone minus removed") << TypingRow{price, u"-5"_s, u"5"_s, u"5.00"_s};
        QTest::newRow("price letters, minus in front") << TypingRow{price, u"9e9\x02-"_s, u"-99"_s, u"-99.00"_s};
    }
    void typing()
    {
        QFETCH(TypingRow, row);
        m_user->type(row.box, QString());
        for (const QChar c : row.keys) {
            if (c == u'\x02')
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
            else
                QTest::keyClicks(QApplication::focusWidget(), QString(c));
        }
        QCOMPARE(m_user->text(row.box), row.whileTyping);
        m_user->leave();
        QCOMPARE(m_user->text(row.box), row.afterLeaving);
    }

    // The last line's total follows the price; a context menu is no leaving, Tab tidies.
    void lineTotalFollowsThePrice()
    {
        m_user->type(u"txtQty(11)"_s, u"3"_s);
        m_user->type(u"txtUnitPrice(11)"_s, u"1.005"_s);
        QCOMPARE(m_user->text(u"txtTotal(11)"_s), u"3.02"_s);
        QWidget *box = m_app->control(u"txtUnitPrice(11)"_s);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(4, 4), box->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(box, &menu);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QApplication::activePopupWidget()->close();
        QCOMPARE(m_user->text(u"txtUnitPrice(11)"_s), u"1.005"_s);
        m_user->leave();
        QCOMPARE(m_user->text(u"txtUnitPrice(11)"_s), u"1.01"_s);
        QCOMPARE(m_user->text(u"txtTotal(11)"_s), u"3.03"_s);
    }

    // Clearing a quantity clears its line; clearing a price by Delete keeps the quantity.
    void clearing_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("key"); // as the platform sends it, with its control character
        QTest::addColumn<QString>("qtyAndTotal");
        QTest::newRow("quantity") << u"txtQty(0)"_s << u"\b"_s << QString();
        QTest::newRow("price") << u"txtUnitPrice(0)"_s << u"\x7f"_s << u"2 0.00"_s;
    }
    void clearing()
    {
        QFETCH(QString, box);
        QFETCH(QString, key);
        QFETCH(QString, qtyAndTotal);
        m_user->enter({u"txtQty(0)"_s, u"2"_s, u"txtUnitPrice(0)"_s, u"10"_s, u"txtQty(1)"_s, u"1"_s,
                       u"txtUnitPrice(1)"_s, u"5"_s});
        m_user->type(box, QString());
        QTest::sendKeyEvent(QTest::Click, m_app->control(box), key == u"\b" ? Qt::Key_Backspace : Qt::Key_Delete, key,
                            {});
        QCOMPARE(m_user->text(u"txtQty(0)"_s), qtyAndTotal.section(u' ', 0, 0));
        QCOMPARE(m_user->text(u"txtTotal(0)"_s), qtyAndTotal.section(u' ', 1, 1));
        QCOMPARE(m_user->text(u"txtSubTotal"_s), u"5.00"_s);
        m_user->leave();
        QCOMPARE(m_user->text(u"txtUnitPrice(0)"_s), QString());
    }

    // The release of another button than the left re-totals as a click does.
    void lineTaxBoxRetotalsOnRelease()
    {
        m_user->enter({u"txtQty(0)"_s, u"1"_s, u"txtUnitPrice(0)"_s, u"100"_s});
        check(u"chkTax(0)"_s)->setChecked(false); // some other way: no re-total until the release
        QCOMPARE(m_user->text(u"txtTax"_s), u"5.00"_s);
        click(u"chkTax(0)"_s, Qt::RightButton);
        QCOMPARE(m_user->text(u"txtTax"_s), u"0.00"_s);
    }

    // The key that makes a line overflow is reported and kept; the figures stay.
    void overflow()
    {
        m_user->enter(u"txtUnitPrice(0)"_s, u"2"_s);
        m_user->type(u"txtQty(0)"_s, u"100000000000000"_s);
        m_app->messages.expect(Message::Answer::Ok);
        QTest::keyClicks(m_app->control(u"txtQty(0)"_s), u"0"_s);
        QCOMPARE(m_app->messages.takeShown().value(0).text, u"Overflow"_s);
        QCOMPARE(m_user->text(u"txtQty(0)"_s), u"1000000000000000"_s);
        QCOMPARE(m_user->text(u"txtSubTotal"_s), u"200,000,000,000,000.00"_s);
    }

    // A first run shows a blank sheet, shaped by the first run's settings.
    void startsWithABlankInvoice()
    {
        verifyBlank();
        QCOMPARE(caption(u"lblNumber"_s), u"NO. 1001"_s);
        QCOMPARE(m_user->text(u"txtTaxValue"_s), u"5"_s);
        for (int i = 0; i < 12; ++i)
            QVERIFY(check(u"chkTax(%1)"_s.arg(i))->isChecked());
        for (int i = 0; i < 6; ++i)
            QCOMPARE(m_user->text(u"txtCompanyDetails(%1)"_s.arg(i)), m_app->stored(u"Address%1"_s.arg(i + 1)));
    }

    // New invoice: the answers given in turn, and the sheet and number after.
    void newCommand_data()
    {
        QTest::addColumn<NewRow>("row");
        const int Yes = int(Message::Answer::Yes), No = int(Message::Answer::No), Ok = int(Message::Answer::Ok);
        const QString create = u"Create new invoice?"_s, increment = u"Increment invoice number?"_s;
        const QString largest = u"2147483647"_s;
        QTest::newRow("no changes nothing") << NewRow{false, u"1001"_s, {No}, {create}, QString()};
        QTest::newRow("yes, same number") << NewRow{false, u"1001"_s, {Yes, No}, {create, increment}, u"1001"_s};
        QTest::newRow("menu, next number") << NewRow{true, u"1001"_s, {Yes, Yes}, {create, increment}, u"1002"_s};
        QTest::newRow("largest number") << NewRow{
            false, largest, {Yes, Yes, Ok}, {create, increment, u"Overflow"_s}, largest};
    }
    void newCommand()
    {
        QFETCH(NewRow, row);
        QVERIFY(start({{u"InvoiceNumber"_s, row.number}}));
        m_user->enter({u"txtCustomerDetails(0)"_s, u"Harbour Cafe"_s, u"txtQty(0)"_s, u"2"_s, u"txtDescription(0)"_s,
                       u"Chairs"_s, u"txtUnitPrice(0)"_s, u"45"_s, u"txtQty(11)"_s, u"1"_s, u"txtUnitPrice(11)"_s,
                       u"15"_s, u"txtSurcharge1"_s, u"10"_s, u"txtSurcharge2"_s, u"3"_s, u"txtReceived"_s, u"50"_s});
        m_app->control<QComboBox>(u"cmbPaymentMethod"_s)->setCurrentIndex(3);
        for (int answer : row.answers)
            m_app->messages.expect(Message::Answer(answer));
        if (row.viaMenu)
            m_app->window().mnuInvoiceNew->trigger();
        else
            QTest::mouseClick(m_app->control<QPushButton>(u"cmdNew"_s), Qt::LeftButton);

        QStringList asked;
        for (const Message &message : m_app->messages.takeShown())
            asked << message.text;
        QCOMPARE(asked, row.asked);
        const QString shownNumber = row.numberAfter.isEmpty() ? row.number : row.numberAfter;
        QCOMPARE(caption(u"lblNumber"_s), u"NO. "_s + shownNumber);
        QCOMPARE(m_app->stored(u"InvoiceNumber"_s), shownNumber);
        if (row.numberAfter.isEmpty()) {
            QCOMPARE(m_user->text(u"txtCustomerDetails(0)"_s), u"Harbour Cafe"_s);
            return;
        }
        verifyBlank();
        // The second surcharge carries over and counts on the new sheet (no tax in this store).
        QCOMPARE(m_user->text(u"txtSurcharge2"_s), u"3.00"_s);
        m_user->enter({u"txtQty(0)"_s, u"1"_s, u"txtUnitPrice(0)"_s, u"100"_s});
        QCOMPARE(m_user->text(u"txtBalance"_s), u"103.00"_s);
    }

    // File > Exit closes the window, asking nothing even with a sheet filled in.
    void fileExitCloses()
    {
        m_user->enter(u"txtCustomerDetails(0)"_s, u"Harbour Cafe"_s);
        m_app->window().mnuFileExit->trigger();
        QTRY_VERIFY(!modMain::ExistingMainWindow());
    }

    // The worked invoice, typed key by key.
    void workedInvoice()
    {
        QVERIFY(start({{u"TaxCharge"_s, u"1"_s},
                       {u"TaxName"_s, u"VAT"_s},
                       {u"TaxValue"_s, u"17.50"_s},
                       {u"SHTax"_s, u"1"_s},
                       {u"InvoiceNumber"_s, u"1001"_s}}));
        m_user->enter({u"txtCustomerDetails(0)"_s, u"Harbour Cafe"_s, u"txtCustomerDetails(1)"_s, u"12 Quay Street"_s,
                       u"txtCustomerDetails(3)"_s, u"Attn: M. Okafor"_s, u"txtQty(0)"_s, u"2"_s, u"txtDescription(0)"_s,
                       u"Oak board"_s, u"txtUnitPrice(0)"_s, u"10"_s, u"txtQty(1)"_s, u"1"_s, u"txtDescription(1)"_s,
                       u"Delivery note pad"_s, u"txtUnitPrice(1)"_s, u"5.50"_s});
        click(u"chkTax(1)"_s);
        m_user->enter({u"txtQty(2)"_s, u"3"_s, u"txtDescription(2)"_s, u"Brass hinges"_s, u"txtUnitPrice(2)"_s,
                       u"1.99"_s, u"txtSurcharge1"_s, u"10"_s, u"txtDiscount"_s, u"5"_s, u"txtSH"_s, u"4"_s,
                       u"txtSurcharge2"_s, u"2"_s, u"txtReceived"_s, u"20"_s});
        QCOMPARE(caption(u"lblHeading(10)"_s), u"+VAT@17.5%"_s);
        QCOMPARE(m_user->text(u"txtTax"_s), u"5.45"_s);
        QCOMPARE(m_user->text(u"txtBalance"_s), u"23.19"_s);

        // scripts/screenshots asks for pictures of the window as it stands now.
        const QString shots = qEnvironmentVariable("QUILLBOOK_SCREENSHOTS");
        if (!shots.isEmpty()) {
            ui::frmMain2 &window = m_app->window();
            QVERIFY(window.grab().save(QDir(shots).filePath(u"invoice-page.png"_s)));
            showPage(1);
            QVERIFY(window.grab().save(QDir(shots).filePath(u"settings-page.png"_s)));
        }
    }
};

QTEST_MAIN(InvoiceEntryTest)
#include "tst_invoiceentry.moc"
