// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/ChartMarks.h"
#include "chart/ChartModel.h"
#include "core/ArrowSeries.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QSize>
#include <QString>
#include <vector>

class QPainter;

// How the window draws a series' arrows: head width and length and pen
// width, in pixels at 96 dpi.
struct ArrowStyle
{
    int arrowWidth;
    int arrowHeight;
    int penWidth;
};
// The load path (Series3) and the envelope (Series1).
constexpr ArrowStyle LoadPathArrows{8, 8, 1};
constexpr ArrowStyle EnvelopeArrows{1, 1, 5};

// Draws the envelope chart on any paint device, without a widget: the title,
// the framed plot with its dotted grid, the axes' ticks, labels and titles,
// and the model's series clipped to the plot. The window's chart and the
// printed loading sheet both draw with it.
class ChartPainter
{
public:
    // Lays out and draws `model`, which stays the caller's and must outlive
    // the painter.
    explicit ChartPainter(ChartModel& model);

    // The font of every text, resolved for the device painted on
    // (QFont(font, device)): its metrics lay the chart out. Forgets the
    // widths measured with the previous font.
    void SetFont(const QFont& font);
    const QFont& Font() const { return m_font; }
    // The background, and the colour of the texts, frame and ticks; the
    // title stays blue. White and black until set: paper's colours.
    void SetColors(const QColor& background, const QColor& text);
    // Device pixels per pixel at 96 dpi: margins, ticks, lines and the
    // series' arrows and pens grow by it. At 1 (the screen) frame, grid and
    // ticks are one-pixel cosmetic lines.
    void SetPixelScale(double scale);
    // Marks drawn over the series, and their legend under the axis title
    // (ChartMarks); the model's automatic ranges take them in. The window
    // sets none, and without them the chart is drawn as before.
    void SetMarks(ChartMarks marks);

    // Fixes the plot rectangle and the axis labels for a chart of `size`
    // whose top left corner is at (0, 0).
    void Layout(const QSize& size);
    // Lays the chart out for `size` and paints it with its top left corner
    // at the painter's origin, leaving the painter's font, pen and brush set.
    void Paint(QPainter& painter, const QSize& size);

    // The labels of the last layout.
    const std::vector<AxisLabel>& LeftLabels() const { return m_leftLabels; }
    const std::vector<AxisLabel>& BottomLabels() const { return m_bottomLabels; }

private:
    void PaintSeries(QPainter& painter, const TArrowSeries& series) const;
    void PaintMarks(QPainter& painter) const;
    void PaintLegend(QPainter& painter, int top) const;
    // Lays the legend's entries out in rows across `width`.
    void LayoutLegend(int width);
    int TextWidth(const QString& text);
    // A length in pixels at 96 dpi, in device pixels.
    int Scaled(int pixels) const;
    // Frame, grid and tick pens: cosmetic on the screen, scaled elsewhere.
    int LineWidth() const;

    ChartModel& m_model;
    QFont m_font;
    QFontMetrics m_metrics;
    QColor m_background = Qt::white;
    QColor m_text = Qt::black;
    double m_scale = 1;
    std::vector<AxisLabel> m_leftLabels;
    std::vector<AxisLabel> m_bottomLabels;
    ChartMarks m_marks;
    // One entry of the legend: a sample of a line or a marker, then its
    // name; its row and left edge from the last layout.
    struct LegendEntry
    {
        enum class Sample
        {
            Line,
            Marker
        };
        Sample sample = Sample::Line;
        QColor color;
        Qt::PenStyle style = Qt::SolidLine;
        ChartMarks::Shape shape = ChartMarks::Shape::Circle;
        QString name;
        int row = 0;
        int x = 0;
    };
    std::vector<LegendEntry> m_legend;
    int m_legendRows = 0;
    // Label widths by text: the load path's labels change rarely, and
    // measuring a thousand of them on every paint is what makes it slow.
    QHash<QString, int> m_widths;
};
