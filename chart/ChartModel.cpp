// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/ChartModel.h"

#include "core/NumConv.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

std::optional<QString>& GroupSeparatorOverride()
{
    static std::optional<QString> separator;
    return separator;
}

// Pixels beyond this are far outside any plot; clamping keeps int conversion
// defined when the user zooms deep into a chart.
constexpr double PixelLimit = 1e9;

constexpr int NumericGap = 10;

int ToPixel(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::lround(std::clamp(value, -PixelLimit, PixelLimit)));
}

double NiceStepAtLeast(double raw)
{
    if (!std::isfinite(raw) || raw <= 0)
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * power >= raw * (1 - 1e-12))
            return m * power;
    }
    return 10 * power;
}

// Values k * step within the range; empty when there would be absurdly many.
std::vector<double> StepsWithin(const AxisRange& range, double step)
{
    std::vector<double> values;
    if (!std::isfinite(step) || step <= 0)
        return values;
    const double first = std::ceil(range.min / step - 1e-9);
    const double last = std::floor(range.max / step + 1e-9);
    if (!std::isfinite(first) || !std::isfinite(last) || last - first > 10000)
        return values;
    for (double k = first; k <= last; ++k) {
        double value = k * step;
        if (std::fabs(value) < step * 1e-9)
            value = 0;
        // k * step may land a rounding error outside the range.
        values.push_back(std::clamp(value, range.min, range.max));
    }
    return values;
}

} // namespace

void ChartModel::AddSeries(TArrowSeries* series)
{
    m_series.push_back(series);
}

void ChartModel::SetIncluded(std::vector<double> xs, std::vector<double> ys)
{
    m_includedX = std::move(xs);
    m_includedY = std::move(ys);
}

