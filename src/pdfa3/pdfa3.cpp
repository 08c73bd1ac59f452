// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdfa3/pdfa3.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimeZone>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>

#include <algorithm>
#include <exception>
#include <map>

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
            </rdf:li>)"_s.arg(escaped(p.name), escaped(p.valueType), escaped(p.category), escaped(p.description));
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

// The offset that the file's last `startxref` names, or -1.
qint64 lastXrefOffset(const QByteArray &pdf)
{
    const qsizetype keyword = pdf.lastIndexOf("startxref");
    if (keyword < 0)
        return -1;
    bool ok = false;
    const qint64 offset = pdf.mid(keyword + 9, 24).simplified().split(' ').value(0).toLongLong(&ok);
    return ok ? offset : -1;
}

// A reference to the object numbered `number`.
QByteArray reference(int number)
{
    return QByteArray::number(number) + " 0 R";
}

// The dictionary's text with `entries` added at its end: for entries that
// refer to objects the page does not hold yet.
QByteArray withEntries(QPDFObjectHandle dictionary, const QByteArray &entries)
{
    QByteArray text = QByteArray::fromStdString(dictionary.unparse());
    return text.insert(text.size() - 2, entries + ' ');
}

// An incremental update: objects appended to a file as it stands, each new
// or replacing the object of its number, then their cross-reference section
// and a trailer that leads on to the file's own. The file itself is left as
// it is, so nothing of the page is read or written again.
class Update
{
public:
    explicit Update(const QByteArray &file) : m_base(file.size())
    {
        // The first appended object begins on a line of its own.
        if (!file.endsWith('\n') && !file.endsWith('\r'))
            m_bytes += '\n';
    }

    void object(QPDFObjGen id, const QByteArray &value)
    {
        begin(id);
        m_bytes += value + "\nendobj\n";
    }

    // A stream with `dictionary`, whose /Length is set here; an end-of-line
    // comes before endstream whatever the data ends with.
    void stream(QPDFObjGen id, QPDFObjectHandle dictionary, const QByteArray &data)
    {
        begin(id);
        dictionary.replaceKey("/Length", QPDFObjectHandle::newInteger(data.size()));
        m_bytes += QByteArray::fromStdString(dictionary.unparse()) + "\nstream\n" + data + "\nendstream\nendobj\n";
    }

    // Appends the cross-reference section and `trailer` (with /Prev naming
    // the file's own section); returns every byte to append.
    QByteArray finish(QPDFObjectHandle trailer)
    {
        const qint64 xref = m_base + m_bytes.size();
        m_bytes += "xref\n0 1\n0000000000 65535 f\r\n";
        for (auto entry = m_offsets.begin(); entry != m_offsets.end();) {
            // One subsection for each run of consecutive numbers.
            auto end = std::next(entry);
            while (end != m_offsets.end() && end->first == std::prev(end)->first + 1)
                ++end;
            m_bytes += QByteArray::number(entry->first) + ' ' + QByteArray::number(std::distance(entry, end)) + '\n';
            for (; entry != end; ++entry)
                m_bytes += QByteArray::number(entry->second.first).rightJustified(10, '0') + ' '
                    + QByteArray::number(entry->second.second).rightJustified(5, '0') + " n\r\n";
        }
        m_bytes += "trailer\n" + QByteArray::fromStdString(trailer.unparse()) + "\nstartxref\n"
            + QByteArray::number(xref) + "\n%%EOF\n";
        return m_bytes;
    }

private:
    void begin(QPDFObjGen id)
    {
        m_offsets[id.getObj()] = {m_base + m_bytes.size(), id.getGen()};
        m_bytes += QByteArray::number(id.getObj()) + ' ' + QByteArray::number(id.getGen()) + " obj\n";
    }

    qint64 m_base;
    QByteArray m_bytes;
    std::map<int, std::pair<qint64, int>> m_offsets; // object number: offset, generation
};

} // namespace

