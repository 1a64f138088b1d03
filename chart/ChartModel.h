// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ArrowSeries.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

// One axis' value range.
struct AxisRange
{
    double min = 0;
    double max = 1;
    bool operator==(const AxisRange&) const = default;
};

// A label on an axis: its text and the pixel position of its tick (X for
// the bottom axis, Y for the left axis).
struct AxisLabel
{
    QString text;
    int pos = 0;
    double value = 0;
};

// Everything about the chart that needs no widget: the series in drawing
// order, the axis ranges with zoom and scroll, the mapping from values to
// pixels of the plot rectangle and the choice of the axis labels.
class ChartModel
{
public:
    enum class DragResult
    {
        None,
        Zoomed,
        Unzoomed
    };

    // The series in the chart's order; the first one's labels win on the
    // bottom axis.
    void AddSeries(TArrowSeries* series);
    const std::vector<TArrowSeries*>& SeriesList() const { return m_series; }

    // Plot rectangle (the back wall) in widget pixels; its edges are the
    // axes' ends.
    void SetPlotRect(const QRect& rect) { m_plot = rect; }
    QRect PlotRect() const { return m_plot; }

    // Smallest and largest coordinate over every arrow's start and end of all
    // series; 0..1 while there are none.
    AxisRange AutomaticXRange() const;
    AxisRange AutomaticYRange() const;
    // Values the automatic ranges take in besides the arrows' ends: what a
    // printed chart marks over the series. The window's chart has none.
    void SetIncluded(std::vector<double> xs, std::vector<double> ys);

    // Takes fresh automatic ranges unless the user has zoomed or scrolled.
    void Refresh();
    AxisRange XRange() const { return m_x; }
    AxisRange YRange() const { return m_y; }
    bool IsZoomed() const { return m_zoomed; }

    // Values to pixels of the plot rectangle and back.
    double XToPixelF(double x) const;
    double YToPixelF(double y) const;
    int XToPixel(double x) const;
    int YToPixel(double y) const;
    double PixelToX(double px) const;
    double PixelToY(double py) const;

    // Only arrows starting within the bottom axis range are drawn.
    bool IsVisible(const Arrow& arrow) const;

    // Left axis: an increment of 1, 2 or 5 times a power of ten that keeps
    // labels of the given height apart.
    double LeftIncrement(int fontHeight) const;
    std::vector<AxisLabel> LeftLabels(int fontHeight) const;

    // Bottom axis: the arrows' labels when any arrow carries one, else a
    // numeric scale. textWidth gives a text's width in pixels.
    bool HasArrowLabels() const;
    std::vector<AxisLabel> BottomLabels(const std::function<int(const QString&)>& textWidth) const;

    // The room a bottom label claims on either side of its position.
    static int HalfRoom(int textWidth) { return (textWidth + qRound(textWidth * 0.2)) / 2; }

    // "#,##0.###" with the group separator of the user's locale and the
    // program's decimal separator.
    static QString FormatValue(double value);
    static QString FormatValue(double value, const QString& groupSeparator, QChar decimal);
    // The locale's group separator, unless one was set.
    static QString GroupSeparator();
    static void SetGroupSeparator(std::optional<QString> separator);

    // Mouse: a left drag from -> to zooms (towards the right) or restores the
    // automatic ranges (towards the left) when it spans more than 16 pixels
    // both ways; a right drag scrolls by the mouse's movement.
    static constexpr int MinimumDrag = 16;
    DragResult FinishZoomDrag(QPoint from, QPoint to);
    void ZoomTo(const QRect& pixels);
    void UndoZoom();
    void ScrollBy(QPoint pixels);

private:
    AxisRange Automatic(bool xAxis) const;

    std::vector<TArrowSeries*> m_series;
    std::vector<double> m_includedX;
    std::vector<double> m_includedY;
    QRect m_plot{0, 0, 100, 100};
    AxisRange m_x;
    AxisRange m_y;
    bool m_zoomed = false;
};
