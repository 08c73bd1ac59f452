// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/pagerenderer.h"

#include "report/imageloader.h"

#include <QDir>
#include <QFont>
#include <QPageLayout>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace report {

namespace {

constexpr QChar kLineSeparator(0x2028);
constexpr QChar kEllipsis(0x2026);
// More than any box of an invoice can show; bounds the work of laying out
// whatever text a parameter brings.
constexpr qsizetype kMaxTextLength = 10000;
// Device pixels (1/1200 inch in a PDF) that a line may overhang its box.
constexpr double kTolerance = 0.5;
// Points: 72 device pixels at the PDF's 1200 dots per inch.
constexpr double kReferenceSize = 4.32;

Qt::Alignment toQt(HAlign align)
{
    // Absolute: "left" stays left in right-to-left text too.
    switch (align) {
    case HAlign::Left:
        return Qt::AlignLeft | Qt::AlignAbsolute;
    case HAlign::Center:
        return Qt::AlignHCenter;
    case HAlign::Right:
        return Qt::AlignRight | Qt::AlignAbsolute;
    }
    return Qt::AlignLeft;
}

double verticalShare(VAlign align)
{
    switch (align) {
    case VAlign::Top:
        return 0.0;
    case VAlign::Middle:
        return 0.5;
    case VAlign::Bottom:
        return 1.0;
    }
    return 0.0;
}

double horizontalShare(HAlign align)
{
    switch (align) {
    case HAlign::Left:
        return 0.0;
    case HAlign::Center:
        return 0.5;
    case HAlign::Right:
        return 1.0;
    }
    return 0.0;
}

QString points(double size)
{
    return QString::number(size, 'g', 3);
}

QString millimetres(double mm)
{
    return QString::number(mm, 'g', 4);
}

// How a text's lines fall into a box.
struct Lines
{
    int count = 0;        // lines that lie wholly inside the box's height
    bool complete = true; // those lines hold all of the text
    double height = 0.0;  // from the top of the first to the bottom of the last
    double widest = 0.0;  // the natural width of the widest
};

// Breaks the text of `layout` into lines no wider than `width` (or, without
// `wrap`, only where the text breaks its lines) and stops at the first line
// that would end below `maxHeight`. Shaping is kept in the layout, so
// breaking the same text again for another width is cheap.
Lines breakLines(QTextLayout &layout, double width, double spacing, double maxHeight)
{
    Lines result;
    layout.beginLayout();
    double y = 0.0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        const double bottom = y + line.height();
        if (bottom > maxHeight + kTolerance) {
            result.complete = false;
            break;
        }
        ++result.count;
        result.height = bottom;
        result.widest = std::max(result.widest, line.naturalTextWidth());
        y += line.height() * spacing;
    }
    layout.endLayout();
    return result;
}

bool fits(const Lines &lines, double width)
{
    return lines.complete && lines.widest <= width + kTolerance;
}

// Cuts `line` to the part inside `area` (Liang and Barsky); false when none
// is. `startCut` is how much was cut from its start.
bool clip(QLineF &line, const QRectF &area, double *startCut)
{
    const QPointF d = line.p2() - line.p1();
    const double p[4] = {-d.x(), d.x(), -d.y(), d.y()};
    const double q[4]
        = {line.x1() - area.left(), area.right() - line.x1(), line.y1() - area.top(), area.bottom() - line.y1()};
    double t0 = 0.0;
    double t1 = 1.0;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF start = line.p1();
    *startCut = t0 * line.length();
    line = QLineF(start + d * t0, start + d * t1);
    return true;
}

} // namespace

PageRenderer::PageRenderer(QPaintDevice *device, const QHash<QString, QString> &parameters, QString templateFolder,
                           ImageSource images, PageLimits limits)
    : m_device(device), m_dpi(device->logicalDpiY()), m_parameters(parameters),
      m_templateFolder(std::move(templateFolder)), m_images(std::move(images)), m_limits(limits)
{ }

