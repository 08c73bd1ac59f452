// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Every template we ship, filled with the parameters the program sends.

#include "invoicepdf/invoiceparameters.h"
#include "reportfixture.h"

#include <QDir>
#include <QImage>

using invoicepdf::InvoiceAmountNames;
using invoicepdf::InvoiceParameterNames;

namespace {

QStringList shipped()
{
    const QDir folder(QStringLiteral(QUILLBOOK_SOURCE_DIR "/templates"));
    QStringList files;
    for (const QString &name : folder.entryList({u"*.rep"_s}, QDir::Files, QDir::Name))
        files << folder.filePath(name);
    return files;
}

// Each parameter set to a distinct word that is not a number, so that every
// condition that hides zeros lets it through.
Parameters tokens()
{
    Parameters values;
    for (const QString &name : InvoiceParameterNames())
        values.insert(name, u"v"_s + name.toLower().mid(1));
    return values;
}

// Exports `file` with every parameter name set, to the value in `values` or empty.
QString exportInvoice(ReportFixture &f, const QString &file, const Parameters &values, QString *error = nullptr)
{
    Parameters all;
    for (const QString &name : InvoiceParameterNames())
        all.insert(name, values.value(name));
    return f.exportPdf(file, all, u"INV1.pdf"_s, error);
}

} // namespace

