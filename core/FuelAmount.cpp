// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FuelAmount.h"

#include "core/NumConv.h"

#include <cmath>

namespace {

// The volume in the catalogue's own unit: litres in a metric one, US gallons
// in an imperial one.
double OwnVolume(const FuelAmount& amount, bool imperial)
{
    if (amount.unit == FuelUnit::Litre)
        return imperial ? amount.amount / LitresPerUsGallon : amount.amount;
    return imperial ? amount.amount : amount.amount * LitresPerUsGallon;
}

} // namespace

FuelUnit SplitFuelUnit(const QString& text, QString& number)
{
    number = text;
    if (number.endsWith(QStringLiteral("gal"))) {
        number.chop(3);
        return FuelUnit::UsGallon;
    }
    if (number.endsWith(u'L') || number.endsWith(u'l')) {
        number.chop(1);
        return FuelUnit::Litre;
    }
    return FuelUnit::Weight;
}

bool ReadFuelAmount(const QString& text, FuelAmount& amount)
{
    QString number;
    const FuelUnit unit = SplitFuelUnit(text, number);
    Extended value = 0;
    if (!TryStrToFloat(number, value))
        return false;
    const double v = static_cast<double>(value);
    if (!(v >= 0) || !std::isfinite(v))
        return false;
    amount = FuelAmount{v, unit};
    return true;
}

double FuelWeight(const FuelAmount& amount, double density, bool imperial)
{
    if (amount.unit == FuelUnit::Weight)
        return amount.amount;
    return OwnVolume(amount, imperial) * density;
}

double FuelInUnit(double weight, FuelUnit unit, double density, bool imperial)
{
    if (unit == FuelUnit::Weight)
        return weight;
    const double own = weight / density;
    if (unit == FuelUnit::Litre)
        return imperial ? own * LitresPerUsGallon : own;
    return imperial ? own : own / LitresPerUsGallon;
}

QString FuelUnitSymbol(FuelUnit unit)
{
    switch (unit) {
    case FuelUnit::Litre:
        return QStringLiteral("L");
    case FuelUnit::UsGallon:
        return QStringLiteral("gal");
    case FuelUnit::Weight:
        break;
    }
    return QString();
}
