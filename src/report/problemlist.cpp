// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/problemlist.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace report {

namespace {

bool before(SourcePosition a, SourcePosition b)
{
    return a.line < b.line || (a.line == b.line && a.column < b.column);
}

} // namespace

bool ProblemList::wants(SourcePosition at) const
{
    return m_kept.size() < size_t(m_keep) || before(at, m_kept.back().at);
}

void ProblemList::add(SourcePosition at, const QString &message)
{
    if (!wants(at)) {
        ++m_dropped;
        return;
    }
    // After every kept problem at the same place: problems there keep their order.
    const auto it = std::upper_bound(m_kept.begin(), m_kept.end(), at,
                                     [](SourcePosition p, const Problem &q) { return before(p, q.at); });
    m_kept.insert(it, {at, message});
    if (m_kept.size() > size_t(m_keep)) {
        m_kept.pop_back();
        ++m_dropped;
    }
}

void ProblemList::add(const ProblemList &other)
{
    for (const Problem &problem : other.m_kept)
        add(problem.at, problem.message);
    m_dropped += other.m_dropped;
}

QStringList ProblemList::lines(const QString &fileLabel) const
{
    QStringList result;
    for (const Problem &problem : m_kept)
        result << u"%1:%2:%3: %4"_s.arg(fileLabel, QString::number(problem.at.line), QString::number(problem.at.column),
                                        problem.message);
    if (m_dropped > 0)
        result << u"and %1 more problems"_s.arg(QString::number(m_dropped));
    return result;
}

} // namespace report
