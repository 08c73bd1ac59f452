// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "invoice/amount.h"

#include <QString>

#include <functional>

namespace platform {
class SettingsStore;
}
namespace platform {
class MessageBox;
}

// Every setting, once: its accessor name, its key in the store, its type and
// its first-run value as stored (the logo's is made from the application
// folder). The first run writes them in this order; Init, the marker of a
// finished first run, comes last, so that a first run stopped halfway is run
// again at the next start.
//
// Types: Long is a 32-bit whole number stored as plain decimal text; Rate is
// the tax rate in percent, stored with two decimals and "." as the decimal
// point whatever the locale, so that the store moves between machines;
// String is stored exactly as given.
#define QUILLBOOK_SETTINGS(X)                                                                                          \
    X(LockSettings, "LockSettings", String, "1")                                                                       \
    X(CompanyName, "CompanyName", String, "Company Name")                                                              \
    X(Address1, "Address1", String, "Address 1")                                                                       \
    X(Address2, "Address2", String, "Address 2")                                                                       \
    X(Address3, "Address3", String, "Address 3")                                                                       \
    X(Address4, "Address4", String, "Address 4")                                                                       \
    X(Address5, "Address5", String, "Address 5")                                                                       \
    X(Address6, "Address6", String, "Address 6")                                                                       \
    X(Footer1, "Footer1", String, "example: PAYMENT DUE IN 30 DAYS")                                                   \
    X(Footer2, "Footer2", String, "example: Registered Address")                                                       \
    X(Footer3, "Footer3", String, "example: Tax/VAT Registration Number")                                              \
    X(Tel, "Tel", String, "0123456789")                                                                                \
    X(Fax, "Fax", String, "0123456789")                                                                                \
    X(CurrencyName, "Currency", String, "$ US Dollars")                                                                \
    X(SHTax, "SHTax", Long, "0")                                                                                       \
    X(TaxName, "TaxName", String, "TAX")                                                                               \
    X(TaxValue, "TaxValue", Rate, "5.00")                                                                              \
    X(InvoiceNumber, "InvoiceNumber", Long, "1001")                                                                    \
    X(TaxCharge, "TaxCharge", Long, "1")                                                                               \
    X(Template, "Template", String, "invferncask.rep")                                                                 \
    X(Logo, "Logo", String, "")                                                                                        \
    X(Init, "Init", String, "1")

namespace settings {

// The store's texts and the values the program works with.
namespace SettingsText {
QString fromLong(qint32 value);
qint32 toLong(const QString &text);          // rounds; "" or not a number gives 0
QString fromRate(invoice::Amount value);     // two decimals, "." as decimal point
invoice::Amount toRate(const QString &text); // accepts "." or "," as decimal point; 0 for no number
} // namespace SettingsText

// The company, tax, numbering, template and logo settings. Holds nothing
// itself: every read is a lookup in the per-user store and every write reaches
// the store before it returns. A refused write leaves the old value and is
// told in one message naming the file and the cause (one for a run of
// refusals of the same setting, as typing makes); a read that cannot
// complete gives "" or 0.
class clsSettings
{
public:
    // Runs the first-run initialisation: when the store has never been
    // initialised, writes every first-run value and creates the invoices
    // folder through createInvoiceFolder.
    clsSettings(platform::SettingsStore &store, platform::MessageBox &messages, QString appFolder,
                std::function<void(const QString &folderName)> createInvoiceFolder);

    using Long = qint32;
    using Rate = invoice::Amount;
    using String = QString;

    // A write and a read for every setting of the table: setTaxValue(rate),
    // TaxValue(), setCompanyName(...), CompanyName(), ...
#define QUILLBOOK_SETTING_ACCESSORS(name, key, type, first)                                                            \
    void set##name(const type &value)                                                                                  \
    {                                                                                                                  \
        save(QStringLiteral(key), toText(value));                                                                      \
    }                                                                                                                  \
    type name() const                                                                                                  \
    {                                                                                                                  \
        return fromText<type>(get(QStringLiteral(key)));                                                               \
    }
    QUILLBOOK_SETTINGS(QUILLBOOK_SETTING_ACCESSORS)
#undef QUILLBOOK_SETTING_ACCESSORS

    // Address line n (1 to 6) and footer line n (1 to 3), for the boxes that
    // edit them as arrays.
    void setAddress(int line, const QString &value);
    QString Address(int line) const;
    void setFooter(int line, const QString &value);
    QString Footer(int line) const;

    // The section that holds every setting.
    static QString section();

private:
    void firstRunInitialisation(const std::function<void(const QString &)> &createInvoiceFolder);
    void save(const QString &key, const QString &text);
    QString get(const QString &key) const;

    static QString toText(Long value)
    {
        return SettingsText::fromLong(value);
    }
    static QString toText(Rate value)
    {
        return SettingsText::fromRate(value);
    }
    static QString toText(const String &value)
    {
        return value;
    }
    template<typename T>
    static T fromText(const QString &text)
    {
        if constexpr (std::is_same_v<T, Long>)
            return SettingsText::toLong(text);
        else if constexpr (std::is_same_v<T, Rate>)
            return SettingsText::toRate(text);
        else
            return text;
    }

    platform::SettingsStore &m_store;
    platform::MessageBox &m_messages;
    QString m_appFolder;
    bool m_strictWrites = false; // set while the first-run values are written
    QString m_refusedKey;        // the setting whose last write was refused
};

} // namespace settings
