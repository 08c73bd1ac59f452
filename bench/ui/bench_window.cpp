// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// How long the window takes to answer typing on a full twelve-line invoice:
// a keystroke in a quantity box until the totals show the new figures, one
// recalculation on its own, and a keystroke in a Settings box until its
// value is in the settings file.
#include "app/modmain.h"
#include "platform/filedialog.h"
#include "platform/filesystem.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/settingsstore.h"
#include "ui/frmmain2.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class SilentMessages : public MessageBox
{
public:
    Message::Answer show(const Message &) override { return Message::Answer::Yes; }
};

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
        : m_store(m_storeDir.path())
        , m_platform{m_store, m_messages, m_files, m_appDir.path(), m_fileDialog}
    {
        QFile rep(m_appDir.filePath(u"invferncask.rep"_s));
        rep.open(QIODevice::WriteOnly);
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
    }
    ~FullInvoice() { modMain::Shutdown(); }

    frmMain2 &window() { return *modMain::ExistingMainWindow(); }
    QString stored(const QString &key) const { return m_store.GetSetting(ApplicationTitle(), u"Settings"_s, key); }

private:
    QTemporaryDir m_appDir;
    QTemporaryDir m_storeDir;
    QSettingsStore m_store;
    SilentMessages m_messages;
    QtFileSystem m_files;
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
