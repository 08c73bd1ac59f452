// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrytest.h"

#include "platform/buildinfo.h"
#include "ui/clicklabel.h"
#include "ui/frmabout.h"
#include "ui/frminvoicereset.h"
#include "ui/modhelp.h"

#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>

using platform::Message;
using ui::frmAbout;
using ui::frmInvoiceReset;

using namespace Qt::StringLiterals;

class DialogsTest : public WindowTest
{
    Q_OBJECT

    void click(const QString &name)
    {
        QWidget *control = m_app->control(name);
        QVERIFY2(control, qPrintable(name));
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(4, control->height() / 2));
    }

private slots:
    void init()
    {
        QVERIFY(start({{u"InvoiceNumber"_s, u"1001"_s},
                       {u"TaxName"_s, u"TAX"_s},
                       {u"TaxValue"_s, u"5"_s},
                       {u"TaxCharge"_s, u"1"_s}}));
    }
    void cleanup()
    {
        QCOMPARE(m_app->dialogs.pending(), 0);
        finish();
    }

    // What the user types or pastes, ticks and clicks, and what is left; an
    // answered Ok leaves the dialog open, a Yes deletes the PDFs.
    void resetDialog_data()
    {
        QTest::addColumn<QString>("input"); // typed, or pasted after "paste:"
        QTest::addColumn<bool>("tick");
        QTest::addColumn<QString>("button");  // none: Enter, Escape and View Invoices
        QTest::addColumn<QString>("answers"); // Yes, No or Ok to each message, in order
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("stored");
        const QString reset = u"cmdReset"_s, question = u"Delete all invoices in invoice folder?"_s;
        QTest::newRow("letters, signs, leading zero")
            << u"01a-2+ "_s << false << reset << u""_s << QStringList() << u"12"_s;
        QTest::newRow("emptied") << u"\b"_s << false << reset << u"O"_s << QStringList{u"Enter invoice number"_s}
                                 << u"1001"_s;
        QTest::newRow("delete Yes") << u"5"_s << true << reset << u"Y"_s << QStringList{question} << u"5"_s;
        QTest::newRow("delete No") << u"5"_s << true << reset << u"N"_s << QStringList{question} << u"5"_s;
        QTest::newRow("cancel after ticking")
            << u"5"_s << true << u"cmdCancel"_s << u""_s << QStringList() << u"1001"_s;
        QTest::newRow("keys and menu") << u"9"_s << false << u""_s << u""_s << QStringList() << u"1001"_s;
        QTest::newRow("pasted letters") << u"paste:12a"_s << true << reset << u"O"_s << QStringList{u"Type mismatch"_s}
                                        << u"1001"_s;
        QTest::newRow("pasted beyond 32 bits")
            << u"paste:2147483648"_s << true << reset << u"O"_s << QStringList{u"Overflow"_s} << u"1001"_s;
        QTest::newRow("largest number") << u"paste:2147483647"_s << false << reset << u""_s << QStringList()
                                        << u"2147483647"_s;
    }

    void resetDialog()
    {
        QFETCH(QString, input);
        QFETCH(bool, tick);
        QFETCH(QString, button);
        QFETCH(QString, answers);
        QFETCH(QStringList, messages);
        QFETCH(QString, stored);
        QVERIFY(QDir().mkpath(m_app->path(u"invoices/old.pdf"_s))); // a folder, not an invoice
        for (const QString &name : {u"invoices/INV1.pdf"_s, u"invoices/INV2.PDF"_s, u"invoices/notes.txt"_s})
            m_app->addFile(name, "kept?");
        m_user->enter(u"txtCustomerDetails(0)"_s, u"Harbour Cafe"_s);
        for (QChar answer : answers)
            m_app->messages.expect(answer == u'Y'       ? Message::Answer::Yes
                                       : answer == u'N' ? Message::Answer::No
                                                        : Message::Answer::Ok);
        bool open = false;
        m_app->dialogs.expect([&](QDialog &dialog) {
            auto &reset = static_cast<frmInvoiceReset &>(dialog);
            QTRY_COMPARE(reset.txtInvoiceNumber->selectedText(), u"1001"_s);
            if (input.startsWith(u"paste:"))
                reset.txtInvoiceNumber->setText(input.mid(6));
            else
                QTest::keyClicks(reset.txtInvoiceNumber, input);
            if (tick)
                QTest::mouseClick(reset.chkDelete, Qt::LeftButton, {}, QPoint(6, 10));
            if (button.isEmpty()) {
                QTest::keyClick(&reset, Qt::Key_Return);
                QTest::keyClick(&reset, Qt::Key_Escape);
                reset.mnuViewInvoices->trigger();
            } else {
                QTest::mouseClick(reset.findChild<QPushButton *>(button), Qt::LeftButton);
            }
            open = reset.isVisible();
        });
        click(u"cmdInvoiceReset"_s);

        QStringList shown;
        for (const Message &message : m_app->messages.takeShown())
            shown << message.text;
        QCOMPARE(shown, messages);
        QCOMPARE(open, answers == u"O" || button.isEmpty());
        QCOMPARE(m_app->stored(u"InvoiceNumber"_s), stored);
        QCOMPARE(m_app->text(u"txtCustomerDetails(0)"_s), stored != u"1001" ? u""_s : u"Harbour Cafe"_s);
        QCOMPARE(m_app->control<ui::ClickLabel>(u"lblNumber"_s)->caption(), u"NO. "_s + stored);
        QCOMPARE(QDir(m_app->path(u"invoices"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 answers == u"Y" ? QStringList({u"notes.txt"_s, u"old.pdf"_s})
                                 : QStringList({u"INV1.pdf"_s, u"INV2.PDF"_s, u"notes.txt"_s, u"old.pdf"_s}));
        QCOMPARE(m_app->shell.opened, button.isEmpty() ? QStringList{m_app->path(u"invoices"_s)} : QStringList());
    }

    // The banner and the number open the reset dialog, a heading of either
    // page its help; every clickable label shows the hand.
    void clickableLabels()
    {
        QStringList labels = {u"Label26"_s, u"lblNumber"_s};
        for (const QString &name : labels) {
            QString title;
            m_app->dialogs.expect([&](QDialog &dialog) { title = dialog.windowTitle(); });
            click(name);
            QCOMPARE(title, u"Reset Invoice Number"_s);
        }
        for (int i = 0; i < 31; ++i)
            labels << u"lblHeading(%1)"_s.arg(i);
        for (const QString &name : labels)
            QVERIFY2(m_app->control(name)->cursor().shape() == Qt::PointingHandCursor, qPrintable(name));
        QVERIFY(m_app->control(u"txtQty(0)"_s)->cursor().shape() != Qt::PointingHandCursor);

        for (const auto &[index, title] : {std::pair{10, u"+TAX@5%"_s}, std::pair{30, u"Footer Line 3"_s}}) {
            if (index == 30)
                showPage(1);
            m_app->messages.expect(Message::Answer::Ok);
            click(u"lblHeading(%1)"_s.arg(index));
            const QList<Message> shown = m_app->messages.takeShown();
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].title, title);
            QCOMPARE(shown[0].text, ui::FieldHelpText(index));
            QCOMPARE(shown[0].buttons, Message::Buttons::Ok);
            QCOMPARE(shown[0].icon, Message::Icon::None);
        }
    }

    // Enter closes the about box; its empty notice is left out of
    // what a screen reader meets.
    void aboutBox()
    {
        bool closed = false;
        m_app->dialogs.expect([&](QDialog &dialog) {
            auto &about = static_cast<frmAbout &>(dialog);
            QCOMPARE(about.windowTitle(), u"About "_s + about.lblTitle->text());
            QCOMPARE(about.lblDescription->text(), u"Visit:\r\n%1\r\n\r\n"_s.arg(platform::BuildInfo::WebsiteHost()));
            QVERIFY(!about.picIcon->pixmap().isNull());
            QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(&about);
            QVERIFY(spoken->childCount() > 0);
            for (int i = 0; i < spoken->childCount(); ++i)
                QVERIFY(spoken->child(i)->object() != about.lblDisclaimer);
            QTest::keyClick(&about, Qt::Key_Return);
            closed = !about.isVisible();
        });
        m_app->control<QAction>(u"mnuHelpAbout"_s)->trigger();
        QVERIFY(closed);
    }
};

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
