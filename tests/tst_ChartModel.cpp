// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/ChartModel.h"
#include "core/NumConv.h"

#include <QTest>
#include <cmath>
#include <limits>

namespace {

struct ArrowDef
{
    double x0, y0, x1, y1;
    QString label;
};
using Arrows = QList<ArrowDef>;

// Load path first, envelope second, as the main window adds them.
struct Fixture
{
    TArrowSeries path;
    TArrowSeries envelope;
    ChartModel model;

    Fixture(const Arrows& pathArrows, const Arrows& envelopeArrows)
    {
        for (const ArrowDef& a : pathArrows)
            path.AddArrow(a.x0, a.y0, a.x1, a.y1, a.label, clBlue);
        for (const ArrowDef& a : envelopeArrows)
            envelope.AddArrow(a.x0, a.y0, a.x1, a.y1, a.label, clRed);
        model.AddSeries(&path);
        model.AddSeries(&envelope);
        model.Refresh();
    }
};

// Six pixels a character, so the half-room arithmetic is easy to follow.
int SixPerChar(const QString& text)
{
    return 6 * static_cast<int>(text.size());
}

QStringList Describe(const std::vector<AxisLabel>& labels)
{
    QStringList out;
    for (const AxisLabel& label : labels)
        out << QStringLiteral("%1@%2").arg(label.text).arg(label.pos);
    return out;
}

const Arrows TwoSlotPath = {{0, 0, 1, 3, "0"}, {0, 0, 90, 60, "90"}, {90, 60, 190, 100, "190"}};

} // namespace

Q_DECLARE_METATYPE(Arrows)

class tst_ChartModel : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void automaticRanges_data();
    void automaticRanges();
    void pixelMapping_data();
    void pixelMapping();
    void bottomLabels_data();
    void bottomLabels();
    void bottomNumericScaleWithoutLabels();
    void formatValue_data();
    void formatValue();
    void leftLabels_data();
    void leftLabels();
    void leftLabelsNeverOverlap_data();
    void leftLabelsNeverOverlap();
    void zoomDrag_data();
    void zoomDrag();
    void zoomFixesRangesUntilUndone();
    void scroll_data();
    void scroll();
    void onlyArrowsStartingInRangeAreVisible();

private:
    QChar m_separator;
};

void tst_ChartModel::init()
{
    m_separator = DecimalSeparator();
    SetDecimalSeparator(QLatin1Char('.'));
    ChartModel::SetGroupSeparator(QStringLiteral(","));
}

void tst_ChartModel::cleanup()
{
    ChartModel::SetGroupSeparator(std::nullopt);
    SetDecimalSeparator(m_separator);
}

void tst_ChartModel::automaticRanges_data()
{
    QTest::addColumn<Arrows>("path");
    QTest::addColumn<Arrows>("envelope");
    QTest::addColumn<double>("xMin");
    QTest::addColumn<double>("xMax");
    QTest::addColumn<double>("yMin");
    QTest::addColumn<double>("yMax");

    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("both empty") << Arrows{} << Arrows{} << 0.0 << 1.0 << 0.0 << 1.0;
    QTest::newRow("fixed first arrow only")
        << Arrows{{0, 0, 1, 3, "0"}} << Arrows{} << 0.0 << 1.0 << 0.0 << 3.0;
    QTest::newRow("trainer") << Arrows{{0, 0, 1, 3, "0"},
                                       {0, 0, 494, 520, "494"},
                                       {494, 520, 569.2, 600, "569.2"},
                                       {569.2, 600, 569.2, 600, "569.2"},
                                       {569.2, 600, 642.4, 660, "642.4"}}
                             << Arrows{{450, 500, 600, 500, "500"},
                                       {600, 500, 820, 800, "800"},
                                       {820, 800, 700, 800, "800"},
                                       {700, 800, 450, 500, "500"}}
                             << 0.0 << 820.0 << 0.0 << 800.0;
    QTest::newRow("end points count as much as starts")
        << Arrows{{5, 2, -5, 9, ""}} << Arrows{{3, -7, 10, 0, ""}} << -5.0 << 10.0 << -7.0 << 9.0;
    QTest::newRow("envelope alone")
        << Arrows{} << Arrows{{450, 500, 600, 510, "510"}} << 450.0 << 600.0 << 500.0 << 510.0;
    QTest::newRow("overflowed total left out")
        << Arrows{{0, 0, 1, 3, "0"}, {0, 0, inf, 5, "INF"}} << Arrows{} << 0.0 << 1.0 << 0.0 << 5.0;
}

