// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "register/registerrecord.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QList>

#include <vector>

namespace invoiceregister {

class clsRegister;

// The state of a record's PDF in the invoices folder.
enum class PdfStatus { Unchecked, Present, Changed, Missing, Replaced };
QString PdfStatusText(PdfStatus status);

// The register as a table: newest first until sorted otherwise, narrowed by a
// text and a date range. It reads from the register only what the list shows
// (RegisterEntry), sorts and filters that itself, and reads the rest when it
// is needed: the texts to search on the first search, each PDF's name and
// digest as it is checked. The failures of the register's reads are thrown
// as RuntimeError.
class RegisterListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Number, Version, Date, Customer, Net, TaxRate, Tax, Total, Received, Balance, Pdf, ColumnCount };

    explicit RegisterListModel(const clsRegister &invoiceRegister, QObject *parent = nullptr);

    // Reads the register's records again; every PDF is unchecked again.
    void reload();
    // Keeps the records whose number, customer lines, payment method or file
    // name contain `text` (ignoring case) and whose date lies from `from` to
    // `to` (an invalid date leaves that end open).
    void setFilter(const QString &text, const QDate &from, const QDate &to);

    // Checks the PDFs of records not checked yet, for at most `budgetMs`
    // milliseconds; true when every record is checked.
    bool checkPdfs(int budgetMs);

    const RegisterEntry &entry(int row) const;
    PdfStatus status(int row) const;
    QString pdfPath(int row) const;
    // The records shown, in the order shown.
    std::vector<const RegisterEntry *> visibleEntries() const;
    QList<qint64> visibleIds() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

signals:
    // PDFs were checked; the status column changed.
    void pdfsChecked();

private:
    void applyOrder();
    void readSearchTexts();

    const clsRegister &m_register;
    QString m_folder;
    std::vector<RegisterEntry> m_entries; // oldest first
    std::vector<PdfStatus> m_status;
    std::vector<QString> m_searchTexts; // beside m_entries; read on the first search
    std::vector<int> m_visible;         // indexes into m_entries, in display order
    qsizetype m_nextCheck = 0;          // records are checked newest first
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::DescendingOrder;
};

} // namespace invoiceregister
