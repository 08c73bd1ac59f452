// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "appfixture.h"
#include "withoutpermissionoverride.h"
#include "invoice/numbers.h"
#include "settings/clssettings.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTest>

using platform::Message;
using platform::QSettingsStore;
using settings::clsSettings;

using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<clsSettings> construct(AppFixture &app)
{
    return std::make_unique<clsSettings>(app.store_, app.messages, app.appFolder(),
                                         [&app](const QString &name) { app.files.MakeFolder(app.path(name)); });
}

bool invoicesFolderMade(const AppFixture &app)
{
    return QFileInfo(app.path(u"invoices"_s)).isDir();
}

} // namespace

class ClsSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void firstRunWritesTheDefaultsAndWritesAreExact()
    {
        AppFixture app;
        const auto settings = construct(app);
        for (const QString &pair : {u"Init=1"_s, u"InvoiceNumber=1001"_s, u"TaxValue=5.00"_s, u"TaxCharge=1"_s,
                                    u"SHTax=0"_s, u"Template=invferncask.rep"_s})
            QCOMPARE(pair.section(u'=', 0, 0) + u'=' + app.stored(pair.section(u'=', 0, 0)), pair);
        QVERIFY(invoicesFolderMade(app));
        QCOMPARE(settings->Logo(), QDir(app.appFolder()).filePath(u"logo.jpg"_s));
        settings->setCompanyName(QString());
        QVERIFY(!app.stored(u"CompanyName"_s).isNull());
        const QString untrimmed = u"  Café Ωmega – 東京 ; = [x] \\ \"q\"  "_s;
        settings->setFooter(3, untrimmed);
        QCOMPARE(settings->Footer3(), untrimmed);
        const QLocale previous; // the stored rate has two decimals and a point whatever the locale
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        settings->setTaxValue(invoice::NumericAmount(u"2.345"_s));
        QLocale::setDefault(previous);
        QCOMPARE(app.stored(u"TaxValue"_s), u"2.35"_s);
        // A store that lost only its mark is begun again.
        app.store(u"InvoiceNumber"_s, u"2500"_s);
        app.store(u"Init"_s, QString());
        QCOMPARE(construct(app)->InvoiceNumber(), 1001);
    }

    void initialisedStoreGetsNothing()
    {
        AppFixture app;
        app.store(u"Init"_s, u"0"_s);
        app.store(u"CompanyName"_s, u"Fern & Cask Ltd"_s);
        const auto settings = construct(app);
        QCOMPARE(settings->CompanyName(), u"Fern & Cask Ltd"_s);
        QVERIFY(app.stored(u"TaxName"_s).isNull());
        QVERIFY(!invoicesFolderMade(app));
    }

    // A first run that cannot write the store says so, names the file and makes nothing.
    void unwritableStoreStopsFirstRunWithAMessage()
    {
        AppFixture app;
        QVERIFY(QDir().mkpath(app.storeFile())); // a folder where the file should be
        app.messages.expect(Message::Answer::Ok);
        QCOMPARE(construct(app)->InvoiceNumber(), 0);
        const QList<Message> shown = app.messages.takeShown();
        QVERIFY(shown.size() == 1 && shown[0].text.contains(QDir::toNativeSeparators(app.storeFile())));
        QVERIFY(!invoicesFolderMade(app));
    }

    // Numbers read back from texts that were hand-edited or written elsewhere.
    void storedNumbersRead_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        const QString number = u"InvoiceNumber"_s, rate = u"TaxValue"_s;
        QTest::newRow("trailing garbage") << number << u"12abc"_s << 0.0;
        QTest::newRow("fraction rounds") << number << u"12.7"_s << 13.0;
        QTest::newRow("half to even") << number << u"12.5"_s << 12.0;
        QTest::newRow("beyond 32 bits") << number << u"2147483648"_s << 0.0;
        QTest::newRow("decimal comma") << rate << u"5,00"_s << 5.0;
    }
    void storedNumbersRead()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        AppFixture app;
        const auto settings = construct(app);
        app.store(key, text);
        QTEST(key == u"TaxValue"_s ? settings->TaxValue().units() / 10000.0 : double(settings->InvoiceNumber()),
              "value");
    }

    // A write the store refuses is told once while the user types, and is not read back.
    void refusedWriteIsToldAndNotBelieved()
    {
        AppFixture app;
        const auto settings = construct(app);
        const QString folder = QFileInfo(app.storeFile()).path();
        QVERIFY(QFile::setPermissions(app.storeFile(), QFile::ReadOwner));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        {
            WithoutPermissionOverride asAnyUser;
            app.messages.expect(Message::Answer::Ok);
            settings->setCompanyName(u"p"_s);
            settings->setCompanyName(u"pq"_s);
            QCOMPARE(settings->CompanyName(), u"Company Name"_s);
            app.messages.expect(Message::Answer::Ok);
            settings->setInvoiceNumber(1002);
            QCOMPARE(settings->InvoiceNumber(), 1001);
        }
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QList<Message> shown = app.messages.takeShown();
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown[0].text.contains(QDir::toNativeSeparators(app.storeFile()))
                     && shown[0].text.contains(u"Permission denied"_s),
                 qPrintable(shown[0].text));
    }

    // An unreadable store is begun again; each damaged file is kept under the next free name.
    void damagedStoreFileIsKeptAside()
    {
        AppFixture app;
        for (const QString &copyName : {u".damaged"_s, u".damaged2"_s}) {
            const QByteArray damaged = QByteArray("\x00\x01\x02\xff\xfe garbage", 14) + copyName.toUtf8();
            {
                QFile file(app.storeFile());
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(damaged) == damaged.size());
            }
            QSettingsStore store(QFileInfo(app.storeFile()).path());
            QCOMPARE(clsSettings(store, app.messages, app.appFolder(), [](const QString &) {}).CompanyName(),
                     u"Company Name"_s);
            QFile copy(app.storeFile() + copyName);
            QVERIFY(copy.open(QIODevice::ReadOnly));
            QCOMPARE(copy.readAll(), damaged);
        }
    }
};

QTEST_GUILESS_MAIN(ClsSettingsTest)
#include "tst_clssettings.moc"
