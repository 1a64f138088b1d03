// SPDX-License-Identifier: GPL-3.0-or-later
// The names the commands offer for one they do not know: trx-sheet's
// closest aircraft and trx-check's "did you mean" key.

#include "cli/ClosestNames.h"
#include "core/CatalogueSchema.h"

#include <QtTest>

Q_DECLARE_METATYPE(Nearness)

class tst_ClosestNames : public QObject
{
    Q_OBJECT
private slots:
    void distance_data();
    void distance();
    void closest_data();
    void closest();
};

void tst_ClosestNames::distance_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("distance");

    const QString a64(64, u'a');
    QTest::newRow("equal") << "Trainer"
                           << "Trainer" << 0;
    QTest::newRow("one empty") << ""
                               << "DA40" << 4;
    QTest::newRow("insert, delete, substitute") << "kitten"
                                                << "sitting" << 3;
    QTest::newRow("case ignored") << "tRAINER"
                                  << "Trainer" << 0;
    QTest::newRow("case ignored beyond ASCII") << "\u00C9TAT"
                                               << "\u00E9tat" << 0;
    QTest::newRow("a swap is two edits") << "Uint"
                                         << "Unit" << 2;
    QTest::newRow("only the first 64 units") << a64 + "xyz" << a64 + "q" << 0;
    QTest::newRow("cut before comparing lengths") << a64 + "xyz" << a64.left(60) << 4;
}

void tst_ClosestNames::distance()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, distance);
    QCOMPARE(NameDistance(a, b), distance);
    QCOMPARE(NameDistance(b, a), distance);
}

void tst_ClosestNames::closest_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("known"); // empty: the catalogue's keys
    QTest::addColumn<int>("maxOffered");
    QTest::addColumn<Nearness>("nearness");
    QTest::addColumn<QStringList>("offered");

    const QStringList aircraft = {"Trainer", "DA40", "C172S", "Trainer 2", "b", "c"};
    QTest::newRow("nearest first, ties in order")
        << "Traner" << aircraft << 5 << Nearness::Any
        << QStringList{"Trainer", "Trainer 2", "DA40", "C172S", "b"};
    QTest::newRow("however far") << "ZZZZ" << aircraft << 3 << Nearness::Any
                                 << QStringList{"DA40", "b", "c"};
    QTest::newRow("no name twice") << "Traner" << QStringList{"Trainer", "x", "Trainer", "y"} << 3
                                   << Nearness::Any << QStringList{"Trainer", "x", "y"};
    QTest::newRow("nothing known")
        << "Traner" << QStringList{} << 5 << Nearness::Any << QStringList{};
    QTest::newRow("none offered") << "Traner" << aircraft << 0 << Nearness::Any << QStringList{};
    const QStringList keys;
    QTest::newRow("key: one edit")
        << "Mdel" << keys << 1 << Nearness::Misspelling << QStringList{"Model"};
    QTest::newRow("key: two edits")
        << "SLOTSWEIGHTT" << keys << 1 << Nearness::Misspelling << QStringList{"SlotsWeight"};
    QTest::newRow("key: three edits are no misspelling")
        << "Envelopoins" << keys << 1 << Nearness::Misspelling << QStringList{};
    QTest::newRow("key: half of a short name is no misspelling")
        << "Uint" << keys << 1 << Nearness::Misspelling << QStringList{};
    QTest::newRow("key: nearest, not first within two")
        << "EnvelopeYY" << keys << 1 << Nearness::Misspelling << QStringList{"EnvelopeY"};
    QTest::newRow("key: as near, the first")
        << "EnvelopeXY" << keys << 1 << Nearness::Misspelling << QStringList{"EnvelopeX"};
    QTest::newRow("key: case beyond ASCII")
        << "SL\u00D6TS" << keys << 1 << Nearness::Misspelling << QStringList{"Slots"};
}

void tst_ClosestNames::closest()
{
    QFETCH(QString, name);
    QFETCH(QStringList, known);
    QFETCH(int, maxOffered);
    QFETCH(Nearness, nearness);
    QFETCH(QStringList, offered);
    if (known.isEmpty() && nearness == Nearness::Misspelling)
        for (int k = 0; k < CatalogueKeyCount; ++k)
            known << KeyName(static_cast<CatalogueKey>(k));
    QCOMPARE(ClosestNames(name, known, maxOffered, nearness), offered);
}

QTEST_GUILESS_MAIN(tst_ClosestNames)
#include "tst_ClosestNames.moc"
