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

using settings::clsSettings;

using platform::Message;
using platform::QSettingsStore;

using invoice::Amount;
using invoice::NumericAmount;

using namespace Qt::StringLiterals;

class ClsSettingsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<clsSettings> construct(AppFixture &app)
    {
        return std::make_unique<clsSettings>(app.store_, app.messages, app.appFolder(),
                                             [&app](const QString &name) {
                                                 app.files.MakeFolder(app.path(name));
                                             });
    }

private slots:
    void firstRunWritesEveryDefault_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        const std::pair<const char16_t *, const char16_t *> defaults[] = {
            {u"Init", u"1"}, {u"LockSettings", u"1"}, {u"CompanyName", u"Company Name"},
            {u"Address1", u"Address 1"}, {u"Address2", u"Address 2"}, {u"Address3", u"Address 3"},
            {u"Address4", u"Address 4"}, {u"Address5", u"Address 5"}, {u"Address6", u"Address 6"},
            {u"Footer1", u"example: PAYMENT DUE IN 30 DAYS"}, {u"Footer2", u"example: Registered Address"},
            {u"Footer3", u"example: Tax/VAT Registration Number"}, {u"Tel", u"0123456789"},
            {u"Fax", u"0123456789"}, {u"Currency", u"$ US Dollars"}, {u"SHTax", u"0"}, {u"TaxName", u"TAX"},
            {u"TaxValue", u"5.00"}, {u"InvoiceNumber", u"1001"}, {u"TaxCharge", u"1"},
            {u"Template", u"invferncask.rep"},
        };
        for (const auto &[key, text] : defaults)
            QTest::newRow(QString::fromUtf16(key).toUtf8()) << QString::fromUtf16(key) << QString::fromUtf16(text);
    }
    void firstRunWritesEveryDefault()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        AppFixture app;
        const auto settings = construct(app);
        QCOMPARE(app.stored(key), text);
        QVERIFY(QFileInfo(app.path(u"invoices"_s)).isDir());
    }

    void firstRunLogoIsInTheApplicationFolder()
    {
        AppFixture app;
        const auto settings = construct(app);
        QCOMPARE(settings->Logo(), QDir(app.appFolder()).filePath(u"logo.jpg"_s));
    }

    void initialisedStoreGetsNothing()
    {
        AppFixture app;
        app.store(u"Init"_s, u"0"_s);
        app.store(u"CompanyName"_s, u"Fern & Cask Ltd"_s);
        const auto settings = construct(app);
        QCOMPARE(settings->CompanyName(), u"Fern & Cask Ltd"_s);
        QVERIFY(app.stored(u"TaxName"_s).isNull());
        QCOMPARE(settings->TaxName(), QString());
        QCOMPARE(settings->InvoiceNumber(), 0);
        QCOMPARE(settings->TaxValue(), Amount());
        QVERIFY(!QFileInfo::exists(app.path(u"invoices"_s)));
    }

    void storeMissingOnlyInitIsInitialisedAgain()
    {
        AppFixture app;
        construct(app).reset();
        app.store(u"InvoiceNumber"_s, u"2500"_s);
        app.store(u"Init"_s, QString());
        const auto settings = construct(app);
        QCOMPARE(settings->InvoiceNumber(), 1001);
        QCOMPARE(app.stored(u"Init"_s), u"1"_s);
    }

    // Numbers read back from texts that were hand-edited or written elsewhere.
    void storedNumbersRead_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        const QString number = u"InvoiceNumber"_s, rate = u"TaxValue"_s;
        QTest::newRow("plain") << number << u"1001"_s << 1001.0;
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
        QTest::newRow("comma fraction") << rate << u"17,5"_s << 17.5;
        QTest::newRow("empty rate") << rate << QString() << 0.0;
        QTest::newRow("rate garbage") << rate << u"abc"_s << 0.0;
        QTest::newRow("rate blanks") << rate << u" 8.25 "_s << 8.25;
    }
    void storedNumbersRead()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(double, value);
        AppFixture app;
        const auto settings = construct(app);
        app.store(key, text);
        QCOMPARE(key == u"TaxValue"_s ? settings->TaxValue().units() / 10000.0 : double(settings->InvoiceNumber()), value);
    }

    void rateConversions_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("read");
        QTest::newRow("seventeen and a half") << u"17.5"_s << u"17.50"_s << 17.5;
        QTest::newRow("zero") << u"0"_s << u"0.00"_s << 0.0;
        QTest::newRow("third decimal rounds") << u"2.345"_s << u"2.35"_s << 2.35;
        QTest::newRow("hundred") << u"100"_s << u"100.00"_s << 100.0;
    }
    void rateConversions()
    {
        QFETCH(QString, written);
        QFETCH(QString, stored);
        QFETCH(double, read);
        AppFixture app;
        const auto settings = construct(app);
        // The stored text is the same whatever the user's locale.
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        settings->setTaxValue(NumericAmount(written));
        QLocale::setDefault(previous);
        QCOMPARE(app.stored(u"TaxValue"_s), stored);
        QCOMPARE(settings->TaxValue().units() / 10000.0, read);
    }

    void stringsAreStoredExactly()
    {
        AppFixture app;
        const auto settings = construct(app);
        settings->setCompanyName(QString());
        QVERIFY(!app.stored(u"CompanyName"_s).isNull());
        QCOMPARE(settings->CompanyName(), QString());
        const QString untrimmed = u"  Café Ωmega – 東京 ; = [x] \\ \"q\"  "_s;
        settings->setFooter(3, untrimmed);
        QCOMPARE(settings->Footer3(), untrimmed);
        settings->setCurrencyName(u"€ Euro"_s);
        QCOMPARE(app.stored(u"Currency"_s), u"€ Euro"_s);
    }

    void writesReachTheFileAtOnce()
    {
        AppFixture app;
        const auto settings = construct(app);
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
        // A folder where the settings file should be: no write can succeed.
        QVERIFY(QDir().mkpath(app.storeFile()));
        app.messages.expect(Message::Answer::Ok);
        const auto settings = construct(app);
        const QList<Message> shown = app.messages.takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(QDir::toNativeSeparators(app.storeFile())), qPrintable(shown[0].text));
        QCOMPARE(shown[0].title, u"Tallyquill"_s);
        QCOMPARE(shown[0].buttons, Message::Buttons::Ok);
        QVERIFY(!QFileInfo::exists(app.path(u"invoices"_s)));
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
        QCOMPARE(app.stored(u"InvoiceNumber"_s), u"1001"_s);
        QCOMPARE(construct(app)->Template(), u"invferncask.rep"_s);
        QVERIFY(QFileInfo(app.path(u"invoices"_s)).isDir());
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

    void damagedStoreFileIsKeptAside_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("companyName");
        QTest::newRow("binary") << QByteArray("\x00\x01\x02\xff\xfe garbage", 14) << u"Company Name"_s;
        QTest::newRow("broken section") << QByteArray("[Settings\nInit=1\nCompanyName=Ours\n") << u"Ours"_s;
        QTest::newRow("stray line") << QByteArray("[Settings]\nInit=1\nCompanyName=Ours\nnonsense\n")
                                    << u"Ours"_s;
    }
    void damagedStoreFileIsKeptAside()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, companyName);
        AppFixture app;
        // Damaged twice, in two runs: each damaged file is kept.
        for (const QString &copyName : {u".damaged"_s, u".damaged2"_s}) {
            const QByteArray damaged = contents + copyName.toUtf8();
            {
                QFile file(app.storeFile());
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(damaged + '\n');
            }
            QSettingsStore store(QFileInfo(app.storeFile()).path());
            clsSettings settings(store, app.messages, app.appFolder(), [](const QString &) {});
            // What could be read is used; an unreadable store got the first-run
            // values. Either way the user's file survives beside the new one.
            QCOMPARE(settings.CompanyName(), companyName);
            settings.setTel(u"555"_s);
            QCOMPARE(settings.Tel(), u"555"_s);
            QFile copy(app.storeFile() + copyName);
            QVERIFY(copy.open(QIODevice::ReadOnly));
            QCOMPARE(copy.readAll(), damaged + '\n');
        }
    }
};

QTEST_GUILESS_MAIN(ClsSettingsTest)
#include "tst_clssettings.moc"
