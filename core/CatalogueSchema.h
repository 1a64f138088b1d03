// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The catalogue's keys: their names, kinds, defaults and limits, written once
// for the window's loader, the commands and the fuzz targets.

// The keys the program reads from an aircraft's section.
enum class CatalogueKey
{
    Make,
    Model,
    Slots,
    SlotsNames,
    SlotsWeight,
    SlotsMaxWeight,
    SlotsPos,
    SlotsMinPos,
    SlotsMaxPos,
    MaxWeight,
    Unit,
    EnvelopePoints,
    EnvelopeX,
    EnvelopeY,
    MaxRampWeight,
    MaxLandingWeight,
    MaxZeroFuelWeight,
    FuelSlots,
    FuelDensity,
    Unknown
};
constexpr int CatalogueKeyCount = static_cast<int>(CatalogueKey::Unknown);

enum class KeyKind
{
    Text,       // read as it stands
    Count,      // the integer rule; sizes lists
    Integer,    // the integer rule
    Number,     // read as a double, the default when it does not convert
    TextList,   // fields copied into the sheet as text (some are numbers there)
    NumberList, // fields converted; a missing or malformed one stops the load
    // The flight's keys (core/FlightLimits): each optional, an empty value
    // counts as missing, and a bad one never stops a load.
    Limit,    // a positive number; missing means no such limit
    SlotList, // slot numbers counted from 1, any number of them
    Density,  // a positive number; missing gives DefaultFuelDensity of the unit
};

// Who reads a key.
enum class KeyUse
{
    Window, // the window's load, and the commands as it does
    Flight  // only the judgement of a whole flight; the window never reads it
};

struct KeySchema
{
    CatalogueKey key;
    const char* name; // as the program spells it; compared without regard to case
    KeyKind kind;
    // Count, Integer and Number: the value a missing or unreadable key gives.
    // Texts and lists default to empty text; a Limit to none, a Density to
    // DefaultFuelDensity.
    int defaultValue;
    // Lists: the count whose value is the number of fields read.
    CatalogueKey sizedBy;
    KeyUse use;
};

// Every key, in the order of CatalogueKey.
const KeySchema& SchemaOf(CatalogueKey key);
// The key's name as the program spells it; empty for Unknown.
QString KeyName(CatalogueKey key);
// The key a name read from a file means, whatever its case; Unknown if none.
CatalogueKey KeyNamed(const QString& name);
// The default of a count, integer or number key.
inline int DefaultOf(CatalogueKey key)
{
    return SchemaOf(key).defaultValue;
}
// Whether the key is read as a list of ";"-ended fields.
bool IsList(CatalogueKey key);
// Whether the window's load reads the key.
inline bool WindowReads(CatalogueKey key)
{
    return SchemaOf(key).use == KeyUse::Window;
}

// The Unit value that selects the imperial labels; every other is metric.
constexpr int ImperialUnit = 2;

// FuelDensity when the key is missing, in the catalogue's units: aviation
// gasoline at 0.72 kg per litre, or 6 lb per US gallon.
constexpr double MetricFuelDensity = 0.72;  // kg/L
constexpr double ImperialFuelDensity = 6.0; // lb/US gal
constexpr double DefaultFuelDensity(bool imperial)
{
    return imperial ? ImperialFuelDensity : MetricFuelDensity;
}

// The largest count a 2047-character list can hold fields for.
constexpr int MaxListCount = 1023;

// Why an aircraft whose count (Slots or EnvelopePoints) passes MaxListCount
// is refused: "The aircraft "<section>" cannot be loaded: Slots is <count>,
// but at most 1023 slots can be listed" (the error box adds the final ".").
QString CountRefusalText(const QString& section, CatalogueKey count, int value);
