// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "invoicepdf/invoicereport.h"
#include "platform/clock.h"
#include "platform/dialogrunner.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/shell.h"

#include <QList>
#include <QQueue>
#include <QStringList>

#include <functional>
#include <utility>

// Answers messages from a script and records every message shown. A message
// that nobody scripted fails the running test, so unexpected messages cannot
// hide; it is answered No (or OK) so that nothing destructive follows.
class ScriptedMessageBox : public platform::MessageBox
{
public:
    // The next message will be answered with this button.
    void expect(platform::Message::Answer answer) { m_script.enqueue(answer); }
    // Every message shown until now, oldest first; clears the record.
    QList<platform::Message> takeShown() { return std::exchange(m_shown, {}); }
    const QList<platform::Message> &shown() const { return m_shown; }
    qsizetype pending() const { return m_script.size(); }
    platform::Message::Answer show(const platform::Message &message) override;

private:
    QQueue<platform::Message::Answer> m_script;
    QList<platform::Message> m_shown;
};

// Answers the file dialogs from one script ("" is a cancel) and records the
// filter of every dialog shown. A dialog nobody scripted fails the running
// test and counts as cancelled.
class ScriptedFileDialog : public platform::FileDialog
{
public:
    void expect(const QString &fileName) { m_script.enqueue(fileName); }
    const QList<platform::FileFilter> &shown() const { return m_shown; }
    qsizetype pending() const { return m_script.size(); }
    QString openFileName(const platform::FileFilter &filter) override;
    QString saveFileName(const platform::FileFilter &filter, const QString &) override { return openFileName(filter); }

private:
    QQueue<QString> m_script;
    QList<platform::FileFilter> m_shown;
};

// Records what the program asks the desktop to open and answers with a set
// result; never starts a program.
class ScriptedShell : public platform::Shell
{
public:
    platform::ShellResult result = platform::ShellResult::Opened;
    QStringList opened;
    std::function<void()> onOpen = [] {}; // runs as the program asks for a file to be opened
    void open(const QString &target, Done done) override
    {
        opened << target;
        onOpen();
        done(result);
    }
};

class FixedClock : public platform::Clock
{
public:
    QDate day{2026, 3, 14};
    QTime time{10, 30};
    QDate today() const override { return day; }
    QDateTime now() const override { return QDateTime(day, time); }
};

// Shows the program's dialogs without blocking: each is shown, the next
// scripted step acts on it as a user would, and whatever it left open is
// closed. A dialog that nobody scripted fails the running test.
class ScriptedDialogs : public platform::DialogRunner
{
public:
    void expect(std::function<void(QDialog &)> step) { m_steps.enqueue(std::move(step)); }
    qsizetype pending() const { return m_steps.size(); }
    int exec(QDialog &dialog) override;

private:
    QQueue<std::function<void(QDialog &)>> m_steps;
};

// Records every call to the report engine, in order, and passes it on to our
// real engine, which reads the bundled fonts of the build's application folder.
class RecordingReport : public invoicepdf::InvoiceReport
{
public:
    RecordingReport();

    QList<std::pair<QString, QString>> parameters; // of the last document only

    void TemplatePath(const QString &path) override;
    void SetParameter(const QString &name, const QString &value) override;
    bool ExportPdf(const QString &outputPath) override;
    QString errorString() const override { return m_engine.errorString(); }
    QStringList warnings() const override { return m_engine.warnings(); }

private:
    invoicepdf::EngineInvoiceReport m_engine;
    bool m_exported = false;
};
