// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrytest.h"

#include "app/modmain.h"
#include "ui/clicklabel.h"
#include "ui/modhelp.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabBar>

using ui::ClickLabel;
using ui::FieldHelpText;
using ui::frmMain2;

using platform::FileFilter;
using platform::Message;

using namespace Qt::StringLiterals;

class SettingsPageTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_app;
    std::unique_ptr<EntryDriver> m_user;

    // Starts the program over an initialised store that also holds these settings.
    void startWith(const QList<std::pair<QString, QString>> &settings,
                   const QStringList &templates = {u"invferncask.rep"_s})
    {
        m_user.reset();
        m_app = std::make_unique<WindowFixture>(templates);
        m_app->store(u"Init"_s, u"1"_s);
        const QList<std::pair<QString, QString>> first = {
            {u"Template"_s, u"invferncask.rep"_s}, {u"TaxCharge"_s, u"1"_s}, {u"TaxName"_s, u"TAX"_s},
            {u"TaxValue"_s, u"5.00"_s},          {u"SHTax"_s, u"0"_s}};
        for (const auto &[key, text] : first + settings)
            m_app->store(key, text);
        QVERIFY(m_app->start());
        m_user = std::make_unique<EntryDriver>(*m_app);
        QVERIFY(m_user->activate());
    }

    void showPage(int index)
    {
        QTabBar *tabs = m_app->window().tab1;
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }

    // One line of 100 on the last line, and untaxed shipping of 10: the tax
    // figure is the rate.
    void enterHundred()
    {
        m_user->enter(u"txtQty(11)"_s, u"1"_s);
        m_user->enter(u"txtUnitPrice(11)"_s, u"100"_s);
        m_user->enter(u"txtSH"_s, u"10"_s);
    }

    QString heading() const { return m_app->control<ClickLabel>(u"lblHeading(10)"_s)->caption(); }
    QCheckBox *check(const QString &name) const { return m_app->control<QCheckBox>(name); }