bool WritePdfA3(const QString &input, const QString &output, const Attachment &attachment, const XmpSchema &schema,
                QString *error)
{
    const QString shownOutput = QFileInfo(output).fileName();
    auto fail = [&](const QString &why) {
        if (error)
            *error = u"Cannot write %1: %2"_s.arg(shownOutput, why);
        return false;
    };
    QFile page(input);
    if (!page.open(QIODevice::ReadOnly))
        return fail(page.errorString());
    const QByteArray original = page.readAll();
    page.close();

    // The page stays byte for byte; what makes it a PDF/A-3 is appended to it.
    QByteArray update;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        // A file that needs repair has no cross-reference table to lead on to.
        pdf.setAttemptRecovery(false);
        pdf.processMemoryFile(QFile::encodeName(input).constData(), original.constData(), size_t(original.size()));
        QPDFObjectHandle trailer = pdf.getTrailer();
        QPDFObjectHandle root = pdf.getRoot();
        QPDFObjectHandle metadata = root.getKey("/Metadata");
        if (!metadata.isStream() || !metadata.isIndirect() || !root.getKey("/OutputIntents").isArray())
            return fail(u"the page has no PDF/A metadata or output intent."_s);
        const qint64 previousXref = lastXrefOffset(original);
        if (!root.isIndirect() || previousXref < 0 || trailer.hasKey("/Encrypt"))
            return fail(u"the page cannot be added to."_s);
        QPDFObjectHandle names = root.getKey("/Names");
        if (root.hasKey("/AF") || (names.isDictionary() && names.hasKey("/EmbeddedFiles")))
            return fail(u"the page carries attached files already."_s);

        const std::shared_ptr<Buffer> oldXmp = metadata.getStreamData(qpdf_dl_generalized);
        const QByteArray xmp = pdfA3Metadata(
            QByteArray(reinterpret_cast<const char *>(oldXmp->getBuffer()), qsizetype(oldXmp->getSize())), schema);
        if (xmp.isEmpty())
            return fail(u"the page's metadata does not claim PDF/A."_s);

        // The new objects take the numbers after the page's own.
        int next = trailer.getKey("/Size").getIntValueAsInt();
        for (const auto &[id, entry] : pdf.getXRefTable())
            next = std::max(next, id.getObj() + 1);
        const int fileNumber = next;
        const int entryNumber = next + 1;

        Update appended(original);
        using Object = QPDFObjectHandle;
        // Uncompressed, as archival readers expect metadata.
        Object metadataDictionary = metadata.getDict().shallowCopy();
        for (const char *key : {"/Filter", "/DecodeParms", "/DL"})
            metadataDictionary.removeKey(key);
        appended.stream(metadata.getObjGen(), metadataDictionary, xmp);

        const Object date = Object::newString(pdfDate(attachment.modified));
        const QByteArray checksum = QCryptographicHash::hash(attachment.data, QCryptographicHash::Md5);
        const Object fileDictionary = Object::newDictionary({
            {"/Type", Object::newName("/EmbeddedFile")},
            {"/Subtype", Object::newName(utf8(u"/"_s + attachment.mimeType))},
            {"/Filter", Object::newName("/FlateDecode")},
            {"/Params",
             Object::newDictionary({{"/Size", Object::newInteger(attachment.data.size())},
                                    {"/CheckSum", Object::newString(checksum.toStdString())},
                                    {"/CreationDate", date},
                                    {"/ModDate", date}})},
        });
        // zlib's stream without the length Qt puts before it; the fastest
        // level, which costs a fraction of the default's time on XML.
        appended.stream(QPDFObjGen(fileNumber, 0), fileDictionary, qCompress(attachment.data, 1).mid(4));

        Object fileName = Object::newUnicodeString(utf8(attachment.fileName));
        const Object fileEntry = Object::newDictionary({
            {"/Type", Object::newName("/Filespec")},
            {"/F", fileName},
            {"/UF", fileName},
            {"/Desc", Object::newUnicodeString(utf8(attachment.description))},
            {"/AFRelationship", Object::newName(utf8(u"/"_s + attachment.relationship))},
        });
        appended.object(
            QPDFObjGen(entryNumber, 0),
            withEntries(fileEntry, "/EF << /F " + reference(fileNumber) + " /UF " + reference(fileNumber) + " >>"));

        Object catalog = root.shallowCopy();
        catalog.removeKey("/Names");
        // Associated files and /UF are PDF 1.7's; the header stays as the page has it.
        if (pdf.getPDFVersion() < "1.7")
            catalog.replaceKey("/Version", Object::newName("/1.7"));
        names = names.isDictionary() ? names.shallowCopy() : Object::newDictionary();
        const QByteArray embeddedFiles = "/EmbeddedFiles << /Names [ " + QByteArray::fromStdString(fileName.unparse())
            + ' ' + reference(entryNumber) + " ] >>";
        appended.object(
            root.getObjGen(),
            withEntries(catalog, "/AF [ " + reference(entryNumber) + " ] /Names " + withEntries(names, embeddedFiles)));

        // The ID's first part stays the page's; the second follows what changed.
        Object id = trailer.getKey("/ID");
        const QByteArray firstId = id.isArray() && id.getArrayItem(0).isString()
            ? QByteArray::fromStdString(id.getArrayItem(0).getStringValue())
            : QCryptographicHash::hash(original, QCryptographicHash::Md5);
        const QByteArray changedId = QCryptographicHash::hash(firstId + checksum + xmp, QCryptographicHash::Md5);
        Object newTrailer = Object::newDictionary({
            {"/Size", Object::newInteger(next + 2)},
            {"/Root", root},
            {"/Prev", Object::newInteger(previousXref)},
            {"/ID",
             Object::newArray({Object::newString(firstId.toStdString()), Object::newString(changedId.toStdString())})},
        });
        if (trailer.hasKey("/Info"))
            newTrailer.replaceKey("/Info", trailer.getKey("/Info"));
        update = appended.finish(newTrailer);
    } catch (const std::exception &e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }

    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || file.write(original) != original.size()
        || file.write(update) != update.size() || !file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace pdfa3
