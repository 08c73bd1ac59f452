// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/reporttemplate.h"

#include <QHash>
#include <QImage>
#include <QString>

#include <functional>

class QPainter;
class QFont;
class QTextLayout;

namespace report {

// Supplies the picture for an image box: the resolved file path and the box
// size in millimetres; a null image leaves the box empty.
using ImageSource = std::function<QImage(const QString &path, QSizeF boxMm)>;

// Draws one filled-in template onto a painter whose device measures `dpi`
// pixels per inch, with the page's top-left corner at the origin.
class PageRenderer
{
public:
    PageRenderer(QPainter &painter, double dpi, const QHash<QString, QString> &parameters,
                 QString templateFolder, ImageSource images);

    void render(const ReportTemplate &tpl);

    // Whether `value` is blank or zero, as <if nonzero> reads it: a text of
    // nothing but zeros, signs, points, group commas and blanks.
    static bool isBlankOrZero(const QString &value);

private:
    bool isVisible(const std::vector<Condition> &conditions) const;
    QString fill(const PieceList &pieces) const;
    double px(double mm) const { return mm * m_dpi / 25.4; }
    QRectF px(const QRectF &mm) const;

    void draw(const TextBox &text);
    void draw(const ImageBox &image);
    void draw(const LineShape &line);
    void draw(const RectShape &rect);

    QFont fontFor(const TextStyle &style, double size) const;
    // Lays the text out into lines no wider than `width` (unless `wrap` is
    // off), stopping after the first line that ends below `maxHeight`;
    // returns the height the lines take.
    double layOut(QTextLayout &layout, double width, bool wrap, HAlign align, double spacing,
                  double maxHeight) const;

    QPainter &m_painter;
    double m_dpi;
    const QHash<QString, QString> &m_parameters;
    QString m_templateFolder;
    ImageSource m_images;
};

} // namespace report