PageRenderer::~PageRenderer() = default;

bool PageRenderer::isBlankOrZero(const QString &value)
{
    // The program reads a text without digits as 0, so "." and "-" count as
    // zero too; any other character or digit makes the value worth showing.
    return std::all_of(value.begin(), value.end(), [](QChar c) {
        return c.isSpace() || c == u'0' || c == u'.' || c == u',' || c == u'-' || c == u'+';
    });
}

QString PageRenderer::negated(const QString &value)
{
    if (!isFigure(value))
        return value;
    const QString text = value.trimmed();
    const QChar sign = text.front();
    if (sign == u'-' || sign == QChar(0x2212) || sign == QChar(0x2013))
        return text.mid(1);
    const QString digits = sign == u'+' ? text.mid(1) : text;
    // Nothing is no less than nothing: 0.00 keeps its look.
    const bool zero = std::all_of(digits.begin(), digits.end(), [](QChar c) { return !c.isDigit() || c == u'0'; });
    return zero ? digits : u'-' + digits;
}

bool PageRenderer::isFigure(const QString &value)
{
    const QStringView text = QStringView(value).trimmed();
    qsizetype i = 0;
    if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+' || text[0] == QChar(0x2212) || text[0] == QChar(0x2013)))
        ++i;
    bool separated = false;
    bool afterDigit = false;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            afterDigit = true;
            continue;
        }
        const bool separator = c == u',' || c == u'.' || c == u'\'' || c == 0x00A0 || c == 0x202F;
        if (!separator || !afterDigit)
            return false;
        separated = true;
        afterDigit = false;
    }
    return separated && afterDigit;
}

bool PageRenderer::isVisible(const std::vector<Condition> &conditions) const
{
    for (const Condition &condition : conditions) {
        bool any = false;
        for (const QString &name : condition.names) {
            const QString value = m_parameters.value(name);
            const bool counts
                = condition.kind == Condition::Kind::NonZero ? !isBlankOrZero(value) : !value.trimmed().isEmpty();
            any = any || counts;
        }
        const bool shown = condition.kind == Condition::Kind::Empty ? !any : any;
        if (!shown)
            return false;
    }
    return true;
}

QString PageRenderer::fill(const PieceList &pieces) const
{
    QString text;
    bool literalLast = false; // whether the text ends in the template's own words
    for (const TextPiece &piece : pieces) {
        if (piece.condition && !isVisible({*piece.condition}))
            continue;
        switch (piece.kind) {
        case TextPiece::Kind::Literal: {
            // A phrase left out may leave its neighbours' blanks side by side,
            // or at the start; the template's own blanks are then dropped.
            QStringView literal(piece.text);
            if (text.isEmpty() || text.endsWith(u' ') || text.endsWith(kLineSeparator)) {
                while (!literal.isEmpty() && literal.front() == u' ')
                    literal = literal.sliced(1);
            }
            text += literal;
            literalLast = true;
            break;
        }
        case TextPiece::Kind::Parameter:
            text += piece.negated ? negated(m_parameters.value(piece.text)) : m_parameters.value(piece.text);
            literalLast = false;
            break;
        case TextPiece::Kind::LineBreak:
            text += kLineSeparator;
            literalLast = false;
            break;
        case TextPiece::Kind::RowNumber:
            break; // replaced while rows were unrolled
        }
        if (text.size() > kMaxTextLength)
            break; // no box shows more; values can be long
    }
    if (literalLast) {
        while (text.endsWith(u' '))
            text.chop(1);
    }
    return text;
}

QRectF PageRenderer::px(const QRectF &mm) const
{
    return {px(mm.x()), px(mm.y()), px(mm.width()), px(mm.height())};
}

