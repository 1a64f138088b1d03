// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPointF>
#include <QString>

#include <vector>

// What a printed chart draws over the series (ChartPainter::SetMarks):
// marked points, straight ways between points, horizontal levels with their
// labels, and a legend naming each. Coordinates are the axes' values. The
// window's chart draws none.
struct ChartMarks
{
    enum class Shape
    {
        Circle,
        Square,
        Triangle,
        Diamond
    };
    struct Point
    {
        QPointF at;
        Shape shape = Shape::Circle;
        QColor color;
        QString name; // in the legend
    };
    struct Way
    {
        QPointF from;
        QPointF to;
        Qt::PenStyle style = Qt::SolidLine;
        QColor color;
        QString name; // in the legend
    };
    struct Level
    {
        double y = 0;
        QString label; // beside the line
    };
    // The legend's name of one of the model's series, in the series' colour.
    struct SeriesKey
    {
        QColor color;
        QString name;
    };

    std::vector<SeriesKey> series;
    std::vector<Point> points;
    std::vector<Way> ways;
    std::vector<Level> levels;
    QColor levelColor;
    QString levelsName; // the levels' entry in the legend; none when empty

    bool IsEmpty() const
    {
        return series.empty() && points.empty() && ways.empty() && levels.empty();
    }
};
