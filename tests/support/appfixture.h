// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/filesystem.h"
#include "platform/platform.h"
#include "platform/settingsstore.h"
#include "platformdoubles.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A file system whose listing can be made to fail; everything else is real.
class FailingFileSystem : public platform::QtFileSystem
{
public:
    QString listingError; // non-empty: ListFiles fails with it
    bool ListFiles(const QString &folder, const QString &pattern, QStringList *names, QString *error) const override;
};

// A throw-away application folder and settings store, wired as a Platform:
// tests never touch the user's settings or the real application folder.
class AppFixture
{
public:
    // Creates an application folder holding the given template files.
    explicit AppFixture(const QStringList &templates = {QStringLiteral("invferncask.rep")});

    QString appFolder() const { return m_appDir.path(); }
    QString path(const QString &relative) const;
    void addFile(const QString &relative, const QByteArray &contents = {});

    // The raw text stored under a key of the program's settings section,
    // or a null string when the key is absent.
    QString stored(const QString &key) const;
    void store(const QString &key, const QString &text);
    QString storeFile() const;

private:
    QTemporaryDir m_appDir;
    QTemporaryDir m_storeDir;

public:
    platform::QSettingsStore store_;
    ScriptedMessageBox messages;
    FailingFileSystem files;
    ScriptedShell shell;
    FixedClock clock;
    RecordingReport report;
    ScriptedDialogs dialogs;
    ScriptedFileDialog fileDialog;
    platform::Platform platform;
};
