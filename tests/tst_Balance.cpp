// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Balance.h"
#include "core/Exceptions.h"
#include "core/NumConv.h"

#include <QScopeGuard>
#include <QTest>

namespace {
class MemorySheet : public Sheet
{
public:
    explicit MemorySheet(int rows) : cells(rows, QStringList(5, QString())) {}
    int RowCount() const override { return int(cells.size()); }
    void SetRowCount(int count) override { cells.resize(size_t(count), QStringList(5, QString())); }
    QString Cell(int c, int r) const override { return cells[r][c]; }
    void SetCell(int c, int r, const QString& t) override { cells[r][c] = t; }
    void AddSlot(const QString& weight, const QString& position)
    {
        QStringList row(5, QString());
        row[colWeight] = weight;
        row[colPosition] = position;
        cells.push_back(row);
    }
    std::vector<QStringList> cells;
};

QStringList Labels(const TArrowSeries& s)
{
    QStringList out;
    for (const Arrow& a : s.Arrows())
        out << a.label;
    return out;
}
} // namespace

class tst_Balance : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_separator = DecimalSeparator();
        SetDecimalSeparator(u'.');
    }
    void cleanup() { SetDecimalSeparator(m_separator); }

    void noAircraft()
    {
        MemorySheet sheet(2);
        TArrowSeries envelope, path;
        ComputeBalance(sheet, 0, TFloatArray(), TFloatArray(), envelope, path);
        QCOMPARE(envelope.Count(), 0);
        QCOMPARE(path.Count(), 1);
        const Arrow& a = path[0];
        QCOMPARE(a.startX, 0.0);
        QCOMPARE(a.startY, 0.0);
        QCOMPARE(a.endX, 1.0);
        QCOMPARE(a.endY, 3.0);
        QCOMPARE(a.label, QStringLiteral("0"));
        QCOMPARE(a.color, clBlue);
    }

    void envelopeEdges_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("edges");
        QTest::newRow("four corners, open") << 4 << 3;
        QTest::newRow("closed by repeating the first") << 5 << 4;
        QTest::newRow("one vertex") << 1 << 0;
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("negative count") << -3 << 0;
    }
    void envelopeEdges()
    {
        QFETCH(int, points);
        QFETCH(int, edges);
        const float xs[] = {450, 600, 820, 700, 450};
        const float ys[] = {500, 500, 800, 800, 500};
        TFloatArray x, y;
        x.Allocate(points);
        y.Allocate(points);
        for (int i = 0; i < points; ++i) {
            x[i] = xs[i];
            y[i] = ys[i];
        }
        MemorySheet sheet(2);
        TArrowSeries envelope, path;
        ComputeBalance(sheet, points, x, y, envelope, path);
        QCOMPARE(envelope.Count(), edges);
        for (const Arrow& a : envelope.Arrows()) {
            QCOMPARE(a.color, clRed);
            QCOMPARE(a.label, FloatToStr(a.endY));
        }
        if (edges == 4) {
            // Held sorted by start X: 450 (A->B), 600, 700, 820.
            QCOMPARE(Labels(envelope), QStringList({"500", "800", "500", "800"}));
        }
    }

    void loadPath_data()
    {
        QTest::addColumn<QStringList>("weights");
        QTest::addColumn<QStringList>("positions");
        QTest::addColumn<QStringList>("torques");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("80 at 1.5") << QStringList{"80"} << QStringList{"1.5"} << QStringList{"120"}
                                   << QStringList{"0", "120"};
        QTest::newRow("single precision moment")
            << QStringList{"2"} << QStringList{"0.05"} << QStringList{"0.1"}
            << QStringList{"0", "0.100000001490116"};
        QTest::newRow("two slots") << QStringList{"60", "40"} << QStringList{"1.5", "2.5"}
                                   << QStringList{"90", "100"} << QStringList{"0", "90", "190"};
        QTest::newRow("weight kept as typed") << QStringList{" 80.0 "} << QStringList{"1"}
                                              << QStringList{"80"} << QStringList{"0", "80"};
    }
    void loadPath()
    {
        QFETCH(QStringList, weights);
        QFETCH(QStringList, positions);
        QFETCH(QStringList, torques);
        QFETCH(QStringList, labels);
        MemorySheet sheet(2);
        for (int i = 0; i < weights.size(); ++i)
            sheet.AddSlot(weights[i], positions[i]);
        TArrowSeries envelope, path;
        ComputeBalance(sheet, 0, TFloatArray(), TFloatArray(), envelope, path);
        for (int i = 0; i < torques.size(); ++i)
            QCOMPARE(sheet.Cell(colTorque, i + 2), torques[i]);
        QCOMPARE(Labels(path), labels);
        // The first slot starts at the origin, each next one where the last ended.
        const Arrow& first = path[1];
        QCOMPARE(first.startX, 0.0);
        QCOMPARE(first.startY, 0.0);
        for (int i = 2; i < path.Count(); ++i) {
            QCOMPARE(path[i].startX, path[i - 1].endX);
            QCOMPARE(path[i].startY, path[i - 1].endY);
        }
    }

    void twoSlotArrows()
    {
        MemorySheet sheet(2);
        sheet.AddSlot("60", "1.5");
        sheet.AddSlot("40", "2.5");
        TArrowSeries envelope, path;
        ComputeBalance(sheet, 0, TFloatArray(), TFloatArray(), envelope, path);
        QCOMPARE(path.Count(), 3);
        QCOMPARE(path[1].endX, 90.0);
        QCOMPARE(path[1].endY, 60.0);
        QCOMPARE(path[2].startX, 90.0);
        QCOMPARE(path[2].endX, 190.0);
        QCOMPARE(path[2].endY, 100.0);
    }

    void runningTotalsAreSinglePrecision()
    {
        MemorySheet sheet(2);
        sheet.AddSlot("2", "0.05");
        TArrowSeries envelope, path;
        ComputeBalance(sheet, 0, TFloatArray(), TFloatArray(), envelope, path);
        QCOMPARE(path[1].endX, double(0.1f));
    }

    void badCellLeavesPartialState_data()
    {
        QTest::addColumn<int>("badColumn");
        QTest::newRow("weight") << int(colWeight);
        QTest::newRow("position") << int(colPosition);
    }
    void badCellLeavesPartialState()
    {
        QFETCH(int, badColumn);
        MemorySheet sheet(2);
        sheet.AddSlot("60", "1.5");
        sheet.AddSlot("40", "2.5");
        sheet.AddSlot("10", "1");
        TFloatArray x, y;
        x.Allocate(2);
        y.Allocate(2);
        x[1] = 10;
        y[1] = 20;
        TArrowSeries envelope, path;
        ComputeBalance(sheet, 2, x, y, envelope, path);
        const int pathBefore = path.Count();
        sheet.SetCell(colTorque, 3, "old");
        sheet.SetCell(colTorque, 4, "old");
        sheet.SetCell(colTorque, 2, "old");
        sheet.SetCell(badColumn, 3, "abc");
        envelope.Clear();
        try {
            ComputeBalance(sheet, 2, x, y, envelope, path);
            QFAIL("no conversion error");
        } catch (const EConvertError& e) {
            QCOMPARE(e.Message(), QStringLiteral("'abc' is not a valid floating point value"));
        }
        QCOMPARE(envelope.Count(), 1);            // rebuilt before the torque pass
        QCOMPARE(sheet.Cell(colTorque, 2), "90"); // rows above rewritten
        QCOMPARE(sheet.Cell(colTorque, 3), "old");
        QCOMPARE(sheet.Cell(colTorque, 4), "old");
        QCOMPARE(path.Count(), pathBefore); // previous load path kept
    }

    // The chart in words: where the load path ends, whatever order the
    // series keeps its arrows in, written with the user's separator.
    void chartDescription_data()
    {
        QTest::addColumn<QStringList>("weights");
        QTest::addColumn<QStringList>("positions");
        QTest::addColumn<int>("points");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("words");
        QTest::newRow("no slot, one vertex")
            << QStringList{} << QStringList{} << 1 << "."
            << "The load path ends at a total moment of 0 and a total weight of 0. "
               "The envelope has 1 vertex.";
        // Sorted by start, the last slot's arrow is not the last one held.
        QTest::newRow("moment back towards zero")
            << QStringList{"10", "5"} << QStringList{"-1", "2"} << 0 << "."
            << "The load path ends at a total moment of 0 and a total weight of 15. "
               "The envelope has 0 vertices.";
        QTest::newRow("comma separator, single precision")
            << QStringList{"2,5", "2"} << QStringList{"0,5", "0,05"} << 5 << ","
            << "The load path ends at a total moment of 1,35000002384186 and a total weight "
               "of 4,5. The envelope has 5 vertices.";
    }
    void chartDescription()
    {
        QFETCH(QStringList, weights);
        QFETCH(QStringList, positions);
        QFETCH(int, points);
        QFETCH(QString, separator);
        QFETCH(QString, words);
        const auto restore = qScopeGuard([] { SetDecimalSeparator(u'.'); });
        SetDecimalSeparator(separator.at(0));
        MemorySheet sheet(2);
        for (int i = 0; i < weights.size(); ++i)
            sheet.AddSlot(weights[i], positions[i]);
        TArrowSeries envelope, path;
        ComputeBalance(sheet, 0, TFloatArray(), TFloatArray(), envelope, path);
        QCOMPARE(ChartDescription(path, points), words);
    }

    // The chart in words with the loading judged against a square envelope,
    // 0 to 100 both ways: the first sentences stay, the centre of gravity
    // and the verdict follow.
    void loadingDescription_data()
    {
        QTest::addColumn<QStringList>("weights");
        QTest::addColumn<QStringList>("positions");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("imperial");
        QTest::addColumn<QString>("added");
        QTest::newRow("inside") << QStringList{"30", "20"} << QStringList{"1", "0.5"} << 5 << false
                                << " The centre of gravity is 0.8 m. The loading is inside the "
                                   "envelope.";
        QTest::newRow("on the limit, imperial")
            << QStringList{"100"} << QStringList{"0.5"} << 5 << true
            << " The centre of gravity is 0.5 in. The loading is within limits, on the "
               "envelope's highest weight.";
        QTest::newRow("outside") << QStringList{"50"} << QStringList{"3"} << 5 << false
                                 << " The centre of gravity is 3 m. The loading is outside the "
                                    "envelope.";
        QTest::newRow("open envelope")
            << QStringList{"50"} << QStringList{"1"} << 4 << false
            << " The centre of gravity is 1 m. There is no usable envelope to judge the "
               "loading against.";
        QTest::newRow("no weight")
            << QStringList{"0"} << QStringList{"1"} << 5 << false
            << " With no weight there is no centre of gravity. The loading is within limits, "
               "on the forward limit.";
        QTest::newRow("weight beyond single precision")
            << QStringList{"1E39"} << QStringList{"0"} << 5 << false
            << " The totals are not finite: there is no centre of gravity, and the loading "
               "cannot be judged.";
    }
    void loadingDescription()
    {
        QFETCH(QStringList, weights);
        QFETCH(QStringList, positions);
        QFETCH(int, points);
        QFETCH(bool, imperial);
        QFETCH(QString, added);
        MemorySheet sheet(2);
        for (int i = 0; i < weights.size(); ++i)
            sheet.AddSlot(weights[i], positions[i]);
        const float square[2][5] = {{0, 100, 100, 0, 0}, {0, 0, 100, 100, 0}};
        TFloatArray x, y;
        x.Allocate(5);
        y.Allocate(5);
        for (int i = 0; i < 5; ++i) {
            x[i] = square[0][i];
            y[i] = square[1][i];
        }
        TArrowSeries envelope, path;
        ComputeBalance(sheet, points, x, y, envelope, path);
        QCOMPARE(LoadingDescription(path, points, x, y, imperial),
                 ChartDescription(path, points) + added);
    }

    void positionReadBeforeWeight()
    {
        try {
            TorqueText("pos", "wt");
            QFAIL("no conversion error");
        } catch (const EConvertError& e) {
            QCOMPARE(e.Message(), QStringLiteral("'pos' is not a valid floating point value"));
        }
    }

    void overweightText()
    {
        MemorySheet sheet(2);
        sheet.AddSlot("700", "1");
        sheet.AddSlot("200.5", "1");
        sheet.AddSlot("250.2", "1");
        const float total = TotalSlotWeight(sheet);
        QVERIFY(total > 1150.0f);
        QCOMPARE(OverweightText(total, 1150.0f),
                 QStringLiteral("Overweight: 1150.69995117188/1150"));
    }

private:
    QChar m_separator;
};

QTEST_GUILESS_MAIN(tst_Balance)
#include "tst_Balance.moc"
