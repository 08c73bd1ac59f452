// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "register/clsregister.h"

#include "invoice/runtimeerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>

#include <gnutls/crypto.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>

using invoice::Amount;
using invoice::RuntimeError;

namespace invoiceregister {

using namespace Qt::StringLiterals;

namespace {

// The columns a record and a pending record share, in the order they are
// bound, read and hashed.
const QStringList Columns
    = {u"number"_s,     u"issued"_s,   u"customer"_s, u"sub_total"_s, u"shipping"_s, u"tax"_s,
       u"surcharge2"_s, u"total"_s,    u"received"_s, u"balance"_s,   u"tax_rate"_s, u"currency"_s,
       u"payment"_s,    u"template"_s, u"einvoice"_s, u"file"_s,      u"rebuilt"_s};

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

// SHA-256 as lowercase hex, through GnuTLS: Qt 6.4's own is portable C,
// many times slower, and every print hashes its PDF once or twice.
class Sha256
{
public:
    Sha256()
    {
        if (gnutls_hash_init(&m_hash, GNUTLS_DIG_SHA256) < 0)
            throw RuntimeError(u"SHA-256 is not available from GnuTLS."_s);
    }
    ~Sha256()
    {
        if (m_hash)
            gnutls_hash_deinit(m_hash, nullptr);
    }
    Sha256(const Sha256 &) = delete;
    Sha256 &operator=(const Sha256 &) = delete;

    void add(QByteArrayView bytes) { gnutls_hash(m_hash, bytes.data(), std::size_t(bytes.size())); }
    QByteArray hex()
    {
        unsigned char digest[32];
        gnutls_hash_deinit(std::exchange(m_hash, nullptr), digest);
        return QByteArray(reinterpret_cast<const char *>(digest), sizeof digest).toHex();
    }

private:
    gnutls_hash_hd_t m_hash = nullptr;
};

// The sentence the user sees for a statement that failed with SQLite's
// result `code`.
[[noreturn]] void fail(int code, const QString &message, const QString &path, const QString &doing)
{
    const QString file = QDir::toNativeSeparators(path);
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw RuntimeError(u"The invoice register %1 is in use by another Quillbook; %2 failed. "
                           "Try again in a moment."_s.arg(file, doing));
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        throw RuntimeError(u"The invoice register %1 is damaged (%2); %3 failed."_s.arg(file, message, doing));
    default:
        throw RuntimeError(u"The invoice register %1 cannot be written (%2); %3 failed."_s.arg(file, message, doing));
    }
}

// One run of a prepared statement: bound, stepped to its first row, read,
// and reset when it goes, so that no read is left open.
class Query
{
public:
    Query(sqlite3_stmt *statement, bool owned, const QString &path, const QString &doing)
        : m_statement(statement), m_owned(owned), m_path(path), m_doing(doing)
    { }
    Query(Query &&other) noexcept
        : m_statement(std::exchange(other.m_statement, nullptr)), m_owned(other.m_owned), m_path(other.m_path),
          m_doing(other.m_doing), m_result(other.m_result), m_fresh(other.m_fresh)
    { }
    Query &operator=(Query &&) = delete;
    ~Query()
    {
        if (!m_statement)
            return;
        if (m_owned) {
            sqlite3_finalize(m_statement);
        } else {
            sqlite3_reset(m_statement);
            sqlite3_clear_bindings(m_statement);
        }
    }

    void run(const QVariantList &values)
    {
        for (int i = 0; i < values.size(); ++i)
            bind(i + 1, values[i]);
        step();
        m_fresh = true;
    }
    bool next()
    {
        if (!std::exchange(m_fresh, false))
            step();
        return m_result == SQLITE_ROW;
    }

    bool isNull(int column) const { return sqlite3_column_type(m_statement, column) == SQLITE_NULL; }
    qint64 integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    // Valid until the next step.
    QByteArrayView utf8(int column) const
    {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
        return QByteArrayView(text, sqlite3_column_bytes(m_statement, column));
    }
    QString text(int column) const { return QString::fromUtf8(utf8(column)); }
    QByteArray bytes(int column) const { return utf8(column).toByteArray(); }

private:
    void bind(int index, const QVariant &value)
    {
        int result = SQLITE_OK;
        if (value.isNull()) {
            result = sqlite3_bind_null(m_statement, index);
        } else if (value.typeId() == QMetaType::QString) {
            const QByteArray text = value.toString().toUtf8();
            result = sqlite3_bind_text(m_statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        } else {
            result = sqlite3_bind_int64(m_statement, index, value.toLongLong());
        }
        if (result != SQLITE_OK)
            failed(result);
    }
    void step()
    {
        m_result = sqlite3_step(m_statement);
        if (m_result != SQLITE_ROW && m_result != SQLITE_DONE)
            failed(m_result);
    }
    [[noreturn]] void failed(int result) const
    {
        fail(result, QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(m_statement))), m_path, m_doing);
    }

