// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtBenchmarkMain.h"
#include "core/NumConv.h"
#include "ui/Chart.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// Paints of the envelope chart for the largest aircraft the catalogue can
// describe: 1023 envelope vertices
// and 1023 slots.
constexpr int Count = 1023;

struct ArrowDef
{
    double x0, y0, x1, y1;
    QString label;
};

// Built once: number-to-text is not what is measured here.
std::vector<ArrowDef> Envelope()
{
    std::vector<ArrowDef> arrows;
    float px = 0;
    float py = 0;
    for (int i = 0; i <= Count; ++i) {
        const double a = 2 * M_PI * i / Count;
        const float x = static_cast<float>(600 + 200 * std::cos(a));
        const float y = static_cast<float>(650 + 150 * std::sin(a));
        if (i > 0)
            arrows.push_back(ArrowDef{px, py, x, y, FloatToStr(y)});
        px = x;
        py = y;
    }
    return arrows;
}

std::vector<ArrowDef> LoadPath()
{
    std::vector<ArrowDef> arrows{ArrowDef{0, 0, 1, 3, QStringLiteral("0")}};
    float w = 0;
    float m = 0;
    for (int i = 0; i < Count; ++i) {
        const float w0 = w;
        const float m0 = m;
        w += 0.75f;
        m += 0.75f * static_cast<float>(0.5 + (i % 7) * 0.1);
        arrows.push_back(ArrowDef{m0, w0, m, w, FloatToStr(m)});
    }
    return arrows;
}

// suffix makes every label new, as after an edit that moves the path.
void Fill(TArrowSeries& series, const std::vector<ArrowDef>& arrows, quint32 color,
          const QString& suffix = QString())
{
    series.Clear();
    for (const ArrowDef& a : arrows)
        series.AddArrow(a.x0, a.y0, a.x1, a.y1, a.label + suffix, color);
}

struct BigChart
{
    TArrowSeries Series3;
    TArrowSeries Series1;
    TChart chart;
    const std::vector<ArrowDef> envelope = Envelope();
    const std::vector<ArrowDef> path = LoadPath();

    BigChart()
    {
        TChart::ConfigureSeries(Series3, 8, 8, 1);
        TChart::ConfigureSeries(Series1, 1, 1, 5);
        chart.AddSeries(&Series3);
        chart.AddSeries(&Series1);
        chart.resize(289, 385);
        Fill(Series1, envelope, clRed);
        Fill(Series3, path, clBlue);
    }
};

// What every repaint of an unchanged chart costs.
void BM_ChartPaint1023(benchmark::State& state)
{
    BigChart big;
    QImage image(289, 385, QImage::Format_RGB32);
    for (auto _ : state)
        big.chart.render(&image);
}
BENCHMARK(BM_ChartPaint1023)->Unit(benchmark::kMicrosecond);

void BM_ChartPaintZoomed1023(benchmark::State& state)
{
    BigChart big;
    const QRect plot = big.chart.PlotRect();
    big.chart.Model().ZoomTo(plot.adjusted(60, 60, -60, -60));
    QImage image(289, 385, QImage::Format_RGB32);
    for (auto _ : state)
        big.chart.render(&image);
}
BENCHMARK(BM_ChartPaintZoomed1023)->Unit(benchmark::kMicrosecond);

// An edit: both series refilled with labels never measured before, then
// painted.
void BM_ChartEdit1023(benchmark::State& state)
{
    BigChart big;
    QImage image(289, 385, QImage::Format_RGB32);
    int edit = 0;
    for (auto _ : state) {
        const QString suffix = QString::number(++edit);
        Fill(big.Series1, big.envelope, clRed, suffix);
        Fill(big.Series3, big.path, clBlue, suffix);
        big.chart.render(&image);
    }
}
BENCHMARK(BM_ChartEdit1023)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return QtBenchmarkMain::Run<QApplication>(argc, argv);
}
