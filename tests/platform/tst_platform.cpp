// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/appfolder.h"
#include "platform/messagebox.h"
#include "platform/shell.h"
#include "platformui/qtfiledialog.h"
#include "platformui/qtmessagebox.h"
#include "platformdoubles.h"
#include "withoutpermissionoverride.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

using platform::AppFolder;
using platform::ApplicationTitle;
using platform::DesktopShell;
using platform::Message;
using platform::PrepareAppFolder;
using platform::ShellOpenFile;
using platformui::QtFileDialog;
using platformui::QtMessageBox;

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

// relative path -> contents; a folder's path ends with "/", a link's contents are "->target"
using Files = QMap<QString, QByteArray>;

void write(const QString &root, const Files &files)
{
    for (const auto &[name, contents] : files.asKeyValueRange()) {
        const QString path = QDir(root).filePath(name);
        QDir().mkpath(name.endsWith(u'/') ? path : QFileInfo(path).absolutePath());
        QFile file(path);
        if (contents.startsWith("->"))
            QFile::link(QString::fromUtf8(contents.mid(2)), path);
        else if (!name.endsWith(u'/') && file.open(QIODevice::WriteOnly))
            file.write(contents);
    }
}

// Every file and empty folder below root with its contents, as write() takes them.
Files read(const QString &root)
{
    Files files;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        QFile file(info.filePath());
        const QString name = QDir(root).relativeFilePath(info.filePath());
        if (info.isSymLink())
            files.insert(name, "->" + QFileInfo(info.symLinkTarget()).fileName().toUtf8());
        else if (info.isDir() && QDir(info.filePath()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            files.insert(name + u'/', {});
        else if (file.open(QIODevice::ReadOnly))
            files.insert(name, file.readAll());
    }
    return files;
}

} // namespace

