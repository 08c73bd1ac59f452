// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/runtimeerror.h"
#include "sheet/sheetrules.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString Unchanged = u"(unchanged)"_s;
QString shown(const std::optional<QString> &corrected)
{
    return corrected.value_or(Unchanged);
}
} // namespace

class SheetRulesTest : public QObject
{
    Q_OBJECT

private slots:
    // What a box holds after each change, and after it is left.
    void boxes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("price");      // corrected as typed
        QTest::addColumn<QString>("percentage"); // corrected as typed
        QTest::addColumn<QString>("money");      // shipping, received: corrected as typed
        QTest::addColumn<QString>("tidyPrice");
        QTest::addColumn<QString>("tidyAdjustment");
        const QString U = Unchanged;
        QTest::newRow("whole number") << u"1500"_s << U << u"100"_s << U << u"1,500.00"_s << u"1,500.00"_s;
        QTest::newRow("half cent") << u"1.005"_s << U << U << U << u"1.01"_s << u"1.01"_s;
        QTest::newRow("exactly 100") << u"100"_s << U << U << U << u"100.00"_s << u"100.00"_s;
        QTest::newRow("just above 100") << u"100.001"_s << U << u"100"_s << U << u"100.00"_s << u"100.00"_s;
        QTest::newRow("grouped") << u"12,500.5"_s << U << u"100"_s << U << u"12,500.50"_s << u"12,500.50"_s;
        QTest::newRow("negative price") << u"-5"_s << U << U << U << u"-5.00"_s << u"-5.00"_s;
        QTest::newRow("empty") << u""_s << u""_s << u"0.00"_s << u"0.00"_s << u""_s << u"0.00"_s;
        QTest::newRow("lone minus") << u"-"_s << u""_s << u"0.00"_s << u"0.00"_s << u""_s << u"0.00"_s;
        QTest::newRow("lone point") << u"."_s << u""_s << u"0.00"_s << u"0.00"_s << u""_s << u"0.00"_s;
        QTest::newRow("two points") << u"1.2.3"_s << u""_s << u"0.00"_s << u"0.00"_s << u""_s << u"0.00"_s;
    }
    void boxes()
    {
        QFETCH(QString, typed);
        QFETCH(QString, price);
        QFETCH(QString, percentage);
        QFETCH(QString, money);
        QFETCH(QString, tidyPrice);
        QFETCH(QString, tidyAdjustment);
        QCOMPARE(shown(sheet::CorrectedPrice(typed)), price);
        QCOMPARE(shown(sheet::CorrectedAdjustment(typed, true)), percentage);
        QCOMPARE(shown(sheet::CorrectedAdjustment(typed, false)), money);
        QCOMPARE(sheet::TidiedPrice(typed), tidyPrice);
        QCOMPARE(sheet::TidiedAdjustment(typed), tidyAdjustment);
    }

    void lineTotal_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("total"); // "Overflow": refused
        QTest::newRow("worked line") << u"3"_s << u"19.99"_s << u"59.97"_s;
        QTest::newRow("half away from zero") << u"3"_s << u"1.005"_s << u"3.02"_s;
        QTest::newRow("credit line") << u"2"_s << u"-0.125"_s << u"-0.25"_s;
        QTest::newRow("no price yet") << u"2"_s << u""_s << u"0.00"_s;
        QTest::newRow("no quantity") << u""_s << u"10"_s << u""_s;
        QTest::newRow("a point for a quantity") << u"."_s << u"10"_s << u"0.00"_s;
        QTest::newRow("too large") << u"99999999999"_s << u"99999999999"_s << u"Overflow"_s;
    }
    void lineTotal()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(QString, total);
        QString result;
        try {
            result = sheet::LineTotalText(quantity, price);
        } catch (const RuntimeError &error) {
            result = error.description();
        }
        QCOMPARE(result, total);
    }

    // The tax heading, and the rate stored for what the rate box holds.
    void taxHeading_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("taxCharge");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("heading");
        QTest::newRow("first run") << u"+"_s << 1 << u"5.00"_s << u"+TAX@5%"_s;
        QTest::newRow("charge tax switched on") << QString() << 1 << u"17.5"_s << u"TAX@17.5%"_s;
        QTest::newRow("rounded to cents") << u"+"_s << 1 << u"17.555"_s << u"+TAX@17.56%"_s;
        QTest::newRow("not charged") << u"+"_s << 0 << u"5"_s << u"NO TAX"_s;
        QTest::newRow("any value but 1") << u"+"_s << 2 << u"5"_s << u"NO TAX"_s;
    }
    void taxHeading()
    {
        QFETCH(QString, prefix);
        QFETCH(int, taxCharge);
        QFETCH(QString, box);
        QFETCH(QString, heading);
        QCOMPARE(sheet::TaxHeading(prefix, taxCharge, u"TAX"_s, sheet::RateFromBox(box)), heading);
    }

    void missingDetails_data()
    {
        QTest::addColumn<QStringList>("customer");
        QTest::addColumn<QStringList>("descriptions");
        QTest::addColumn<QString>("question");
        const QStringList none(6), blank{u""_s, u" "_s}, chair{u""_s, u"Chair"_s};
        QTest::newRow("nothing missing") << blank << chair << QString();
        QTest::newRow("customer missing") << none << chair << u"There are no customer details\r\n\r\nContinue?"_s;
        QTest::newRow("items missing") << blank << none << u"\r\nThere are no described sales items.\r\nContinue?"_s;
        QTest::newRow("both missing")
            << none << none << u"There are no customer details\r\nThere are no described sales items.\r\nContinue?"_s;
    }
    void missingDetails()
    {
        QFETCH(QStringList, customer);
        QFETCH(QStringList, descriptions);
        QFETCH(QString, question);
        QCOMPARE(sheet::MissingDetailsQuestion(customer, descriptions), question);
    }
};

QTEST_GUILESS_MAIN(SheetRulesTest)
#include "tst_sheetrules.moc"
