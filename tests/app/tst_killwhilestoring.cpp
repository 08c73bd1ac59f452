// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The program killed outright while it stores Settings edits, again and
// again: the store must stay readable and lose at most the edit in flight.
#include "appfixture.h"
#include "settings/clssettings.h"

#include <QProcess>
#include <QSettings>
#include <QTest>
#include <QThread>

#include <random>

using settings::clsSettings;

using namespace Qt::StringLiterals;

class KillWhileStoringTest : public QObject
{
    Q_OBJECT

    using Values = QMap<QString, QString>;

    // Every key of the settings section, or an empty map and a failure when
    // the file cannot be read as settings.
    static Values readStore(const QString &file)
    {
        QSettings settings(file, QSettings::IniFormat);
        if (settings.status() != QSettings::NoError) {
            QTest::qFail("The settings file cannot be read", __FILE__, __LINE__);
            return {};
        }
        Values values;
        settings.beginGroup(clsSettings::section());
        for (const QString &key : settings.childKeys())
            values.insert(key, settings.value(key).toString());
        return values;
    }

private slots:
    void killedWhileTypingKeepsTheStore()
    {
        const int kills = qEnvironmentVariableIntValue("QUILLBOOK_KILLS") > 0
            ? qEnvironmentVariableIntValue("QUILLBOOK_KILLS")
            : 30;
        const uint seed = qEnvironmentVariableIsSet("QUILLBOOK_KILL_SEED")
            ? qEnvironmentVariable("QUILLBOOK_KILL_SEED").toUInt()
            : 20261206;
        // The user's store lives in XDG_CONFIG_HOME, here a fresh folder
        // that already holds every setting.
        AppFixture app;
        clsSettings(app.store_, app.messages, app.appFolder(), [](const QString &) {});
        const QString storeFile = app.storeFile();
        Values expected = readStore(storeFile);
        QCOMPARE(expected.size(), 22);

        std::mt19937 random(seed);
        int midEdit = 0, betweenEdits = 0, duringStartUp = 0, inFlightStored = 0;
        for (int kill = 0; kill < kills; ++kill) {
            QProcess typist;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(u"XDG_CONFIG_HOME"_s, QFileInfo(storeFile).path());
            typist.setProcessEnvironment(environment);
            typist.start(QStringLiteral(SETTINGS_TYPIST), {app.appFolder(), QString::number(random())});
            QVERIFY(typist.waitForStarted());

            // Kill after a seeded number of keystrokes, a seeded moment into
            // the next one; now and then during start-up instead.
            const int keystrokes = int(random() % 70) - 5;
            const int micros = int(random() % 3000);
            QByteArray output;
            auto lines = [&output] { return output.count('\n'); };
            while (typist.state() == QProcess::Running && lines() < keystrokes * 2 + 1
                   && typist.waitForReadyRead(30000))
                output += typist.readAllStandardOutput();
            QThread::usleep(micros);
            QVERIFY2(typist.state() == QProcess::Running, typist.readAllStandardError().constData());
            typist.kill();
            QVERIFY(typist.waitForFinished());
            QCOMPARE(typist.exitStatus(), QProcess::CrashExit);
            output += typist.readAllStandardOutput();

            // Replay what the typist said it did.
            QString inFlightKey, inFlightValue;
            bool ready = false;
            for (const QByteArray &line : output.split('\n')) {
                const QStringList fields = QString::fromUtf8(line).split(u'\t');
                if (fields[0] == u"ready"_s) {
                    ready = true;
                } else if (fields[0] == u"typing"_s && fields.size() == 3) {
                    inFlightKey = fields[1];
                    inFlightValue = fields[2];
                } else if (fields[0] == u"stored"_s && fields.size() == 3) {
                    expected[fields[1]] = fields[2];
                    inFlightKey.clear();
                }
            }
            !ready ? ++duringStartUp : inFlightKey.isEmpty() ? ++betweenEdits : ++midEdit;

            // Every key holds its last stored value; the key in flight may
            // hold its new one instead.
            const Values found = readStore(storeFile);
            QCOMPARE(found.keys(), expected.keys());
            for (auto it = found.cbegin(); it != found.cend(); ++it) {
                if (it.key() == inFlightKey && it.value() == inFlightValue && it.value() != expected[it.key()]) {
                    ++inFlightStored;
                    expected[it.key()] = inFlightValue;
                }
                QVERIFY2(it.value() == expected[it.key()],
                         qPrintable(u"kill %1: %2 holds \"%3\", expected \"%4\""_s.arg(kill).arg(
                             it.key(), it.value(), expected[it.key()])));
            }
        }
        qInfo("seed %u: %d kills, %d in the middle of an edit (%d of those had stored it), %d between edits, "
              "%d during start-up; the store stayed readable and kept every finished edit",
              seed, kills, midEdit, inFlightStored, betweenEdits, duringStartUp);
        QVERIFY2(midEdit > 0, "no kill landed in the middle of an edit");
    }
};

QTEST_GUILESS_MAIN(KillWhileStoringTest)
#include "tst_killwhilestoring.moc"
