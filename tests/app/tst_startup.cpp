// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowfixture.h"

#include "app/desktopidentity.h"
#include "app/modmain.h"
#include "settings/clssettings.h"
#include "ui/frmmain2.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTabBar>
#include <QTest>

using modMain::ProgramIcon;

using ui::frmMain2;

using platform::Message;

using namespace Qt::StringLiterals;

class StartupTest : public QObject
{
    Q_OBJECT

private:
    static QStringList entries(const QComboBox *list)
    {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        return items;
    }

private slots:
    void noTemplateIsFatal()
    {
        WindowFixture app(QStringList{});
        app.addFile(u"readme.txt"_s);
        app.messages.expect(Message::Answer::Ok);
        QVERIFY(!app.start());
        const QList<Message> shown = app.messages.takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, u"Fatal error!. no report templates found\r\nThe program cannot continue"_s);
        QCOMPARE(shown[0].title, u"Tallyquill"_s);
        QCOMPARE(shown[0].buttons, Message::Buttons::Ok);
        QCOMPARE(shown[0].icon, Message::Icon::None);
        QVERIFY(!modMain::ExistingMainWindow());
        QVERIFY(!modMain::gSettings);
        // What the first run wrote stays.
        QCOMPARE(app.stored(u"InvoiceNumber"_s), u"1001"_s);
        QVERIFY(QFileInfo(app.path(u"invoices"_s)).isDir());
    }

    void templatesAreListed_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("sorted, any letter case")
            << QStringList{u"invferncask.rep"_s, u"quiet.Rep"_s, u"BOLD.REP"_s, u"Zinc.rep"_s, u"ash.rep"_s}
            << QStringList{u"ash.rep"_s, u"BOLD.REP"_s, u"invferncask.rep"_s, u"quiet.Rep"_s, u"Zinc.rep"_s};
        QTest::newRow("only templates")
            << QStringList{u"invferncask.rep"_s, u"x.rep.bak"_s, u"notes.txt"_s, u"rep"_s, u".hidden.rep"_s}
            << QStringList{u"invferncask.rep"_s};
    }
    void templatesAreListed()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, listed);
        WindowFixture app(files);
        QVERIFY(QDir(app.appFolder()).mkdir(u"folder.rep"_s));
        QVERIFY(app.start());
        QCOMPARE(entries(app.window().cmbTemplate), listed);
    }

    void storedTemplateIsSelected_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("selected");
        QTest::newRow("exact") << u"modern.rep"_s << u"modern.rep"_s;
        QTest::newRow("other letter case") << u"MODERN.REP"_s << u"modern.rep"_s;
    }
    void storedTemplateIsSelected()
    {
        QFETCH(QString, stored);
        QFETCH(QString, selected);
        WindowFixture app({u"invferncask.rep"_s, u"modern.rep"_s, u"classic.rep"_s});
        app.store(u"Init"_s, u"1"_s);
        app.store(u"Template"_s, stored);
        QVERIFY(app.start());
        QCOMPARE(app.window().cmbTemplate->count(), 3);
        QCOMPARE(app.window().cmbTemplate->currentText(), selected);
        // Selecting writes the listed name back to the store.
        QCOMPARE(app.stored(u"Template"_s), selected);
    }

    void missingStoredTemplateFallsBackToTheFirst()
    {
        WindowFixture app({u"modern.rep"_s});
        app.messages.expect(Message::Answer::Ok);
        QVERIFY(app.start());
        const QList<Message> shown = app.messages.takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, u"Tallyquill"_s);
        QVERIFY(shown[0].text.contains(u"invferncask.rep"_s));
        QVERIFY(shown[0].text.contains(u"modern.rep"_s));
        QCOMPARE(app.window().cmbTemplate->currentText(), u"modern.rep"_s);
        QCOMPARE(app.stored(u"Template"_s), u"modern.rep"_s);
        QVERIFY(app.window().isVisible());
    }

    void listingFailureIsReportedThenFatal()
    {
        WindowFixture app;
        app.files.listingError = u"Permission denied"_s;
        app.messages.expect(Message::Answer::Ok);
        app.messages.expect(Message::Answer::Ok);
        QVERIFY(!app.start());
        const QList<Message> shown = app.messages.takeShown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].text, u"Permission denied"_s);
        QVERIFY(shown[1].text.startsWith(u"Fatal error!. no report templates found"_s));
    }

    void windowOpensOnTheInvoicePage()
    {
        WindowFixture app;
        QVERIFY(app.start());
        frmMain2 &window = app.window();
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowTitle(), u"POS Quillbook"_s);
        QCOMPARE(window.tab1->currentIndex(), 0);
        QVERIFY(window.picInvoice->isVisible());
        QVERIFY(!window.picSettings->isVisible());
        QCOMPARE(window.picInvoice->pos(), frmMain2::pagePosition());
        QCOMPARE(window.cmbPaymentMethod->currentText(), u"CASH"_s);
        QCOMPARE(window.centralWidget()->size(), QSize(713, 482));
        // A fixed border: the window cannot be resized or maximised.
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    }

    void invoicesFolderIsMadeOnTheFirstRunOnly()
    {
        WindowFixture app;
        QVERIFY(app.start());
        QVERIFY(QFileInfo(app.path(u"invoices"_s)).isDir());
        modMain::Shutdown();
        QVERIFY(QDir(app.path(u"invoices"_s)).removeRecursively());
        QVERIFY(app.start());
        QVERIFY(!QFileInfo::exists(app.path(u"invoices"_s)));
    }

    void closingReleasesTheWindowBeforeItsObjects()
    {
        WindowFixture app;
        QVERIFY(app.start());
        bool objectsOutlivedTheWindow = false;
        QObject::connect(&app.window(), &QObject::destroyed,
                         [&] { objectsOutlivedTheWindow = modMain::gSettings && modMain::gTotals; });
        app.window().close();
        // The close event's own handling still has the settings.
        QVERIFY(modMain::gSettings);
        QTRY_VERIFY(!modMain::ExistingMainWindow());
        QVERIFY(objectsOutlivedTheWindow);
        QVERIFY(!modMain::gTotals);
        QVERIFY(!modMain::gSettings);
    }

    void iconIsBuiltIn()
    {
        // The pictures live in the program itself, for a copy run from any folder.
        QCOMPARE(ProgramIcon().availableSizes().size(), 7);
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
