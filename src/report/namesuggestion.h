// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace report {

// The candidate closest to `name` by edit distance (a swap of two neighbouring
// letters counts as one edit), or an empty string when none is close enough
// to be a plausible misspelling.
QString nearestName(const QString &name, const QStringList &candidates);

// The candidate closest to `name` by edit distance, however far; empty only
// without candidates.
QString closestName(const QString &name, const QStringList &candidates);

// "; did you mean X?" for a near candidate, else empty; `before` and `after`
// wrap the suggestion, for example "<" and ">" around an element name.
QString didYouMean(const QString &name, const QStringList &candidates, const QString &before = {},
                   const QString &after = {});

} // namespace report
