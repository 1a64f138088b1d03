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
// The marks and their legend, in pixels at 96 dpi.
constexpr int MarkerSize = 11;
constexpr int WayPen = 2;
constexpr int LegendSample = 22;
constexpr int LegendSpacing = 14;

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

// A marker of `size` pixels centred on `at`, filled with its colour and
// outlined darker so that it stands out on any line.
void PaintMarker(QPainter& painter, const QPointF& at, ChartMarks::Shape shape, double size,
                 const QColor& color, double outline)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(color.darker(160), outline));
    painter.setBrush(color);
    const double r = size / 2;
    switch (shape) {
    case ChartMarks::Shape::Circle:
        painter.drawEllipse(at, r, r);
        break;
    case ChartMarks::Shape::Square:
        painter.drawRect(QRectF(at.x() - r, at.y() - r, size, size));
        break;
    case ChartMarks::Shape::Triangle:
        painter.drawPolygon(QPolygonF{QPointF(at.x(), at.y() - r * 1.15),
                                      QPointF(at.x() + r * 1.15, at.y() + r * 0.85),
                                      QPointF(at.x() - r * 1.15, at.y() + r * 0.85)});
        break;
    case ChartMarks::Shape::Diamond:
        painter.drawPolygon(
            QPolygonF{QPointF(at.x(), at.y() - r * 1.3), QPointF(at.x() + r * 1.3, at.y()),
                      QPointF(at.x(), at.y() + r * 1.3), QPointF(at.x() - r * 1.3, at.y())});
        break;
    }
    painter.restore();
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

