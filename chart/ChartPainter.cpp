// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/ChartPainter.h"

#include <QPainter>
#include <QPen>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// In pixels at 96 dpi.
constexpr int Margin = 4;
constexpr int TickLength = 4;
constexpr int TextGap = 2;

QColor ArrowColor(quint32 color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

// Cuts a line to a rectangle (Liang-Barsky) so that far-off points of a
// zoomed chart never reach the rasteriser.
std::optional<QLineF> ClipLine(const QLineF& line, const QRectF& rect)
{
    double t0 = 0;
    double t1 = 1;
    const double dx = line.dx();
    const double dy = line.dy();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {line.x1() - rect.left(), rect.right() - line.x1(), line.y1() - rect.top(),
                         rect.bottom() - line.y1()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return std::nullopt;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return std::nullopt;
    }
    return QLineF(line.x1() + t0 * dx, line.y1() + t0 * dy, line.x1() + t1 * dx,
                  line.y1() + t1 * dy);
}

} // namespace

ChartPainter::ChartPainter(ChartModel& model) : m_model(model), m_metrics(m_font) {}

void ChartPainter::SetFont(const QFont& font)
{
    m_font = font;
    m_metrics = QFontMetrics(m_font);
    m_widths.clear();
}

void ChartPainter::SetColors(const QColor& background, const QColor& text)
{
    m_background = background;
    m_text = text;
}

void ChartPainter::SetPixelScale(double scale)
{
    m_scale = scale > 0 && std::isfinite(scale) ? scale : 1;
}

int ChartPainter::Scaled(int pixels) const
{
    return qRound(pixels * m_scale);
}

int ChartPainter::LineWidth() const
{
    return m_scale == 1 ? 0 : std::max(1, qRound(m_scale));
}

int ChartPainter::TextWidth(const QString& text)
{
    const auto it = m_widths.constFind(text);
    if (it != m_widths.constEnd())
        return *it;
    if (m_widths.size() > 20000)
        m_widths.clear();
    const int width = m_metrics.horizontalAdvance(text);
    m_widths.insert(text, width);
    return width;
}

void ChartPainter::Layout(const QSize& size)
{
    m_model.Refresh();
    const int line = m_metrics.height();
    const int margin = Scaled(Margin);
    const int tick = Scaled(TickLength);
    const int gap = Scaled(TextGap);

    const int top = margin + line + 2 * margin;
    const int bottom = size.height() - 1 - (tick + gap + line + gap + line + margin);
    // The left labels depend only on the height, so they fix the left side.
    m_model.SetPlotRect(QRect(QPoint(0, top), QPoint(size.width() - 1, bottom)));
    m_leftLabels = m_model.LeftLabels(line);
    int labelWidth = 0;
    for (const AxisLabel& label : m_leftLabels)
        labelWidth = std::max(labelWidth, TextWidth(label.text));
    int left = margin + line + margin + labelWidth + gap + tick;
    int right = size.width() - 1 - 2 * margin;

    // A bottom label may stand at either end of the axis: make room for the
    // half that would stick out.
    const auto width = [this](const QString& text) { return TextWidth(text); };
    for (int pass = 0;; ++pass) {
        m_model.SetPlotRect(QRect(QPoint(left, top), QPoint(std::max(left, right), bottom)));
        m_bottomLabels = m_model.BottomLabels(width);
        if (pass == 2)
            break;
        int overLeft = 0;
        int overRight = 0;
        for (const AxisLabel& label : m_bottomLabels) {
            const int w = TextWidth(label.text);
            overLeft = std::max(overLeft, margin - (label.pos - w / 2));
            overRight = std::max(overRight, label.pos + (w - w / 2) - (size.width() - 1 - margin));
        }
        if (overLeft == 0 && overRight == 0)
            break;
        left += overLeft;
        right -= overRight;
        // Never squeeze the plot away for a very long label.
        right = std::max(right, left + size.width() / 3);
    }
}

