// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowfixture.h"

#include "app/modmain.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTest>

using platform::Message;

using namespace Qt::StringLiterals;

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    // A refused listing is told, then that no template was found: nothing
    // starts, but what the first run wrote stays.
    void startFailsWithoutTemplates()
    {
        WindowFixture app(QStringList{});
        app.files.listingError = u"Permission denied"_s;
        app.messages.expect(Message::Answer::Ok);
        app.messages.expect(Message::Answer::Ok);
        QVERIFY(!app.start());
        QStringList texts;
        for (const Message &message : app.messages.takeShown())
            texts << message.text;
        QCOMPARE(texts,
                 (QStringList{u"Permission denied"_s,
                              u"Fatal error!. no report templates found\r\nThe program cannot continue"_s}));
        QVERIFY(!modMain::ExistingMainWindow());
        QCOMPARE(app.stored(u"InvoiceNumber"_s), u"1001"_s);
        QVERIFY(QFileInfo(app.path(u"invoices"_s)).isDir());
    }

    // Templates are listed sorted whatever the letter case; the stored one is
    // selected whatever its letter case, or else the first, with a message.
    void templates_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("stored"); // null: the first run's
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("message");
        QTest::newRow("only templates, sorted whatever the letter case")
            << QStringList{u"invferncask.rep"_s, u"quiet.Rep"_s, u"BOLD.REP"_s, u"Zinc.rep"_s,   u"ash.rep"_s,
                           u"x.rep.bak"_s,       u"notes.txt"_s, u"rep"_s,      u".hidden.rep"_s}
            << QString()
            << QStringList{u"ash.rep"_s, u"BOLD.REP"_s, u"invferncask.rep"_s, u"quiet.Rep"_s, u"Zinc.rep"_s}
            << u"invferncask.rep"_s << QString();
        QTest::newRow("stored, other letter case")
            << QStringList{u"modern.rep"_s, u"classic.rep"_s} << u"MODERN.REP"_s
            << QStringList{u"classic.rep"_s, u"modern.rep"_s} << u"modern.rep"_s << QString();
        QTest::newRow("stored one missing")
            << QStringList{u"modern.rep"_s} << QString() << QStringList{u"modern.rep"_s} << u"modern.rep"_s
            << u"The report template \"invferncask.rep\" was not found.\r\nThe template \"modern.rep\" is used instead."_s;
    }
    void templates()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, stored);
        QFETCH(QStringList, listed);
        QFETCH(QString, selected);
        QFETCH(QString, message);
        WindowFixture app(files);
        QVERIFY(QDir(app.appFolder()).mkdir(u"folder.rep"_s));
        if (!stored.isNull()) {
            app.store(u"Init"_s, u"1"_s);
            app.store(u"Template"_s, stored);
        }
        if (!message.isEmpty())
            app.messages.expect(Message::Answer::Ok);
        QVERIFY(app.start());
        QCOMPARE(app.messages.takeShown().value(0).text, message);
        QComboBox *list = app.window().cmbTemplate;
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        QCOMPARE(items, listed);
        QCOMPARE(list->currentText(), selected);
        QCOMPARE(app.stored(u"Template"_s), selected);
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
