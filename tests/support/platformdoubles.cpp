// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platformdoubles.h"

#include <QDialog>
#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

using platform::Message;

Message::Answer ScriptedMessageBox::show(const Message &message)
{
    m_shown.append(message);
    if (m_script.isEmpty()) {
        const QByteArray text
            = "Unexpected message: \"" + message.text.toUtf8() + "\" titled \"" + message.title.toUtf8() + '"';
        QTest::qFail(text.constData(), __FILE__, __LINE__);
        return message.buttons == Message::Buttons::Ok ? Message::Answer::Ok : Message::Answer::No;
    }
    const Message::Answer answer = m_script.dequeue();
    if ((message.buttons == Message::Buttons::Ok) != (answer == Message::Answer::Ok))
        QTest::qFail(qPrintable(u"Scripted answer does not fit the buttons of \"%1\""_s.arg(message.text)), __FILE__,
                     __LINE__);
    return answer;
}

QString ScriptedFileDialog::openFileName(const platform::FileFilter &filter)
{
    m_shown.append(filter);
    if (m_script.isEmpty()) {
        QTest::qFail("Unexpected file dialog", __FILE__, __LINE__);
        return {};
    }
    return m_script.dequeue();
}

int ScriptedDialogs::exec(QDialog &dialog)
{
    if (m_steps.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("Unexpected dialog: ") + dialog.windowTitle()), __FILE__, __LINE__);
        return QDialog::Rejected;
    }
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        QTest::qFail("The dialog was not shown", __FILE__, __LINE__);
    m_steps.dequeue()(dialog);
    if (dialog.isVisible())
        dialog.reject();
    return dialog.result();
}

RecordingReport::RecordingReport()
{
    m_engine.engine().setFontsFolder(QDir(QStringLiteral(QUILLBOOK_APP_DIR)).filePath(QStringLiteral("fonts")));
}

void RecordingReport::TemplatePath(const QString &path)
{
    m_engine.TemplatePath(path);
}

void RecordingReport::SetParameter(const QString &name, const QString &value)
{
    if (std::exchange(m_exported, false))
        parameters.clear();
    parameters.append({name, value});
    m_engine.SetParameter(name, value);
}

bool RecordingReport::ExportPdf(const QString &outputPath)
{
    m_exported = true;
    return m_engine.ExportPdf(outputPath);
}
