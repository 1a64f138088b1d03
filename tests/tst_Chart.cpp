// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "core/Exceptions.h"
#include "core/NumConv.h"
#include "ui/Chart.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr quint32 clGreen = 0x0000FF00;
constexpr quint32 clMagenta = 0x00FF00FF;

// The main window's chart: load path first, envelope second.
struct TrainerChart
{
    TArrowSeries Series3;
    TArrowSeries Series1;
    TChart chart;

    TrainerChart()
    {
        TChart::ConfigureSeries(Series3, 8, 8, 1);
        TChart::ConfigureSeries(Series1, 1, 1, 5);
        chart.AddSeries(&Series3);
        chart.AddSeries(&Series1);
        chart.resize(289, 385);
        Fill(clRed, clBlue);
    }

    void Fill(quint32 envelopeColor, quint32 pathColor)
    {
        Series1.Clear();
        const double ex[] = {450, 600, 820, 700, 450};
        const double ey[] = {500, 500, 800, 800, 500};
        for (int i = 1; i < 5; ++i)
            Series1.AddArrow(ex[i - 1], ey[i - 1], ex[i], ey[i], QString::number(ey[i]),
                             envelopeColor);
        Series3.Clear();
        Series3.AddArrow(0, 0, 1, 3, "0", pathColor);
        const double mx[] = {0, 494, 569.2, 569.2, 642.4};
        const double wy[] = {0, 520, 600, 600, 660};
        for (int i = 1; i < 5; ++i)
            Series3.AddArrow(mx[i - 1], wy[i - 1], mx[i], wy[i], QString::number(mx[i]), pathColor);
    }
};

QPoint Pixel(const ChartModel& model, double x, double y)
{
    return QPoint(model.XToPixel(x), model.YToPixel(y));
}

// The colour is found within one pixel of the point: a 1-pixel line may
// land a pixel off the exact mapping.
bool NearColour(const QImage& image, QPoint at, QColor colour)
{
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p = at + QPoint(dx, dy);
            if (image.rect().contains(p) && image.pixelColor(p) == colour)
                return true;
        }
    }
    return false;
}

int CountColour(const QImage& image, QColor colour, const QRect& excluded = QRect())
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!excluded.contains(x, y) && image.pixelColor(x, y) == colour)
                ++count;
        }
    }
    return count;
}

} // namespace

class tst_Chart : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void drawsSeriesWhereTheNumbersPutThem_data();
    void drawsSeriesWhereTheNumbersPutThem();
    void backWallOutlinedNotFilled();
    void arrowHeads_data();
    void arrowHeads();
    void nothingDrawnOutsideThePlot();
    void axisLabelsFitTheWidget_data();
    void axisLabelsFitTheWidget();
    void anySizePaints_data();
    void anySizePaints();
    void redrawsOnSeriesChange();
    void mouseZoomAndUnzoom_data();
    void mouseZoomAndUnzoom();
    void mouseScroll();
    void savesBitmapAtOnScreenSize();
    void saveReplacesExistingFile();
    void saveFailure_data();
    void saveFailure();

private:
    QChar m_separator;
};

void tst_Chart::initTestCase()
{
    m_separator = DecimalSeparator();
    SetDecimalSeparator(QLatin1Char('.'));
}

void tst_Chart::cleanupTestCase()
{
    SetDecimalSeparator(m_separator);
}

void tst_Chart::drawsSeriesWhereTheNumbersPutThem_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QColor>("colour");

    const QColor red(255, 0, 0);
    const QColor blue(0, 0, 255);
    QTest::newRow("envelope bottom edge") << 525.0 << 500.0 << red;
    QTest::newRow("envelope right edge") << 710.0 << 650.0 << red;
    QTest::newRow("envelope top edge") << 760.0 << 800.0 << red;
    QTest::newRow("envelope left edge") << 575.0 << 650.0 << red;
    QTest::newRow("path from the origin") << 247.0 << 260.0 << blue;
    QTest::newRow("path last arrow") << 605.8 << 630.0 << blue;
}

void tst_Chart::drawsSeriesWhereTheNumbersPutThem()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QColor, colour);

    TrainerChart t;
    const QImage image = t.chart.RenderImage();
    QCOMPARE(image.size(), QSize(289, 385));
    const QPoint at = Pixel(t.chart.Model(), x, y);
    QVERIFY2(
        NearColour(image, at, colour),
        qPrintable(QStringLiteral("no %1 near %2,%3").arg(colour.name()).arg(at.x()).arg(at.y())));
}