bool PageRenderer::layOut(const ReportTemplate &tpl)
{
    m_drawn.clear();
    m_problems = ProblemList();
    m_warnings = ProblemList();
    m_decodedPixels = 0;
    const QRectF pageMm = QPageLayout(tpl.pageSize, tpl.orientation, QMarginsF()).fullRect(QPageLayout::Millimeter);
    m_page = px(QRectF(QPointF(0, 0), pageMm.size()));
    // How far each band moves up for the hidden bands above it in its stack.
    std::vector<double> lift(tpl.bands.size());
    std::vector<double> hidden;
    for (size_t i = 0; i < tpl.bands.size(); ++i) {
        const Band &band = tpl.bands[i];
        if (size_t(band.stack) >= hidden.size())
            hidden.resize(band.stack + 1);
        lift[i] = hidden[band.stack];
        if (band.condition && !isVisible({*band.condition}))
            hidden[band.stack] += band.height;
    }

    // What every visible box shows, cut to what it could show at all, is
    // known before any text is laid out: a page that would take too much
    // work is refused before it starts.
    struct Shown
    {
        const Element *element;
        QString text;
        bool cut = false;
    };
    std::vector<Shown> shown;
    qsizetype characters = 0;
    for (const Element &element : tpl.elements) {
        if (!isVisible(element.conditions))
            continue;
        Shown item{&element, {}, false};
        if (const auto *box = std::get_if<TextBox>(&element.shape)) {
            // A box wholly off the page shows nothing.
            const double dy = element.band >= 0 ? px(lift[element.band]) : 0.0;
            if (!px(box->box).translated(0, -dy).intersects(m_page))
                continue;
            item.text = textFor(*box, !figuresIn(*box).isEmpty(), &item.cut);
            characters += item.text.size();
            if (characters > m_limits.maxCharacters) {
                m_problems.add(element.position,
                               u"the page would lay out more than %1 characters of text by this element; "
                               "shorten the values or use fewer or smaller text boxes"_s.arg(
                                   QString::number(m_limits.maxCharacters)));
                return false;
            }
        }
        shown.push_back(std::move(item));
    }
    for (Shown &item : shown) {
        const Element &element = *item.element;
        const double dy = element.band >= 0 ? px(lift[element.band]) : 0.0;
        if (const auto *box = std::get_if<TextBox>(&element.shape))
            layOut(*box, element, dy, std::move(item.text), item.cut);
        else if (const auto *image = std::get_if<ImageBox>(&element.shape))
            layOut(*image, element, dy);
        else if (const auto *line = std::get_if<LineShape>(&element.shape))
            layOut(*line, element, dy);
        else if (const auto *rect = std::get_if<RectShape>(&element.shape))
            layOut(*rect, element, dy);
        if (m_decodedPixels > m_limits.maxDecodedPixels) {
            m_problems.add(element.position,
                           u"the pictures of the page hold more than %1 million pixels by this element"_s.arg(
                               QString::number(m_limits.maxDecodedPixels / 1'000'000)));
            return false;
        }
    }
    return m_problems.isEmpty();
}

QStringList PageRenderer::figuresIn(const TextBox &box) const
{
    QStringList figures;
    for (const TextPiece &piece : box.content) {
        if (piece.kind == TextPiece::Kind::Parameter && !figures.contains(piece.text)
            && (!piece.condition || isVisible({*piece.condition})) && isFigure(m_parameters.value(piece.text)))
            figures << piece.text;
    }
    return figures;
}

QString PageRenderer::textFor(const TextBox &box, bool figure, bool *cut) const
{
    QString text = fill(box.content);
    text.replace(u"\r\n"_s, QString(kLineSeparator));
    text.replace(u'\n', kLineSeparator);
    text.replace(u'\r', kLineSeparator);
    *cut = false;
    if (text.trimmed().isEmpty())
        return {};
    // No box can show more lines than its height holds at the smallest size
    // it may reach, nor more characters on a line than its width holds when
    // each is a tenth of that size wide (the narrowest letters are twice
    // that). Only what could be shown is laid out.
    const double width = px(box.box.width() - 2 * box.padding);
    const double height = px(box.box.height() - 2 * box.padding);
    if (width <= 0 || height <= 0)
        return {};
    const double smallest
        = (figure || box.overflow == Overflow::Shrink) ? std::min(box.minSize, box.style.size) : box.style.size;
    const double em = smallest / 72.0 * m_dpi;
    const double lines = std::floor(height / (0.8 * em * box.lineSpacing)) + 1;
    const double perLine = std::floor(width / (0.1 * em)) + 2;
    const qsizetype capacity = qsizetype(std::min<double>(kMaxTextLength, lines * (perLine + 1)));
    if (text.size() > capacity) {
        text.truncate(capacity);
        *cut = true;
    }
    return text;
}

