// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <vector>

// Colours are 0x00BBGGRR.
constexpr quint32 clRed = 0x000000FF;
constexpr quint32 clBlue = 0x00FF0000;

struct Arrow
{
    double startX = 0;
    double startY = 0;
    double endX = 0;
    double endY = 0;
    QString label;
    quint32 color = 0;
};

// A chain of arrows kept sorted by start X; an arrow whose start X equals
// that of arrows already held goes after them.
class TArrowSeries
{
public:
    void Clear();
    void AddArrow(double x0, double y0, double x1, double y1, const QString& label, quint32 color);

    const std::vector<Arrow>& Arrows() const { return m_arrows; }
    // The arrow added last, which ends a chain added in order wherever the
    // sorting put it; null when the series is empty.
    const Arrow* LastAdded() const { return m_lastAdded ? &*m_lastAdded : nullptr; }
    int Count() const { return static_cast<int>(m_arrows.size()); }
    const Arrow& operator[](int i) const { return m_arrows[static_cast<size_t>(i)]; }

    // Called after every change so that the chart holding the series redraws.
    void SetOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

    // Arrow head and pen, in pixels.
    int arrowWidth = 4;
    int arrowHeight = 4;
    int penWidth = 1;

private:
    std::vector<Arrow> m_arrows;
    std::optional<Arrow> m_lastAdded;
    std::function<void()> m_onChange;
};
