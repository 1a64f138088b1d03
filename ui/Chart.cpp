// SPDX-License-Identifier: GPL-3.0-or-later
#include "Chart.h"

#include "Exceptions.h"

#include <QAccessibleWidget>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QVarLengthArray>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

// A screen reader presents the chart as a chart, not as an anonymous pane.
QAccessibleInterface* ChartAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("TChart") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Chart);
    return nullptr;
}

} // namespace

TChart::TChart(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Installed once however many charts there are: the toolkit keeps each
    // factory once.
    QAccessible::installFactory(ChartAccessible);
}

void TChart::AddSeries(TArrowSeries* series)
{
    m_model.AddSeries(series);
    // The series may outlive the chart.
    series->SetOnChange([chart = QPointer<TChart>(this)] {
        if (chart)
            chart->update();
    });
    update();
}

void TChart::ConfigureSeries(TArrowSeries& series, int arrowWidth, int arrowHeight, int penWidth)
{
    series.arrowWidth = arrowWidth;
    series.arrowHeight = arrowHeight;
    series.penWidth = penWidth;
}

int TChart::TextWidth(const QString& text)
{
    const auto it = m_widths.constFind(text);
    if (it != m_widths.constEnd())
        return *it;
    if (m_widths.size() > 20000)
        m_widths.clear();
    const int width = fontMetrics().horizontalAdvance(text);
    m_widths.insert(text, width);
    return width;
}

void TChart::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        m_widths.clear();
    // The weight axis groups digits the locale's way.
    if (event->type() == QEvent::LocaleChange)
        update();
    QWidget::changeEvent(event);
}

void TChart::Layout(const QSize& size)
{
    m_model.Refresh();
    const QFontMetrics fm = fontMetrics();
    const int line = fm.height();

    const int top = Margin + line + 2 * Margin;
    const int bottom = size.height() - 1 - (TickLength + TextGap + line + TextGap + line + Margin);
    // The left labels depend only on the height, so they fix the left side.
    m_model.SetPlotRect(QRect(QPoint(0, top), QPoint(size.width() - 1, bottom)));
    m_leftLabels = m_model.LeftLabels(line);
    int labelWidth = 0;
    for (const AxisLabel& label : m_leftLabels)
        labelWidth = std::max(labelWidth, TextWidth(label.text));
    int left = Margin + line + Margin + labelWidth + TextGap + TickLength;
    int right = size.width() - 1 - 2 * Margin;

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
            overLeft = std::max(overLeft, Margin - (label.pos - w / 2));
            overRight = std::max(overRight, label.pos + (w - w / 2) - (size.width() - 1 - Margin));
        }
        if (overLeft == 0 && overRight == 0)
            break;
        left += overLeft;
        right -= overRight;
        // Never squeeze the plot away for a very long label.
        right = std::max(right, left + size.width() / 3);
    }
}

QRect TChart::PlotRect()
{
    Layout(size());
    return m_model.PlotRect();
}

void TChart::PaintSeries(QPainter& painter, const TArrowSeries& series)
{
    const QRect plot = m_model.PlotRect();
    const double slack = 2.0 * series.penWidth + series.arrowWidth + series.arrowHeight + 2;
    const QRectF bounds = QRectF(plot).adjusted(-slack, -slack, slack, slack);

    QPen pen(Qt::SolidLine);
    pen.setWidth(std::max(1, series.penWidth));
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
        const double h = std::min<double>(series.arrowHeight, std::round(d));
        const double ux = dx / d;
        const double uy = dy / d;
        const QPointF base(end.x() - ux * h, end.y() - uy * h);
        const QPointF across(-uy * series.arrowWidth / 2.0, ux * series.arrowWidth / 2.0);
        add(QLineF(end, base + across));
        add(QLineF(end, base - across));
    }
    flush();
}

