// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <functional>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
namespace settings {
class clsSettings;
}
namespace platform {
struct Platform;
}

namespace ui {

// Sets the next invoice number to any value, optionally deleting every PDF
// in the invoices folder first. Neither button answers Enter or Escape.
class frmInvoiceReset : public QDialog
{
    Q_OBJECT
public:
    // newInvoice blanks the main window's sheet; viewInvoices shows the
    // invoices folder as the main window's View All does.
    frmInvoiceReset(platform::Platform &platform, settings::clsSettings &settings, std::function<void()> newInvoice,
                    std::function<void()> viewInvoices, QWidget *parent = nullptr);

    QLineEdit *txtInvoiceNumber = nullptr;
    QLabel *Label14 = nullptr;
    QCheckBox *chkDelete = nullptr;
    QPushButton *cmdReset = nullptr;
    QPushButton *cmdCancel = nullptr;
    QAction *mnuViewInvoices = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void cmdReset_Click();
    void DeleteInvoices();

    platform::Platform &m_platform;
    settings::clsSettings &m_settings;
    std::function<void()> m_newInvoice;
};

// The reset dialog's number as a 32-bit whole number: digits, with blanks
// around them allowed. Throws RuntimeError ("Type mismatch", "Overflow").
qint32 ResetInvoiceNumber(const QString &text);

} // namespace ui
