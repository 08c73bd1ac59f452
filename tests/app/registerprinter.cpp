// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A test-only program: the real start-up and main window printing invoices,
// each recorded in the register, until it is killed. Usage:
//   registerprinter <application folder> <settings folder> <seed>
// Before each print it prints "printing <number>", once the engine has put
// the PDF in place "exported", and once the click's handling is over
// "printed <number>". Now and then it declines to advance
// the number, so that the next print is a reprint. Output is unbuffered.
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
#include "report/reportengine.h"
#include "ui/frmmain2.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <random>

using ui::frmMain2;

using invoicepdf::EngineInvoiceReport;
using invoicepdf::InvoiceReport;

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

using namespace Qt::StringLiterals;

namespace {

QFile out;

void say(const QString &line)
{
    out.write((line + u'\n').toUtf8());
}

// Answers the number question as told and agrees to every overwrite; any
// other message means the run went wrong.
class PrintingMessages : public MessageBox
{
public:
    bool advance = true;
    Message::Answer show(const Message &message) override
    {
        if (message.text.startsWith(u"Incement"_s))
            return advance ? Message::Answer::Yes : Message::Answer::No;
        if (message.text.contains(u"already exists"_s))
            return Message::Answer::Yes;
        std::fprintf(stderr, "message: %s\n", qPrintable(message.text));
        std::_Exit(3);
    }
};

// The real engine, saying when the PDF is in place.
class AnnouncingReport : public InvoiceReport
{
public:
    EngineInvoiceReport engine;
    void TemplatePath(const QString &path) override { engine.TemplatePath(path); }
    void SetParameter(const QString &name, const QString &value) override { engine.SetParameter(name, value); }
    bool ExportPdf(const QString &outputPath) override
    {
        const bool done = engine.ExportPdf(outputPath);
        say(u"exported"_s);
        return done;
    }
    QString errorString() const override { return engine.errorString(); }
    QStringList warnings() const override { return engine.warnings(); }
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

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4 || !out.open(1, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return 2;

    QSettingsStore store(args[2]);
    PrintingMessages messages;
    QtFileSystem files;
    NoFileDialog fileDialog;
    NoViewer shell;
    SystemClock clock;
    AnnouncingReport report;
    report.engine.engine().setFontsFolder(QStringLiteral(QUILLBOOK_APP_DIR "/fonts"));
    ModalDialogRunner dialogs;
    Platform platform{store, messages, files, args[1], shell, clock, report, dialogs, fileDialog};
    if (!modMain::Main(platform))
        return 2;

    frmMain2 &window = *modMain::ExistingMainWindow();
    std::mt19937 random(args[3].toUInt());
    say(u"ready"_s);
    for (int n = 0;; ++n) {
        window.txtCustomerDetails[0]->setText(u"Customer %1"_s.arg(random() % 1000));
        window.txtQty[0]->setText(QString::number(1 + random() % 9));
        window.txtDescription[0]->setText(u"Oak chair"_s);
        window.txtUnitPrice[0]->setText(u"%1.%2"_s.arg(uint(random() % 500)).arg(uint(random() % 100), 2, 10, QChar(u'0')));
        messages.advance = random() % 3 != 0;
        const QString number = window.txtInvoiceNumber->text();
        say(u"printing\t%1"_s.arg(number));
        QTest::mouseClick(window.cmdPreview, Qt::LeftButton);
        say(u"printed\t%1"_s.arg(number));
    }
}
