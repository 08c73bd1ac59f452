// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/problemlist.h"
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
    int maxAttributes = 32;     // on one element; the largest set any element takes is 17
    int maxConditionNames = 50; // in one filled, empty or nonzero list
};

// Reads a template (*.rep). Problems are collected rather than stopping at the
// first, so that one run shows the author everything to fix; only XML that is
// not well formed, a DTD or an unsupported version end the reading early.
class TemplateParser
{
public:
    explicit TemplateParser(TemplateLimits limits = {});

    // Returns the template, or nothing when at least one problem was found.
    std::optional<ReportTemplate> parse(const QByteArray &data);

    // The problems of the last parse.
    const ProblemList &problems() const { return m_problems; }

    // The parameter names the last parse met, also when it found problems, so
    // that unknown names can be reported together with everything else.
    const std::vector<PlaceholderUse> &placeholders() const { return m_placeholders; }

    // The font families the last parse met, the default one included.
    const std::vector<FontUse> &fonts() const { return m_fonts; }

private:
    TemplateLimits m_limits;
    ProblemList m_problems;
    std::vector<PlaceholderUse> m_placeholders;
    std::vector<FontUse> m_fonts;
};

// Checks font families against `families`, the fonts that travel with the
// program: any other would make the PDF differ between machines.
void checkFonts(const std::vector<FontUse> &uses, const QStringList &families, ProblemList &problems);

// Checks parameter names against `known`: adds a problem for each unknown
// name, with the nearest known name suggested.
void checkPlaceholders(const std::vector<PlaceholderUse> &uses, const QStringList &known, ProblemList &problems);

} // namespace report
