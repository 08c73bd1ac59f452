// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What an e-invoice costs beside the plain PDF of the same invoice: a full
// twelve-line invoice printed again and again in one process, as the window
// prints it, with e-invoicing switched off and on by turns.
#include "einvoice/einvoicedocument.h"
#include "einvoice/einvoicesettings.h"
#include "invoice/numbers.h"
#include "invoicepdf/invoicereport.h"
#include "pdfa3/pdfa3.h"
#include "platform/messagebox.h"
#include "platform/settingsstore.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QGuiApplication>
#include <QHash>
#include <QTemporaryDir>
#include <QTimeZone>

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

using invoicepdf::EngineInvoiceReport;
using invoicepdf::InvoiceDocument;
using invoicepdf::InvoiceValues;

using platform::ApplicationTitle;
using platform::Message;
using platform::MessageBox;
using platform::SettingsStore;

using invoice::Amount;
using invoice::CalculateTotals;
using invoice::FormatAmount;
using invoice::LineTotal;
using invoice::TotalsFigures;
using invoice::TotalsInput;

using namespace Qt::StringLiterals;

namespace {

// Agrees to replace the invoice written by the iteration before.
class AgreeingMessages : public MessageBox
{
public:
    Message::Answer show(const Message &) override { return Message::Answer::Yes; }
};

// The e-invoicing settings in memory: the store's file is not what is measured.
class MemoryStore : public SettingsStore
{
public:
    QString GetSetting(const QString &, const QString &section, const QString &key) const override
    {
        return m_values.value(section + u'/' + key);
    }
    bool SaveSetting(const QString &, const QString &section, const QString &key, const QString &text) override
    {
        m_values.insert(section + u'/' + key, text);
        return true;
    }
    QString errorString() const override { return {}; }

private:
    QHash<QString, QString> m_values;
};

// Twelve lines, every other one taxed, with surcharge, discount and shipping.
struct FullInvoice
{
    InvoiceValues values;
    TotalsInput totals;

    FullInvoice()
    {
        InvoiceValues &v = values;
        v.companyName = u"Ferncask GmbH"_s;
        v.invoiceNumber = u"1042"_s;
        v.companyDetails = {u"Hafenstrasse 4"_s, u"20457 Hamburg"_s, {}, {}, {}, u"Germany"_s};
        v.customerDetails = {u"Harbour Cafe"_s, u"Attn: Accounts"_s, u"Kaiserstr. 1"_s, {}, u"60311 Frankfurt"_s, {}};
        for (int i = 0; i < InvoiceValues::LineCount; ++i) {
            const QString quantity = QString::number(i + 2);
            const QString price = u"%1.99"_s.arg(i * 7 + 3);
            const QString total = FormatAmount(LineTotal(quantity, price), 2);
            v.lines[i] = {quantity, u"Oak chair, model %1"_s.arg(i + 1), price, total};
            totals.lineTotals[i] = total;
            totals.taxable[i] = i % 2 == 0;
        }
        totals.surcharge1 = u"10"_s;
        totals.discount = u"5"_s;
        totals.shipping = u"4.50"_s;
        totals.surcharge2 = u"0"_s;
        totals.received = u"0"_s;
        totals.shTax = 1;
        totals.taxValue = Amount::fromUnits(190000);
        totals.taxCharge = 1;
        TotalsFigures f;
        CalculateTotals(totals, f);
        const auto cents = [](Amount value) { return FormatAmount(value, 2); };
        v.subTotal = cents(f.subTotal);
        v.surcharge1Amount = cents(f.surcharge1);
        v.surcharge2Amount = cents(f.surcharge2);
        v.discountAmount = cents(f.discount);
        v.shipping = u"4.50"_s;
        v.tax = cents(f.tax);
        v.total = cents(f.total);
        v.received = u"0.00"_s;
        v.balance = cents(f.balance);
        v.paymentMethod = u"TRANSFER"_s;
        v.footers = {u"Thank you"_s, {}, {}};
        v.currency = u"EUR"_s;
        v.taxHeading = u"+VAT@19%"_s;
        v.taxCharge = 1;
        v.taxValue = Amount::fromUnits(190000);
        v.surcharge1Percent = u"10"_s;
        v.discountPercent = u"5"_s;
    }
};

// A started program's documents: one engine, a throw-away application folder.
class Printer
{
public:
    Printer()
    {
        QFile::copy(QStringLiteral(QUILLBOOK_APP_DIR "/invferncask.rep"), m_appFolder.filePath(u"invferncask.rep"_s));
        QFile::copy(QStringLiteral(QUILLBOOK_APP_DIR "/logo.jpg"), m_appFolder.filePath(u"logo.jpg"_s));
        QDir().mkpath(m_appFolder.filePath(u"invoices"_s));
        for (const auto &[key, value] : QList<std::pair<QString, QString>>{{u"VatId"_s, u"DE123456789"_s},
                                                                           {u"SellerCountry"_s, u"DE"_s},
                                                                           {u"Currency"_s, u"EUR"_s},
                                                                           {u"BuyerCountry"_s, u"DE"_s},
                                                                           {u"UntaxedCategory"_s, u"Z"_s},
                                                                           {u"PaymentDays"_s, u"14"_s},
                                                                           {u"IBAN"_s, u"DE89370400440532013000"_s},
                                                                           {u"BIC"_s, u"COBADEFFXXX"_s}})
            m_store.SaveSetting(ApplicationTitle(), einvoice::SettingsSection(), key, value);
        m_report.engine().setFontsFolder(QStringLiteral(QUILLBOOK_APP_DIR "/fonts"));
    }

