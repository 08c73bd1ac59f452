// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/messagebox.h"
#include "platformui/qtfiledialog.h"
#include "platformui/qtmessagebox.h"

#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>

using platform::Message;
using platformui::QtFileDialog;
using platformui::QtMessageBox;

using namespace Qt::StringLiterals;

// The production dialogs, shown without waiting for an answer.
class DialogSeamsTest : public QObject
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
        QTest::newRow("upper") << u"*.jpg"_s << u"LOGO.JPG"_s << true;
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

    // A message never breaks a path in the middle.
    void messagesKeepPathsWhole()
    {
        const QString path = u"/home/owner/.local/share/Quillbook/invoices/INV1001-with-a-long-name.pdf"_s;
        QtMessageBox messages;
        const auto box
            = messages.makeBox({u"Cannot write %1: %2 is a file, not a folder."_s.arg(path, path), u"Tallyquill"_s});
        box->show();
        auto *label = box->findChild<QLabel *>(u"qt_msgbox_label"_s);
        QVERIFY(label);
        QCOMPARE_GE(label->width(), label->fontMetrics().horizontalAdvance(path));
    }
};

QTEST_MAIN(DialogSeamsTest)
#include "tst_dialogseams.moc"
