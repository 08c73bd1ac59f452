// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A test-only program: the real start-up and main window over the user's
// real settings store, typing into the Settings page's boxes until it is
// killed. Usage: settingstypist <application folder> <seed>
//
// Before each keystroke it prints "typing <key> <value>", the value that
// keystroke is to store; after the keystroke, once the store holds it,
// "stored <key> <value>". Fields are separated by tabs; output is unbuffered,
// so a line printed before a kill is never lost.
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
#include "settings/clssettings.h"
#include "ui/frmmain2.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <random>

using ui::frmMain2;

using invoicepdf::EngineInvoiceReport;

using settings::clsSettings;
namespace SettingsText = settings::SettingsText;

using platformui::ModalDialogRunner;

using platform::ApplicationTitle;
using platform::DesktopShell;
using platform::FileDialog;
using platform::FileFilter;
using platform::Message;
using platform::MessageBox;
using platform::Platform;
using platform::QSettingsStore;
using platform::QtFileSystem;
using platform::SystemClock;

using namespace Qt::StringLiterals;

namespace {

QFile out;

void say(const QString &line)
{
    out.write((line + u'\n').toUtf8());
}

// No message is expected: one means the run went wrong.
class FailingMessages : public MessageBox
{
public:
    Message::Answer show(const Message &message) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(message.text));
        std::_Exit(3);
    }
};

class NoFileDialog : public FileDialog
{
public:
    QString openFileName(const FileFilter &) override { return {}; }
};

struct Box
{
    QLineEdit *edit;
    QString key;
    bool rate = false;
};

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3 || !out.open(1, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return 2;

    QSettingsStore store; // the user's own store, placed by XDG_CONFIG_HOME
    FailingMessages messages;
    QtFileSystem files;
    NoFileDialog fileDialog;
    // Typing opens nothing, prints nothing and shows no dialog: these stay idle.
    DesktopShell shell;
    SystemClock clock;
    EngineInvoiceReport report;
    ModalDialogRunner dialogs;
    Platform platform{store, messages, files, args[1], shell, clock, report, dialogs, fileDialog};
    if (!modMain::Main(platform))
        return 2;

    frmMain2 &window = *modMain::ExistingMainWindow();
    QTest::mouseClick(window.tab1, Qt::LeftButton, {}, window.tab1->tabRect(1).center());
    QList<Box> boxes{{window.txtCompanyName, u"CompanyName"_s},
                     {window.txtTel, u"Tel"_s},
                     {window.txtFax, u"Fax"_s},
                     {window.txtCurrency, u"Currency"_s},
                     {window.txtLogo, u"Logo"_s},
                     {window.txtTaxName, u"TaxName"_s},
                     {window.txtTaxValue, u"TaxValue"_s, true}};
    for (int i = 0; i < frmMain2::AddressLines; ++i)
        boxes.append({window.txtCompanyDetails[i], u"Address%1"_s.arg(i + 1)});
    for (int i = 0; i < frmMain2::FooterLines; ++i)
        boxes.append({window.txtFooter[i], u"Footer%1"_s.arg(i + 1)});
    say(u"ready"_s);

    std::mt19937 random(args[2].toUInt());
    auto below = [&random](int n) { return int(random() % unsigned(n)); };
    for (;;) {
        const Box &box = boxes[below(boxes.size())];
        box.edit->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        box.edit->end(false);
        for (int keys = 1 + below(5); keys > 0; --keys) {
            const QString text = box.edit->text();
            QChar key;
            QString after;
            if (box.rate) {
                // Whole rates from 1 to 99, so each keystroke stores what it shows.
                if (text.size() == 1 && text != u"0"_s) {
                    key = QChar(u'0' + below(10));
                    after = text + key;
                } else {
                    key = QChar(u'1' + below(9));
                    box.edit->selectAll();
                    after = key;
                }
                after = SettingsText::fromRate(SettingsText::toRate(after));
            } else if (text.size() > 14) {
                key = u'\b';
                after = text.chopped(1);
            } else {
                key = QChar(u'a' + below(26));
                after = text + key;
            }
            say(u"typing\t%1\t%2"_s.arg(box.key, after));
            QTest::keyClick(box.edit, key.toLatin1());
            const QString stored = store.GetSetting(ApplicationTitle(), clsSettings::section(), box.key);
            if (stored != after) {
                std::fprintf(stderr, "%s holds \"%s\", expected \"%s\"\n", qPrintable(box.key), qPrintable(stored),
                             qPrintable(after));
                return 4;
            }
            say(u"stored\t%1\t%2"_s.arg(box.key, after));
        }
    }
}
