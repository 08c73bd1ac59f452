// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/reporttemplate.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace report {

// The problems of one template, in the order an author reads the file. Only
// the first `keep` by position are kept; the rest are only counted, so that a
// hostile file with a hundred thousand faults costs no more than one with
// fifty, and the message shown stays readable.
class ProblemList
{
public:
    static constexpr int kKept = 50;

    explicit ProblemList(int keep = kKept) : m_keep(keep) { }

    // Whether a problem at `at` would be among those kept; callers skip
    // building costly messages (suggestions) for the others.
    bool wants(SourcePosition at) const;

    void add(SourcePosition at, const QString &message);
    // Builds the message only when it is kept.
    template<typename MakeMessage>
    void addLazily(SourcePosition at, MakeMessage &&make)
    {
        if (wants(at))
            add(at, make());
        else
            ++m_dropped;
    }
    void add(const ProblemList &other);

    bool isEmpty() const { return m_kept.empty(); }
    qsizetype count() const { return qsizetype(m_kept.size()) + m_dropped; }

    // "file:line:column: message" for each kept problem, then "and N more
    // problems" when some were only counted.
    QStringList lines(const QString &fileLabel) const;

private:
    struct Problem
    {
        SourcePosition at;
        QString message;
    };
    int m_keep;
    std::vector<Problem> m_kept; // sorted by position, stable
    qsizetype m_dropped = 0;
};

} // namespace report
