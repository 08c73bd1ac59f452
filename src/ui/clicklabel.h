// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace ui {

// A label that keeps its caption as written, where "&&" stands for one "&",
// shows it with single ampersands, and reports a released mouse button.
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickLabel(const QString &caption, QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

    // "+Ship&&Hand" as a screen reader should speak it: "Ship&Hand".
    static QString spokenName(const QString &caption);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString m_caption;
};

} // namespace ui
