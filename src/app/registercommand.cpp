// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/registercommand.h"

#include "invoice/runtimeerror.h"
#include "platform/appfolder.h"
#include "register/clsregister.h"
#include "register/registercsv.h"

#include <QCoreApplication>
#include <QDate>

#include <algorithm>
#include <cstdio>
#include <string_view>

using invoiceregister::clsRegister;
using invoiceregister::RegisterRecord;
using invoiceregister::WriteRegisterCsv;

using platform::AppFolder;
using platform::PrepareAppFolder;
using platform::UserAppFolder;

using invoice::RuntimeError;

using namespace Qt::StringLiterals;

namespace modMain {

namespace {

const QString Usage = u"usage: quillbook --export-register FILE [--from YYYY-MM-DD] [--to YYYY-MM-DD]"_s;

} // namespace

bool IsRegisterCommand(int argc, char *argv[])
{
    return std::any_of(argv + 1, argv + argc,
                       [](const char *argument) { return std::string_view(argument) == "--export-register"; });
}

int ExportRegister(const QStringList &arguments, const QString &appFolder, QString *error)
{
    QString file;
    QDate from, to;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &option = arguments[i];
        if (i + 1 >= arguments.size()) {
            *error = Usage;
            return 2;
        }
        const QString value = arguments[++i];
        if (option == u"--export-register") {
            file = value;
        } else if (option == u"--from" || option == u"--to") {
            const QDate date = QDate::fromString(value, Qt::ISODate);
            if (!date.isValid()) {
                *error = u"%1 is not a date in the form YYYY-MM-DD\n"_s.arg(value) + Usage;
                return 2;
            }
            (option == u"--from" ? from : to) = date;
        } else {
            *error = Usage;
            return 2;
        }
    }
    if (file.isEmpty()) {
        *error = Usage;
        return 2;
    }
    try {
        clsRegister invoiceRegister(appFolder);
        invoiceRegister.open();
        if (const QString notice = invoiceRegister.takeNotice(); !notice.isEmpty())
            std::fprintf(stderr, "quillbook: %s\n", qPrintable(notice));
        const QList<RegisterRecord> records = invoiceRegister.records(from, to);
        std::vector<const RegisterRecord *> list;
        for (const RegisterRecord &r : records)
            list.push_back(&r);
        if (!WriteRegisterCsv(file, list, error))
            return 1;
    } catch (const RuntimeError &failure) {
        *error = failure.description();
        return 1;
    }
    return 0;
}

int RunRegisterCommand(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const AppFolder folder = PrepareAppFolder(QCoreApplication::applicationDirPath(), UserAppFolder());
    if (!folder.error.isEmpty()) {
        std::fprintf(stderr, "quillbook: %s\n", qPrintable(folder.error));
        return 1;
    }
    QString error;
    const int status = ExportRegister(QCoreApplication::arguments(), folder.path, &error);
    if (status != 0)
        std::fprintf(stderr, "quillbook: %s\n", qPrintable(error));
    return status;
}

} // namespace modMain
