// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "invoicepdf/invoicereport.h"
#include "platform/clock.h"
#include "platform/dialogrunner.h"
#include "platform/shell.h"

#include <QList>
#include <QQueue>
#include <QStringList>

#include <functional>
#include <utility>

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

    QStringList templatePaths;
    QList<std::pair<QString, QString>> parameters; // of the last document only
    QStringList exports;

    void TemplatePath(const QString &path) override;
    void SetParameter(const QString &name, const QString &value) override;
    bool ExportPdf(const QString &outputPath) override;
    QString errorString() const override { return m_engine.errorString(); }
    QStringList warnings() const override { return m_engine.warnings(); }

private:
    invoicepdf::EngineInvoiceReport m_engine;
    bool m_exported = false;
};
