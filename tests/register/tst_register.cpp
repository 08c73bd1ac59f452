// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/numbers.h"
#include "register/clsregister.h"
#include "register/periodtotals.h"
#include "register/registercsv.h"
#include "register/registerlistmodel.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace invoiceregister;
using invoice::Amount;
using namespace Qt::StringLiterals;

namespace {

RegisterRecord issuedInvoice(const QString &number, const QDate &day, qint64 netCents, std::optional<int> ratePercent)
{
    RegisterRecord r;
    r.number = number;
    r.issued = QDateTime(day, QTime(9, 15));
    r.customer = {u"Harbour Cafe, \"Quay\" branch"_s, u"12 Quay St"_s, {}, {}, {}, u"Bristol ✓"_s};
    r.subTotal = Amount::fromUnits(netCents * 100);
    if (ratePercent)
        r.taxRate = Amount::fromUnits(*ratePercent * 10000);
    r.tax = Amount::fromUnits(ratePercent ? netCents * *ratePercent / 100 * 100 : 0);
    r.total = r.net() + r.tax;
    r.fileName = u"INV%1.pdf"_s.arg(number);
    return r;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A register in a throw-away application folder; tamper() edits the file past it.
struct Fixture
{
    QTemporaryDir dir;
    std::unique_ptr<clsRegister> reg;

    Fixture()
    {
        QDir(dir.path()).mkpath(u"invoices"_s);
        reopen();
    }
    void reopen()
    {
        reg.reset();
        reg = std::make_unique<clsRegister>(dir.path());
        reg->open();
    }
    QString pdf(const QString &name) const { return dir.filePath(u"invoices/"_s + name); }
    // Prints: the pending record, the PDF, the confirmation.
    void print(const RegisterRecord &r, const QByteArray &bytes)
    {
        PendingRecord pending(*reg, r);
        QVERIFY(writeFile(pdf(r.fileName), bytes));
        pending.confirm();
    }
    void tamper(const QString &sql)
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"tamper"_s);
            db.setDatabaseName(clsRegister::DatabasePath(dir.path()));
            QVERIFY(db.open());
            QVERIFY2(QSqlQuery(db).exec(sql), qPrintable(sql));
        }
        QSqlDatabase::removeDatabase(u"tamper"_s);
    }
};

} // namespace

class RegisterTest : public QObject
{
    Q_OBJECT

private slots:
    // An interrupted print is settled at the next open: recorded if its PDF changed, even if its pid is reused.
    void interruptedPrintIsSettled_data()
    {
        QTest::addColumn<bool>("earlierPdf");
        QTest::addColumn<bool>("pdfWritten");
        QTest::addColumn<bool>("idReused");
        QTest::addColumn<int>("expectedVersion"); // 0: nothing new is recorded
        QTest::newRow("killed before the PDF") << false << false << false << 0;
        QTest::newRow("reprint killed before the PDF") << true << false << false << 0;
        QTest::newRow("reprint killed after the PDF") << true << true << false << 2;
        QTest::newRow("power cut after the PDF, process id reused") << false << true << true << 1;
    }
    void interruptedPrintIsSettled()
    {
        QFETCH(bool, earlierPdf);
        QFETCH(bool, pdfWritten);
        QFETCH(int, expectedVersion);
        Fixture f;
        const RegisterRecord r = issuedInvoice(u"1001"_s, {2026, 3, 14}, 12000, 20);
        if (earlierPdf)
            f.print(r, "first print");
        f.reg->begin(r);                      // and the program dies: nothing confirms or abandons
        if (QFETCH(bool, idReused); idReused) // by this test's parent, which runs under another name
            f.tamper(u"UPDATE pending SET pid = %1"_s.arg(getppid()));
        if (pdfWritten)
            QVERIFY(writeFile(f.pdf(r.fileName), "second print"));
        f.reopen();
        const QList<RegisterRecord> records = f.reg->records();
        QCOMPARE(records.size(), (earlierPdf ? 1 : 0) + (expectedVersion ? 1 : 0));
        if (expectedVersion) {
            QCOMPARE(records.last().version, expectedVersion);
            QCOMPARE(records.last().sha256, FileSha256(f.pdf(r.fileName)));
            QCOMPARE(records.first().replaced, earlierPdf);
        }
        QVERIFY(f.reg->checkChain().intact);
        f.reopen(); // settled once: a further open records nothing more
        QCOMPARE(f.reg->records().size(), records.size());
    }

    void chainFindsEditsAndRemovals_data()
    {
        QTest::addColumn<QString>("tampering");
        QTest::addColumn<qint64>("brokenAt");
        QTest::newRow("amount edited") << u"UPDATE records SET tax = tax - 100 WHERE id = 2"_s << qint64(2);
        QTest::newRow("middle record removed") << u"DELETE FROM records WHERE id = 2"_s << qint64(2);
        QTest::newRow("last record removed") << u"DELETE FROM records WHERE id = 3"_s << qint64(3);
    }
    void chainFindsEditsAndRemovals()
    {
        QFETCH(QString, tampering);
        QFETCH(qint64, brokenAt);
        Fixture f;
        for (int n = 1; n <= 3; ++n)
            f.print(issuedInvoice(QString::number(1000 + n), {2026, 3, n}, 1000 * n, 20), QByteArray::number(n));
        f.tamper(tampering);
        const ChainState state = f.reg->checkChain();
        QVERIFY(!state.intact);
        QCOMPARE(state.brokenAt, brokenAt);
    }

