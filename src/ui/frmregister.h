// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTableWidget;
class QTimer;
namespace invoiceregister {
class RegisterListModel;
}
namespace invoiceregister {
class clsRegister;
}
namespace platform {
struct Platform;
}

namespace ui {

// The register window (Invoice > Register...): every recorded invoice,
// newest first, with the state of its PDF, the period totals of the records
// shown, the state of the hash chain, the export of the records shown as CSV
// and the rebuild from the invoice PDFs. It is not modal: invoices can be
// printed while it is open, and reload() shows them.
class frmRegister : public QWidget
{
    Q_OBJECT
public:
    frmRegister(platform::Platform &platform, std::shared_ptr<invoiceregister::clsRegister> invoiceRegister,
                QWidget *parent = nullptr);
    ~frmRegister() override;

    // Reads the register again; the PDFs and the chain are checked anew.
    void reload();

    QLineEdit *txtFilter = nullptr;
    QDateEdit *dtpFrom = nullptr;
    QDateEdit *dtpTo = nullptr;
    QTableView *tblRecords = nullptr;
    QComboBox *cmbPeriod = nullptr;
    QTableWidget *tblTotals = nullptr;
    QLabel *lblChain = nullptr;
    QLabel *lblCount = nullptr;
    QPushButton *cmdOpen = nullptr;
    QPushButton *cmdExport = nullptr;
    QPushButton *cmdRebuild = nullptr;
    QPushButton *cmdClose = nullptr;

private:
    void applyFilter();
    void showTotals();
    void checkChain();
    void openPdf(int row);
    void cmdExport_Click();
    void cmdRebuild_Click();
    // Runs a step that may fail; the failure is shown in one message.
    bool Trapped(const std::function<void()> &steps);

    platform::Platform &m_platform;
    std::shared_ptr<invoiceregister::clsRegister> m_register;
    invoiceregister::RegisterListModel *m_model = nullptr;
    QTimer *m_pdfCheck = nullptr;
};

} // namespace ui
