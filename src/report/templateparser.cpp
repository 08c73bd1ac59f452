// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/templateparser.h"

#include "report/fontfolder.h"
#include "report/namesuggestion.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace report {

namespace {

// Lengths in mm. PDF/A-1 allows no number beyond ±32767 in a page, 693 mm
// at the PDF's 1200 dots per inch: a box that reaches onto the largest page
// (Legal, 356 mm) and is no larger than 320 mm keeps every number within it,
// and elements wholly off the page are not drawn at all.
struct LengthRange
{
    double min;
    double max;
};
constexpr LengthRange kPosition{-400.0, 400.0};
constexpr LengthRange kSize{0.0, 320.0};
constexpr LengthRange kThickness{0.0, 10.0};
constexpr double kMinFontSize = 1.0;
constexpr double kMaxFontSize = 400.0;

const QStringList kElementNames = {u"report"_s, u"style"_s, u"text"_s, u"image"_s, u"line"_s, u"rect"_s,
                                   u"repeat"_s, u"if"_s,    u"br"_s,   u"stack"_s, u"band"_s};

const QStringList kFontAttributes = {u"font"_s, u"size"_s, u"bold"_s, u"italic"_s, u"color"_s, u"align"_s, u"valign"_s};

bool isNameStart(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}

bool isNameChar(QChar c)
{
    return isNameStart(c) || (c >= u'0' && c <= u'9');
}

// A parameter name, optionally ending in '#' (the row number inside a repeat).
bool isParameterName(const QString &name)
{
    if (name.isEmpty() || !isNameStart(name.front()))
        return false;
    const qsizetype end = name.endsWith(u'#') ? name.size() - 1 : name.size();
    for (qsizetype i = 1; i < end; ++i) {
        if (!isNameChar(name[i]))
            return false;
    }
    return true;
}

QString shortened(const QString &text)
{
    const QString simple = text.simplified();
    return simple.size() > 24 ? simple.left(24) + u"…"_s : simple;
}

// Reads a decimal number without exponent; locale-independent by design.
std::optional<double> readDecimal(QStringView text)
{
    if (text.isEmpty() || text.size() > 32)
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (text[0] == u'-' || text[0] == u'+') {
        negative = text[0] == u'-';
        ++i;
    }
    double value = 0.0;
    bool digits = false;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
        value = value * 10.0 + (text[i].unicode() - u'0');
        digits = true;
    }
    if (i < text.size() && text[i] == u'.') {
        ++i;
        double scale = 0.1;
        for (; i < text.size() && text[i].unicode() >= u'0' && text[i].unicode() <= u'9'; ++i) {
            value += (text[i].unicode() - u'0') * scale;
            scale /= 10.0;
            digits = true;
        }
    }
    if (!digits || i != text.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

// The state of one parse; the public class only owns the outcome.
class Reader
{
public:
    Reader(const TemplateLimits &limits, ProblemList &problems, std::vector<PlaceholderUse> &placeholders,
           std::vector<FontUse> &fonts)
        : m_limits(limits), m_problems(problems), m_placeholders(placeholders), m_fonts(fonts)
    { }

    std::optional<ReportTemplate> run(const QByteArray &data);

private:
    struct Attributes
    {
        QHash<QString, QString> values;
        QHash<QString, SourcePosition> positions;
        QHash<QString, qsizetype> offsets; // in the decoded file
        SourcePosition tag;
    };

    void problem(SourcePosition at, const QString &message) { m_problems.add(at, message); }
    // For messages that are costly to build (suggestions): built only when kept.
    template<typename MakeMessage>
    void problemLazily(SourcePosition at, MakeMessage &&make)
    {
        m_problems.addLazily(at, std::forward<MakeMessage>(make));
    }
    void abort(SourcePosition at, const QString &message)
    {
        problem(at, message);
        m_aborted = true;
    }

    SourcePosition positionAt(qsizetype offset) const;
    // The last character the XML reader took in: where it found its error.
    SourcePosition readerPosition() const
    {
        return positionAt(
            std::clamp<qsizetype>(m_xml.characterOffset() - 1, 0, std::max<qsizetype>(0, m_source.size() - 1)));
    }
    Attributes readAttributes(const QStringList &allowed);
    SourcePosition tagPosition() const
    {
        // '<' cannot occur inside attribute values, so the last one is the tag's.
        const qsizetype end = std::min<qsizetype>(m_xml.characterOffset(), m_source.size());
        return positionAt(std::max<qsizetype>(0, m_source.lastIndexOf(u'<', end - 1)));
    }
    void expectEmpty();
    qsizetype firstNonSpace(qsizetype offset) const
    {
        while (offset < m_source.size() && m_source[offset].isSpace())
            ++offset;
        return offset;
    }
    SourcePosition where(const Attributes &attrs, const QString &name) const
    {
        return attrs.positions.value(name, attrs.tag);
    }

    void readReport();
    void readChildren(int depth, bool topLevel, std::vector<Element> &out);
    void readStyle();
    void readText(std::vector<Element> &out);
    void readTextContent(PieceList &content, const std::optional<Condition> &condition);
    void readImage(std::vector<Element> &out);
    void readLine(std::vector<Element> &out);
    void readRect(std::vector<Element> &out);
    void readRepeat(int depth, std::vector<Element> &out);
    void readIf(int depth, std::vector<Element> &out);
    void readStack(int depth, std::vector<Element> &out);
    void readBand(int depth, std::vector<Element> &out);
    std::optional<Condition> readCondition(const Attributes &a, bool required);
    void add(std::vector<Element> &out, Element element, SourcePosition at);

    std::optional<double> length(const Attributes &a, const QString &name, double fallback, bool required,
                                 LengthRange range);
    std::optional<double> fontSize(const Attributes &a, const QString &name, double fallback);
    std::optional<QColor> color(const Attributes &a, const QString &name, std::optional<QColor> fallback,
                                bool allowNone);
    bool boolean(const Attributes &a, const QString &name, bool fallback);
    template<typename E>
    E choice(const Attributes &a, const QString &name, E fallback, const std::vector<std::pair<QString, E>> &options);
    void applyFont(const Attributes &a, TextStyle &style);
    std::optional<QRectF> box(const Attributes &a);
    PieceList pieces(const QString &text, qsizetype rawFrom, qsizetype rawTo, SourcePosition fallback);
    void recordName(const QString &name, SourcePosition at);

    qsizetype crowdedTag() const;

    TemplateLimits m_limits;
    ProblemList &m_problems;
    std::vector<PlaceholderUse> &m_placeholders;
    std::vector<FontUse> &m_fonts;
    QString m_source;
    std::vector<qsizetype> m_lineStarts;
    std::vector<qsizetype> m_lowSurrogates; // offsets: columns count characters, not UTF-16 units
    QXmlStreamReader m_xml;
    ReportTemplate m_template;
    QHash<QString, TextStyle> m_styles;
    std::vector<Condition> m_conditions;
    int m_repeatRows = 0; // rows of the enclosing repeat, 0 outside one
    int m_stacks = 0;
    int m_band = -1; // the enclosing band, -1 outside one
    bool m_inStack = false;
    int m_elementCount = 0;
    bool m_aborted = false;
    qsizetype m_lastOffset = 0;
};

// The offset of the first tag holding more attributes than allowed, or -1.
// A linear scan over the markup that skips comments, processing
// instructions and character data; anything odd is left to the XML reader.
qsizetype Reader::crowdedTag() const
{
    const QStringView source(m_source);
    const qsizetype n = source.size();
    for (qsizetype i = source.indexOf(u'<'); i >= 0 && i < n; i = source.indexOf(u'<', i + 1)) {
        const QStringView rest = source.mid(i);
        if (rest.startsWith(u"<!--")) {
            i = source.indexOf(u"-->", i + 4);
        } else if (rest.startsWith(u"<![CDATA[")) {
            i = source.indexOf(u"]]>", i + 9);
        } else if (rest.startsWith(u"<?")) {
            i = source.indexOf(u"?>", i + 2);
        } else if (rest.startsWith(u"<!")) {
            return -1; // a document type declaration, refused by the reader
        } else {
            int attributes = 0;
            QChar quote;
            qsizetype j = i + 1;
            for (; j < n; ++j) {
                const QChar c = source[j];
                if (!quote.isNull()) {
                    if (c == quote)
                        quote = QChar();
                } else if (c == u'"' || c == u'\'') {
                    quote = c;
                } else if (c == u'=') {
                    if (++attributes > m_limits.maxAttributes)
                        return i;
                } else if (c == u'>' || c == u'<') {
                    break;
                }
            }
            i = j - 1;
        }
        if (i < 0)
            return -1;
    }
    return -1;
}

SourcePosition Reader::positionAt(qsizetype offset) const
{
    const auto it = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    const qsizetype line = std::distance(m_lineStarts.begin(), it); // >= 1
    const qsizetype start = m_lineStarts[line - 1];
    // The second halves of characters beyond U+FFFF take no column of their own.
    const qsizetype halves = std::lower_bound(m_lowSurrogates.begin(), m_lowSurrogates.end(), offset)
        - std::lower_bound(m_lowSurrogates.begin(), m_lowSurrogates.end(), start);
    return {int(line), int(offset - start - halves) + 1};
}

// The reader gives attribute values but not where they stand; the start tag
// is scanned again so each problem can point at its own attribute.
Reader::Attributes Reader::readAttributes(const QStringList &allowed)
{
    Attributes result;
    const qsizetype end = std::min<qsizetype>(m_xml.characterOffset(), m_source.size());
    // '<' cannot occur inside attribute values, so the last one is the tag's.
    const qsizetype start = std::max<qsizetype>(0, m_source.lastIndexOf(u'<', end - 1));
    result.tag = positionAt(start);

    qsizetype i = start + 1;
    while (i < end && !m_source[i].isSpace() && m_source[i] != u'/' && m_source[i] != u'>')
        ++i;
    while (i < end) {
        while (i < end && m_source[i].isSpace())
            ++i;
        const qsizetype nameStart = i;
        while (i < end && !m_source[i].isSpace() && m_source[i] != u'=' && m_source[i] != u'>' && m_source[i] != u'/')
            ++i;
        if (i == nameStart)
            break;
        const QString attributeName = m_source.mid(nameStart, i - nameStart);
        result.positions.insert(attributeName, positionAt(nameStart));
        result.offsets.insert(attributeName, nameStart);
        while (i < end && m_source[i] != u'"' && m_source[i] != u'\'')
            ++i;
        if (i >= end)
            break;
        const QChar quote = m_source[i];
        i = m_source.indexOf(quote, i + 1);
        if (i < 0)
            break;
        ++i;
    }

    for (const QXmlStreamAttribute &attribute : m_xml.attributes()) {
        const QString name = attribute.qualifiedName().toString();
        if (!allowed.contains(name)) {
            problemLazily(where(result, name), [&] {
                return u"unknown attribute '%1' on <%2>"_s.arg(shortened(name), m_xml.qualifiedName())
                    + didYouMean(name, allowed, u"'"_s, u"'"_s);
            });
            continue;
        }
        result.values.insert(name, attribute.value().toString());
    }
    return result;
}

std::optional<ReportTemplate> Reader::run(const QByteArray &data)
{
    if (data.size() > m_limits.maxBytes) {
        problem({}, u"the template is larger than %1 KiB"_s.arg(m_limits.maxBytes / 1024));
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    m_source = decoder.decode(data);
    if (decoder.hasError()) {
        problem({}, u"the template is not UTF-8 text"_s);
        return std::nullopt;
    }
    // Lines end in LF, CR LF or a lone CR.
    m_lineStarts.push_back(0);
    for (qsizetype i = 0; i < m_source.size(); ++i) {
        const QChar c = m_source[i];
        if (c == u'\n' || (c == u'\r' && (i + 1 == m_source.size() || m_source[i + 1] != u'\n')))
            m_lineStarts.push_back(i + 1);
        else if (c.isLowSurrogate())
            m_lowSurrogates.push_back(i);
    }

    // Qt's reader compares each attribute of a tag with every other one; a tag
    // with a hundred thousand of them would take minutes. Such a tag stops
    // the reading before it starts.
    if (const qsizetype crowded = crowdedTag(); crowded >= 0) {
        problem(positionAt(crowded),
                u"an element has more than %1 attributes"_s.arg(QString::number(m_limits.maxAttributes)));
        return std::nullopt;
    }
    m_xml.addData(m_source);
    bool rootSeen = false;
    while (!m_xml.atEnd() && !m_aborted) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartDocument: {
            const QString encoding = m_xml.documentEncoding().toString();
            if (!encoding.isEmpty() && encoding.compare(u"UTF-8"_s, Qt::CaseInsensitive) != 0)
                problem(readerPosition(),
                        u"templates are UTF-8 text; the encoding '%1' is not supported"_s.arg(encoding));
            break;
        }
        case QXmlStreamReader::DTD:
            abort(positionAt(m_source.indexOf(u"<!DOCTYPE"_s)),
                  u"document type declarations (DTD) are not allowed in templates"_s);
            break;
        case QXmlStreamReader::StartElement:
            rootSeen = true;
            if (m_xml.qualifiedName() != u"report"_s) {
                abort(tagPosition(), u"the outermost element must be <report>, not <%1>"_s.arg(m_xml.qualifiedName()));
                break;
            }
            readReport();
            break;
        default:
            break;
        }
    }
    if (m_xml.hasError() && !m_aborted)
        problem(readerPosition(), u"not well-formed XML: "_s + m_xml.errorString());
    else if (!rootSeen && !m_aborted)
        problem(readerPosition(), u"the file holds no <report> element"_s);
    if (!m_problems.isEmpty())
        return std::nullopt;
    return std::move(m_template);
}

void Reader::readReport()
{
    const Attributes a = readAttributes(QStringList{u"version"_s, u"page"_s, u"orientation"_s} + kFontAttributes);
    if (!a.values.contains(u"version"_s)) {
        abort(a.tag, u"<report> needs the attribute version=\"1\""_s);
        return;
    }
    if (a.values.value(u"version"_s) != u"1"_s) {
        abort(where(a, u"version"_s),
              u"unsupported template version '%1'; this program reads version 1"_s.arg(
                  shortened(a.values.value(u"version"_s))));
        return;
    }
    m_template.pageSize = QPageSize(choice<QPageSize::PageSizeId>(a, u"page"_s, QPageSize::A4,
                                                                  {{u"A4"_s, QPageSize::A4},
                                                                   {u"A5"_s, QPageSize::A5},
                                                                   {u"Letter"_s, QPageSize::Letter},
                                                                   {u"Legal"_s, QPageSize::Legal}}));
    m_template.orientation = choice<QPageLayout::Orientation>(
        a, u"orientation"_s, QPageLayout::Portrait,
        {{u"portrait"_s, QPageLayout::Portrait}, {u"landscape"_s, QPageLayout::Landscape}});
    TextStyle &style = m_template.defaultStyle;
    style.family = u"Noto Sans"_s;
    style.color = QColor(0, 0, 0);
    if (!a.values.contains(u"font"_s))
        m_fonts.push_back({style.family, a.tag});
    applyFont(a, style);
    readChildren(1, true, m_template.elements);
}

void Reader::readChildren(int depth, bool topLevel, std::vector<Element> &out)
{
    m_lastOffset = m_xml.characterOffset();
    while (!m_xml.atEnd() && !m_aborted) {
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        if (token == QXmlStreamReader::EndElement || token == QXmlStreamReader::Invalid) {
            m_lastOffset = m_xml.characterOffset();
            return;
        }
        if (token == QXmlStreamReader::Characters && !m_xml.isWhitespace()) {
            problem(positionAt(firstNonSpace(m_lastOffset)),
                    u"text must stand inside a <text> element: '%1'"_s.arg(shortened(m_xml.text().toString())));
        }
        if (token != QXmlStreamReader::StartElement) {
            m_lastOffset = m_xml.characterOffset();
            continue;
        }
        if (depth >= m_limits.maxDepth) {
            abort(readerPosition(), u"elements are nested more than %1 levels deep"_s.arg(m_limits.maxDepth));
            return;
        }
        const QString name = m_xml.qualifiedName().toString();
        if (name == u"style"_s) {
            if (topLevel) {
                readStyle();
            } else {
                problem(tagPosition(), u"<style> must stand directly inside <report>"_s);
                m_xml.skipCurrentElement();
            }
        } else if (name == u"text"_s) {
            readText(out);
        } else if (name == u"image"_s) {
            readImage(out);
        } else if (name == u"line"_s) {
            readLine(out);
        } else if (name == u"rect"_s) {
            readRect(out);
        } else if (name == u"repeat"_s) {
            if (m_repeatRows > 0) {
                problem(tagPosition(), u"a <repeat> cannot hold another <repeat>"_s);
                m_xml.skipCurrentElement();
            } else {
                readRepeat(depth + 1, out);
            }
        } else if (name == u"if"_s) {
            readIf(depth + 1, out);
        } else if (name == u"stack"_s) {
            if (m_repeatRows > 0 || m_inStack) {
                problem(tagPosition(), u"a <stack> cannot stand inside <repeat> or another <stack>"_s);
                m_xml.skipCurrentElement();
            } else {
                readStack(depth + 1, out);
            }
        } else if (name == u"band"_s) {
            problem(tagPosition(), u"<band> must stand directly inside <stack>"_s);
            m_xml.skipCurrentElement();
        } else {
            problemLazily(tagPosition(), [&] {
                return u"unknown element <%1>"_s.arg(shortened(name)) + didYouMean(name, kElementNames, u"<"_s, u">"_s);
            });
            m_xml.skipCurrentElement();
        }
        m_lastOffset = m_xml.characterOffset();
    }
}

// Elements other than <text> hold no content; anything inside is reported.
void Reader::expectEmpty()
{
    const QString parent = m_xml.qualifiedName().toString();
    qsizetype textStart = m_xml.characterOffset();
    while (!m_xml.atEnd()) {
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        if (token == QXmlStreamReader::EndElement || token == QXmlStreamReader::Invalid)
            return;
        if (token == QXmlStreamReader::StartElement) {
            problem(tagPosition(), u"<%1> cannot stand inside <%2>"_s.arg(m_xml.qualifiedName(), parent));
            m_xml.skipCurrentElement();
        } else if (token == QXmlStreamReader::Characters && !m_xml.isWhitespace()) {
            problem(positionAt(firstNonSpace(textStart)),
                    u"<%1> holds no text: '%2'"_s.arg(parent, shortened(m_xml.text().toString())));
        }
        textStart = m_xml.characterOffset();
    }
}

void Reader::readStyle()
{
    QStringList allowed = kFontAttributes;
    allowed << u"name"_s << u"base"_s;
    const Attributes a = readAttributes(allowed);
    const QString name = a.values.value(u"name"_s);
    TextStyle style = m_template.defaultStyle;
    if (a.values.contains(u"base"_s)) {
        const QString base = a.values.value(u"base"_s);
        if (m_styles.contains(base))
            style = m_styles.value(base);
        else
            problemLazily(where(a, u"base"_s), [&] {
                return u"unknown style '%1'"_s.arg(shortened(base)) + didYouMean(base, m_styles.keys(), u"'"_s, u"'"_s);
            });
    }
    applyFont(a, style);
    if (name.isEmpty())
        problem(a.tag, u"<style> needs a name"_s);
    else if (m_styles.contains(name))
        problem(where(a, u"name"_s), u"the style '%1' is defined twice"_s.arg(shortened(name)));
    else
        m_styles.insert(name, style);
    expectEmpty();
}

void Reader::applyFont(const Attributes &a, TextStyle &style)
{
    if (a.values.contains(u"font"_s)) {
        const QString family = a.values.value(u"font"_s).trimmed();
        if (family.isEmpty() || family.size() > 100) {
            problem(where(a, u"font"_s), u"a font family name needs 1 to 100 characters"_s);
        } else {
            style.family = family;
            m_fonts.push_back({family, where(a, u"font"_s)});
        }
    }
    if (const auto size = fontSize(a, u"size"_s, style.size))
        style.size = *size;
    style.bold = boolean(a, u"bold"_s, style.bold);
    style.italic = boolean(a, u"italic"_s, style.italic);
    if (const auto c = color(a, u"color"_s, style.color, false))
        style.color = *c;
    style.align
        = choice<HAlign>(a, u"align"_s, style.align,
                         {{u"left"_s, HAlign::Left}, {u"center"_s, HAlign::Center}, {u"right"_s, HAlign::Right}});
    style.valign
        = choice<VAlign>(a, u"valign"_s, style.valign,
                         {{u"top"_s, VAlign::Top}, {u"middle"_s, VAlign::Middle}, {u"bottom"_s, VAlign::Bottom}});
}

std::optional<double> Reader::length(const Attributes &a, const QString &name, double fallback, bool required,
                                     LengthRange range)
{
    if (!a.values.contains(name)) {
        if (required) {
            problem(a.tag, u"<%1> needs the attribute '%2'"_s.arg(m_xml.qualifiedName(), name));
            return std::nullopt;
        }
        return fallback;
    }
    const QString text = a.values.value(name).trimmed();
    struct Unit
    {
        QString suffix;
        double mm;
    };
    static const Unit units[] = {{u"mm"_s, 1.0}, {u"cm"_s, 10.0}, {u"in"_s, 25.4}, {u"pt"_s, 25.4 / 72.0}};
    QStringView number(text);
    double factor = 1.0;
    for (const Unit &unit : units) {
        if (text.endsWith(unit.suffix)) {
            number = number.chopped(unit.suffix.size()).trimmed();
            factor = unit.mm;
            break;
        }
    }
    const auto value = readDecimal(number);
    if (!value) {
        problem(where(a, name),
                u"'%1' is not a length for '%2'; write a number with an optional unit mm, cm, in or pt"_s.arg(
                    shortened(text), name));
        return std::nullopt;
    }
    const double mm = *value * factor;
    if (mm < range.min || mm > range.max) {
        problem(where(a, name),
                u"the length '%1' for '%2' is out of range (%3 to %4 mm)"_s.arg(
                    shortened(text), name, QString::number(range.min), QString::number(range.max)));
        return std::nullopt;
    }
    return mm;
}

std::optional<double> Reader::fontSize(const Attributes &a, const QString &name, double fallback)
{
    if (!a.values.contains(name))
        return fallback;
    QString text = a.values.value(name).trimmed();
    if (text.endsWith(u"pt"_s))
        text.chop(2);
    const auto value = readDecimal(QStringView(text).trimmed());
    if (!value || *value < kMinFontSize || *value > kMaxFontSize) {
        problem(where(a, name),
                u"'%1' is not a font size; write points from %2 to %3"_s.arg(
                    shortened(a.values.value(name)), QString::number(kMinFontSize), QString::number(kMaxFontSize)));
        return std::nullopt;
    }
    return *value;
}

std::optional<QColor> Reader::color(const Attributes &a, const QString &name, std::optional<QColor> fallback,
                                    bool allowNone)
{
    if (!a.values.contains(name))
        return fallback;
    const QString text = a.values.value(name).trimmed();
    if (allowNone && text == u"none"_s)
        return std::nullopt;
    bool ok = text.size() == 7 && text.front() == u'#';
    for (qsizetype i = 1; ok && i < 7; ++i) {
        const char16_t c = text[i].unicode();
        ok = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    }
    if (!ok) {
        problem(where(a, name),
                u"'%1' is not a colour; write #RRGGBB%2"_s.arg(shortened(text), allowNone ? u" or none"_s : QString()));
        return fallback;
    }
    return QColor::fromString(text);
}

bool Reader::boolean(const Attributes &a, const QString &name, bool fallback)
{
    return choice<bool>(a, name, fallback, {{u"true"_s, true}, {u"false"_s, false}});
}

template<typename E>
E Reader::choice(const Attributes &a, const QString &name, E fallback,
                 const std::vector<std::pair<QString, E>> &options)
{
    if (!a.values.contains(name))
        return fallback;
    const QString text = a.values.value(name).trimmed();
    QStringList words;
    for (const auto &[word, value] : options) {
        if (text.compare(word, Qt::CaseInsensitive) == 0)
            return value;
        words << word;
    }
    problem(where(a, name),
            u"'%1' is not a value for '%2'; write one of: %3"_s.arg(shortened(text), name, words.join(u", "_s)));
    return fallback;
}

std::optional<QRectF> Reader::box(const Attributes &a)
{
    const auto x = length(a, u"x"_s, 0, true, kPosition);
    const auto y = length(a, u"y"_s, 0, true, kPosition);
    const auto w = length(a, u"width"_s, 0, true, kSize);
    const auto h = length(a, u"height"_s, 0, true, kSize);
    if (!x || !y || !w || !h)
        return std::nullopt;
    return QRectF(*x, *y, *w, *h);
}

void Reader::recordName(const QString &name, SourcePosition at)
{
    const bool rowRelative = name.endsWith(u'#');
    if (rowRelative && m_repeatRows == 0) {
        problem(at, u"'%1': '#' stands for the row number and works only inside <repeat>"_s.arg(shortened(name)));
        return;
    }
    m_placeholders.push_back({rowRelative ? name.chopped(1) : name, rowRelative, m_repeatRows, at});
}

// Splits a run of template text into literals and {PARAMETER} placeholders.
// `rawFrom`..`rawTo` is the stretch of the file the run came from, searched to
// give each placeholder its own position.
PieceList Reader::pieces(const QString &text, qsizetype rawFrom, qsizetype rawTo, SourcePosition fallback)
{
    PieceList result;
    QString literal;
    // Searched only within the run, and only until the first miss (a name
    // written with character references): a long run of such names would
    // otherwise be searched from end to end for each of them.
    bool lost = false;
    auto positionOf = [&](const QString &needle) {
        if (lost)
            return fallback;
        const qsizetype found
            = QStringView(m_source).mid(rawFrom, std::max<qsizetype>(0, rawTo - rawFrom)).indexOf(needle);
        if (found < 0) {
            lost = true;
            return fallback;
        }
        rawFrom += found + 1;
        return positionAt(rawFrom - 1);
    };
    // The next '}' is searched once and kept until it is passed, so that a
    // run of '{' without their '}' costs one pass, not one pass each.
    qsizetype close = -2;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'{' && i + 1 < text.size() && text[i + 1] == u'{') {
            literal += u'{';
            i += 2;
            continue;
        }
        if (c != u'{') {
            literal += c;
            ++i;
            continue;
        }
        if (close != -1 && close <= i)
            close = text.indexOf(u'}', i + 1);
        const qsizetype nextOpen = text.indexOf(u'{', i + 1);
        if (close < 0 || (nextOpen >= 0 && nextOpen < close)) {
            problem(positionOf(u"{"_s), u"'{' without its closing '}'; write {{ for a brace"_s);
            ++i;
            continue;
        }
        const QString name = text.mid(i + 1, close - i - 1);
        const SourcePosition at = positionOf(u"{"_s + name);
        i = close + 1;
        if (!literal.isEmpty())
            result.push_back({TextPiece::Kind::Literal, std::exchange(literal, {})});
        if (name == u"#"_s) {
            if (m_repeatRows == 0)
                problem(at, u"{#} stands for the row number and works only inside <repeat>"_s);
            result.push_back({TextPiece::Kind::RowNumber, {}});
            continue;
        }
        // {-NAME} shows a figure with its sign turned: "less {-PDISCOUNT}".
        const bool negated = name.startsWith(u'-');
        const QString parameter = negated ? name.mid(1) : name;
        if (!isParameterName(parameter)) {
            problem(at, u"'{%1}' is not a parameter name"_s.arg(shortened(name)));
            continue;
        }
        recordName(parameter, at);
        result.push_back({TextPiece::Kind::Parameter, parameter, std::nullopt, negated});
    }
    if (!literal.isEmpty())
        result.push_back({TextPiece::Kind::Literal, literal});
    return result;
}

