// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "einvoice/facturx.h"
#include "invoicepdf/invoiceparameters.h"
#include "pdfa3/pdfa3.h"
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

// What PDFBox's preflight (PDF/A-1b only) says of a PDF/A-3 that only PDF/A-1 forbids.
const QStringList PdfA1Only = {
    u"7.11.2 Error on MetaData, part must be 1"_s,
    u"1.4.7 Trailer Syntax error, EmbeddedFile entry is present in the Names dictionary"_s,
    u"1.2.9 Body Syntax error, EmbeddedFile entry is present in a FileSpecification dictionary"_s,
};

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

    QTemporaryDir m_dir; // the page and the PDF/A-3 of written(), for preflight()

private slots:
    // The engine's page and its PDF/A-3 pass qpdf --check; the attachment is where readers look.
    void written()
    {
        const QTemporaryDir &dir = m_dir;
        report::ReportEngine engine;
        engine.setFontsFolder(QStringLiteral(QUILLBOOK_APP_DIR "/fonts"));
        engine.TemplatePath(QStringLiteral(QUILLBOOK_APP_DIR "/invferncask.rep"));
        invoicepdf::InvoiceValues invoice;
        invoice.companyName = u"Ferncask GmbH"_s;
        invoice.lines[0] = {u"2"_s, u"Oak chair, 45 × 50 cm"_s, u"10.00"_s, u"20.00"_s};
        for (const auto &[name, value] :
             invoicepdf::InvoiceParameters(invoice, false, QDate(2026, 3, 14), QStringLiteral(QUILLBOOK_APP_DIR)))
            engine.SetParameter(name, value);
        const QString page = dir.filePath(u"page.pdf"_s);
        QVERIFY2(engine.ExportPdf(page), qPrintable(engine.errorString()));

        const QString einvoice = dir.filePath(u"INV1001.pdf"_s);
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
            QProcess qpdf;
            qpdf.start(u"qpdf"_s, {u"--check"_s, pdf});
            QVERIFY(qpdf.waitForFinished(60000));
            QVERIFY2(qpdf.exitCode() == 0, qpdf.readAllStandardOutput() + qpdf.readAllStandardError());
        }

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

    // Debian's PDFBox preflight, one start for both files: the page passes whole, the PDF/A-3 but for PDF/A-3 itself.
    void preflight()
    {
        QStringList jars;
        for (const char *jar :
             {"preflight", "pdfbox2", "fontbox2", "xmpbox", "commons-logging", "javax.activation", "jaxb-api"})
            jars << u"/usr/share/java/%1.jar"_s.arg(QLatin1StringView(jar));
        for (const QString &needed : jars + QStringList{QStandardPaths::findExecutable(u"java"_s)})
            if (!QFile::exists(needed))
                QSKIP(qPrintable(u"no preflight: java or "_s + needed + u" is absent"_s));
        const QString list = saved(
            m_dir, u"files"_s, QFile::encodeName(m_dir.filePath(u"page.pdf\n"_s) + m_dir.filePath(u"INV1001.pdf\n"_s)));
        QProcess java;
        java.start(
            u"java"_s,
            {u"-cp"_s, jars.join(u':'), u"org.apache.pdfbox.preflight.Validator_A1b"_s, u"xml"_s, u"group"_s, list});
        QFile results(list + u".preflight.xml"_s);
        QVERIFY2(java.waitForFinished(120000) && java.exitCode() == 0 && results.open(QIODevice::ReadOnly),
                 java.readAllStandardError().constData());
        QHash<QString, QStringList> findings; // file name: "code details", beyond what PDF/A-3 itself brings
        QXmlStreamReader xml(&results);
        QString file, code;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"preflight")
                findings.insert(file = xml.attributes().value(u"name"_s).toString(), {});
            else if (xml.isStartElement() && xml.name() == u"code")
                code = xml.readElementText();
            else if (xml.isStartElement() && xml.name() == u"details")
                if (const QString finding = code + u' ' + xml.readElementText();
                    file != u"INV1001.pdf" || !PdfA1Only.contains(finding))
                    findings[file] << finding;
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(findings.keys().size(), 2);
        for (const QStringList &found : std::as_const(findings))
            QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
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
};

QTEST_MAIN(PdfATest)
#include "tst_pdfa.moc"
