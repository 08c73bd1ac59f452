// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrytest.h"

#include "app/modmain.h"
#include "ui/clicklabel.h"
#include "ui/modhelp.h"

#include <QComboBox>
#include <QPushButton>

using platform::FileFilter;
using platform::Message;

using namespace Qt::StringLiterals;

struct RateRow
{
    QString keys;
    bool pasted;
    QStringList whileTyping;
    QString stored;
};
// `before` and `after` hold the stored TaxCharge and SHTax.
struct CheckRow
{
    QString box;
    Press how;
    QString before, after, heading;
    int linesTicked;
    QString tax;
};
Q_DECLARE_METATYPE(RateRow)
Q_DECLARE_METATYPE(CheckRow)

class SettingsPageTest : public WindowTest
{
    Q_OBJECT

    void startWith(const StoredSettings &settings, const QStringList &templates = {u"invferncask.rep"_s})
    {
        const StoredSettings taxed
            = {{u"TaxCharge"_s, u"1"_s}, {u"TaxName"_s, u"TAX"_s}, {u"TaxValue"_s, u"5.00"_s}, {u"SHTax"_s, u"0"_s}};
        QVERIFY(start(taxed + settings, templates));
    }

    QString heading() const { return m_app->control<ui::ClickLabel>(u"lblHeading(10)"_s)->caption(); }

private slots:
    void init() { startWith({}); }
    void cleanup() { finish(); }