// The desktop route runs in a private desktop whose one program, a stand-in viewer, opens PDFs.
class PlatformTest : public QObject
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
        for (const auto &[name, folder] : {std::pair("HOME", "/home"),
                                           {"XDG_DATA_HOME", "/data"},
                                           {"XDG_DATA_DIRS", "/data"},
                                           {"XDG_CONFIG_HOME", "/config"},
                                           {"XDG_CONFIG_DIRS", "/config"}})
            qputenv(name, QFile::encodeName(root) + folder);

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
        QTest::newRow("viewer") << u"INV 1001.pdf"_s << QString() << QByteArray();
        QTest::newRow("file missing") << u"INV1.pdf"_s << u"File not found"_s << QByteArray();
        QTest::newRow("folder missing") << u"gone/INV1.pdf"_s << u"Path not found"_s << QByteArray();
        QTest::newRow("not readable") << u"locked.pdf"_s << u"Access denied"_s << QByteArray();
        QTest::newRow("an answer of a blank line")
            << u"INV 1001.pdf"_s << u"No application associated with filename extension"_s << QByteArray("\\n");
    }
    void open()
    {
        QFETCH(QString, target);
        QFETCH(QString, message);
        QFETCH(QByteArray, desktopAnswer);
        const QString docs = m_desktop.filePath(u"docs"_s);
        writeFile(docs + u"/locked.pdf"_s, "%PDF-1.4\n", QFile::WriteOwner);
        writeFile(docs + u"/INV 1001.pdf"_s, "%PDF-1.4\n%%EOF\n");
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
        const QString bin = m_desktop.filePath(u"slow"_s), pdf = m_desktop.filePath(u"docs/INV1002.pdf"_s);
        QVERIFY(QDir().mkpath(bin));
        writeFile(bin + u"/xdg-mime"_s, "#!/bin/sh\nsleep 0.3\necho standin-viewer.desktop\n",
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeFile(pdf, "%PDF-1.4\n%%EOF\n");
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin) + ':' + path);
        auto answered = std::make_shared<bool>(false);
        DesktopShell().open(pdf, [answered](platform::ShellResult) { *answered = true; });
        qputenv("PATH", path);
        QTest::qWait(800); // past the stand-in's answer
        QVERIFY(!*answered);
    }

    // Installed (in bin/ beside share/quillbook/), the user's folder gets what it misses,
    // writable although shipped read-only; else the application folder is the program's own.
    void prepareAppFolder()
    {
        QTemporaryDir root;
        write(root.filePath(u"build"_s), {{u"app/quillbook"_s, "exe"}, {u"share/quillbook/logo.jpg"_s, "jpeg"}});
        const AppFolder own = PrepareAppFolder(root.filePath(u"build/app"_s), root.filePath(u"home"_s));
        QCOMPARE(own.path, root.filePath(u"build/app"_s));
        QVERIFY(own.shared.isEmpty() && !QFileInfo::exists(root.filePath(u"home"_s)));

        const Files installed{{u"bin/quillbook"_s, "exe"},
                              {u"share/quillbook/invferncask.rep"_s, "fern"},
                              {u"share/quillbook/invslate.rep"_s, "slate"},
                              {u"share/quillbook/logo.jpg"_s, "jpeg"}};
        const QString prefix = root.filePath(u"prefix"_s), user = root.filePath(u"home/Quillbook"_s);
        write(prefix, installed);
        QVERIFY(!PrepareAppFolder(prefix + u"/bin"_s, QString()).error.isEmpty()); // no home
        QVERIFY(
            QFile::setPermissions(prefix + u"/share/quillbook/invslate.rep"_s, QFile::ReadOwner | QFile::ReadOther));
        write(user, {{u"invferncask.rep"_s, "edited"}, {u"mine.rep"_s, "own"}, {u"logo.jpg"_s, "->gone.jpg"}});
        // Root writes any file and Qt then copies without the mode, so an ordinary user prepares first.
        for (const QString &folder : {root.path(), root.filePath(u"home"_s), user})
            QVERIFY(QFile::setPermissions(folder, QFile::Permissions(0x7777)));
        const pid_t child = fork();
        if (child == 0) {
            const bool ordinary = geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0);
            const bool writable = ordinary && PrepareAppFolder(prefix + u"/bin"_s, user).error.isEmpty()
                && (QFileInfo(user + u"/invslate.rep"_s).permissions() & QFile::WriteOwner);
            _exit(writable ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        const AppFolder folder = PrepareAppFolder(prefix + u"/bin"_s, user);
        QVERIFY2(folder.error.isEmpty(), qPrintable(folder.error));
        QCOMPARE(folder.path, user);
        QCOMPARE(folder.shared, QDir(prefix + u"/share/quillbook"_s).canonicalPath());
        QCOMPARE(read(prefix), installed); // nothing is written beside the program
        QCOMPARE(read(user),
                 (Files{{u"invoices/"_s, {}},
                        {u"invferncask.rep"_s, "edited"},
                        {u"mine.rep"_s, "own"},
                        {u"invslate.rep"_s, "slate"},
                        {u"logo.jpg"_s, "->gone.jpg"}}));
    }

    // The dialog's patterns match either letter case, as Linux names are compared exactly.
    void patternsMatchAnyLetterCase()
    {
        const auto matches = [](const QString &pattern, const QString &name) {
            return QRegularExpression(
                       QRegularExpression::wildcardToRegularExpression(QtFileDialog::anyLetterCase(pattern)))
                .match(name)
                .hasMatch();
        };
        QVERIFY(matches(u"*.jpg"_s, u"LOGO.JPG"_s));
        QVERIFY(!matches(u"*.bmp"_s, u"bmp"_s));
    }

    // Enter takes a question's default answer; Escape always answers No.
    void questionKeys_data()
    {
        QTest::addColumn<bool>("defaultNo");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("answersNo");
        QTest::newRow("Enter, default Yes") << false << int(Qt::Key_Return) << false;
        QTest::newRow("Enter, default No") << true << int(Qt::Key_Return) << true;
        QTest::newRow("Escape, default Yes") << false << int(Qt::Key_Escape) << true;
    }
    void questionKeys()
    {
        QFETCH(bool, defaultNo);
        QFETCH(int, key);
        QFETCH(bool, answersNo);
        QtMessageBox messages;
        const auto box
            = messages.makeBox({u"Delete all invoices?"_s, u"Tallyquill"_s, Message::Buttons::YesNo,
                                Message::Icon::None, defaultNo ? Message::Answer::No : Message::Answer::Yes});
        box->show();
        QTest::keyClick(box.get(), Qt::Key(key));
        QCOMPARE(box->clickedButton(), box->button(answersNo ? QMessageBox::No : QMessageBox::Yes));
    }
};

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
