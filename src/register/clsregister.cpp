// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "register/clsregister.h"

#include "invoice/runtimeerror.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <cerrno>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// SQLite's primary result codes that the register tells apart.
constexpr int SqliteCorrupt = 11;
constexpr int SqliteNotADatabase = 26;
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;

// The columns a record and a pending record share, in the order they are
// bound, read and hashed.
const QStringList Columns = {u"number"_s,   u"issued"_s,   u"customer"_s, u"sub_total"_s, u"shipping"_s,
                             u"tax"_s,      u"surcharge2"_s, u"total"_s,  u"received"_s,  u"balance"_s,
                             u"tax_rate"_s, u"currency"_s, u"payment"_s,  u"template"_s,  u"einvoice"_s,
                             u"file"_s,     u"rebuilt"_s};

const QString Schema = uR"(
CREATE TABLE IF NOT EXISTS records (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  number TEXT NOT NULL, version INTEGER NOT NULL, issued TEXT NOT NULL, customer TEXT NOT NULL,
  sub_total INTEGER NOT NULL, shipping INTEGER NOT NULL, tax INTEGER NOT NULL, surcharge2 INTEGER NOT NULL,
  total INTEGER NOT NULL, received INTEGER NOT NULL, balance INTEGER NOT NULL, tax_rate INTEGER,
  currency TEXT NOT NULL, payment TEXT NOT NULL, template TEXT NOT NULL, einvoice INTEGER NOT NULL,
  file TEXT NOT NULL, rebuilt INTEGER NOT NULL, sha256 TEXT NOT NULL, hash TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS records_number ON records (number, version);
CREATE TABLE IF NOT EXISTS pending (
  id INTEGER PRIMARY KEY, pid INTEGER NOT NULL, prior_sha256 TEXT NOT NULL,
  number TEXT NOT NULL, issued TEXT NOT NULL, customer TEXT NOT NULL,
  sub_total INTEGER NOT NULL, shipping INTEGER NOT NULL, tax INTEGER NOT NULL, surcharge2 INTEGER NOT NULL,
  total INTEGER NOT NULL, received INTEGER NOT NULL, balance INTEGER NOT NULL, tax_rate INTEGER,
  currency TEXT NOT NULL, payment TEXT NOT NULL, template TEXT NOT NULL, einvoice INTEGER NOT NULL,
  file TEXT NOT NULL, rebuilt INTEGER NOT NULL))"_s;

// SQLite stores a null text as NULL: every text column holds "" instead.
QString nonNull(const QString &text)
{
    return text.isNull() ? u""_s : text;
}

QString hex(const QByteArray &digest)
{
    return nonNull(QString::fromLatin1(digest));
}

QString issuedText(const QDateTime &issued)
{
    return nonNull(issued.toString(Qt::ISODate));
}

QString customerText(const RegisterRecord &record)
{
    return QStringList(record.customer.begin(), record.customer.end()).join(u'\n');
}

QVariantList columnValues(const RegisterRecord &r)
{
    return {nonNull(r.number),
            issuedText(r.issued),
            customerText(r),
            r.subTotal.units(),
            r.shipping.units(),
            r.tax.units(),
            r.surcharge2.units(),
            r.total.units(),
            r.received.units(),
            r.balance.units(),
            r.taxRate ? QVariant(r.taxRate->units()) : QVariant(QMetaType(QMetaType::LongLong)),
            nonNull(r.currency),
            nonNull(r.paymentMethod),
            nonNull(r.templateName),
            int(r.eInvoice),
            nonNull(r.fileName),
            int(r.rebuilt)};
}

