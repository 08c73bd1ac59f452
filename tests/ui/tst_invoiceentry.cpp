// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrytest.h"

#include "ui/clicklabel.h"

#include <QCheckBox>
#include <QDir>
#include <QTabBar>
#include <QLineEdit>
#include <QContextMenuEvent>

using ui::ClickLabel;
using ui::frmMain2;

using platform::Message;

using namespace Qt::StringLiterals;

class InvoiceEntryTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_app;
    std::unique_ptr<EntryDriver> m_user;

private slots:
    void init()
    {
        m_app = std::make_unique<WindowFixture>();
        QVERIFY(m_app->start());
        m_user = std::make_unique<EntryDriver>(*m_app);
        QVERIFY(m_user->activate());
    }
    void cleanup()
    {
        QCOMPARE(m_app->messages.pending(), 0);
        m_user.reset();
        m_app.reset();
    }

    // What each number box lets through, typed into its selected text.
    void keyFilters_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("qty digits and point") << u"txtQty(0)"_s << u"12.5"_s << u"12.5"_s;
        QTest::newRow("qty letters") << u"txtQty(0)"_s << u"1a2b"_s << u"12"_s;
        QTest::newRow("qty blank comma minus") << u"txtQty(0)"_s << u"1 ,-2"_s << u"12"_s;
        QTest::newRow("qty lone point stays") << u"txtQty(0)"_s << u"."_s << u"."_s;
        QTest::newRow("surcharge letters") << u"txtSurcharge1"_s << u"x"_s << u"0.00"_s;
        QTest::newRow("surcharge minus") << u"txtSurcharge1"_s << u"-"_s << u"0.00"_s;
        QTest::newRow("discount digits") << u"txtDiscount"_s << u"7.5"_s << u"7.5"_s;
        QTest::newRow("shipping comma") << u"txtSH"_s << u"1,5"_s << u"15"_s;
        QTest::newRow("received blank") << u"txtReceived"_s << u"2 0"_s << u"20"_s;
        QTest::newRow("adjustment second point") << u"txtSurcharge2"_s << u"1.2."_s << u"0.00"_s;
        QTest::newRow("price lone minus removed") << u"txtUnitPrice(0)"_s << u"-5"_s << u"5"_s;
        QTest::newRow("price letters") << u"txtUnitPrice(0)"_s << u"9e9"_s << u"99"_s;
        QTest::newRow("price second point") << u"txtUnitPrice(0)"_s << u"1.2."_s << u""_s;
        QTest::newRow("description anything") << u"txtDescription(0)"_s << u"Oak, 2-ply!"_s << u"Oak, 2-ply!"_s;
    }
    void keyFilters()
    {
        QFETCH(QString, box);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        m_user->type(box, keys);
        QCOMPARE(m_user->text(box), expected);
    }

    void minusTypedInFrontOfAPrice()
    {
        m_user->type(u"txtQty(0)"_s, u"2"_s);
        m_user->type(u"txtUnitPrice(0)"_s, u"5"_s);
        QTest::keyClick(m_app->control(u"txtUnitPrice(0)"_s), Qt::Key_Home);
        QTest::keyClick(m_app->control(u"txtUnitPrice(0)"_s), Qt::Key_Minus);
        QCOMPARE(m_user->text(u"txtUnitPrice(0)"_s), u"-5"_s);
        QCOMPARE(m_user->text(u"txtTotal(0)"_s), u"-10.00"_s);
        QCOMPARE(m_user->text(u"txtBalance"_s), u"-10.50"_s); // 5 % tax on the credit
    }

    void pasteShortcutsDoNothingInNumberBoxes()
    {
        m_user->type(u"txtDescription(0)"_s, u"12"_s);
        QTest::keyClick(m_app->control(u"txtDescription(0)"_s), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(m_app->control(u"txtDescription(0)"_s), Qt::Key_C, Qt::ControlModifier);
        m_user->type(u"txtQty(0)"_s, u"3"_s);
        QTest::keyClick(m_app->control(u"txtQty(0)"_s), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(m_user->text(u"txtQty(0)"_s), u"3"_s);
    }

    void pastedTextIsJudgedByTheNumberRules_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("expected");
        QTest::newRow("price with letters") << u"txtUnitPrice(0)"_s << u"12abc"_s << u""_s;
        QTest::newRow("percentage too large") << u"txtDiscount"_s << u"1,000"_s << u"100"_s;
    }
    void pastedTextIsJudgedByTheNumberRules()
    {
        QFETCH(QString, box);
        QFETCH(QString, pasted);
        QFETCH(QString, expected);
        auto *edit = m_app->control<QLineEdit>(box);
        edit->selectAll();
        edit->insert(pasted); // what a paste from the context menu does
        QCOMPARE(edit->text(), expected);
    }

    // Line totals as quantity and price are typed, and after leaving the price.
    void lineTotals_data()
    {
        QTest::addColumn<QString>("qty");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("totalWhileTyping");
        QTest::addColumn<QString>("tidyPrice");
        QTest::addColumn<QString>("totalAfterLeaving");
        QTest::newRow("tidy rounds and the total follows") << u"3"_s << u"1.005"_s << u"3.02"_s << u"1.01"_s
                                                           << u"3.03"_s;
        QTest::newRow("quantity without price") << u"4"_s << QString() << u"0.00"_s << QString() << u"0.00"_s;
    }
    void lineTotals()
    {
        QFETCH(QString, qty);
        QFETCH(QString, price);
        QFETCH(QString, totalWhileTyping);
        QFETCH(QString, tidyPrice);
        QFETCH(QString, totalAfterLeaving);
        // The last line: the one a loop bound off by one would miss.
        m_user->type(u"txtQty(11)"_s, qty);
        m_user->type(u"txtUnitPrice(11)"_s, price);
        QCOMPARE(m_user->text(u"txtUnitPrice(11)"_s), price);
        QCOMPARE(m_user->text(u"txtTotal(11)"_s), totalWhileTyping);
        m_user->leave();
        QCOMPARE(m_user->text(u"txtUnitPrice(11)"_s), tidyPrice);
        QCOMPARE(m_user->text(u"txtTotal(11)"_s), totalAfterLeaving);
        QCOMPARE(m_user->text(u"txtSubTotal"_s), totalAfterLeaving);
        QCOMPARE(m_user->text(u"txtQty(11)"_s), qty); // quantities are never reformatted
    }

    // A context menu over the box is no leaving of it: nothing is tidied.
    void contextMenuLeavesThePriceAsTyped()
    {
        m_user->type(u"txtUnitPrice(0)"_s, u"1.005"_s);
        QWidget *box = m_app->control(u"txtUnitPrice(0)"_s);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(4, 4), box->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(box, &menu);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QApplication::activePopupWidget()->close();
        QCOMPARE(m_user->text(u"txtUnitPrice(0)"_s), u"1.005"_s);
    }

    void clearingAQuantityClearsItsLine()
    {
        m_user->enter(u"txtQty(0)"_s, u"2"_s);
        m_user->enter(u"txtUnitPrice(0)"_s, u"10"_s);
        m_user->enter(u"txtQty(1)"_s, u"1"_s);
        m_user->enter(u"txtUnitPrice(1)"_s, u"5"_s);
        QCOMPARE(m_user->text(u"txtSubTotal"_s), u"25.00"_s);
        m_user->type(u"txtQty(0)"_s, QString());
        QTest::keyClick(m_app->control(u"txtQty(0)"_s), Qt::Key_Backspace);
        QCOMPARE(m_user->text(u"txtQty(0)"_s), QString());
        QCOMPARE(m_user->text(u"txtUnitPrice(0)"_s), QString());
        QCOMPARE(m_user->text(u"txtTotal(0)"_s), QString());
        QCOMPARE(m_user->text(u"txtSubTotal"_s), u"5.00"_s);
    }

    void clearingAPriceLeavesTheQuantity()
    {
        m_user->enter(u"txtQty(2)"_s, u"3"_s);
        m_user->enter(u"txtUnitPrice(2)"_s, u"4"_s);
        m_user->type(u"txtUnitPrice(2)"_s, QString());
        QTest::keyClick(m_app->control(u"txtUnitPrice(2)"_s), Qt::Key_Delete);
        QCOMPARE(m_user->text(u"txtUnitPrice(2)"_s), QString());
        QCOMPARE(m_user->text(u"txtQty(2)"_s), u"3"_s);
        QCOMPARE(m_user->text(u"txtTotal(2)"_s), u"0.00"_s);
        m_user->leave();
        QCOMPARE(m_user->text(u"txtUnitPrice(2)"_s), QString()); // an empty price stays empty
    }

    // Adjustment boxes: what typing leaves, and what leaving the box makes of it.
    void adjustments_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("whileTyping");
        QTest::addColumn<QString>("afterLeaving");
        QTest::newRow("discount capped") << u"txtDiscount"_s << u"150"_s << u"100"_s << u"100.00"_s;
        QTest::newRow("second surcharge capped") << u"txtSurcharge2"_s << u"101"_s << u"100"_s << u"100.00"_s;
        QTest::newRow("money is not capped") << u"txtSH"_s << u"1500"_s << u"1500"_s << u"1,500.00"_s;
        QTest::newRow("deleting puts zero back") << u"txtReceived"_s << u"\b"_s << u"0.00"_s << u"0.00"_s;
        QTest::newRow("money rounds half up") << u"txtReceived"_s << u"0.575"_s << u"0.575"_s << u"0.58"_s;
    }
    void adjustments()
    {
        QFETCH(QString, box);
        QFETCH(QString, keys);
        QFETCH(QString, whileTyping);
        QFETCH(QString, afterLeaving);
        m_user->type(box, keys);
        QCOMPARE(m_user->text(box), whileTyping);
        m_user->leave();
        QCOMPARE(m_user->text(box), afterLeaving);
    }

    void tabbingIntoABoxSelectsItsText()
    {
        m_user->enter(u"txtSurcharge1"_s, u"3"_s);
        // Tab went on to the discount box, whose whole text is now selected.
        auto *discount = m_app->control<QLineEdit>(u"txtDiscount"_s);
        QCOMPARE(QApplication::focusWidget(), discount);
        QCOMPARE(discount->selectedText(), u"0.00"_s);
        QTest::keyClicks(discount, u"4"_s);
        QCOMPARE(discount->text(), u"4"_s);
    }

    void lineTaxBoxesRetotal_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("left click") << 0;
        QTest::newRow("space key") << 1;
        QTest::newRow("right button") << 2;
    }
    void lineTaxBoxesRetotal()
    {
        QFETCH(int, how);
        m_user->enter(u"txtQty(0)"_s, u"1"_s);
        m_user->enter(u"txtUnitPrice(0)"_s, u"100"_s);
        QCOMPARE(m_user->text(u"txtTax"_s), u"5.00"_s);
        auto *tax = m_app->control<QCheckBox>(u"chkTax(0)"_s);
        const QPoint centre = tax->rect().center();
        switch (how) {
        case 0:
            QTest::mouseClick(tax, Qt::LeftButton, {}, centre);
            break;
        case 1:
            tax->setFocus(Qt::TabFocusReason);
            QTest::keyClick(tax, Qt::Key_Space);
            break;
        case 2:
            // The box was changed some other way; any button's release re-totals.
            tax->setChecked(false);
            QCOMPARE(m_user->text(u"txtTax"_s), u"5.00"_s);
            QTest::mouseClick(tax, Qt::RightButton, {}, centre);
            break;
        }
        QVERIFY(!tax->isChecked());
        QCOMPARE(m_user->text(u"txtTax"_s), u"0.00"_s);
        QCOMPARE(m_user->text(u"txtTTotal"_s), u"100.00"_s);
    }

    void overflowingLineKeepsItsTotal()
    {
        m_user->enter(u"txtUnitPrice(0)"_s, u"2"_s);
        m_user->type(u"txtQty(0)"_s, u"100000000000000"_s);
        QCOMPARE(m_user->text(u"txtTotal(0)"_s), u"200,000,000,000,000.00"_s);
        m_app->messages.expect(Message::Answer::Ok);
        QTest::keyClicks(m_app->control(u"txtQty(0)"_s), u"0"_s);
        const QList<Message> shown = m_app->messages.takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, u"Overflow"_s);
        QCOMPARE(shown[0].title, u"Tallyquill"_s);
        QCOMPARE(shown[0].buttons, Message::Buttons::Ok);
        // The line keeps its last total and the totals are not recalculated.
        QCOMPARE(m_user->text(u"txtQty(0)"_s), u"1000000000000000"_s);
        QCOMPARE(m_user->text(u"txtTotal(0)"_s), u"200,000,000,000,000.00"_s);
        QCOMPARE(m_user->text(u"txtSubTotal"_s), u"200,000,000,000,000.00"_s);
    }

    void overflowingAdjustmentIsReportedOncePerRecalculation()
    {
        m_user->enter(u"txtQty(0)"_s, u"1"_s);
        m_user->enter(u"txtUnitPrice(0)"_s, u"10"_s);
        const QString totalBefore = m_user->text(u"txtTTotal"_s);
        m_user->type(u"txtSH"_s, u"99999999999999"_s);
        m_app->messages.expect(Message::Answer::Ok);
        QTest::keyClicks(m_app->control(u"txtSH"_s), u"9"_s);
        QCOMPARE(m_app->messages.takeShown().size(), 1);
        QCOMPARE(m_user->text(u"txtTTotal"_s), u"100,000,000,000,009.50"_s);
        QVERIFY(m_user->text(u"txtTTotal"_s) != totalBefore);
    }

    // The worked invoice, typed key by key.
    void workedInvoice()
    {
        m_app.reset();
        m_app = std::make_unique<WindowFixture>();
        m_app->store(u"Init"_s, u"1"_s);
        m_app->store(u"Template"_s, u"invferncask.rep"_s);
        m_app->store(u"TaxCharge"_s, u"1"_s);
        m_app->store(u"TaxName"_s, u"VAT"_s);
        m_app->store(u"TaxValue"_s, u"17.50"_s);
        m_app->store(u"SHTax"_s, u"1"_s);
        m_app->store(u"InvoiceNumber"_s, u"1001"_s);
        QVERIFY(m_app->start());
        m_user = std::make_unique<EntryDriver>(*m_app);
        QVERIFY(m_user->activate());

        m_user->enter(u"txtQty(0)"_s, u"2"_s);
        m_user->enter(u"txtDescription(0)"_s, u"Oak board"_s);
        m_user->enter(u"txtUnitPrice(0)"_s, u"10"_s);
        m_user->enter(u"txtQty(1)"_s, u"1"_s);
        m_user->enter(u"txtDescription(1)"_s, u"Delivery note pad"_s);
        m_user->enter(u"txtUnitPrice(1)"_s, u"5.50"_s);
        QTest::mouseClick(m_app->control(u"chkTax(1)"_s), Qt::LeftButton);
        m_user->enter(u"txtQty(2)"_s, u"3"_s);
        m_user->enter(u"txtUnitPrice(2)"_s, u"1.99"_s);
        m_user->enter(u"txtSurcharge1"_s, u"10"_s);
        m_user->enter(u"txtDiscount"_s, u"5"_s);
        m_user->enter(u"txtSH"_s, u"4"_s);
        m_user->enter(u"txtSurcharge2"_s, u"2"_s);
        m_user->enter(u"txtReceived"_s, u"20"_s);

        QCOMPARE(m_app->control<ClickLabel>(u"lblHeading(10)"_s)->caption(), u"+VAT@17.5%"_s);
        QCOMPARE(m_user->text(u"txtTotal(2)"_s), u"5.97"_s);
        QCOMPARE(m_user->text(u"txtSubTotal"_s), u"32.89"_s);
        QCOMPARE(m_user->text(u"txtTax"_s), u"5.45"_s);
        QCOMPARE(m_user->text(u"txtTTotal"_s), u"42.34"_s);
        QCOMPARE(m_user->text(u"txtBalance"_s), u"23.19"_s);
        QCOMPARE(m_user->text(u"txtSH"_s), u"4.00"_s);

        // scripts/screenshots asks for pictures of the window as it stands now.
        const QString shots = qEnvironmentVariable("QUILLBOOK_SCREENSHOTS");
        if (!shots.isEmpty()) {
            frmMain2 &window = m_app->window();
            m_user->enter(u"txtCustomerDetails(0)"_s, u"Harbour Cafe"_s);
            m_user->enter(u"txtCustomerDetails(1)"_s, u"12 Quay Street"_s);
            m_user->enter(u"txtCustomerDetails(3)"_s, u"Attn: M. Okafor"_s);
            m_user->enter(u"txtDescription(2)"_s, u"Brass hinges"_s);
            QVERIFY(window.grab().save(QDir(shots).filePath(u"invoice-page.png"_s)));
            QTest::mouseClick(window.tab1, Qt::LeftButton, {}, window.tab1->tabRect(1).center());
            QVERIFY(window.grab().save(QDir(shots).filePath(u"settings-page.png"_s)));
        }
    }
};

QTEST_MAIN(InvoiceEntryTest)
#include "tst_invoiceentry.moc"