    // A damaged file is set aside under the next free name; a new register is begun.
    void damagedFileIsSetAside()
    {
        Fixture f;
        f.reg.reset();
        const QString db = clsRegister::DatabasePath(f.dir.path());
        for (const QString &aside : {u".damaged"_s, u".damaged2"_s}) {
            QVERIFY(QFile::remove(db));
            QVERIFY(writeFile(db, QByteArray(4096, 'x')));
            clsRegister reg(f.dir.path());
            reg.open();
            const QString notice = reg.takeNotice();
            QVERIFY2(notice.contains(QDir::toNativeSeparators(db + aside)), qPrintable(notice));
            QCOMPARE(QFile(db + aside).size(), 4096);
            QCOMPARE(reg.append(issuedInvoice(u"1001"_s, {2026, 3, 14}, 100, {})).id, 1);
        }
    }

    // Jan 120.00 at 20%, Mar 50.00 untaxed, Apr 200.00 at 5%, an Apr one at 999.00 reprinted at 80.00.
    void periodTotals_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<QStringList>("expected"); // period|invoices|net|tax by rate...|total
        const QString all = u"Total|4|450.00|5%=10.00 20%=40.00|500.00"_s;
        QTest::newRow("month") << int(Period::Month)
                               << QStringList{u"2026-01|1|120.00|20%=24.00|144.00"_s, u"2026-03|1|50.00||50.00"_s,
                                              u"2026-04|2|280.00|5%=10.00 20%=16.00|306.00"_s, all};
        QTest::newRow("quarter") << int(Period::Quarter)
                                 << QStringList{u"2026-Q1|2|170.00|20%=24.00|194.00"_s,
                                                u"2026-Q2|2|280.00|5%=10.00 20%=16.00|306.00"_s, all};
    }
    void periodTotals()
    {
        const auto money = [](Amount value) { return invoice::FormatAmount(value, 2); };
        QFETCH(int, period);
        Fixture f;
        for (const RegisterRecord &r :
             {issuedInvoice(u"1"_s, {2026, 1, 31}, 12000, 20), issuedInvoice(u"2"_s, {2026, 3, 1}, 5000, {}),
              issuedInvoice(u"3"_s, {2026, 4, 1}, 20000, 5), issuedInvoice(u"4"_s, {2026, 4, 2}, 99900, 20),
              issuedInvoice(u"4"_s, {2026, 4, 3}, 8000, 20)})
            f.reg->append(r);
        const std::vector<RegisterEntry> entries = f.reg->entries();
        std::vector<const RegisterEntry *> list;
        for (const RegisterEntry &e : entries)
            list.push_back(&e);
        QStringList got;
        for (const PeriodTotal &t : PeriodTotals(list, Period(period))) {
            QStringList rates;
            for (auto it = t.taxByRate.cbegin(); it != t.taxByRate.cend(); ++it)
                rates << u"%1%=%2"_s.arg(it.key() / 10000).arg(money(it.value()));
            got << QStringList{t.period, QString::number(t.invoices), money(t.net), rates.join(u' '), money(t.total)}
                       .join(u'|');
        }
        QTEST(got, "expected");
    }

    // Fields holding a comma, a quotation mark or a line break are quoted; amounts are not grouped.
    void csvQuotesWhatNeedsIt()
    {
        QTemporaryDir dir;
        QList<RegisterRecord> records = {issuedInvoice(u"1001"_s, {2026, 3, 14}, 123456, 20),
                                         issuedInvoice(u"10,02"_s, {2026, 12, 31}, -5000, {})};
        records[0].customer[2] = u"\"Quay\" annexe"_s;
        records[1].customer[1] = u"line one\nline two"_s;
        const QString path = dir.filePath(u"register.csv"_s);
        QString error;
        QVERIFY2(WriteRegisterCsv(path, std::vector{&records[0], &records[1]}, &error), qPrintable(error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString csv = QString::fromUtf8(file.readAll());
        for (const QString &field :
             {u",\"Harbour Cafe, \"\"Quay\"\" branch\","_s, u",\"\"\"Quay\"\" annexe\","_s, u",Bristol ✓,"_s,
              u",1234.56,"_s, u"\n\"10,02\","_s, u",\"line one\nline two\","_s, u",-50.00,"_s})
            QVERIFY2(csv.contains(field), qPrintable(csv));
    }

    // Each record's PDF: as issued, changed since, missing, or replaced.
    void pdfStatus()
    {
        Fixture f;
        f.print(issuedInvoice(u"1"_s, {2026, 3, 1}, 100, {}), "one");
        f.print(issuedInvoice(u"2"_s, {2026, 3, 2}, 100, {}), "two");
        f.print(issuedInvoice(u"3"_s, {2026, 3, 3}, 100, {}), "three");
        f.print(issuedInvoice(u"3"_s, {2026, 3, 4}, 100, {}), "three again");
        QVERIFY(writeFile(f.pdf(u"INV2.pdf"_s), "two, edited"));
        QVERIFY(QFile::remove(f.pdf(u"INV1.pdf"_s)));
        RegisterListModel model(*f.reg);
        model.reload();
        while (!model.checkPdfs(5)) {
        }
        QStringList got;
        for (int row = 0; row < model.rowCount(); ++row)
            got << model.entry(row).number + u':' + PdfStatusText(model.status(row));
        QCOMPARE(
            got,
            (QStringList{u"3:present"_s, u"3:replaced by a reprint"_s, u"2:changed since issued"_s, u"1:missing"_s}));
        // Narrowed by text and dates, both days included.
        model.setFilter(u"inv3"_s, {}, QDate(2026, 3, 3));
        QCOMPARE(model.rowCount(), 1);
        model.setFilter({}, QDate(2026, 3, 2), {});
        QCOMPARE(model.rowCount(), 3);
    }
};

QTEST_GUILESS_MAIN(RegisterTest)
#include "tst_register.moc"