// Reads the shared columns, which start at column `first` of the query.
void readColumns(const QSqlQuery &q, int first, RegisterRecord &r)
{
    auto amount = [&](int i) { return Amount::fromUnits(q.value(first + i).toLongLong()); };
    r.number = q.value(first).toString();
    // Read field by field: a hundred thousand records open with the window.
    const QString issued = q.value(first + 1).toString();
    const QStringView t(issued);
    if (t.size() == 19)
        r.issued = QDateTime(QDate(t.mid(0, 4).toInt(), t.mid(5, 2).toInt(), t.mid(8, 2).toInt()),
                             QTime(t.mid(11, 2).toInt(), t.mid(14, 2).toInt(), t.mid(17, 2).toInt()));
    else
        r.issued = QDateTime::fromString(issued, Qt::ISODate);
    const QStringList lines = q.value(first + 2).toString().split(u'\n');
    for (int i = 0; i < RegisterRecord::CustomerLines && i < lines.size(); ++i)
        r.customer[i] = lines[i];
    r.subTotal = amount(3);
    r.shipping = amount(4);
    r.tax = amount(5);
    r.surcharge2 = amount(6);
    r.total = amount(7);
    r.received = amount(8);
    r.balance = amount(9);
    const QVariant rate = q.value(first + 10);
    r.taxRate = rate.isNull() ? std::nullopt : std::optional<Amount>(Amount::fromUnits(rate.toLongLong()));
    r.currency = q.value(first + 11).toString();
    r.paymentMethod = q.value(first + 12).toString();
    r.templateName = q.value(first + 13).toString();
    r.eInvoice = q.value(first + 14).toInt() != 0;
    r.fileName = q.value(first + 15).toString();
    r.rebuilt = q.value(first + 16).toInt() != 0;
}

// The link of a record: SHA-256 over its position, every stored field and
// the previous record's link, as lowercase hex.
QByteArray recordHash(const RegisterRecord &r, const QByteArray &previous)
{
    QStringList fields = {QString::number(r.id), QString::number(r.version)};
    for (const QVariant &value : columnValues(r))
        fields << (value.isNull() ? u"-"_s : value.toString());
    fields << QString::fromLatin1(r.sha256) << QString::fromLatin1(previous);
    return QCryptographicHash::hash(fields.join(QChar(0x1f)).toUtf8(), QCryptographicHash::Sha256).toHex();
}

bool processRunning(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

} // namespace

QByteArray FileSha256(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return {};
    return hash.result().toHex();
}

struct clsRegister::Private
{
    QString appFolder;
    QString path;
    QString connection;
    int busyTimeoutMs = 0;
    bool opened = false;
    QString notice;

    QSqlDatabase db() const { return QSqlDatabase::database(connection, false); }

    // The sentence the user sees for a failed statement.
    [[noreturn]] void fail(const QSqlError &error, const QString &doing) const
    {
        const int code = error.nativeErrorCode().toInt() & 0xff;
        const QString file = QDir::toNativeSeparators(path);
        if (code == SqliteBusy || code == SqliteLocked)
            throw RuntimeError(u"The invoice register %1 is in use by another Quillbook; %2 failed. "
                               "Try again in a moment."_s.arg(file, doing));
        if (code == SqliteCorrupt || code == SqliteNotADatabase)
            throw RuntimeError(u"The invoice register %1 is damaged (%2); %3 failed."_s.arg(
                file, error.databaseText(), doing));
        throw RuntimeError(u"The invoice register %1 cannot be written (%2); %3 failed."_s.arg(
            file, error.databaseText().isEmpty() ? error.text() : error.databaseText(), doing));
    }

    QSqlQuery exec(const QString &sql, const QString &doing, const QVariantList &values = {}) const
    {
        QSqlQuery q(db());
        q.setForwardOnly(true);
        if (!q.prepare(sql))
            fail(q.lastError(), doing);
        for (const QVariant &value : values)
            q.addBindValue(value);
        if (!q.exec())
            fail(q.lastError(), doing);
        return q;
    }

    // Runs `steps` in one write transaction, taken at once so that two
    // programs appending never interleave their reads and writes.
    template<typename Steps>
    auto transaction(const QString &doing, Steps steps) const
    {
        exec(u"BEGIN IMMEDIATE"_s, doing);
        try {
            auto result = steps();
            exec(u"COMMIT"_s, doing);
            return result;
        } catch (...) {
            QSqlQuery(u"ROLLBACK"_s, db());
            throw;
        }
    }

