// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/imageloader.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <cmath>

using namespace Qt::StringLiterals;

namespace report {

QSizeF fitInside(QSizeF imageSize, QSizeF box)
{
    if (imageSize.isEmpty() || box.isEmpty())
        return {};
    return imageSize.scaled(box, Qt::KeepAspectRatio);
}

namespace {

// QImageReader's allocation limit is process-wide; keep ours for this read only.
class AllocationLimit
{
public:
    explicit AllocationLimit(int megabytes) : m_previous(QImageReader::allocationLimit())
    {
        QImageReader::setAllocationLimit(megabytes);
    }
    ~AllocationLimit() { QImageReader::setAllocationLimit(m_previous); }
    AllocationLimit(const AllocationLimit &) = delete;
    AllocationLimit &operator=(const AllocationLimit &) = delete;

private:
    int m_previous;
};

bool swapsSides(QImageIOHandler::Transformations t)
{
    return t.testFlag(QImageIOHandler::TransformationRotate90);
}

} // namespace

LoadedImage loadImageForBox(const QString &path, QSizeF boxMm, QColor background, double dpi, const ImageLimits &limits)
{
    LoadedImage result;
    const auto fail = [&](const QString &reason) {
        result.why = reason;
        return result;
    };
    if (path.isEmpty() || boxMm.isEmpty())
        return result;
    if (!QFileInfo(path).isFile())
        return fail(u"does not exist"_s);
    const AllocationLimit allocation(limits.allocationMegabytes);
    QImageReader reader(path);
    const auto unreadable = [&reader] {
        const QString error = reader.errorString();
        return error.isEmpty() || error == u"Unknown error"_s
            ? u"cannot be read: it is damaged, or not a JPEG, PNG, GIF or BMP picture"_s
            : u"cannot be read: "_s + error;
    };
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty())
        return fail(unreadable());
    if (stored.width() > limits.maxSide || stored.height() > limits.maxSide
        || qint64(stored.width()) * stored.height() > limits.maxPixels)
        return fail(u"is too large (%1 × %2 pixels; at most %3 on a side and %4 million in all)"_s.arg(
            QString::number(stored.width()), QString::number(stored.height()), QString::number(limits.maxSide),
            QString::number(limits.maxPixels / 1'000'000)));
    result.decodedPixels = qint64(stored.width()) * stored.height();

    const bool swapped = swapsSides(reader.transformation());
    const QSizeF upright = swapped ? stored.transposed() : stored;
    const QSizeF printedMm = fitInside(upright, boxMm);
    const QSizeF wanted(std::ceil(printedMm.width() / 25.4 * dpi), std::ceil(printedMm.height() / 25.4 * dpi));
    // A picture up to twice as sharp as needed is kept as it is: scaling it
    // would cost more than it saves. A larger JPEG is reduced by the largest
    // power of two that keeps it sharp enough, which the decoder does while
    // decoding; other pictures are scaled to the size needed.
    if (upright.width() > 2 * wanted.width() && upright.height() > 2 * wanted.height()) {
        QSize decoded;
        if (reader.format() == "jpeg") {
            int factor = 2;
            while (factor < 8 && upright.width() / (2 * factor) >= wanted.width()
                   && upright.height() / (2 * factor) >= wanted.height())
                factor *= 2;
            decoded = QSize((stored.width() + factor - 1) / factor, (stored.height() + factor - 1) / factor);
        } else {
            const QSize fitted = upright.scaled(wanted, Qt::KeepAspectRatio).toSize().expandedTo({1, 1});
            // Scaling is applied before the EXIF rotation, so ask in stored orientation.
            decoded = swapped ? fitted.transposed() : fitted;
        }
        reader.setScaledSize(decoded);
    }
    QImage image = reader.read();
    if (image.isNull())
        return fail(unreadable());
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(background.isValid() ? background : QColor(Qt::white));
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
        painter.end();
        image = flat;
    }
    result.image = image;
    return result;
}

} // namespace report