void tst_Chart::backWallOutlinedNotFilled()
{
    TrainerChart t;
    const QImage image = t.chart.RenderImage();
    const QRect plot = t.chart.PlotRect();
    const QColor face = t.chart.palette().color(QPalette::Button);

    QVERIFY(plot.width() > 150 && plot.height() > 250);
    QCOMPARE(image.pixelColor(0, 0), face);
    QCOMPARE(image.pixelColor(plot.left() + 2, plot.top() + 2), face);
    const QColor frame = t.chart.palette().color(QPalette::ButtonText);
    QCOMPARE(image.pixelColor(plot.left(), plot.center().y()), frame);
    QCOMPARE(image.pixelColor(plot.right(), plot.center().y()), frame);
    QCOMPARE(image.pixelColor(plot.center().x(), plot.top()), frame);
    // The outermost arrow ends touch the frame: the path starts in its corner.
    QCOMPARE(t.chart.Model().XToPixel(0), plot.left());
    QCOMPARE(t.chart.Model().YToPixel(0), plot.bottom());
    QCOMPARE(t.chart.Model().XToPixel(820), plot.right());
    QCOMPARE(t.chart.Model().YToPixel(800), plot.top());
}

void tst_Chart::arrowHeads_data()
{
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<QPointF>("end");
    QTest::addColumn<int>("expectedGreen");
    QTest::addColumn<bool>("headExpected");

    // One moment and one weight are one pixel; the plot's range comes from
    // a magenta diagonal.
    QTest::newRow("long arrow") << QPointF(20, 100) << QPointF(120, 100) << -1 << true;
    QTest::newRow("diagonal arrow") << QPointF(20, 20) << QPointF(100, 100) << -1 << true;
    QTest::newRow("zero length") << QPointF(50, 50) << QPointF(50, 50) << 0 << false;
    QTest::newRow("under half a pixel") << QPointF(50, 50) << QPointF(50.3, 50.2) << 0 << false;
    QTest::newRow("five pixels: head reaches the start")
        << QPointF(60, 40) << QPointF(65, 40) << -1 << true;
}

void tst_Chart::arrowHeads()
{
    QFETCH(QPointF, start);
    QFETCH(QPointF, end);
    QFETCH(int, expectedGreen);
    QFETCH(bool, headExpected);

    TArrowSeries series;
    TChart::ConfigureSeries(series, 8, 8, 1);
    TArrowSeries range;
    TChart chart;
    chart.AddSeries(&series);
    chart.AddSeries(&range);
    chart.resize(289, 385);
    series.AddArrow(start.x(), start.y(), end.x(), end.y(), "", clGreen);
    // Give the plot one pixel per unit; the plot's size depends a little on
    // the labels the range brings.
    range.AddArrow(0, 0, 100, 100, "", clMagenta);
    for (int i = 0; i < 3; ++i) {
        const QRect plot = chart.PlotRect();
        range.Clear();
        range.AddArrow(0, 0, plot.width() - 1, plot.height() - 1, "", clMagenta);
    }

    const QImage image = chart.RenderImage();
    const ChartModel& model = chart.Model();
    QCOMPARE(model.XToPixel(100) - model.XToPixel(0), 100);
    const QColor green(0, 255, 0);
    const int greens = CountColour(image, green);
    if (expectedGreen >= 0)
        QCOMPARE(greens, expectedGreen);
    if (!headExpected)
        return;

    const QPointF s(model.XToPixel(start.x()), model.YToPixel(start.y()));
    const QPointF e(model.XToPixel(end.x()), model.YToPixel(end.y()));
    const double d = std::hypot(e.x() - s.x(), e.y() - s.y());
    const double h = std::min(8.0, std::round(d));
    const QPointF u = (e - s) / d;
    const QPointF base = e - u * h;
    const QPointF across(-u.y() * 4, u.x() * 4);
    QVERIFY(NearColour(image, (base + across).toPoint(), green));
    QVERIFY(NearColour(image, (base - across).toPoint(), green));
    // An open V: nothing joins the barbs' ends across the shaft.
    if (d > 10) {
        QVERIFY(image.pixelColor((base + across * 0.5).toPoint()) != green);
        QVERIFY(image.pixelColor((base - across * 0.5).toPoint()) != green);
    }
}