    void connect()
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(u"QSQLITE"_s, connection);
        database.setDatabaseName(path);
        database.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=%1"_s.arg(busyTimeoutMs));
        if (!database.open())
            throw RuntimeError(u"The invoice register %1 cannot be opened (%2)."_s.arg(
                QDir::toNativeSeparators(path), database.lastError().text()));
    }

    void disconnect()
    {
        {
            QSqlDatabase database = db();
            if (database.isOpen())
                database.close();
        }
        QSqlDatabase::removeDatabase(connection);
    }

    void prepare()
    {
        const QString doing = u"opening it"_s;
        exec(u"PRAGMA journal_mode=WAL"_s, doing);
        // A record must be on disk before its PDF is written.
        exec(u"PRAGMA synchronous=FULL"_s, doing);
        QSqlQuery version = exec(u"PRAGMA user_version"_s, doing);
        if (version.next() && version.value(0).toInt() >= 1)
            return;
        transaction(doing, [&] {
            for (const QString &statement : Schema.split(u';', Qt::SkipEmptyParts))
                exec(statement, doing);
            exec(u"PRAGMA user_version=1"_s, doing);
            return 0;
        });
    }

    // Moves the damaged file, and its WAL and shared-memory files, aside
    // under the first free numbered name.
    QString setAside()
    {
        QString aside = path + u".damaged"_s;
        for (int n = 2; QFileInfo::exists(aside); ++n)
            aside = path + u".damaged"_s + QString::number(n);
        if (!QFile::rename(path, aside))
            throw RuntimeError(u"The invoice register %1 is damaged and cannot be set aside."_s.arg(
                QDir::toNativeSeparators(path)));
        for (const QString &suffix : {u"-wal"_s, u"-shm"_s})
            if (QFileInfo::exists(path + suffix))
                QFile::rename(path + suffix, aside + suffix);
        return aside;
    }

    RegisterRecord insertRecord(RegisterRecord record) const
    {
        QSqlQuery last = exec(u"SELECT id, hash FROM records ORDER BY id DESC LIMIT 1"_s, u"recording"_s);
        QByteArray previous;
        record.id = 1;
        if (last.next()) {
            record.id = last.value(0).toLongLong() + 1;
            previous = last.value(1).toByteArray();
        }
        QSqlQuery version =
            exec(u"SELECT max(version) FROM records WHERE number = ?"_s, u"recording"_s, {record.number});
        record.version = version.next() ? version.value(0).toInt() + 1 : 1;
        record.replaced = false;
        QVariantList values = {record.id, record.version};
        values << columnValues(record) << hex(record.sha256) << hex(recordHash(record, previous));
        exec(u"INSERT INTO records (id, version, %1, sha256, hash) VALUES (?, ?%2)"_s.arg(
                 Columns.join(u", "_s), u", ?"_s.repeated(Columns.size() + 2)),
             u"recording"_s, values);
        return record;
    }

    struct Pending
    {
        qint64 id;
        QByteArray prior;
        RegisterRecord record;
    };

    // A pending record becomes a record when its file changed since the
    // print began (the PDF was put in place), and is dropped otherwise.
    void settle(Pending &p) const
    {
        const QByteArray now = FileSha256(QDir(invoices()).filePath(p.record.fileName));
        transaction(u"settling what an interrupted print left"_s, [&] {
            if (!now.isEmpty() && now != p.prior) {
                p.record.sha256 = now;
                insertRecord(p.record);
            }
            exec(u"DELETE FROM pending WHERE id = ?"_s, u"settling"_s, {p.id});
            return 0;
        });
    }

    // The pending records with the given key, or those of this program and
    // of programs that no longer run (another running Quillbook may be in
    // the middle of a print).
    QList<Pending> pending(qint64 key = 0) const
    {
        QList<Pending> list;
        QSqlQuery q = exec(u"SELECT id, pid, prior_sha256, %1 FROM pending %2 ORDER BY id"_s.arg(
                               Columns.join(u", "_s), key ? u"WHERE id = ?"_s : QString()),
                           u"reading what an interrupted print left"_s,
                           key ? QVariantList{key} : QVariantList{});
        while (q.next()) {
            const qint64 pid = q.value(1).toLongLong();
            Pending p{q.value(0).toLongLong(), q.value(2).toByteArray(), {}};
            readColumns(q, 3, p.record);
            if (key || pid == QCoreApplication::applicationPid() || !processRunning(pid))
                list << p;
        }
        return list;
    }

    QString invoices() const { return QDir(appFolder).filePath(u"invoices"_s); }
};

