// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace report {

// Fills a template file (*.rep) with named text parameters and writes a PDF.
//
// Failures are reported through the result, never thrown: an operation that
// fails returns false and errorString() holds the description to show the
// user. For a template with errors that description lists every problem,
// one "file:line:column: message" per line.
//
// Fonts: a template may only name the families of fontsFolder()'s font
// files, so that every machine writes the same PDF; characters a font lacks
// come from the folder's other fonts before the system's. The folder
// defaults to "fonts" beside the running executable, or for an installed
// program to ../share/quillbook/fonts beside its bin/. Exporting needs a
// QGuiApplication (any platform plugin, "offscreen" included); without one,
// check() cannot look at fonts and leaves them unchecked.
class ReportEngine
{
public:
    ReportEngine();
    ~ReportEngine();
    ReportEngine(const ReportEngine &) = delete;
    ReportEngine &operator=(const ReportEngine &) = delete;

    // The template the next export lays out: the full path of a *.rep file.
    // The file is read by ExportPdf() and check(), so changes to it show at once.
    void TemplatePath(const QString &path);
    QString templatePath() const;

    // From now on the template's {name} shows `value`; setting a name again
    // replaces its value. The names set are also the only ones a template may
    // use: any other name in the template is reported as a problem.
    void SetParameter(const QString &name, const QString &value);
    void clearParameters();

    // Writes the filled template as a PDF/A-1b file at `outputPath`, titled
    // with the file's base name (INV1001 for .../INV1001.pdf). The file is
    // written beside its final place and renamed over it only when complete,
    // so after a failure any earlier file at that path is unchanged.
    // Returns false and sets errorString() on failure, which includes a page
    // that cannot be drawn as the template's rules demand, such as a figure
    // (an amount like 1,234.50) too long for its box even at its smallest size.
    bool ExportPdf(const QString &outputPath);

    // Reads the template and checks it against the names set so far without
    // writing anything. Returns false and sets errorString() on any problem.
    bool check();

    QString errorString() const;

    // What the last ExportPdf() left out without failing, one
    // "file:line:column: message" each: pictures that are missing or cannot
    // be read, whose boxes stay empty.
    QStringList warnings() const;

    void setFontsFolder(const QString &folder);
    QString fontsFolder() const;
    static QString defaultFontsFolder();

private:
    struct Data;
    std::unique_ptr<Data> d;
};

} // namespace report
