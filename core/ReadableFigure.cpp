// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ReadableFigure.h"

#include "core/NumConv.h"

#include <cmath>

namespace {

// Past this many places a value is told apart from zero by FloatToStr's
// own notation instead.
constexpr int MaxDecimals = 15;

bool ReadsAsZero(const QString& fixed)
{
    for (QChar c : fixed)
        if (c >= u'1' && c <= u'9')
            return false;
    return true;
}

} // namespace

QString FiniteText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("not a number");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("infinite") : QStringLiteral("minus infinite");
    return FloatToStr(value);
}

int CentreDecimals(bool imperial)
{
    return imperial ? 2 : 3;
}

QString ReadableFigure(double value, int decimals)
{
    if (!std::isfinite(value))
        return FiniteText(value);
    if (value == 0)
        value = 0; // no "-0.0"
    QString fixed = QString::number(value, 'f', decimals);
    while (value != 0 && ReadsAsZero(fixed)) {
        if (++decimals > MaxDecimals)
            return FloatToStr(value);
        fixed = QString::number(value, 'f', decimals);
    }
    return fixed.replace(u'.', DecimalSeparator());
}
