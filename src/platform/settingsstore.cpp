// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include <memory>

namespace platform {

using namespace Qt::StringLiterals;

namespace {

QString keyPath(const QString &section, const QString &key)
{
    return section + u'/' + key;
}

} // namespace

QSettingsStore::QSettingsStore() = default;

QSettingsStore::QSettingsStore(const QString &folder) : m_folder(folder) { }

// A fresh QSettings per call: a value written by another running copy of the
// program is seen at the next read, and nothing is cached on our side.
static std::unique_ptr<QSettings> openSettings(const QString &folder, const QString &app)
{
    if (folder.isEmpty())
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, app);
    return std::make_unique<QSettings>(QDir(folder).filePath(app + u".conf"_s), QSettings::IniFormat);
}

QString QSettingsStore::fileName(const QString &app) const
{
    return openSettings(m_folder, app)->fileName();
}

// True when the file holds something that is not settings text: QSettings
// would read little or nothing of it and then rewrite it with only that.
static bool looksDamaged(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray contents = file.readAll();
    if (contents.contains('\0') || !QUtf8StringView(contents).isValidUtf8())
        return true;
    for (QByteArrayView line : contents.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;
        const bool section = line.startsWith('[') && line.endsWith(']');
        if (!section && !line.contains('='))
            return true;
    }
    return false;
}

// The system's word for why the file cannot be replaced, found the way
// QSettings writes it: a new file beside it, renamed over it.
static QString whyUnwritable(const QString &fileName)
{
    if (QFileInfo(fileName).isDir())
        return u"a folder of that name is in its place"_s;
    QSaveFile probe(fileName);
    if (!probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    probe.cancelWriting();
    return u"the system refused the write"_s;
}

QString QSettingsStore::GetSetting(const QString &app, const QString &section, const QString &key) const
{
    // What QSettings could read of a damaged file is still the best answer.
    const auto settings = openSettings(m_folder, app);
    const QVariant value = settings->value(keyPath(section, key));
    return value.isValid() ? value.toString() : QString();
}

bool QSettingsStore::SaveSetting(const QString &app, const QString &section, const QString &key, const QString &text)
{
    const auto settings = openSettings(m_folder, app);
    // QSettings rewrites a file it could not parse with only what it
    // understood. Keep a copy of such a file before the first write, so that
    // nothing the user had is lost.
    const QString file = settings->fileName();
    if (!m_checkedFiles.contains(file) && looksDamaged(file)) {
        // Each damaged file is kept: Tallyquill.conf.damaged, then .damaged2, ...
        QString copy = file + u".damaged"_s;
        for (int n = 2; QFileInfo::exists(copy); ++n)
            copy = file + u".damaged"_s + QString::number(n);
        if (!QFile::copy(file, copy)) {
            m_error = u"The settings file %1 cannot be read, and no copy of it could be kept."_s.arg(
                QDir::toNativeSeparators(file));
            return false;
        }
    }
    m_checkedFiles.insert(file);
    const QString path = keyPath(section, key);
    const QVariant before = settings->value(path);
    settings->setValue(path, text);
    settings->sync();
    // After a sync, FormatError still describes the earlier read; only
    // AccessError means that the write did not reach the file.
    if (settings->status() == QSettings::AccessError) {
        // QSettings keeps the refused value in memory, shared by every
        // QSettings of this file in the program, and would both return it
        // and write it with the next change: put the old value back.
        if (before.isValid())
            settings->setValue(path, before);
        else
            settings->remove(path);
        m_error = u"The settings file %1 cannot be written (%2); the change was not stored."_s.arg(
            QDir::toNativeSeparators(file), whyUnwritable(file));
        return false;
    }
    m_error.clear();
    return true;
}

} // namespace platform
