// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace pdfa3 {

// A file carried inside the PDF, with what a reader needs to know of it.
struct Attachment
{
    QByteArray data;
    QString fileName;     // as /F and /UF, and the name in the document's file list
    QString mimeType;     // "text/xml"
    QString relationship; // the /AFRelationship name: "Alternative", "Data", "Source", ...
    QString description;
    QDateTime modified; // the /Params dates
};

// One property of an XMP extension schema, declared in the PDF/A extension
// block and given its value in the schema's own namespace.
struct XmpProperty
{
    QString name;
    QString value;
    QString valueType = QStringLiteral("Text");
    QString category = QStringLiteral("external");
    QString description;
};

// An XMP extension schema that the metadata declares and fills.
struct XmpSchema
{
    QString title;        // pdfaSchema:schema
    QString namespaceUri; // ends with '#' or '/'
    QString prefix;
    QList<XmpProperty> properties;
};

// Reads the PDF/A-1b file `input` and writes `output` as PDF/A-3B: the same
// pages, document information and output intent, the attachment embedded
// and listed in the catalog's /AF, and metadata that claims PDF/A-3,
// conformance B, and declares and fills `schema`. The output is `input`
// byte for byte with an incremental update appended, so the page is never
// rewritten. It is written completely beside its place before it replaces
// any file there, so a failure leaves an earlier file untouched. Returns
// false and sets *error on failure.
bool WritePdfA3(const QString &input, const QString &output, const Attachment &attachment, const XmpSchema &schema,
                QString *error);

} // namespace pdfa3
