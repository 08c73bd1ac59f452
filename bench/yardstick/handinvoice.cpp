// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "handinvoice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

using namespace Qt::StringLiterals;

namespace yardstick {

namespace {

constexpr int kDpi = 1200;

double px(double mm)
{
    return mm * kDpi / 25.4;
}

QRectF box(double x, double y, double w, double h)
{
    return {px(x), px(y), px(w), px(h)};
}

QFont font(double size, bool bold = false)
{
    QFont f(u"Noto Sans"_s);
    f.setPointSizeF(size);
    f.setBold(bold);
    return f;
}

} // namespace

Values readValues(const QString &path)
{
    Values values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return values;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        if (!line.startsWith(u'#') && equals > 0)
            values.insert(line.left(equals), line.mid(equals + 1).replace(u"\\n"_s, u"\n"_s));
    }
    return values;
}

void addFonts(const QString &fontsFolder)
{
    const QDir dir(fontsFolder);
    QFontDatabase::addApplicationFont(dir.filePath(u"NotoSans-Regular.ttf"_s));
    QFontDatabase::addApplicationFont(dir.filePath(u"NotoSans-Bold.ttf"_s));
}

bool drawInvoice(const Values &v, const QImage &logo, const QString &outputPath)
{
    QPdfWriter writer(outputPath);
    writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    writer.setResolution(kDpi);
    writer.setTitle(QFileInfo(outputPath).completeBaseName());
    writer.setCreator(u"Quillbook"_s);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    QPainter p;
    if (!p.begin(&writer))
        return false;
    const QColor green(0x2e, 0x5e, 0x4e), ink(0x1f, 0x2a, 0x26), muted(0x5f, 0x6e, 0x67), oak(0xa0, 0x70, 0x3c);
    const auto text = [&](QRectF r, const QFont &f, const QColor &c, int flags, const QString &s) {
        p.setFont(f);
        p.setPen(c);
        p.drawText(r, flags, s);
    };
    const auto rule = [&](double x1, double y, double x2, const QColor &c, double pt) {
        p.setPen(QPen(c, px(pt * 25.4 / 72)));
        p.drawLine(QPointF(px(x1), px(y)), QPointF(px(x2), px(y)));
    };
    const int left = Qt::AlignLeft | Qt::AlignVCenter, right = Qt::AlignRight | Qt::AlignVCenter;

    // Letterhead
    if (!logo.isNull()) {
        const QSizeF size = QSizeF(logo.size()).scaled(box(18, 14, 54, 28).size(), Qt::KeepAspectRatio);
        p.drawImage(QRectF(QPointF(px(18), px(14)), size), logo);
    }
    text(box(100, 14, 92, 13), font(26, true), green, Qt::AlignRight | Qt::AlignTop, u"INVOICE"_s);
    text(box(100, 27, 92, 6), font(11), green, Qt::AlignRight | Qt::AlignTop, u"No. "_s + v[u"PINVOICENUMBER"_s]);
    text(box(18, 48, 88, 7), font(12, true), ink, left, v[u"PCOMPANYNAME"_s]);
    double y = 55;
    for (int k = 1; k <= 6; ++k, y += 4.3)
        text(box(18, y, 88, 4.3), font(8.5), muted, left, v[u"PCOMPANYDETAILS%1"_s.arg(k)]);
    text(box(18, y + 1.5, 88, 4.3), font(8.5), muted, left, u"Tel. "_s + v[u"PTEL"_s]);
    text(box(18, y + 5.8, 88, 4.3), font(8.5), muted, left, u"Fax "_s + v[u"PFAX"_s]);

    // Customer
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xee, 0xf3, 0xef));
    p.drawRoundedRect(box(112, 46, 80, 42), px(2), px(2));
    p.setBrush(green);
    p.drawRect(box(112, 46, 1.2, 42));
    p.setBrush(Qt::NoBrush);
    text(box(118, 50, 70, 4), font(6.5, true), green, left, u"BILL TO"_s);
    y = 55;
    for (int k = 1; k <= 6; ++k, y += 4.5)
        text(box(118, y, 70, 4.5), font(k == 1 ? 10 : 9, k == 1), ink, left, v[u"PCUSTOMERDETAILS%1"_s.arg(k)]);

    // Facts
    rule(18, 95, 192, oak, 0.6);
    const char *labels[] = {"DATE", "PAYMENT METHOD", "CURRENCY"};
    const char *facts[] = {"PDATE", "PPAYMENTMETHOD", "PCURRENCY"};
    const double columns[] = {18, 72, 108};
    for (int i = 0; i < 3; ++i) {
        text(box(columns[i], 98, 34, 3.5), font(6.5, true), green, left, QString::fromLatin1(labels[i]));
        text(box(columns[i], 102, 44, 5), font(9), ink, left, v[QString::fromLatin1(facts[i])]);
    }
    text(box(152, 98, 40, 3.5), font(6.5, true), green, right, u"AMOUNT DUE"_s);
    text(box(152, 101.5, 40, 5.5), font(11, true), green, right, v[u"PBALANCE"_s]);
    rule(18, 110, 192, oak, 0.6);

    // Items
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawRoundedRect(box(18, 115, 174, 7.5), px(1), px(1));
    p.setBrush(Qt::NoBrush);
    text(box(18, 115, 16, 7.5), font(7, true), Qt::white, Qt::AlignCenter, u"QTY"_s);
    text(box(38, 115, 92, 7.5), font(7, true), Qt::white, left, u"DESCRIPTION"_s);
    text(box(132, 115, 27, 7.5), font(7, true), Qt::white, right, u"UNIT PRICE"_s);
    text(box(163, 115, 27, 7.5), font(7, true), Qt::white, right, u"AMOUNT"_s);
    y = 123;
    for (int n = 1; n <= 12; ++n, y += 7) {
        if (v[u"PQTY%1"_s.arg(n)].isEmpty() && v[u"PDESCRIPTION%1"_s.arg(n)].isEmpty())
            continue;
        text(box(18, y, 16, 7), font(9), ink, Qt::AlignCenter, v[u"PQTY%1"_s.arg(n)]);
        text(box(38, y, 92, 7), font(9), ink, left | Qt::TextWordWrap, v[u"PDESCRIPTION%1"_s.arg(n)]);
        text(box(132, y, 27, 7), font(9), ink, right, v[u"PUNITPRICE%1"_s.arg(n)]);
        text(box(163, y, 27, 7), font(9, true), ink, right, v[u"PTOTAL%1"_s.arg(n)]);
        rule(18, y + 7, 192, QColor(0xdc, 0xe5, 0xdf), 0.5);
    }

    // Totals
    const QColor sum(0x3a, 0x46, 0x41);
    y = 210;
    const auto total = [&](const QString &label, const QString &figure, bool bold = false) {
        text(box(120, y, 34, 6), font(9, bold), sum, left, label);
        text(box(156, y, 34, 6), font(9, bold), sum, right, figure);
        y += 6;
    };
    total(u"Discount "_s + v[u"PDISCOUNTPERCENT"_s] + u"%"_s, u"–"_s + v[u"PDISCOUNT"_s]);
    total(u"Subtotal"_s, v[u"PSUBTOTAL"_s], true);
    total(u"Shipping & handling"_s, v[u"PSHIPPING"_s]);
    total(v[u"PTAXNAME"_s], v[u"PTAX"_s]);
    rule(120, y + 1, 192, ink, 0.6);
    text(box(120, y + 1.5, 28, 7), font(10.5, true), ink, left, u"Total"_s);
    text(box(150, y + 1.5, 40, 7), font(10.5, true), ink, right, v[u"PTOTAL"_s]);
    y += 9;
    total(u"Surcharge "_s + v[u"PSURCHARGEVALUE2"_s] + u"%"_s, v[u"PSURCHARGE2"_s]);
    total(u"Received"_s, u"–"_s + v[u"PRECEIVED"_s]);
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawRoundedRect(box(118, y + 1, 74, 9), px(1.5), px(1.5));
    p.setBrush(Qt::NoBrush);
    text(box(121, y + 1, 27, 9), font(10, true), Qt::white, left, u"Balance due"_s);
    text(box(150, y + 1, 40, 9), font(12, true), Qt::white, right, v[u"PBALANCE"_s]);

    // Notes and footer
    text(box(18, 210, 90, 6), font(11, true), green, Qt::AlignLeft | Qt::AlignTop, u"Thank you for your business."_s);
    text(box(18, 217, 90, 10), font(8.5), muted, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
         u"Please quote invoice %1 with your payment. All amounts are in %2."_s.arg(v[u"PINVOICENUMBER"_s],
                                                                                    v[u"PCURRENCY"_s]));
    text(box(18, 228, 90, 5), font(8.5), muted, Qt::AlignLeft | Qt::AlignTop,
         u"Tax is charged at %1%."_s.arg(v[u"PTAXVALUE"_s]));
    rule(18, 277, 192, oak, 0.6);
    text(box(18, 279, 174, 5), font(8.5, true), green, Qt::AlignHCenter | Qt::AlignTop, v[u"PFOOTER1"_s]);
    text(box(18, 284, 174, 4), font(7.5), muted, Qt::AlignHCenter | Qt::AlignTop, v[u"PFOOTER2"_s]);
    text(box(18, 288, 174, 4), font(7.5), muted, Qt::AlignHCenter | Qt::AlignTop, v[u"PFOOTER3"_s]);
    return p.end();
}

} // namespace yardstick
