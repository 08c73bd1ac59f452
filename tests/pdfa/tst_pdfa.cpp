// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The files the program archives, as archival validators see them: the
// page as the report engine writes it, and the PDF/A-3 made from it.
#include "einvoice/facturx.h"
#include "invoicepdf/invoiceparameters.h"
#include "pdfa3/pdfa3.h"
#include "pdfsyntax.h"
#include "report/reportengine.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QXmlStreamReader>
#include <QtTest>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>

using namespace Qt::StringLiterals;

namespace {

// Debian's PDFBox preflight and what it loads (libpdfbox2-java, libjaxb-api-java).
const QStringList PreflightJars = {
    u"preflight"_s,       u"pdfbox2"_s,          u"fontbox2"_s, u"xmpbox"_s,
    u"commons-logging"_s, u"javax.activation"_s, u"jaxb-api"_s,
};

// What preflight says of a PDF/A-3 that PDF/A-1 alone forbids: the claimed
// part and the embedded file. Anything else it says is a fault.
const QStringList PdfA1Only = {
    u"7.11.2 Error on MetaData, part must be 1"_s,
    u"1.4.7 Trailer Syntax error, EmbeddedFile entry is present in the Names dictionary"_s,
    u"1.2.9 Body Syntax error, EmbeddedFile entry is present in a FileSpecification dictionary"_s,
};

QByteArray streamObject(const QByteArray &length, const QByteArray &body)
{
    return "%PDF-1.4\n4 0 obj\n<< " + length + " >>\nstream" + body + "endstream\nendobj\n5 0 obj\n7\nendobj\n";
}

QString saved(const QTemporaryDir &dir, const QString &name, const QByteArray &data)
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() ? file.fileName() : QString();
}

QString name(QPDFObjectHandle object)
{
    return QString::fromStdString(object.isName() ? object.getName() : object.getUTF8Value());
}

QByteArray streamData(QPDFObjectHandle stream)
{
    const auto data = stream.getStreamData(qpdf_dl_generalized);
    return QByteArray(reinterpret_cast<const char *>(data->getBuffer()), qsizetype(data->getSize()));
}

} // namespace

class PdfATest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_written; // the files of written(), for preflight()

