// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/clssettings.h"

#include "platform/filesystem.h"
#include "platform/messagebox.h"
#include "platform/settingsstore.h"

#include <QLocale>

#include <cmath>
#include <utility>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// A first-run write that the store refused.
struct StoreRefused
{
    QString description;
};

} // namespace

namespace SettingsText {

QString fromLong(qint32 value)
{
    return QString::number(value);
}

qint32 toLong(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return 0;
    // Halves go to the even neighbour, as whole-number conversions do elsewhere.
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
        return 0;
    return static_cast<qint32>(rounded);
}

QString fromRate(double value)
{
    if (!std::isfinite(value))
        value = 0;
    return QString::number(std::round(value * 100.0) / 100.0, 'f', 2);
}

double toRate(const QString &text)
{
    QString t = text.trimmed();
    // A rate written where "," is the decimal point ("5,00") still reads as 5.
    if (t.contains(u'.'))
        t.remove(u',');
    else
        t.replace(u',', u'.');
    bool ok = false;
    const double value = QLocale::c().toDouble(t, &ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

} // namespace SettingsText

clsSettings::clsSettings(SettingsStore &store, MessageBox &messages, QString appFolder,
                         std::function<void(const QString &)> createInvoiceFolder)
    : m_store(store)
    , m_messages(messages)
    , m_appFolder(std::move(appFolder))
{
    firstRunInitialisation(createInvoiceFolder);
}

QString clsSettings::section()
{
    return u"Settings"_s;
}

void clsSettings::firstRunInitialisation(const std::function<void(const QString &)> &createInvoiceFolder)
{
    if (!Init().isEmpty())
        return;
    m_strictWrites = true;
    try {
        setLockSettings(u"1"_s);
        setCompanyName(u"Company Name"_s);
        for (int line = 1; line <= 6; ++line)
            setAddress(line, u"Address %1"_s.arg(line));
        setFooter1(u"example: PAYMENT DUE IN 30 DAYS"_s);
        setFooter2(u"example: Registered Address"_s);
        setFooter3(u"example: Tax/VAT Registration Number"_s);
        setTel(u"0123456789"_s);
        setFax(u"0123456789"_s);
        setCurrencyName(u"$ US Dollars"_s);
        setSHTax(0);
        setTaxName(u"TAX"_s);
        setTaxValue(5);
        setInvoiceNumber(1001);
        setTaxCharge(1);
        setTemplate(u"invferncask.rep"_s);
        setLogo(AppPath(m_appFolder, u"logo.jpg"_s));
        // Last, so that a first run stopped halfway is run again next time.
        setInit(u"1"_s);
        m_strictWrites = false;
        createInvoiceFolder(u"invoices"_s);
    } catch (const StoreRefused &refused) {
        m_strictWrites = false;
        m_messages.inform(refused.description);
    }
}

void clsSettings::save(const QString &key, const QString &text)
{
    if (m_store.SaveSetting(ApplicationTitle(), section(), key, text)) {
        m_refusedKey.clear();
        return;
    }
    if (m_strictWrites)
        throw StoreRefused{m_store.errorString()};
    // Typing into a box writes at every keystroke: one message for the run
    // of refusals of the same setting.
    if (std::exchange(m_refusedKey, key) != key)
        m_messages.inform(m_store.errorString());
}

QString clsSettings::get(const QString &key) const
{
    return m_store.GetSetting(ApplicationTitle(), section(), key);
}

void clsSettings::setSHTax(qint32 value) { save(u"SHTax"_s, SettingsText::fromLong(value)); }
qint32 clsSettings::SHTax() const { return SettingsText::toLong(get(u"SHTax"_s)); }
void clsSettings::setTaxCharge(qint32 value) { save(u"TaxCharge"_s, SettingsText::fromLong(value)); }
qint32 clsSettings::TaxCharge() const { return SettingsText::toLong(get(u"TaxCharge"_s)); }
void clsSettings::setInvoiceNumber(qint32 value) { save(u"InvoiceNumber"_s, SettingsText::fromLong(value)); }
qint32 clsSettings::InvoiceNumber() const { return SettingsText::toLong(get(u"InvoiceNumber"_s)); }
void clsSettings::setTaxValue(double value) { save(u"TaxValue"_s, SettingsText::fromRate(value)); }
double clsSettings::TaxValue() const { return SettingsText::toRate(get(u"TaxValue"_s)); }
void clsSettings::setTaxName(const QString &value) { save(u"TaxName"_s, value); }
QString clsSettings::TaxName() const { return get(u"TaxName"_s); }
void clsSettings::setCurrencyName(const QString &value) { save(u"Currency"_s, value); }
QString clsSettings::CurrencyName() const { return get(u"Currency"_s); }
void clsSettings::setFax(const QString &value) { save(u"Fax"_s, value); }
QString clsSettings::Fax() const { return get(u"Fax"_s); }
void clsSettings::setTel(const QString &value) { save(u"Tel"_s, value); }
QString clsSettings::Tel() const { return get(u"Tel"_s); }
void clsSettings::setFooter3(const QString &value) { save(u"Footer3"_s, value); }
QString clsSettings::Footer3() const { return get(u"Footer3"_s); }
void clsSettings::setFooter2(const QString &value) { save(u"Footer2"_s, value); }
QString clsSettings::Footer2() const { return get(u"Footer2"_s); }
void clsSettings::setFooter1(const QString &value) { save(u"Footer1"_s, value); }
QString clsSettings::Footer1() const { return get(u"Footer1"_s); }
void clsSettings::setAddress6(const QString &value) { save(u"Address6"_s, value); }
QString clsSettings::Address6() const { return get(u"Address6"_s); }
void clsSettings::setAddress5(const QString &value) { save(u"Address5"_s, value); }
QString clsSettings::Address5() const { return get(u"Address5"_s); }
void clsSettings::setAddress4(const QString &value) { save(u"Address4"_s, value); }
QString clsSettings::Address4() const { return get(u"Address4"_s); }
void clsSettings::setAddress3(const QString &value) { save(u"Address3"_s, value); }
QString clsSettings::Address3() const { return get(u"Address3"_s); }
void clsSettings::setAddress2(const QString &value) { save(u"Address2"_s, value); }
QString clsSettings::Address2() const { return get(u"Address2"_s); }
void clsSettings::setAddress1(const QString &value) { save(u"Address1"_s, value); }
QString clsSettings::Address1() const { return get(u"Address1"_s); }
void clsSettings::setCompanyName(const QString &value) { save(u"CompanyName"_s, value); }
QString clsSettings::CompanyName() const { return get(u"CompanyName"_s); }
void clsSettings::setLockSettings(const QString &value) { save(u"LockSettings"_s, value); }
QString clsSettings::LockSettings() const { return get(u"LockSettings"_s); }
void clsSettings::setTemplate(const QString &value) { save(u"Template"_s, value); }
QString clsSettings::Template() const { return get(u"Template"_s); }
void clsSettings::setLogo(const QString &value) { save(u"Logo"_s, value); }
QString clsSettings::Logo() const { return get(u"Logo"_s); }
void clsSettings::setInit(const QString &value) { save(u"Init"_s, value); }
QString clsSettings::Init() const { return get(u"Init"_s); }

void clsSettings::setAddress(int line, const QString &value)
{
    if (line >= 1 && line <= 6)
        save(u"Address%1"_s.arg(line), value);
}

QString clsSettings::Address(int line) const
{
    return line >= 1 && line <= 6 ? get(u"Address%1"_s.arg(line)) : QString();
}

void clsSettings::setFooter(int line, const QString &value)
{
    if (line >= 1 && line <= 3)
        save(u"Footer%1"_s.arg(line), value);
}

QString clsSettings::Footer(int line) const
{
    return line >= 1 && line <= 3 ? get(u"Footer%1"_s.arg(line)) : QString();
}
