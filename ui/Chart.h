// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/ChartModel.h"
#include "chart/ChartPainter.h"
#include "core/ArrowSeries.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <vector>

class QPainter;

// The envelope chart: arrow series drawn in the moment-weight plane with
// automatic axes, the arrows' labels along the bottom axis, and mouse zoom
// (left drag) and scroll (right drag). Assistive technology sees it in the
// chart role; what it shows in words is its accessible description, which
// the owner of the series keeps up to date.
class TChart : public QWidget
{
    Q_OBJECT
public:
    explicit TChart(QWidget* parent = nullptr);

    // Series are drawn in the order added; the chart redraws whenever one
    // changes. The series stay the caller's.
    void AddSeries(TArrowSeries* series);

    ChartModel& Model() { return m_model; }
    const ChartModel& Model() const { return m_model; }

    // Arrow head width and length and pen width, in pixels.
    static void ConfigureSeries(TArrowSeries& series, int arrowWidth, int arrowHeight,
                                int penWidth);

    // The whole chart as drawn on screen, at the widget's current size.
    QImage RenderImage();
    // Writes RenderImage() as a BMP file, replacing an existing one; throws
    // EFCreateError when the file cannot be created or written.
    void SaveToBitmapFile(const QString& path);

    // The plot rectangle for the current size, contents and zoom, and the
    // axis labels that go with it.
    QRect PlotRect();
    const std::vector<AxisLabel>& LeftLabels() const { return m_painter.LeftLabels(); }
    const std::vector<AxisLabel>& BottomLabels() const { return m_painter.BottomLabels(); }

    QSize sizeHint() const override { return QSize(289, 385); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum class Drag
    {
        None,
        Zoom,
        Scroll
    };

    // The painter takes the widget's font and its button face's colours.
    void SyncPainter();
    void Layout(const QSize& size);
    void Paint(QPainter& painter, const QSize& size);

    ChartModel m_model;
    ChartPainter m_painter{m_model};

    Drag m_drag = Drag::None;
    QPoint m_dragFrom;
    QPoint m_dragTo;
};
