// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "einvoice/address.h"

#include "einvoice/codelists.h"

#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

using namespace Qt::StringLiterals;

namespace einvoice {

namespace {

// The states and provinces whose names and abbreviations an address line
// may hold on its own; several are country names or codes as well.
const QHash<QString, QString> RegionTables = {
    {u"US"_s,
     u"AL Alabama|AK Alaska|AZ Arizona|AR Arkansas|CA California|CO Colorado|CT Connecticut|DE Delaware|"
     "DC District of Columbia|FL Florida|GA Georgia|HI Hawaii|ID Idaho|IL Illinois|IN Indiana|IA Iowa|"
     "KS Kansas|KY Kentucky|LA Louisiana|ME Maine|MD Maryland|MA Massachusetts|MI Michigan|MN Minnesota|"
     "MS Mississippi|MO Missouri|MT Montana|NE Nebraska|NV Nevada|NH New Hampshire|NJ New Jersey|"
     "NM New Mexico|NY New York|NC North Carolina|ND North Dakota|OH Ohio|OK Oklahoma|OR Oregon|"
     "PA Pennsylvania|RI Rhode Island|SC South Carolina|SD South Dakota|TN Tennessee|TX Texas|UT Utah|"
     "VT Vermont|VA Virginia|WA Washington|WV West Virginia|WI Wisconsin|WY Wyoming"_s},
    {u"CA"_s,
     u"AB Alberta|BC British Columbia|MB Manitoba|NB New Brunswick|NL Newfoundland and Labrador|"
     "NS Nova Scotia|NT Northwest Territories|NU Nunavut|ON Ontario|PE Prince Edward Island|QC Quebec|"
     "QC Québec|SK Saskatchewan|YT Yukon"_s},
    {u"AU"_s,
     u"NSW New South Wales|VIC Victoria|QLD Queensland|SA South Australia|WA Western Australia|"
     "TAS Tasmania|NT Northern Territory|ACT Australian Capital Territory"_s},
};

// Each country's postcode, and whether it stands before the city. Countries
// not named here are read with a plain number of four to six digits, before
// the city or after it.
struct Pattern
{
    bool first;
    QString postcode;
};

const QList<std::pair<QString, Pattern>> Patterns = {
    {u"DE FR IT ES FI EE HR TR RS BA ME 1A MC SM VA DZ MA UA"_s, {true, u"\\d{5}"_s}},
    {u"AT CH LI BE DK NO HU BG CY MK AL GE SI LU LV AM TN"_s, {true, u"\\d{4}"_s}},
    {u"SE CZ SK GR"_s, {true, u"\\d{3} ?\\d{2}"_s}},
    {u"LT"_s, {true, u"\\d{5}"_s}},
    {u"PL"_s, {true, u"\\d{2}-\\d{3}"_s}},
    {u"PT"_s, {true, u"\\d{4}-\\d{3}"_s}},
    {u"NL"_s, {true, u"\\d{4} ?[A-Z]{2}"_s}},
    {u"RO RU BY KZ CN"_s, {true, u"\\d{6}"_s}},
    {u"IS FO"_s, {true, u"\\d{3}"_s}},
    {u"GB"_s, {false, u"[A-Z]{1,2}\\d[A-Z\\d]? ?\\d[A-Z]{2}"_s}},
    {u"IE"_s, {false, u"[AC-FHKNPRTV-Y]\\d[\\dW] ?[AC-FHKNPRTV-Y\\d]{4}"_s}},
    {u"MT"_s, {false, u"[A-Z]{3} ?\\d{4}"_s}},
    {u"US"_s, {false, u"\\d{5}(?:-\\d{4})?"_s}},
    {u"CA"_s, {false, u"[A-Z]\\d[A-Z] ?\\d[A-Z]\\d"_s}},
    {u"AU NZ"_s, {false, u"\\d{4}"_s}},
    {u"IN"_s, {false, u"\\d{3} ?\\d{3}"_s}},
    {u"SG"_s, {false, u"\\d{6}"_s}},
};

QList<Pattern> patternsOf(const QString &country)
{
    for (const auto &[countries, pattern] : Patterns)
        if (countries.split(u' ').contains(country))
            return {pattern};
    return {{true, u"\\d{4,6}"_s}, {false, u"\\d{4,6}"_s}};
}

// The regions of one country (abbreviations and names), or of every
// country with a table when `country` is empty.
QStringList regionsOf(const QString &country)
{
    QStringList regions;
    for (auto it = RegionTables.begin(); it != RegionTables.end(); ++it) {
        if (!country.isEmpty() && it.key() != country)
            continue;
        for (const QString &entry : it.value().split(u'|')) {
            const qsizetype space = entry.indexOf(u' ');
            regions << entry.left(space) << entry.mid(space + 1);
        }
    }
    return regions;
}

bool isRegion(const QString &text)
{
    static const QStringList regions = regionsOf({});
    return regions.contains(text);
}

// A state's abbreviation ("CA", "NSW") is never a city; a state's name may
// be one (New York, Quebec, Victoria).
bool isRegionCode(const QString &text)
{
    return text.size() <= 3 && text == text.toUpper() && isRegion(text);
}

// For comparing names: no accents, lower case, "&" as "and", every run of
// other characters one blank, no leading "the".
QString fold(const QString &text)
{
    QString out;
    bool gap = true;
    for (const QChar c : text.normalized(QString::NormalizationForm_KD)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c.isLetterOrNumber()) {
            out += c.toLower();
            gap = false;
        } else if (c == u'&') {
            out += gap ? u"and "_s : u" and "_s;
            gap = true;
        } else if (!gap) {
            out += u' ';
            gap = true;
        }
    }
    out = out.trimmed();
    return out.startsWith(u"the "_s) ? out.mid(4) : out;
}

// A place a line may name: a country, or a part of one that has no code of
// its own in the rules' list (the Canary Islands are Spain).
struct Place
{
    QString country;
    bool part = false;
};

const QHash<QString, Place> &placesByName()
{
    static const QHash<QString, Place> places = [] {
        // Territories QLocale knows by a code outside the list.
        const QHash<QString, Place> unlisted = {
            {u"XK"_s, {u"1A"_s}},       {u"IC"_s, {u"ES"_s, true}}, {u"EA"_s, {u"ES"_s, true}},
            {u"DG"_s, {u"IO"_s, true}}, {u"AC"_s, {u"SH"_s, true}}, {u"TA"_s, {u"SH"_s, true}},
            {u"CP"_s, {u"FR"_s, true}},
        };
        // Names in common English use that QLocale does not give.
        const QList<std::pair<QString, Place>> aliases = {
            {u"USA"_s, {u"US"_s}},
            {u"U.S.A."_s, {u"US"_s}},
            {u"United States of America"_s, {u"US"_s}},
            {u"UK"_s, {u"GB"_s}},
            {u"U.K."_s, {u"GB"_s}},
            {u"Great Britain"_s, {u"GB"_s}},
            {u"England"_s, {u"GB"_s, true}},
            {u"Scotland"_s, {u"GB"_s, true}},
            {u"Wales"_s, {u"GB"_s, true}},
            {u"Northern Ireland"_s, {u"GB"_s, true}},
            {u"Holland"_s, {u"NL"_s}},
            {u"Czech Republic"_s, {u"CZ"_s}},
            {u"Republic of Ireland"_s, {u"IE"_s}},
            {u"North Macedonia"_s, {u"MK"_s}},
            {u"Russian Federation"_s, {u"RU"_s}},
            {u"UAE"_s, {u"AE"_s}},
            {u"Vatican"_s, {u"VA"_s}},
            {u"Swaziland"_s, {u"SZ"_s}},
        };
        QHash<QString, QList<Place>> found;
        auto add = [&](const QString &name, const Place &place) {
            const QString key = fold(name);
            if (key.isEmpty())
                return;
            QList<Place> &list = found[key];
            if (std::none_of(list.begin(), list.end(), [&](const Place &p) { return p.country == place.country; }))
                list << place;
        };
        for (int t = 1; t <= int(QLocale::LastTerritory); ++t) {
            const auto territory = QLocale::Territory(t);
            const QString code = QLocale::territoryToCode(territory);
            const Place place = IsListedCountry(code) ? Place{code} : unlisted.value(code);
            if (place.country.isEmpty())
                continue;
            add(QLocale::territoryToString(territory), place);
            for (const QLocale &locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, territory))
                add(locale.nativeTerritoryName(), place);
        }
        for (const auto &[name, place] : aliases)
            add(name, place);
        QHash<QString, Place> places;
        for (auto it = found.begin(); it != found.end(); ++it)
            if (it->size() == 1) // a name two countries share names neither
                places.insert(it.key(), it->first());
        return places;
    }();
    return places;
}