    void boxesStoreEachKeystroke_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("key");
        const QStringList plain{u"CompanyName"_s, u"Tel"_s, u"Fax"_s, u"Currency"_s, u"Logo"_s, u"TaxName"_s};
        for (const QString &key : plain)
            QTest::newRow(qPrintable(key)) << u"txt"_s + key << key;
        for (int i = 0; i < 6; ++i)
            QTest::addRow("address %d", i + 1) << u"txtCompanyDetails(%1)"_s.arg(i) << u"Address%1"_s.arg(i + 1);
        for (int i = 0; i < 3; ++i)
            QTest::addRow("footer %d", i + 1) << u"txtFooter(%1)"_s.arg(i) << u"Footer%1"_s.arg(i + 1);
    }
    void boxesStoreEachKeystroke()
    {
        QFETCH(QString, box);
        QFETCH(QString, key);
        showPage(1);
        m_user->type(box, QString());
        auto *edit = m_app->control<QLineEdit>(box);
        QCOMPARE(edit->selectedText(), edit->text()); // so the first key replaces it
        QString expected;
        for (const QChar c : u"Oak & Co, 2\b3 "_s) {
            QTest::keyClicks(edit, QString(c));
            expected = c == u'\b' ? expected.chopped(1) : expected + c;
            QCOMPARE(edit->text(), expected);
            QCOMPARE(m_app->stored(key), expected);
        }
        // A new start shows what was stored.
        modMain::Shutdown();
        QVERIFY(m_app->start());
        QCOMPARE(m_app->text(box), expected);
    }

    // The rate box: typed into its selected text ("\x7f" is the Delete key as
    // the platform sends it, with its control character), or pasted.
    void taxRate_data()
    {
        QTest::addColumn<RateRow>("row");
        QTest::newRow("capped at 100") << RateRow{u"150"_s, false, {u"1"_s, u"15"_s, u"100"_s}, u"100.00"_s};
        QTest::newRow("cleared") << RateRow{u"\b"_s, false, {u"0.00"_s}, u"0.00"_s};
        QTest::newRow("deleted") << RateRow{u"\x7f"_s, false, {u"0.00"_s}, u"0.00"_s};
        QTest::newRow("letters do not appear") << RateRow{u"a7b"_s, false, {u"5"_s, u"7"_s, u"7"_s}, u"7.00"_s};
        QTest::newRow("rounded to cents")
            << RateRow{u"2.345"_s, false, {u"2"_s, u"2."_s, u"2.3"_s, u"2.34"_s, u"2.345"_s}, u"2.35"_s};
        QTest::newRow("pasted words") << RateRow{u"ten"_s, true, {u"0.00"_s}, u"0.00"_s};
        QTest::newRow("pasted negative") << RateRow{u"-5"_s, true, {u"-5"_s}, u"-5.00"_s};
    }
    void taxRate()
    {
        QFETCH(RateRow, row);
        // One line of 100 and untaxed shipping: the tax figure is the rate.
        m_user->enter(u"txtQty(11)"_s, u"1"_s);
        m_user->enter(u"txtUnitPrice(11)"_s, u"100"_s);
        m_user->enter(u"txtSH"_s, u"10"_s);
        showPage(1);
        m_user->type(u"txtTaxValue"_s, QString());
        auto *rate = m_app->control<QLineEdit>(u"txtTaxValue"_s);
        if (row.pasted) {
            rate->selectAll();
            rate->insert(row.keys); // what a paste from the context menu does
            QCOMPARE(rate->text(), row.whileTyping.constFirst());
        }
        for (qsizetype i = 0; !row.pasted && i < row.keys.size(); ++i) {
            const QString key = row.keys.mid(i, 1);
            if (key == u"\x7f") {
                QTest::sendKeyEvent(QTest::Press, rate, Qt::Key_Delete, key, {});
                QTest::sendKeyEvent(QTest::Release, rate, Qt::Key_Delete, key, {});
            } else {
                QTest::keyClicks(rate, key);
            }
            QCOMPARE(rate->text(), row.whileTyping[i]);
            QCOMPARE(m_user->text(u"txtTax"_s), m_app->stored(u"TaxValue"_s)); // every edit re-totals
        }
        QCOMPARE(m_app->stored(u"TaxValue"_s), row.stored);
        m_user->leave();
        QCOMPARE(rate->text(), row.stored);
        QCOMPARE(m_app->stored(u"TaxValue"_s), row.stored);
        QCOMPARE(m_user->text(u"txtTax"_s), row.stored);
    }

    // The two tax check boxes. Before a right button's release a line was
    // unticked and the stored rate became 10, neither re-totalled: the
    // release ticks every line and re-totals. The tax is on 100 and shipping of 10.
    void taxChecks_data()
    {
        QTest::addColumn<CheckRow>("row");
        const QString charge = u"chkChargeTax"_s, shipping = u"chkSHTax"_s;
        QTest::newRow("charge off, mouse")
            << CheckRow{charge, Press::Click, u"10"_s, u"00"_s, u"NO TAX"_s, 0, u"0.00"_s};
        QTest::newRow("charge on, space")
            << CheckRow{charge, Press::Space, u"00"_s, u"10"_s, u"TAX@5%"_s, 12, u"5.00"_s};
        QTest::newRow("charge, right button")
            << CheckRow{charge, Press::RightButton, u"10"_s, u"10"_s, u"TAX@10%"_s, 12, u"10.00"_s};
        QTest::newRow("shipping on, mouse")
            << CheckRow{shipping, Press::Click, u"10"_s, u"11"_s, u"+TAX@5%"_s, 12, u"5.50"_s};
        QTest::newRow("shipping off, space")
            << CheckRow{shipping, Press::Space, u"11"_s, u"10"_s, u"+TAX@5%"_s, 12, u"5.00"_s};
        QTest::newRow("shipping on, not charged")
            << CheckRow{shipping, Press::Space, u"00"_s, u"01"_s, u"NO TAX"_s, 0, u"0.00"_s};
        QTest::newRow("shipping, right button")
            << CheckRow{shipping, Press::RightButton, u"11"_s, u"11"_s, u"+TAX@5%"_s, 11, u"1.00"_s};
    }
    void taxChecks()
    {
        QFETCH(CheckRow, row);
        startWith({{u"TaxCharge"_s, row.before.left(1)}, {u"SHTax"_s, row.before.right(1)}});
        m_user->enter(u"txtQty(0)"_s, u"1"_s);
        m_user->enter(u"txtUnitPrice(0)"_s, u"100"_s);
        m_user->enter(u"txtSH"_s, u"10"_s);
        if (row.how == Press::RightButton) {
            check(u"chkTax(0)"_s)->setChecked(false);
            m_app->store(u"TaxValue"_s, u"10.00"_s);
        }
        showPage(1);
        press(check(row.box), row.how);
        const bool charged = row.after[0] == u'1';
        QCOMPARE(m_app->stored(u"TaxCharge"_s) + m_app->stored(u"SHTax"_s), row.after);
        QCOMPARE(check(u"chkChargeTax"_s)->isChecked(), charged);
        QCOMPARE(check(u"chkSHTax"_s)->isChecked(), row.after[1] == u'1');
        QCOMPARE(heading(), row.heading);
        int ticked = 0;
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(check(u"chkTax(%1)"_s.arg(i))->isEnabled(), charged);
            ticked += check(u"chkTax(%1)"_s.arg(i))->isChecked() ? 1 : 0;
        }
        QCOMPARE(ticked, row.linesTicked);
        QCOMPARE(m_user->text(u"txtTax"_s), row.tax);
        QVERIFY(check(u"chkSHTax"_s)->isEnabled());
    }

    // Switched off and on, the heading loses its plus sign until the next
    // edit of the name or rate; without tax every edit keeps "NO TAX".
    void taxHeadingFollowsEdits()
    {
        showPage(1);
        QTest::mouseClick(check(u"chkChargeTax"_s), Qt::LeftButton);
        QTest::mouseClick(check(u"chkChargeTax"_s), Qt::LeftButton);
        QCOMPARE(heading(), u"TAX@5%"_s);
        m_user->type(u"txtTaxName"_s, u"VAT"_s);
        QCOMPARE(heading(), u"+VAT@5%"_s);
        m_user->type(u"txtTaxValue"_s, u"17.5"_s);
        QCOMPARE(heading(), u"+VAT@17.5%"_s);
        QTest::mouseClick(check(u"chkChargeTax"_s), Qt::LeftButton);
        m_user->type(u"txtTaxValue"_s, u"8"_s);
        QCOMPARE(heading(), u"NO TAX"_s);
    }

    void logoDialog_data()
    {
        QTest::addColumn<QString>("chosen"); // in the application folder; "" cancels
        QTest::newRow("cancelled") << QString();
        QTest::newRow("picture") << u"pictures/Shop Front.JPG"_s;
        QTest::newRow("not a picture") << u"notes.txt"_s;
    }
    void logoDialog()
    {
        QFETCH(QString, chosen);
        const QString expected = chosen.isEmpty() ? m_user->text(u"txtLogo"_s) : m_app->path(chosen);
        m_app->fileDialog.expect(chosen.isEmpty() ? QString() : expected);
        showPage(1);
        QTest::mouseClick(m_app->control<QPushButton>(u"cmdLogo"_s), Qt::LeftButton);
        const FileFilter pictures{u"*.JPG or *.BMP Picture Files"_s, {u"*.jpg"_s, u"*.bmp"_s}};
        QCOMPARE(m_app->fileDialog.shown(), QList<FileFilter>{pictures});
        QCOMPARE(m_user->text(u"txtLogo"_s), expected);
        QCOMPARE(m_app->stored(u"Logo"_s), expected);
    }

    void templateListStoresTheChoice()
    {
        startWith({}, {u"invferncask.rep"_s, u"Ledger.rep"_s, u"slate.rep"_s});
        showPage(1);
        auto *list = m_app->control<QComboBox>(u"cmbTemplate"_s);
        QCOMPARE(list->currentText(), u"invferncask.rep"_s);
        list->setFocus(Qt::TabFocusReason);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentText(), u"Ledger.rep"_s);
        QCOMPARE(m_app->stored(u"Template"_s), u"Ledger.rep"_s);
    }

    // After a page switch the keyboard waits on the tab strip: what is typed
    // there changes no box of either page, and Tab enters the page shown.
    // The box left behind is tidied as on any leaving.
    void keysFollowThePage_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key"); // 0: a click on the tab
        QTest::addColumn<int>("modifiers");
        const int ctrl = Qt::ControlModifier, ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        QTest::newRow("click to settings") << 0 << 0 << 0;
        QTest::newRow("click to invoice") << 1 << 0 << 0;
        QTest::newRow("ctrl+tab to settings") << 0 << int(Qt::Key_Tab) << ctrl;
        QTest::newRow("ctrl+tab to invoice") << 1 << int(Qt::Key_Tab) << ctrl;
        QTest::newRow("ctrl+pgdown") << 0 << int(Qt::Key_PageDown) << ctrl;
        QTest::newRow("ctrl+pgup") << 1 << int(Qt::Key_PageUp) << ctrl;
        // X11 delivers Ctrl+Shift+Tab as Backtab, with Shift among the modifiers or not.
        QTest::newRow("ctrl+shift+tab") << 1 << int(Qt::Key_Backtab) << ctrlShift;
        QTest::newRow("ctrl+shift+tab from the first page") << 0 << int(Qt::Key_Backtab) << ctrl;
        QTest::newRow("ctrl+shift+tab as tab") << 1 << int(Qt::Key_Tab) << ctrlShift;
        QTest::newRow("right arrow on the tabs") << 0 << int(Qt::Key_Right) << 0;
    }
    void keysFollowThePage()
    {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        const bool toSettings = from == 0;
        const QString left = toSettings ? u"txtUnitPrice(11)"_s : u"txtTel"_s;
        const QString first = toSettings ? u"txtCompanyName"_s : u"txtCustomerDetails(0)"_s;
        ui::frmMain2 &window = m_app->window();
        m_user->enter(u"txtQty(11)"_s, u"1"_s);
        showPage(from);
        m_user->type(left, u"1"_s);
        if (key == Qt::Key_Right)
            window.tab1->setFocus();
        if (key == 0)
            showPage(1 - from);
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));

        QCOMPARE(window.tab1->currentIndex(), toSettings ? 1 : 0);
        QCOMPARE(window.picSettings->isVisible(), toSettings);
        QCOMPARE(window.picInvoice->isVisible(), !toSettings);
        QCOMPARE(window.mnuInvoiceNew->isEnabled(), !toSettings);
        QCOMPARE(window.mnuInvoiceSale->isEnabled(), !toSettings);
        QVERIFY(window.mnuInvoiceViewAll->isEnabled());
        QCOMPARE(QApplication::focusWidget(), window.tab1);
        const QString before = m_user->text(first);
        QTest::keyClicks(QApplication::focusWidget(), u"345 "_s);
        QCOMPARE(m_user->text(first), before);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_app->control(first));
        QTest::keyClicks(QApplication::focusWidget(), u"345 "_s);
        QCOMPARE(m_user->text(first), u"345 "_s);
        QCOMPARE(m_user->text(left), toSettings ? u"1.00"_s : u"1"_s);
        QVERIFY(check(u"chkTax(11)"_s)->isChecked());
    }

    // A key with Alt, Ctrl or Meta that is no access key of the page shown
    // types nothing into the box with the focus.
    void strayKeysTypeNothing()
    {
        const int alt = Qt::AltModifier;
        const std::tuple<int, QString, Qt::Key, int> keys[]
            = {{1, u"txtCompanyName"_s, Qt::Key_P, alt},
               {0, u"txtCustomerDetails(0)"_s, Qt::Key_V, alt},
               {0, u"txtDescription(3)"_s, Qt::Key_R, alt | Qt::ShiftModifier},
               {1, u"txtTel"_s, Qt::Key_X, Qt::MetaModifier},
               {0, u"txtCustomerDetails(5)"_s, Qt::Key_K, Qt::ControlModifier}};
        for (const auto &[page, box, key, modifiers] : keys) {
            showPage(page);
            m_user->type(box, u"Ferncask"_s);
            QTest::keyClick(QApplication::focusWidget(), key, Qt::KeyboardModifiers(modifiers));
            QTest::qWait(150); // an access key would have pressed its button by now
            QCOMPARE(m_user->text(box), u"Ferncask"_s);
        }
    }

    // F1 explains the field under the heading of the control with the focus.
    void helpKey()
    {
        const std::pair<QString, int> controls[] = {{u"txtQty(4)"_s, 1}, {u"cmdLogo"_s, 27}, {u"txtTaxValue"_s, 21}};
        for (const auto &[control, index] : controls) {
            QWidget *widget = m_app->control(control);
            showPage(m_app->window().picSettings->isAncestorOf(widget) ? 1 : 0);
            widget->setFocus(Qt::TabFocusReason);
            m_app->messages.expect(Message::Answer::Ok);
            QTest::keyClick(widget, Qt::Key_F1);
            const Message help = m_app->messages.takeShown().value(0);
            QCOMPARE(help.title, m_app->control<ui::ClickLabel>(u"lblHeading(%1)"_s.arg(index))->caption());
            QCOMPARE(help.text, ui::FieldHelpText(index));
        }
    }
};

QTEST_MAIN(SettingsPageTest)
#include "tst_settingspage.moc"
