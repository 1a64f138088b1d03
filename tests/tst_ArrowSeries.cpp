// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ArrowSeries.h"

#include <QTest>

class tst_ArrowSeries : public QObject
{
    Q_OBJECT
private slots:
    void keepsArrowsSortedByStartX_data();
    void keepsArrowsSortedByStartX();
    void arrowKeepsItsDataTogether();
    void clearRemovesEverything();
    void everyChangeNotifies_data();
    void everyChangeNotifies();
    void worksWithoutNotification();
};

// Each arrow is added with its start X as x0 and its index as label, so the
// label sequence shows where each one went.
void tst_ArrowSeries::keepsArrowsSortedByStartX_data()
{
    QTest::addColumn<QList<double>>("startXs");
    QTest::addColumn<QStringList>("expectedLabels");

    QTest::newRow("5,2,2,9") << QList<double>{5, 2, 2, 9} << QStringList{"1", "2", "0", "3"};
    QTest::newRow("all equal keep order") << QList<double>{7, 7, 7} << QStringList{"0", "1", "2"};
    QTest::newRow("descending") << QList<double>{3, 2, 1} << QStringList{"2", "1", "0"};
    QTest::newRow("negative and zero")
        << QList<double>{0, -1.5, 0, -1.5} << QStringList{"1", "3", "0", "2"};
    QTest::newRow("load path 0,0,90") << QList<double>{0, 0, 90} << QStringList{"0", "1", "2"};
    QTest::newRow("equal after larger")
        << QList<double>{9, 2, 9, 2} << QStringList{"1", "3", "0", "2"};
}

void tst_ArrowSeries::keepsArrowsSortedByStartX()
{
    QFETCH(QList<double>, startXs);
    QFETCH(QStringList, expectedLabels);

    TArrowSeries series;
    for (int i = 0; i < startXs.size(); ++i)
        series.AddArrow(startXs[i], 0, startXs[i] + 1, 1, QString::number(i), clBlue);

    QStringList labels;
    for (const Arrow& a : series.Arrows())
        labels << a.label;
    QCOMPARE(labels, expectedLabels);
    QCOMPARE(series.Count(), startXs.size());
}

void tst_ArrowSeries::arrowKeepsItsDataTogether()
{
    TArrowSeries series;
    series.AddArrow(5, 50, 6, 60, "five", clRed);
    series.AddArrow(2, 20, 3, 30, "two", clBlue);

    const Arrow& first = series[0];
    QCOMPARE(first.startX, 2.0);
    QCOMPARE(first.startY, 20.0);
    QCOMPARE(first.endX, 3.0);
    QCOMPARE(first.endY, 30.0);
    QCOMPARE(first.label, QString("two"));
    QCOMPARE(first.color, clBlue);
    const Arrow& second = series[1];
    QCOMPARE(second.startY, 50.0);
    QCOMPARE(second.endY, 60.0);
    QCOMPARE(second.label, QString("five"));
    QCOMPARE(second.color, clRed);
}

void tst_ArrowSeries::clearRemovesEverything()
{
    TArrowSeries series;
    series.AddArrow(1, 1, 2, 2, "a", clRed);
    series.AddArrow(0, 1, 2, 2, "b", clRed);
    series.Clear();
    QCOMPARE(series.Count(), 0);
    QVERIFY(series.Arrows().empty());

    // A cleared series sorts afresh.
    series.AddArrow(4, 0, 0, 0, "c", clBlue);
    series.AddArrow(3, 0, 0, 0, "d", clBlue);
    QCOMPARE(series[0].label, QString("d"));
}

void tst_ArrowSeries::everyChangeNotifies_data()
{
    QTest::addColumn<int>("adds");
    QTest::addColumn<bool>("clearAfter");
    QTest::addColumn<int>("expectedCalls");

    QTest::newRow("one add") << 1 << false << 1;
    QTest::newRow("three adds") << 3 << false << 3;
    QTest::newRow("clear of an empty series") << 0 << true << 1;
    QTest::newRow("adds then clear") << 2 << true << 3;
}

void tst_ArrowSeries::everyChangeNotifies()
{
    QFETCH(int, adds);
    QFETCH(bool, clearAfter);
    QFETCH(int, expectedCalls);

    TArrowSeries series;
    int calls = 0;
    int countSeen = -1;
    series.SetOnChange([&] {
        ++calls;
        countSeen = series.Count();
    });
    for (int i = 0; i < adds; ++i)
        series.AddArrow(i, 0, i, 1, "x", clRed);
    if (clearAfter)
        series.Clear();
    QCOMPARE(calls, expectedCalls);
    // The hook sees the series already changed.
    QCOMPARE(countSeen, clearAfter ? 0 : adds);
}

void tst_ArrowSeries::worksWithoutNotification()
{
    TArrowSeries series;
    series.AddArrow(1, 2, 3, 4, "x", clRed);
    series.Clear();
    series.SetOnChange(nullptr);
    series.AddArrow(1, 2, 3, 4, "x", clRed);
    QCOMPARE(series.Count(), 1);
}

QTEST_APPLESS_MAIN(tst_ArrowSeries)
#include "tst_ArrowSeries.moc"
