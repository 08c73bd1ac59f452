// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Printing the invoice to PDF, the template preview, and what the window
// opens through the desktop: the invoices folder and the maker's web site.
#include "ui/frmmain2.h"

#include "einvoice/einvoicedocument.h"
#include "invoice/numbers.h"
#include "invoice/runtimeerror.h"
#include "invoicepdf/invoicereport.h"
#include "platform/buildinfo.h"
#include "platform/clock.h"
#include "platform/filesystem.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "register/clsregister.h"
#include "settings/clssettings.h"
#include "sheet/invoicetexts.h"
#include "sheet/sheetrules.h"

#include <QFileInfo>
#include <QLineEdit>

using invoiceregister::PendingRecord;

using invoicepdf::InvoiceDocument;
using invoicepdf::InvoiceValues;

using platform::AppPath;
namespace BuildInfo = platform::BuildInfo;

using invoice::RuntimeError;

namespace ui {

using namespace Qt::StringLiterals;

namespace {

QStringList texts(const auto &boxes)
{
    QStringList result;
    for (const QLineEdit *box : boxes)
        result << box->text();
    return result;
}

// The engine's warnings without the template position in front
// ("file:line:column: the picture ... cannot be read").
QStringList PlainWarnings(const QStringList &warnings)
{
    QStringList plain;
    for (const QString &warning : warnings) {
        const qsizetype picture = warning.indexOf(u"the picture "_s);
        plain << (picture >= 0 ? warning.mid(picture) : warning);
    }
    return plain;
}

} // namespace

void frmMain2::FinishEditing()
{
    // A button clicked with the mouse takes the focus, and the box left
    // tidies itself; an access key or a menu entry leaves the focus where it
    // was, so the box is tidied here, and the invoice is the same whichever
    // way printing was started.
    m_invoicePage->FinishEditing();
    m_settingsPage->FinishEditing();
}

bool frmMain2::FiguresAddUp()
{
    if (!m_totals)
        return true;
    QString problem;
    try {
        // A figure too large for the totals leaves the earlier totals shown.
        for (int i = 0; i < LineCount; ++i) {
            if (problem.isEmpty() && !txtQty[i]->text().isEmpty()
                && sheet::LineTotalText(txtQty[i]->text(), txtUnitPrice[i]->text()) != txtTotal[i]->text())
                problem = u"the total of line %1 does not follow from its quantity and price"_s.arg(i + 1);
        }
        m_totals->Calculate();
        if (problem.isEmpty()
            && (m_totals->SubTotal() != txtSubTotal->text() || m_totals->Tax() != txtTax->text()
                || m_totals->Total() != txtTTotal->text() || m_totals->Balance() != txtBalance->text()))
            problem = u"the totals shown are not those of the figures"_s;
    } catch (const RuntimeError &error) {
        problem = error.description();
    }
    if (problem.isEmpty())
        return true;
    m_platform.messages.inform(u"The invoice cannot be printed: its figures do not add up (%1).\r\n"
                               "Correct the figure that is too large, then print again."_s.arg(problem));
    return false;
}

bool frmMain2::ReadyToPrint()
{
    // Checked before the tidy too, so that a figure the totals cannot take
    // is told once, by the refusal, and not again by the tidy's re-totalling.
    if (!FiguresAddUp())
        return false;
    FinishEditing();
    return FiguresAddUp();
}

void frmMain2::cmdPreview_Click()
{
    if (!ReadyToPrint())
        return;
    Trapped([this] {
        const QString question = sheet::MissingDetailsQuestion(texts(txtCustomerDetails), texts(txtDescription));
        if (!question.isEmpty() && !m_platform.messages.ask(question))
            return;
        const bool advance
            = m_platform.messages.ask(u"Incement invoice number?\r\n(this will clear current invoice information)"_s);
        PrintInvoice(advance, false);
    });
}

void frmMain2::cmdView_Click()
{
    if (ReadyToPrint())
        PrintInvoice(false, true);
}

void frmMain2::PrintInvoice(bool advanceNumber, bool previewTemplate)
{
    Trapped([&] {
        const InvoiceDocument document{m_platform.appFolder, m_settings.Template(), previewTemplate,
                                       m_platform.clock.today()};
        const InvoiceValues values = invoiceValues();
        // An invoice is in the register before its PDF is written, and
        // confirmed there once the PDF is in place.
        std::optional<PendingRecord> recording;
        if (!previewTemplate)
            recording.emplace(InvoiceRegister(), RegisterEntry(document, values));
        const std::optional<QString> path = einvoice::WriteInvoiceDocument(
            m_platform.report, m_platform.messages, m_platform.store, document, values, totalsInput());
        if (!path)
            return;
        if (recording) {
            recording->confirm();
            RegisterChanged();
        }
        if (advanceNumber) {
            IncrementInvoiceNumber();
            NewInvoice();
        }
        // A logo that cannot be read leaves its box empty; the invoice is
        // still written, and the user hears of it once.
        const QStringList leftOut = m_platform.report.warnings();
        if (!leftOut.isEmpty())
            m_platform.messages.inform(u"%1 was written without a picture:\r\n%2"_s.arg(
                QFileInfo(*path).fileName(), PlainWarnings(leftOut).join(u"\r\n"_s)));
        ShellOpenFile(*path);
    });
}

InvoiceValues frmMain2::invoiceValues() const
{
    const sheet::StoredValues stored{m_settings.CurrencyName(), m_settings.Tel(),      m_settings.Fax(),
                                     m_settings.TaxCharge(),    m_settings.TaxValue(), m_settings.Logo()};
    sheet::AdjustmentAmounts amounts;
    if (m_totals)
        amounts = {m_totals->Surcharge1(), m_totals->Surcharge2(), m_totals->Discount()};
    return sheet::GatherInvoiceValues(m_invoicePage->texts(), m_settingsPage->texts(), stored, amounts);
}

void frmMain2::ShellOpenFile(const QString &target)
{
    platform::ShellOpenFile(m_platform.shell, m_platform.messages, target);
}

void frmMain2::mnuInvoiceViewAll_Click()
{
    // The desktop's handler for folders is its file manager.
    ShellOpenFile(AppPath(m_platform.appFolder, u"invoices"_s));
}

void frmMain2::mnuHelpHelp_Click()
{
    m_platform.messages.inform(u"Click on a heading to get help."_s, u"Help"_s);
}

void frmMain2::mnuHelpSupport_Click()
{
    ShellOpenFile(BuildInfo::SupportAddress());
}

} // namespace ui
