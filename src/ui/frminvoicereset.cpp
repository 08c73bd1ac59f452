// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frminvoicereset.h"

#include "invoice/runtimeerror.h"
#include "platform/filesystem.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "settings/clssettings.h"
#include "ui/fixeddialog.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include <limits>

using settings::clsSettings;

using platform::ApplicationTitle;
using platform::AppPath;
using platform::Message;
using platform::Platform;

using invoice::RuntimeError;

namespace ui {

using namespace Qt::StringLiterals;

qint32 ResetInvoiceNumber(const QString &text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        throw RuntimeError(u"Type mismatch"_s);
    qint64 value = 0;
    for (const QChar c : digits) {
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::numeric_limits<qint32>::max())
            throw RuntimeError(u"Overflow"_s);
    }
    return static_cast<qint32>(value);
}

frmInvoiceReset::frmInvoiceReset(Platform &platform, clsSettings &settings, std::function<void()> newInvoice,
                                 std::function<void()> viewInvoices, QWidget *parent)
    : QDialog(parent), m_platform(platform), m_settings(settings), m_newInvoice(std::move(newInvoice))
{
    const QFont bold = MakeFixedDialog(*this, u"frmInvoiceReset"_s);
    setWindowTitle(u"Reset Invoice Number"_s);

    auto *menu = new QMenuBar(this);
    mnuViewInvoices = menu->addAction(u"View Invoices"_s);
    mnuViewInvoices->setObjectName(u"mnuViewInvoices"_s);
    connect(mnuViewInvoices, &QAction::triggered, this, std::move(viewInvoices));
    const int top = menu->sizeHint().height();
    menu->setGeometry(0, 0, 251, top);

    txtInvoiceNumber = new QLineEdit(this);
    txtInvoiceNumber->setObjectName(u"txtInvoiceNumber"_s);
    txtInvoiceNumber->setAccessibleName(u"Next Invoice Number"_s);
    txtInvoiceNumber->setGeometry(140, top + 9, 64, 19);
    Label14 = new QLabel(u"Next Invoice Number"_s, this);
    Label14->setObjectName(u"Label14"_s);
    Label14->setFont(bold);
    Label14->setGeometry(7, top + 12, 130, 15);
    Label14->setBuddy(txtInvoiceNumber);
    chkDelete = new QCheckBox(u"Delete all invoices in invoice folder"_s, this);
    chkDelete->setObjectName(u"chkDelete"_s);
    chkDelete->setAccessibleName(chkDelete->text());
    chkDelete->setFont(bold);
    chkDelete->setGeometry(7, top + 42, 234, 23);
    cmdReset = new QPushButton(u"&Reset"_s, this);
    cmdReset->setObjectName(u"cmdReset"_s);
    cmdReset->setGeometry(84, top + 77, 64, 25);
    cmdCancel = new QPushButton(u"&Cancel"_s, this);
    cmdCancel->setObjectName(u"cmdCancel"_s);
    cmdCancel->setGeometry(162, top + 77, 64, 25);
    for (QPushButton *button : {cmdReset, cmdCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    setTabOrder(txtInvoiceNumber, chkDelete);
    setTabOrder(chkDelete, cmdReset);
    setTabOrder(cmdReset, cmdCancel);
    setFixedSize(251, top + 112);

    connect(cmdReset, &QPushButton::clicked, this, &frmInvoiceReset::cmdReset_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    txtInvoiceNumber->installEventFilter(this);
    txtInvoiceNumber->setText(QString::number(m_settings.InvoiceNumber()));
    txtInvoiceNumber->setFocus();
}

bool frmInvoiceReset::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtInvoiceNumber) {
        if (event->type() == QEvent::KeyPress) {
            // Only digits are typed here; Backspace, Tab and keys that type
            // nothing (arrows, Delete) pass. Pasted text is judged at Reset.
            const QString typed = static_cast<QKeyEvent *>(event)->text();
            for (const QChar c : typed) {
                if (!(c >= u'0' && c <= u'9') && c != u'\b' && c != u'\t')
                    return true;
            }
        } else if (event->type() == QEvent::FocusIn) {
            // After a click has placed the cursor, so that the selection stays.
            QTimer::singleShot(0, txtInvoiceNumber, [box = txtInvoiceNumber] { box->selectAll(); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmInvoiceReset::keyPressEvent(QKeyEvent *event)
{
    // Enter and Escape belong to no button: a stray key neither resets nor cancels.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmInvoiceReset::cmdReset_Click()
{
    try {
        const QString text = txtInvoiceNumber->text();
        if (text.isEmpty()) {
            m_platform.messages.inform(u"Enter invoice number"_s);
            return;
        }
        // The number is checked before anything is deleted: a mistyped or
        // pasted number must not cost the user their invoices.
        const qint32 number = ResetInvoiceNumber(text);
        if (chkDelete->isChecked()) {
            const Message question{u"Delete all invoices in invoice folder?"_s, ApplicationTitle(),
                                   Message::Buttons::YesNo, Message::Icon::Exclamation, Message::Answer::Yes};
            if (m_platform.messages.show(question) == Message::Answer::Yes)
                DeleteInvoices();
        }
        m_settings.setInvoiceNumber(number);
        m_newInvoice();
        accept();
    } catch (const RuntimeError &error) {
        m_platform.messages.inform(error.description());
    }
}

void frmInvoiceReset::DeleteInvoices()
{
    const QString folder = AppPath(m_platform.appFolder, u"invoices"_s);
    QStringList names;
    QString error;
    if (!m_platform.files.ListFiles(folder, u"*.pdf"_s, &names, &error))
        return; // no invoices folder: nothing to delete
    for (const QString &name : std::as_const(names)) {
        if (!m_platform.files.RemoveFile(AppPath(folder, name), &error))
            throw RuntimeError(error);
    }
}

} // namespace ui