// Like HTML, runs of white space in the template's own text count as one blank,
// so the file can be indented freely; <br/> forces a line break.
static void collapseWhitespace(PieceList &pieces)
{
    bool atLineStart = true;
    for (TextPiece &piece : pieces) {
        if (piece.kind == TextPiece::Kind::LineBreak) {
            atLineStart = true;
            continue;
        }
        if (piece.kind != TextPiece::Kind::Literal) {
            atLineStart = false;
            continue;
        }
        QString out;
        for (const QChar c : std::as_const(piece.text)) {
            const bool space = c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
            if (!space) {
                out += c;
                atLineStart = false;
            } else if (!atLineStart && !out.endsWith(u' ')) {
                out += u' ';
            }
        }
        piece.text = out;
    }
    // Trailing blanks before a break or the end, scanning backwards.
    bool atLineEnd = true;
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
        if (it->kind == TextPiece::Kind::LineBreak) {
            atLineEnd = true;
        } else if (it->kind == TextPiece::Kind::Literal) {
            if (atLineEnd) {
                while (it->text.endsWith(u' '))
                    it->text.chop(1);
            }
            if (!it->text.isEmpty())
                atLineEnd = false;
        } else {
            atLineEnd = false;
        }
    }
    std::erase_if(pieces, [](const TextPiece &p) { return p.kind == TextPiece::Kind::Literal && p.text.isEmpty(); });
}