private slots:
    void init() { startWith({}); }
    void cleanup()
    {
        QCOMPARE(m_app->messages.pending(), 0);
        QCOMPARE(m_app->fileDialog.pending(), 0);
        m_user.reset();
        m_app.reset();
    }

    void boxesStoreEachKeystroke_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("key");
        QTest::newRow("company name") << u"txtCompanyName"_s << u"CompanyName"_s;
        for (int i = 0; i < 6; ++i)
            QTest::addRow("address %d", i + 1) << u"txtCompanyDetails(%1)"_s.arg(i) << u"Address%1"_s.arg(i + 1);
        QTest::newRow("tel") << u"txtTel"_s << u"Tel"_s;
        QTest::newRow("fax") << u"txtFax"_s << u"Fax"_s;
        QTest::newRow("currency") << u"txtCurrency"_s << u"Currency"_s;
        for (int i = 0; i < 3; ++i)
            QTest::addRow("footer %d", i + 1) << u"txtFooter(%1)"_s.arg(i) << u"Footer%1"_s.arg(i + 1);
        QTest::newRow("logo") << u"txtLogo"_s << u"Logo"_s;
        QTest::newRow("tax name") << u"txtTaxName"_s << u"TaxName"_s;
    }
    void boxesStoreEachKeystroke()
    {
        QFETCH(QString, box);
        QFETCH(QString, key);
        showPage(1);
        // Entering the box selects its text, so the first key replaces it.
        m_user->type(box, QString());
        auto *edit = m_app->control<QLineEdit>(box);
        QCOMPARE(edit->selectedText(), edit->text());
        const QString keys = u"Oak & Co, 2\b3 "_s;
        QString expected;
        for (const QChar c : keys) {
            QTest::keyClicks(edit, QString(c));
            expected = c == u'\b' ? expected.chopped(1) : expected + c;
            QCOMPARE(edit->text(), expected);
            QCOMPARE(m_app->stored(key), expected);
        }
        // A new start reads it back from the same store and shows it.
        modMain::Shutdown();
        QVERIFY(m_app->start());
        QCOMPARE(m_app->text(box), expected);
    }

    // The rate box, typed into its selected text (and pasted, where a user can).
    void taxRate_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<QStringList>("whileTyping");
        QTest::addColumn<QString>("afterLeaving");
        QTest::addColumn<QString>("stored");
        QTest::newRow("capped at 100") << u"150"_s << false << QStringList{u"1"_s, u"15"_s, u"100"_s} << u"100.00"_s
                                       << u"100.00"_s;
        QTest::newRow("cleared") << u"\b"_s << false << QStringList{u"0.00"_s} << u"0.00"_s << u"0.00"_s;
        QTest::newRow("deleted") << u"\x7f"_s << false << QStringList{u"0.00"_s} << u"0.00"_s << u"0.00"_s;
        QTest::newRow("letters do not appear") << u"a7b"_s << false << QStringList{u"5"_s, u"7"_s, u"7"_s}
                                               << u"7.00"_s << u"7.00"_s;
        QTest::newRow("half rate") << u"17.5"_s << false << QStringList{u"1"_s, u"17"_s, u"17."_s, u"17.5"_s}
                                   << u"17.50"_s << u"17.50"_s;
        QTest::newRow("rounded to cents") << u"2.345"_s << false
                                          << QStringList{u"2"_s, u"2."_s, u"2.3"_s, u"2.34"_s, u"2.345"_s}
                                          << u"2.35"_s << u"2.35"_s;
        QTest::newRow("pasted words") << u"ten"_s << true << QStringList{u"0.00"_s} << u"0.00"_s << u"0.00"_s;
        QTest::newRow("pasted negative") << u"-5"_s << true << QStringList{u"-5"_s} << u"-5.00"_s << u"-5.00"_s;
    }
    void taxRate()
    {
        QFETCH(QString, keys);
        QFETCH(bool, pasted);
        QFETCH(QStringList, whileTyping);
        QFETCH(QString, afterLeaving);
        QFETCH(QString, stored);
        enterHundred();
        showPage(1);
        m_user->type(u"txtTaxValue"_s, QString());
        auto *rate = m_app->control<QLineEdit>(u"txtTaxValue"_s);
        if (pasted) {
            rate->selectAll();
            rate->insert(keys); // what a paste from the context menu does
            QCOMPARE(rate->text(), whileTyping.constFirst());
        } else {
            for (qsizetype i = 0; i < keys.size(); ++i) {
                if (keys[i] == u'\x7f') {
                    // The Delete key as the platform sends it, with its control character.
                    QTest::sendKeyEvent(QTest::Press, rate, Qt::Key_Delete, keys.mid(i, 1), {});
                    QTest::sendKeyEvent(QTest::Release, rate, Qt::Key_Delete, keys.mid(i, 1), {});
                } else {
                    QTest::keyClicks(rate, keys.mid(i, 1));
                }
                QCOMPARE(rate->text(), whileTyping[i]);
                // Every edit re-totals: the tax on 100 is the stored rate.
                QCOMPARE(m_user->text(u"txtTax"_s), m_app->stored(u"TaxValue"_s));
            }
        }
        QCOMPARE(m_app->stored(u"TaxValue"_s), stored);
        m_user->leave();
        QCOMPARE(rate->text(), afterLeaving);
        QCOMPARE(m_app->stored(u"TaxValue"_s), stored);
        QCOMPARE(m_user->text(u"txtTax"_s), stored);
    }

    // The two tax check boxes, with the mouse and with the keyboard.
    void taxChecks_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("how"); // 0 left click, 1 Space, 2 right-button release
        QTest::addColumn<QString>("charge");
        QTest::addColumn<QString>("shipping");
        QTest::addColumn<QString>("storedCharge");
        QTest::addColumn<QString>("storedShipping");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<int>("linesTicked");
        QTest::addColumn<QString>("tax");
        const QString charge = u"chkChargeTax"_s, shipping = u"chkSHTax"_s;
        QTest::newRow("charge off, mouse") << charge << 0 << u"1"_s << u"0"_s << u"0"_s << u"0"_s << u"NO TAX"_s << 0
                                           << u"0.00"_s;
        QTest::newRow("charge off, space") << charge << 1 << u"1"_s << u"0"_s << u"0"_s << u"0"_s << u"NO TAX"_s << 0
                                           << u"0.00"_s;
        QTest::newRow("charge on, mouse") << charge << 0 << u"0"_s << u"0"_s << u"1"_s << u"0"_s << u"TAX@5%"_s << 12
                                          << u"5.00"_s;
        QTest::newRow("charge on, space") << charge << 1 << u"0"_s << u"0"_s << u"1"_s << u"0"_s << u"TAX@5%"_s << 12
                                          << u"5.00"_s;
        // Before the release a line was unticked and the stored rate became
        // 10, neither re-totalled: the release ticks every line and re-totals.
        QTest::newRow("charge, right button") << charge << 2 << u"1"_s << u"0"_s << u"1"_s << u"0"_s << u"TAX@10%"_s
                                              << 12 << u"10.00"_s;
        QTest::newRow("shipping on, mouse") << shipping << 0 << u"1"_s << u"0"_s << u"1"_s << u"1"_s << u"+TAX@5%"_s
                                            << 12 << u"5.50"_s;
        QTest::newRow("shipping off, space") << shipping << 1 << u"1"_s << u"1"_s << u"1"_s << u"0"_s << u"+TAX@5%"_s
                                             << 12 << u"5.00"_s;
        QTest::newRow("shipping on, space, not charged") << shipping << 1 << u"0"_s << u"0"_s << u"0"_s << u"1"_s
                                                         << u"NO TAX"_s << 0 << u"0.00"_s;
        QTest::newRow("shipping, right button") << shipping << 2 << u"1"_s << u"1"_s << u"1"_s << u"1"_s
                                                << u"+TAX@5%"_s << 11 << u"1.00"_s;
    }
    void taxChecks()
    {
        QFETCH(QString, box);
        QFETCH(int, how);
        QFETCH(QString, charge);
        QFETCH(QString, shipping);
        QFETCH(QString, storedCharge);
        QFETCH(QString, storedShipping);
        QFETCH(QString, heading);
        QFETCH(int, linesTicked);
        QFETCH(QString, tax);
        startWith({{u"TaxCharge"_s, charge}, {u"SHTax"_s, shipping}});
        m_user->enter(u"txtQty(0)"_s, u"1"_s);
        m_user->enter(u"txtUnitPrice(0)"_s, u"100"_s);
        m_user->enter(u"txtSH"_s, u"10"_s);
        if (how == 2) {
            check(u"chkTax(0)"_s)->setChecked(false);
            m_app->store(u"TaxValue"_s, u"10.00"_s);
        }
        showPage(1);
        QCheckBox *clicked = check(box);
        const bool before = clicked->isChecked();
        switch (how) {
        case 0:
            QTest::mouseClick(clicked, Qt::LeftButton, {}, clicked->rect().center());
            break;
        case 1:
            clicked->setFocus(Qt::TabFocusReason);
            QTest::keyClick(clicked, Qt::Key_Space);
            break;
        case 2:
            QTest::mouseClick(clicked, Qt::RightButton, {}, clicked->rect().center());
            break;
        }
        QCOMPARE(clicked->isChecked(), how == 2 ? before : !before);
        QCOMPARE(m_app->stored(u"TaxCharge"_s), storedCharge);
        QCOMPARE(m_app->stored(u"SHTax"_s), storedShipping);
        QCOMPARE(this->heading(), heading);
        int ticked = 0;
        for (int i = 0; i < 12; ++i) {
            QCheckBox *line = check(u"chkTax(%1)"_s.arg(i));
            QCOMPARE(line->isEnabled(), storedCharge == u"1"_s);
            ticked += line->isChecked() ? 1 : 0;
        }
        QCOMPARE(ticked, linesTicked);
        QCOMPARE(m_user->text(u"txtTax"_s), tax);
        // The Settings page's shipping box stays usable either way.
        QVERIFY(check(u"chkSHTax"_s)->isEnabled());
    }

    void taxHeadingFollowsEdits_data()
    {
        QTest::addColumn<QString>("charge");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("heading");
        QTest::newRow("name, charged") << u"1"_s << u"txtTaxName"_s << u"VAT"_s << u"TaxName"_s << u"VAT"_s
                                       << u"+VAT@5%"_s;
        QTest::newRow("name, not charged") << u"0"_s << u"txtTaxName"_s << u"VAT"_s << u"TaxName"_s << u"VAT"_s
                                           << u"NO TAX"_s;
        QTest::newRow("rate, charged") << u"1"_s << u"txtTaxValue"_s << u"17.5"_s << u"TaxValue"_s << u"17.50"_s
                                       << u"+TAX@17.5%"_s;
        QTest::newRow("rate, not charged") << u"0"_s << u"txtTaxValue"_s << u"8"_s << u"TaxValue"_s << u"8.00"_s
                                           << u"NO TAX"_s;
    }
    void taxHeadingFollowsEdits()
    {
        QFETCH(QString, charge);
        QFETCH(QString, box);
        QFETCH(QString, keys);
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(QString, heading);
        startWith({{u"TaxCharge"_s, charge}});
        showPage(1);
        if (charge == u"1"_s) {
            // Switched off and on: the heading loses its plus sign until the next edit.
            QTest::mouseClick(check(u"chkChargeTax"_s), Qt::LeftButton);
            QTest::mouseClick(check(u"chkChargeTax"_s), Qt::LeftButton);
            QCOMPARE(this->heading(), u"TAX@5%"_s);
        }
        m_user->type(box, keys);
        QCOMPARE(m_app->stored(key), stored);
        QCOMPARE(this->heading(), heading);
    }

    void logoDialog_data()
    {
        QTest::addColumn<QString>("chosen"); // relative to the application folder; "" cancels
        QTest::newRow("cancelled") << QString();
        QTest::newRow("picture") << u"pictures/Shop Front.JPG"_s;
        QTest::newRow("not a picture") << u"notes.txt"_s;
    }
    void logoDialog()
    {
        QFETCH(QString, chosen);
        const QString before = m_user->text(u"txtLogo"_s);
        const QString path = chosen.isEmpty() ? QString() : m_app->path(chosen);
        m_app->fileDialog.expect(path);
        showPage(1);
        QTest::mouseClick(m_app->control<QPushButton>(u"cmdLogo"_s), Qt::LeftButton);
        const FileFilter pictures{u"*.JPG or *.BMP Picture Files"_s, {u"*.jpg"_s, u"*.bmp"_s}};
        QCOMPARE(m_app->fileDialog.shown(), QList<FileFilter>{pictures});
        const QString expected = chosen.isEmpty() ? before : path;
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
    // there, and keys with Alt, Ctrl or Meta that open nothing, change no
    // box of either page. Tab then enters the page shown, selecting as usual.
    void keysFollowThePage_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("switchKey"); // 0: a click on the tab
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("leftBox");
        QTest::addColumn<QString>("leftText"); // after typing 1 and switching
        QTest::addColumn<QString>("firstBox");
        const int ctrl = Qt::ControlModifier, ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        const QString price = u"txtUnitPrice(11)"_s, tel = u"txtTel"_s;
        const QString company = u"txtCompanyName"_s, customer = u"txtCustomerDetails(0)"_s;
        QTest::newRow("click to settings") << 0 << 0 << 0 << price << u"1.00"_s << company;
        QTest::newRow("click to invoice") << 1 << 0 << 0 << tel << u"1"_s << customer;
        QTest::newRow("ctrl+tab to settings") << 0 << int(Qt::Key_Tab) << ctrl << price << u"1.00"_s << company;
        QTest::newRow("ctrl+tab to invoice") << 1 << int(Qt::Key_Tab) << ctrl << tel << u"1"_s << customer;
        QTest::newRow("ctrl+pgdown") << 0 << int(Qt::Key_PageDown) << ctrl << price << u"1.00"_s << company;
        // X11 delivers Ctrl+Shift+Tab as Backtab, with Shift among the modifiers or not.
        QTest::newRow("ctrl+shift+tab") << 1 << int(Qt::Key_Backtab) << ctrlShift << tel << u"1"_s << customer;
        QTest::newRow("ctrl+shift+tab from the first page")
            << 0 << int(Qt::Key_Backtab) << ctrl << price << u"1.00"_s << company;
        QTest::newRow("ctrl+shift+tab as tab") << 1 << int(Qt::Key_Tab) << ctrlShift << tel << u"1"_s << customer;
        QTest::newRow("ctrl+pgup") << 1 << int(Qt::Key_PageUp) << ctrl << tel << u"1"_s << customer;
        QTest::newRow("right arrow on the tabs") << 0 << int(Qt::Key_Right) << 0 << price << u"1.00"_s << company;
    }
    void keysFollowThePage()
    {
        QFETCH(int, from);
        QFETCH(int, switchKey);
        QFETCH(int, modifiers);
        QFETCH(QString, leftBox);
        QFETCH(QString, leftText);
        QFETCH(QString, firstBox);
        frmMain2 &window = m_app->window();
        m_user->enter(u"txtQty(11)"_s, u"1"_s);
        if (from == 1)
            showPage(1);
        m_user->type(leftBox, u"1"_s);
        if (switchKey == int(Qt::Key_Right))
            window.tab1->setFocus();
        if (switchKey == 0)
            showPage(1 - from);
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(switchKey), Qt::KeyboardModifiers(modifiers));

        const bool settings = from == 0;
        QCOMPARE(window.tab1->currentIndex(), settings ? 1 : 0);
        QCOMPARE(window.picSettings->isVisible(), settings);
        QCOMPARE(window.picInvoice->isVisible(), !settings);
        QCOMPARE(window.mnuInvoiceNew->isEnabled(), !settings);
        QCOMPARE(window.mnuInvoiceSale->isEnabled(), !settings);
        QCOMPARE(QApplication::focusWidget(), window.tab1);
        const QString before = m_user->text(firstBox);
        QTest::keyClicks(QApplication::focusWidget(), u"345 "_s);
        QCOMPARE(m_user->text(firstBox), before);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_app->control(firstBox));
        QTest::keyClicks(QApplication::focusWidget(), u"345 "_s);
        QCOMPARE(m_user->text(firstBox), u"345 "_s);
        QCOMPARE(m_user->text(leftBox), leftText);
        QVERIFY(check(u"chkTax(11)"_s)->isChecked());
    }

    // A key with Alt, Ctrl or Meta that is no access key of the page shown
    // types nothing into the box with the focus, and so stores nothing.
    void strayKeysTypeNothing_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        const int alt = Qt::AltModifier;
        QTest::newRow("Alt+P on the settings page") << 1 << u"txtCompanyName"_s << int(Qt::Key_P) << alt;
        QTest::newRow("Alt+N on the settings page") << 1 << u"txtFooter(2)"_s << int(Qt::Key_N) << alt;
        QTest::newRow("Alt+V on the invoice page") << 0 << u"txtCustomerDetails(0)"_s << int(Qt::Key_V) << alt;
        QTest::newRow("Alt+Shift+R on the invoice page")
            << 0 << u"txtDescription(3)"_s << int(Qt::Key_R) << int(Qt::AltModifier | Qt::ShiftModifier);
        QTest::newRow("Meta+X") << 1 << u"txtTel"_s << int(Qt::Key_X) << int(Qt::MetaModifier);
        QTest::newRow("Ctrl+K") << 0 << u"txtCustomerDetails(5)"_s << int(Qt::Key_K) << int(Qt::ControlModifier);
    }
    void strayKeysTypeNothing()
    {
        QFETCH(int, page);
        QFETCH(QString, box);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        showPage(page);
        m_user->type(box, u"Ferncask"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTest::qWait(150); // an access key would press its button by now
        QCOMPARE(m_user->text(box), u"Ferncask"_s);
        if (page == 1)
            QCOMPARE(m_app->stored(box == u"txtTel"_s ? u"Tel"_s : box == u"txtFooter(2)"_s ? u"Footer3"_s
                                                                                      : u"CompanyName"_s),
                     u"Ferncask"_s);
    }

    // F1 explains the field under the heading of the control with the focus,
    // as a click on that heading does.
    void helpKey_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("title");
        QTest::newRow("quantity") << u"txtQty(4)"_s << u"QTY"_s;
        QTest::newRow("company line") << u"txtCompanyDetails(5)"_s << u"Company Details"_s;
        QTest::newRow("logo button") << u"cmdLogo"_s << u"Logo"_s;
        QTest::newRow("tax heading as shown") << u"txtTaxValue"_s << u"Tax Value %"_s;
    }
    void helpKey()
    {
        QFETCH(QString, control);
        QFETCH(QString, title);
        QWidget *widget = m_app->control(control);
        showPage(m_app->window().picSettings->isAncestorOf(widget) ? 1 : 0);
        widget->setFocus(Qt::TabFocusReason);
        m_app->messages.expect(Message::Answer::Ok);
        QTest::keyClick(widget, Qt::Key_F1);
        const Message help = m_app->messages.takeShown().value(0);
        QCOMPARE(help.title, title);
        int index = 0;
        while (m_app->control<ClickLabel>(u"lblHeading(%1)"_s.arg(index))->caption() != title)
            ++index;
        QCOMPARE(help.text, FieldHelpText(index));
    }
};

QTEST_MAIN(SettingsPageTest)
#include "tst_settingspage.moc"
