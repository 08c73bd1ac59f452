// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/appfolder.h"
#include "withoutpermissionoverride.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using platform::AppFolder;
using platform::PrepareAppFolder;

using namespace Qt::StringLiterals;

namespace {

// relative path -> contents; a folder's path ends with "/", a link's
// contents are "->" and the name it points to
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

class AppFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void prepare_data()
    {
        QTest::addColumn<Files>("prefix"); // the program's surroundings; the program is in "bin/" or "app/"
        QTest::addColumn<QString>("program");
        QTest::addColumn<Files>("userBefore"); // null: the user's folder does not exist
        QTest::addColumn<Files>("userAfter");  // null: the program's own folder is the application folder
        QTest::addColumn<QString>("error");

        const Files installed{{u"bin/quillbook"_s, "exe"},
                              {u"share/quillbook/invferncask.rep"_s, "fern"},
                              {u"share/quillbook/invslate.rep"_s, "slate"},
                              {u"share/quillbook/logo.jpg"_s, "jpeg"}};
        QTest::newRow("shared data beside a folder other than bin")
            << Files{{u"app/quillbook"_s, "exe"}, {u"share/quillbook/invferncask.rep"_s, "fern"}} << u"app"_s << Files{}
            << Files{} << QString();
        QTest::newRow("installed, the user's files stay and missing ones come back")
            << installed << u"bin"_s
            << Files{{u"invferncask.rep"_s, "edited"}, {u"mine.rep"_s, "own"}, {u"logo.jpg"_s, "->gone.jpg"}}
            << Files{{u"invoices/"_s, {}},
                     {u"invferncask.rep"_s, "edited"},
                     {u"mine.rep"_s, "own"},
                     {u"invslate.rep"_s, "slate"},
                     {u"logo.jpg"_s, "->gone.jpg"}}
            << QString();
        QTest::newRow("installed, a file in the way of the invoices folder")
            << installed << u"bin"_s << Files{{u"invoices"_s, "file"}} << Files{{u"invoices"_s, "file"}}
            << u"cannot be created"_s;
    }
    void prepare()
    {
        QFETCH(Files, prefix);
        QFETCH(QString, program);
        QFETCH(Files, userBefore);
        QFETCH(Files, userAfter);
        QFETCH(QString, error);
        QTemporaryDir root;
        const QString prefixFolder = root.filePath(u"prefix"_s);
        const QString userFolder = root.filePath(u"home/Quillbook"_s);
        write(prefixFolder, prefix);
        if (!userBefore.isEmpty())
            write(userFolder, userBefore);
        const QString programFolder = QDir(prefixFolder).filePath(program);

        const AppFolder folder = PrepareAppFolder(programFolder, userFolder);
        QVERIFY2(folder.error.contains(error) && folder.error.isEmpty() == error.isEmpty(), qPrintable(folder.error));
        QCOMPARE(read(prefixFolder), prefix); // nothing is written beside the program
        if (userAfter.isEmpty()) {
            QCOMPARE(folder.path, programFolder);
            QVERIFY(folder.shared.isEmpty());
            QVERIFY(!QFileInfo::exists(root.filePath(u"home"_s)));
            return;
        }
        QCOMPARE(folder.path, userFolder);
        QCOMPARE(folder.shared, QDir(prefixFolder + u"/share/quillbook"_s).canonicalPath());
        QCOMPARE(read(userFolder), userAfter);
    }

    // The user's copies are the user's to edit although the shipped files are
    // read-only; root would write them anyway, so it is held to the mode.
    void userCopies()
    {
        QTemporaryDir root;
        write(root.path(), {{u"bin/quillbook"_s, "exe"}, {u"share/quillbook/invslate.rep"_s, "slate"}});
        QVERIFY(QFile::setPermissions(root.filePath(u"share/quillbook/invslate.rep"_s), QFile::ReadOwner));
        QVERIFY(!PrepareAppFolder(root.filePath(u"bin"_s), QString()).error.isEmpty()); // no home
        WithoutPermissionOverride asAnyUser;
        QVERIFY(PrepareAppFolder(root.filePath(u"bin"_s), root.filePath(u"home"_s)).error.isEmpty());
        QVERIFY(QFileInfo(root.filePath(u"home/invslate.rep"_s)).permissions() & QFile::WriteOwner);
    }
};

QTEST_GUILESS_MAIN(AppFolderTest)
#include "tst_appfolder.moc"
