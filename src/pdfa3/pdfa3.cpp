// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdfa3/pdfa3.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimeZone>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEFStreamObjectHelper.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFFileSpecObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>

using namespace Qt::StringLiterals;

namespace pdfa3 {

namespace {

std::string utf8(const QString &text)
{
    return text.toUtf8().toStdString();
}

// A PDF date in UTC: D:20260314093000Z.
std::string pdfDate(const QDateTime &when)
{
    return utf8(when.toTimeZone(QTimeZone::utc()).toString(u"'D:'yyyyMMddHHmmss'Z'"_s));
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// The PDF/A extension block that declares the schema, and its values.
QString extensionBlock(const XmpSchema &schema)
{
    QString properties;
    QString values;
    for (const XmpProperty &p : schema.properties) {
        properties += uR"(
            <rdf:li rdf:parseType="Resource">
              <pdfaProperty:name>%1</pdfaProperty:name>
              <pdfaProperty:valueType>%2</pdfaProperty:valueType>
              <pdfaProperty:category>%3</pdfaProperty:category>
              <pdfaProperty:description>%4</pdfaProperty:description>
            </rdf:li>)"_s.arg(escaped(p.name), escaped(p.valueType), escaped(p.category),
                              escaped(p.description));
        values += u"\n    <%1:%2>%3</%1:%2>"_s.arg(schema.prefix, p.name, escaped(p.value));
    }
    return uR"(  <rdf:Description rdf:about="" xmlns:pdfaExtension="http://www.aiim.org/pdfa/ns/extension/"
      xmlns:pdfaSchema="http://www.aiim.org/pdfa/ns/schema#" xmlns:pdfaProperty="http://www.aiim.org/pdfa/ns/property#">
    <pdfaExtension:schemas>
      <rdf:Bag>
        <rdf:li rdf:parseType="Resource">
          <pdfaSchema:schema>%1</pdfaSchema:schema>
          <pdfaSchema:namespaceURI>%2</pdfaSchema:namespaceURI>
          <pdfaSchema:prefix>%3</pdfaSchema:prefix>
          <pdfaSchema:property>
            <rdf:Seq>%4
            </rdf:Seq>
          </pdfaSchema:property>
        </rdf:li>
      </rdf:Bag>
    </pdfaExtension:schemas>
  </rdf:Description>
  <rdf:Description rdf:about="" xmlns:%3="%2">%5
  </rdf:Description>
)"_s.arg(escaped(schema.title), escaped(schema.namespaceUri), schema.prefix, properties, values);
}

// The engine's metadata, claiming PDF/A-3B and carrying the schema; empty
// when it claims no PDF/A part.
QByteArray pdfA3Metadata(const QByteArray &xmp, const XmpSchema &schema)
{
    QString text = QString::fromUtf8(xmp);
    static const QRegularExpression part(uR"(pdfaid:part\s*(?:>|=\s*["'])\s*(\d))"_s);
    static const QRegularExpression conformance(uR"(pdfaid:conformance\s*(?:>|=\s*["'])\s*([A-Za-z]))"_s);
    static const QRegularExpression rdfEnd(uR"(</rdf:RDF\s*>)"_s);
    const QRegularExpressionMatch partMatch = part.match(text);
    if (!partMatch.hasMatch() || !text.contains(rdfEnd))
        return {};
    text.replace(partMatch.capturedStart(1), 1, u"3"_s);
    const QRegularExpressionMatch conformanceMatch = conformance.match(text);
    if (conformanceMatch.hasMatch())
        text.replace(conformanceMatch.capturedStart(1), 1, u"B"_s);
    text.insert(text.indexOf(rdfEnd), extensionBlock(schema));
    return text.toUtf8();
}

} // namespace

bool WritePdfA3(const QString &input, const QString &output, const Attachment &attachment,
                const XmpSchema &schema, QString *error)
{
    const QString shownOutput = QFileInfo(output).fileName();
    auto fail = [&](const QString &why) {
        if (error)
            *error = u"Cannot write %1: %2"_s.arg(shownOutput, why);
        return false;
    };
    QByteArray written;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(input).constData());
        QPDFObjectHandle root = pdf.getRoot();
        QPDFObjectHandle metadata = root.getKey("/Metadata");
        if (!metadata.isStream() || !root.getKey("/OutputIntents").isArray())
            return fail(u"the page has no PDF/A metadata or output intent."_s);

        const std::shared_ptr<Buffer> oldXmp = metadata.getStreamData(qpdf_dl_generalized);
        const QByteArray xmp = pdfA3Metadata(
            QByteArray(reinterpret_cast<const char *>(oldXmp->getBuffer()), qsizetype(oldXmp->getSize())), schema);
        if (xmp.isEmpty())
            return fail(u"the page's metadata does not claim PDF/A."_s);
        metadata.replaceStreamData(xmp.toStdString(), QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());

        const std::string date = pdfDate(attachment.modified);
        auto stream = QPDFEFStreamObjectHelper::createEFStream(pdf, attachment.data.toStdString());
        stream.setSubtype(utf8(attachment.mimeType)).setCreationDate(date).setModDate(date);
        auto fileEntry = QPDFFileSpecObjectHelper::createFileSpec(pdf, utf8(attachment.fileName), stream);
        fileEntry.setDescription(utf8(attachment.description));
        QPDFObjectHandle entryObject = fileEntry.getObjectHandle();
        entryObject.replaceKey("/AFRelationship", QPDFObjectHandle::newName(utf8(u"/"_s + attachment.relationship)));
        QPDFEmbeddedFileDocumentHelper(pdf).replaceEmbeddedFile(utf8(attachment.fileName), fileEntry);
        root.replaceKey("/AF", QPDFObjectHandle::newArray(std::vector<QPDFObjectHandle>{entryObject}));

        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        writer.setMinimumPDFVersion("1.7");
        writer.setDeterministicID(true);
        // PDF/A wants an end-of-line before every endstream, whatever the data ends with.
        writer.setNewlineBeforeEndstream(true);
        writer.write();
        const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        written = QByteArray(reinterpret_cast<const char *>(buffer->getBuffer()), qsizetype(buffer->getSize()));
    } catch (const std::exception &e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }

    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || file.write(written) != written.size() || !file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace pdfa3
