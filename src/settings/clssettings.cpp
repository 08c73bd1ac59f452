// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/clssettings.h"
#include <QRegularExpression>
#include "invoice/runtimeerror.h"
#include "invoice/numbers.h"

#include "platform/filesystem.h"
#include "platform/messagebox.h"
#include "platform/settingsstore.h"

#include <QLocale>

#include <cmath>
#include <utility>
#include <limits>

using platform::ApplicationTitle;
using platform::AppPath;
using platform::MessageBox;
using platform::SettingsStore;

using invoice::Amount;
using invoice::FormatAmount;
using invoice::NumericAmount;
using invoice::RuntimeError;

namespace settings {

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

QString fromRate(Amount value)
{
    return FormatAmount(value, 2).remove(u',');
}

Amount toRate(const QString &text)
{
    QString t = text.trimmed();
    // A rate written where "," is the decimal point ("5,00") still reads as 5.
    if (t.contains(u'.'))
        t.remove(u',');
    else
        t.replace(u',', u'.');
    static const QRegularExpression decimal(u"^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"_s);
    if (!decimal.match(t).hasMatch())
        return {};
    try {
        return NumericAmount(t);
    } catch (const RuntimeError &) {
        return {};
    }
}

} // namespace SettingsText

clsSettings::clsSettings(SettingsStore &store, MessageBox &messages, QString appFolder,
                         std::function<void(const QString &)> createInvoiceFolder)
    : m_store(store), m_messages(messages), m_appFolder(std::move(appFolder))
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
    struct FirstRun
    {
        const char *key;
        const char *text;
    };
#define QUILLBOOK_SETTING_FIRST_RUN(name, key, type, first) {key, first},
    static constexpr FirstRun values[] = {QUILLBOOK_SETTINGS(QUILLBOOK_SETTING_FIRST_RUN)};
#undef QUILLBOOK_SETTING_FIRST_RUN
    m_strictWrites = true;
    try {
        for (const FirstRun &value : values) {
            const QString key = QString::fromLatin1(value.key);
            save(key, key == u"Logo" ? AppPath(m_appFolder, u"logo.jpg"_s) : QString::fromUtf8(value.text));
        }
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

} // namespace settings