// The content of a <text>, or of an <if> inside one, whose pieces then
// carry its condition.
void Reader::readTextContent(PieceList &content, const std::optional<Condition> &condition)
{
    qsizetype rawFrom = m_xml.characterOffset();
    while (!m_xml.atEnd()) {
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        if (token == QXmlStreamReader::EndElement || token == QXmlStreamReader::Invalid)
            break;
        if (token == QXmlStreamReader::Characters) {
            const qsizetype rawTo = m_xml.characterOffset();
            for (TextPiece &piece : pieces(m_xml.text().toString(), rawFrom, rawTo, positionAt(rawFrom))) {
                piece.condition = condition;
                content.push_back(std::move(piece));
            }
        } else if (token == QXmlStreamReader::StartElement) {
            const QString name = m_xml.qualifiedName().toString();
            if (name == u"br"_s) {
                readAttributes({});
                content.push_back({TextPiece::Kind::LineBreak, {}, condition});
                expectEmpty();
            } else if (name == u"if"_s && !condition) {
                const Attributes a = readAttributes({u"filled"_s, u"empty"_s, u"nonzero"_s});
                const std::optional<Condition> inner = readCondition(a, true);
                readTextContent(content, inner ? inner : Condition{Condition::Kind::Empty, {}});
            } else {
                problem(tagPosition(),
                        condition ? u"<%1> cannot stand inside an <if> inside <text>; only <br/> can"_s.arg(name)
                                  : u"<%1> cannot stand inside <text>; only <br/> and <if> can"_s.arg(name));
                m_xml.skipCurrentElement();
            }
        }
        rawFrom = m_xml.characterOffset();
    }
}