    // Prints the invoice, replacing the one printed before; the e-invoice
    // has a number of its own, so each kind replaces its own kind.
    std::optional<QString> print(bool einvoicing)
    {
        m_store.SaveSetting(ApplicationTitle(), einvoice::SettingsSection(), u"Enabled"_s,
                            einvoicing ? u"1"_s : u"0"_s);
        InvoiceValues values = m_invoice.values;
        values.invoiceNumber = einvoicing ? u"1043"_s : u"1042"_s;
        const InvoiceDocument document{m_appFolder.path(), u"invferncask.rep"_s, false, QDate(2026, 3, 14)};
        return einvoice::WriteInvoiceDocument(m_report, m_messages, m_store, document, values, m_invoice.totals);
    }

    QByteArray xml() const
    {
        const auto outcome = einvoice::BuildInvoice(m_invoice.values, m_invoice.totals, einvoice::ReadSettings(m_store),
                                                    QDate(2026, 3, 14));
        return outcome.invoice ? einvoice::FacturXXml(*outcome.invoice) : QByteArray();
    }

private:
    QTemporaryDir m_appFolder;
    MemoryStore m_store;
    EngineInvoiceReport m_report;
    AgreeingMessages m_messages;
    const FullInvoice m_invoice;
};

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Whether the file was written as asked: an e-invoice that was refused is a plain PDF.
bool writtenAs(const std::optional<QString> &path, bool einvoicing)
{
    QFile file(path.value_or(QString()));
    return path && file.open(QIODevice::ReadOnly) && file.readAll().contains("factur-x.xml") == einvoicing;
}

// Each iteration prints the plain PDF and then the e-invoice, so that both
// meet the same load on a shared machine; the counters are their medians in
// milliseconds and the ratio of the two.
void PlainThenEInvoice(benchmark::State &state)
{
    Printer printer;
    std::vector<double> plain;
    std::vector<double> einvoice;
    using Clock = std::chrono::steady_clock;
    const auto milliseconds = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    for (auto _ : state) {
        const auto start = Clock::now();
        const std::optional<QString> plainPath = printer.print(false);
        const auto between = Clock::now();
        const std::optional<QString> einvoicePath = printer.print(true);
        const auto end = Clock::now();
        plain.push_back(milliseconds(between - start));
        einvoice.push_back(milliseconds(end - between));
        state.PauseTiming();
        if (!writtenAs(plainPath, false) || !writtenAs(einvoicePath, true)) {
            state.SkipWithError("the invoice was not written as asked");
            break;
        }
        state.ResumeTiming();
    }
    state.counters["plain_ms"] = median(plain);
    state.counters["einvoice_ms"] = median(einvoice);
    state.counters["ratio"] = median(einvoice) / median(plain);
}
BENCHMARK(PlainThenEInvoice)->Unit(benchmark::kMillisecond)->Iterations(30)->UseRealTime();

// The attaching alone: the engine's page and the invoice's XML made into the
// PDF/A-3, written in place of the one before.
void AttachXml(benchmark::State &state)
{
    Printer printer;
    QTemporaryDir dir;
    const QString page = dir.filePath(u"page.pdf"_s);
    const QString einvoice = dir.filePath(u"INV1042.pdf"_s);
    const std::optional<QString> printed = printer.print(false);
    if (!printed || !QFile::copy(*printed, page))
        state.SkipWithError("no page was written");
    const pdfa3::Attachment xml{printer.xml(),         einvoice::FacturXFileName(),
                                u"text/xml"_s,         u"Alternative"_s,
                                u"Factur-X invoice"_s, QDateTime(QDate(2026, 3, 14), QTime(0, 0), QTimeZone::utc())};
    QString error;
    for (auto _ : state) {
        if (!pdfa3::WritePdfA3(page, einvoice, xml, einvoice::FacturXSchema(), &error))
            state.SkipWithError(error.toUtf8().constData());
    }
}
BENCHMARK(AttachXml)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
