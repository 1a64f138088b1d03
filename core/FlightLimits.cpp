// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FlightLimits.h"

#include "core/IniSyntax.h"
#include "core/ListField.h"
#include "core/NumConv.h"

#include <QHash>

#include <cmath>

namespace {

using Kind = FlightLimitProblem::Kind;

class Reader
{
public:
    Reader(const CatalogueValue& value, FlightLimits& limits) : m_value(value), m_limits(limits) {}

    void Problem(CatalogueKey key, Kind kind, const QString& raw, const QString& what,
                 int field = -1)
    {
        m_limits.problems.append({key, kind, field, raw, what});
    }

    // A positive number that a double holds; none, and a problem, otherwise.
    std::optional<double> Positive(CatalogueKey key)
    {
        const QString text = m_value(key);
        if (text.isEmpty())
            return std::nullopt; // the reader's rule: an empty value is a missing one
        Extended read = 0;
        if (!TryStrToFloat(text, read)) {
            Problem(key, Kind::NotANumber, text, QStringLiteral("is not a number"));
            return std::nullopt;
        }
        const double v = static_cast<double>(read);
        if (std::isinf(v)) {
            Problem(key, Kind::BeyondRange, text,
                    QStringLiteral("is beyond the range of a double"));
            return std::nullopt;
        }
        if (!(v > 0)) {
            Problem(key, Kind::NotPositive, text,
                    read > 0 ? QStringLiteral("becomes 0 in double precision")
                             : QStringLiteral("is not positive"));
            return std::nullopt;
        }
        return v;
    }

    void FuelSlots(int slotCount)
    {
        const CatalogueKey key = CatalogueKey::FuelSlots;
        const QString text = m_value(key);
        const QStringList fields = ListFields(text);
        QHash<int, int> seen; // slot index -> field that named it first
        for (int i = 0; i < fields.size(); ++i) {
            const QString& field = fields[i];
            Extended read = 0;
            const bool number = TryStrToFloat(field, read);
            const double v = number ? static_cast<double>(read) : 0;
            // Whole in extended precision too: 5.00000000000000001 is no slot.
            if (!number || !std::isfinite(v) || v != std::floor(v) || Extended(v) != read) {
                Problem(key, Kind::NotASlot, field,
                        field.isEmpty() ? QStringLiteral("is empty")
                                        : QStringLiteral("is not a slot number"),
                        i);
                continue;
            }
            if (v < 1 || v > slotCount) {
                Problem(key, Kind::NoSuchSlot, field,
                        QStringLiteral("is not a slot of this aircraft, which has %1")
                            .arg(slotCount == 1 ? QStringLiteral("1 slot")
                                                : QStringLiteral("%1 slots").arg(slotCount)),
                        i);
                continue;
            }
            const int slot = static_cast<int>(v) - 1;
            if (slot == 0) {
                Problem(key, Kind::EmptyAircraft, field,
                        QStringLiteral("is the first slot: the empty aircraft, which is never "
                                       "edited"),
                        i);
                continue;
            }
            const auto first = seen.constFind(slot);
            if (first != seen.cend()) {
                Problem(key, Kind::RepeatedSlot, field,
                        QStringLiteral("repeats field %1").arg(*first + 1), i);
                continue;
            }
            seen.insert(slot, i);
            m_limits.fuelSlots.append(slot);
        }
        // The list's own syntax: a field needs its ";", or it is silently lost.
        const QString tail = ListFields(text.mid(text.lastIndexOf(u';') + 1) + u';').value(0);
        if (!tail.isEmpty())
            Problem(key, Kind::Unended, tail,
                    QStringLiteral("after the last ';' is no field: every field needs its ';'"));
    }

private:
    const CatalogueValue& m_value;
    FlightLimits& m_limits;
};

struct Rung
{
    CatalogueKey key;
    std::optional<double> limit;
};

} // namespace

FlightLimits ReadFlightLimits(const CatalogueValue& value, int slotCount, bool imperial)
{
    FlightLimits limits;
    Reader reader(value, limits);
    limits.ramp = reader.Positive(CatalogueKey::MaxRampWeight);
    limits.landing = reader.Positive(CatalogueKey::MaxLandingWeight);
    limits.zeroFuel = reader.Positive(CatalogueKey::MaxZeroFuelWeight);
    reader.FuelSlots(std::max(0, slotCount));
    const std::optional<double> density = reader.Positive(CatalogueKey::FuelDensity);
    limits.fuelDensityGiven = density.has_value();
    limits.fuelDensity = density.value_or(DefaultFuelDensity(imperial));

    // MaxWeight as the window reads it; its own faults are the window's rules' to report.
    double takeOff = 0;
    if (TryParseProfileFloat(value(CatalogueKey::MaxWeight), takeOff) && takeOff > 0)
        limits.takeOff = takeOff;

    // Lowest first: each given limit against the next given one above it.
    const Rung rungs[] = {{CatalogueKey::MaxZeroFuelWeight, limits.zeroFuel},
                          {CatalogueKey::MaxLandingWeight, limits.landing},
                          {CatalogueKey::MaxWeight, limits.takeOff},
                          {CatalogueKey::MaxRampWeight, limits.ramp}};
    const Rung* below = nullptr;
    for (const Rung& above : rungs) {
        if (!above.limit)
            continue;
        if (below && *below->limit > *above.limit) {
            if (below->key == CatalogueKey::MaxWeight)
                reader.Problem(above.key, Kind::Order, value(above.key),
                               QStringLiteral("is below %1 (%2)")
                                   .arg(KeyName(below->key), FloatToStr(*below->limit)));
            else
                reader.Problem(below->key, Kind::Order, value(below->key),
                               QStringLiteral("is above %1 (%2)")
                                   .arg(KeyName(above.key), FloatToStr(*above.limit)));
        }
        below = &above;
    }
    return limits;
}
