// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/reportengine.h"

#include <QString>

namespace invoicepdf {

// The report engine's three operations, as the invoice uses them. One
// instance serves every document while the program runs; every parameter is
// set anew before each export.
class InvoiceReport
{
public:
    virtual ~InvoiceReport() = default;

    virtual void TemplatePath(const QString &path) = 0;
    virtual void SetParameter(const QString &name, const QString &value) = 0;
    // Writes the PDF completely beside `outputPath` and only then puts it in
    // place, so that a failure leaves any earlier file there untouched.
    // Returns false and sets errorString() on failure.
    virtual bool ExportPdf(const QString &outputPath) = 0;
    virtual QString errorString() const = 0;
    // What the last export left out without failing (a picture that cannot
    // be read), one line each.
    virtual QStringList warnings() const = 0;
};

// Our report engine behind that interface.
class EngineInvoiceReport : public InvoiceReport
{
public:
    void TemplatePath(const QString &path) override { m_engine.TemplatePath(path); }
    void SetParameter(const QString &name, const QString &value) override { m_engine.SetParameter(name, value); }
    bool ExportPdf(const QString &outputPath) override { return m_engine.ExportPdf(outputPath); }
    QString errorString() const override { return m_engine.errorString(); }
    QStringList warnings() const override { return m_engine.warnings(); }

    report::ReportEngine &engine() { return m_engine; }

private:
    report::ReportEngine m_engine;
};

} // namespace invoicepdf