    sqlite3_stmt *m_statement;
    bool m_owned;
    const QString &m_path;
    QString m_doing;
    int m_result = SQLITE_DONE;
    bool m_fresh = false;
};

// "2026-03-14T09:15:00", as issuedText writes it, read digit by digit and
// without a time zone; false for any other form.
bool readIssued(QByteArrayView text, QDate &date, QTime &time)
{
    static constexpr char Form[] = "0000-00-00T00:00:00";
    if (text.size() != qsizetype(sizeof Form - 1))
        return false;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (Form[i] == '0' ? !(text[i] >= '0' && text[i] <= '9') : text[i] != Form[i])
            return false;
    const auto number = [&](int at, int digits) {
        int value = 0;
        for (int i = at; i < at + digits; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    date = QDate(number(0, 4), number(5, 2), number(8, 2));
    time = QTime(number(11, 2), number(14, 2), number(17, 2));
    return true;
}

// Reads the shared columns, which start at column `first` of the query.
void readColumns(const Query &q, int first, RegisterRecord &r)
{
    auto amount = [&](int i) { return Amount::fromUnits(q.integer(first + i)); };
    r.number = q.text(first);
    QDate date;
    QTime time;
    r.issued = readIssued(q.utf8(first + 1), date, time) ? QDateTime(date, time)
                                                         : QDateTime::fromString(q.text(first + 1), Qt::ISODate);
    const QStringList lines = q.text(first + 2).split(u'\n');
    for (int i = 0; i < RegisterRecord::CustomerLines && i < lines.size(); ++i)
        r.customer[i] = lines[i];
    r.subTotal = amount(3);
    r.shipping = amount(4);
    r.tax = amount(5);
    r.surcharge2 = amount(6);
    r.total = amount(7);
    r.received = amount(8);
    r.balance = amount(9);
    r.taxRate = q.isNull(first + 10) ? std::nullopt : std::optional<Amount>(amount(10));
    r.currency = q.text(first + 11);
    r.paymentMethod = q.text(first + 12);
    r.templateName = q.text(first + 13);
    r.eInvoice = q.integer(first + 14) != 0;
    r.fileName = q.text(first + 15);
    r.rebuilt = q.integer(first + 16) != 0;
}

// The link of a record: SHA-256 over its position, every stored field and
// the previous record's link, as lowercase hex.
QByteArray recordHash(const RegisterRecord &r, const QByteArray &previous)
{
    QStringList fields = {QString::number(r.id), QString::number(r.version)};
    for (const QVariant &value : columnValues(r))
        fields << (value.isNull() ? u"-"_s : value.toString());
    fields << QString::fromLatin1(r.sha256) << QString::fromLatin1(previous);
    Sha256 hash;
    hash.add(fields.join(QChar(0x1f)).toUtf8());
    return hash.hex();
}

// Whether `pid` is a running Quillbook. The process ids of programs that a
// power cut ended are given out again after the restart, so a process that
// runs under another name is not the one that left a record pending.
bool quillbookRunning(qint64 pid)
{
    if (pid <= 0 || (::kill(pid_t(pid), 0) != 0 && errno != EPERM))
        return false;
    QFile theirs(u"/proc/%1/comm"_s.arg(pid));
    QFile ours(u"/proc/self/comm"_s);
    if (!theirs.open(QIODevice::ReadOnly) || !ours.open(QIODevice::ReadOnly))
        return true; // it cannot be told: it may be one
    return theirs.readAll() == ours.readAll();
}

} // namespace

QByteArray FileSha256(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    Sha256 hash;
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    qint64 read = 0;
    while ((read = file.read(buffer.data(), buffer.size())) > 0)
        hash.add(QByteArrayView(buffer.constData(), read));
    if (read < 0)
        return {};
    return hash.hex();
}

struct clsRegister::Private
{
    QString appFolder;
    QString path;
    QString connection;
    int busyTimeoutMs = 0;
    bool opened = false;
    QString notice;
    // The connection Qt's SQLite driver opened, and the statements prepared
    // on it, each once.
    sqlite3 *handle = nullptr;
    mutable QHash<QString, sqlite3_stmt *> statements;

    QSqlDatabase db() const { return QSqlDatabase::database(connection, false); }

    Query exec(const QString &sql, const QString &doing, const QVariantList &values = {}) const
    {
        if (!handle)
            fail(SQLITE_MISUSE, u"it is not open"_s, path, doing);
        sqlite3_stmt *&kept = statements[sql];
        sqlite3_stmt *statement = kept;
        // A statement still being read (one query inside another) is
        // prepared afresh for this run.
        const bool fresh = !kept || sqlite3_stmt_busy(kept);
        if (fresh) {
            const QByteArray text = sql.toUtf8();
            statement = nullptr;
            const int result = sqlite3_prepare_v3(handle, text.constData(), int(text.size()),
                                                  kept ? 0 : SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
            if (result != SQLITE_OK) {
                sqlite3_finalize(statement);
                fail(result, QString::fromUtf8(sqlite3_errmsg(handle)), path, doing);
            }
        }
        Query q(statement, fresh && kept, path, doing);
        if (!kept)
            kept = statement;
        q.run(values);
        return q;
    }

    // How a transaction reaches the disk: synced before COMMIT returns, or
    // left to the next synced commit (or checkpoint), as SQLite's WAL mode
    // allows; such a commit can be lost to a power cut, never to a crash
    // of the program, and never leaves the database inconsistent.
    enum class Sync { Now, Later };

    // Runs `steps` in one write transaction, taken at once so that two
    // programs appending never interleave their reads and writes.
    template<typename Steps>
    auto transaction(const QString &doing, Steps steps, Sync sync = Sync::Now) const
    {
        exec(sync == Sync::Now ? u"PRAGMA synchronous=FULL"_s : u"PRAGMA synchronous=NORMAL"_s, doing);
        exec(u"BEGIN IMMEDIATE"_s, doing);
        try {
            auto result = steps();
            exec(u"COMMIT"_s, doing);
            return result;
        } catch (...) {
            sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }

    void connect()
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(u"QSQLITE"_s, connection);
        database.setDatabaseName(path);
        database.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=%1"_s.arg(busyTimeoutMs));
        if (!database.open())
            throw RuntimeError(u"The invoice register %1 cannot be opened (%2)."_s.arg(QDir::toNativeSeparators(path),
                                                                                       database.lastError().text()));
        // Statements run on the driver's own connection to SQLite, the
        // system's library that the driver uses too: QSqlQuery turns every
        // value of every row into a QVariant, which a hundred thousand
        // records cannot afford.
        const QVariant driverHandle = database.driver()->handle();
        if (!driverHandle.isValid() || qstrcmp(driverHandle.typeName(), "sqlite3*") != 0)
            throw RuntimeError(u"The invoice register %1 cannot be opened (Qt's SQLite driver gives no "
                               "connection)."_s.arg(QDir::toNativeSeparators(path)));
        handle = *static_cast<sqlite3 *const *>(driverHandle.constData());
    }

    void disconnect()
    {
        for (sqlite3_stmt *statement : std::as_const(statements))
            sqlite3_finalize(statement);
        statements.clear();
        handle = nullptr;
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
        int version = 0;
        {
            Query q = exec(u"PRAGMA user_version"_s, doing);
            if (q.next())
                version = int(q.integer(0));
        }
        if (version >= 1)
            return;
        transaction(doing, [&] {
            for (const QString &statement : Schema.split(u';', Qt::SkipEmptyParts))
                exec(statement, doing);
            exec(u"PRAGMA user_version=1"_s, doing);
            return 0;
        });
    }

    // SQLite's result code for reading the schema: tells a damaged file
    // from one that is in use or cannot be written.
    int probe() const
    {
        return handle ? sqlite3_exec(handle, "PRAGMA schema_version", nullptr, nullptr, nullptr) & 0xff : SQLITE_OK;
    }

    // Moves the damaged file, and its WAL and shared-memory files, aside
    // under the first free numbered name.
    QString setAside()
    {
        QString aside = path + u".damaged"_s;
        for (int n = 2; QFileInfo::exists(aside); ++n)
            aside = path + u".damaged"_s + QString::number(n);
        if (!QFile::rename(path, aside))
            throw RuntimeError(
                u"The invoice register %1 is damaged and cannot be set aside."_s.arg(QDir::toNativeSeparators(path)));
        for (const QString &suffix : {u"-wal"_s, u"-shm"_s})
            if (QFileInfo::exists(path + suffix))
                QFile::rename(path + suffix, aside + suffix);
        return aside;
    }

    RegisterRecord insertRecord(RegisterRecord record) const
    {
        const QString doing = u"recording"_s;
        QByteArray previous;
        record.id = 1;
        {
            Query last = exec(u"SELECT id, hash FROM records ORDER BY id DESC LIMIT 1"_s, doing);
            if (last.next()) {
                record.id = last.integer(0) + 1;
                previous = last.bytes(1);
            }
        }
        {
            Query version = exec(u"SELECT max(version) FROM records WHERE number = ?"_s, doing, {record.number});
            record.version = version.next() ? int(version.integer(0)) + 1 : 1;
        }
        record.replaced = false;
        QVariantList values = {record.id, record.version};
        values << columnValues(record) << hex(record.sha256) << hex(recordHash(record, previous));
        static const QString insert = u"INSERT INTO records (id, version, %1, sha256, hash) VALUES (?, ?%2)"_s.arg(
            Columns.join(u", "_s), u", ?"_s.repeated(Columns.size() + 2));
        exec(insert, doing, values);
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
        static const QString all
            = u"SELECT id, pid, prior_sha256, %1 FROM pending ORDER BY id"_s.arg(Columns.join(u", "_s));
        static const QString one
            = u"SELECT id, pid, prior_sha256, %1 FROM pending WHERE id = ?"_s.arg(Columns.join(u", "_s));
        QList<Pending> list;
        Query q = exec(key ? one : all, u"reading what an interrupted print left"_s,
                       key ? QVariantList{key} : QVariantList{});
        while (q.next()) {
            const qint64 pid = q.integer(1);
            Pending p{q.integer(0), q.bytes(2), {}};
            readColumns(q, 3, p.record);
            if (key || pid == QCoreApplication::applicationPid() || !quillbookRunning(pid))
                list << p;
        }
        return list;
    }

    QString invoices() const { return QDir(appFolder).filePath(u"invoices"_s); }
};

clsRegister::clsRegister(const QString &appFolder, int busyTimeoutMs) : d(std::make_unique<Private>())
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
        const int code = d->probe();
        if (code != SQLITE_CORRUPT && code != SQLITE_NOTADB)
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
    static const QString insert = u"INSERT INTO pending (pid, prior_sha256, %1) VALUES (?, ?%2)"_s.arg(
        Columns.join(u", "_s), u", ?"_s.repeated(Columns.size()));
    // Synced before the PDF is written: whatever happens to the machine
    // after that, the register knows of the PDF.
    return d->transaction(u"recording INV%1"_s.arg(record.number), [&] {
        d->exec(insert, u"recording INV%1"_s.arg(record.number), values);
        return qint64(sqlite3_last_insert_rowid(d->handle));
    });
}

RegisterRecord clsRegister::confirm(qint64 pending)
{
    const QString doing = u"recording the invoice"_s;
    static const QString select = u"SELECT %1 FROM pending WHERE id = ?"_s.arg(Columns.join(u", "_s));
    RegisterRecord record;
    {
        Query q = d->exec(select, doing, {pending});
        if (!q.next())
            throw RuntimeError(
                u"The invoice register %1 lost the record being written."_s.arg(QDir::toNativeSeparators(d->path)));
        readColumns(q, 0, record);
    }
    const QString file = QDir(d->invoices()).filePath(record.fileName);
    record.sha256 = FileSha256(file);
    if (record.sha256.isEmpty())
        throw RuntimeError(
            u"%1 cannot be read to record it in the invoice register."_s.arg(QDir::toNativeSeparators(file)));
    // Not synced on its own: the pending record is on the disk, and should
    // a power cut take this commit, the next open() finds the PDF changed
    // since the print began and records it from the pending record as it
    // would have been recorded here. The next print's synced pending record
    // takes this commit to the disk with it.
    return d->transaction(
        u"recording INV%1"_s.arg(record.number),
        [&] {
            RegisterRecord recorded = d->insertRecord(record);
            d->exec(u"DELETE FROM pending WHERE id = ?"_s, doing, {pending});
            return recorded;
        },
        Private::Sync::Later);
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
    Query q = d->exec(sql + u" ORDER BY id"_s, doing, bounds);
    QList<RegisterRecord> list;
    QHash<QString, qsizetype> latest; // number -> index of its latest version so far
    while (q.next()) {
        RegisterRecord r;
        r.id = q.integer(0);
        r.version = int(q.integer(1));
        r.sha256 = q.bytes(2);
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
    return list;
}

QList<RegisterRecord> clsRegister::recordsAt(const QList<qint64> &ids) const
{
    const QList<RegisterRecord> all = records();
    QHash<qint64, qsizetype> at;
    at.reserve(all.size());
    for (qsizetype i = 0; i < all.size(); ++i)
        at.insert(all[i].id, i);
    QList<RegisterRecord> list;
    list.reserve(ids.size());
    for (qint64 id : ids)
        if (const auto it = at.constFind(id); it != at.cend())
            list << all[*it];
    return list;
}

std::vector<RegisterEntry> clsRegister::entries() const
{
    const QString doing = u"reading it"_s;
    std::vector<RegisterEntry> list;
    {
        Query last = d->exec(u"SELECT max(id) FROM records"_s, doing);
        if (last.next())
            list.reserve(std::size_t(std::clamp<qint64>(last.integer(0), 0, 10000000)));
    }
    Query q = d->exec(u"SELECT id, number, version, issued, customer, sub_total, shipping, tax, tax_rate, total, "
                      "received, balance FROM records ORDER BY id"_s,
                      doing);
    QSet<QString> reprinted; // numbers with a version after the first
    while (q.next()) {
        RegisterEntry &e = list.emplace_back();
        e.id = q.integer(0);
        e.number = q.text(1);
        e.version = int(q.integer(2));
        if (e.version > 1)
            reprinted.insert(e.number);
        if (!readIssued(q.utf8(3), e.date, e.time)) {
            const QDateTime issued = QDateTime::fromString(q.text(3), Qt::ISODate);
            e.date = issued.date();
            e.time = issued.time();
        }
        const QByteArrayView customer = q.utf8(4);
        const auto *lineEnd = std::find(customer.begin(), customer.end(), '\n');
        e.customer = QString::fromUtf8(QByteArrayView(customer.begin(), lineEnd));
        e.subTotal = Amount::fromUnits(q.integer(5));
        e.shipping = Amount::fromUnits(q.integer(6));
        e.tax = Amount::fromUnits(q.integer(7));
        if (!q.isNull(8))
            e.taxRate = Amount::fromUnits(q.integer(8));
        e.total = Amount::fromUnits(q.integer(9));
        e.received = Amount::fromUnits(q.integer(10));
        e.balance = Amount::fromUnits(q.integer(11));
    }
    // Every version of a number but its last is replaced. Only a number
    // printed more than once has a version after the first, and those are
    // few: the rest need no look-up by number.
    if (!reprinted.isEmpty()) {
        QHash<QString, std::size_t> latest;
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (!reprinted.contains(list[i].number))
                continue;
            const auto it = latest.find(list[i].number);
            if (it != latest.end()) {
                list[*it].replaced = true;
                *it = i;
            } else {
                latest.insert(list[i].number, i);
            }
        }
    }
    return list;
}

std::vector<std::pair<qint64, QString>> clsRegister::searchTexts() const
{
    Query q = d->exec(u"SELECT id, number || char(10) || customer || char(10) || payment || char(10) || file "
                      "FROM records ORDER BY id"_s,
                      u"reading it"_s);
    std::vector<std::pair<qint64, QString>> list;
    while (q.next())
        list.emplace_back(q.integer(0), q.text(1));
    return list;
}

std::pair<QString, QByteArray> clsRegister::issuedFile(qint64 id) const
{
    Query q = d->exec(u"SELECT file, sha256 FROM records WHERE id = ?"_s, u"reading it"_s, {id});
    if (!q.next())
        return {};
    return {q.text(0), q.bytes(1)};
}

ChainState clsRegister::checkChain() const
{
    const QString doing = u"checking it"_s;
    static const QString select
        = u"SELECT id, version, sha256, %1, hash FROM records ORDER BY id"_s.arg(Columns.join(u", "_s));
    QByteArray previous;
    qint64 expectedId = 1;
    {
        Query q = d->exec(select, doing);
        while (q.next()) {
            RegisterRecord r;
            r.id = q.integer(0);
            r.version = int(q.integer(1));
            r.sha256 = q.bytes(2);
            readColumns(q, 3, r);
            const QByteArray stored = q.bytes(3 + int(Columns.size()));
            if (r.id != expectedId)
                return {false, expectedId, {}, u"record %1 is missing"_s.arg(expectedId)};
            if (recordHash(r, previous) != stored)
                return {false, r.id, r.number,
                        u"record %1 (INV%2) does not match its hash: it or the record before it was altered"_s.arg(r.id)
                            .arg(r.number)};
            previous = stored;
            ++expectedId;
        }
    }
    // AUTOINCREMENT remembers the highest position ever used: records
    // removed from the end show as a gap after the last one.
    Query seq = d->exec(u"SELECT seq FROM sqlite_sequence WHERE name = 'records'"_s, doing);
    if (seq.next() && seq.integer(0) >= expectedId)
        return {false, expectedId, {}, u"record %1 is missing"_s.arg(expectedId)};
    return {};
}

} // namespace invoiceregister
