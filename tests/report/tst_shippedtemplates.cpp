// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Every template we ship, filled with the 85 parameters the program sends.

#include "invoiceparameters.h"
#include "reportfixture.h"

#include <QDir>

using pdfprobe::Word;

namespace {

void templates()
{
    QTest::addColumn<QString>("file");
    const QDir dir(QStringLiteral(QUILLBOOK_SOURCE_DIR "/templates"));
    const QStringList files = dir.entryList({u"*.rep"_s}, QDir::Files, QDir::Name);
    QVERIFY(files.contains(u"invferncask.rep"_s) && files.size() >= 3);
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << dir.filePath(file);
}

// Exports `file` with every parameter name set, to the value in `values` or empty.
QString exportInvoice(ReportFixture &f, const QString &file, const Parameters &values, const QString &output)
{
    Parameters all;
    for (const QString &name : invoiceParameterNames())
        all.insert(name, values.value(name));
    return f.exportPdf(file, all, output);
}

// The benchmark's twelve-line invoice, its first `lines` lines used, with long
// values where a template has to shrink or cut.
Parameters realisticInvoice(int lines)
{
    Parameters v;
    QFile file(QStringLiteral(QUILLBOOK_SOURCE_DIR "/bench/report/invoice12.params"));
    if (!file.open(QIODevice::ReadOnly))
        return v;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        if (!line.startsWith(u'#') && equals > 0)
            v.insert(line.left(equals), line.mid(equals + 1));
    }
    v[u"PCUSTOMERDETAILS1"_s] = u"Mrs Eleanor Whitfield-Armstrong of Penrith"_s;
    v[u"PSURCHARGE1"_s] = u"120.00"_s;
    v[u"PSURCHARGEVALUE1"_s] = u"1.50"_s;
    v[u"PBALANCE"_s] = u"16,813.37"_s;
    for (int n = 1; n <= 12; ++n) {
        if (n > lines) {
            for (const char *name : {"PQTY%1", "PDESCRIPTION%1", "PUNITPRICE%1", "PTOTAL%1"})
                v.remove(QString::fromLatin1(name).arg(n));
        } else {
            v[u"PDESCRIPTION%1"_s.arg(n)] =
                u"Solid oak shelf %1, 120 × 30 cm, hand-oiled, with concealed steel brackets"_s.arg(n);
            v[u"PTOTAL%1"_s.arg(n)] = u"11,110.50"_s;
        }
    }
    return v;
}

} // namespace

class ShippedTemplatesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyParameterShown_data() { templates(); }

    void everyParameterShown()
    {
        QFETCH(QString, file);
        ReportFixture f;
        // A distinct token per parameter; tokens are not numbers, so every
        // condition that hides zeros lets them through.
        Parameters values;
        for (const QString &name : invoiceParameterNames())
            values.insert(name, u"v"_s + name.toLower().mid(1));
        QImage logo(2400, 1600, QImage::Format_RGB32);
        logo.fill(QColor(46, 94, 78));
        QVERIFY(logo.save(values[u"PLOGO"_s] = f.path(u"logo.jpg"_s)));
        const QString pdf = exportInvoice(f, file, values, u"INV1.pdf"_s);
        QVERIFY(!pdf.isEmpty());

        const QString text = pdfprobe::text(pdf);
        QCOMPARE(values.size(), 85);
        for (const QString &name : invoiceParameterNames()) {
            const QRegularExpression token(u"(?<![A-Za-z0-9])"_s + values[name] + u"(?![A-Za-z0-9])"_s);
            QVERIFY2(name == u"PLOGO"_s || text.contains(token), qPrintable(name + u" is not shown"_s));
        }
        const auto images = pdfprobe::images(pdf);
        QCOMPARE(images.size(), 1);
        QVERIFY2(images[0].width() < 2400, "the logo is embedded at full resolution");
    }

    void realisticInvoiceLaysOutCleanly_data() { templates(); }

    void realisticInvoiceLaysOutCleanly()
    {
        QFETCH(QString, file);
        ReportFixture f;
        const QString pdf = exportInvoice(f, file, realisticInvoice(12), u"INV1042.pdf"_s);
        QVERIFY(!pdf.isEmpty());
        // Twelve lines without a logo stay small.
        QVERIFY2(QFileInfo(pdf).size() < 60 * 1024, qPrintable(QString::number(QFileInfo(pdf).size())));
        const QString text = pdfprobe::text(pdf);
        QVERIFY(text.contains(u"16,813.37"_s) && text.contains(u"shelf 12,"_s));

        // Every word on the page, no two colliding: long values shrink or end in "…" instead.
        const QList<Word> words = pdfprobe::words(pdf);
        for (qsizetype i = 0; i < words.size(); ++i) {
            QVERIFY2(QRectF(0, 0, 210, 297).contains(words[i].box), qPrintable(words[i].text));
            for (qsizetype j = i + 1; j < words.size(); ++j) {
                const QRectF a = words[i].box, b = words[j].box, overlap = a.intersected(b);
                const double smaller = std::min(a.width() * a.height(), b.width() * b.height());
                QVERIFY2(overlap.width() * overlap.height() < 0.25 * smaller,
                         qPrintable(words[i].text + u" / "_s + words[j].text));
            }
        }
    }

    void blankInvoiceLeavesNoClutter_data() { templates(); }

    void blankInvoiceLeavesNoClutter()
    {
        QFETCH(QString, file);
        ReportFixture f;
        // As a new sheet prints: two lines, zero adjustments, no tax, no fax, no logo.
        Parameters values = realisticInvoice(2);
        for (const QString &name : {u"PSURCHARGE1"_s, u"PSURCHARGE2"_s, u"PDISCOUNT"_s, u"PSHIPPING"_s,
                                    u"PRECEIVED"_s, u"PTAX"_s, u"PSURCHARGEVALUE1"_s, u"PSURCHARGEVALUE2"_s,
                                    u"PDISCOUNTPERCENT"_s})
            values[name] = u"0.00"_s;
        values[u"PTAXNAME"_s] = u"NO TAX"_s;
        values[u"PTAXVALUE"_s] = u"0"_s;
        values[u"PFAX"_s] = QString();
        values[u"PLOGO"_s] = f.path(u"no-logo.jpg"_s);
        const QString pdf = exportInvoice(f, file, values, u"INV2.pdf"_s);
        QVERIFY(!pdf.isEmpty());
        const QString text = pdfprobe::text(pdf);
        QVERIFY(text.contains(u"NO TAX"_s) && text.contains(u"shelf 2,"_s));
        for (const QString &absent : {u"Surcharge"_s, u"Discount"_s, u"discount"_s, u"Shipping"_s, u"Received"_s,
                                      u"received"_s, u"Fax"_s, u"0.00%"_s})
            QVERIFY2(!text.contains(absent), qPrintable(absent));
        QCOMPARE(text.count(u"11,110.50"_s), 2); // only the two filled rows
        QVERIFY(pdfprobe::images(pdf).isEmpty());
    }
};

QTEST_MAIN(ShippedTemplatesTest)
#include "tst_shippedtemplates.moc"