void Reader::readText(std::vector<Element> &out)
{
    QStringList allowed = kFontAttributes;
    allowed << u"x"_s << u"y"_s << u"width"_s << u"height"_s << u"style"_s << u"wrap"_s << u"overflow"_s
            << u"min-size"_s << u"padding"_s << u"line-spacing"_s;
    const Attributes a = readAttributes(allowed);
    TextBox text;
    const auto rect = box(a);
    text.style = m_template.defaultStyle;
    if (a.values.contains(u"style"_s)) {
        const QString name = a.values.value(u"style"_s);
        if (m_styles.contains(name))
            text.style = m_styles.value(name);
        else
            problemLazily(where(a, u"style"_s), [&] {
                return u"unknown style '%1'"_s.arg(shortened(name)) + didYouMean(name, m_styles.keys(), u"'"_s, u"'"_s);
            });
    }
    applyFont(a, text.style);
    text.wrap = boolean(a, u"wrap"_s, true);
    text.overflow = choice<Overflow>(
        a, u"overflow"_s, Overflow::Clip,
        {{u"clip"_s, Overflow::Clip}, {u"shrink"_s, Overflow::Shrink}, {u"ellipsis"_s, Overflow::Ellipsis}});
    if (const auto size = fontSize(a, u"min-size"_s, std::min(5.0, text.style.size)))
        text.minSize = std::min(*size, text.style.size);
    if (const auto padding = length(a, u"padding"_s, 0, false, kSize))
        text.padding = *padding;
    if (a.values.contains(u"line-spacing"_s)) {
        const auto spacing = readDecimal(QStringView(a.values.value(u"line-spacing"_s)).trimmed());
        if (!spacing || *spacing < 0.5 || *spacing > 5.0)
            problem(where(a, u"line-spacing"_s),
                    u"'%1' is not a line spacing; write a factor from 0.5 to 5"_s.arg(
                        shortened(a.values.value(u"line-spacing"_s))));
        else
            text.lineSpacing = *spacing;
    }

    readTextContent(text.content, std::nullopt);
    collapseWhitespace(text.content);
    if (rect) {
        text.box = *rect;
        add(out, Element{std::move(text), m_conditions}, a.tag);
    }
}