void tst_ChartModel::automaticRanges()
{
    QFETCH(Arrows, path);
    QFETCH(Arrows, envelope);
    QFETCH(double, xMin);
    QFETCH(double, xMax);
    QFETCH(double, yMin);
    QFETCH(double, yMax);

    Fixture f(path, envelope);
    QCOMPARE(f.model.XRange(), (AxisRange{xMin, xMax}));
    QCOMPARE(f.model.YRange(), (AxisRange{yMin, yMax}));
    QVERIFY(!f.model.IsZoomed());
}

void tst_ChartModel::pixelMapping_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QPoint>("pixel");

    // Plot from (10, 20) to (110, 70); moments 0..1000, weights 0..500.
    QTest::newRow("origin at bottom left") << 0.0 << 0.0 << QPoint(10, 70);
    QTest::newRow("maximum at top right") << 1000.0 << 500.0 << QPoint(110, 20);
    QTest::newRow("middle") << 500.0 << 250.0 << QPoint(60, 45);
    QTest::newRow("rounded to nearest") << 14.0 << 4.0 << QPoint(11, 70);
    QTest::newRow("outside the range") << -100.0 << 600.0 << QPoint(0, 10);
}

void tst_ChartModel::pixelMapping()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QPoint, pixel);

    Fixture f({{0, 0, 1000, 500, ""}}, {});
    f.model.SetPlotRect(QRect(QPoint(10, 20), QPoint(110, 70)));
    QCOMPARE(QPoint(f.model.XToPixel(x), f.model.YToPixel(y)), pixel);
    QCOMPARE(f.model.PixelToX(f.model.XToPixelF(x)), x);
    QCOMPARE(f.model.PixelToY(f.model.YToPixelF(y)), y);
}

void tst_ChartModel::bottomLabels_data()
{
    QTest::addColumn<Arrows>("path");
    QTest::addColumn<Arrows>("envelope");
    QTest::addColumn<int>("plotRight");
    QTest::addColumn<QStringList>("expected");

    // The plot starts at pixel 0, so with plotRight equal to the largest
    // moment one moment is one pixel.
    QTest::newRow("two slots: 90 stands where 0 is")
        << TwoSlotPath << Arrows{} << 190 << QStringList{"0@0", "190@90"};
    QTest::newRow("two slots, narrow: 190 crowds 0")
        << TwoSlotPath << Arrows{} << 21 << QStringList{"0@0"};

    const Arrows sixEdges = {{100, 10, 150, 20, "e0"}, {150, 20, 200, 30, "e1"},
                             {200, 30, 300, 40, "e2"}, {300, 40, 400, 50, "e3"},
                             {400, 50, 500, 60, "e4"}, {500, 60, 100, 10, "e5"}};
    QTest::newRow("envelope labels only beyond the path")
        << TwoSlotPath << sixEdges << 500
        << QStringList{"0@0", "190@90", "e3@300", "e4@400", "e5@500"};

    // "0" is 6 wide (first half-room 3); ten letters are 60 wide, half-room
    // (60 + 12) / 2 = 36.
    const QString ten = QStringLiteral("aaaaaaaaaa");
    const Arrows range = {{0, 0, 200, 1, ""}};
    QTest::newRow("exactly enough room") << Arrows{{0, 0, 1, 1, "0"}, {39, 0, 1, 1, ten}} << range
                                         << 200 << QStringList{"0@0", ten + "@39"};
    QTest::newRow("one pixel short")
        << Arrows{{0, 0, 1, 1, "0"}, {38, 0, 1, 1, ten}} << range << 200 << QStringList{"0@0"};
    QTest::newRow("a skipped text does not count")
        << Arrows{{0, 0, 1, 1, "0"}, {20, 0, 1, 1, ten}, {39, 0, 1, 1, ten}} << range << 200
        << QStringList{"0@0", ten + "@39"};
    QTest::newRow("later texts use the full half-room")
        << Arrows{{0, 0, 1, 1, "0"}, {39, 0, 1, 1, ten}, {110, 0, 1, 1, ten}, {111, 0, 1, 1, ten}}
        << range << 200 << QStringList{"0@0", ten + "@39", ten + "@111"};
    QTest::newRow("empty label lets the next series speak")
        << Arrows{{0, 0, 1, 1, "0"}, {100, 0, 1, 1, ""}}
        << Arrows{{50, 0, 200, 1, "x"}, {150, 0, 1, 1, "y"}} << 200 << QStringList{"0@0", "y@150"};
    QTest::newRow("labels walk by position, not by moment")
        << Arrows{{100, 0, 1, 1, "a"}, {200, 0, 0, 1, "b"}}
        << Arrows{{0, 0, 1, 1, "c"}, {10, 0, 1, 1, "d"}, {50, 0, 1, 1, "e"}} << 200
        << QStringList{"a@100", "b@200", "e@50"};
}

