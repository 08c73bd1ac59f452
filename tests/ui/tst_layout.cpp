// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowfixture.h"

#include "ui/clicklabel.h"
#include "ui/frmmain2.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

using ui::ClickLabel;
using ui::frmMain2;

using namespace Qt::StringLiterals;

namespace {

enum Kind { Box, ShownBox, FigureBox, Check, List, Button, Tabs };

// What a screen reader speaks for the widget.
QString spokenName(QObject *widget)
{
    QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(widget);
    return spoken ? spoken->text(QAccessible::Name) : QString();
}

// Every object a screen reader can reach from `root`.
QObjectList accessibleTree(QObject *root)
{
    QObjectList found;
    QList<QAccessibleInterface *> pending{QAccessible::queryAccessibleInterface(root)};
    while (!pending.isEmpty()) {
        QAccessibleInterface *node = pending.takeFirst();
        found << node->object();
        for (int i = 0; i < node->childCount(); ++i)
            if (QAccessibleInterface *child = node->child(i))
                pending << child;
    }
    return found;
}

// The access keys of the buttons and menus a user can reach in `root`, in
// upper case, once each time they occur.
QString accessKeys(QWidget *root)
{
    QString keys;
    auto keyOf = [&](const QString &caption) {
        const qsizetype at = QString(caption).replace(u"&&"_s, u"__"_s).indexOf(u'&');
        if (at >= 0 && at + 1 < caption.size())
            keys += caption[at + 1].toUpper();
    };
    for (QAbstractButton *button : root->findChildren<QAbstractButton *>())
        if (button->isVisibleTo(root))
            keyOf(button->text());
    for (QMenuBar *bar : root->findChildren<QMenuBar *>())
        for (QAction *menu : bar->actions())
            keyOf(menu->text());
    return keys;
}

// A text box is a tab stop exactly when the user may type into it.
bool isTabStop(const QWidget *w)
{
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

} // namespace

class LayoutTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_app;

private slots:
    void init()
    {
        m_app = std::make_unique<WindowFixture>();
        QVERIFY(m_app->start());
    }
    void cleanup() { m_app.reset(); }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QString>("caption");
        const int left = Qt::AlignLeft, right = Qt::AlignRight;
        // One member of each array and each kind of control; the loop in
        // controls() holds every other box, check box and list to the rule.
        QTest::newRow("customer 3") << u"txtCustomerDetails(2)"_s << int(Box) << u"Customer Details 3"_s << left << QString();
        QTest::newRow("company 6") << u"txtCompanyDetails(5)"_s << int(Box) << u"Company Details 6"_s << left << QString();
        QTest::newRow("qty 1") << u"txtQty(0)"_s << int(Box) << u"QTY 1"_s << right << QString();
        QTest::newRow("description 7") << u"txtDescription(6)"_s << int(Box) << u"DESCRIPTION 7"_s << left << QString();
        QTest::newRow("price 12") << u"txtUnitPrice(11)"_s << int(Box) << u"UNIT PRICE 12"_s << right << QString();
        QTest::newRow("total 5") << u"txtTotal(4)"_s << int(ShownBox) << u"TOTAL 5"_s << right << QString();
        QTest::newRow("tax 9") << u"chkTax(8)"_s << int(Check) << u"TAX 9"_s << 0 << QString();
        QTest::newRow("discount") << u"txtDiscount"_s << int(Box) << u"Discount %"_s << right << u"0.00"_s;
        QTest::newRow("sub total") << u"txtSubTotal"_s << int(FigureBox) << u"Sub Total"_s << right << u"0.00"_s;
        QTest::newRow("shipping") << u"txtSH"_s << int(Box) << u"Ship&Hand"_s << right << u"0.00"_s;
        QTest::newRow("tax total") << u"txtTax"_s << int(FigureBox) << u"Tax"_s << right << u"0.00"_s;
        QTest::newRow("balance") << u"txtBalance"_s << int(FigureBox) << u"Balance"_s << right << u"0.00"_s;
        QTest::newRow("payment") << u"cmbPaymentMethod"_s << int(List) << u"Payment Method"_s << 0 << QString();
        QTest::newRow("print") << u"cmdPreview"_s << int(Button) << u"Print PDF Invoice"_s << 0 << u"&Print PDF Invoice"_s;
        QTest::newRow("template") << u"cmbTemplate"_s << int(List) << u"Invoice Template"_s << 0 << QString();
        QTest::newRow("logo button") << u"cmdLogo"_s << int(Button) << u"Logo"_s << 0 << u"..."_s;
        QTest::newRow("tab strip") << u"tab1"_s << int(Tabs) << u"Pages"_s << 0 << QString();
        QTest::newRow("number") << u"txtInvoiceNumber"_s << int(ShownBox) << u"Invoice Number"_s << left << u"1001"_s;
        QTest::newRow("tax value") << u"txtTaxValue"_s << int(Box) << u"Tax Value %"_s << right << QString();
        QTest::newRow("shipping tax") << u"chkSHTax"_s << int(Check)
                                      << u"Charge Tax on Shipping & Handling / Carriage"_s << 0 << QString();
        QTest::newRow("footer 3") << u"txtFooter(2)"_s << int(Box) << u"Footer Line 3"_s << left << QString();
    }
    void controls()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(QString, spoken);
        QFETCH(int, alignment);
        QFETCH(QString, caption);
        auto *widget = m_app->control(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(spokenName(widget), spoken);
        switch (kind) {
        case Box:
        case ShownBox:
        case FigureBox: {
            auto *box = qobject_cast<QLineEdit *>(widget);
            QVERIFY(box);
            QCOMPARE(int(box->alignment() & Qt::AlignHorizontal_Mask), alignment);
            QCOMPARE(box->isReadOnly(), kind != Box);
            QCOMPARE(isTabStop(box), kind == Box);
            QCOMPARE(box->maxLength(), 32767); // no limit beyond the toolkit's own
            QVERIFY(!box->font().bold()); // also inside the bold tax frame
            if (kind != Box)
                QCOMPARE(box->text(), caption);
            if (kind == FigureBox) {
                QCOMPARE(box->palette().color(QPalette::Text), QColor(Qt::white));
                QVERIFY(box->palette().color(QPalette::Base).blue() > box->palette().color(QPalette::Base).red());
            }
            break;
        }
        case Check:
            QVERIFY(qobject_cast<QCheckBox *>(widget));
            QVERIFY(isTabStop(widget));
            break;
        case List: {
            auto *list = qobject_cast<QComboBox *>(widget);
            QVERIFY(list);
            QVERIFY(!list->isEditable());
            break;
        }
        case Button:
            QCOMPARE(qobject_cast<QPushButton *>(widget)->text(), caption);
            break;
        case Tabs:
            QCOMPARE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Value), u"Invoice"_s);
            break;
        }
    }

    // Every box, check box and list has a name and a spoken name.
    void everyInputIsNamed()
    {
        for (QWidget *w : m_app->window().findChildren<QWidget *>())
            if (qobject_cast<QLineEdit *>(w) || qobject_cast<QCheckBox *>(w) || qobject_cast<QComboBox *>(w))
                QVERIFY2(w->parent()->inherits("QComboBox") || (!spokenName(w).isEmpty() && !w->objectName().isEmpty()),
                         qPrintable(w->objectName()));
    }

    void headings()
    {
        frmMain2 &window = m_app->window();
        for (int i = 0; i < 31; ++i) {
            auto *label = m_app->control<ClickLabel>(u"lblHeading(%1)"_s.arg(i));
            QVERIFY(label);
            QVERIFY(label->font().bold());
            // Shown with single ampersands; on the page its control is on.
            QCOMPARE(label->text(), label->caption().replace(u"&&"_s, u"&"_s));
            QCOMPARE(window.picInvoice->isAncestorOf(label), i <= 15);
        }
        QCOMPARE(window.txtSurcharge1->toolTip(), u"Example use - Service Charge"_s);
        QCOMPARE(window.txtSurcharge2->toolTip(), u"Example use - Credit card costs"_s);
        QStringList methods;
        for (int i = 0; i < window.cmbPaymentMethod->count(); ++i)
            methods << window.cmbPaymentMethod->itemText(i);
        QCOMPARE(methods, (QStringList{u"CASH"_s, u"CHECK"_s, u"CHEQUE"_s, u"CARD"_s, u"TRANSFER"_s, u"OTHER"_s}));
        // The connectors lead the eye only: a screen reader does not meet them.
        const QObjectList spoken = accessibleTree(&window);
        QVERIFY(spoken.contains(window.txtBalance));
        for (const char *line : {"Line1", "Line2", "Line3", "Line4", "Line5", "Line6", "Line7", "Line9",
                                 "Line10", "Line11", "Line12"}) {
            QVERIFY2(m_app->control(QString::fromLatin1(line)), line);
            QVERIFY2(!spoken.contains(m_app->control(QString::fromLatin1(line))), line);
        }
    }

    // Alt with a letter presses one thing only: each page's buttons and the
    // menus have access keys of their own.
    void accessKeysDoNotClash()
    {
        frmMain2 &window = m_app->window();
        for (int page : {0, 1}) {
            QTest::mouseClick(window.tab1, Qt::LeftButton, {}, window.tab1->tabRect(page).center());
            const QString keys = accessKeys(&window);
            QVERIFY2(keys.contains(u'F') && keys.contains(u'I') && keys.contains(u'H'), qPrintable(keys));
            for (const QChar key : keys)
                QVERIFY2(keys.count(key) == 1, qPrintable(u"page %1: %2"_s.arg(page).arg(keys)));
        }
        m_app->dialogs.expect([](QDialog &dialog) {
            const QString keys = accessKeys(&dialog);
            QVERIFY(!keys.isEmpty());
            for (const QChar key : keys)
                QVERIFY2(keys.count(key) == 1, qPrintable(keys));
        });
        window.cmdInvoiceReset->click();
        m_app->dialogs.expect([](QDialog &dialog) {
            const QString keys = accessKeys(&dialog);
            for (const QChar key : keys)
                QVERIFY2(keys.count(key) == 1, qPrintable(keys));
        });
        window.cmdEInvoice->click();
        QCOMPARE(m_app->dialogs.pending(), 0);
    }

    // The window opens wholly inside the screen's free area; a screen too
    // small for it gets a smaller window, whose pages scroll.
    void placement_data()
    {
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QRect>("placed");
        const QMargins frame(8, 32, 8, 8);
        QTest::newRow("room to spare, centred") << QSize(713, 503) << QRect(0, 0, 1280, 1024) << frame
                                                << QRect(283, 272, 713, 503);
        QTest::newRow("beside a panel") << QSize(713, 503) << QRect(64, 0, 1216, 1024) << frame
                                        << QRect(315, 272, 713, 503);
        // Scale 2 on 1280 x 1024 leaves 640 x 512 minus the task bar.
        QTest::newRow("too small both ways") << QSize(713, 503) << QRect(0, 0, 640, 490) << frame
                                             << QRect(8, 32, 624, 450);
        QTest::newRow("too narrow only") << QSize(713, 503) << QRect(0, 24, 682, 744) << frame
                                         << QRect(8, 156, 666, 503);
        QTest::newRow("second screen") << QSize(713, 503) << QRect(1920, 0, 800, 600) << frame
                                       << QRect(1963, 60, 713, 503);
    }
    void placement()
    {
        QFETCH(QSize, natural);
        QFETCH(QRect, available);
        QFETCH(QMargins, frame);
        QFETCH(QRect, placed);
        const QRect inside = frmMain2::Placement(natural, available, frame);
        QCOMPARE(inside, placed);
        QVERIFY(available.contains(inside.marginsAdded(frame)));
    }

    void menus()
    {
        frmMain2 &window = m_app->window();
        QStringList layout;
        const auto menus = window.menuBar()->actions();
        for (QAction *menu : menus) {
            layout << menu->objectName() + u'=' + menu->text();
            for (QAction *item : menu->menu()->actions())
                layout << u"  "_s + item->objectName() + u'=' + item->text()
                        + (item->isEnabled() ? QString() : u" (disabled)"_s) + (item->shortcut().isEmpty() ? QString() : u" shortcut"_s);
        }
        QCOMPARE(layout, (QStringList{u"mnuFile=&File"_s, u"  mnuFileExit=Exit"_s, u"mnuInvoice=&Invoice"_s,
                                      u"  mnuInvoiceSale=Sale"_s, u"  mnuInvoiceNew=New"_s,
                                      u"  mnuInvoiceViewAll=View All"_s, u"  mnuInvoiceRegister=Register..."_s, u"mnuHelp=&Help"_s, u"  mnuHelpHelp=Help"_s,
                                      u"  mnuHelpSupport=Support"_s, u"  mnuHelpAbout=About"_s}));
    }

    void tabOrder_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("order");
        QStringList invoice;
        for (int i = 0; i < 6; ++i)
            invoice << u"txtCustomerDetails(%1)"_s.arg(i);
        for (int i = 0; i < 12; ++i)
            invoice << u"txtQty(%1)"_s.arg(i) << u"txtDescription(%1)"_s.arg(i) << u"txtUnitPrice(%1)"_s.arg(i)
                    << u"chkTax(%1)"_s.arg(i);
        invoice << u"txtSurcharge1"_s << u"txtDiscount"_s << u"txtSH"_s << u"txtSurcharge2"_s << u"txtReceived"_s
                << u"cmbPaymentMethod"_s << u"cmdPreview"_s << u"cmdNew"_s;
        QStringList settings{u"txtCompanyName"_s, u"cmdInvoiceReset"_s, u"cmdEInvoice"_s};
        for (int i = 0; i < 6; ++i)
            settings << u"txtCompanyDetails(%1)"_s.arg(i);
        settings << u"chkChargeTax"_s << u"txtTaxName"_s << u"txtTaxValue"_s << u"chkSHTax"_s << u"txtTel"_s
                 << u"txtFax"_s << u"txtCurrency"_s << u"cmbTemplate"_s << u"cmdView"_s << u"txtFooter(0)"_s
                 << u"txtFooter(1)"_s << u"txtFooter(2)"_s << u"txtLogo"_s << u"cmdLogo"_s;
        QTest::newRow("invoice page") << 0 << invoice;
        QTest::newRow("settings page") << 1 << settings;
    }
    void tabOrder()
    {
        QFETCH(int, tab);
        QFETCH(QStringList, order);
        frmMain2 &window = m_app->window();
        QTest::mouseClick(window.tab1, Qt::LeftButton, {}, window.tab1->tabRect(tab).center());
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *first = m_app->control(order.first());
        first->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), first);
        QStringList visited{order.first()};
        for (qsizetype i = 1; i < order.size() + 1; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        // Round the page and back to its first control: nothing else is a stop.
        QCOMPARE(visited, order + QStringList{order.first()});
    }

    void tabsShowOnePage()
    {
        frmMain2 &window = m_app->window();
        QTest::mouseClick(window.tab1, Qt::LeftButton, {}, window.tab1->tabRect(1).center());
        QVERIFY(window.picSettings->isVisible());
        QVERIFY(!window.picInvoice->isVisible());
        QCOMPARE(window.picSettings->geometry(), window.picInvoice->geometry());
        QVERIFY(window.picSettings->geometry().top() >= window.tab1->geometry().bottom());
        QTest::mouseClick(window.tab1, Qt::LeftButton, {}, window.tab1->tabRect(0).center());
        QVERIFY(window.picInvoice->isVisible());
        QVERIFY(!window.picSettings->isVisible());
        // Every control stays inside its page.
        for (QWidget *page : {window.picInvoice, window.picSettings}) {
            for (QWidget *child : page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                QVERIFY2(page->rect().contains(child->geometry()), qPrintable(child->objectName()));
        }
    }
};

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
