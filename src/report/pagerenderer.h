// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/imageloader.h"
#include "report/problemlist.h"
#include "report/reporttemplate.h"

#include <QBrush>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QLineF>
#include <QPen>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <variant>

class QFont;
class QPaintDevice;
class QPainter;
class QTextLayout;

namespace report {

// Supplies the picture for an image box: the resolved file path, the box size
// in millimetres and the colour behind the box, onto which a transparent
// picture is flattened. A null image leaves the box empty.
using ImageSource = std::function<LoadedImage(const QString &path, QSizeF boxMm, QColor background)>;

// Bounds on the work of laying out one page, whatever its template and values.
struct PageLimits
{
    // Characters laid out, counting for each box only what it could show at
    // its smallest size; an invoice needs a few thousand.
    qsizetype maxCharacters = 100'000;
    // Pixels of pictures decoded for the page, as their files declare them.
    qint64 maxDecodedPixels = 160'000'000;
};

// Lays out one filled-in template for a paint device (normally the PDF
// writer, before painting starts) and then paints it, with the page's
// top-left corner at the origin. Laying out first means a page that cannot
// be drawn correctly is refused before anything is written.
class PageRenderer
{
public:
    PageRenderer(QPaintDevice *device, const QHash<QString, QString> &parameters, QString templateFolder,
                 ImageSource images, PageLimits limits = {});
    ~PageRenderer();
    PageRenderer(const PageRenderer &) = delete;
    PageRenderer &operator=(const PageRenderer &) = delete;

    // Lays out every visible element. Returns false when the page cannot be
    // drawn as the rules demand, or would take more work than the limits
    // allow; problems() then says why.
    bool layOut(const ReportTemplate &tpl);
    const ProblemList &problems() const { return m_problems; }
    // What was left out but does not stop the page: pictures that cannot be read.
    const ProblemList &warnings() const { return m_warnings; }

    // Families tried, in order, for characters a text's own font lacks,
    // before the system's fonts: the fonts that travel with the program.
    void setFallbackFamilies(const QStringList &families) { m_fallbackFamilies = families; }

    // Paints what layOut() prepared.
    void paint(QPainter &painter) const;

    // Whether `value` is blank or zero, as <if nonzero> reads it: a text of
    // nothing but zeros, signs, points, group commas and blanks.
    static bool isBlankOrZero(const QString &value);

    // Whether `value` is a figure: a number written with a decimal point or
    // group separators, such as 1,234.50 or -75.00. A text box showing a
    // figure parameter never wraps, never cuts and shrinks to fit.
    static bool isFigure(const QString &value);
    // A figure with its sign turned (1.73 gives -1.73, -1.73 gives 1.73, 0.00
    // stays); any other value as it is. What {-NAME} shows.
    static QString negated(const QString &value);

private:
    struct DrawnText
    {
        std::unique_ptr<QTextLayout> layout;
        int lines = 0;
        QPointF origin;
        double scale = 1.0; // from the size it was laid out at to its own
        QColor color;
    };
    struct DrawnImage
    {
        QRectF target;
        QImage image;
    };
    struct DrawnLine
    {
        QLineF line;
        QPen pen;
    };
    struct DrawnRect
    {
        QRectF box;
        QPen pen;
        QBrush brush;
        double radius = 0.0;
    };
    using Drawn = std::variant<DrawnText, DrawnImage, DrawnLine, DrawnRect>;

    bool isVisible(const std::vector<Condition> &conditions) const;
    QString fill(const PieceList &pieces) const;
    double px(double mm) const { return mm * m_dpi / 25.4; }
    QRectF px(const QRectF &mm) const;

    // The text a box shows, cut to what it could show at its smallest size;
    // `cut` tells whether anything was cut off.
    QString textFor(const TextBox &box, bool figure, bool *cut) const;
    // The figure parameters a box shows: names of values such as 1,234.50.
    QStringList figuresIn(const TextBox &box) const;
    void layOut(const TextBox &box, const Element &element, double lift, QString text, bool cut);
    void layOut(const ImageBox &image, const Element &element, double lift);
    void layOut(const LineShape &line, const Element &element, double lift);
    void layOut(const RectShape &rect, const Element &element, double lift);

    QFont fontFor(const TextStyle &style, double size) const;
    QColor colourBehind(const QRectF &area) const;

    QPaintDevice *m_device;
    double m_dpi;
    QRectF m_page; // device pixels
    const QHash<QString, QString> &m_parameters;
    QString m_templateFolder;
    ImageSource m_images;
    PageLimits m_limits;
    QStringList m_fallbackFamilies;
    qint64 m_decodedPixels = 0;
    std::vector<Drawn> m_drawn;
    ProblemList m_problems;
    ProblemList m_warnings;
};

} // namespace report