QFont PageRenderer::fontFor(const TextStyle &style, double size) const
{
    QFont font(style.family);
    if (!m_fallbackFamilies.isEmpty()) {
        QStringList families{style.family};
        for (const QString &family : m_fallbackFamilies) {
            if (family.compare(style.family, Qt::CaseInsensitive) != 0)
                families << family;
        }
        font.setFamilies(families);
    }
    font.setPointSizeF(size);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    // Unhinted outlines keep the layout identical whatever the resolution.
    font.setHintingPreference(QFont::PreferNoHinting);
    // Qt shapes without ligatures when letters are spaced. An invisible
    // spacing keeps "fi" as two letters, so the PDF's text reads "fi" back
    // instead of the ligature sign, while kerning stays on.
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.0 / 64); // the smallest step Qt keeps
    return font;
}

void PageRenderer::layOut(const TextBox &box, const Element &element, double lift, QString text, bool cut)
{
    if (text.isEmpty())
        return;
    // A figure is never wrapped or cut: it shrinks to fit, or the page is refused.
    const QStringList figures = figuresIn(box);
    const bool figure = !figures.isEmpty();
    const bool wrap = box.wrap && !figure;
    const bool shrink = figure || box.overflow == Overflow::Shrink;
    const auto refuse = [&](double smallest) {
        m_problems.add(element.position,
                       u"%1 %2 does not fit its <text> box (%3 × %4 mm) on one line, even at the smallest "
                       "size %5 pt; make the box wider or lower its min-size"_s.arg(
                           figures.size() == 1 ? u"the figure"_s : u"the figures"_s, figures.join(u", "_s),
                           millimetres(box.box.width()), millimetres(box.box.height()), points(smallest)));
    };
    if (figure && cut) {
        refuse(std::min(box.minSize, box.style.size));
        return;
    }

    const QRectF area = px(box.box)
                            .adjusted(px(box.padding), px(box.padding), -px(box.padding), -px(box.padding))
                            .translated(0, -lift);
    if (area.width() <= 0 || area.height() <= 0)
        return;
    const double width = area.width();
    const double height = area.height();

    QTextOption option;
    option.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    option.setAlignment(toQt(box.style.align));
    option.setTextDirection(Qt::LayoutDirectionAuto);

    // The text is shaped once, in its font at a reference size, and drawn
    // scaled to its own size: a text at size s is the reference text scaled
    // by s / reference, so it fits the box when the reference text fits a
    // box larger by reference / s. One font engine per face serves the
    // page, and shrinking only breaks the lines again. Text smaller than the
    // reference is shaped at its own size, so that scaling never enlarges
    // the numbers written for its glyphs beyond the box's width.
    double reference = std::min(kReferenceSize, box.style.size);
    const auto layoutAt = [&](double size) {
        auto layout = std::make_unique<QTextLayout>(text, fontFor(box.style, size), m_device);
        layout->setTextOption(option);
        layout->setCacheEnabled(true);
        return layout;
    };
    std::unique_ptr<QTextLayout> layout = layoutAt(reference);
    const auto linesAt = [&](double size) {
        const double k = size / reference;
        return breakLines(*layout, width / k, box.lineSpacing, height / k);
    };
    const auto fitsAt = [&](double size, const Lines &lines) { return fits(lines, width * reference / size); };

    const double minSize = std::min(box.minSize, box.style.size);
    double size = cut && shrink ? minSize : box.style.size;
    Lines lines = linesAt(size);
    bool fitting = !cut && fitsAt(size, lines);

    if (!fitting && !cut && shrink && minSize < size) {
        double found = 0.0;
        if (!wrap) {
            // Lines break only where the text breaks them: the largest size
            // follows from the widest line and the height of them all.
            const Lines all = breakLines(*layout, width, box.lineSpacing, std::numeric_limits<double>::infinity());
            found = std::min({size, reference * width / std::max(all.widest, 1e-9),
                              reference * height / std::max(all.height, 1e-9)});
        } else if (fitsAt(minSize, linesAt(minSize))) {
            double low = minSize;
            double high = size;
            for (int step = 0; step < 16 && high - low > 0.01; ++step) {
                const double middle = (low + high) / 2;
                (fitsAt(middle, linesAt(middle)) ? low : high) = middle;
            }
            found = low;
        }
        size = found >= minSize ? found : minSize;
        lines = linesAt(size);
        fitting = fitsAt(size, lines);
    }

    if (!fitting && figure) {
        refuse(minSize);
        return;
    }
    if (size < reference) {
        reference = size;
        layout = layoutAt(reference);
        lines = linesAt(size);
    }
    const double scale = size / reference;

    if (!fitting) {
        // Whole lines only: the lines that fit are shown, and where text is
        // left out the last of them ends in "…" at a character boundary.
        if (lines.count == 0)
            return;
        const double lineWidth = width / scale;
        const QFontMetricsF metrics(fontFor(box.style, reference), m_device);
        QStringList shown;
        for (int i = 0; i < lines.count; ++i) {
            const QTextLine line = layout->lineAt(i);
            shown << text.mid(line.textStart(), line.textLength()).remove(kLineSeparator);
        }
        if (!lines.complete || cut) {
            const QTextLine last = layout->lineAt(lines.count - 1);
            const qsizetype start = last.textStart();
            // Enough of what follows to fill the line; more would only cost time.
            const qsizetype take = last.textLength() + 64;
            QString rest = text.mid(start, take);
            rest.replace(kLineSeparator, u' ');
            if (start + take < text.size() || cut)
                rest += kEllipsis;
            shown.back() = rest;
        }
        for (qsizetype i = 0; i < shown.size(); ++i) {
            if (metrics.horizontalAdvance(shown[i]) > lineWidth + kTolerance)
                shown[i] = metrics.elidedText(shown[i], Qt::ElideRight, lineWidth);
        }
        while (!shown.isEmpty() && shown.back().isEmpty())
            shown.removeLast();
        if (shown.isEmpty())
            return;
        text = shown.join(kLineSeparator);
        option.setWrapMode(QTextOption::NoWrap);
        layout = layoutAt(reference);
        lines = linesAt(size);
    }

    const double free = std::max(0.0, height - lines.height * scale);
    DrawnText drawn;
    drawn.layout = std::move(layout);
    drawn.lines = lines.count;
    drawn.origin = QPointF(area.left(), area.top() + free * verticalShare(box.style.valign));
    drawn.scale = scale;
    drawn.color = box.style.color;
    m_drawn.emplace_back(std::move(drawn));
}