void tst_ChartModel::bottomLabels()
{
    QFETCH(Arrows, path);
    QFETCH(Arrows, envelope);
    QFETCH(int, plotRight);
    QFETCH(QStringList, expected);

    Fixture f(path, envelope);
    f.model.SetPlotRect(QRect(QPoint(0, 0), QPoint(plotRight, 100)));
    QCOMPARE(Describe(f.model.BottomLabels(SixPerChar)), expected);
}

void tst_ChartModel::bottomNumericScaleWithoutLabels()
{
    Fixture f({{0, 0, 1000, 10, ""}}, {});
    f.model.SetPlotRect(QRect(QPoint(0, 0), QPoint(200, 100)));
    const auto labels = f.model.BottomLabels(SixPerChar);
    QVERIFY(labels.size() >= 2);
    QCOMPARE(labels.front().text, QString("0"));
    for (size_t i = 1; i < labels.size(); ++i) {
        const int room = ChartModel::HalfRoom(SixPerChar(labels[i].text)) +
                         ChartModel::HalfRoom(SixPerChar(labels[i - 1].text));
        QVERIFY2(labels[i].pos - labels[i - 1].pos >= room, qPrintable(labels[i].text));
    }
}

void tst_ChartModel::formatValue_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QChar>("decimal");
    QTest::addColumn<QString>("expected");

    const QChar dot('.');
    QTest::newRow("zero") << 0.0 << "," << dot << "0";
    QTest::newRow("below a thousand") << 100.0 << "," << dot << "100";
    QTest::newRow("grouped") << 1500.0 << "," << dot << "1,500";
    QTest::newRow("two groups") << 100000.0 << "," << dot << "100,000";
    QTest::newRow("three decimals") << 1234567.891 << "," << dot << "1,234,567.891";
    QTest::newRow("trailing zeros dropped") << 0.25 << "," << dot << "0.25";
    QTest::newRow("rounded to three decimals") << 999.9996 << "," << dot << "1,000";
    QTest::newRow("negative") << -1500.5 << "," << dot << "-1,500.5";
    QTest::newRow("tiny negative is zero") << -0.0001 << "," << dot << "0";
    QTest::newRow("comma locale") << 1234.5 << "." << QChar(',') << "1.234,5";
    QTest::newRow("space grouping")
        << 1234.5 << QString(QChar(0xA0)) << QChar(',') << QString("1") + QChar(0xA0) + "234,5";
    QTest::newRow("no grouping") << 1234.5 << "" << dot << "1234.5";
}

void tst_ChartModel::formatValue()
{
    QFETCH(double, value);
    QFETCH(QString, group);
    QFETCH(QChar, decimal);
    QFETCH(QString, expected);

    QCOMPARE(ChartModel::FormatValue(value, group, decimal), expected);
}

void tst_ChartModel::leftLabels_data()
{
    QTest::addColumn<double>("yMax");
    QTest::addColumn<int>("fontHeight");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QChar>("decimal");
    QTest::addColumn<double>("increment");
    QTest::addColumn<QStringList>("expected");

    // The plot is 300 pixels high and labels keep 1.5 lines apart.
    QTest::newRow("thousands grouped")
        << 3000.0 << 30 << "," << QChar('.') << 500.0
        << QStringList{"0", "500", "1,000", "1,500", "2,000", "2,500", "3,000"};
    QTest::newRow("decimals") << 1.0 << 30 << "," << QChar('.') << 0.2
                              << QStringList{"0", "0.2", "0.4", "0.6", "0.8", "1"};
    QTest::newRow("twentieths") << 0.5 << 10 << "," << QChar('.') << 0.05
                                << QStringList{"0",   "0.05", "0.1", "0.15", "0.2", "0.25",
                                               "0.3", "0.35", "0.4", "0.45", "0.5"};
    QTest::newRow("tenths") << 0.5 << 36 << "," << QChar('.') << 0.1
                            << QStringList{"0", "0.1", "0.2", "0.3", "0.4", "0.5"};
    QTest::newRow("comma locale") << 3000.0 << 30 << "." << QChar(',') << 500.0
                                  << QStringList{"0",     "500",   "1.000", "1.500",
                                                 "2.000", "2.500", "3.000"};
    QTest::newRow("no finer than the format shows")
        << 0.0001 << 10 << "," << QChar('.') << 0.001 << QStringList{"0"};
}

