// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

namespace report {

struct ImageLimits
{
    int maxSide = 20000;           // pixels, either side, as the file declares it
    qint64 maxPixels = 80'000'000; // width × height, as the file declares it
    int allocationMegabytes = 128; // for the decoder itself: a PNG of 32 megapixels
};

struct LoadedImage
{
    QImage image;             // null when the picture cannot or should not be used
    QString why;              // then: "does not exist", "cannot be read: ...", "is too large ..."
    qint64 decodedPixels = 0; // pixels the file declared and the decoder went through
};

// Reads an image to place in a box of `boxMm` millimetres, decoded at no more
// than twice `dpi` for the size at which it is printed, upright as its EXIF data
// says and flattened onto `background`, the colour behind the box (PDF/A-1
// has no transparency). Missing, unreadable, corrupt or absurdly large files
// give a null image and the reason.
LoadedImage loadImageForBox(const QString &path, QSizeF boxMm, QColor background = Qt::white, double dpi = 300.0,
                            const ImageLimits &limits = {});

// The largest size of `imageSize`'s proportions that fits into `box`.
QSizeF fitInside(QSizeF imageSize, QSizeF box);

} // namespace report
