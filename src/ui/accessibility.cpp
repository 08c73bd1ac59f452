// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessibility.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QTabBar>

namespace ui {

using namespace Qt::StringLiterals;

namespace {

const char *const Decorative = "quillbook_decorative";

bool isDecorative(const QObject *object)
{
    return object->property(Decorative).toBool();
}

// A container whose children are listed without its decorations.
class WithoutDecorations : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override { return int(children().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> list = children();
        return index >= 0 && index < list.size() ? QAccessible::queryAccessibleInterface(list[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(children().indexOf(qobject_cast<QWidget *>(child->object()))) : -1;
    }

private:
    QList<QWidget *> children() const
    {
        QList<QWidget *> result;
        for (QObject *object : widget()->children()) {
            auto *w = qobject_cast<QWidget *>(object);
            if (w && !w->isWindow() && !isDecorative(w))
                result << w;
        }
        return result;
    }
};

// A widget spoken by its accessible name, with `value` as what it shows.
class Named : public QAccessibleWidget
{
public:
    Named(QWidget *widget, QAccessible::Role role, QString (*value)(const QWidget *))
        : QAccessibleWidget(widget, role), m_value(value)
    { }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return widget()->accessibleName();
        if (t == QAccessible::Value)
            return m_value(widget());
        return QAccessibleWidget::text(t);
    }

private:
    QString (*m_value)(const QWidget *);
};

QString listValue(const QWidget *w)
{
    return static_cast<const QComboBox *>(w)->currentText();
}

QString tabValue(const QWidget *w)
{
    const auto *tabs = static_cast<const QTabBar *>(w);
    return tabs->tabText(tabs->currentIndex());
}

QAccessibleInterface *factory(const QString &key, QObject *object)
{
    auto *w = qobject_cast<QWidget *>(object);
    if (!w)
        return nullptr;
    if (key == u"QComboBox" && !w->accessibleName().isEmpty())
        return new Named(w, QAccessible::ComboBox, listValue);
    if (key == u"QTabBar" && !w->accessibleName().isEmpty())
        return new Named(w, QAccessible::PageTabList, tabValue);
    if (key == u"QWidget" || key == u"QDialog") {
        const QObjectList children = w->children();
        if (std::any_of(children.begin(), children.end(), isDecorative))
            return new WithoutDecorations(w, key == u"QDialog" ? QAccessible::Dialog : QAccessible::Client);
    }
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    static bool installed = false;
    if (!std::exchange(installed, true))
        QAccessible::installFactory(factory);
}

void MarkDecorative(QWidget *widget, bool decorative)
{
    widget->setProperty(Decorative, decorative);
}

} // namespace ui
