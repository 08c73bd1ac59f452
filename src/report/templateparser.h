// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/reporttemplate.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace report {

// Bounds that keep a hostile or broken template from exhausting memory or time.
struct TemplateLimits
{
    qint64 maxBytes = 1024 * 1024;
    int maxElements = 5000; // after rows are unrolled
    int maxDepth = 32;
    int maxRows = 200;
};

// Reads a template (*.rep). Problems are collected rather than stopping at the
// first, so that one run shows the author everything to fix; only XML that is
// not well formed, a DTD or an unsupported version end the reading early.
class TemplateParser
{
public:
    // `fileLabel` starts every problem line, normally the template's path.
    explicit TemplateParser(QString fileLabel, TemplateLimits limits = {});

    // Returns the template, or nothing when at least one problem was found.
    std::optional<ReportTemplate> parse(const QByteArray &data);

    // Every problem of the last parse, each "file:line:column: message".
    QStringList problems() const { return m_problems; }

    // The parameter names the last parse met, also when it found problems, so
    // that unknown names can be reported together with everything else.
    const std::vector<PlaceholderUse> &placeholders() const { return m_placeholders; }

private:
    QString m_fileLabel;
    TemplateLimits m_limits;
    QStringList m_problems;
    std::vector<PlaceholderUse> m_placeholders;
};

// Checks parameter names against `known`. Returns one "file:line:column:
// message" line per unknown name, with the nearest known name suggested.
QStringList checkPlaceholders(const std::vector<PlaceholderUse> &uses, const QStringList &known,
                              const QString &fileLabel);

// Orders problem lines by their line and column, as an author reads the file.
void sortProblems(QStringList &problems, const QString &fileLabel);

} // namespace report
