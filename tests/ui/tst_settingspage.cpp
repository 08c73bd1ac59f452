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

// `before` and `after` hold the stored TaxCharge and SHTax.
struct CheckRow
{
    QString box;
    Qt::MouseButton button;
    QString before, after, heading;
    int linesTicked;
    QString tax;
};
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

    // One row per wiring: the array boxes are wired in a loop, checked at its last box.
    void boxesStoreEachKeystroke_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("key");
        for (const QString &key : {u"CompanyName"_s, u"Tel"_s, u"Fax"_s, u"Currency"_s, u"Logo"_s, u"TaxName"_s})
            QTest::newRow(qPrintable(key)) << u"txt"_s + key << key;
        QTest::newRow("address") << u"txtCompanyDetails(5)"_s << u"Address6"_s;
        QTest::newRow("footer") << u"txtFooter(2)"_s << u"Footer3"_s;
    }
    void boxesStoreEachKeystroke()
    {
        QFETCH(QString, box);
        QFETCH(QString, key);
        showPage(1);
        m_user->type(box, u"Oak & Co, 2\b3 "_s);
        QCOMPARE(m_app->stored(key), u"Oak & Co, 3 "_s); // stored before the box is left
        // A new start shows what was stored.
        modMain::Shutdown();
        QVERIFY(m_app->start());
        QCOMPARE(m_app->text(box), u"Oak & Co, 3 "_s);
    }

    // The rate box: number keys only, capped at 100, stored and re-totalled at every key.
    void taxRate()
    {
        // One line of 100 and untaxed shipping: the tax figure is the rate.
        m_user->enter({u"txtQty(11)"_s, u"1"_s, u"txtUnitPrice(11)"_s, u"100"_s, u"txtSH"_s, u"10"_s});
        showPage(1);
        m_user->type(u"txtTaxValue"_s, QString());
        auto *rate = m_app->control<QLineEdit>(u"txtTaxValue"_s);
        const QStringList whileTyping{u"5"_s, u"1"_s, u"15"_s, u"100"_s};
        for (int i = 0; i < 4; ++i) {
            QTest::keyClicks(rate, u"a150"_s.mid(i, 1));
            QCOMPARE(rate->text(), whileTyping[i]);
            QCOMPARE(m_user->text(u"txtTax"_s), m_app->stored(u"TaxValue"_s));
        }
        m_user->leave();
        QCOMPARE(rate->text(), u"100.00"_s);
        QCOMPARE(m_user->text(u"txtTax"_s), u"100.00"_s);
    }

    // Tax on 100 and shipping of 10. Before a right button's release a line was unticked
    // and the rate made 10 unseen: the release ticks every line and re-totals.
    void taxChecks_data()
    {
        QTest::addColumn<CheckRow>("row");
        const QString charge = u"chkChargeTax"_s, shipping = u"chkSHTax"_s;
        const Qt::MouseButton left = Qt::LeftButton, right = Qt::RightButton;
        QTest::newRow("charge off") << CheckRow{charge, left, u"10"_s, u"00"_s, u"NO TAX"_s, 0, u"0.00"_s};
        QTest::newRow("charge on") << CheckRow{charge, left, u"00"_s, u"10"_s, u"TAX@5%"_s, 12, u"5.00"_s};
        QTest::newRow("charge, right button")
            << CheckRow{charge, right, u"10"_s, u"10"_s, u"TAX@10%"_s, 12, u"10.00"_s};
        QTest::newRow("shipping on") << CheckRow{shipping, left, u"10"_s, u"11"_s, u"+TAX@5%"_s, 12, u"5.50"_s};
        QTest::newRow("shipping, right button")
            << CheckRow{shipping, right, u"11"_s, u"11"_s, u"+TAX@5%"_s, 11, u"1.00"_s};
    }
    void taxChecks()
    {
        QFETCH(CheckRow, row);
        startWith({{u"TaxCharge"_s, row.before.left(1)}, {u"SHTax"_s, row.before.right(1)}});
        m_user->enter({u"txtQty(0)"_s, u"1"_s, u"txtUnitPrice(0)"_s, u"100"_s, u"txtSH"_s, u"10"_s});
        if (row.button == Qt::RightButton) {
            check(u"chkTax(0)"_s)->setChecked(false);
            m_app->store(u"TaxValue"_s, u"10.00"_s);
        }
        showPage(1);
        click(row.box, row.button);
        const bool charged = row.after[0] == u'1';
        QCOMPARE(m_app->stored(u"TaxCharge"_s) + m_app->stored(u"SHTax"_s), row.after);
        QCOMPARE(heading(), row.heading);
        int ticked = 0;
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(check(u"chkTax(%1)"_s.arg(i))->isEnabled(), charged);
            ticked += check(u"chkTax(%1)"_s.arg(i))->isChecked() ? 1 : 0;
        }
        QCOMPARE(ticked, row.linesTicked);
        QCOMPARE(m_user->text(u"txtTax"_s), row.tax);
    }

    // Switched off and on, the heading loses its plus until the name or rate is edited.
    void taxHeadingFollowsEdits()
    {
        showPage(1);
        click(u"chkChargeTax"_s);
        click(u"chkChargeTax"_s);
        m_user->type(u"txtTaxName"_s, u"VAT"_s);
        QCOMPARE(heading(), u"+VAT@5%"_s);
        m_user->type(u"txtTaxValue"_s, u"17.5"_s);
        QCOMPARE(heading(), u"+VAT@17.5%"_s);
    }

    void logoDialog()
    {
        const QString expected = m_app->path(u"pictures/Shop Front.JPG"_s);
        m_app->fileDialog.expect(expected);
        showPage(1);
        QTest::mouseClick(m_app->control<QPushButton>(u"cmdLogo"_s), Qt::LeftButton);
        const FileFilter pictures{u"*.JPG or *.BMP Picture Files"_s, {u"*.jpg"_s, u"*.bmp"_s}};
        QCOMPARE(m_app->fileDialog.shown(), QList<FileFilter>{pictures});
        QCOMPARE(m_user->text(u"txtLogo"_s), expected);
        m_app->fileDialog.expect(QString()); // cancelled: the chosen picture stays
        QTest::mouseClick(m_app->control<QPushButton>(u"cmdLogo"_s), Qt::LeftButton);
        QCOMPARE(m_app->stored(u"Logo"_s), expected);
    }

    void templateListStoresTheChoice()
    {
        startWith({}, {u"invferncask.rep"_s, u"Ledger.rep"_s, u"slate.rep"_s});
        showPage(1);
        auto *list = m_app->control<QComboBox>(u"cmbTemplate"_s);
        list->setFocus(Qt::TabFocusReason);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentText(), u"Ledger.rep"_s);
        QCOMPARE(m_app->stored(u"Template"_s), u"Ledger.rep"_s);
    }

    // After a page switch the keyboard waits on the tab strip, typing nothing, until
    // Tab enters the page shown; the box left behind is tidied.
    void keysFollowThePage_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key"); // 0: a click on the tab
        QTest::addColumn<int>("modifiers");
        const int ctrl = Qt::ControlModifier, ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        QTest::newRow("click") << 0 << 0 << 0;
        QTest::newRow("ctrl+tab") << 1 << int(Qt::Key_Tab) << ctrl;
        QTest::newRow("ctrl+pgdown") << 0 << int(Qt::Key_PageDown) << ctrl;
        QTest::newRow("ctrl+pgup") << 1 << int(Qt::Key_PageUp) << ctrl;
        // X11 delivers Ctrl+Shift+Tab as Backtab, with Shift among the modifiers or not.
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
        QCOMPARE(QApplication::focusWidget(), window.tab1);
        const QString before = m_user->text(first);
        QTest::keyClicks(QApplication::focusWidget(), u"345 "_s);
        QCOMPARE(m_user->text(first), before);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_app->control(first));
        QCOMPARE(m_user->text(left), toSettings ? u"1.00"_s : u"1"_s);
    }

    // An access key of the hidden page (Alt+P previews an invoice) types nothing.
    void strayKeysTypeNothing()
    {
        showPage(1);
        m_user->type(u"txtCompanyName"_s, u"Ferncask"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
        QTest::qWait(150); // an access key would have pressed its button by now
        QCOMPARE(m_user->text(u"txtCompanyName"_s), u"Ferncask"_s);
    }

    // F1 explains the field under the heading of the control with the focus.
    void helpKey()
    {
        QWidget *box = m_app->control(u"txtQty(4)"_s);
        box->setFocus(Qt::TabFocusReason);
        m_app->messages.expect(Message::Answer::Ok);
        QTest::keyClick(box, Qt::Key_F1);
        QCOMPARE(m_app->messages.takeShown().value(0).text, ui::FieldHelpText(1));
    }
};

QTEST_MAIN(SettingsPageTest)
#include "tst_settingspage.moc"
