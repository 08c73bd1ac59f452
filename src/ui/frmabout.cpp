// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmabout.h"

#include "platform/buildinfo.h"
#include "platform/messagebox.h"
#include "ui/accessibility.h"
#include "ui/fixeddialog.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

using platform::ApplicationTitle;
namespace BuildInfo = platform::BuildInfo;

namespace ui {

using namespace Qt::StringLiterals;

namespace {

QLabel *makeLabel(QWidget *parent, const QString &name, const QRect &geometry, const QFont &font)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    const QFont bold = MakeFixedDialog(*this, u"frmAbout"_s);

    picIcon = new QLabel(this);
    picIcon->setObjectName(u"picIcon"_s);
    picIcon->setAccessibleName(u"Quillbook"_s);
    picIcon->setPixmap(QPixmap(u":/quillbook/about.png"_s));
    picIcon->setGeometry(QRect(QPoint(16, 16), picIcon->sizeHint()));

    lblTitle = makeLabel(this, u"lblTitle"_s, QRect(175, 14, 147, 32), bold);
    lblVersion = makeLabel(this, u"lblVersion"_s, QRect(175, 56, 161, 15), bold);
    lblDescription = makeLabel(this, u"lblDescription"_s, QRect(175, 84, 161, 44), bold);
    lblDisclaimer = makeLabel(this, u"lblDisclaimer"_s, QRect(14, 259, 258, 48), font());
    lblDisclaimer->setWordWrap(true);

    cmdOK = new QPushButton(u"OK"_s, this);
    cmdOK->setObjectName(u"cmdOK"_s);
    cmdOK->setGeometry(287, 287, 84, 23);
    cmdOK->setDefault(true);
    // Escape closes a dialog through reject(), Enter through the default button.
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(382, 320);

    setWindowTitle(u"About "_s + ApplicationTitle());
    lblVersion->setText(u"Version "_s + BuildInfo::Version());
    lblTitle->setText(ApplicationTitle());
    lblDescription->setText(u"Visit:\r\n"_s + BuildInfo::WebsiteHost() + u"\r\n\r\n"_s);
    // The notice is empty: nothing for a screen reader to stop at.
    MarkDecorative(lblDisclaimer, lblDisclaimer->text().isEmpty());
}

} // namespace ui