void tst_Chart::nothingDrawnOutsideThePlot()
{
    TrainerChart t;
    t.Fill(clMagenta, clGreen);
    // Zoomed into the middle, most arrows run past the plot's edges.
    const QRect plot = t.chart.PlotRect();
    t.chart.Model().ZoomTo(QRect(plot.center() - QPoint(40, 60), plot.center() + QPoint(40, 60)));
    const QImage image = t.chart.RenderImage();
    const QRect drawn = t.chart.PlotRect();
    QVERIFY(CountColour(image, QColor(0, 255, 0)) + CountColour(image, QColor(255, 0, 255)) > 0);
    QCOMPARE(CountColour(image, QColor(0, 255, 0), drawn), 0);
    QCOMPARE(CountColour(image, QColor(255, 0, 255), drawn), 0);
}

void tst_Chart::axisLabelsFitTheWidget_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("longLabel");
    QTest::addColumn<bool>("longShown");

    QTest::newRow("main window") << QSize(289, 385) << QString() << false;
    QTest::newRow("long label at the right end") << QSize(289, 385) << "820.25" << true;
    QTest::newRow("narrow: crowded out, the rest fits") << QSize(160, 300) << "820.25" << false;
}

void tst_Chart::axisLabelsFitTheWidget()
{
    QFETCH(QSize, size);
    QFETCH(QString, longLabel);
    QFETCH(bool, longShown);

    TrainerChart t;
    t.chart.resize(size);
    if (!longLabel.isEmpty()) {
        // Beyond the load path's five arrows the envelope's label shows.
        for (int i = 0; i < 5; ++i)
            t.Series1.AddArrow(820, 800, 820, 800, longLabel, clRed);
    }
    const QRect plot = t.chart.PlotRect();
    const QFontMetrics fm = t.chart.fontMetrics();
    QVERIFY(!t.chart.BottomLabels().empty());
    for (const AxisLabel& label : t.chart.BottomLabels()) {
        QCOMPARE(label.pos, t.chart.Model().XToPixel(label.value));
        const int w = fm.horizontalAdvance(label.text);
        QVERIFY2(label.pos - w / 2 >= 0 && label.pos + w - w / 2 <= size.width(),
                 qPrintable(label.text));
    }
    if (longShown)
        QCOMPARE(t.chart.BottomLabels().back().text, longLabel);
    for (const AxisLabel& label : t.chart.LeftLabels()) {
        QCOMPARE(label.pos, t.chart.Model().YToPixel(label.value));
        QVERIFY(label.pos >= plot.top() && label.pos <= plot.bottom());
        QVERIFY(fm.horizontalAdvance(label.text) < plot.left());
    }
}

void tst_Chart::anySizePaints_data()
{
    QTest::addColumn<QSize>("size");

    QTest::newRow("main window") << QSize(289, 385);
    QTest::newRow("small") << QSize(40, 30);
    QTest::newRow("one pixel") << QSize(1, 1);
    QTest::newRow("nothing") << QSize(0, 0);
    QTest::newRow("wide and flat") << QSize(1000, 20);
}

void tst_Chart::anySizePaints()
{
    QFETCH(QSize, size);

    TrainerChart t;
    t.chart.resize(size);
    const QImage image = t.chart.RenderImage();
    QCOMPARE(image.size(), size.expandedTo(QSize(1, 1)));
}

void tst_Chart::redrawsOnSeriesChange()
{
    auto t = std::make_unique<TrainerChart>();
    t->chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&t->chart, WaitLimitMs));
    t->Series3.AddArrow(642.4, 660, 1000, 900, "1000", clBlue);
    QVERIFY(QTest::qWaitFor([&] { return t->chart.Model().XRange().max == 1000; }, WaitLimitMs));
    QCOMPARE(t->chart.Model().YRange().max, 900.0);
}

void tst_Chart::mouseZoomAndUnzoom_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<bool>("zoomed");

    // Offsets from the plot's centre.
    QTest::newRow("rightwards zooms") << QPoint(-50, -50) << QPoint(50, 50) << true;
    QTest::newRow("10 by 40 does nothing") << QPoint(0, -20) << QPoint(10, 20) << false;
    QTest::newRow("leftwards keeps automatic") << QPoint(50, -50) << QPoint(-50, 50) << false;
}