void tst_ChartModel::leftLabels()
{
    QFETCH(double, yMax);
    QFETCH(int, fontHeight);
    QFETCH(QString, group);
    QFETCH(QChar, decimal);
    QFETCH(double, increment);
    QFETCH(QStringList, expected);

    ChartModel::SetGroupSeparator(group);
    SetDecimalSeparator(decimal);
    Fixture f({{0, 0, 1, yMax, ""}}, {});
    f.model.SetPlotRect(QRect(QPoint(0, 0), QPoint(100, 300)));
    QCOMPARE(f.model.LeftIncrement(fontHeight), increment);
    QStringList texts;
    for (const AxisLabel& label : f.model.LeftLabels(fontHeight))
        texts << label.text;
    QCOMPARE(texts, expected);
}

void tst_ChartModel::leftLabelsNeverOverlap_data()
{
    QTest::addColumn<double>("yMin");
    QTest::addColumn<double>("yMax");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("fontHeight");

    QTest::newRow("trainer") << 0.0 << 800.0 << 320 << 16;
    QTest::newRow("tall font, short plot") << 0.0 << 800.0 << 60 << 25;
    QTest::newRow("odd range") << -13.7 << 1234.5 << 333 << 13;
    QTest::newRow("small range") << 0.0 << 0.013 << 300 << 12;
    QTest::newRow("huge weights") << 0.0 << 3.4e12 << 300 << 14;
    QTest::newRow("zoomed fraction") << 569.2 << 569.9 << 200 << 15;
}

void tst_ChartModel::leftLabelsNeverOverlap()
{
    QFETCH(double, yMin);
    QFETCH(double, yMax);
    QFETCH(int, height);
    QFETCH(int, fontHeight);

    Fixture f({{0, yMin, 1, yMax, ""}}, {});
    f.model.SetPlotRect(QRect(0, 0, 100, height));
    const double step = f.model.LeftIncrement(fontHeight);
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
    QVERIFY2(qFuzzyCompare(mantissa, 1.0) || qFuzzyCompare(mantissa, 2.0) ||
                 qFuzzyCompare(mantissa, 5.0),
             qPrintable(QString::number(step)));

    const auto labels = f.model.LeftLabels(fontHeight);
    QVERIFY(!labels.empty());
    for (size_t i = 0; i < labels.size(); ++i) {
        QVERIFY(labels[i].value >= yMin && labels[i].value <= yMax);
        if (i == 0)
            continue;
        QVERIFY2(labels[i - 1].pos - labels[i].pos >= fontHeight, qPrintable(labels[i].text));
        QVERIFY(labels[i].text != labels[i - 1].text);
    }
}

void tst_ChartModel::zoomDrag_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("result");
    QTest::addColumn<QRectF>("ranges"); // x = moment range, y = weight range

    // Plot (0, 0) to (200, 100) over moments 0..200 and weights 0..100.
    const QRectF unchanged(0, 0, 200, 100);
    const int none = int(ChartModel::DragResult::None);
    const int zoomed = int(ChartModel::DragResult::Zoomed);
    const int unzoomed = int(ChartModel::DragResult::Unzoomed);
    QTest::newRow("right and down zooms")
        << QPoint(20, 10) << QPoint(120, 60) << zoomed << QRectF(20, 40, 100, 50);
    QTest::newRow("right and up zooms")
        << QPoint(20, 60) << QPoint(120, 10) << zoomed << QRectF(20, 40, 100, 50);
    QTest::newRow("17 by 17 zooms")
        << QPoint(50, 50) << QPoint(67, 67) << zoomed << QRectF(50, 33, 17, 17);
    QTest::newRow("10 by 40 does nothing") << QPoint(20, 10) << QPoint(30, 50) << none << unchanged;
    QTest::newRow("16 by 40 does nothing") << QPoint(20, 10) << QPoint(36, 50) << none << unchanged;
    QTest::newRow("40 by 16 does nothing") << QPoint(20, 10) << QPoint(60, 26) << none << unchanged;
    QTest::newRow("leftwards undoes") << QPoint(120, 10) << QPoint(20, 60) << unzoomed << unchanged;
    QTest::newRow("small leftwards does nothing")
        << QPoint(120, 10) << QPoint(110, 60) << none << unchanged;
}

void tst_ChartModel::zoomDrag()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(int, result);
    QFETCH(QRectF, ranges);

    Fixture f({{0, 0, 200, 100, "0"}}, {});
    f.model.SetPlotRect(QRect(QPoint(0, 0), QPoint(200, 100)));
    QCOMPARE(int(f.model.FinishZoomDrag(from, to)), result);
    QCOMPARE(f.model.IsZoomed(), result == int(ChartModel::DragResult::Zoomed));
    QCOMPARE(f.model.XRange(), (AxisRange{ranges.left(), ranges.right()}));
    QCOMPARE(f.model.YRange(), (AxisRange{ranges.top(), ranges.bottom()}));
}

