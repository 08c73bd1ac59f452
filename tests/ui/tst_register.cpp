// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrytest.h"

#include "app/registercommand.h"
#include "invoice/numbers.h"
#include "register/clsregister.h"
#include "register/registerrebuild.h"
#include "ui/frmregister.h"

#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>

using invoice::Amount;
using invoice::NumericAmount;
using invoiceregister::clsRegister;
using invoiceregister::RegisterRecord;
using platform::Message;

using namespace Qt::StringLiterals;

namespace {

const QString EInvoicing
    = u"EInvoice/Enabled=1;EInvoice/VatId=DE123456789;EInvoice/SellerCountry=DE;EInvoice/"
      "Currency=EUR;EInvoice/BuyerCountry=DE;EInvoice/UntaxedCategory=Z;EInvoice/PaymentDays=14;TaxValue=19;"_s;

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class RegisterWindowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_app;

    // Starts the window on the settings given as "key=value;..." after the
    // common ones; "EInvoice/key" is an e-invoicing setting.
    void start(const QString &settings = {})
    {
        m_app = std::make_unique<WindowFixture>();
        m_app->addFile(u"invferncask.rep"_s, contents(QStringLiteral(QUILLBOOK_APP_DIR "/invferncask.rep")));
        for (const QString &pair : (u"Init=1;Template=invferncask.rep;CompanyName=Fern & Cask Ltd;Currency=EUR;"
                                    "TaxName=VAT;TaxValue=17.5;TaxCharge=1;SHTax=1;InvoiceNumber=1001;Logo=;"_s
                                    + settings)
                                       .split(u';', Qt::SkipEmptyParts))
            QSettings(m_app->storeFile(), QSettings::IniFormat)
                .setValue((pair.contains(u'/') ? u""_s : u"Settings/"_s) + pair.section(u'=', 0, 0),
                          pair.section(u'=', 1));
        QVERIFY(QDir().mkpath(m_app->path(u"invoices"_s)));
        QVERIFY(m_app->start());
    }

    // Fills the sheet with one line and the adjustments "surcharge 1|discount|
    // shipping|surcharge 2|received", then prints it as the next invoice.
    void print(const QString &customer, const QString &line, const QString &adjustments = u"0|0|0|0|0"_s,
               std::initializer_list<Message::Answer> more = {})
    {
        ui::frmMain2 &w = m_app->window();
        w.txtCustomerDetails[0]->setText(customer);
        w.txtCustomerDetails[5]->setText(u"Germany"_s);
        QLineEdit *boxes[] = {w.txtQty[0], w.txtDescription[0], w.txtUnitPrice[0], w.txtSurcharge1, w.txtDiscount,
                              w.txtSH,     w.txtSurcharge2,     w.txtReceived};
        const QStringList cells = line.split(u'|') + adjustments.split(u'|');
        for (int i = 0; i < 8; ++i)
            boxes[i]->setText(cells[i]);
        m_app->messages.expect(Message::Answer::Yes);
        for (Message::Answer answer : more)
            m_app->messages.expect(answer);
        QTest::mouseClick(m_app->control(u"cmdPreview"_s), Qt::LeftButton);
    }

    QList<RegisterRecord> records() const
    {
        clsRegister reg(m_app->appFolder());
        reg.open();
        return reg.records();
    }

    int exportRegister(const QStringList &options, QString *error)
    {
        return modMain::ExportRegister(
            QStringList{u"quillbook"_s, u"--export-register"_s, m_app->path(u"register.csv"_s)} + options,
            m_app->appFolder(), error);
    }

private slots:
    void cleanup()
    {
        QCOMPARE(m_app->messages.pending(), 0);
        m_app.reset();
    }