void ChartPainter::SetMarks(ChartMarks marks)
{
    m_marks = std::move(marks);
    std::vector<double> xs;
    std::vector<double> ys;
    for (const ChartMarks::Point& p : m_marks.points) {
        xs.push_back(p.at.x());
        ys.push_back(p.at.y());
    }
    for (const ChartMarks::Way& w : m_marks.ways) {
        xs.insert(xs.end(), {w.from.x(), w.to.x()});
        ys.insert(ys.end(), {w.from.y(), w.to.y()});
    }
    for (const ChartMarks::Level& l : m_marks.levels)
        ys.push_back(l.y);
    m_model.SetIncluded(std::move(xs), std::move(ys));
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
    LayoutLegend(size.width());
    const int legend = m_legendRows > 0 ? m_legendRows * line + gap : 0;
    const int bottom = size.height() - 1 - (tick + gap + line + gap + line + margin) - legend;
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

void ChartPainter::LayoutLegend(int width)
{
    m_legend.clear();
    m_legendRows = 0;
    if (m_marks.IsEmpty())
        return;
    using Sample = LegendEntry::Sample;
    for (const ChartMarks::SeriesKey& key : m_marks.series)
        m_legend.push_back({Sample::Line, key.color, Qt::SolidLine, {}, key.name});
    for (const ChartMarks::Point& p : m_marks.points)
        m_legend.push_back({Sample::Marker, p.color, Qt::SolidLine, p.shape, p.name});
    for (const ChartMarks::Way& w : m_marks.ways)
        m_legend.push_back({Sample::Line, w.color, w.style, {}, w.name});
    if (!m_marks.levels.empty() && !m_marks.levelsName.isEmpty())
        m_legend.push_back(
            {Sample::Line, m_marks.levelColor, Qt::DashDotLine, {}, m_marks.levelsName});
    // Entries flow left to right, a new row when one would pass the right margin.
    const int margin = Scaled(Margin);
    const int right = width - 1 - margin;
    int x = margin;
    int row = 0;
    for (LegendEntry& e : m_legend) {
        const int w = Scaled(LegendSample) + Scaled(TextGap) * 2 + TextWidth(e.name);
        if (x > margin && x + w > right) {
            ++row;
            x = margin;
        }
        e.row = row;
        e.x = x;
        x += w + Scaled(LegendSpacing);
    }
    m_legendRows = m_legend.empty() ? 0 : row + 1;
}

void ChartPainter::PaintMarks(QPainter& painter) const
{
    const QRect plot = m_model.PlotRect();
    const auto at = [this](const QPointF& p) {
        return QPointF(m_model.XToPixelF(p.x()), m_model.YToPixelF(p.y()));
    };
    const QRectF bounds =
        QRectF(plot).adjusted(-plot.width(), -plot.height(), plot.width(), plot.height());
    painter.save();
    painter.setClipRect(plot);
    painter.setBrush(Qt::NoBrush);
    QPen level(m_marks.levelColor, std::max(1, Scaled(1)), Qt::DashDotLine);
    painter.setPen(level);
    for (const ChartMarks::Level& l : m_marks.levels) {
        const double y = m_model.YToPixelF(l.y);
        if (std::isfinite(y))
            painter.drawLine(QLineF(plot.left(), y, plot.right(), y));
    }
    for (const ChartMarks::Way& w : m_marks.ways) {
        QPen pen(w.color, Scaled(WayPen), w.style);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        if (const auto line = ClipLine(QLineF(at(w.from), at(w.to)), bounds))
            painter.drawLine(*line);
    }
    painter.restore();
    // A marker is drawn whole when its point lies in the plot, even on its
    // edge, where the highest loading often is.
    for (const ChartMarks::Point& p : m_marks.points) {
        const QPointF centre = at(p.at);
        if (QRectF(plot).adjusted(-0.5, -0.5, 0.5, 0.5).contains(centre))
            PaintMarker(painter, centre, p.shape, Scaled(MarkerSize), p.color,
                        std::max(1.0, m_scale * 0.75));
    }

    // The levels' labels at the plot's left, above their lines; where two
    // would overlap, the lower one moves down under the other, in the
    // lines' colour so that it still reads with its line.
    std::vector<std::pair<double, QString>> labels;
    for (const ChartMarks::Level& l : m_marks.levels) {
        const double y = m_model.YToPixelF(l.y);
        if (std::isfinite(y) && y >= plot.top() && y <= plot.bottom())
            labels.emplace_back(y, l.label);
    }
    std::sort(labels.begin(), labels.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    const int line = m_metrics.height();
    const int gap = Scaled(TextGap);
    double lastBottom = plot.top();
    painter.setPen(m_marks.levelColor);
    for (const auto& [y, text] : labels) {
        double top = y - gap - line;
        if (top < plot.top() + gap)
            top = y + gap;
        top = std::max(top, lastBottom);
        const QRectF box(plot.left() + Scaled(Margin), top,
                         m_metrics.horizontalAdvance(text) + 2 * gap, line);
        painter.fillRect(box, m_background);
        painter.drawText(box, Qt::AlignCenter, text);
        lastBottom = box.bottom();
    }
}

void ChartPainter::PaintLegend(QPainter& painter, int top) const
{
    const int line = m_metrics.height();
    const int gap = Scaled(TextGap);
    const int sample = Scaled(LegendSample);
    for (const LegendEntry& e : m_legend) {
        const double y = top + e.row * line;
        const double middle = y + line / 2.0;
        if (e.sample == LegendEntry::Sample::Marker) {
            PaintMarker(painter, QPointF(e.x + sample / 2.0, middle), e.shape, Scaled(MarkerSize),
                        e.color, std::max(1.0, m_scale * 0.75));
        } else {
            QPen pen(e.color, Scaled(WayPen), e.style);
            pen.setCapStyle(Qt::FlatCap);
            painter.setPen(pen);
            painter.drawLine(QLineF(e.x, middle, e.x + sample, middle));
        }
        painter.setPen(m_text);
        painter.drawText(
            QRectF(e.x + sample + gap * 2, y, m_metrics.horizontalAdvance(e.name) + gap, line),
            Qt::AlignLeft | Qt::AlignVCenter, e.name);
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

    if (!m_marks.IsEmpty()) {
        PaintMarks(painter);
        PaintLegend(painter, bottomTitleTop + line + gap);
    }
}
