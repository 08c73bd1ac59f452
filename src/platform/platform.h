// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace invoicepdf {
class InvoiceReport;
}

namespace platform {

class SettingsStore;
class MessageBox;
class FileSystem;
class Shell;
class Clock;
class DialogRunner;
class FileDialog;

// Everything the program reaches outside itself through, handed to the parts
// that need it. Production wires the real implementations; tests wire doubles
// and a temporary application folder.
struct Platform
{
    SettingsStore &store;
    MessageBox &messages;
    FileSystem &files;
    QString appFolder; // the folder that holds the program, templates and invoices
    Shell &shell;
    Clock &clock;
    invoicepdf::InvoiceReport &report; // the one report engine, serving every document
    DialogRunner &dialogs;
    FileDialog &fileDialog;
};

} // namespace platform
