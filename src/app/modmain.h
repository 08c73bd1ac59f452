// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

namespace settings {
class clsSettings;
}
namespace invoice {
class clsTotals;
}
namespace ui {
class frmMain2;
}
namespace platform {
struct Platform;
}

// Start-up: creates the application-wide objects, lists the report
// templates, prepares the main window and shows it.
namespace modMain {

// The one settings object and the one totals calculator, alive from start-up
// until the main window is unloaded.
extern std::unique_ptr<settings::clsSettings> gSettings;
extern std::unique_ptr<invoice::clsTotals> gTotals;

// Runs the start-up sequence. Returns true when the main window is shown;
// false when the program must end at once (no template, or a failure).
bool Main(platform::Platform &platform);

// The main window, created hidden at its first use.
ui::frmMain2 &MainWindow(platform::Platform &platform);
// The main window if it exists, else nullptr.
ui::frmMain2 *ExistingMainWindow();

// Appends the name of every report template of the application folder to the
// template list, sorted without regard to letter case.
void LoadTemplateList(platform::Platform &platform, ui::frmMain2 &window);

// Creates a folder inside the application folder; silent when it exists
// already or cannot be made.
void CreateInvoiceFolder(platform::Platform &platform, const QString &folderName);

// Releases the window, then gTotals, then gSettings (end of the program, or
// between tests). Runs by itself once the unloaded window's events are over.
void Shutdown();

// The program: a QApplication with the production platform, then Main.
// Ends with a non-zero status when start-up fails.
int Run(int argc, char *argv[]);

} // namespace modMain
