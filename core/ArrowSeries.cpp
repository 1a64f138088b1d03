// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ArrowSeries.h"

#include <algorithm>

void TArrowSeries::Clear()
{
    m_arrows.clear();
    m_lastAdded.reset();
    if (m_onChange)
        m_onChange();
}

void TArrowSeries::AddArrow(double x0, double y0, double x1, double y1, const QString& label,
                            quint32 color)
{
    const auto at = std::upper_bound(m_arrows.begin(), m_arrows.end(), x0,
                                     [](double x, const Arrow& a) { return x < a.startX; });
    m_lastAdded = *m_arrows.insert(at, Arrow{x0, y0, x1, y1, label, color});
    if (m_onChange)
        m_onChange();
}
