// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

// Looks into written PDFs with poppler's command-line tools, so tests check
// what a reader of the document gets rather than bytes.
namespace pdfprobe {

struct Word
{
    QString text;
    QRectF box; // millimetres from the page's top-left corner
};

struct Image
{
    int width = 0;
    int height = 0;
    QString type; // "image", "smask", ...
    QString encoding;
};

// Runs a program and returns its standard output; fails the test (returns an
// empty string and sets `ok` false) when it cannot be started or fails.
QString run(const QString &program, const QStringList &arguments, bool *ok = nullptr);

QString text(const QString &pdf);
QList<Word> words(const QString &pdf);
QString info(const QString &pdf, bool metadata = false);
QString infoField(const QString &pdf, const QString &field);
QList<Image> images(const QString &pdf);
// Rows of pdffonts: name and whether it is embedded.
QList<QPair<QString, bool>> fonts(const QString &pdf);
QImage render(const QString &pdf, int dpi);

// The first word whose text equals `text`, or a word with an empty text.
Word find(const QList<Word> &words, const QString &text);

} // namespace pdfprobe
