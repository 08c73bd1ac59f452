// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "register/registerlistmodel.h"

#include "invoice/numbers.h"
#include "register/clsregister.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

QString PdfStatusText(PdfStatus status)
{
    switch (status) {
    case PdfStatus::Unchecked:
        return u"checking"_s;
    case PdfStatus::Present:
        return u"present"_s;
    case PdfStatus::Changed:
        return u"changed since issued"_s;
    case PdfStatus::Missing:
        return u"missing"_s;
    case PdfStatus::Replaced:
        return u"replaced by a reprint"_s;
    }
    return {};
}

RegisterListModel::RegisterListModel(const QString &invoicesFolder, QObject *parent)
    : QAbstractTableModel(parent)
    , m_folder(invoicesFolder)
{
}

void RegisterListModel::setRecords(QList<RegisterRecord> records)
{
    beginResetModel();
    m_records = std::move(records);
    m_status.assign(m_records.size(), PdfStatus::Unchecked);
    for (qsizetype i = 0; i < m_records.size(); ++i)
        if (m_records[i].replaced)
            m_status[i] = PdfStatus::Replaced;
    m_nextCheck = m_records.size() - 1;
    m_visible.resize(m_records.size());
    for (qsizetype i = 0; i < m_records.size(); ++i)
        m_visible[i] = int(m_records.size() - 1 - i);
    applyOrder();
    endResetModel();
}

void RegisterListModel::setFilter(const QString &text, const QDate &from, const QDate &to)
{
    beginResetModel();
    m_visible.clear();
    const QString needle = text.trimmed();
    const QDateTime start = from.isValid() ? from.startOfDay() : QDateTime();
    const QDateTime end = to.isValid() ? to.addDays(1).startOfDay() : QDateTime();
    auto matches = [&](const RegisterRecord &r) {
        if (needle.isEmpty())
            return true;
        const auto has = [&](const QString &s) { return s.contains(needle, Qt::CaseInsensitive); };
        return has(r.number) || has(r.paymentMethod) || has(r.fileName)
            || std::any_of(r.customer.begin(), r.customer.end(), has);
    };
    for (qsizetype i = m_records.size() - 1; i >= 0; --i) {
        const RegisterRecord &r = m_records[i];
        if ((start.isValid() && r.issued < start) || (end.isValid() && r.issued >= end) || !matches(r))
            continue;
        m_visible.push_back(int(i));
    }
    applyOrder();
    endResetModel();
}

bool RegisterListModel::checkPdfs(int budgetMs)
{
    QElapsedTimer clock;
    clock.start();
    const qsizetype first = m_nextCheck;
    while (m_nextCheck >= 0 && clock.elapsed() < budgetMs) {
        const qsizetype i = m_nextCheck--;
        if (m_status[i] != PdfStatus::Unchecked)
            continue;
        const QString path = QDir(m_folder).filePath(m_records[i].fileName);
        if (!QFileInfo::exists(path))
            m_status[i] = PdfStatus::Missing;
        else
            m_status[i] = FileSha256(path) == m_records[i].sha256 ? PdfStatus::Present : PdfStatus::Changed;
    }
    if (first != m_nextCheck && !m_visible.empty()) {
        emit dataChanged(index(0, Pdf), index(rowCount() - 1, Pdf));
        emit pdfsChecked();
    }
    return m_nextCheck < 0;
}

const RegisterRecord &RegisterListModel::record(int row) const
{
    return m_records[m_visible[row]];
}

PdfStatus RegisterListModel::status(int row) const
{
    return m_status[m_visible[row]];
}

QString RegisterListModel::pdfPath(int row) const
{
    return QDir(m_folder).filePath(record(row).fileName);
}

std::vector<const RegisterRecord *> RegisterListModel::visibleRecords() const
{
    std::vector<const RegisterRecord *> list;
    list.reserve(m_visible.size());
    for (int i : m_visible)
        list.push_back(&m_records[i]);
    return list;
}

int RegisterListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_visible.size());
}

int RegisterListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RegisterListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const RegisterRecord &r = record(index.row());
    if (role == Qt::TextAlignmentRole)
        return index.column() >= Net && index.column() <= Balance ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                                  : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole && role != Qt::ToolTipRole)
        return {};
    switch (Column(index.column())) {
    case Number:
        return u"INV"_s + r.number;
    case Version:
        return r.replaced ? u"%1 (replaced)"_s.arg(r.version) : QString::number(r.version);
    case Date:
        return r.issued.toString(u"yyyy-MM-dd HH:mm"_s);
    case Customer:
        return r.customer[0];
    case Net:
        return FormatAmount(r.net(), 2);
    case TaxRate:
        return r.taxRate ? FormatAmount(*r.taxRate, 2) + u'%' : u"no tax"_s;
    case Tax:
        return FormatAmount(r.tax, 2);
    case Total:
        return FormatAmount(r.total, 2);
    case Received:
        return FormatAmount(r.received, 2);
    case Balance:
        return FormatAmount(r.balance, 2);
    case Pdf:
        return PdfStatusText(status(index.row()));
    case ColumnCount:
        break;
    }
    return {};
}

QVariant RegisterListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    static const QStringList names = {u"Invoice"_s, u"Version"_s,  u"Issued"_s,   u"Customer"_s,
                                      u"Net"_s,     u"Tax rate"_s, u"Tax"_s,      u"Total"_s,
                                      u"Received"_s, u"Balance"_s, u"PDF"_s};
    return names.value(section);
}

void RegisterListModel::sort(int column, Qt::SortOrder order)
{
    emit layoutAboutToBeChanged();
    // Selections and the current row follow their records.
    const QModelIndexList before = persistentIndexList();
    std::vector<int> records;
    for (const QModelIndex &old : before)
        records.push_back(m_visible[old.row()]);
    m_sortColumn = column;
    m_sortOrder = order;
    applyOrder();
    std::vector<int> rowOf(m_records.size());
    for (std::size_t row = 0; row < m_visible.size(); ++row)
        rowOf[m_visible[row]] = int(row);
    for (qsizetype k = 0; k < before.size(); ++k)
        changePersistentIndex(before[k], index(rowOf[records[k]], before[k].column()));
    emit layoutChanged();
}

void RegisterListModel::applyOrder()
{
    if (m_sortColumn < 0)
        return; // newest first, as filled
    auto key = [this](int i) -> std::tuple<QString, qint64, qint64> {
        const RegisterRecord &r = m_records[i];
        switch (Column(m_sortColumn)) {
        case Number:
            // INV9 before INV10: shorter numbers first, then by text.
            return {r.number.rightJustified(20, u'0'), r.version, 0};
        case Version:
            return {{}, r.version, r.id};
        case Date:
            return {{}, r.issued.toSecsSinceEpoch(), r.id};
        case Customer:
            return {r.customer[0].toCaseFolded(), r.id, 0};
        case Net:
            return {{}, r.net().units(), r.id};
        case TaxRate:
            return {{}, r.taxRate ? r.taxRate->units() : -1, r.id};
        case Tax:
            return {{}, r.tax.units(), r.id};
        case Total:
            return {{}, r.total.units(), r.id};
        case Received:
            return {{}, r.received.units(), r.id};
        case Balance:
            return {{}, r.balance.units(), r.id};
        case Pdf:
            return {{}, qint64(m_status[i]), r.id};
        case ColumnCount:
            break;
        }
        return {{}, r.id, 0};
    };
    std::vector<std::pair<std::tuple<QString, qint64, qint64>, int>> keyed;
    keyed.reserve(m_visible.size());
    for (int i : m_visible)
        keyed.emplace_back(key(i), i);
    std::stable_sort(keyed.begin(), keyed.end(), [&](const auto &a, const auto &b) {
        return m_sortOrder == Qt::AscendingOrder ? a.first < b.first : b.first < a.first;
    });
    for (std::size_t k = 0; k < keyed.size(); ++k)
        m_visible[k] = keyed[k].second;
}
