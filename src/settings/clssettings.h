// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class SettingsStore;
class MessageBox;

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
    clsSettings(SettingsStore &store, MessageBox &messages, QString appFolder,
                std::function<void(const QString &folderName)> createInvoiceFolder);

    void setSHTax(qint32 value);
    qint32 SHTax() const;
    void setTaxCharge(qint32 value);
    qint32 TaxCharge() const;
    void setInvoiceNumber(qint32 value);
    qint32 InvoiceNumber() const;
    // The tax rate in percent, kept with two decimals and "." as the decimal
    // point whatever the locale, so that the store moves between machines.
    void setTaxValue(double value);
    double TaxValue() const;
    void setTaxName(const QString &value);
    QString TaxName() const;
    void setCurrencyName(const QString &value);
    QString CurrencyName() const;
    void setFax(const QString &value);
    QString Fax() const;
    void setTel(const QString &value);
    QString Tel() const;
    void setFooter3(const QString &value);
    QString Footer3() const;
    void setFooter2(const QString &value);
    QString Footer2() const;
    void setFooter1(const QString &value);
    QString Footer1() const;
    void setAddress6(const QString &value);
    QString Address6() const;
    void setAddress5(const QString &value);
    QString Address5() const;
    void setAddress4(const QString &value);
    QString Address4() const;
    void setAddress3(const QString &value);
    QString Address3() const;
    void setAddress2(const QString &value);
    QString Address2() const;
    void setAddress1(const QString &value);
    QString Address1() const;
    void setCompanyName(const QString &value);
    QString CompanyName() const;
    void setLockSettings(const QString &value);
    QString LockSettings() const;
    void setTemplate(const QString &value);
    QString Template() const;
    void setLogo(const QString &value);
    QString Logo() const;
    void setInit(const QString &value);
    QString Init() const;

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
    void saveChecked(const QString &key, const QString &text);
    void save(const QString &key, const QString &text);
    QString get(const QString &key) const;

    SettingsStore &m_store;
    MessageBox &m_messages;
    QString m_appFolder;
    bool m_strictWrites = false; // set while the first-run values are written
    QString m_refusedKey;        // the setting whose last write was refused
};

// The text conversions of the store, shared with whoever shows or edits them.
namespace SettingsText {
QString fromLong(qint32 value);
qint32 toLong(const QString &text);      // rounds; "" or not a number gives 0
QString fromRate(double value);          // two decimals, "." as decimal point
double toRate(const QString &text);      // accepts "." or "," as decimal point
} // namespace SettingsText
