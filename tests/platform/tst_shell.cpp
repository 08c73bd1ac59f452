// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/messagebox.h"
#include "platform/shell.h"
#include "scriptedmessagebox.h"
#include "withoutpermissionoverride.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using platform::ApplicationTitle;
using platform::DesktopShell;
using platform::Message;
using platform::ShellOpenFile;
using platform::ShellResult;

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString &path, const QByteArray &contents, QFile::Permissions permissions = {})
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
    file.close();
    if (permissions)
        QVERIFY(file.setPermissions(permissions));
}

} // namespace

// The real desktop route, in a private desktop: its own data and config
// folders, holding one stand-in viewer associated with PDF files.
class ShellTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_desktop;
    QString m_viewerLog;

private slots:
    void initTestCase()
    {
        const QString root = m_desktop.path();
        for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                                 "GNOME_DESKTOP_SESSION_ID", "BROWSER", "WAYLAND_DISPLAY"})
            qunsetenv(name);
        qputenv("DISPLAY", ":97"); // the stand-in viewer needs no display, but xdg-open asks for one
        for (const QString &folder : {u"data/applications"_s, u"config"_s, u"home"_s, u"docs"_s})
            QVERIFY(QDir().mkpath(root + u'/' + folder));
        // The system's MIME types, but no program of the system's.
        QVERIFY(QFile::link(u"/usr/share/mime"_s, root + u"/data/mime"_s));
        qputenv("HOME", QFile::encodeName(root + u"/home"_s));
        qputenv("XDG_DATA_HOME", QFile::encodeName(root + u"/data"_s));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(root + u"/data"_s));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + u"/config"_s));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(root + u"/config"_s));

        m_viewerLog = root + u"/viewer.log"_s;
        const QString viewer = root + u"/viewer"_s;
        writeFile(viewer, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + QFile::encodeName(m_viewerLog) + "'\n",
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeFile(root + u"/data/applications/standin-viewer.desktop"_s,
                  "[Desktop Entry]\nType=Application\nName=Stand-in viewer\nExec=" + QFile::encodeName(viewer)
                      + " %f\nMimeType=application/pdf;\n");
        writeFile(root + u"/config/mimeapps.list"_s,
                  "[Default Applications]\napplication/pdf=standin-viewer.desktop\n");
    }

    // An empty message: the stand-in viewer is started with the file.
    void open_data()
    {
        QTest::addColumn<QString>("target"); // relative to the private desktop's docs folder
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("desktopAnswer"); // a stand-in xdg-mime's, where not empty
        const QString nobody = u"No application associated with filename extension"_s;
        QTest::newRow("viewer") << u"INV 1001.pdf"_s << QString() << QByteArray();
        QTest::newRow("file missing") << u"INV1.pdf"_s << u"File not found"_s << QByteArray();
        QTest::newRow("folder missing") << u"gone/INV1.pdf"_s << u"Path not found"_s << QByteArray();
        QTest::newRow("not readable") << u"locked.pdf"_s << u"Access denied"_s << QByteArray();
        QTest::newRow("type nobody opens") << u"notes.qbx"_s << nobody << QByteArray();
        QTest::newRow("an answer of a blank line") << u"INV 1001.pdf"_s << nobody << QByteArray("\\n");
    }
    void open()
    {
        QFETCH(QString, target);
        QFETCH(QString, message);
        QFETCH(QByteArray, desktopAnswer);
        const QString docs = m_desktop.filePath(u"docs"_s);
        writeFile(docs + u"/locked.pdf"_s, "%PDF-1.4\n", QFile::WriteOwner);
        writeFile(docs + u"/INV 1001.pdf"_s, "%PDF-1.4\n%%EOF\n");
        writeFile(docs + u"/notes.qbx"_s, "\x01\x02\x03 binary");
        const QByteArray path = qgetenv("PATH");
        const QString bin = m_desktop.filePath(u"answers"_s);
        if (!desktopAnswer.isEmpty()) {
            QVERIFY(QDir().mkpath(bin));
            writeFile(bin + u"/xdg-mime"_s, "#!/bin/sh\nprintf '" + desktopAnswer + "'\n",
                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv("PATH", QFile::encodeName(bin) + ':' + path);
        }
        QFile::remove(m_viewerLog);
        auto viewerArguments = [this] {
            QFile log(m_viewerLog);
            return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()).trimmed() : QString();
        };

        DesktopShell shell;
        ScriptedMessageBox messages; // an unexpected message fails the test
        if (!message.isEmpty())
            messages.expect(Message::Answer::Ok);
        {
            WithoutPermissionOverride asAnyUser;
            ShellOpenFile(shell, messages, docs + u'/' + target);
        }
        if (message.isEmpty()) {
            QTRY_COMPARE_WITH_TIMEOUT(viewerArguments(), docs + u'/' + target, 20000);
            return;
        }
        QTRY_COMPARE_WITH_TIMEOUT(messages.shown().size(), 1, 20000);
        qputenv("PATH", path);
        QCOMPARE(messages.shown()[0].text, message);
        QCOMPARE(messages.shown()[0].title, ApplicationTitle());
        QVERIFY(!QFile::exists(m_viewerLog));
    }

    // The program may end while the desktop is still answering which program
    // opens a file: the answer is then dropped, never reported to what is gone.
    void endingWhileTheDesktopAnswers()
    {
        const QString bin = m_desktop.filePath(u"bin"_s);
        QVERIFY(QDir().mkpath(bin));
        writeFile(bin + u"/xdg-mime"_s, "#!/bin/sh\nsleep 0.3\necho standin-viewer.desktop\n",
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin) + ':' + path);
        const QString pdf = m_desktop.filePath(u"docs/INV1002.pdf"_s);
        writeFile(pdf, "%PDF-1.4\n%%EOF\n");
        auto answered = std::make_shared<bool>(false);
        {
            DesktopShell shell;
            shell.open(pdf, [answered](ShellResult) { *answered = true; });
        }
        qputenv("PATH", path);
        QTest::qWait(800);
        QVERIFY(!*answered);
    }
};

QTEST_GUILESS_MAIN(ShellTest)
#include "tst_shell.moc"
