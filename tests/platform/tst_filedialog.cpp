// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/filedialog.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class FileDialogTest : public QObject
{
    Q_OBJECT

private slots:
    // The dialog's patterns match either letter case even where names are
    // compared exactly, as on most Linux file systems.
    void patternsMatchAnyLetterCase_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("lower") << u"*.jpg"_s << u"logo.jpg"_s << true;
        QTest::newRow("upper") << u"*.jpg"_s << u"LOGO.JPG"_s << true;
        QTest::newRow("mixed") << u"*.bmp"_s << u"Shop Front.Bmp"_s << true;
        QTest::newRow("other type") << u"*.jpg"_s << u"logo.jpeg"_s << false;
        QTest::newRow("name part kept") << u"*.bmp"_s << u"bmp"_s << false;
    }
    void patternsMatchAnyLetterCase()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        const QRegularExpression exact(
            QRegularExpression::wildcardToRegularExpression(QtFileDialog::anyLetterCase(pattern)));
        QCOMPARE(exact.match(name).hasMatch(), matches);
    }
};

QTEST_GUILESS_MAIN(FileDialogTest)
#include "tst_filedialog.moc"
