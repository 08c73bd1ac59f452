// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmregister.h"

#include "invoice/numbers.h"
#include "invoice/runtimeerror.h"
#include "platform/clock.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "register/clsregister.h"
#include "register/periodtotals.h"
#include "register/registercsv.h"
#include "register/registerlistmodel.h"
#include "register/registerrebuild.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <set>

using invoiceregister::ChainState;
using invoiceregister::clsRegister;
using invoiceregister::Period;
using invoiceregister::PeriodTotal;
using invoiceregister::PeriodTotals;
using invoiceregister::RebuildRegister;
using invoiceregister::RebuildResult;
using invoiceregister::RegisterEntry;
using invoiceregister::RegisterListModel;
using invoiceregister::RegisterRecord;
using invoiceregister::WriteRegisterCsv;

using platform::Platform;
using platform::ShellOpenFile;

using invoice::Amount;
using invoice::FormatAmount;
using invoice::RuntimeError;

namespace ui {

using namespace Qt::StringLiterals;

namespace {

// A date box whose earliest date reads "any": that end of the range is open.
// Tab leaves it, as it leaves every other control (QDateEdit would keep the
// focus on "any"); the arrow keys move between year, month and day.
class DateBox : public QDateEdit
{
public:
    using QDateEdit::QDateEdit;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
                return QWidget::focusNextPrevChild(key == Qt::Key_Tab);
        }
        return QDateEdit::event(event);
    }
};

QDateEdit *makeDateBox(QWidget *parent, const QString &name, const QString &spoken)
{
    auto *box = new DateBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(spoken);
    box->setDisplayFormat(u"yyyy-MM-dd"_s);
    box->setMinimumDate(QDate(2000, 1, 1));
    box->setSpecialValueText(u"any"_s);
    box->setDate(box->minimumDate());
    box->setCalendarPopup(true);
    return box;
}

QDate chosenDate(const QDateEdit *box)
{
    return box->date() == box->minimumDate() ? QDate() : box->date();
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption, const QString &spoken)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(spoken);
    return button;
}

QLabel *makeLabel(QWidget *parent, const QString &caption, QWidget *buddy)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(buddy->objectName() + u"Label"_s);
    label->setBuddy(buddy);
    return label;
}

} // namespace