clsRegister::clsRegister(const QString &appFolder, int busyTimeoutMs)
    : d(std::make_unique<Private>())
{
    static std::atomic<int> connections = 0;
    d->appFolder = appFolder;
    d->path = DatabasePath(appFolder);
    d->connection = u"register%1"_s.arg(++connections);
    d->busyTimeoutMs = busyTimeoutMs;
}

clsRegister::~clsRegister()
{
    d->disconnect();
}

QString clsRegister::DatabasePath(const QString &appFolder)
{
    return QDir(appFolder).filePath(u"register.sqlite"_s);
}

QString clsRegister::invoicesFolder() const
{
    return d->invoices();
}

void clsRegister::open()
{
    if (d->opened)
        return;
    d->disconnect();
    d->connect();
    try {
        d->prepare();
    } catch (const RuntimeError &) {
        // Only a file that is not a database, or a damaged one, is set
        // aside; a register in use or unwritable is said as such.
        const QSqlError error = QSqlQuery(u"PRAGMA schema_version"_s, d->db()).lastError();
        const int code = error.nativeErrorCode().toInt() & 0xff;
        if (code != SqliteCorrupt && code != SqliteNotADatabase)
            throw;
        d->disconnect();
        const QString aside = d->setAside();
        d->notice = u"The invoice register %1 was damaged. It was set aside as %2 and a new register was "
                    "begun; Rebuild in the register window reads the invoices back from their PDFs."_s.arg(
                        QDir::toNativeSeparators(d->path), QDir::toNativeSeparators(aside));
        d->connect();
        d->prepare();
    }
    for (Private::Pending &p : d->pending())
        d->settle(p);
    d->opened = true;
}

QString clsRegister::takeNotice()
{
    return std::exchange(d->notice, QString());
}

qint64 clsRegister::begin(const RegisterRecord &record)
{
    open();
    // What an earlier print of this program left behind is settled first.
    for (Private::Pending &p : d->pending())
        d->settle(p);
    const QByteArray prior = FileSha256(QDir(d->invoices()).filePath(record.fileName));
    QVariantList values = {QCoreApplication::applicationPid(), hex(prior)};
    values << columnValues(record);
    return d->transaction(u"recording INV%1"_s.arg(record.number), [&] {
        const QSqlQuery q = d->exec(u"INSERT INTO pending (pid, prior_sha256, %1) VALUES (?, ?%2)"_s.arg(
                                        Columns.join(u", "_s), u", ?"_s.repeated(Columns.size())),
                                    u"recording INV%1"_s.arg(record.number), values);
        return q.lastInsertId().toLongLong();
    });
}

