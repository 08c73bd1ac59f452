// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The register's costs: what recording adds to a print (compare with
// PrintClickToPdf in bench_window, and with one synced write of the same
// disk, which recording cannot go below), and, over 100,000 generated
// records, opening the register window, the period totals, the chain check
// and the database's size per record.
#include "invoicepdf/invoicereport.h"
#include "platform/clock.h"
#include "platform/dialogrunner.h"
#include "platform/filedialog.h"
#include "platform/filesystem.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/settingsstore.h"
#include "platform/shell.h"
#include "platformui/modaldialogrunner.h"
#include "register/clsregister.h"
#include "register/periodtotals.h"
#include "ui/frmregister.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

using ui::frmRegister;

using invoiceregister::clsRegister;
using invoiceregister::PendingRecord;
using invoiceregister::Period;
using invoiceregister::PeriodTotals;
using invoiceregister::RegisterEntry;
using invoiceregister::RegisterRecord;

using invoicepdf::EngineInvoiceReport;

using platformui::ModalDialogRunner;

using platform::FileDialog;
using platform::FileFilter;
using platform::Message;
using platform::MessageBox;
using platform::Platform;
using platform::QSettingsStore;
using platform::QtFileSystem;
using platform::Shell;
using platform::ShellResult;
using platform::SystemClock;

using invoice::Amount;

using namespace Qt::StringLiterals;

namespace {

constexpr int RecordCount = 100000;

class SilentMessages : public MessageBox
{
public:
    Message::Answer show(const Message &) override { return Message::Answer::Ok; }
};

class NoViewer : public Shell
{
public:
    void open(const QString &, Done done) override { done(ShellResult::Opened); }
};

class NoFileDialog : public FileDialog
{
public:
    QString openFileName(const FileFilter &) override { return {}; }
};

RegisterRecord sample(int n)
{
    RegisterRecord r;
    r.number = QString::number(1000 + n);
    r.issued = QDateTime(QDate(2020, 1, 1).addDays(n / 40), QTime(9, 0).addSecs(n % 40 * 600));
    r.customer
        = {u"Customer %1 Ltd"_s.arg(n % 977), u"%1 High Street"_s.arg(n % 120), u"Bristol"_s, {}, {}, u"BS1 4DJ"_s};
    r.subTotal = Amount::fromUnits((1000 + n % 50000) * 100);
    r.shipping = Amount::fromUnits(n % 3 * 40000);
    r.taxRate = n % 5 == 0 ? std::nullopt : std::optional<Amount>(Amount::fromUnits(n % 2 ? 200000 : 50000));
    r.tax = r.taxRate ? Amount::fromUnits(r.net().units() / 100 * (r.taxRate->units() / 10000) / 100 * 100) : Amount();
    r.total = r.net() + r.tax;
    r.received = Amount::fromUnits(n % 4 == 0 ? r.total.units() : 0);
    r.balance = r.total - r.received;
    r.currency = u"GBP"_s;
    r.paymentMethod = u"CASH"_s;
    r.templateName = u"invferncask.rep"_s;
    r.fileName = u"INV%1.pdf"_s.arg(r.number);
    r.sha256 = QByteArray(64, 'a');
    return r;
}

// 100,000 records generated once, in memory-backed storage where there is
// some, as the benchmarks share them.
struct Generated
{
    QTemporaryDir dir{QDir(u"/dev/shm"_s).exists() ? u"/dev/shm/bench_register-XXXXXX"_s : QString()};
    qint64 bytes = 0;