void Reader::readImage(std::vector<Element> &out)
{
    const Attributes a
        = readAttributes({u"x"_s, u"y"_s, u"width"_s, u"height"_s, u"source"_s, u"align"_s, u"valign"_s});
    ImageBox image;
    const auto rect = box(a);
    if (!a.values.contains(u"source"_s)) {
        problem(a.tag, u"<image> needs the attribute 'source'"_s);
    } else {
        const SourcePosition at = where(a, u"source"_s);
        const qsizetype from = a.offsets.value(u"source"_s, m_xml.characterOffset());
        image.source = pieces(a.values.value(u"source"_s), from, m_xml.characterOffset(), at);
    }
    image.align
        = choice<HAlign>(a, u"align"_s, HAlign::Center,
                         {{u"left"_s, HAlign::Left}, {u"center"_s, HAlign::Center}, {u"right"_s, HAlign::Right}});
    image.valign
        = choice<VAlign>(a, u"valign"_s, VAlign::Middle,
                         {{u"top"_s, VAlign::Top}, {u"middle"_s, VAlign::Middle}, {u"bottom"_s, VAlign::Bottom}});
    expectEmpty();
    if (rect) {
        image.box = *rect;
        add(out, Element{std::move(image), m_conditions}, a.tag);
    }
}

