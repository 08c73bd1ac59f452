// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/clicklabel.h"

#include <QMouseEvent>

namespace ui {

using namespace Qt::StringLiterals;

ClickLabel::ClickLabel(const QString &caption, QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setCaption(caption);
}

void ClickLabel::setCaption(const QString &caption)
{
    m_caption = caption;
    QString shown = caption;
    setText(shown.replace(u"&&"_s, u"&"_s));
}

QString ClickLabel::spokenName(const QString &caption)
{
    QString name = caption;
    while (!name.isEmpty() && (name.front() == u'+' || name.front() == u'-' || name.front() == u'='))
        name.remove(0, 1);
    return name.replace(u"&&"_s, u"&"_s);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace ui