AxisRange ChartModel::Automatic(bool xAxis) const
{
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    for (const double v : xAxis ? m_includedX : m_includedY) {
        if (std::isfinite(v)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    for (const TArrowSeries* series : m_series) {
        for (const Arrow& a : series->Arrows()) {
            // A non-finite coordinate (an overflowed running total) would
            // make the whole scale meaningless; such points are left out.
            const double ends[2] = {xAxis ? a.startX : a.startY, xAxis ? a.endX : a.endY};
            for (const double v : ends) {
                if (!std::isfinite(v))
                    continue;
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        }
    }
    if (lo > hi)
        return AxisRange{0, 1};
    if (!(hi - lo > 0) || !std::isfinite(hi - lo)) {
        // A single value still needs a scale to stand in.
        const double delta = std::fabs(lo) > 1 ? std::fabs(lo) * 0.01 : 1;
        if (!std::isfinite(hi - lo))
            return AxisRange{lo / 2, hi / 2};
        return AxisRange{lo - delta, hi + delta};
    }
    return AxisRange{lo, hi};
}

AxisRange ChartModel::AutomaticXRange() const
{
    return Automatic(true);
}

AxisRange ChartModel::AutomaticYRange() const
{
    return Automatic(false);
}

void ChartModel::Refresh()
{
    if (m_zoomed)
        return;
    m_x = AutomaticXRange();
    m_y = AutomaticYRange();
}

double ChartModel::XToPixelF(double x) const
{
    const double span = m_x.max - m_x.min;
    if (!(span > 0))
        return m_plot.left();
    return m_plot.left() + (x - m_x.min) * (m_plot.right() - m_plot.left()) / span;
}

double ChartModel::YToPixelF(double y) const
{
    const double span = m_y.max - m_y.min;
    if (!(span > 0))
        return m_plot.bottom();
    return m_plot.bottom() - (y - m_y.min) * (m_plot.bottom() - m_plot.top()) / span;
}

int ChartModel::XToPixel(double x) const
{
    return ToPixel(XToPixelF(x));
}

int ChartModel::YToPixel(double y) const
{
    return ToPixel(YToPixelF(y));
}

double ChartModel::PixelToX(double px) const
{
    const int size = m_plot.right() - m_plot.left();
    if (size <= 0)
        return m_x.min;
    return m_x.min + (px - m_plot.left()) * (m_x.max - m_x.min) / size;
}

double ChartModel::PixelToY(double py) const
{
    const int size = m_plot.bottom() - m_plot.top();
    if (size <= 0)
        return m_y.min;
    return m_y.min + (m_plot.bottom() - py) * (m_y.max - m_y.min) / size;
}

bool ChartModel::IsVisible(const Arrow& arrow) const
{
    return arrow.startX >= m_x.min && arrow.startX <= m_x.max;
}

double ChartModel::LeftIncrement(int fontHeight) const
{
    const double pixels = m_plot.bottom() - m_plot.top();
    const double span = m_y.max - m_y.min;
    if (!(pixels > 0) || !(span > 0))
        return 1;
    // Half a line of space between neighbouring labels; three decimals are
    // all the format shows, so a finer step would repeat labels.
    const double minSpacing = std::max(1, fontHeight) * 1.5;
    return std::max(0.001, NiceStepAtLeast(minSpacing * span / pixels));
}

std::vector<AxisLabel> ChartModel::LeftLabels(int fontHeight) const
{
    std::vector<AxisLabel> labels;
    const QString group = GroupSeparator();
    const QChar decimal = DecimalSeparator();
    for (const double value : StepsWithin(m_y, LeftIncrement(fontHeight)))
        labels.push_back(AxisLabel{FormatValue(value, group, decimal), YToPixel(value), value});
    return labels;
}

bool ChartModel::HasArrowLabels() const
{
    for (const TArrowSeries* series : m_series) {
        for (const Arrow& a : series->Arrows()) {
            if (!a.label.isEmpty())
                return true;
        }
    }
    return false;
}

std::vector<AxisLabel>
ChartModel::BottomLabels(const std::function<int(const QString&)>& textWidth) const
{
    std::vector<AxisLabel> labels;
    if (HasArrowLabels()) {
        int count = 0;
        for (const TArrowSeries* series : m_series)
            count = std::max(count, series->Count());
        int lastPos = 0;
        int lastHalfRoom = 0;
        for (int i = 0; i < count; ++i) {
            const Arrow* chosen = nullptr;
            for (const TArrowSeries* series : m_series) {
                if (i < series->Count() && !(*series)[i].label.isEmpty()) {
                    chosen = &(*series)[i];
                    break;
                }
            }
            if (!chosen || !IsVisible(*chosen))
                continue;
            const int pos = XToPixel(chosen->startX);
            // Too close whatever its width: no need to measure it. Measuring
            // is what costs with a thousand labels.
            if (!labels.empty() && std::abs(pos - lastPos) < lastHalfRoom)
                continue;
            const int width = textWidth(chosen->label);
            if (labels.empty()) {
                lastHalfRoom = width / 2;
            } else {
                const int halfRoom = HalfRoom(width);
                if (std::abs(pos - lastPos) < halfRoom + lastHalfRoom)
                    continue;
                lastHalfRoom = halfRoom;
            }
            lastPos = pos;
            labels.push_back(AxisLabel{chosen->label, pos, chosen->startX});
        }
        return labels;
    }

    // No arrow labels: a numeric scale whose step keeps the texts apart.
    const double pixels = m_plot.right() - m_plot.left();
    const double span = m_x.max - m_x.min;
    if (!(pixels > 0) || !(span > 0))
        return labels;
    const QString group = GroupSeparator();
    const QChar decimal = DecimalSeparator();
    double step = std::max(0.001, NiceStepAtLeast(8 * span / pixels));
    for (int attempt = 0; attempt < 64; ++attempt) {
        labels.clear();
        bool fits = true;
        int lastHalfRoom = 0;
        for (const double value : StepsWithin(m_x, step)) {
            AxisLabel label{FormatValue(value, group, decimal), XToPixel(value), value};
            const int halfRoom = HalfRoom(textWidth(label.text));
            // Numbers side by side need a clear gap to read as separate.
            if (!labels.empty() &&
                label.pos - labels.back().pos < halfRoom + lastHalfRoom + NumericGap) {
                fits = false;
                break;
            }
            lastHalfRoom = halfRoom;
            labels.push_back(std::move(label));
        }
        if (fits)
            return labels;
        step = NiceStepAtLeast(step * 1.5);
    }
    labels.clear();
    return labels;
}

QString ChartModel::GroupSeparator()
{
    if (GroupSeparatorOverride())
        return *GroupSeparatorOverride();
    return UserNumericLocale().groupSeparator();
}

void ChartModel::SetGroupSeparator(std::optional<QString> separator)
{
    GroupSeparatorOverride() = std::move(separator);
}

QString ChartModel::FormatValue(double value)
{
    return FormatValue(value, GroupSeparator(), DecimalSeparator());
}

QString ChartModel::FormatValue(double value, const QString& groupSeparator, QChar decimal)
{
    if (!std::isfinite(value))
        return QString::number(value);
    const QString digits = QString::number(std::fabs(value), 'f', 3);
    const qsizetype point = digits.indexOf(QLatin1Char('.'));
    const QString whole = digits.left(point);
    QString fraction = digits.mid(point + 1);
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);

    QString text;
    const qsizetype n = whole.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            text += groupSeparator;
        text += whole[i];
    }
    if (!fraction.isEmpty())
        text += decimal + fraction;
    // -0.0001 shows as "0", not "-0".
    if (value < 0 && (whole != QLatin1String("0") || !fraction.isEmpty()))
        text.prepend(QLatin1Char('-'));
    return text;
}

ChartModel::DragResult ChartModel::FinishZoomDrag(QPoint from, QPoint to)
{
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    if (std::abs(dx) <= MinimumDrag || std::abs(dy) <= MinimumDrag)
        return DragResult::None;
    if (dx > 0) {
        ZoomTo(QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                     QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y()))));
        return DragResult::Zoomed;
    }
    UndoZoom();
    return DragResult::Unzoomed;
}

void ChartModel::ZoomTo(const QRect& pixels)
{
    const AxisRange x{PixelToX(pixels.left()), PixelToX(pixels.right())};
    const AxisRange y{PixelToY(pixels.bottom()), PixelToY(pixels.top())};
    m_x = x;
    m_y = y;
    m_zoomed = true;
}

void ChartModel::UndoZoom()
{
    m_zoomed = false;
    Refresh();
}

void ChartModel::ScrollBy(QPoint pixels)
{
    if (pixels.isNull())
        return;
    const int width = m_plot.right() - m_plot.left();
    const int height = m_plot.bottom() - m_plot.top();
    if (width > 0) {
        const double shift = pixels.x() * (m_x.max - m_x.min) / width;
        m_x.min -= shift;
        m_x.max -= shift;
    }
    if (height > 0) {
        const double shift = pixels.y() * (m_y.max - m_y.min) / height;
        m_y.min += shift;
        m_y.max += shift;
    }
    m_zoomed = true;
}