std::optional<Place> placeNamed(const QString &text)
{
    if (text.size() == 2 && IsListedCountry(text))
        return Place{text};
    QString key = fold(text);
    if (text.size() == 2 && text == text.toUpper()) { // a code outside the list stands for its territory ("XK")
        const QLocale::Territory territory = QLocale::codeToTerritory(text);
        if (territory == QLocale::AnyTerritory)
            return std::nullopt;
        key = fold(QLocale::territoryToString(territory));
    }
    const auto found = placesByName().find(key);
    if (found == placesByName().end())
        return std::nullopt;
    return *found;
}

bool isContact(const QString &line)
{
    static const QRegularExpression web(u"^(?:https?://|www\\.)\\S+$"_s, QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression domain(u"^[a-z0-9-]+(?:\\.[a-z0-9-]+)*\\.[a-z]{2,}(?:/\\S*)?$"_s);
    static const QRegularExpression mail(u"^(?:e-?mail\\s*:?\\s*)?[^\\s@]+@[^\\s@]+\\.[^\\s@]+$"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression labelledPhone(
        u"^(?:tel(?:ephone)?|phone|fax|mobile|mob|cell|[tfm])\\.?\\s*:?\\s*[+(]?\\d[\\d\\s()./-]{4,}$"_s,
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression phone(u"^[+(]?[\\d\\s()./-]+$"_s);
    if (web.match(line).hasMatch() || domain.match(line).hasMatch() || mail.match(line).hasMatch()
        || labelledPhone.match(line).hasMatch())
        return true;
    // A number alone is a telephone number when it is longer than any postcode.
    const qsizetype digits = std::count_if(line.begin(), line.end(), [](QChar c) { return c.isDigit(); });
    return phone.match(line).hasMatch() && (digits >= 8 || (line.startsWith(u'+') && digits >= 6));
}

struct CityLine
{
    QString postcode, city, region;
};

// Postcode, city and region of one line by the country's pattern; a line
// that fits no pattern is the city.
CityLine readCity(const QString &line, const QString &country)
{
    QStringList regions = regionsOf(country);
    for (QString &r : regions)
        r = QRegularExpression::escape(r);
    const QString region = regions.join(u'|');
    auto match = [&](const QString &pattern) {
        return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(line);
    };
    for (const Pattern &p : patternsOf(country)) {
        // "70173 Stuttgart", "D-70173 Stuttgart"; "London SW1A 2AA", "Springfield, IL 62701"; the postcode alone
        const QRegularExpressionMatch m = p.first
            ? match(u"(?:[A-Z]{1,3}-)?(%1)(?:[,\\s]+(.+))?"_s.arg(p.postcode))
            : match(u"(?:(.+?)%2[,\\s]+)?(%1)"_s.arg(
                p.postcode, region.isEmpty() ? QString() : u"(?:[,\\s]+(%1)\\.?)?"_s.arg(region)));
        if (!m.hasMatch())
            continue;
        CityLine c = p.first ? CityLine{m.captured(1), m.captured(2), {}}
                             : CityLine{m.captured(region.isEmpty() ? 2 : 3), m.captured(1),
                                        region.isEmpty() ? QString() : m.captured(2)};
        if (c.region.isEmpty() && isRegionCode(c.city)) // "GA 30303"
            c.region = std::exchange(c.city, QString());
        return c;
    }
    if (!region.isEmpty()) { // "Atlanta, Georgia"
        const QRegularExpressionMatch m = match(u"(.+?),\\s*(%1)"_s.arg(region));
        if (m.hasMatch())
            return {{}, m.captured(1), m.captured(2)};
    }
    return {{}, line, {}};
}

} // namespace

QString CountryNamed(const QString &text)
{
    const std::optional<Place> place = placeNamed(text.trimmed());
    return place ? place->country : QString();
}

QString CountryName(const QString &code)
{
    if (code == u"1A")
        return u"Kosovo"_s;
    if (code == u"XI")
        return u"Northern Ireland"_s;
    const QLocale::Territory territory = QLocale::codeToTerritory(code);
    return territory == QLocale::AnyTerritory ? code : QLocale::territoryToString(territory);
}

PostalAddress ReadAddress(const QStringList &printed, const QString &fallbackCountry)
{
    QStringList lines;
    for (const QString &line : printed)
        if (const QString text = line.simplified(); !text.isEmpty() && !isContact(text))
            lines << text;

    PostalAddress address;
    if (!lines.isEmpty()) {
        const QString last = lines.last();
        const qsizetype comma = last.lastIndexOf(u',');
        const QString named = last.mid(comma + 1).trimmed(); // the whole line when there is no comma
        if (const std::optional<Place> place = placeNamed(named)) {
            QStringList rest = lines.first(lines.size() - 1);
            if (comma >= 0 && !last.left(comma).trimmed().isEmpty())
                rest << last.left(comma).trimmed();
            // A state's name or abbreviation names its country only above that
            // country's postcode; otherwise it is the state.
            const bool state = isRegion(named);
            if (!state || (!rest.isEmpty() && !readCity(rest.last(), place->country).postcode.isEmpty())) {
                address.country = place->country;
                if (place->part)
                    address.region = named;
            } else {
                address.region = named;
            }
            lines = rest;
        }
    }
    if (address.country.isEmpty()) {
        address.country = fallbackCountry;
        address.countryAssumed = true;
    }
    if (!lines.isEmpty() && address.region.isEmpty() && isRegionCode(lines.last()))
        address.region = lines.takeLast();

    if (!lines.isEmpty()) {
        CityLine city = readCity(lines.takeLast(), address.country);
        if (city.city.isEmpty() && !lines.isEmpty()) { // the postcode on a line of its own, below the city
            const CityLine above = readCity(lines.takeLast(), address.country);
            city.city = above.city;
            if (city.region.isEmpty())
                city.region = above.region;
            if (city.postcode.isEmpty())
                city.postcode = above.postcode;
        }
        address.postcode = city.postcode;
        address.city = city.city;
        if (address.region.isEmpty())
            address.region = city.region;
    }
    if (lines.size() > 3)
        lines = lines.first(2) << lines.sliced(2).join(u", "_s);
    address.lines = lines;
    return address;
}

} // namespace einvoice