void TChart::Paint(QPainter& painter, const QSize& size)
{
    Layout(size);
    const QRect plot = m_model.PlotRect();
    const QFontMetrics fm = fontMetrics();
    const int line = fm.height();

    painter.setFont(font());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(QPoint(0, 0), size), palette().color(QPalette::Button));

    // Grid, then the back wall's frame; the wall itself is not filled.
    QPen grid(QColor(128, 128, 128), 0, Qt::DotLine);
    painter.setPen(grid);
    for (const AxisLabel& label : m_leftLabels) {
        if (label.pos > plot.top() && label.pos < plot.bottom())
            painter.drawLine(plot.left() + 1, label.pos, plot.right() - 1, label.pos);
    }
    for (const AxisLabel& label : m_bottomLabels) {
        if (label.pos > plot.left() && label.pos < plot.right())
            painter.drawLine(label.pos, plot.top() + 1, label.pos, plot.bottom() - 1);
    }
    const QColor textColor = palette().color(QPalette::ButtonText);
    painter.setPen(QPen(textColor, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot.adjusted(0, 0, -1, -1));

    // Ticks and labels.
    for (const AxisLabel& label : m_leftLabels) {
        painter.drawLine(plot.left() - TickLength, label.pos, plot.left() - 1, label.pos);
        const int right = plot.left() - TickLength - TextGap;
        painter.drawText(QRect(0, label.pos - line / 2, right, line),
                         Qt::AlignRight | Qt::AlignVCenter, label.text);
    }
    for (const AxisLabel& label : m_bottomLabels) {
        painter.drawLine(label.pos, plot.bottom() + 1, label.pos, plot.bottom() + TickLength);
        const int w = TextWidth(label.text);
        painter.drawText(
            QRect(label.pos - w / 2 - 1, plot.bottom() + TickLength + TextGap, w + 2, line),
            Qt::AlignCenter, label.text);
    }

    // Titles.
    painter.setPen(QColor(Qt::blue));
    painter.drawText(QRect(0, Margin, size.width(), line), Qt::AlignHCenter | Qt::AlignTop,
                     QStringLiteral("Moment Envelope"));
    painter.setPen(textColor);
    const int bottomTitleTop = plot.bottom() + TickLength + TextGap + line + TextGap;
    painter.drawText(QRect(plot.left(), bottomTitleTop, plot.width(), line),
                     Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Moment"));
    painter.save();
    painter.translate(Margin, plot.top() + plot.height() / 2);
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

    if (m_drag == Drag::Zoom) {
        painter.setPen(QPen(textColor, 0, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(
            QPoint(std::min(m_dragFrom.x(), m_dragTo.x()), std::min(m_dragFrom.y(), m_dragTo.y())),
            QPoint(std::max(m_dragFrom.x(), m_dragTo.x()) - 1,
                   std::max(m_dragFrom.y(), m_dragTo.y()) - 1)));
    }
}

void TChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter, size());
}

QImage TChart::RenderImage()
{
    // A bitmap has at least one pixel.
    const QSize imageSize = size().expandedTo(QSize(1, 1));
    QImage image(imageSize, QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Button));
    QPainter painter(&image);
    Paint(painter, imageSize);
    painter.end();
    return image;
}

void TChart::SaveToBitmapFile(const QString& path)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        RenderImage().save(&buffer, "BMP");
    }
    // Opened by hand to report the system's own reason for a failure.
    const auto fail = [&path](int error) {
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2")
                                .arg(QFileInfo(path).absoluteFilePath(),
                                     QString::fromLocal8Bit(std::strerror(error))));
    };
    // Never waits: a FIFO with no reader fails at once, and anything but a
    // regular file is written without blocking.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0)
        fail(errno);
    struct stat info
    {
    };
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            const int error = wrote < 0 ? errno : EIO;
            ::close(fd);
            fail(error);
        }
        done += wrote;
    }
    if (::close(fd) != 0)
        fail(errno);
}

void TChart::mousePressEvent(QMouseEvent* event)
{
    if (m_drag != Drag::None || !PlotRect().contains(event->position().toPoint())) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragFrom = m_dragTo = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        m_drag = Drag::Zoom;
    else if (event->button() == Qt::RightButton)
        m_drag = Drag::Scroll;
}

void TChart::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_drag == Drag::Zoom) {
        m_dragTo = pos;
        update();
    } else if (m_drag == Drag::Scroll) {
        m_model.ScrollBy(pos - m_dragTo);
        m_dragTo = pos;
        update();
    }
}

void TChart::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_drag == Drag::Zoom && event->button() == Qt::LeftButton) {
        m_drag = Drag::None;
        m_model.FinishZoomDrag(m_dragFrom, pos);
        update();
    } else if (m_drag == Drag::Scroll && event->button() == Qt::RightButton) {
        m_drag = Drag::None;
        m_model.ScrollBy(pos - m_dragTo);
        update();
    } else {
        QWidget::mouseReleaseEvent(event);
    }
}