frmRegister::frmRegister(Platform &platform, std::shared_ptr<clsRegister> invoiceRegister, QWidget *parent)
    : QWidget(parent, Qt::Window), m_platform(platform), m_register(std::move(invoiceRegister))
{
    setObjectName(u"frmRegister"_s);
    setWindowTitle(u"Invoice register"_s);
    setAccessibleName(u"Invoice register"_s);
    // The program ends with its main window, which takes this one along.
    setAttribute(Qt::WA_QuitOnClose, false);

    txtFilter = new QLineEdit(this);
    txtFilter->setObjectName(u"txtFilter"_s);
    txtFilter->setAccessibleName(u"Find invoices by number, customer, payment method or file"_s);
    txtFilter->setClearButtonEnabled(true);
    dtpFrom = makeDateBox(this, u"dtpFrom"_s, u"Issued from"_s);
    dtpTo = makeDateBox(this, u"dtpTo"_s, u"Issued to"_s);

    m_model = new RegisterListModel(*m_register, this);
    tblRecords = new QTableView(this);
    tblRecords->setObjectName(u"tblRecords"_s);
    tblRecords->setAccessibleName(u"Recorded invoices"_s);
    tblRecords->setModel(m_model);
    tblRecords->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    tblRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblRecords->setTabKeyNavigation(false); // Tab leaves the list, as it does every other control
    tblRecords->setWordWrap(false);
    tblRecords->verticalHeader()->hide();
    tblRecords->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblRecords->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tblRecords->horizontalHeader()->setSectionsClickable(true);
    tblRecords->horizontalHeader()->setSortIndicatorShown(true);
    tblRecords->horizontalHeader()->setSortIndicator(-1, Qt::DescendingOrder);
    tblRecords->horizontalHeader()->setStretchLastSection(true);
    const int widths[RegisterListModel::ColumnCount] = {80, 60, 120, 190, 85, 70, 75, 85, 85, 85, 150};
    for (int c = 0; c < RegisterListModel::ColumnCount; ++c)
        tblRecords->setColumnWidth(c, widths[c]);
    tblRecords->setSortingEnabled(false);
    connect(tblRecords->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) { m_model->sort(column, order); });

    cmbPeriod = new QComboBox(this);
    cmbPeriod->setObjectName(u"cmbPeriod"_s);
    cmbPeriod->setAccessibleName(u"Totals by period"_s);
    cmbPeriod->addItems({u"Month"_s, u"Quarter"_s, u"Year"_s});
    cmbPeriod->setCurrentIndex(1);
    tblTotals = new QTableWidget(this);
    tblTotals->setObjectName(u"tblTotals"_s);
    tblTotals->setAccessibleName(u"Totals of the invoices shown, by period"_s);
    tblTotals->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblTotals->setTabKeyNavigation(false);
    tblTotals->verticalHeader()->hide();
    tblTotals->setMinimumHeight(120);

    lblChain = new QLabel(this);
    lblChain->setObjectName(u"lblChain"_s);
    lblChain->setAccessibleName(u"Hash chain"_s);
    lblChain->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    lblChain->setFocusPolicy(Qt::TabFocus);
    lblCount = new QLabel(this);
    lblCount->setObjectName(u"lblCount"_s);
    lblCount->setAccessibleName(u"Invoices shown"_s);

    cmdOpen = makeButton(this, u"cmdOpen"_s, u"&Open PDF"_s, u"Open the selected invoice PDF"_s);
    cmdExport = makeButton(this, u"cmdExport"_s, u"&Export CSV..."_s, u"Export the invoices shown as CSV"_s);
    cmdRebuild
        = makeButton(this, u"cmdRebuild"_s, u"Re&build from PDFs"_s, u"Rebuild the register from the invoice PDFs"_s);
    cmdClose = makeButton(this, u"cmdClose"_s, u"Close"_s, u"Close the register"_s);

    auto *filters = new QHBoxLayout;
    filters->addWidget(makeLabel(this, u"&Find:"_s, txtFilter));
    filters->addWidget(txtFilter, 1);
    filters->addWidget(makeLabel(this, u"F&rom:"_s, dtpFrom));
    filters->addWidget(dtpFrom);
    filters->addWidget(makeLabel(this, u"&To:"_s, dtpTo));
    filters->addWidget(dtpTo);
    auto *totalsBar = new QHBoxLayout;
    totalsBar->addWidget(makeLabel(this, u"Totals &by:"_s, cmbPeriod));
    totalsBar->addWidget(cmbPeriod);
    totalsBar->addWidget(lblCount, 1);
    totalsBar->addWidget(lblChain, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdOpen);
    buttons->addWidget(cmdExport);
    buttons->addWidget(cmdRebuild);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(tblRecords, 3);
    layout->addLayout(totalsBar);
    layout->addWidget(tblTotals, 1);
    layout->addLayout(buttons);
    const QList<QWidget *> order = {txtFilter, dtpFrom, dtpTo,     tblRecords, cmbPeriod, lblChain,
                                    tblTotals, cmdOpen, cmdExport, cmdRebuild, cmdClose};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    resize(1100, 640);

    connect(txtFilter, &QLineEdit::textChanged, this, &frmRegister::applyFilter);
    connect(dtpFrom, &QDateEdit::dateChanged, this, &frmRegister::applyFilter);
    connect(dtpTo, &QDateEdit::dateChanged, this, &frmRegister::applyFilter);
    connect(cmbPeriod, &QComboBox::currentIndexChanged, this, &frmRegister::showTotals);
    // Enter on a row and a double-click both open its PDF.
    connect(tblRecords, &QTableView::activated, this, [this](const QModelIndex &index) { openPdf(index.row()); });
    connect(cmdOpen, &QPushButton::clicked, this, [this] {
        const QModelIndex current = tblRecords->currentIndex();
        if (current.isValid())
            openPdf(current.row());
    });
    connect(cmdExport, &QPushButton::clicked, this, &frmRegister::cmdExport_Click);
    connect(cmdRebuild, &QPushButton::clicked, this, &frmRegister::cmdRebuild_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    // The PDFs are checked in slices between events, newest first, so the
    // window answers at once however many records there are.
    m_pdfCheck = new QTimer(this);
    m_pdfCheck->setInterval(0);
    connect(m_pdfCheck, &QTimer::timeout, this, [this] {
        bool done = true;
        if (!Trapped([&] { done = m_model->checkPdfs(20); }) || done)
            m_pdfCheck->stop();
    });

    reload();
}

frmRegister::~frmRegister() = default;

