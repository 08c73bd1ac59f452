// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/modmain.h"

#include "app/desktopidentity.h"
#include "app/registercommand.h"
#include "invoice/clstotals.h"
#include "invoice/runtimeerror.h"
#include "invoicepdf/invoicereport.h"
#include "platform/appfolder.h"
#include "platform/buildinfo.h"
#include "platform/clock.h"
#include "platform/dialogrunner.h"
#include "platform/filedialog.h"
#include "platform/filesystem.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/settingsstore.h"
#include "platform/shell.h"
#include "platformui/modaldialogrunner.h"
#include "platformui/qtfiledialog.h"
#include "platformui/qtmessagebox.h"
#include "settings/clssettings.h"
#include "ui/frmmain2.h"

#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QScreen>

#include <cstdlib>
#include <exception>

using ui::frmMain2;

using invoicepdf::EngineInvoiceReport;

using settings::clsSettings;

using platformui::ModalDialogRunner;
using platformui::QtFileDialog;
using platformui::QtMessageBox;

using platform::AppFolder;
using platform::ApplicationTitle;
using platform::AppPath;
namespace BuildInfo = platform::BuildInfo;
using platform::DesktopShell;
using platform::Platform;
using platform::PrepareAppFolder;
using platform::QSettingsStore;
using platform::QtFileSystem;
using platform::SystemClock;
using platform::UserAppFolder;

using invoice::clsTotals;
using invoice::RuntimeError;

using namespace Qt::StringLiterals;

namespace modMain {

std::unique_ptr<clsSettings> gSettings;
std::unique_ptr<clsTotals> gTotals;

namespace {

std::unique_ptr<frmMain2> gMainWindow;

// Selects the stored template in the list, ignoring letter case. A stored
// name that matches no file (a template renamed or deleted since) falls back
// to the first listed template and says so, rather than refusing to start.
void SelectStoredTemplate(Platform &platform, frmMain2 &window)
{
    const QString stored = gSettings->Template();
    QComboBox *list = window.cmbTemplate;
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i).compare(stored, Qt::CaseInsensitive) == 0) {
            list->setCurrentIndex(i);
            return;
        }
    }
    list->setCurrentIndex(0);
    platform.messages.inform(u"The report template \"%1\" was not found.\r\nThe template \"%2\" is used instead."_s.arg(
        stored, list->itemText(0)));
}

} // namespace

frmMain2 &MainWindow(Platform &platform)
{
    if (!gMainWindow) {
        gMainWindow = std::make_unique<frmMain2>(platform, *gSettings);
        // The window is unloaded inside its own close handling, where its
        // handlers may still run: release it, and then what it used, once
        // that handling is over.
        QObject::connect(
            gMainWindow.get(), &frmMain2::unloaded, QCoreApplication::instance(),
            [window = QPointer<frmMain2>(gMainWindow.get())] {
                if (window && window == gMainWindow.get())
                    Shutdown();
            },
            Qt::QueuedConnection);
    }
    return *gMainWindow;
}

frmMain2 *ExistingMainWindow()
{
    return gMainWindow.get();
}

bool Main(Platform &platform)
{
    try {
        gSettings = std::make_unique<clsSettings>(
            platform.store, platform.messages, platform.appFolder,
            [&platform](const QString &folderName) { CreateInvoiceFolder(platform, folderName); });
        frmMain2 &window = MainWindow(platform);
        gTotals = std::make_unique<clsTotals>(window);
        window.bindTotals(gTotals.get());
        LoadTemplateList(platform, window);
        if (window.cmbTemplate->count() == 0) {
            platform.messages.inform(u"Fatal error!. no report templates found\r\nThe program cannot continue"_s);
            Shutdown();
            return false;
        }
        SelectStoredTemplate(platform, window);
        window.picInvoice->show();
        window.picSettings->hide();
        window.picInvoice->move(frmMain2::pagePosition());
        window.cmbPaymentMethod->setCurrentIndex(0);
        window.NewInvoice();
        window.placeOnScreen();
        window.show();
        return true;
    } catch (const RuntimeError &error) {
        platform.messages.inform(error.description());
    } catch (const std::exception &error) {
        platform.messages.inform(QString::fromLocal8Bit(error.what()));
    }
    Shutdown();
    return false;
}

void LoadTemplateList(Platform &platform, frmMain2 &window)
{
    QStringList names;
    QString error;
    const bool listed = platform.files.ListFiles(platform.appFolder, u"*.rep"_s, &names, &error);
    // The same order on every machine, whatever the file system lists first.
    names.sort(Qt::CaseInsensitive);
    // Adding entries selects nothing: only the stored template is selected, later.
    const QSignalBlocker blocker(window.cmbTemplate);
    for (const QString &name : std::as_const(names))
        window.cmbTemplate->addItem(name);
    window.cmbTemplate->setCurrentIndex(-1);
    if (!listed)
        platform.messages.inform(error);
}

void CreateInvoiceFolder(Platform &platform, const QString &folderName)
{
    platform.files.MakeFolder(AppPath(platform.appFolder, folderName));
}

void Shutdown()
{
    if (gMainWindow && !gMainWindow->isHidden())
        gMainWindow->close();
    gMainWindow.reset();
    // The window is gone; its objects go in the reverse order of creation.
    gTotals.reset();
    gSettings.reset();
}

int Run(int argc, char *argv[])
{
    if (IsRegisterCommand(argc, argv))
        return RunRegisterCommand(argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationTitle());
    QApplication::setApplicationVersion(BuildInfo::Version());
    QApplication::setStyle(u"Fusion"_s);
    SetDesktopIdentity();

    QSettingsStore store;
    QtMessageBox messages;
    QtFileSystem files;
    DesktopShell shell;
    SystemClock clock;
    EngineInvoiceReport report;
    ModalDialogRunner dialogs;
    QtFileDialog fileDialog;
    const AppFolder appFolder = PrepareAppFolder(QCoreApplication::applicationDirPath(), UserAppFolder());
    Platform platform{store, messages, files, appFolder.path, shell, clock, report, dialogs, fileDialog};
    if (!appFolder.error.isEmpty())
        messages.inform(appFolder.error);

    if (!Main(platform))
        return EXIT_FAILURE;
    messages.setParentWindow(ExistingMainWindow());
    fileDialog.setParentWindow(ExistingMainWindow());
    const int result = application.exec();
    Shutdown();
    return result;
}

} // namespace modMain
