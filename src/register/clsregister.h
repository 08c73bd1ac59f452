// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "register/registerrecord.h"

#include <QDate>
#include <QList>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace invoiceregister {

// The register of issued invoices: an SQLite database (register.sqlite, in
// WAL mode) in the application folder beside invoices/. Records are only
// ever appended, each in a transaction of its own, and each carries the hash
// of its fields and of the record before it.
//
// An invoice is recorded in three steps so that a failure or a kill at any
// moment leaves the register and the invoices folder in agreement: begin()
// writes a pending record before the PDF is written, confirm() turns it into
// a record once the PDF is in place, abandon() drops it when no PDF was
// written. A pending record left behind by an interrupted print is settled
// at the next open(): it becomes a record when its file changed since the
// print began, and is dropped otherwise.
//
// Every operation throws RuntimeError with a sentence naming the cause.
class clsRegister
{
public:
    // busyTimeoutMs: how long to wait for another program that holds the
    // database before saying that it is in use.
    explicit clsRegister(const QString &appFolder, int busyTimeoutMs = 3000);
    ~clsRegister();
    clsRegister(const clsRegister &) = delete;
    clsRegister &operator=(const clsRegister &) = delete;

    static QString DatabasePath(const QString &appFolder);
    QString invoicesFolder() const;

    // Opens the database, making it at first use, and settles what an
    // interrupted print left pending. A file that is not a readable database
    // is set aside as register.sqlite.damaged (then .damaged2, ...) and a new
    // register is begun; takeNotice() then says so. Calls after the first
    // successful one do nothing.
    void open();
    // What the user should be told about the last open(); empty when nothing.
    QString takeNotice();

    // The three steps of recording. begin() takes the record's figures and
    // file name and returns the pending record's key.
    qint64 begin(const RegisterRecord &record);
    // Records the pending invoice with the digest of its file as it is now.
    RegisterRecord confirm(qint64 pending);
    // Drops a pending record whose PDF was not written (a refused or failed
    // print); one whose file did change is recorded as open() would. Never
    // throws: what cannot be settled now is settled at the next open().
    void abandon(qint64 pending) noexcept;

    // Appends a record whose figures and digest are known (a rebuild).
    RegisterRecord append(const RegisterRecord &record);

    // Every record, oldest first; with dates, those issued from `from` to
    // `to`, both included (an invalid date leaves that end open).
    QList<RegisterRecord> records(const QDate &from = {}, const QDate &to = {}) const;
    // The records at these positions, in this order; positions not in the
    // register are left out.
    QList<RegisterRecord> recordsAt(const QList<qint64> &ids) const;

    // Every record as the register window lists it, oldest first.
    std::vector<RegisterEntry> entries() const;
    // For each record, oldest first, its position and what the window's
    // filter looks in: the number, the customer's lines, the payment method
    // and the file name, one to a line.
    std::vector<std::pair<qint64, QString>> searchTexts() const;
    // The file name the record at `id` was issued as and its digest; empty
    // when there is no such record.
    std::pair<QString, QByteArray> issuedFile(qint64 id) const;

    // Recomputes every link of the chain, and checks that no record is
    // missing at the end.
    ChainState checkChain() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// The SHA-256 of a file as lowercase hex; empty when it cannot be read.
QByteArray FileSha256(const QString &path);

// One invoice being recorded: begun on construction; unless confirmed, the
// pending record is settled by abandon() on destruction, so that every way
// out of a print (a refusal, a failure) leaves the register in agreement
// with the folder.
class PendingRecord
{
public:
    PendingRecord(clsRegister &invoiceRegister, const RegisterRecord &record)
        : m_register(invoiceRegister), m_key(invoiceRegister.begin(record))
    { }
    ~PendingRecord()
    {
        if (!m_confirming)
            m_register.abandon(m_key);
    }
    PendingRecord(const PendingRecord &) = delete;
    PendingRecord &operator=(const PendingRecord &) = delete;

    // Once the PDF is in place. A failure leaves the pending record for the
    // next open() to record.
    RegisterRecord confirm()
    {
        m_confirming = true;
        return m_register.confirm(m_key);
    }

private:
    clsRegister &m_register;
    qint64 m_key;
    bool m_confirming = false;
};

} // namespace invoiceregister
