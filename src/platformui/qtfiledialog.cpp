// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platformui/qtfiledialog.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QScreen>
#include <QTreeView>

using platform::FileFilter;

namespace platformui {

using namespace Qt::StringLiterals;

QString QtFileDialog::anyLetterCase(const QString &pattern)
{
    QString result;
    for (const QChar c : pattern) {
        if (c.toLower() != c.toUpper())
            result += u'[' + c.toLower() + c.toUpper() + u']';
        else
            result += c;
    }
    return result;
}

void QtFileDialog::prepare(QFileDialog &dialog, const FileFilter &filter)
{
    QStringList patterns;
    for (const QString &pattern : filter.patterns)
        patterns << anyLetterCase(pattern);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // The list shows the description alone, not the spelled-out patterns.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(u"%1 (%2)"_s.arg(filter.description, patterns.join(u' ')));
    // Photos are often named by the camera or a long description: room for them.
    QSize size(860, 540);
    if (const QScreen *screen = dialog.screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    dialog.resize(size);
    if (auto *details = dialog.findChild<QTreeView *>(u"treeView"_s))
        details->header()->resizeSection(0, size.width() / 2);
}

QString QtFileDialog::openFileName(const FileFilter &filter)
{
    QFileDialog dialog(m_parent);
    prepare(dialog, filter);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.constFirst();
}

QString QtFileDialog::saveFileName(const FileFilter &filter, const QString &suggested)
{
    QFileDialog dialog(m_parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(u"%1 (%2)"_s.arg(filter.description, filter.patterns.join(u' ')));
    if (!filter.patterns.isEmpty())
        dialog.setDefaultSuffix(QString(filter.patterns.constFirst()).remove(u"*."_s));
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.constFirst();
}

} // namespace platformui