    // Each printed invoice is recorded with the figures on its PDF; a rebuild
    // from the PDF alone restores an e-invoice's record and lists a plain PDF.
    void recordsWhatIsPrinted_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("adjustments");
        QTest::newRow("e-invoice") << EInvoicing << u"2|Oak chair|10.99"_s << u"5|10|7.5|0|50"_s;
        QTest::newRow("e-invoice, credit note") << EInvoicing << u"2|Returned chair|-10"_s << u"0|0|4|0|0"_s;
        QTest::newRow("no tax charged, every adjustment")
            << u"TaxCharge=0"_s << u"2|Oak chair|10.99"_s << u"10|5|4|2|20"_s;
    }

    void recordsWhatIsPrinted()
    {
        QFETCH(QString, settings);
        QFETCH(QString, line);
        QFETCH(QString, adjustments);
        start(settings);
        print(u"Harbour Cafe"_s, line, adjustments);
        const QList<RegisterRecord> list = records();
        QCOMPARE(list.size(), 1);
        const RegisterRecord &r = list[0];
        QMap<QString, QString> parameter;
        for (const auto &[key, value] : m_app->report.parameters)
            parameter[key] = value;
        const QString pdf = m_app->path(u"invoices/INV1001.pdf"_s);
        QCOMPARE(r.number, parameter.value(u"PINVOICENUMBER"_s));
        QCOMPARE(r.issued, QDateTime(m_app->clock.day, m_app->clock.time));
        for (int k = 0; k < RegisterRecord::CustomerLines; ++k)
            QCOMPARE(r.customer[k], parameter.value(u"PCUSTOMERDETAILS%1"_s.arg(k + 1)));
        const std::pair<Amount, QString> figures[]
            = {{r.subTotal, u"PSUBTOTAL"_s},    {r.shipping, u"PSHIPPING"_s}, {r.tax, u"PTAX"_s},
               {r.total, u"PTOTAL"_s},          {r.received, u"PRECEIVED"_s}, {r.balance, u"PBALANCE"_s},
               {r.surcharge2, u"PSURCHARGE2"_s}};
        for (const auto &[amount, name] : figures)
            QVERIFY2(amount == NumericAmount(parameter.value(name)), qPrintable(name));
        QCOMPARE(r.taxRate.has_value(), !settings.contains(u"TaxCharge=0"_s));
        QCOMPARE(r.taxRate.value_or(Amount()), NumericAmount(parameter.value(u"PTAXVALUE"_s))); // "0" if not charged
        QCOMPARE(r.currency, parameter.value(u"PCURRENCY"_s));
        QCOMPARE(r.paymentMethod, parameter.value(u"PPAYMENTMETHOD"_s));
        QCOMPARE(r.eInvoice, settings == EInvoicing);

        QTemporaryDir copy;
        QVERIFY(QDir().mkpath(copy.filePath(u"invoices"_s)));
        QVERIFY(QFile::copy(pdf, copy.filePath(u"invoices/INV1001.pdf"_s)));
        clsRegister rebuilt(copy.path());
        QCOMPARE(invoiceregister::RebuildRegister(rebuilt).unread.isEmpty(), r.eInvoice);
        const RegisterRecord b = rebuilt.records().value(0);
        if (r.eInvoice) {
            QCOMPARE(b.number + b.issued.date().toString(), r.number + r.issued.date().toString());
            QCOMPARE(QList<Amount>({b.subTotal, b.shipping, b.tax, b.total, b.received, b.balance}),
                     QList<Amount>({r.subTotal, r.shipping, r.tax, r.total, r.received, r.balance}));
            QCOMPARE(b.taxRate, r.taxRate);
            QCOMPARE(b.sha256, r.sha256);
            QVERIFY(b.rebuilt);
        }
        QCOMPARE(invoiceregister::RebuildRegister(rebuilt).added, 0);
    }

    // One run through the real window: a print refused by a busy register,
    // two printed, the register opened: records, PDFs, totals, narrowed, exported.
    void registerWindow()
    {
        start();
        records(); // the register exists
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"other"_s);
            other.setDatabaseName(clsRegister::DatabasePath(m_app->appFolder()));
            QVERIFY(other.open());
            QSqlQuery hold(other);
            QVERIFY(hold.exec(u"BEGIN EXCLUSIVE"_s));
            print(u"Harbour Cafe"_s, u"1|Oak chair|10"_s, u"0|0|0|0|0"_s, {Message::Answer::Ok});
            QVERIFY(hold.exec(u"ROLLBACK"_s));
        }
        QSqlDatabase::removeDatabase(u"other"_s);
        const QList<Message> shown = m_app->messages.takeShown();
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown.last().text.contains(u"in use by another Quillbook"_s), qPrintable(shown.last().text));
        QCOMPARE(m_app->stored(u"InvoiceNumber"_s), u"1001"_s);
        QCOMPARE(m_app->text(u"txtDescription(0)"_s), u"Oak chair"_s);
        QVERIFY(m_app->shell.opened.isEmpty());
        QVERIFY(!QFile::exists(m_app->path(u"invoices/INV1001.pdf"_s)));

        print(u"Harbour Cafe"_s, u"2|Oak chair|10"_s, u"0|0|4|0|0"_s);
        m_app->clock.day = QDate(2026, 4, 2);
        print(u"Quay Books"_s, u"1|Shelf|100"_s, u"0|0|0|0|50"_s);
        QVERIFY(QFile::remove(m_app->path(u"invoices/INV1001.pdf"_s)));

        m_app->window().mnuInvoiceRegister->trigger();
        auto *w = m_app->window().findChild<ui::frmRegister *>();
        QVERIFY(w && w->isVisible());
        QTableView *list = w->tblRecords;
        QCOMPARE(list->model()->rowCount(), 2);
        const auto cell = [&](int row, int column) { return list->model()->index(row, column).data().toString(); };
        QCOMPARE(cell(0, 0), u"INV1002"_s); // newest first
        QCOMPARE(cell(0, 3), u"Quay Books"_s);
        QTRY_COMPARE(cell(0, 10), u"present"_s);
        QTRY_COMPARE(cell(1, 10), u"missing"_s);
        QTRY_COMPARE(w->lblChain->text(), u"Hash chain: intact"_s);
        // scripts/screenshots asks for a picture of the window as it stands now.
        if (const QString shots = qEnvironmentVariable("QUILLBOOK_SCREENSHOTS"); !shots.isEmpty())
            QVERIFY(w->grab().save(QDir(shots).filePath(u"register-window.png"_s)));

        QTableWidget *totals = w->tblTotals;
        QCOMPARE(totals->rowCount(), 3); // two quarters and their sum

        // Narrowed by typing, then sorted by a click on a heading.
        QTest::keyClicks(w->txtFilter, u"harbour"_s);
        QCOMPARE(list->model()->rowCount(), 1);
        QCOMPARE(totals->rowCount(), 2);
        w->txtFilter->clear();
        list->horizontalHeader()->setSortIndicator(2, Qt::AscendingOrder);
        QCOMPARE(cell(0, 0), u"INV1001"_s);

        // Enter on a row opens its PDF through the desktop.
        list->setFocus();
        list->setCurrentIndex(list->model()->index(1, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(m_app->shell.opened.last(), m_app->path(u"invoices/INV1002.pdf"_s));

        // Tab reaches every control, and each has a spoken name.
        QSet<QWidget *> reached;
        w->txtFilter->setFocus();
        for (int i = 0; i < 30; ++i) {
            reached.insert(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        for (QWidget *control : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            QVERIFY2(control->focusPolicy() == Qt::NoFocus
                         || (!control->accessibleName().isEmpty() && reached.contains(control)),
                     qPrintable(control->objectName()));

        // The export of what is shown, and on the command line, narrowed by date.
        const QString csv = m_app->path(u"register.csv"_s);
        m_app->fileDialog.expect(csv);
        w->cmdExport->click();
        QCOMPARE(contents(csv).count('\n'), 3); // header and two records
        // Every line taxed: 24.00 with shipping, 4.20 tax.
        QVERIFY(contents(csv).split('\n').value(1).startsWith(
            "1001,1,no,2026-03-14,10:30:00,Harbour Cafe,,,,,Germany,20.00,4.00,24.00,17.50,4.20,28.20,"));
        // A file that cannot be written is reported.
        m_app->fileDialog.expect(m_app->path(u"gone/register.csv"_s));
        m_app->messages.expect(Message::Answer::Ok);
        w->cmdExport->click();
        const QList<Message> failed = m_app->messages.takeShown();
        QVERIFY(!failed.isEmpty() && failed.last().text.contains(u"register.csv cannot be written"_s));
        QString error;
        QCOMPARE(exportRegister({u"--from"_s, u"2026-04-01"_s}, &error), 0);
        QCOMPARE(contents(csv).count('\n'), 2);
        QVERIFY(contents(csv).split('\n').value(1).startsWith("1002,"));
        QCOMPARE(exportRegister({u"--to"_s, u"2026-03-14"_s}, &error), 0);
        QVERIFY(contents(csv).split('\n').value(1).startsWith("1001,"));
        QCOMPARE(exportRegister({u"--to"_s, u"April"_s}, &error), 2);
        QVERIFY(error.contains(u"April is not a date"_s));
    }
};

QTEST_MAIN(RegisterWindowTest)
#include "tst_register.moc"
