// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/namesuggestion.h"

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace report {

namespace {

int editDistance(const QString &a, const QString &b)
{
    const qsizetype n = a.size();
    const qsizetype m = b.size();
    std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1));
    for (qsizetype i = 0; i <= n; ++i)
        d[i][0] = int(i);
    for (qsizetype j = 0; j <= m; ++j)
        d[0][j] = int(j);
    for (qsizetype i = 1; i <= n; ++i) {
        for (qsizetype j = 1; j <= m; ++j) {
            const int cost = a[i - 1].toUpper() == b[j - 1].toUpper() ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[n][m];
}

} // namespace

QString nearestName(const QString &name, const QStringList &candidates)
{
    // Hostile templates can carry very long names; nothing that long is a typo.
    if (name.isEmpty() || name.size() > 64)
        return {};
    const int allowed = std::max<int>(2, int(name.size()) / 4);
    QString best;
    int bestDistance = allowed + 1;
    for (const QString &candidate : candidates) {
        if (std::abs(int(candidate.size()) - int(name.size())) > allowed)
            continue;
        const int distance = editDistance(name, candidate);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    if (best.isEmpty() && name.size() >= 3) {
        // A longer or shorter spelling of a name: <rectangle> for <rect>.
        for (const QString &candidate : candidates) {
            if (candidate.size() >= 3
                && (name.startsWith(candidate, Qt::CaseInsensitive) || candidate.startsWith(name, Qt::CaseInsensitive)))
                return candidate;
        }
    }
    return best;
}

QString closestName(const QString &name, const QStringList &candidates)
{
    const QString shortName = name.left(64);
    QString best;
    int bestDistance = 0;
    for (const QString &candidate : candidates) {
        const int distance = editDistance(shortName, candidate.left(64));
        if (best.isEmpty() || distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

QString didYouMean(const QString &name, const QStringList &candidates, const QString &before, const QString &after)
{
    const QString best = nearestName(name, candidates);
    if (best.isEmpty())
        return {};
    return u"; did you mean "_s + before + best + after + u"?"_s;
}

} // namespace report
