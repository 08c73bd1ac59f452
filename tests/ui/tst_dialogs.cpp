// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrytest.h"

#include "platform/buildinfo.h"
#include "ui/clicklabel.h"
#include "ui/frmabout.h"

#include <QAccessible>
#include "ui/frminvoicereset.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>

using ui::ClickLabel;
using ui::frmAbout;
using ui::frmInvoiceReset;

namespace BuildInfo = platform::BuildInfo;
using platform::Message;

using namespace Qt::StringLiterals;

namespace {
const QString Footer = u"Enter Company / Tax registration or extra company details or extra message."_s;
}

class DialogsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_app;
    std::unique_ptr<EntryDriver> m_user;

    void start(const QString &taxCharge = u"1"_s)
    {
        m_user.reset();
        m_app = std::make_unique<WindowFixture>();
        m_app->store(u"Init"_s, u"1"_s);
        m_app->store(u"Template"_s, u"invferncask.rep"_s);
        m_app->store(u"InvoiceNumber"_s, u"1001"_s);
        m_app->store(u"TaxName"_s, u"TAX"_s);
        m_app->store(u"TaxValue"_s, u"5"_s);
        m_app->store(u"TaxCharge"_s, taxCharge);
        QVERIFY(m_app->start());
        m_user = std::make_unique<EntryDriver>(*m_app);
        QVERIFY(m_user->activate());
    }

    void click(const QString &name)
    {
        QWidget *control = m_app->control(name);
        QVERIFY2(control, qPrintable(name));
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(4, control->height() / 2));
    }

    void showSettingsPage()
    {
        auto *tabs = m_app->control<QTabBar>(u"tab1"_s);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    }