bool frmRegister::Trapped(const std::function<void()> &steps)
{
    try {
        steps();
        return true;
    } catch (const RuntimeError &error) {
        m_platform.messages.inform(error.description());
    } catch (const std::exception &error) {
        m_platform.messages.inform(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

void frmRegister::reload()
{
    Trapped([this] {
        m_register->open();
        m_model->reload();
    });
    applyFilter();
    lblChain->setText(u"Hash chain: checking"_s);
    // The chain is checked once the window has been drawn.
    QTimer::singleShot(0, this, &frmRegister::checkChain);
    m_pdfCheck->start();
}

void frmRegister::applyFilter()
{
    Trapped([this] { m_model->setFilter(txtFilter->text(), chosenDate(dtpFrom), chosenDate(dtpTo)); });
    const int sortColumn = tblRecords->horizontalHeader()->sortIndicatorSection();
    if (sortColumn >= 0 && sortColumn < RegisterListModel::ColumnCount)
        m_model->sort(sortColumn, tblRecords->horizontalHeader()->sortIndicatorOrder());
    lblCount->setText(u"%1 invoices shown"_s.arg(m_model->rowCount()));
    showTotals();
}

void frmRegister::showTotals()
{
    QList<PeriodTotal> rows;
    const std::vector<const RegisterEntry *> entries = m_model->visibleEntries();
    if (!Trapped([&] { rows = PeriodTotals(entries, Period(cmbPeriod->currentIndex())); }))
        return;
    std::set<qint64> rates;
    for (const PeriodTotal &row : std::as_const(rows))
        for (auto it = row.taxByRate.cbegin(); it != row.taxByRate.cend(); ++it)
            rates.insert(it.key());
    QStringList headings = {u"Period"_s, u"Invoices"_s, u"Net"_s};
    for (qint64 rate : rates)
        headings << u"Tax at %1%"_s.arg(FormatAmount(Amount::fromUnits(rate), 2));
    headings << u"Total"_s << u"Received"_s << u"Balance"_s;
    tblTotals->clear();
    tblTotals->setColumnCount(int(headings.size()));
    tblTotals->setHorizontalHeaderLabels(headings);
    tblTotals->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const PeriodTotal &row = rows[r];
        QStringList cells = {row.period, QString::number(row.invoices), FormatAmount(row.net, 2)};
        for (qint64 rate : rates)
            cells << FormatAmount(row.taxByRate.value(rate), 2);
        cells << FormatAmount(row.total, 2) << FormatAmount(row.received, 2) << FormatAmount(row.balance, 2);
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(Qt::AlignVCenter | (c == 0 ? Qt::AlignLeft : Qt::AlignRight));
            tblTotals->setItem(r, c, item);
        }
    }
}

void frmRegister::checkChain()
{
    ChainState state;
    if (!Trapped([&] { state = m_register->checkChain(); }))
        return;
    lblChain->setText(state.intact ? u"Hash chain: intact"_s : u"Hash chain broken: %1"_s.arg(state.reason));
}

void frmRegister::openPdf(int row)
{
    QString path;
    if (row >= 0 && row < m_model->rowCount() && Trapped([&] { path = m_model->pdfPath(row); }) && !path.isEmpty())
        ShellOpenFile(m_platform.shell, m_platform.messages, path);
}

void frmRegister::cmdExport_Click()
{
    const QString suggested
        = QDir(m_platform.appFolder).filePath(u"register-%1.csv"_s.arg(m_platform.clock.today().toString(Qt::ISODate)));
    const QString path = m_platform.fileDialog.saveFileName({u"CSV files"_s, {u"*.csv"_s}}, suggested);
    if (path.isEmpty())
        return;
    // The whole records of the rows shown are read for the export alone.
    QList<RegisterRecord> records;
    if (!Trapped([&] { records = m_register->recordsAt(m_model->visibleIds()); }))
        return;
    std::vector<const RegisterRecord *> list;
    list.reserve(std::size_t(records.size()));
    for (const RegisterRecord &r : std::as_const(records))
        list.push_back(&r);
    QString error;
    if (!WriteRegisterCsv(path, list, &error))
        m_platform.messages.inform(error);
}

void frmRegister::cmdRebuild_Click()
{
    RebuildResult result;
    if (!Trapped([&] { result = RebuildRegister(*m_register); }))
        return;
    QString text = u"%1 invoices were added to the register from the e-invoices they carry; %2 were "
                   "recorded already."_s.arg(result.added)
                       .arg(result.known);
    if (!result.unread.isEmpty())
        text += u"\r\nThese PDFs carry no e-invoice whose figures could be read, and were not recorded:\r\n"_s
            + result.unread.join(u", "_s);
    m_platform.messages.inform(text);
    reload();
}

} // namespace ui
