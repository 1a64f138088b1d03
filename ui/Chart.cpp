// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Chart.h"

#include "core/Exceptions.h"

#include <QAccessibleWidget>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
    m_painter.SetFont(font());
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

void TChart::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        m_painter.SetFont(font());
    // The weight axis groups digits the locale's way.
    if (event->type() == QEvent::LocaleChange)
        update();
    QWidget::changeEvent(event);
}

void TChart::SyncPainter()
{
    // A font that reached the widget without a change event is taken too.
    if (!(m_painter.Font() == font()))
        m_painter.SetFont(font());
    m_painter.SetColors(palette().color(QPalette::Button), palette().color(QPalette::ButtonText));
}

void TChart::Layout(const QSize& size)
{
    SyncPainter();
    m_painter.Layout(size);
}

QRect TChart::PlotRect()
{
    Layout(size());
    return m_model.PlotRect();
}

void TChart::Paint(QPainter& painter, const QSize& size)
{
    SyncPainter();
    m_painter.Paint(painter, size);
    if (m_drag == Drag::Zoom) {
        painter.setPen(QPen(palette().color(QPalette::ButtonText), 0, Qt::DashLine));
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