RegisterRecord clsRegister::confirm(qint64 pending)
{
    const QString doing = u"recording the invoice"_s;
    QSqlQuery q = d->exec(u"SELECT %1 FROM pending WHERE id = ?"_s.arg(Columns.join(u", "_s)), doing, {pending});
    if (!q.next())
        throw RuntimeError(u"The invoice register %1 lost the record being written."_s.arg(
            QDir::toNativeSeparators(d->path)));
    RegisterRecord record;
    readColumns(q, 0, record);
    q.finish();
    const QString file = QDir(d->invoices()).filePath(record.fileName);
    record.sha256 = FileSha256(file);
    if (record.sha256.isEmpty())
        throw RuntimeError(u"%1 cannot be read to record it in the invoice register."_s.arg(
            QDir::toNativeSeparators(file)));
    return d->transaction(u"recording INV%1"_s.arg(record.number), [&] {
        RegisterRecord recorded = d->insertRecord(record);
        d->exec(u"DELETE FROM pending WHERE id = ?"_s, doing, {pending});
        return recorded;
    });
}

void clsRegister::abandon(qint64 pending) noexcept
{
    try {
        for (Private::Pending &p : d->pending(pending))
            d->settle(p);
    } catch (const RuntimeError &) {
        // Left for the next open() to settle.
    }
}

RegisterRecord clsRegister::append(const RegisterRecord &record)
{
    open();
    return d->transaction(u"recording INV%1"_s.arg(record.number), [&] { return d->insertRecord(record); });
}

QList<RegisterRecord> clsRegister::records(const QDate &from, const QDate &to) const
{
    const QString doing = u"reading it"_s;
    QString sql = u"SELECT id, version, sha256, %1 FROM records"_s.arg(Columns.join(u", "_s));
    QVariantList bounds;
    QStringList where;
    if (from.isValid()) {
        where << u"issued >= ?"_s;
        bounds << from.toString(Qt::ISODate);
    }
    if (to.isValid()) {
        where << u"issued < ?"_s;
        bounds << to.addDays(1).toString(Qt::ISODate);
    }
    if (!where.isEmpty())
        sql += u" WHERE "_s + where.join(u" AND "_s);
    QSqlQuery q = d->exec(sql + u" ORDER BY id"_s, doing, bounds);
    QList<RegisterRecord> list;
    QHash<QString, qsizetype> latest; // number -> index of its latest version so far
    while (q.next()) {
        RegisterRecord r;
        r.id = q.value(0).toLongLong();
        r.version = q.value(1).toInt();
        r.sha256 = q.value(2).toByteArray();
        readColumns(q, 3, r);
        const auto it = latest.find(r.number);
        if (it != latest.end()) {
            list[*it].replaced = true;
            *it = list.size();
        } else {
            latest.insert(r.number, list.size());
        }
        list << r;
    }
    if (q.lastError().isValid())
        d->fail(q.lastError(), doing);
    return list;
}

ChainState clsRegister::checkChain() const
{
    const QString doing = u"checking it"_s;
    QSqlQuery q = d->exec(u"SELECT id, version, sha256, %1, hash FROM records ORDER BY id"_s.arg(Columns.join(u", "_s)),
                          doing);
    QByteArray previous;
    qint64 expectedId = 1;
    while (q.next()) {
        RegisterRecord r;
        r.id = q.value(0).toLongLong();
        r.version = q.value(1).toInt();
        r.sha256 = q.value(2).toByteArray();
        readColumns(q, 3, r);
        const QByteArray stored = q.value(3 + int(Columns.size())).toByteArray();
        if (r.id != expectedId)
            return {false, expectedId, {}, u"record %1 is missing"_s.arg(expectedId)};
        if (recordHash(r, previous) != stored)
            return {false, r.id, r.number,
                    u"record %1 (INV%2) does not match its hash: it or the record before it was altered"_s.arg(r.id).arg(
                        r.number)};
        previous = stored;
        ++expectedId;
    }
    // AUTOINCREMENT remembers the highest position ever used: records
    // removed from the end show as a gap after the last one.
    QSqlQuery seq = d->exec(u"SELECT seq FROM sqlite_sequence WHERE name = 'records'"_s, doing);
    if (seq.next() && seq.value(0).toLongLong() >= expectedId)
        return {false, expectedId, {}, u"record %1 is missing"_s.arg(expectedId)};
    return {};
}