class ShippedTemplatesTest : public QObject
{
    Q_OBJECT

private slots:
    // Every parameter is shown and nothing is cut short, the template's own
    // words included; the logo is embedded below full resolution. Amounts up
    // to the largest total, in every amount at once, are shown whole, with one
    // sign at most, never touching another word; one too long for its box
    // even at its smallest size is refused.
    void everyParameterShown_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<bool>("fits");
        const QStringList files = shipped();
        QVERIFY(files.size() >= 3);
        for (const QString &file : files) {
            const QByteArray name = QFileInfo(file).fileName().toUtf8();
            QTest::addRow("%s, 10 digits", name.constData()) << file << u"98,765,432.87"_s << true;
            QTest::addRow("%s, the largest total", name.constData()) << file << u"-922,337,203,685,477.58"_s << true;
            QTest::addRow("%s, 42 digits", name.constData())
                << file << u"1,234,567,890,123,456,789,012,345,678,901,234,567,890.12"_s << false;
        }
    }

    void everyParameterShown()
    {
        QFETCH(QString, file);
        QFETCH(QString, amount);
        QFETCH(bool, fits);
        ReportFixture f;
        Parameters values = tokens();
        for (const QString &name : InvoiceAmountNames())
            values[name] = amount;
        QImage logo(2400, 1600, QImage::Format_RGB32);
        logo.fill(QColor(46, 94, 78));
        QVERIFY(logo.save(values[u"PLOGO"_s] = f.path(u"logo.jpg"_s)));
        QString error;
        const QString pdf = exportInvoice(f, file, values, &error);
        if (!fits) {
            // Named: the template's element by its position, and the parameter.
            const QRegularExpression message(QRegularExpression::escape(file)
                                             + u":\\d+:\\d+: the figure P[A-Z]+\\d* does not fit its <text> box"_s);
            QVERIFY2(pdf.isEmpty() && message.match(error).hasMatch(), qPrintable(error));
            QVERIFY(!QFile::exists(f.path(u"INV1.pdf"_s)));
            return;
        }
        QVERIFY2(!pdf.isEmpty(), qPrintable(error));
        const QString text = pdfprobe::text(pdf);
        for (const QString &name : InvoiceParameterNames()) {
            const QRegularExpression token(u"(?<![A-Za-z0-9])"_s + values[name] + u"(?![A-Za-z0-9])"_s);
            QVERIFY2(name == u"PLOGO"_s || values[name] == amount || text.contains(token),
                     qPrintable(name + u" is not shown"_s));
        }
        QVERIFY2(!text.contains(u"…"_s), qPrintable(text));
        const auto images = pdfprobe::images(pdf);
        QVERIFY(images.size() == 1 && images[0].width() < 2400);
        // Only the amounts hold separators: any other number with one is a piece of a figure.
        const QString digits = amount.startsWith(u'-') ? amount.mid(1) : amount;
        static const QRegularExpression number(u"\\d[\\d,.]*\\d"_s), twoSigns(u"[-\u2013\u2212(]\\s*[-\u2013\u2212]"_s);
        int whole = 0;
        const QList<pdfprobe::Word> words = pdfprobe::words(pdf);
        for (qsizetype i = 0; i < words.size(); ++i) {
            const QString found = number.match(words[i].text).captured();
            whole += found == digits ? 1 : 0;
            QVERIFY2(found == digits || !found.contains(QRegularExpression(u"[,.]"_s)), qPrintable(words[i].text));
            QVERIFY2(!words[i].text.contains(twoSigns), qPrintable(words[i].text));
            QVERIFY2(QRectF(0, 0, 210, 297).contains(words[i].box), qPrintable(words[i].text));
            // No two words overlap by a quarter of the smaller or more.
            for (qsizetype j = i + 1; j < words.size(); ++j) {
                const QRectF a = words[i].box, b = words[j].box, overlap = a.intersected(b);
                QVERIFY2(overlap.width() * overlap.height()
                             < 0.25 * std::min(a.width() * a.height(), b.width() * b.height()),
                         qPrintable(words[i].text + u" / "_s + words[j].text));
            }
        }
        QVERIFY(whole >= 30);
    }

    void blankInvoiceLeavesNoClutter_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString &file : shipped())
            QTest::newRow(qPrintable(QFileInfo(file).fileName())) << file;
    }

    // As a new sheet prints: zero adjustments, no tax, fax, number, date or logo. Zeros and
    // phrases about empty fields are left out whole: no "Discount 0.00", no "are in ." or "Invoice  of".
    void blankInvoiceLeavesNoClutter()
    {
        QFETCH(QString, file);
        ReportFixture f;
        Parameters values = tokens();
        for (int n = 3; n <= 12; ++n)
            for (const char *name : {"PQTY%1", "PDESCRIPTION%1", "PUNITPRICE%1", "PTOTAL%1"})
                values.remove(QString::fromLatin1(name).arg(n));
        for (const QString &name : {u"PSURCHARGE1"_s, u"PSURCHARGE2"_s, u"PDISCOUNT"_s, u"PSHIPPING"_s, u"PRECEIVED"_s,
                                    u"PTAX"_s, u"PSURCHARGEVALUE1"_s, u"PSURCHARGEVALUE2"_s, u"PDISCOUNTPERCENT"_s})
            values[name] = u"0.00"_s;
        for (const QString &name : {u"PFAX"_s, u"PINVOICENUMBER"_s, u"PCURRENCY"_s, u"PDATE"_s, u"PLOGO"_s})
            values[name] = QString();
        values[u"PTAXNAME"_s] = u"NO TAX"_s;
        values[u"PTAXVALUE"_s] = u"0"_s;
        const QString text = pdfprobe::text(exportInvoice(f, file, values));
        QVERIFY2(text.contains(u"NO TAX"_s) && text.contains(u"vtotal2"_s), qPrintable(text));
        static const QRegularExpression clutter(
            u"\\s[.,;:%]|\\b(in|of|No\\.|invoice|number)\\s*([.,;:]|$)|Surcharge|[Dd]iscount|Shipping|[Rr]eceived|Fax|0\\.00%"_s,
            QRegularExpression::MultilineOption);
        QVERIFY2(!clutter.match(text).hasMatch(), qPrintable(clutter.match(text).captured() + u" in:\n"_s + text));
    }
};

QTEST_MAIN(ShippedTemplatesTest)
#include "tst_shippedtemplates.moc"
