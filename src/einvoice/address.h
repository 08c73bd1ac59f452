// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace einvoice {

// A postal address as an e-invoice carries it.
struct PostalAddress
{
    QStringList lines; // at most three, in printed order; the surplus joins the third
    QString postcode;
    QString city;
    QString region;              // a state, province or region line, as printed
    QString country;             // a code of the rules' list
    bool countryAssumed = false; // no line named the country: it is the fallback
};

// Reads address lines as printed, the name already taken off. Empty lines
// and lines that are a web address, an e-mail address or a telephone number
// are not part of it. The country is read only from a last line, or the
// last part of it after a comma, that is unmistakably a country: its name
// in English or in a language of its own, or its code standing alone. A
// word that may as well be a state or province (Georgia, CA, DE) counts
// only when the line above it has that country's postcode and city;
// otherwise it is the region. Postcode and city come from the last line
// left, read by the country's usual pattern: "70173 Stuttgart",
// "London SW1A 2AA", "Springfield, IL 62701".
PostalAddress ReadAddress(const QStringList &lines, const QString &fallbackCountry);

// The country code that a text names on its own ("Germany", "Deutschland",
// "UK", "DE"); empty when it names none, or more than one.
QString CountryNamed(const QString &text);

// The English name of a country code of the rules' list ("Kosovo" for 1A).
QString CountryName(const QString &code);

} // namespace einvoice
