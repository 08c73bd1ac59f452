// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/fontfolder.h"

#include "report/namesuggestion.h"

#include <QDir>
#include <QFontDatabase>
#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace report {

QStringList registerFontFolder(const QString &folder)
{
    static QHash<QString, QStringList> registered;
    const QString canonical = QDir(folder).canonicalPath();
    if (canonical.isEmpty())
        return {};
    if (const auto it = registered.constFind(canonical); it != registered.constEnd())
        return *it;
    const QDir dir(canonical);
    QStringList families;
    for (const QString &file : dir.entryList({u"*.ttf"_s, u"*.otf"_s, u"*.ttc"_s}, QDir::Files, QDir::Name)) {
        const int id = QFontDatabase::addApplicationFont(dir.filePath(file));
        for (const QString &family : QFontDatabase::applicationFontFamilies(id)) {
            if (!families.contains(family))
                families << family;
        }
    }
    families.sort();
    registered.insert(canonical, families);
    return families;
}

QString nearestFamily(const QString &family, const QStringList &families)
{
    const QString name = family.toLower();
    static const QStringList serifNames{u"serif"_s,    u"times"_s,   u"roman"_s,       u"georgia"_s,
                                        u"garamond"_s, u"cambria"_s, u"baskerville"_s, u"palatino"_s,
                                        u"bookman"_s,  u"caslon"_s,  u"minion"_s,      u"didot"_s};
    const bool serif = !name.contains(u"sans"_s)
        && std::any_of(serifNames.begin(), serifNames.end(), [&](const QString &word) { return name.contains(word); });
    QStringList candidates;
    for (const QString &candidate : families) {
        const bool candidateSerif = candidate.contains(u"serif"_s, Qt::CaseInsensitive)
            && !candidate.contains(u"sans"_s, Qt::CaseInsensitive);
        if (candidateSerif == serif)
            candidates << candidate;
    }
    return closestName(family, candidates.isEmpty() ? families : candidates);
}

} // namespace report
