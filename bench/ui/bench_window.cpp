// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// How long the window takes to answer typing on a full twelve-line invoice:
// a keystroke in a quantity box until the totals show the new figures, one
// recalculation on its own, and a keystroke in a Settings box until its
// value is in the settings file. And printing it: the click on Print until
// the PDF is on disk, beside the report engine's own time for the same document.
#include "app/modmain.h"
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
#include "ui/frmmain2.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using ui::frmMain2;

using invoicepdf::EngineInvoiceReport;

using platformui::ModalDialogRunner;

using platform::ApplicationTitle;
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

using namespace Qt::StringLiterals;

namespace {

// Answers every question Yes but the one that would advance the number and
// blank the sheet, so that the same invoice is printed again and again.
class SilentMessages : public MessageBox
{
public:
    Message::Answer show(const Message &message) override
    {
        return message.text.startsWith(u"Incement"_s) ? Message::Answer::No : Message::Answer::Yes;
    }
};

// Opens nothing: the viewer is not part of what is measured.
class NoViewer : public Shell
{
public:
    void open(const QString &, Done done) override { done(ShellResult::Opened); }
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CancelledFileDialog : public FileDialog
{
public:
    QString openFileName(const FileFilter &) override { return {}; }
};

// A started program in a throw-away folder and store, with every line filled.
class FullInvoice
{
public:
    FullInvoice()
        : m_store(m_storeDir.path()), m_platform{m_store, m_messages, m_files,   m_appDir.path(), m_shell,
                                                 m_clock, m_report,   m_dialogs, m_fileDialog}
    {
        // The shipped default template and a logo, as a user prints them.
        QFile rep(m_appDir.filePath(u"invferncask.rep"_s));
        rep.open(QIODevice::WriteOnly);
        rep.write(readFile(QStringLiteral(QUILLBOOK_APP_DIR "/invferncask.rep")));
        rep.close();
        QFile::copy(QStringLiteral(QUILLBOOK_SOURCE_DIR "/assets/logo.jpg"), m_appDir.filePath(u"logo.jpg"_s));
        QDir().mkpath(m_appDir.filePath(u"invoices"_s));
        m_report.engine().setFontsFolder(QStringLiteral(QUILLBOOK_APP_DIR "/fonts"));
        if (!modMain::Main(m_platform))
            qFatal("start-up failed");
        frmMain2 &w = window();
        for (int i = 0; i < frmMain2::LineCount; ++i) {
            w.txtQty[i]->setText(QString::number(i + 2));
            w.txtDescription[i]->setText(u"Item %1"_s.arg(i + 1));
            w.txtUnitPrice[i]->setText(u"%1.99"_s.arg(i * 7 + 3));
        }
        w.txtSurcharge1->setText(u"10"_s);
        w.txtDiscount->setText(u"5"_s);
        w.txtSH->setText(u"4.00"_s);
        w.txtSurcharge2->setText(u"2"_s);
        w.txtReceived->setText(u"20.00"_s);
        w.txtCustomerDetails[0]->setText(u"Harbour Cafe"_s);
    }
    ~FullInvoice() { modMain::Shutdown(); }

    frmMain2 &window() { return *modMain::ExistingMainWindow(); }
    QString appFolder() const { return m_appDir.path(); }
    EngineInvoiceReport &report() { return m_report; }
    QString stored(const QString &key) const { return m_store.GetSetting(ApplicationTitle(), u"Settings"_s, key); }

private:
    QTemporaryDir m_appDir;
    QTemporaryDir m_storeDir;
    QSettingsStore m_store;
    SilentMessages m_messages;
    QtFileSystem m_files;
    NoViewer m_shell;
    SystemClock m_clock;
    EngineInvoiceReport m_report;
    ModalDialogRunner m_dialogs; // never shown: no benchmark opens a dialog
    CancelledFileDialog m_fileDialog;
    Platform m_platform;
};

void KeystrokeToTotals(benchmark::State &state)
{
    FullInvoice invoice;
    QLineEdit *qty = invoice.window().txtQty[0];
    QLineEdit *balance = invoice.window().txtBalance;
    bool typeDigit = true;
    for (auto _ : state) {
        // Alternately type a digit and take it back, so each keystroke changes the line.
        if (typeDigit)
            QTest::keyClick(qty, Qt::Key_5);
        else
            QTest::keyClick(qty, Qt::Key_Backspace);
        typeDigit = !typeDigit;
        benchmark::DoNotOptimize(balance->text());
    }
    if (qty->text() != u"2"_s && qty->text() != u"25"_s)
        state.SkipWithError("the quantity box did not take the keystrokes");
}
BENCHMARK(KeystrokeToTotals)->Unit(benchmark::kMicrosecond);

// Every keystroke in a Settings box is one write to the per-user store,
// synced to its file before the keystroke's handling ends.
void KeystrokeToStored(benchmark::State &state)
{
    FullInvoice invoice;
    QLineEdit *company = invoice.window().txtCompanyName;
    company->setText(u"Fern & Cask Ltd"_s);
    company->end(false);
    bool typeLetter = true;
    for (auto _ : state) {
        if (typeLetter)
            QTest::keyClick(company, Qt::Key_S);
        else
            QTest::keyClick(company, Qt::Key_Backspace);
        typeLetter = !typeLetter;
    }
    if (invoice.stored(u"CompanyName"_s) != company->text())
        state.SkipWithError("the keystrokes were not stored");
}
BENCHMARK(KeystrokeToStored)->Unit(benchmark::kMicrosecond);

void RefreshTotalsInWindow(benchmark::State &state)
{
    FullInvoice invoice;
    for (auto _ : state)
        invoice.window().RefreshTotals();
    benchmark::DoNotOptimize(invoice.window().txtBalance->text());
}
BENCHMARK(RefreshTotalsInWindow)->Unit(benchmark::kMicrosecond);

// The click on Print (questions answered at once) until INV<n>.pdf is written.
void PrintClickToPdf(benchmark::State &state)
{
    FullInvoice invoice;
    QPushButton *print = invoice.window().cmdPreview;
    const QString pdf
        = invoice.appFolder() + u"/invoices/INV"_s + invoice.window().txtInvoiceNumber->text() + u".pdf"_s;
    for (auto _ : state)
        QTest::mouseClick(print, Qt::LeftButton);
    if (!QFile::exists(pdf))
        state.SkipWithError("no invoice was written");
}
BENCHMARK(PrintClickToPdf)->Unit(benchmark::kMillisecond)->Iterations(50);

// The engine alone writing the same document: the template and the 85
// parameters the last click set, exported again.
void EngineExportSameInvoice(benchmark::State &state)
{
    FullInvoice invoice;
    QTest::mouseClick(invoice.window().cmdPreview, Qt::LeftButton);
    const QString pdf = invoice.appFolder() + u"/invoices/engine.pdf"_s;
    for (auto _ : state) {
        if (!invoice.report().ExportPdf(pdf))
            state.SkipWithError(invoice.report().errorString().toUtf8().constData());
    }
}
BENCHMARK(EngineExportSameInvoice)->Unit(benchmark::kMillisecond)->Iterations(50);

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
