// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "register/registerlistmodel.h"

#include "invoice/numbers.h"
#include "register/clsregister.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>

using invoice::FormatAmount;

namespace invoiceregister {

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

RegisterListModel::RegisterListModel(const clsRegister &invoiceRegister, QObject *parent)
    : QAbstractTableModel(parent), m_register(invoiceRegister), m_folder(invoiceRegister.invoicesFolder())
{ }

void RegisterListModel::reload()
{
    std::vector<RegisterEntry> entries = m_register.entries();
    beginResetModel();
    m_entries = std::move(entries);
    m_searchTexts.clear();
    m_status.assign(m_entries.size(), PdfStatus::Unchecked);
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].replaced)
            m_status[i] = PdfStatus::Replaced;
    m_nextCheck = qsizetype(m_entries.size()) - 1;
    m_visible.resize(m_entries.size());
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_visible[i] = int(m_entries.size() - 1 - i);
    applyOrder();
    endResetModel();
}

void RegisterListModel::readSearchTexts()
{
    const std::vector<std::pair<qint64, QString>> texts = m_register.searchTexts();
    // Both are oldest first; a record added since the list was read is
    // left for the next reload().
    std::vector<QString> byEntry(m_entries.size());
    std::size_t t = 0;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        while (t < texts.size() && texts[t].first < m_entries[i].id)
            ++t;
        if (t < texts.size() && texts[t].first == m_entries[i].id)
            byEntry[i] = texts[t].second;
    }
    m_searchTexts = std::move(byEntry);
}

void RegisterListModel::setFilter(const QString &text, const QDate &from, const QDate &to)
{
    const QString needle = text.trimmed();
    if (!needle.isEmpty() && m_searchTexts.size() != m_entries.size())
        readSearchTexts();
    beginResetModel();
    m_visible.clear();
    // The texts hold a field to a line: a text without a line break is
    // found within one field, as it must be.
    const bool nothing = needle.contains(u'\n');
    for (qsizetype i = qsizetype(m_entries.size()) - 1; i >= 0; --i) {
        const RegisterEntry &e = m_entries[i];
        if ((from.isValid() && e.date < from) || (to.isValid() && e.date > to))
            continue;
        if (!needle.isEmpty() && (nothing || !m_searchTexts[i].contains(needle, Qt::CaseInsensitive)))
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
        const auto [file, sha256] = m_register.issuedFile(m_entries[i].id);
        const QString path = QDir(m_folder).filePath(file);
        if (file.isEmpty() || !QFileInfo::exists(path))
            m_status[i] = PdfStatus::Missing;
        else
            m_status[i] = FileSha256(path) == sha256 ? PdfStatus::Present : PdfStatus::Changed;
    }
    if (first != m_nextCheck && !m_visible.empty()) {
        emit dataChanged(index(0, Pdf), index(rowCount() - 1, Pdf));
        emit pdfsChecked();
    }
    return m_nextCheck < 0;
}

const RegisterEntry &RegisterListModel::entry(int row) const
{
    return m_entries[m_visible[row]];
}

PdfStatus RegisterListModel::status(int row) const
{
    return m_status[m_visible[row]];
}

QString RegisterListModel::pdfPath(int row) const
{
    const QString file = m_register.issuedFile(entry(row).id).first;
    return file.isEmpty() ? QString() : QDir(m_folder).filePath(file);
}

std::vector<const RegisterEntry *> RegisterListModel::visibleEntries() const
{
    std::vector<const RegisterEntry *> list;
    list.reserve(m_visible.size());
    for (int i : m_visible)
        list.push_back(&m_entries[i]);
    return list;
}

QList<qint64> RegisterListModel::visibleIds() const
{
    QList<qint64> ids;
    ids.reserve(qsizetype(m_visible.size()));
    for (int i : m_visible)
        ids << m_entries[i].id;
    return ids;
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
    const RegisterEntry &r = entry(index.row());
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
        return QDateTime(r.date, r.time).toString(u"yyyy-MM-dd HH:mm"_s);
    case Customer:
        return r.customer;
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
    static const QStringList names = {u"Invoice"_s, u"Version"_s, u"Issued"_s,   u"Customer"_s, u"Net"_s, u"Tax rate"_s,
                                      u"Tax"_s,     u"Total"_s,   u"Received"_s, u"Balance"_s,  u"PDF"_s};
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
    std::vector<int> rowOf(m_entries.size());
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
        const RegisterEntry &r = m_entries[i];
        switch (Column(m_sortColumn)) {
        case Number:
            // INV9 before INV10: shorter numbers first, then by text.
            return {r.number.rightJustified(20, u'0'), r.version, 0};
        case Version:
            return {{}, r.version, r.id};
        case Date:
            return {{}, r.date.toJulianDay() * 86400 + r.time.msecsSinceStartOfDay() / 1000, r.id};
        case Customer:
            return {r.customer.toCaseFolded(), r.id, 0};
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

} // namespace invoiceregister
