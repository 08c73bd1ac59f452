// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Typing on the invoice page: the key filters, line totals that follow
// quantity and price, adjustment boxes that stay numeric, numbers tidied on
// leaving a box, and a recalculation after every edit.
//
// Writing a box's text from here runs that box's change handling at once,
// inside the statement that wrote it (QLineEdit::textChanged is synchronous),
// and writing the text a box already holds runs nothing. The handlers below
// rely on both: tidying a price recomputes its line, and emptying an emptied
// price ends the chain.
#include "ui/frmmain2.h"

#include "invoice/runtimeerror.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "sheet/sheetrules.h"
#include "ui/textbox.h"

#include <QCheckBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabBar>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

bool allowsFocusHandling(Qt::FocusReason reason)
{
    // The window losing or regaining activation (another window, a message
    // box, a menu) is no move between the window's controls.
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

bool frmMain2::NumberKey(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'\b' || c == u'\t';
}

void frmMain2::on(QWidget *control, ControlEvents events)
{
    m_events.insert(control, std::move(events));
    control->installEventFilter(this);
    // Focus is acted on after the box's own handling, through its signals.
    if (auto *box = qobject_cast<TextBox *>(control)) {
        connect(box, &TextBox::gotFocus, this, [this, box](Qt::FocusReason reason) {
            const ControlEvents events = m_events.value(box);
            if (events.gotFocus && allowsFocusHandling(reason))
                events.gotFocus();
        });
        connect(box, &TextBox::lostFocus, this, [this, box](Qt::FocusReason reason) {
            const ControlEvents events = m_events.value(box);
            if (events.lostFocus && allowsFocusHandling(reason))
                events.lostFocus();
        });
    }
}

void frmMain2::connectInvoicePage()
{
    auto selectOnFocus = [this](QLineEdit *box) { return [this, box] { SelectAllText(box); }; };
    // A unit price may also be negative (a credit line).
    auto priceKey = [](QChar c) { return NumberKey(c) || c == u'-'; };

    for (QLineEdit *box : txtCustomerDetails)
        on(box, {.gotFocus = selectOnFocus(box)});
    for (int i = 0; i < LineCount; ++i) {
        on(txtDescription[i], {.gotFocus = selectOnFocus(txtDescription[i])});
        on(txtQty[i], {.keyAllowed = NumberKey, .gotFocus = selectOnFocus(txtQty[i])});
        connect(txtQty[i], &QLineEdit::textChanged, this, [this, i] { txtQty_Change(i); });
        on(txtUnitPrice[i], {.keyAllowed = priceKey,
                             .gotFocus = selectOnFocus(txtUnitPrice[i]),
                             .lostFocus = [this, i] { txtUnitPrice_LostFocus(i); }});
        connect(txtUnitPrice[i], &QLineEdit::textChanged, this, [this, i] { txtUnitPrice_Change(i); });
        // A left click and Space both toggle the box and emit clicked() after
        // the new state is set; the other buttons are caught on release.
        connect(chkTax[i], &QCheckBox::clicked, this, [this, i] { chkTax_MouseUp(i); });
        on(chkTax[i], {.otherButtonReleased = [this, i] { chkTax_MouseUp(i); }});
    }

    const std::pair<QLineEdit *, bool> adjustments[] = {
        {txtSurcharge1, true}, {txtDiscount, true}, {txtSurcharge2, true}, {txtSH, false}, {txtReceived, false}};
    for (const auto &[box, percentage] : adjustments) {
        on(box, {.keyAllowed = NumberKey,
                 .gotFocus = selectOnFocus(box),
                 .lostFocus = [this, box = box] { Adjustment_LostFocus(box); }});
        connect(box, &QLineEdit::textChanged, this,
                [this, box = box, percentage = percentage] { Adjustment_Change(box, percentage); });
    }

    // The mouse wheel would switch tabs without the page following.
    on(tab1, {});
}

bool frmMain2::eventFilter(QObject *watched, QEvent *event)
{
    const auto found = m_events.constFind(watched);
    if (found == m_events.constEnd())
        return QMainWindow::eventFilter(watched, event);
    const ControlEvents &events = *found;
    if (watched == tab1 && event->type() == QEvent::KeyPress)
        return TabStripKey(*static_cast<QKeyEvent *>(event));

    switch (event->type()) {
    case QEvent::KeyPress:
        if (events.keyAllowed) {
            const auto *key = static_cast<QKeyEvent *>(event);
            // Keys that type nothing (arrows, Home, Delete) are no characters.
            if (key->key() == Qt::Key_Delete)
                return false;
            const QString typed = key->text();
            for (const QChar c : typed) {
                if (!events.keyAllowed(c))
                    return true;
            }
        }
        break;
    case QEvent::InputMethod:
        // Text composed by an input method is typed text too.
        if (events.keyAllowed) {
            const auto *input = static_cast<QInputMethodEvent *>(event);
            for (const QChar c : input->commitString()) {
                if (!events.keyAllowed(c))
                    return true;
            }
        }
        break;
    case QEvent::MouseButtonRelease:
        if (events.otherButtonReleased) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const auto *widget = static_cast<QWidget *>(watched);
            if (mouse->button() != Qt::LeftButton && widget->rect().contains(mouse->position().toPoint()))
                events.otherButtonReleased();
        }
        break;
    case QEvent::Wheel:
        return watched == tab1;
    default:
        break;
    }
    return false;
}

