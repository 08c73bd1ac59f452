// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace invoice {

// The one run-time failure of the program. Procedures that trap failures
// catch it and show description() to the user in a message box.
class RuntimeError : public std::exception
{
public:
    explicit RuntimeError(const QString &description) : m_description(description), m_what(description.toUtf8()) { }

    // The text the user sees, for example "Overflow".
    QString description() const { return m_description; }

    // The description in UTF-8, for code that only knows std::exception.
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_description;
    QByteArray m_what;
};

} // namespace invoice
