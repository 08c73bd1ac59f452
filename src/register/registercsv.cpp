// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "register/registercsv.h"

#include "invoice/numbers.h"
#include "invoice/runtimeerror.h"

#include <QDir>
#include <QSaveFile>
#include <QStringList>

using invoice::Amount;
using invoice::FormatAmount;
using invoice::RuntimeError;

namespace invoiceregister {

using namespace Qt::StringLiterals;

namespace {

QString field(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    return u'"' + QString(text).replace(u"\""_s, u"\"\""_s) + u'"';
}

QString money(Amount value)
{
    return FormatAmount(value, 2).remove(u',');
}

} // namespace

QByteArray RegisterCsv(std::span<const RegisterRecord *const> records)
{
    QStringList header = {u"number"_s, u"version"_s, u"replaced"_s, u"date"_s, u"time"_s};
    for (int i = 1; i <= RegisterRecord::CustomerLines; ++i)
        header << u"customer_%1"_s.arg(i);
    header << u"sub_total"_s << u"shipping"_s << u"net"_s << u"tax_rate"_s << u"tax"_s << u"total"_s << u"surcharge_2"_s
           << u"received"_s << u"balance"_s << u"currency"_s << u"payment_method"_s << u"template"_s << u"e_invoice"_s
           << u"file"_s << u"sha256"_s << u"source"_s;
    QString out = header.join(u',') + u"\r\n"_s;
    for (const RegisterRecord *r : records) {
        QStringList row = {field(r->number), QString::number(r->version), r->replaced ? u"yes"_s : u"no"_s,
                           r->issued.date().toString(Qt::ISODate), r->issued.time().toString(Qt::ISODate)};
        for (const QString &line : r->customer)
            row << field(line);
        row << money(r->subTotal) << money(r->shipping) << money(r->net())
            << (r->taxRate ? money(*r->taxRate) : QString()) << money(r->tax) << money(r->total) << money(r->surcharge2)
            << money(r->received) << money(r->balance) << field(r->currency) << field(r->paymentMethod)
            << field(r->templateName) << (r->eInvoice ? u"yes"_s : u"no"_s) << field(r->fileName)
            << QString::fromLatin1(r->sha256) << (r->rebuilt ? u"rebuilt"_s : u"printed"_s);
        out += row.join(u',') + u"\r\n"_s;
    }
    return out.toUtf8();
}

bool WriteRegisterCsv(const QString &path, std::span<const RegisterRecord *const> records, QString *error)
{
    QSaveFile file(path);
    QByteArray csv;
    try {
        csv = RegisterCsv(records);
    } catch (const RuntimeError &failure) {
        *error = failure.description();
        return false;
    }
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        *error = u"%1 cannot be written: %2"_s.arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

} // namespace invoiceregister
