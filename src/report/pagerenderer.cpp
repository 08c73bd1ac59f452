// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/pagerenderer.h"

#include "report/imageloader.h"

#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace report {

namespace {

constexpr QChar kLineSeparator(0x2028);
// More than any box of an invoice can show; bounds the work of laying out
// whatever text a parameter brings.
constexpr qsizetype kMaxTextLength = 10000;

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

} // namespace

PageRenderer::PageRenderer(QPainter &painter, double dpi, const QHash<QString, QString> &parameters,
                           QString templateFolder, ImageSource images)
    : m_painter(painter), m_dpi(dpi), m_parameters(parameters),
      m_templateFolder(std::move(templateFolder)), m_images(std::move(images))
{
}

bool PageRenderer::isBlankOrZero(const QString &value)
{
    // The program reads a text without digits as 0, so "." and "-" count as
    // zero too; any other character or digit makes the value worth showing.
    return std::all_of(value.begin(), value.end(), [](QChar c) {
        return c.isSpace() || c == u'0' || c == u'.' || c == u',' || c == u'-' || c == u'+';
    });
}

bool PageRenderer::isVisible(const std::vector<Condition> &conditions) const
{
    for (const Condition &condition : conditions) {
        bool any = false;
        for (const QString &name : condition.names) {
            const QString value = m_parameters.value(name);
            const bool counts = condition.kind == Condition::Kind::NonZero
                ? !isBlankOrZero(value)
                : !value.trimmed().isEmpty();
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
    for (const TextPiece &piece : pieces) {
        switch (piece.kind) {
        case TextPiece::Kind::Literal:
            text += piece.text;
            break;
        case TextPiece::Kind::Parameter:
            text += m_parameters.value(piece.text);
            break;
        case TextPiece::Kind::LineBreak:
            text += kLineSeparator;
            break;
        case TextPiece::Kind::RowNumber:
            break; // replaced while rows were unrolled
        }
    }
    return text;
}

QRectF PageRenderer::px(const QRectF &mm) const
{
    return {px(mm.x()), px(mm.y()), px(mm.width()), px(mm.height())};
}

void PageRenderer::render(const ReportTemplate &tpl)
{
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
    for (const Element &element : tpl.elements) {
        if (!isVisible(element.conditions))
            continue;
        const double dy = element.band >= 0 ? lift[element.band] : 0.0;
        if (dy != 0.0) {
            m_painter.save();
            m_painter.translate(0, -px(dy));
        }
        std::visit([this](const auto &shape) { draw(shape); }, element.shape);
        if (dy != 0.0)
            m_painter.restore();
    }
}

QFont PageRenderer::fontFor(const TextStyle &style, double size) const
{
    QFont font(style.family);
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

double PageRenderer::layOut(QTextLayout &layout, double width, bool wrap, HAlign align,
                            double spacing, double maxHeight) const
{
    QTextOption option;
    option.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    option.setAlignment(toQt(align));
    option.setTextDirection(Qt::LayoutDirectionAuto);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    double y = 0;
    double bottom = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        bottom = y + line.height();
        y += line.height() * spacing;
        // Lines below the box are never shown; stop once one is reached.
        if (bottom > maxHeight)
            break;
    }
    layout.endLayout();
    return bottom;
}

void PageRenderer::draw(const TextBox &box)
{
    QString text = fill(box.content);
    text.replace(u"\r\n"_s, QString(kLineSeparator));
    text.replace(u'\n', kLineSeparator);
    text.replace(u'\r', kLineSeparator);
    if (text.trimmed().isEmpty())
        return;
    text.truncate(kMaxTextLength);
    const QRectF outer = px(box.box);
    const QRectF area = outer.adjusted(px(box.padding), px(box.padding), -px(box.padding),
                                       -px(box.padding));
    if (area.width() <= 0 || area.height() <= 0)
        return;

    auto fits = [&](QTextLayout &layout, double height) {
        if (height > area.height() + 0.5)
            return false;
        for (int i = 0; i < layout.lineCount(); ++i) {
            if (layout.lineAt(i).naturalTextWidth() > area.width() + 0.5)
                return false;
        }
        return true;
    };

    double size = box.style.size;
    auto layout = std::make_unique<QTextLayout>(text, fontFor(box.style, size), m_painter.device());
    double height = layOut(*layout, area.width(), box.wrap, box.style.align, box.lineSpacing, area.height());
    bool fitting = fits(*layout, height);

    if (!fitting && box.overflow == Overflow::Shrink) {
        double low = box.minSize;
        double high = size;
        for (int step = 0; step < 12 && high - low > 0.05; ++step) {
            const double middle = (low + high) / 2;
            QTextLayout trial(text, fontFor(box.style, middle), m_painter.device());
            if (fits(trial, layOut(trial, area.width(), box.wrap, box.style.align, box.lineSpacing, area.height())))
                low = middle;
            else
                high = middle;
        }
        size = low;
        layout = std::make_unique<QTextLayout>(text, fontFor(box.style, size), m_painter.device());
        height = layOut(*layout, area.width(), box.wrap, box.style.align, box.lineSpacing, area.height());
        fitting = fits(*layout, height);
    }

    if (!fitting && box.overflow == Overflow::Ellipsis) {
        // Keep the lines that fit, then end the last one with "…".
        const QFont font = fontFor(box.style, size);
        const QFontMetricsF metrics(font, m_painter.device());
        QStringList shown;
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            if (i > 0 && line.y() + line.height() > area.height() + 0.5)
                break;
            shown << text.mid(line.textStart(), line.textLength());
        }
        const qsizetype lastStart = layout->lineAt(int(shown.size()) - 1).textStart();
        QString rest = text.mid(lastStart);
        rest.replace(kLineSeparator, u' ');
        shown.back() = metrics.elidedText(rest.trimmed(), Qt::ElideRight, area.width());
        for (QString &line : shown) {
            line.remove(kLineSeparator);
            if (metrics.horizontalAdvance(line) > area.width())
                line = metrics.elidedText(line, Qt::ElideRight, area.width());
        }
        text = shown.join(kLineSeparator);
        layout = std::make_unique<QTextLayout>(text, font, m_painter.device());
        height = layOut(*layout, area.width(), false, box.style.align, box.lineSpacing, area.height());
        fitting = true;
    }

    m_painter.save();
    m_painter.setPen(box.style.color);
    if (!fitting) {
        // Clip: whole lines below the box are left out, the rest is cut at its edges.
        m_painter.setClipRect(outer);
    }
    const double free = std::max(0.0, area.height() - height);
    const QPointF origin(area.left(), area.top() + free * verticalShare(box.style.valign));
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (!fitting && i > 0 && line.y() >= area.height())
            break;
        line.draw(&m_painter, origin);
    }
    m_painter.restore();
}