bool frmMain2::TabStripKey(const QKeyEvent &key)
{
    // Arrows change the page as a click on a tab would; Tab enters the page shown.
    if (key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))
        return false;
    switch (key.key()) {
    case Qt::Key_Right:
    case Qt::Key_Left:
        ShowNeighbourPage(key.key() == Qt::Key_Right ? 1 : -1);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        EnterPage(key.key() == Qt::Key_Tab && !(key.modifiers() & Qt::ShiftModifier));
        return true;
    default:
        return false;
    }
}

void frmMain2::SelectAllText(QLineEdit *box)
{
    box->selectAll();
    // A click places the cursor after the focus arrives and would undo an
    // immediate selection; select once more when that is done.
    QTimer::singleShot(0, box, [box] {
        if (box->hasFocus())
            box->selectAll();
    });
}

void frmMain2::txtQty_Change(int index)
{
    UpdateLineTotal(index, true);
}

void frmMain2::txtUnitPrice_Change(int index)
{
    UpdateLineTotal(index, false);
}

void frmMain2::UpdateLineTotal(int index, bool quantityChanged)
{
    // A lone "-" or ".", or a second ".", empties the price at once; its own
    // change handling runs the line once more, nested here.
    if (!quantityChanged) {
        if (const auto corrected = sheet::CorrectedPrice(txtUnitPrice[index]->text()))
            txtUnitPrice[index]->setText(*corrected);
    }

    if (!txtQty[index]->text().isEmpty()) {
        try {
            txtTotal[index]->setText(sheet::LineTotalText(txtQty[index]->text(), txtUnitPrice[index]->text()));
        } catch (const RuntimeError &error) {
            // The line keeps its previous total and nothing is re-totalled.
            m_platform.messages.inform(error.description());
            return;
        }
    } else {
        txtTotal[index]->setText(QString());
        // Clearing a quantity clears the whole line; clearing a price does not.
        if (quantityChanged)
            txtUnitPrice[index]->setText(QString());
    }
    RefreshTotals();
}

void frmMain2::txtUnitPrice_LostFocus(int index)
{
    txtUnitPrice[index]->setText(sheet::TidiedPrice(txtUnitPrice[index]->text()));
}

void frmMain2::Adjustment_Change(QLineEdit *box, bool percentage)
{
    if (const auto corrected = sheet::CorrectedAdjustment(box->text(), percentage))
        box->setText(*corrected);
    RefreshTotals();
}

void frmMain2::Adjustment_LostFocus(QLineEdit *box)
{
    box->setText(sheet::TidiedAdjustment(box->text()));
}

void frmMain2::chkTax_MouseUp(int /*index*/)
{
    RefreshTotals();
}
