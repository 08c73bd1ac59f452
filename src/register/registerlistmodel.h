// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "register/registerrecord.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QList>

#include <vector>

// The state of a record's PDF in the invoices folder.
enum class PdfStatus { Unchecked, Present, Changed, Missing, Replaced };
QString PdfStatusText(PdfStatus status);

// The register as a table: newest first until sorted otherwise, narrowed by a
// text and a date range. It does its own sorting and filtering on the
// records' typed values, so a hundred thousand rows stay quick.
class RegisterListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Number, Version, Date, Customer, Net, TaxRate, Tax, Total, Received, Balance, Pdf, ColumnCount };

    explicit RegisterListModel(const QString &invoicesFolder, QObject *parent = nullptr);

    // Replaces the records (oldest first, as the register lists them); every
    // PDF is unchecked again.
    void setRecords(QList<RegisterRecord> records);
    // Keeps the records whose number, customer lines, payment method or file
    // name contain `text` (ignoring case) and whose date lies from `from` to
    // `to` (an invalid date leaves that end open).
    void setFilter(const QString &text, const QDate &from, const QDate &to);

    // Checks the PDFs of records not checked yet, for at most `budgetMs`
    // milliseconds; true when every record is checked.
    bool checkPdfs(int budgetMs);

    const RegisterRecord &record(int row) const;
    PdfStatus status(int row) const;
    QString pdfPath(int row) const;
    // The records shown, in the order shown.
    std::vector<const RegisterRecord *> visibleRecords() const;

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

    QString m_folder;
    QList<RegisterRecord> m_records;
    std::vector<PdfStatus> m_status;
    std::vector<int> m_visible; // indexes into m_records, in display order
    qsizetype m_nextCheck = 0; // records are checked newest first
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::DescendingOrder;
};
