// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "appfixture.h"

#include "platform/messagebox.h"

#include <QDir>
#include <QFile>
#include <QSettings>

using platform::ApplicationTitle;
using platform::QtFileSystem;

using namespace Qt::StringLiterals;

bool FailingFileSystem::ListFiles(const QString &folder, const QString &pattern, QStringList *names,
                                  QString *error) const
{
    if (!listingError.isEmpty()) {
        *error = listingError;
        return false;
    }
    return QtFileSystem::ListFiles(folder, pattern, names, error);
}

AppFixture::AppFixture(const QStringList &templates)
    : store_(m_storeDir.path()), platform{store_, messages, files,   m_appDir.path(), shell,
                                          clock,  report,   dialogs, fileDialog}
{
    for (const QString &name : templates)
        addFile(name, "<template/>\n");
    // The shipped logo, as every application folder holds it.
    QFile::copy(QStringLiteral(QUILLBOOK_APP_DIR "/logo.jpg"), path(u"logo.jpg"_s));
}

QString AppFixture::path(const QString &relative) const
{
    return QDir(m_appDir.path()).filePath(relative);
}

void AppFixture::addFile(const QString &relative, const QByteArray &contents)
{
    QFile file(path(relative));
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
}

QString AppFixture::storeFile() const
{
    return store_.fileName(ApplicationTitle());
}

QString AppFixture::stored(const QString &key) const
{
    QSettings settings(storeFile(), QSettings::IniFormat);
    const QString path = u"Settings/"_s + key;
    if (!settings.contains(path))
        return {};
    const QString text = settings.value(path).toString();
    return text.isNull() ? u""_s : text;
}

void AppFixture::store(const QString &key, const QString &text)
{
    QSettings settings(storeFile(), QSettings::IniFormat);
    settings.setValue(u"Settings/"_s + key, text);
}
