// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The program killed outright while it prints and records invoices, again
// and again: the register must open, lose no finished record, keep its chain,
// and agree with the invoices folder.
#include "register/clsregister.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <random>

using invoiceregister::ChainState;
using invoiceregister::clsRegister;
using invoiceregister::FileSha256;
using invoiceregister::RegisterRecord;

using namespace Qt::StringLiterals;

class KillWhileRecordingTest : public QObject
{
    Q_OBJECT

private slots:
    void killedWhilePrintingKeepsTheRegister()
    {
        const int kills = qEnvironmentVariableIntValue("QUILLBOOK_KILLS") > 0
            ? qEnvironmentVariableIntValue("QUILLBOOK_KILLS")
            : 20;
        const uint seed = qEnvironmentVariableIsSet("QUILLBOOK_KILL_SEED")
            ? qEnvironmentVariable("QUILLBOOK_KILL_SEED").toUInt()
            : 20261207;
        QTemporaryDir app, store;
        for (const QString &file : {u"invferncask.rep"_s, u"logo.jpg"_s})
            QVERIFY(QFile::copy(QStringLiteral(QUILLBOOK_APP_DIR "/") + file, app.filePath(file)));
        QVERIFY(QDir(app.path()).mkpath(u"invoices"_s));
        QFile settings(store.filePath(u"Tallyquill.conf"_s));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[Settings]\nInit=1\nTemplate=invferncask.rep\nInvoiceNumber=1001\nTaxCharge=1\n"
                       "TaxValue=20\nCompanyName=Fern & Cask\n");
        settings.close();

        std::mt19937 random(seed);
        QHash<QString, int> printed; // number -> prints that finished
        int midPrint = 0, betweenPrints = 0;
        for (int kill = 0; kill < kills; ++kill) {
            QProcess printer;
            printer.start(QStringLiteral(REGISTER_PRINTER),
                          {app.path(), store.path(), QString::number(random())});
            QVERIFY(printer.waitForStarted());
            // Kill after a seeded number of finished prints, a seeded moment
            // into the next one; every other time, a moment after its PDF
            // was put in place, while it is being confirmed.
            const int prints = int(random() % 4);
            const bool afterPdf = random() % 2;
            const int micros = int(afterPdf ? random() % 3000 : random() % 120000);
            QByteArray output;
            const auto waiting = [&] {
                return output.count("printed") < prints
                    || (afterPdf && output.count("exported") <= output.count("printed"));
            };
            while (printer.state() == QProcess::Running && waiting() && printer.waitForReadyRead(30000))
                output += printer.readAllStandardOutput();
            QThread::usleep(micros);
            QVERIFY2(printer.state() == QProcess::Running, printer.readAllStandardError().constData());
            printer.kill();
            QVERIFY(printer.waitForFinished());
            output += printer.readAllStandardOutput();
            bool inFlight = false;
            for (const QByteArray &line : output.split('\n')) {
                const QList<QByteArray> fields = line.split('\t');
                if (fields[0] == "printing")
                    inFlight = true;
                if (fields[0] == "printed") {
                    ++printed[QString::fromUtf8(fields[1])];
                    inFlight = false;
                }
            }
            inFlight ? ++midPrint : ++betweenPrints;

            clsRegister reg(app.path());
            reg.open();
            QCOMPARE(reg.takeNotice(), QString());
            const ChainState chain = reg.checkChain();
            QVERIFY2(chain.intact, qPrintable(chain.reason));
            QHash<QString, RegisterRecord> latest;
            QHash<QString, int> versions;
            for (const RegisterRecord &r : reg.records()) {
                latest[r.number] = r;
                ++versions[r.number];
            }
            // Every finished print is recorded; the one in flight may be too.
            for (auto it = printed.cbegin(); it != printed.cend(); ++it)
                QVERIFY2(versions.value(it.key()) >= it.value(),
                         qPrintable(u"kill %1: INV%2 printed %3 times, recorded %4"_s.arg(kill).arg(it.key()).arg(
                             it.value()).arg(versions.value(it.key()))));
            // Each number's latest record is the PDF in the folder, and the
            // folder holds no PDF the register does not know.
            const QDir invoices(reg.invoicesFolder());
            const QStringList files = invoices.entryList({u"INV*.pdf"_s}, QDir::Files);
            QCOMPARE(files.size(), latest.size());
            for (const QString &file : files) {
                const QString number = file.mid(3, file.size() - 7);
                QVERIFY2(latest.contains(number), qPrintable(u"kill %1: %2 is not recorded"_s.arg(kill).arg(file)));
                QVERIFY2(latest[number].sha256 == FileSha256(invoices.filePath(file)),
                         qPrintable(u"kill %1: %2 is not the recorded file"_s.arg(kill).arg(file)));
            }
        }
        qInfo("seed %u: %d kills, %d in the middle of a print, %d between prints; %lld invoices recorded",
              seed, kills, midPrint, betweenPrints, qlonglong(printed.size()));
        QVERIFY2(midPrint > 0, "no kill landed in the middle of a print");
    }
};

QTEST_GUILESS_MAIN(KillWhileRecordingTest)
#include "tst_killwhilerecording.moc"