QColor PageRenderer::colourBehind(const QRectF &area) const
{
    // The last filled rectangle drawn so far under the middle of the area.
    const QPointF middle = area.center();
    for (auto it = m_drawn.rbegin(); it != m_drawn.rend(); ++it) {
        if (const auto *rect = std::get_if<DrawnRect>(&*it)) {
            if (rect->brush.style() != Qt::NoBrush && rect->box.contains(middle))
                return rect->brush.color();
        }
    }
    return Qt::white;
}

void PageRenderer::layOut(const ImageBox &box, const Element &element, double lift)
{
    QString path = fill(box.source).trimmed();
    if (path.isEmpty() || !m_images)
        return;
    if (QDir::isRelativePath(path) && !m_templateFolder.isEmpty())
        path = QDir(m_templateFolder).filePath(path);
    const QRectF target = px(box.box).translated(0, -lift);
    if (!target.intersects(m_page))
        return;
    const LoadedImage loaded = m_images(path, box.box.size(), colourBehind(target));
    m_decodedPixels += loaded.decodedPixels;
    if (loaded.image.isNull()) {
        if (!loaded.why.isEmpty())
            m_warnings.add(
                element.position,
                u"the picture %1 %2; its box is left empty"_s.arg(QDir::toNativeSeparators(path), loaded.why));
        return;
    }
    const QSizeF size = fitInside(loaded.image.size(), target.size());
    const QPointF topLeft(target.left() + (target.width() - size.width()) * horizontalShare(box.align),
                          target.top() + (target.height() - size.height()) * verticalShare(box.valign));
    m_drawn.emplace_back(DrawnImage{QRectF(topLeft, size), loaded.image});
}