void tst_Chart::mouseZoomAndUnzoom()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(bool, zoomed);

    TrainerChart t;
    t.chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&t.chart, WaitLimitMs));
    const QPoint centre = t.chart.PlotRect().center();
    const AxisRange x = t.chart.Model().XRange();
    const double expectedMin = t.chart.Model().PixelToX(centre.x() + std::min(from.x(), to.x()));

    QTest::mousePress(&t.chart, Qt::LeftButton, {}, centre + from);
    QTest::mouseMove(&t.chart, centre + (from + to) / 2);
    QTest::mouseMove(&t.chart, centre + to);
    QTest::mouseRelease(&t.chart, Qt::LeftButton, {}, centre + to);
    QCOMPARE(t.chart.Model().IsZoomed(), zoomed);
    if (zoomed)
        QCOMPARE(t.chart.Model().XRange().min, expectedMin);
    else
        QCOMPARE(t.chart.Model().XRange(), x);

    // Dragging leftwards always returns to automatic ranges, which follow
    // the series again.
    QTest::mousePress(&t.chart, Qt::LeftButton, {}, centre + QPoint(40, -40));
    QTest::mouseRelease(&t.chart, Qt::LeftButton, {}, centre + QPoint(-40, 40));
    QVERIFY(!t.chart.Model().IsZoomed());
    QCOMPARE(t.chart.Model().XRange(), x);
}

void tst_Chart::mouseScroll()
{
    TrainerChart t;
    t.chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&t.chart, WaitLimitMs));
    const QRect plot = t.chart.PlotRect();
    const AxisRange x = t.chart.Model().XRange();
    const double perPixel = (x.max - x.min) / (plot.right() - plot.left());

    QTest::mousePress(&t.chart, Qt::RightButton, {}, plot.center());
    QTest::mouseMove(&t.chart, plot.center() + QPoint(5, 0));
    QTest::mouseRelease(&t.chart, Qt::RightButton, {}, plot.center() + QPoint(20, 0));
    QVERIFY(t.chart.Model().IsZoomed());
    QCOMPARE(t.chart.Model().XRange().min, x.min - 20 * perPixel);

    // A scrolled chart keeps its ranges when the series change.
    t.Series3.AddArrow(642.4, 660, 5000, 900, "5000", clBlue);
    t.chart.RenderImage();
    QCOMPARE(t.chart.Model().XRange().min, x.min - 20 * perPixel);
}

void tst_Chart::savesBitmapAtOnScreenSize()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TrainerChart t;
    const QString path = dir.filePath("report.bmp");
    t.chart.SaveToBitmapFile(path);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(2), QByteArray("BM"));
    file.close();
    QImage read;
    QVERIFY(read.load(path, "BMP"));
    QCOMPARE(read.size(), QSize(289, 385));
    QCOMPARE(read.convertToFormat(QImage::Format_RGB32),
             t.chart.RenderImage().convertToFormat(QImage::Format_RGB32));
}

void tst_Chart::saveReplacesExistingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("report.bmp");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(4 * 1024 * 1024, 'x'));
    }
    TrainerChart t;
    t.chart.resize(100, 150);
    t.chart.SaveToBitmapFile(path);
    QVERIFY(QFileInfo(path).size() < 1024 * 1024);
    QImage read(path, "BMP");
    QCOMPARE(read.size(), QSize(100, 150));
}

void tst_Chart::saveFailure_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("error");

    QTest::newRow("missing folder, relative") << "no such folder/report.bmp" << ENOENT;
    QTest::newRow("a folder") << "." << EISDIR;
    QTest::newRow("device that is full") << "/dev/full" << ENOSPC;
    // Made by the test; an ordinary open would wait for a reader for ever.
    QTest::newRow("FIFO with no reader") << "fifo" << ENXIO;
}

void tst_Chart::saveFailure()
{
    QFETCH(QString, path);
    QFETCH(int, error);

    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
    if (path == QLatin1String("fifo"))
        QCOMPARE(mkfifo("fifo", 0600), 0);

    TrainerChart t;
    const QImage before = t.chart.RenderImage();
    const QString full = QDir::current().absoluteFilePath(path);
    try {
        t.chart.SaveToBitmapFile(path);
        QFAIL("no error");
    } catch (const EFCreateError& e) {
        QCOMPARE(e.Message(),
                 QStringLiteral("Cannot create file \"%1\". %2")
                     .arg(QDir::cleanPath(full), QString::fromLocal8Bit(std::strerror(error))));
    }
    QCOMPARE(t.chart.RenderImage(), before);
}

QTEST_MAIN(tst_Chart)
#include "tst_Chart.moc"
