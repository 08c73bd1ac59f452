// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platformui/qtmessagebox.h"

#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>

using platform::Message;

namespace platformui {

using namespace Qt::StringLiterals;

std::unique_ptr<QMessageBox> QtMessageBox::makeBox(const Message &message) const
{
    auto box = std::make_unique<QMessageBox>(m_parent);
    box->setWindowTitle(message.title);
    box->setText(message.text);
    box->setTextFormat(Qt::PlainText);
    box->setIcon(message.icon == Message::Icon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
    if (message.buttons == Message::Buttons::Ok) {
        box->setStandardButtons(QMessageBox::Ok);
        box->setDefaultButton(QMessageBox::Ok);
    } else {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(message.defaultButton == Message::Answer::No ? QMessageBox::No : QMessageBox::Yes);
        // Closing the question with Escape or the close box counts as No.
        box->setEscapeButton(QMessageBox::No);
    }
    // The box wraps long lines, and would break a long path anywhere inside
    // it: make room for the longest word, as far as the screen allows.
    if (auto *label = box->findChild<QLabel *>(u"qt_msgbox_label"_s)) {
        int longest = 0;
        for (const QString &word : message.text.split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts))
            longest = std::max(longest, label->fontMetrics().horizontalAdvance(word));
        if (const QScreen *screen = box->screen())
            longest = std::min(longest, screen->availableGeometry().width() - 120);
        label->setMinimumWidth(longest + label->fontMetrics().averageCharWidth());
    }
    return box;
}

Message::Answer QtMessageBox::show(const Message &message)
{
    const std::unique_ptr<QMessageBox> box = makeBox(message);
    const int chosen = box->exec();
    if (message.buttons == Message::Buttons::Ok)
        return Message::Answer::Ok;
    return chosen == QMessageBox::Yes ? Message::Answer::Yes : Message::Answer::No;
}

} // namespace platformui