void PageRenderer::layOut(const LineShape &line, const Element &, double lift)
{
    QPen pen(line.color, px(line.thickness));
    pen.setCapStyle(Qt::FlatCap);
    QLineF drawn(px(line.from.x()), px(line.from.y()) - lift, px(line.to.x()), px(line.to.y()) - lift);
    // Only the part on the page is drawn, so that its numbers stay small; a
    // dashed line keeps the phase of its pattern.
    const double margin = pen.widthF() / 2 + px(1.0);
    double startCut = 0.0;
    if (!clip(drawn, m_page.adjusted(-margin, -margin, margin, margin), &startCut))
        return;
    if (line.pattern != LinePattern::Solid) {
        pen.setStyle(line.pattern == LinePattern::Dash ? Qt::DashLine : Qt::DotLine);
        const double period = line.pattern == LinePattern::Dash ? 6.0 : 3.0; // in pen widths
        if (pen.widthF() > 0)
            pen.setDashOffset(std::fmod(startCut / pen.widthF(), period));
    }
    m_drawn.emplace_back(DrawnLine{drawn, pen});
}

void PageRenderer::layOut(const RectShape &rect, const Element &, double lift)
{
    if (!rect.stroke && !rect.fill)
        return;
    DrawnRect drawn;
    if (rect.stroke) {
        drawn.pen = QPen(*rect.stroke, px(rect.thickness));
        drawn.pen.setJoinStyle(Qt::MiterJoin);
    } else {
        drawn.pen = QPen(Qt::NoPen);
    }
    drawn.brush = rect.fill ? QBrush(*rect.fill) : QBrush(Qt::NoBrush);
    drawn.box = px(rect.box).translated(0, -lift);
    drawn.radius = px(rect.radius);
    const double half = rect.stroke ? drawn.pen.widthF() / 2 : 0.0;
    if (!drawn.box.adjusted(-half, -half, half, half).intersects(m_page))
        return;
    m_drawn.emplace_back(std::move(drawn));
}

void PageRenderer::paint(QPainter &painter) const
{
    for (const Drawn &item : m_drawn) {
        if (const auto *text = std::get_if<DrawnText>(&item)) {
            painter.setPen(text->color);
            painter.save();
            painter.translate(text->origin);
            painter.scale(text->scale, text->scale);
            for (int i = 0; i < text->lines; ++i)
                text->layout->lineAt(i).draw(&painter, QPointF());
            painter.restore();
        } else if (const auto *image = std::get_if<DrawnImage>(&item)) {
            painter.drawImage(image->target, image->image);
        } else if (const auto *line = std::get_if<DrawnLine>(&item)) {
            painter.setPen(line->pen);
            painter.drawLine(line->line);
        } else if (const auto *rect = std::get_if<DrawnRect>(&item)) {
            painter.setPen(rect->pen);
            painter.setBrush(rect->brush);
            if (rect->radius > 0)
                painter.drawRoundedRect(rect->box, rect->radius, rect->radius);
            else
                painter.drawRect(rect->box);
            painter.setBrush(Qt::NoBrush);
        }
    }
}

} // namespace report
