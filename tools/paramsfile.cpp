// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "paramsfile.h"

#include "report/namesuggestion.h"

#include <QFile>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace {

QString unescape(QStringView value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            if (value[i + 1] == u'n') {
                out += u'\n';
                ++i;
                continue;
            }
            if (value[i + 1] == u'\\') {
                out += u'\\';
                ++i;
                continue;
            }
        }
        out += value[i];
    }
    return out;
}

} // namespace

ParamsFile readParamsFile(const QString &path, const QStringList &known)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ParamsFile result;
        result.problems << u"%1: cannot be read: %2"_s.arg(path, file.errorString());
        return result;
    }
    return readParams(file.read(kMaxParamsFileBytes + 1), path, known);
}

ParamsFile readParams(const QByteArray &bytes, const QString &path, const QStringList &known)
{
    constexpr int kShownProblems = 50;
    ParamsFile result;
    qsizetype moreProblems = 0;
    const auto problem = [&](qsizetype line, const auto &message) {
        if (result.problems.size() < kShownProblems)
            result.problems << u"%1:%2: %3"_s.arg(path, QString::number(line), message());
        else
            ++moreProblems;
    };
    if (bytes.size() > kMaxParamsFileBytes) {
        result.problems << u"%1: is larger than %2 KiB"_s.arg(path, QString::number(kMaxParamsFileBytes / 1024));
        return result;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        result.problems << u"%1: is not UTF-8 text"_s.arg(path);
        return result;
    }
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringView line(lines[i]);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(u'#'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            problem(i + 1, [] { return u"expected NAME=VALUE"_s; });
            continue;
        }
        const QString name = line.left(equals).trimmed().toString();
        if (!known.contains(name)) {
            problem(i + 1, [&] {
                const QString shown = name.size() > 40 ? name.left(40) + u"…"_s : name;
                return u"unknown parameter %1"_s.arg(shown) + report::didYouMean(name, known);
            });
            continue;
        }
        result.values.append({name, unescape(line.mid(equals + 1))});
    }
    if (moreProblems > 0)
        result.problems << u"and %1 more problems"_s.arg(QString::number(moreProblems));
    return result;
}
