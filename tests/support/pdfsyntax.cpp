// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdfsyntax.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace pdfsyntax {

QStringList StreamFaults(const QByteArray &pdf)
{
    // Offsets in the text are offsets in the file: one character per byte.
    const QString text = QString::fromLatin1(pdf);
    static const QRegularExpression numberObject(uR"((?<![0-9])(\d+)\s+(\d+)\s+obj\s*(\d+)\s*endobj)"_s);
    static const QRegularExpression header(uR"((?<![0-9])(\d+)\s+(\d+)\s+obj(?![A-Za-z]))"_s);
    static const QRegularExpression lengthKey(uR"(/Length(?![0-9A-Za-z])\s*(\d+)(?:\s+(\d+)\s+R)?)"_s);
    QHash<QString, qsizetype> numbers; // "N G" of the objects that hold one number: indirect lengths
    for (const QRegularExpressionMatch &m : numberObject.globalMatch(text))
        numbers.insert(m.captured(1) + u' ' + m.captured(2), m.captured(3).toLongLong());
    const auto eolBefore = [&](qsizetype at) -> qsizetype {
        return pdf.mid(at - 2, 2) == "\r\n" ? 2 : (pdf.mid(at - 1, 1) == "\n" || pdf.mid(at - 1, 1) == "\r");
    };

    QStringList faults;
    int streams = 0;
    qsizetype at = 0;
    for (QRegularExpressionMatch object = header.match(text); object.hasMatch(); object = header.match(text, at)) {
        const qsizetype body = object.capturedEnd();
        const qsizetype endobj = text.indexOf(u"endobj"_s, body);
        const qsizetype keyword = text.indexOf(u"stream"_s, body);
        if (keyword < 0 || (endobj >= 0 && endobj < keyword)) {
            at = endobj < 0 ? text.size() : endobj + 6;
            continue;
        }
        ++streams;
        const QString where
            = u"object %1 %2 (stream at offset %3): "_s.arg(object.captured(1), object.captured(2)).arg(keyword);
        qsizetype data = keyword + 6;
        if (pdf.mid(data, 2) == "\r\n" || pdf.mid(data, 1) == "\n") {
            data += pdf.at(data) == '\r' ? 2 : 1;
        } else {
            faults << where + u"the stream keyword is not followed by CRLF or LF"_s;
            data += pdf.mid(data, 1) == "\r"; // the data's count starts after a lone CR all the same
        }

        const QRegularExpressionMatch key = lengthKey.match(text.mid(body, keyword - body));
        const QString reference = key.captured(1) + u' ' + key.captured(2);
        qsizetype length = -1;
        if (!key.hasMatch())
            faults << where + u"no /Length"_s;
        else if (key.captured(2).isEmpty())
            length = key.captured(1).toLongLong();
        else if (numbers.contains(reference))
            length = numbers.value(reference);
        else
            faults << where + u"its /Length %1 R is not a number object"_s.arg(reference);

        // Where /Length says the data ends: an end-of-line, then endstream.
        if (length >= 0) {
            const qsizetype end = data + length;
            const qsizetype eol = pdf.mid(end, 2) == "\r\n" ? 2 : (pdf.mid(end, 1) == "\n" || pdf.mid(end, 1) == "\r");
            if (eol > 0 && pdf.mid(end + eol, 9) == "endstream") {
                at = end + eol + 9;
                continue;
            }
        }
        // Otherwise the keyword that does end it says what is wrong.
        const qsizetype endstream = pdf.indexOf("endstream", data);
        if (endstream < 0) {
            faults << where + u"no endstream"_s;
            break;
        }
        const qsizetype eol = eolBefore(endstream);
        if (eol == 0)
            faults << where + u"no end-of-line before endstream"_s;
        if (length >= 0 && endstream - eol - data != length)
            faults << where + u"/Length %1, but %2 bytes of data"_s.arg(length).arg(endstream - eol - data);
        at = endstream + 9;
    }
    if (streams == 0)
        faults << u"no stream found"_s;
    return faults;
}

QStringList StreamFaultsOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {u"unreadable: "_s + path};
    return StreamFaults(file.readAll());
}

} // namespace pdfsyntax
