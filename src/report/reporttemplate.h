// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace report {

// Where something was written in the template file; line and column count from 1.
struct SourcePosition
{
    int line = 1;
    int column = 1;
};

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Middle, Bottom };
enum class Overflow { Clip, Shrink, Ellipsis };
enum class LinePattern { Solid, Dash, Dot };

// Shows an element, or a part of a text, only when its parameters hold something.
struct Condition
{
    enum class Kind {
        Filled,  // at least one parameter is not blank
        Empty,   // every parameter is blank
        NonZero, // at least one parameter is neither blank nor a number equal to zero
    };
    Kind kind = Kind::Filled;
    QStringList names;
};

// One run of a text: literal characters, the value of a parameter, the
// number of the current row, or a forced line break; shown only when its
// condition holds, if it has one (a phrase such as "of {PDATE}").
struct TextPiece
{
    enum class Kind { Literal, Parameter, RowNumber, LineBreak };
    Kind kind = Kind::Literal;
    QString text; // the characters, or the parameter's full name
    std::optional<Condition> condition{};
    bool negated = false; // {-NAME}: a figure's value with its sign turned
};
using PieceList = std::vector<TextPiece>;

struct TextStyle
{
    QString family;
    double size = 10.0; // pt
    bool bold = false;
    bool italic = false;
    QColor color;
    HAlign align = HAlign::Left;
    VAlign valign = VAlign::Top;
};

// All geometry below is in millimetres from the page's top-left corner.
struct TextBox
{
    QRectF box;
    TextStyle style;
    bool wrap = true;
    Overflow overflow = Overflow::Clip;
    double minSize = 5.0; // pt, the smallest size shrinking may reach
    double padding = 0.0;
    double lineSpacing = 1.0;
    PieceList content;
};

struct ImageBox
{
    QRectF box;
    PieceList source; // a file path, usually a single parameter
    HAlign align = HAlign::Center;
    VAlign valign = VAlign::Middle;
};

struct LineShape
{
    QPointF from;
    QPointF to;
    QColor color;
    double thickness = 0.0;
    LinePattern pattern = LinePattern::Solid;
};

struct RectShape
{
    QRectF box;
    std::optional<QColor> stroke;
    std::optional<QColor> fill;
    double thickness = 0.0;
    double radius = 0.0;
};

// A drawable element after rows have been unrolled: each row's copy carries
// its own parameter names and position, and every enclosing condition.
struct Element
{
    std::variant<TextBox, ImageBox, LineShape, RectShape> shape;
    std::vector<Condition> conditions;
    int band = -1;             // index into ReportTemplate::bands, or -1
    SourcePosition position{}; // of its tag, for problems found while drawing
};

// A horizontal strip of a stack. When its condition hides it, everything in
// the later bands of the same stack moves up by its height, so optional lines
// (a surcharge of zero, an empty fax number) leave no gap.
struct Band
{
    int stack = 0;
    double height = 0.0;
    std::optional<Condition> condition;
};

// A parameter name as written, kept for checking it against the names the
// caller supplies. In a repeated block `rowRelative` names take the row's
// number at the end, for rows 1 to `rows`.
struct PlaceholderUse
{
    QString name;
    bool rowRelative = false;
    int rows = 0;
    SourcePosition position;
};

// A font family as a template names it, kept for checking it against the
// fonts at hand.
struct FontUse
{
    QString family;
    SourcePosition position;
};

struct ReportTemplate
{
    QPageSize pageSize{QPageSize::A4};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    TextStyle defaultStyle;
    std::vector<Element> elements;
    std::vector<Band> bands;
};

} // namespace report