void Reader::readLine(std::vector<Element> &out)
{
    const Attributes a = readAttributes({u"x1"_s, u"y1"_s, u"x2"_s, u"y2"_s, u"color"_s, u"thickness"_s, u"pattern"_s});
    LineShape line;
    const auto x1 = length(a, u"x1"_s, 0, true, kPosition);
    const auto y1 = length(a, u"y1"_s, 0, true, kPosition);
    const auto x2 = length(a, u"x2"_s, 0, true, kPosition);
    const auto y2 = length(a, u"y2"_s, 0, true, kPosition);
    const auto thickness = length(a, u"thickness"_s, 0.25 * 25.4 / 72.0, false, kThickness);
    line.color = color(a, u"color"_s, QColor(0, 0, 0), false).value_or(QColor(0, 0, 0));
    line.pattern = choice<LinePattern>(
        a, u"pattern"_s, LinePattern::Solid,
        {{u"solid"_s, LinePattern::Solid}, {u"dash"_s, LinePattern::Dash}, {u"dot"_s, LinePattern::Dot}});
    expectEmpty();
    if (x1 && y1 && x2 && y2 && thickness) {
        line.from = QPointF(*x1, *y1);
        line.to = QPointF(*x2, *y2);
        line.thickness = *thickness;
        add(out, Element{line, m_conditions}, a.tag);
    }
}