void tst_ChartModel::zoomFixesRangesUntilUndone()
{
    Fixture f({{0, 0, 200, 100, "0"}}, {});
    f.model.SetPlotRect(QRect(QPoint(0, 0), QPoint(200, 100)));
    f.model.FinishZoomDrag(QPoint(20, 10), QPoint(120, 60));

    // A recomputation refills the series; the zoom holds.
    f.path.Clear();
    f.path.AddArrow(0, 0, 1, 3, "0", clBlue);
    f.path.AddArrow(0, 0, 400, 300, "400", clBlue);
    f.model.Refresh();
    QCOMPARE(f.model.XRange(), (AxisRange{20, 120}));
    QCOMPARE(f.model.YRange(), (AxisRange{40, 90}));

    f.model.FinishZoomDrag(QPoint(150, 10), QPoint(50, 90));
    QVERIFY(!f.model.IsZoomed());
    QCOMPARE(f.model.XRange(), (AxisRange{0, 400}));
    QCOMPARE(f.model.YRange(), (AxisRange{0, 300}));

    // Automatic again: follows the next change.
    f.path.AddArrow(400, 300, 500, 350, "500", clBlue);
    f.model.Refresh();
    QCOMPARE(f.model.XRange(), (AxisRange{0, 500}));
}

void tst_ChartModel::scroll_data()
{
    QTest::addColumn<QList<QPoint>>("moves");
    QTest::addColumn<QRectF>("ranges");

    QTest::newRow("right moves the view left")
        << QList<QPoint>{{10, 0}} << QRectF(-10, 0, 200, 100);
    QTest::newRow("down shows higher weights") << QList<QPoint>{{0, 10}} << QRectF(0, 10, 200, 100);
    QTest::newRow("moves add up") << QList<QPoint>{{10, 0}, {-30, -5}, {0, 0}}
                                  << QRectF(20, -5, 200, 100);
    QTest::newRow("no movement") << QList<QPoint>{{0, 0}} << QRectF(0, 0, 200, 100);
}

void tst_ChartModel::scroll()
{
    QFETCH(QList<QPoint>, moves);
    QFETCH(QRectF, ranges);

    Fixture f({{0, 0, 200, 100, "0"}}, {});
    f.model.SetPlotRect(QRect(QPoint(0, 0), QPoint(200, 100)));
    bool moved = false;
    for (const QPoint& move : moves) {
        f.model.ScrollBy(move);
        moved = moved || !move.isNull();
    }
    f.model.Refresh();
    QCOMPARE(f.model.IsZoomed(), moved);
    QCOMPARE(f.model.XRange(), (AxisRange{ranges.left(), ranges.right()}));
    QCOMPARE(f.model.YRange(), (AxisRange{ranges.top(), ranges.bottom()}));

    f.model.UndoZoom();
    QCOMPARE(f.model.XRange(), (AxisRange{0, 200}));
}

void tst_ChartModel::onlyArrowsStartingInRangeAreVisible()
{
    Fixture f({{0, 0, 1, 3, "0"}, {0, 0, 90, 60, "90"}, {90, 60, 190, 100, "190"}},
              {{120, 0, 130, 10, "e0"},
               {150, 0, 160, 10, "e1"},
               {160, 0, 10, 10, "e2"},
               {170, 0, 20, 10, "e3"}});
    f.model.SetPlotRect(QRect(QPoint(0, 0), QPoint(190, 100)));
    f.model.ZoomTo(QRect(QPoint(50, 0), QPoint(165, 100)));

    QVERIFY(!f.model.IsVisible(f.path[0]));
    QVERIFY(f.model.IsVisible(f.path[2]));
    QVERIFY(f.model.IsVisible(f.envelope[2]));
    // Ends far outside do not matter, only the start.
    QVERIFY(!f.model.IsVisible(f.envelope[3]));

    // Position 0 is the path's, and out of range: the envelope does not
    // stand in for it. Position 3 is the envelope's own, out of range.
    f.model.SetPlotRect(QRect(QPoint(0, 0), QPoint(1150, 100)));
    QCOMPARE(Describe(f.model.BottomLabels(SixPerChar)), (QStringList{"190@400"}));
}

QTEST_GUILESS_MAIN(tst_ChartModel)
#include "tst_ChartModel.moc"
