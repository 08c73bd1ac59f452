// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/reportengine.h"

#include "report/fontfolder.h"
#include "report/imageloader.h"
#include "report/pagerenderer.h"
#include "report/templateparser.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace report {

namespace {

constexpr int kDpi = 1200;
constexpr int kImageCacheSize = 8;

} // namespace

struct ReportEngine::Data
{
    QString templatePath;
    QHash<QString, QString> parameters;
    QStringList names; // in the order they were first set, for stable suggestions
    QString error;
    QStringList warnings;
    QString fontsFolder;
    QStringList families; // of the fonts folder, once registered
    // The same logo goes into every invoice; decoding it once saves most of its cost.
    QHash<QString, LoadedImage> images;
    // The last template read, kept while the file's bytes stay the same.
    struct Parsed
    {
        QString label;
        QByteArray bytes;
        std::optional<ReportTemplate> tpl;
        ProblemList problems;
        std::vector<PlaceholderUse> placeholders;
        std::vector<FontUse> fonts;
    };
    Parsed parsed;

    std::optional<ReportTemplate> load();
    LoadedImage image(const QString &path, QSizeF boxMm, QColor background);
};

std::optional<ReportTemplate> ReportEngine::Data::load()
{
    if (templatePath.isEmpty()) {
        error = u"No report template has been chosen."_s;
        return std::nullopt;
    }
    QFile file(templatePath);
    if (!QFileInfo(templatePath).isFile()) {
        error = u"The report template %1 does not exist."_s.arg(QDir::toNativeSeparators(templatePath));
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = u"The report template %1 cannot be read: %2"_s.arg(QDir::toNativeSeparators(templatePath),
                                                                   file.errorString());
        return std::nullopt;
    }
    const TemplateLimits limits;
    // One byte past the limit is enough for the parser to report the size.
    const QByteArray data = file.read(limits.maxBytes + 1);
    const QString label = QDir::toNativeSeparators(templatePath);
    if (parsed.label != label || parsed.bytes != data) {
        TemplateParser parser(limits);
        parsed.tpl = parser.parse(data);
        parsed.problems = parser.problems();
        parsed.placeholders = parser.placeholders();
        parsed.fonts = parser.fonts();
        parsed.label = label;
        parsed.bytes = data;
    }
    ProblemList problems = parsed.problems;
    checkPlaceholders(parsed.placeholders, names, problems);
    // Fonts can only be looked at with a QGuiApplication.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        families = registerFontFolder(fontsFolder.isEmpty() ? defaultFontsFolder() : fontsFolder);
        checkFonts(parsed.fonts, families, problems);
    }
    if (!problems.isEmpty()) {
        error = problems.lines(label).join(u'\n');
        return std::nullopt;
    }
    return parsed.tpl;
}

LoadedImage ReportEngine::Data::image(const QString &path, QSizeF boxMm, QColor background)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return loadImageForBox(path, boxMm, background);
    const QString key = u"%1|%2|%3|%4x%5|%6"_s.arg(
        info.absoluteFilePath(), QString::number(info.lastModified().toMSecsSinceEpoch()), QString::number(info.size()),
        QString::number(boxMm.width()), QString::number(boxMm.height()), background.name());
    if (const auto it = images.constFind(key); it != images.constEnd()) {
        LoadedImage cached = *it;
        cached.decodedPixels = 0; // decoded for an earlier page
        return cached;
    }
    const LoadedImage loaded = loadImageForBox(path, boxMm, background);
    if (images.size() >= kImageCacheSize)
        images.clear();
    images.insert(key, loaded);
    return loaded;
}

ReportEngine::ReportEngine() : d(std::make_unique<Data>()) { }

ReportEngine::~ReportEngine() = default;

void ReportEngine::TemplatePath(const QString &path)
{
    d->templatePath = path;
}

QString ReportEngine::templatePath() const
{
    return d->templatePath;
}

void ReportEngine::SetParameter(const QString &name, const QString &value)
{
    if (!d->parameters.contains(name))
        d->names << name;
    d->parameters.insert(name, value);
}

void ReportEngine::clearParameters()
{
    d->parameters.clear();
    d->names.clear();
}

bool ReportEngine::check()
{
    d->error.clear();
    return d->load().has_value();
}

bool ReportEngine::ExportPdf(const QString &outputPath)
{
    d->error.clear();
    d->warnings.clear();
    const auto tpl = d->load();
    if (!tpl)
        return false;
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        d->error = u"Writing a PDF needs a running QGuiApplication."_s;
        return false;
    }
    const QString shownPath = QDir::toNativeSeparators(outputPath);
    const QFileInfo output(outputPath);
    if (!output.absoluteDir().exists()) {
        // Say what stands in the way: a file where a folder should be, or nothing.
        QString folder = output.absolutePath();
        while (!QFileInfo::exists(folder) && QFileInfo(folder).absolutePath() != folder)
            folder = QFileInfo(folder).absolutePath();
        d->error = QFileInfo(folder).isDir()
            ? u"Cannot write %1: the folder %2 does not exist."_s.arg(shownPath,
                                                                      QDir::toNativeSeparators(output.absolutePath()))
            : u"Cannot write %1: %2 is a file, not a folder."_s.arg(shownPath, QDir::toNativeSeparators(folder));
        return false;
    }
    QSaveFile file(outputPath);
    if (!file.open(QIODevice::WriteOnly)) {
        d->error = u"Cannot write %1: %2"_s.arg(shownPath, file.errorString());
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        writer.setResolution(kDpi);
        writer.setTitle(output.completeBaseName());
        writer.setCreator(u"Quillbook"_s);
        writer.setPageLayout(QPageLayout(tpl->pageSize, tpl->orientation, QMarginsF()));
        // Everything is laid out before the first byte is written, so that a
        // page that cannot be drawn correctly leaves no file behind.
        PageRenderer renderer(
            &writer, d->parameters, QFileInfo(d->templatePath).absolutePath(),
            [this](const QString &path, QSizeF box, QColor background) { return d->image(path, box, background); });
        renderer.setFallbackFamilies(d->families);
        const bool laidOut = renderer.layOut(*tpl);
        const QString label = QDir::toNativeSeparators(d->templatePath);
        d->warnings = renderer.warnings().lines(label);
        if (!laidOut) {
            file.cancelWriting();
            d->error = renderer.problems().lines(label).join(u'\n');
            return false;
        }
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            d->error = u"Cannot write %1: the PDF could not be started."_s.arg(shownPath);
            return false;
        }
        renderer.paint(painter);
        painter.end();
    }
    if (!file.commit()) {
        d->error = u"Cannot write %1: %2"_s.arg(shownPath, file.errorString());
        return false;
    }
    return true;
}

QString ReportEngine::errorString() const
{
    return d->error;
}

QStringList ReportEngine::warnings() const
{
    return d->warnings;
}

void ReportEngine::setFontsFolder(const QString &folder)
{
    d->fontsFolder = folder;
}

QString ReportEngine::fontsFolder() const
{
    return d->fontsFolder.isEmpty() ? defaultFontsFolder() : d->fontsFolder;
}

QString ReportEngine::defaultFontsFolder()
{
    const QDir programs(QCoreApplication::applicationDirPath());
    // An installed program keeps its fonts with its shared data, beside bin/.
    const QString installed = QDir::cleanPath(programs.filePath(u"../share/quillbook/fonts"_s));
    if (!programs.exists(u"fonts"_s) && QFileInfo(installed).isDir())
        return installed;
    return programs.filePath(u"fonts"_s);
}

} // namespace report
