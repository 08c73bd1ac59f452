// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSet>
#include <QString>

namespace platform {

// The per-user store of text settings, addressed by application, section and key.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    // The stored text, or the empty text when the key, section or application
    // is absent or the store cannot be read.
    virtual QString GetSetting(const QString &app, const QString &section, const QString &key) const = 0;

    // Creates or replaces the value and makes it durable before returning.
    // Returns false when the store refused the write; errorString() then says why
    // and the old value stays in place. A store file that could not be parsed
    // is copied aside (".damaged", ".damaged2", ...) before it is first written.
    virtual bool SaveSetting(const QString &app, const QString &section, const QString &key, const QString &text) = 0;

    virtual QString errorString() const = 0;
};

// The store kept by QSettings: the user's native per-user settings, or one
// INI-format file per application inside a chosen folder (tests, portable use).
class QSettingsStore : public SettingsStore
{
public:
    QSettingsStore();
    explicit QSettingsStore(const QString &folder);

    QString GetSetting(const QString &app, const QString &section, const QString &key) const override;
    bool SaveSetting(const QString &app, const QString &section, const QString &key, const QString &text) override;
    QString errorString() const override { return m_error; }

    // The file that holds the settings of an application.
    QString fileName(const QString &app) const;

private:
    QString m_folder;
    QString m_error;
    QSet<QString> m_checkedFiles; // files already checked for damage before a write
};

} // namespace platform