private slots:
    void init() { start(); }
    void cleanup()
    {
        QCOMPARE(m_app->messages.pending(), 0);
        QCOMPARE(m_app->dialogs.pending(), 0);
        m_user.reset();
        m_app.reset();
    }

    // What the user types or pastes, ticks and clicks, and what is left.
    void resetDialog_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("messages"); // shown in order; a question is answered Yes or No
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<bool>("stillOpen");
        QTest::newRow("leading zeros") << u"007"_s << u""_s << false << u"cmdReset"_s << QStringList{} << u"7"_s
                                       << false << false;
        QTest::newRow("letters and signs") << u"1a-2+ "_s << u""_s << false << u"cmdReset"_s << QStringList{}
                                           << u"12"_s << false << false;
        QTest::newRow("emptied") << u"\b"_s << u""_s << false << u"cmdReset"_s
                                 << QStringList{u"Enter invoice number"_s} << u"1001"_s << false << true;
        QTest::newRow("delete Yes") << u"5"_s << u""_s << true << u"cmdReset"_s
                                    << QStringList{u"Yes:Delete all invoices in invoice folder?"_s} << u"5"_s << true
                                    << false;
        QTest::newRow("delete No") << u"5"_s << u""_s << true << u"cmdReset"_s
                                   << QStringList{u"No:Delete all invoices in invoice folder?"_s} << u"5"_s << false
                                   << false;
        QTest::newRow("cancel after ticking") << u"5"_s << u""_s << true << u"cmdCancel"_s << QStringList{}
                                              << u"1001"_s << false << false;
        QTest::newRow("pasted letters") << u""_s << u"12a"_s << true << u"cmdReset"_s
                                        << QStringList{u"Type mismatch"_s} << u"1001"_s << false << true;
        QTest::newRow("pasted beyond 32 bits") << u""_s << u"2147483648"_s << true << u"cmdReset"_s
                                               << QStringList{u"Overflow"_s} << u"1001"_s << false << true;
        QTest::newRow("largest number") << u""_s << u"2147483647"_s << false << u"cmdReset"_s << QStringList{}
                                        << u"2147483647"_s << false << false;
    }

    void resetDialog()
    {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(bool, tick);
        QFETCH(QString, button);
        QFETCH(QStringList, messages);
        QFETCH(QString, stored);
        QFETCH(bool, deleted);
        QFETCH(bool, stillOpen);
        QVERIFY(QDir().mkpath(m_app->path(u"invoices/old.pdf"_s))); // a folder, not an invoice
        for (const QString &name : {u"invoices/INV1.pdf"_s, u"invoices/INV2.PDF"_s, u"invoices/notes.txt"_s})
            m_app->addFile(name, "kept?");
        m_user->enter(u"txtCustomerDetails(0)"_s, u"Harbour Cafe"_s);
        for (const QString &message : messages)
            m_app->messages.expect(message.startsWith(u"No:") ? Message::Answer::No
                                   : message.startsWith(u"Yes:") ? Message::Answer::Yes
                                                                 : Message::Answer::Ok);

        bool open = false;
        m_app->dialogs.expect([&](QDialog &dialog) {
            auto &reset = static_cast<frmInvoiceReset &>(dialog);
            QCOMPARE(reset.windowTitle(), u"Reset Invoice Number"_s);
            QTRY_COMPARE(reset.txtInvoiceNumber->selectedText(), u"1001"_s);
            QTest::keyClicks(reset.txtInvoiceNumber, typed);
            if (!pasted.isEmpty())
                reset.txtInvoiceNumber->setText(pasted);
            if (tick)
                QTest::mouseClick(reset.chkDelete, Qt::LeftButton, {}, QPoint(6, 10));
            QTest::mouseClick(reset.findChild<QPushButton *>(button), Qt::LeftButton);
            open = reset.isVisible();
        });
        click(u"cmdInvoiceReset"_s);

        QStringList shown;
        for (const Message &message : m_app->messages.takeShown())
            shown << message.text;
        for (QString &message : messages)
            message.remove(QRegularExpression(u"^(Yes|No):"_s));
        QCOMPARE(shown, messages);
        QCOMPARE(open, stillOpen);
        QCOMPARE(m_app->stored(u"InvoiceNumber"_s), stored);
        const bool stores = stored != u"1001";
        QCOMPARE(m_app->text(u"txtCustomerDetails(0)"_s), stores ? u""_s : u"Harbour Cafe"_s);
        QCOMPARE(m_app->control<ClickLabel>(u"lblNumber"_s)->caption(), u"NO. "_s + stored);
        const QStringList left = QDir(m_app->path(u"invoices"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QCOMPARE(left, deleted ? QStringList({u"notes.txt"_s, u"old.pdf"_s})
                               : QStringList({u"INV1.pdf"_s, u"INV2.PDF"_s, u"notes.txt"_s, u"old.pdf"_s}));
    }

    // Enter and Escape belong to neither button; View Invoices opens the folder.
    void resetDialogKeysAndMenu()
    {
        bool open = false;
        m_app->dialogs.expect([&](QDialog &dialog) {
            auto &reset = static_cast<frmInvoiceReset &>(dialog);
            QTest::keyClicks(reset.txtInvoiceNumber, u"9"_s);
            QTest::keyClick(&reset, Qt::Key_Return);
            QTest::keyClick(&reset, Qt::Key_Escape);
            reset.mnuViewInvoices->trigger();
            open = reset.isVisible();
        });
        click(u"cmdInvoiceReset"_s);
        QVERIFY(open);
        QCOMPARE(m_app->stored(u"InvoiceNumber"_s), u"1001"_s);
        QCOMPARE(m_app->shell.opened, QStringList{m_app->path(u"invoices"_s)});
    }

    // Every clickable label: the banner and number open the reset dialog,
    // and all of them show the hand.
    void clickableLabels()
    {
        for (const QString &name : {u"Label26"_s, u"lblNumber"_s}) {
            QString title;
            m_app->dialogs.expect([&](QDialog &dialog) { title = dialog.windowTitle(); });
            click(name);
            QCOMPARE(title, u"Reset Invoice Number"_s);
        }
        QStringList labels = {u"Label26"_s, u"lblNumber"_s};
        for (int i = 0; i < 31; ++i)
            labels << u"lblHeading(%1)"_s.arg(i);
        for (const QString &name : labels)
            QVERIFY2(m_app->control(name)->cursor().shape() == Qt::PointingHandCursor, qPrintable(name));
        QVERIFY(m_app->control(u"txtQty(0)"_s)->cursor().shape() != Qt::PointingHandCursor);
    }

    void fieldHelp_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("taxCharge");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        // A heading of each page and kind; the help text of a heading is
        // shown as it is, line breaks included.
        const std::tuple<int, QString, QString> rows[] = {
            {0, u"Customer Details"_s, u"Enter the customer details/address/tel no etc"_s},
            {1, u"QTY"_s, u"Enter the sales item quantity.\r\nThe invoice line will become active once a valid number is entered."_s},
            {10, u"+TAX@5%"_s, u"This is a calculated tax value."_s},
            {15, u"Balance"_s, u"This a calculated total + surcharge2 - received value."_s},
            {22, u"Charge Tax on Shipping && Handling / Carriage"_s,
             u"Check if sales tax is charged on Shipping & Handling / Carriage or uncheck if sales tax is not charged on Shipping & Handling / Carriage."_s},
            {30, u"Footer Line 3"_s, Footer},
        };
        for (const auto &[i, title, text] : rows)
            QTest::addRow("%d %s", i, qPrintable(title)) << i << u"1"_s << title << text;
        QTest::newRow("10 without tax") << 10 << u"0"_s << u"NO TAX"_s << u"This is a calculated tax value."_s;
    }

    void fieldHelp()
    {
        QFETCH(int, index);
        QFETCH(QString, taxCharge);
        QFETCH(QString, title);
        QFETCH(QString, text);
        if (taxCharge != u"1")
            start(taxCharge);
        if (index >= 16)
            showSettingsPage();
        m_app->messages.expect(Message::Answer::Ok);
        click(u"lblHeading(%1)"_s.arg(index));
        const QList<Message> shown = m_app->messages.takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, title);
        QCOMPARE(shown[0].text, text);
        QCOMPARE(shown[0].buttons, Message::Buttons::Ok);
        QCOMPARE(shown[0].icon, Message::Icon::None);
    }

    void aboutBox_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }

    void aboutBox()
    {
        QFETCH(int, key);
        bool closed = false;
        m_app->dialogs.expect([&](QDialog &dialog) {
            auto &about = static_cast<frmAbout &>(dialog);
            QCOMPARE(about.windowTitle(), u"About Tallyquill"_s);
            QCOMPARE(about.lblTitle->text(), u"Tallyquill"_s);
            QCOMPARE(about.lblDescription->text(), u"Visit:\r\n%1\r\n\r\n"_s.arg(BuildInfo::WebsiteHost()));
            QVERIFY(!about.picIcon->pixmap().isNull());
            // The empty notice is left out of what a screen reader meets.
            QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(&about);
            QVERIFY(spoken->childCount() > 0);
            for (int i = 0; i < spoken->childCount(); ++i)
                QVERIFY(spoken->child(i)->object() != about.lblDisclaimer);
            QTest::keyClick(&about, Qt::Key(key));
            closed = !about.isVisible();
        });
        m_app->control<QAction>(u"mnuHelpAbout"_s)->trigger();
        QVERIFY(closed);
    }
};

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
