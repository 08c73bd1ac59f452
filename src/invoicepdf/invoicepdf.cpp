// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoicepdf/invoicepdf.h"

#include "invoice/runtimeerror.h"
#include "invoicepdf/invoiceparameters.h"
#include "invoicepdf/invoicereport.h"
#include "platform/filesystem.h"
#include "platform/messagebox.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

using platform::AppPath;
using platform::MessageBox;

using invoice::RuntimeError;

namespace invoicepdf {

using namespace Qt::StringLiterals;

QString InvoicePdfPath(const QString &appFolder, const QString &invoiceNumber, bool previewTemplate)
{
    if (previewTemplate)
        return AppPath(appFolder, u"viewtemplate.pdf"_s);
    return AppPath(appFolder, u"invoices/INV%1.pdf"_s.arg(invoiceNumber));
}

std::optional<QString> WriteInvoicePdf(InvoiceReport &report, MessageBox &messages, const InvoiceDocument &document,
                                       const InvoiceValues &invoice, const PdfFinish &finish)
{
    const QString path = InvoicePdfPath(document.appFolder, invoice.invoiceNumber, document.previewTemplate);
    if (!document.previewTemplate) {
        if (QFileInfo(path).isFile()
            && !messages.ask(u"Invoice INV%1 already exists.Overwrite?"_s.arg(invoice.invoiceNumber)))
            return std::nullopt;
        // A folder deleted since the first start is made again rather than
        // refusing the invoice; one that cannot be made fails the export.
        QDir().mkpath(QFileInfo(path).absolutePath());
    }

    report.TemplatePath(AppPath(document.appFolder, document.templateName));
    for (const auto &[name, value] :
         InvoiceParameters(invoice, document.previewTemplate, document.today, document.appFolder))
        report.SetParameter(name, value);
    if (!finish) {
        if (!report.ExportPdf(path))
            throw RuntimeError(report.errorString());
        return path;
    }
    // The page is only a step on the way to the finished file: it is kept in
    // the user's runtime folder, in memory on most desktops, where there is one.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const bool inMemory = !runtime.isEmpty() && QFileInfo(runtime).isDir();
    QTemporaryDir work((inMemory ? runtime : QDir::tempPath()) + u"/quillbook-XXXXXX"_s);
    const QString exported = work.filePath(QFileInfo(path).fileName());
    if (!work.isValid() || !report.ExportPdf(exported))
        throw RuntimeError(work.isValid() ? report.errorString() : work.errorString());
    QString error;
    if (!finish(exported, path, &error))
        throw RuntimeError(error);
    return path;
}

} // namespace invoicepdf