void ChartPainter::PaintSeries(QPainter& painter, const TArrowSeries& series) const
{
    const QRect plot = m_model.PlotRect();
    const double penWidth = series.penWidth * m_scale;
    const double arrowWidth = series.arrowWidth * m_scale;
    const double arrowHeight = series.arrowHeight * m_scale;
    const double slack = 2.0 * penWidth + arrowWidth + arrowHeight + 2 * m_scale;
    const QRectF bounds = QRectF(plot).adjusted(-slack, -slack, slack, slack);

    QPen pen(Qt::SolidLine);
    pen.setWidth(std::max(1, static_cast<int>(std::lround(penWidth))));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);

    // Neighbouring arrows of one colour go to the painter in one call.
    QVector<QLineF> lines;
    quint32 runColor = 0;
    const auto flush = [&] {
        if (lines.isEmpty())
            return;
        pen.setColor(ArrowColor(runColor));
        painter.setPen(pen);
        painter.drawLines(lines);
        lines.clear();
    };
    const auto add = [&](const QLineF& line) {
        if (const auto clipped = ClipLine(line, bounds))
            lines.append(*clipped);
    };

    for (const Arrow& a : series.Arrows()) {
        if (!m_model.IsVisible(a))
            continue;
        const QPointF start(std::round(m_model.XToPixelF(a.startX)),
                            std::round(m_model.YToPixelF(a.startY)));
        const QPointF end(std::round(m_model.XToPixelF(a.endX)),
                          std::round(m_model.YToPixelF(a.endY)));
        const double dx = end.x() - start.x();
        const double dy = end.y() - start.y();
        const double d = std::hypot(dx, dy);
        if (!std::isfinite(d) || d == 0)
            continue;
        if (a.color != runColor)
            flush();
        runColor = a.color;

        add(QLineF(start, end));
        const double h = std::min<double>(arrowHeight, std::round(d));
        const double ux = dx / d;
        const double uy = dy / d;
        const QPointF base(end.x() - ux * h, end.y() - uy * h);
        const QPointF across(-uy * arrowWidth / 2.0, ux * arrowWidth / 2.0);
        add(QLineF(end, base + across));
        add(QLineF(end, base - across));
    }
    flush();
}

void ChartPainter::Paint(QPainter& painter, const QSize& size)
{
    Layout(size);
    const QRect plot = m_model.PlotRect();
    const int line = m_metrics.height();
    const int margin = Scaled(Margin);
    const int tick = Scaled(TickLength);
    const int gap = Scaled(TextGap);
    const int lineWidth = LineWidth();
    // Ticks start outside the frame, which a wider pen makes wider.
    const int frameOut = std::max(1, lineWidth);

    painter.setFont(m_font);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(QPoint(0, 0), size), m_background);

    // Grid, then the back wall's frame; the wall itself is not filled.
    QPen grid(QColor(128, 128, 128), lineWidth, Qt::DotLine);
    painter.setPen(grid);
    for (const AxisLabel& label : m_leftLabels) {
        if (label.pos > plot.top() && label.pos < plot.bottom())
            painter.drawLine(plot.left() + 1, label.pos, plot.right() - 1, label.pos);
    }
    for (const AxisLabel& label : m_bottomLabels) {
        if (label.pos > plot.left() && label.pos < plot.right())
            painter.drawLine(label.pos, plot.top() + 1, label.pos, plot.bottom() - 1);
    }
    painter.setPen(QPen(m_text, lineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot.adjusted(0, 0, -1, -1));

    // Ticks and labels.
    for (const AxisLabel& label : m_leftLabels) {
        painter.drawLine(plot.left() - tick, label.pos, plot.left() - frameOut, label.pos);
        const int right = plot.left() - tick - gap;
        painter.drawText(QRect(0, label.pos - line / 2, right, line),
                         Qt::AlignRight | Qt::AlignVCenter, label.text);
    }
    for (const AxisLabel& label : m_bottomLabels) {
        painter.drawLine(label.pos, plot.bottom() + frameOut, label.pos, plot.bottom() + tick);
        const int w = TextWidth(label.text);
        painter.drawText(QRect(label.pos - w / 2 - 1, plot.bottom() + tick + gap, w + 2, line),
                         Qt::AlignCenter, label.text);
    }

    // Titles.
    painter.setPen(QColor(Qt::blue));
    painter.drawText(QRect(0, margin, size.width(), line), Qt::AlignHCenter | Qt::AlignTop,
                     QStringLiteral("Moment Envelope"));
    painter.setPen(m_text);
    const int bottomTitleTop = plot.bottom() + tick + gap + line + gap;
    painter.drawText(QRect(plot.left(), bottomTitleTop, plot.width(), line),
                     Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Moment"));
    painter.save();
    painter.translate(margin, plot.top() + plot.height() / 2);
    painter.rotate(-90);
    painter.drawText(QRect(-plot.height() / 2, 0, plot.height(), line),
                     Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Weight"));
    painter.restore();

    // The series, clipped to the plot rectangle.
    painter.save();
    painter.setClipRect(plot);
    for (const TArrowSeries* series : m_model.SeriesList())
        PaintSeries(painter, *series);
    painter.restore();
}