private slots:
    // The checker finds each way a stream can break the archival syntax.
    void streamSyntax_data()
    {
        QTest::addColumn<QByteArray>("pdf");
        QTest::addColumn<QString>("fault"); // empty: none
        QTest::newRow("CRLF, data, CRLF") << streamObject("/Length 5 0 R", "\r\nabc\ndef\r\n") << u""_s;
        QTest::newRow("no EOL before endstream") << streamObject("/Length 7", "\nabc\ndef") << u"no end-of-line"_s;
        QTest::newRow("CR alone after stream") << streamObject("/Length 7", "\rabc\ndef\n") << u"not followed by"_s;
        QTest::newRow("length short") << streamObject("/Length 6", "\nabc\ndef\n") << u"/Length 6, but 7 bytes"_s;
        QTest::newRow("no stream at all") << QByteArray("%PDF-1.4\n1 0 obj\n<< >>\nendobj\n") << u"no stream"_s;
    }

    void streamSyntax()
    {
        QFETCH(QByteArray, pdf);
        QFETCH(QString, fault);
        const QStringList faults = pdfsyntax::StreamFaults(pdf);
        QVERIFY2(fault.isEmpty() ? faults.isEmpty() : faults.size() == 1 && faults[0].contains(fault),
                 qPrintable(faults.join(u'\n')));
    }

    // The engine's page and the PDF/A-3 made from it keep the stream syntax,
    // qpdf finds nothing wrong in either, and the PDF/A-3 declares its
    // attachment where readers look for it.
    void written()
    {
        report::ReportEngine engine;
        engine.setFontsFolder(QStringLiteral(QUILLBOOK_APP_DIR "/fonts"));
        engine.TemplatePath(QStringLiteral(QUILLBOOK_APP_DIR "/invferncask.rep"));
        invoicepdf::InvoiceValues invoice;
        invoice.companyName = u"Ferncask GmbH"_s;
        invoice.lines[0] = {u"2"_s, u"Oak chair, 45 × 50 cm"_s, u"10.00"_s, u"20.00"_s};
        for (const auto &[name, value] :
             invoicepdf::InvoiceParameters(invoice, false, QDate(2026, 3, 14), QStringLiteral(QUILLBOOK_APP_DIR)))
            engine.SetParameter(name, value);
        const QString page = m_dir.filePath(u"page.pdf"_s);
        QVERIFY2(engine.ExportPdf(page), qPrintable(engine.errorString()));

        const QString einvoice = m_dir.filePath(u"INV1001.pdf"_s);
        const QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<invoice>Caf\xc3\xa9</invoice>\n";
        const pdfa3::Attachment attachment{xml,
                                           einvoice::FacturXFileName(),
                                           u"text/xml"_s,
                                           u"Alternative"_s,
                                           u"Rechnung für März"_s,
                                           QDateTime(QDate(2026, 3, 14), QTime(0, 0), QTimeZone::utc())};
        QString error;
        QVERIFY2(pdfa3::WritePdfA3(page, einvoice, attachment, einvoice::FacturXSchema(), &error), qPrintable(error));

        for (const QString &pdf : {page, einvoice}) {
            const QStringList faults = pdfsyntax::StreamFaultsOf(pdf);
            QVERIFY2(faults.isEmpty(), qPrintable(pdf + u":\n"_s + faults.join(u'\n')));
            QProcess qpdf;
            qpdf.start(u"qpdf"_s, {u"--check"_s, pdf});
            QVERIFY(qpdf.waitForFinished(60000));
            QVERIFY2(qpdf.exitCode() == 0, qpdf.readAllStandardOutput() + qpdf.readAllStandardError());
        }
        m_written = {page, einvoice};

        QPDF pdf;
        pdf.processFile(QFile::encodeName(einvoice).constData());
        QPDFObjectHandle root = pdf.getRoot();
        QPDFObjectHandle entry = root.getKey("/AF").getArrayItem(0);
        QPDFObjectHandle file = entry.getKey("/EF").getKey("/F");
        QPDFObjectHandle intent = root.getKey("/OutputIntents").getArrayItem(0);
        const QStringList found = {
            name(entry.getKey("/AFRelationship")), name(entry.getKey("/UF")), name(file.getDict().getKey("/Subtype")),
            name(file.getDict().getKey("/Params").getKey("/ModDate")), name(intent.getKey("/S"))};
        QCOMPARE(found,
                 QStringList(
                     {u"/Alternative"_s, u"factur-x.xml"_s, u"/text/xml"_s, u"D:20260314000000Z"_s, u"/GTS_PDFA1"_s}));
        QCOMPARE(root.getKey("/AF").getArrayNItems(), 1);
        QCOMPARE(streamData(file), xml);
        QVERIFY(root.getKey("/Names").getKey("/EmbeddedFiles").isDictionary()
                && intent.getKey("/DestOutputProfile").isStream());
        QVERIFY(!root.getKey("/Metadata").getDict().hasKey("/Filter"));
        const QString xmp = QString::fromUtf8(streamData(root.getKey("/Metadata")));
        for (const QString &claim :
             {u"pdfaid:part=\"3\""_s, u"pdfaid:conformance=\"B\""_s, u"<pdfaSchema:prefix>fx</pdfaSchema:prefix>"_s,
              u"<fx:DocumentType>INVOICE</fx:DocumentType>"_s,
              u"<fx:DocumentFileName>factur-x.xml</fx:DocumentFileName>"_s, u"<fx:Version>1.0</fx:Version>"_s,
              u"<fx:ConformanceLevel>EN 16931</fx:ConformanceLevel>"_s})
            QVERIFY2(xmp.contains(claim), qPrintable(claim + u" missing from:\n"_s + xmp));
    }

    // A page that cannot be read leaves the earlier file byte for byte.
    void failedAttachmentKeepsOldFile_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("not a PDF") << QByteArray("kept? no: this is not a PDF\n");
        QTest::newRow("PDF without PDF/A metadata") << QByteArray(
            "%PDF-1.4\n1 0 obj<</Type/Catalog/Pages 2 0 R>>endobj\n2 0 obj<</Type/Pages/Kids[]/Count 0>>endobj\n"
            "trailer<</Root 1 0 R>>\n%%EOF\n");
    }

    void failedAttachmentKeepsOldFile()
    {
        QFETCH(QByteArray, page);
        QTemporaryDir dir;
        const QString old = saved(dir, u"INV1.pdf"_s, "an invoice printed last week");
        QString error;
        QVERIFY(!pdfa3::WritePdfA3(saved(dir, u"page.pdf"_s, page), old,
                                   {"<x/>", u"factur-x.xml"_s, u"text/xml"_s, u"Alternative"_s, {}, {}},
                                   einvoice::FacturXSchema(), &error));
        QVERIFY2(error.startsWith(u"Cannot write INV1.pdf: "_s), qPrintable(error));
        QFile kept(old);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("an invoice printed last week"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    }

    // PDFBox's preflight knows PDF/A-1b only: the page must pass it whole,
    // and the PDF/A-3 with nothing but what PDF/A-1 alone forbids.
    void preflight()
    {
        QVERIFY(m_written.size() == 2);
        const QString java = QStandardPaths::findExecutable(u"java"_s);
        QStringList classPath;
        for (const QString &jar : PreflightJars)
            classPath << u"/usr/share/java/%1.jar"_s.arg(jar);
        const auto absent
            = std::find_if(classPath.begin(), classPath.end(), [](const QString &jar) { return !QFile::exists(jar); });
        if (java.isEmpty() || absent != classPath.end())
            QSKIP(qPrintable((java.isEmpty() ? u"java"_s : *absent) + u" is absent: no preflight"_s));

        // One start for both files: "group" reads the list and writes LIST.preflight.xml.
        const QString list = saved(m_dir, u"files"_s, QFile::encodeName(m_written.join(u'\n')) + '\n');
        QProcess process;
        process.start(java,
                      {u"-cp"_s, classPath.join(u':'), u"org.apache.pdfbox.preflight.Validator_A1b"_s, u"xml"_s,
                       u"group"_s, list});
        QVERIFY(process.waitForFinished(120000));
        QFile results(list + u".preflight.xml"_s);
        QVERIFY2(process.exitCode() == 0 && results.open(QIODevice::ReadOnly),
                 process.readAllStandardError().constData());

        QHash<QString, QStringList> findings; // file name: "code details"
        QXmlStreamReader xml(&results);
        QString file, code;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"preflight")
                findings.insert(file = xml.attributes().value(u"name"_s).toString(), {});
            else if (xml.isStartElement() && xml.name() == u"code")
                code = xml.readElementText();
            else if (xml.isStartElement() && xml.name() == u"details")
                findings[file] << code + u' ' + xml.readElementText();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(findings.size(), 2);
        QVERIFY2(findings.value(u"page.pdf"_s).isEmpty(), qPrintable(findings.value(u"page.pdf"_s).join(u'\n')));
        QStringList unexpected = findings.value(u"INV1001.pdf"_s);
        unexpected.removeIf([](const QString &finding) { return PdfA1Only.contains(finding); });
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(u'\n')));
    }
};

QTEST_MAIN(PdfATest)
#include "tst_pdfa.moc"
