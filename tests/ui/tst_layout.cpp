// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrytest.h"

#include "ui/frmmain2.h"

#include <QAccessible>
#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>

using ui::frmMain2;

using namespace Qt::StringLiterals;

namespace {

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

// The access keys of the window's visible buttons and its menus, upper case.
QString accessKeys(QMainWindow &window)
{
    QStringList captions;
    for (QAbstractButton *button : window.findChildren<QAbstractButton *>())
        if (button->isVisibleTo(&window))
            captions << button->text();
    for (QAction *menu : window.menuBar()->actions())
        captions << menu->text();
    QString keys;
    for (const QString &caption : captions)
        keys += QString(caption).remove(u"&&"_s).section(u'&', 1).left(1).toUpper();
    return keys;
}

} // namespace

class LayoutTest : public WindowTest
{
    Q_OBJECT

    // The boxes, check boxes, lists and buttons of both pages.
    QWidgetList controls() const
    {
        QWidgetList found;
        for (QWidget *page : {m_app->window().picInvoice, m_app->window().picSettings})
            for (QWidget *w : page->findChildren<QWidget *>())
                if ((qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w))
                    && !w->parent()->inherits("QComboBox"))
                    found << w;
        return found;
    }

private slots:
    void init() { QVERIFY(start({})); }
    void cleanup() { finish(); }

    // Names follow the kind of control; spoken names are headings, numbered
    // along an array, and tell every control apart.
    void controlsAreNamed()
    {
        const QHash<QString, const char *> kinds{
            {u"txt"_s, "QLineEdit"}, {u"chk"_s, "QCheckBox"}, {u"cmb"_s, "QComboBox"}, {u"cmd"_s, "QPushButton"}};
        static const QRegularExpression form(u"^(txt|chk|cmb|cmd)[A-Z][A-Za-z0-9]*(\\((\\d+)\\))?$"_s);
        QHash<QString, QString> arraySpoken;
        QSet<QString> spokenNames;
        const QWidgetList all = controls();
        QVERIFY(all.size() > 80);
        for (QWidget *w : all) {
            const QString name = w->objectName(),
                          spoken = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
            const QRegularExpressionMatch parts = form.match(name);
            QVERIFY2(parts.hasMatch(), qPrintable(name));
            const QString kind = parts.captured(1);
            QVERIFY2(w->inherits(kinds.value(kind)), qPrintable(name));
            QVERIFY2(spoken.contains(QRegularExpression(u"^[^+=&-].*[A-Za-z]"_s)) && !spoken.contains(u"&&"_s),
                     qPrintable(name + u": "_s + spoken));
            // A button may share the name of the box it serves.
            const QString kindAndSpoken = kind + spoken;
            QVERIFY2(!spokenNames.contains(kindAndSpoken), qPrintable(spoken));
            spokenNames << kindAndSpoken;
            if (parts.hasCaptured(3)) {
                const QString number = u" %1"_s.arg(parts.captured(3).toInt() + 1);
                QVERIFY2(spoken.endsWith(number), qPrintable(name + u": "_s + spoken));
                const QString stem = name.left(name.indexOf(u'('));
                const QString common = spoken.chopped(number.size());
                QCOMPARE(arraySpoken.value(stem, common), common);
                arraySpoken.insert(stem, common);
            }
        }
        // The tab strip speaks the page shown.
        for (int page : {1, 0}) {
            showPage(page);
            QAccessibleInterface *tabs = QAccessible::queryAccessibleInterface(m_app->window().tab1);
            QCOMPARE(tabs->text(QAccessible::Value), m_app->window().tab1->tabText(page));
        }
        // A screen reader meets every control of the page shown, no decorative line.
        const QObjectList spoken = accessibleTree(&m_app->window());
        for (QWidget *w : all)
            QVERIFY2(!m_app->window().picInvoice->isAncestorOf(w) || spoken.contains(w), qPrintable(w->objectName()));
        int decorations = 0;
        for (QFrame *frame : m_app->window().picInvoice->findChildren<QFrame *>()) {
            if (frame->metaObject() == &QFrame::staticMetaObject && frame->children().isEmpty()) {
                ++decorations;
                QVERIFY2(!spoken.contains(frame), qPrintable(frame->objectName()));
            }
        }
        QVERIFY(decorations > 0);
    }

    // Alt with a letter presses one thing only: each page's buttons and the
    // menus have access keys of their own.
    void accessKeysDoNotClash()
    {
        frmMain2 &window = m_app->window();
        for (int page : {0, 1}) {
            showPage(page);
            const QString keys = accessKeys(window);
            QVERIFY2(keys.contains(u'F') && keys.contains(u'I') && keys.contains(u'H'), qPrintable(keys));
            QVERIFY2(QSet<QChar>(keys.begin(), keys.end()).size() == keys.size(), qPrintable(keys));
        }
        // Every menu entry is named after its menu.
        for (QAction *menu : window.menuBar()->actions())
            for (QAction *item : menu->menu()->actions())
                QVERIFY2(item->objectName().startsWith(menu->objectName()) && item->objectName() != menu->objectName(),
                         qPrintable(item->objectName()));
    }

    // The window opens centred on the screen's free area, shrunk to fit it with its frame.
    void placement_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("room to spare, beside a panel") << QRect(64, 0, 1216, 1024) << QRect(315, 272, 713, 503);
        QTest::newRow("too small both ways") << QRect(0, 0, 640, 490) << QRect(8, 32, 624, 450);
        QTest::newRow("too narrow, second screen") << QRect(1920, 24, 682, 744) << QRect(1928, 156, 666, 503);
    }
    void placement()
    {
        QFETCH(QRect, available);
        QFETCH(QRect, placed);
        QCOMPARE(frmMain2::Placement(QSize(713, 503), available, QMargins(8, 32, 8, 8)), placed);
    }

    // Tab from the tab strip goes round every control of the page that takes
    // typing or a press, each once; arrays in order, side by side left to right.
    void pagesAndTabOrder()
    {
        frmMain2 &window = m_app->window();
        for (QWidget *page : {window.picInvoice, window.picSettings}) {
            showPage(page == window.picInvoice ? 0 : 1);
            QWidgetList stops;
            for (QWidget *w : controls()) {
                const auto *box = qobject_cast<QLineEdit *>(w);
                const bool takesTab = (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
                QCOMPARE(takesTab, !box || !box->isReadOnly());
                if (page->isAncestorOf(w) && takesTab && w->isEnabled())
                    stops << w;
            }
            window.tab1->setFocus(Qt::TabFocusReason);
            QWidgetList visited;
            for (qsizetype i = 0; i <= stops.size(); ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                visited << QApplication::focusWidget();
            }
            QCOMPARE(visited.takeLast(), visited.first());
            QCOMPARE(QSet<QWidget *>(visited.begin(), visited.end()), QSet<QWidget *>(stops.begin(), stops.end()));
            auto stem = [](QWidget *w) { return w->objectName().section(u'(', 0, 0); };
            auto index = [](QWidget *w) { return w->objectName().section(u'(', 1).remove(u')').toInt(); };
            for (qsizetype i = 0; i < visited.size(); ++i) {
                for (qsizetype j = i + 1; j < visited.size(); ++j) {
                    QWidget *a = visited[i], *b = visited[j];
                    const QString order = a->objectName() + u" before "_s + b->objectName();
                    QVERIFY2(stem(a) != stem(b) || index(a) < index(b), qPrintable(order));
                    const QRect ra(a->mapTo(page, QPoint()), a->size()), rb(b->mapTo(page, QPoint()), b->size());
                    const bool sideBySide = ra.top() < rb.bottom() && rb.top() < ra.bottom();
                    QVERIFY2(a->parent() != b->parent() || !sideBySide || ra.left() < rb.left(), qPrintable(order));
                }
            }
        }
    }
};

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