void Reader::readRect(std::vector<Element> &out)
{
    const Attributes a = readAttributes(
        {u"x"_s, u"y"_s, u"width"_s, u"height"_s, u"stroke"_s, u"fill"_s, u"thickness"_s, u"radius"_s});
    RectShape shape;
    const auto rect = box(a);
    shape.stroke = color(a, u"stroke"_s, std::nullopt, true);
    shape.fill = color(a, u"fill"_s, std::nullopt, true);
    const auto thickness = length(a, u"thickness"_s, 0.25 * 25.4 / 72.0, false, kThickness);
    const auto radius = length(a, u"radius"_s, 0, false, kSize);
    expectEmpty();
    if (rect && thickness && radius) {
        shape.box = *rect;
        shape.thickness = *thickness;
        shape.radius = *radius;
        add(out, Element{shape, m_conditions}, a.tag);
    }
}

void Reader::add(std::vector<Element> &out, Element element, SourcePosition at)
{
    if (++m_elementCount > m_limits.maxElements) {
        abort(readerPosition(), u"the template has more than %1 elements"_s.arg(m_limits.maxElements));
        return;
    }
    element.band = m_band;
    element.position = at;
    out.push_back(std::move(element));
}

static QString withRow(const QString &name, int row)
{
    return name.endsWith(u'#') ? name.chopped(1) + QString::number(row) : name;
}

static void placeInRow(PieceList &pieces, int row)
{
    for (TextPiece &piece : pieces) {
        if (piece.condition) {
            for (QString &name : piece.condition->names)
                name = withRow(name, row);
        }
        if (piece.kind == TextPiece::Kind::Parameter) {
            piece.text = withRow(piece.text, row);
        } else if (piece.kind == TextPiece::Kind::RowNumber) {
            piece.kind = TextPiece::Kind::Literal;
            piece.text = QString::number(row);
        }
    }
}

void Reader::readRepeat(int depth, std::vector<Element> &out)
{
    const Attributes a = readAttributes({u"count"_s, u"pitch"_s});
    int count = 1;
    if (!a.values.contains(u"count"_s)) {
        problem(a.tag, u"<repeat> needs the attribute 'count'"_s);
    } else {
        bool ok = false;
        const int value = a.values.value(u"count"_s).trimmed().toInt(&ok);
        if (!ok || value < 1 || value > m_limits.maxRows)
            problem(where(a, u"count"_s),
                    u"'%1' is not a row count; write a whole number from 1 to %2"_s.arg(
                        shortened(a.values.value(u"count"_s)), QString::number(m_limits.maxRows)));
        else
            count = value;
    }
    const double pitch = length(a, u"pitch"_s, 0, true, kPosition).value_or(0);

    std::vector<Element> row;
    const int countBefore = m_elementCount;
    m_repeatRows = count;
    // Conditions outside the repeat are added to each row's copies below, not here.
    std::vector<Condition> outer = std::exchange(m_conditions, {});
    readChildren(depth, false, row);
    m_conditions = std::move(outer);
    m_repeatRows = 0;
    if (m_aborted)
        return;

    const qint64 total = qint64(countBefore) + qint64(row.size()) * count;
    if (total > m_limits.maxElements) {
        abort(a.tag, u"the template has more than %1 elements"_s.arg(m_limits.maxElements));
        return;
    }
    m_elementCount = int(total);
    for (int r = 1; r <= count; ++r) {
        const double dy = (r - 1) * pitch;
        for (const Element &original : row) {
            Element copy = original;
            std::visit(
                [&](auto &shape) {
                    using T = std::decay_t<decltype(shape)>;
                    if constexpr (std::is_same_v<T, TextBox>) {
                        shape.box.translate(0, dy);
                        placeInRow(shape.content, r);
                    } else if constexpr (std::is_same_v<T, ImageBox>) {
                        shape.box.translate(0, dy);
                        placeInRow(shape.source, r);
                    } else if constexpr (std::is_same_v<T, LineShape>) {
                        shape.from.ry() += dy;
                        shape.to.ry() += dy;
                    } else {
                        shape.box.translate(0, dy);
                    }
                },
                copy.shape);
            for (Condition &condition : copy.conditions) {
                for (QString &name : condition.names)
                    name = withRow(name, r);
            }
            copy.conditions.insert(copy.conditions.begin(), m_conditions.begin(), m_conditions.end());
            out.push_back(std::move(copy));
        }
    }
}

