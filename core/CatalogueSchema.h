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
};

struct KeySchema
{
    CatalogueKey key;
    const char* name; // as the program spells it; compared without regard to case
    KeyKind kind;
    // Count, Integer and Number: the value a missing or unreadable key gives.
    // Texts and lists default to empty text.
    int defaultValue;
    // Lists: the count whose value is the number of fields read.
    CatalogueKey sizedBy;
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

// The Unit value that selects the imperial labels; every other is metric.
constexpr int ImperialUnit = 2;

// The largest count a 2047-character list can hold fields for.
constexpr int MaxListCount = 1023;

// Why an aircraft whose count (Slots or EnvelopePoints) passes MaxListCount
// is refused: "The aircraft "<section>" cannot be loaded: Slots is <count>,
// but at most 1023 slots can be listed" (the error box adds the final ".").
QString CountRefusalText(const QString& section, CatalogueKey count, int value);
