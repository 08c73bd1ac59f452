// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/reportengine.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

// Writes small templates into a temporary folder and exports them with the
// fonts of the application folder, as the program does.
class ReportFixture
{
public:
    QTemporaryDir dir;
    report::ReportEngine engine;

    ReportFixture() { engine.setFontsFolder(QStringLiteral(QUILLBOOK_APP_DIR "/fonts")); }

    QString path(const QString &name) const { return dir.filePath(name); }

    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(bytes);
        return file.fileName();
    }

    // A template whose <report> holds `body`.
    static QByteArray wrap(const QString &body, const QString &rootAttributes = {})
    {
        return (u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<report version=\"1\" "_s
                + rootAttributes + u">\n"_s + body + u"\n</report>\n"_s)
            .toUtf8();
    }

    // Exports `body` with `parameters`; returns the PDF's path, or an empty
    // string with the engine's description in `error`.
    QString render(const QString &body, const QHash<QString, QString> &parameters = {},
                   const QString &rootAttributes = {}, QString *error = nullptr,
                   const QString &output = u"out.pdf"_s)
    {
        engine.TemplatePath(write(u"t.rep"_s, wrap(body, rootAttributes)));
        engine.clearParameters();
        for (auto it = parameters.begin(); it != parameters.end(); ++it)
            engine.SetParameter(it.key(), it.value());
        const QString pdf = path(output);
        if (!engine.ExportPdf(pdf)) {
            if (error)
                *error = engine.errorString();
            else
                qWarning("export failed: %s", qPrintable(engine.errorString()));
            return {};
        }
        return pdf;
    }
};