void Reader::readIf(int depth, std::vector<Element> &out)
{
    const Attributes a = readAttributes({u"filled"_s, u"empty"_s, u"nonzero"_s});
    const std::optional<Condition> condition = readCondition(a, true);
    if (condition)
        m_conditions.push_back(*condition);
    readChildren(depth, false, out);
    if (condition)
        m_conditions.pop_back();
}

void Reader::readStack(int depth, std::vector<Element> &out)
{
    readAttributes({});
    const int stack = m_stacks++;
    m_inStack = true;
    while (!m_xml.atEnd() && !m_aborted) {
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        if (token == QXmlStreamReader::EndElement || token == QXmlStreamReader::Invalid)
            break;
        if (token == QXmlStreamReader::Characters && !m_xml.isWhitespace()) {
            problem(tagPosition(), u"only <band> elements can stand inside <stack>"_s);
        } else if (token == QXmlStreamReader::StartElement) {
            if (m_xml.qualifiedName() != u"band"_s) {
                problem(tagPosition(),
                        u"only <band> elements can stand inside <stack>, not <%1>"_s.arg(m_xml.qualifiedName()));
                m_xml.skipCurrentElement();
                continue;
            }
            if (depth + 1 >= m_limits.maxDepth) {
                abort(readerPosition(), u"elements are nested more than %1 levels deep"_s.arg(m_limits.maxDepth));
                break;
            }
            const Attributes a = readAttributes({u"height"_s, u"filled"_s, u"empty"_s, u"nonzero"_s});
            Band band;
            band.stack = stack;
            band.height = length(a, u"height"_s, 0, true, kSize).value_or(0);
            band.condition = readCondition(a, false);
            if (++m_elementCount > m_limits.maxElements) {
                abort(a.tag, u"the template has more than %1 elements"_s.arg(m_limits.maxElements));
                break;
            }
            m_band = int(m_template.bands.size());
            m_template.bands.push_back(band);
            if (band.condition)
                m_conditions.push_back(*band.condition);
            readChildren(depth + 1, false, out);
            if (band.condition)
                m_conditions.pop_back();
            m_band = -1;
        }
    }
    m_inStack = false;
}

std::optional<Condition> Reader::readCondition(const Attributes &a, bool required)
{
    static const std::pair<QString, Condition::Kind> kinds[] = {{u"filled"_s, Condition::Kind::Filled},
                                                                {u"empty"_s, Condition::Kind::Empty},
                                                                {u"nonzero"_s, Condition::Kind::NonZero}};
    std::optional<Condition> condition;
    int given = 0;
    for (const auto &[attribute, kind] : kinds) {
        if (!a.values.contains(attribute))
            continue;
        ++given;
        Condition c{kind, a.values.value(attribute).simplified().split(u' ', Qt::SkipEmptyParts)};
        if (c.names.isEmpty())
            problem(where(a, attribute), u"'%1' needs at least one parameter name"_s.arg(attribute));
        if (c.names.size() > m_limits.maxConditionNames) {
            problem(where(a, attribute),
                    u"'%1' lists more than %2 names"_s.arg(attribute, QString::number(m_limits.maxConditionNames)));
            c.names.clear();
        }
        for (const QString &name : std::as_const(c.names)) {
            if (isParameterName(name))
                recordName(name, where(a, attribute));
            else
                problem(where(a, attribute), u"'%1' is not a parameter name"_s.arg(shortened(name)));
        }
        condition = c;
    }
    if (given > 1 || (required && given == 0)) {
        problem(a.tag,
                u"<%1> needs %2 of the attributes 'filled', 'empty' or 'nonzero'"_s.arg(
                    m_xml.qualifiedName(), required ? u"exactly one"_s : u"at most one"_s));
        condition.reset();
    }
    return condition;
}

} // namespace

TemplateParser::TemplateParser(TemplateLimits limits) : m_limits(limits) { }

std::optional<ReportTemplate> TemplateParser::parse(const QByteArray &data)
{
    m_problems = ProblemList();
    m_placeholders.clear();
    m_fonts.clear();
    Reader reader(m_limits, m_problems, m_placeholders, m_fonts);
    return reader.run(data);
}

void checkFonts(const std::vector<FontUse> &uses, const QStringList &families, ProblemList &problems)
{
    for (const FontUse &use : uses) {
        if (families.contains(use.family, Qt::CaseInsensitive))
            continue;
        problems.addLazily(use.position, [&] {
            if (families.isEmpty())
                return u"the font family '%1' is not at hand: the fonts folder holds no fonts"_s.arg(use.family);
            return u"the font family '%1' is not one of the fonts that travel with Quillbook (%2), so the PDF "
                   "would differ between machines; did you mean '%3'?"_s.arg(use.family, families.join(u", "_s),
                                                                             nearestFamily(use.family, families));
        });
    }
}

void checkPlaceholders(const std::vector<PlaceholderUse> &uses, const QStringList &known, ProblemList &problems)
{
    const QSet<QString> knownSet(known.begin(), known.end());
    for (const PlaceholderUse &use : uses) {
        QString missing;
        if (!use.rowRelative) {
            if (!knownSet.contains(use.name))
                missing = use.name;
        } else {
            for (int row = 1; row <= use.rows && missing.isEmpty(); ++row) {
                const QString name = use.name + QString::number(row);
                if (!knownSet.contains(name))
                    missing = name;
            }
        }
        if (missing.isEmpty())
            continue;
        problems.addLazily(use.position, [&] {
            const QString message = use.rowRelative ? u"unknown parameter %1 (from %2# in row %3)"_s.arg(
                                        shortened(missing), shortened(use.name), missing.mid(use.name.size()))
                                                    : u"unknown parameter %1"_s.arg(shortened(missing));
            return message + didYouMean(missing, known);
        });
    }
}

} // namespace report