    Generated()
    {
        QDir(dir.path()).mkpath(u"invoices"_s);
        clsRegister reg(dir.path());
        for (int n = 0; n < RecordCount; ++n)
            reg.append(sample(n));
    }
    ~Generated() = default;
    static Generated &get()
    {
        static Generated generated;
        return generated;
    }
    qint64 size() const
    {
        qint64 total = 0;
        for (const QString &suffix : {u""_s, u"-wal"_s})
            total += QFileInfo(clsRegister::DatabasePath(dir.path()) + suffix).size();
        return total;
    }
};

// begin() and confirm() around a PDF of an invoice's usual size, in a
// register that already holds a year of invoices.
void RecordOnePrint(benchmark::State &state)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(u"invoices"_s);
    clsRegister reg(dir.path());
    for (int n = 0; n < 1000; ++n)
        reg.append(sample(n));
    RegisterRecord r = sample(5000);
    QFile pdf(QDir(reg.invoicesFolder()).filePath(r.fileName));
    pdf.open(QIODevice::WriteOnly);
    QByteArray bytes(60 * 1024, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
    pdf.write(bytes);
    pdf.close();
    for (auto _ : state) {
        PendingRecord pending(reg, r);
        benchmark::DoNotOptimize(pending.confirm());
    }
}
BENCHMARK(RecordOnePrint)->Unit(benchmark::kMillisecond);

// The floor under RecordOnePrint: the pending record must be on the disk
// before the PDF is written, which takes one synced write. This is a bare
// one, 8 KB written and fdatasync()ed where RecordOnePrint's register lies.
void SyncedWrite(benchmark::State &state)
{
    QTemporaryDir dir;
    const int fd = ::open(QFile::encodeName(dir.filePath(u"synced"_s)).constData(), O_CREAT | O_WRONLY, 0600);
    const QByteArray bytes(8192, 'x');
    for (auto _ : state)
        if (::pwrite(fd, bytes.constData(), bytes.size(), 0) != bytes.size() || ::fdatasync(fd) != 0)
            state.SkipWithError("the file cannot be written");
    ::close(fd);
}
BENCHMARK(SyncedWrite)->Unit(benchmark::kMillisecond);

void OpenWindow100k(benchmark::State &state)
{
    Generated &g = Generated::get();
    QSettingsStore store(g.dir.path());
    SilentMessages messages;
    QtFileSystem files;
    NoViewer shell;
    SystemClock clock;
    EngineInvoiceReport report;
    ModalDialogRunner dialogs;
    NoFileDialog fileDialog;
    Platform platform{store, messages, files, g.dir.path(), shell, clock, report, dialogs, fileDialog};
    auto reg = std::make_shared<clsRegister>(g.dir.path());
    reg->open();
    for (auto _ : state) {
        // Opened, shown and drawn once; the chain and the PDFs are checked
        // after that, between events, and are not part of this.
        frmRegister window(platform, reg);
        window.show();
        window.repaint();
        if (window.tblRecords->model()->rowCount() != RecordCount)
            state.SkipWithError("the window does not list every record");
    }
}
BENCHMARK(OpenWindow100k)->Unit(benchmark::kMillisecond);

// The part of opening that reads the database.
void ReadRecords100k(benchmark::State &state)
{
    Generated &g = Generated::get();
    clsRegister reg(g.dir.path());
    reg.open();
    for (auto _ : state)
        benchmark::DoNotOptimize(reg.entries());
}
BENCHMARK(ReadRecords100k)->Unit(benchmark::kMillisecond);

// Every field of every record, as an export of all of them reads them.
void ReadWholeRecords100k(benchmark::State &state)
{
    Generated &g = Generated::get();
    clsRegister reg(g.dir.path());
    reg.open();
    for (auto _ : state)
        benchmark::DoNotOptimize(reg.records());
}
BENCHMARK(ReadWholeRecords100k)->Unit(benchmark::kMillisecond);

void PeriodTotals100k(benchmark::State &state)
{
    Generated &g = Generated::get();
    clsRegister reg(g.dir.path());
    reg.open();
    const std::vector<RegisterEntry> entries = reg.entries();
    std::vector<const RegisterEntry *> list;
    for (const RegisterEntry &e : entries)
        list.push_back(&e);
    for (auto _ : state)
        benchmark::DoNotOptimize(PeriodTotals(list, Period::Quarter));
}
BENCHMARK(PeriodTotals100k)->Unit(benchmark::kMillisecond);

void ChainCheck100k(benchmark::State &state)
{
    Generated &g = Generated::get();
    clsRegister reg(g.dir.path());
    reg.open();
    for (auto _ : state)
        if (!reg.checkChain().intact)
            state.SkipWithError("the generated chain is broken");
}
BENCHMARK(ChainCheck100k)->Unit(benchmark::kMillisecond);

// Not a time: the database's bytes per record, as the counter bytes_per_record.
void DatabaseSize100k(benchmark::State &state)
{
    Generated &g = Generated::get();
    for (auto _ : state)
        benchmark::DoNotOptimize(g.size());
    state.counters["bytes_per_record"] = double(g.size()) / RecordCount;
}
BENCHMARK(DatabaseSize100k)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
