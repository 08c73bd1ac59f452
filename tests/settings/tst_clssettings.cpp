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
    void firstRunWritesTheDefaults()
    {
        AppFixture app;
        const auto settings = construct(app);
        for (const QString &pair : {u"Init=1"_s, u"InvoiceNumber=1001"_s, u"TaxValue=5.00"_s, u"TaxCharge=1"_s,
                                    u"SHTax=0"_s, u"Template=invferncask.rep"_s})
            QCOMPARE(pair.section(u'=', 0, 0) + u'=' + app.stored(pair.section(u'=', 0, 0)), pair);
        QVERIFY(invoicesFolderMade(app));
        QCOMPARE(settings->Logo(), QDir(app.appFolder()).filePath(u"logo.jpg"_s));
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
        QCOMPARE(settings->InvoiceNumber(), 0);
        QCOMPARE(settings->TaxValue(), invoice::Amount());
        QVERIFY(!invoicesFolderMade(app));
    }

    // Numbers read back from texts that were hand-edited or written elsewhere.
    void storedNumbersRead_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        const QString number = u"InvoiceNumber"_s, rate = u"TaxValue"_s;
        QTest::newRow("negative") << number << u"-42"_s << -42.0;
        QTest::newRow("blanks around") << number << u" 77 "_s << 77.0;
        QTest::newRow("empty number") << number << QString() << 0.0;
        QTest::newRow("not a number") << number << u"abc"_s << 0.0;
        QTest::newRow("trailing garbage") << number << u"12abc"_s << 0.0;
        QTest::newRow("fraction rounds") << number << u"12.7"_s << 13.0;
        QTest::newRow("half to even") << number << u"12.5"_s << 12.0;
        QTest::newRow("largest") << number << u"2147483647"_s << 2147483647.0;
        QTest::newRow("beyond 32 bits") << number << u"2147483648"_s << 0.0;
        QTest::newRow("decimal comma") << rate << u"5,00"_s << 5.0;
        QTest::newRow("rate garbage") << rate << u"abc"_s << 0.0;
        QTest::newRow("rate blanks") << rate << u" 8.25 "_s << 8.25;
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

    // The stored rate is the same text whatever the user's locale.
    void rateIsStoredWithTwoDecimals()
    {
        AppFixture app;
        const auto settings = construct(app);
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        for (const auto &[written, stored] : {std::pair(u"17.5"_s, u"17.50"_s), std::pair(u"2.345"_s, u"2.35"_s)}) {
            settings->setTaxValue(invoice::NumericAmount(written));
            QCOMPARE(app.stored(u"TaxValue"_s), stored);
            QCOMPARE(settings->TaxValue(), invoice::NumericAmount(stored));
        }
        QLocale::setDefault(previous);
    }

    void writesAreExactAndReachTheFileAtOnce()
    {
        AppFixture app;
        const auto settings = construct(app);
        settings->setCompanyName(QString());
        QVERIFY(!app.stored(u"CompanyName"_s).isNull());
        const QString untrimmed = u"  Café Ωmega – 東京 ; = [x] \\ \"q\"  "_s;
        settings->setFooter(3, untrimmed);
        QCOMPARE(settings->Footer3(), untrimmed);
        settings->setTel(u"555 0100"_s);
        // Another copy of the program, or the next run, reads the file itself.
        QSettingsStore other(QFileInfo(app.storeFile()).path());
        QCOMPARE(other.GetSetting(u"Tallyquill"_s, u"Settings"_s, u"Tel"_s), u"555 0100"_s);
        other.SaveSetting(u"Tallyquill"_s, u"Settings"_s, u"Fax"_s, u"555 0199"_s);
        QCOMPARE(settings->Fax(), u"555 0199"_s);
    }

    void unwritableStoreStopsFirstRunWithAMessage()
    {
        AppFixture app;
        QVERIFY(QDir().mkpath(app.storeFile())); // a folder where the file should be
        app.messages.expect(Message::Answer::Ok);
        const auto settings = construct(app);
        const QList<Message> shown = app.messages.takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(QDir::toNativeSeparators(app.storeFile())), qPrintable(shown[0].text));
        QVERIFY(!invoicesFolderMade(app));
        QCOMPARE(settings->InvoiceNumber(), 0);
    }

    // A first run stopped halfway leaves the store unmarked: the next start
    // writes every first-run value.
    void firstRunStoppedHalfwayIsRunAgain()
    {
        struct HalfwayStore : QSettingsStore
        {
            using QSettingsStore::QSettingsStore;
            bool SaveSetting(const QString &app, const QString &section, const QString &key,
                             const QString &text) override
            {
                return key != u"Template" && QSettingsStore::SaveSetting(app, section, key, text);
            }
            QString errorString() const override { return u"the disk is full"_s; }
        };
        AppFixture app;
        HalfwayStore halfway(QFileInfo(app.storeFile()).path());
        app.messages.expect(Message::Answer::Ok);
        clsSettings(halfway, app.messages, app.appFolder(), [](const QString &) {});
        QCOMPARE(app.messages.takeShown().value(0).text, u"the disk is full"_s);
        QCOMPARE(construct(app)->Template(), u"invferncask.rep"_s);
        QVERIFY(invoicesFolderMade(app));
    }

    // Later, a write the store refuses is told once while the user types,
    // and no read pretends that it was stored.
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
        // What the store refused is not written later with another change either.
        QVERIFY(QFile::setPermissions(app.storeFile(), QFile::ReadOwner | QFile::WriteOwner));
        settings->setTel(u"555"_s);
        QCOMPARE(app.stored(u"CompanyName"_s), u"Company Name"_s);
        QCOMPARE(app.stored(u"Tel"_s), u"555"_s);
    }

    // What could be read is used; an unreadable store gets the first-run
    // values. Either way each damaged file survives beside the new one.
    void damagedStoreFileIsKeptAside_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("companyName");
        QTest::newRow("binary") << QByteArray("\x00\x01\x02\xff\xfe garbage", 14) << u"Company Name"_s;
        QTest::newRow("broken section") << QByteArray("[Settings\nInit=1\nCompanyName=Ours\n") << u"Ours"_s;
    }
    void damagedStoreFileIsKeptAside()
    {
        QFETCH(QByteArray, contents);
        AppFixture app;
        for (const QString &copyName : {u".damaged"_s, u".damaged2"_s}) { // damaged again in a later run
            const QByteArray damaged = contents + copyName.toUtf8() + '\n';
            {
                QFile file(app.storeFile());
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(damaged) == damaged.size());
            }
            QSettingsStore store(QFileInfo(app.storeFile()).path());
            clsSettings settings(store, app.messages, app.appFolder(), [](const QString &) {});
            QTEST(settings.CompanyName(), "companyName");
            settings.setTel(u"555"_s);
            QCOMPARE(settings.Tel(), u"555"_s);
            QFile copy(app.storeFile() + copyName);
            QVERIFY(copy.open(QIODevice::ReadOnly));
            QCOMPARE(copy.readAll(), damaged);
        }
    }
};

QTEST_GUILESS_MAIN(ClsSettingsTest)
#include "tst_clssettings.moc"