void PageRenderer::draw(const ImageBox &box)
{
    QString path = fill(box.source).trimmed();
    if (path.isEmpty() || !m_images)
        return;
    if (QDir::isRelativePath(path) && !m_templateFolder.isEmpty())
        path = QDir(m_templateFolder).filePath(path);
    const QImage image = m_images(path, box.box.size());
    if (image.isNull())
        return;
    const QRectF target = px(box.box);
    const QSizeF size = fitInside(image.size(), target.size());
    const QPointF topLeft(target.left() + (target.width() - size.width()) * horizontalShare(box.align),
                          target.top() + (target.height() - size.height()) * verticalShare(box.valign));
    m_painter.drawImage(QRectF(topLeft, size), image);
}

void PageRenderer::draw(const LineShape &line)
{
    QPen pen(line.color, px(line.thickness));
    pen.setCapStyle(Qt::FlatCap);
    if (line.pattern == LinePattern::Dash)
        pen.setStyle(Qt::DashLine);
    else if (line.pattern == LinePattern::Dot)
        pen.setStyle(Qt::DotLine);
    m_painter.setPen(pen);
    m_painter.drawLine(QPointF(px(line.from.x()), px(line.from.y())),
                       QPointF(px(line.to.x()), px(line.to.y())));
}

void PageRenderer::draw(const RectShape &rect)
{
    if (!rect.stroke && !rect.fill)
        return;
    if (rect.stroke) {
        QPen pen(*rect.stroke, px(rect.thickness));
        pen.setJoinStyle(Qt::MiterJoin);
        m_painter.setPen(pen);
    } else {
        m_painter.setPen(Qt::NoPen);
    }
    m_painter.setBrush(rect.fill ? QBrush(*rect.fill) : QBrush(Qt::NoBrush));
    const QRectF r = px(rect.box);
    if (rect.radius > 0)
        m_painter.drawRoundedRect(r, px(rect.radius), px(rect.radius));
    else
        m_painter.drawRect(r);
    m_painter.setBrush(Qt::NoBrush);
}

} // namespace report
