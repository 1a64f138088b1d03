// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The lists of an aircraft and the counts that size them: list-short,
// not-a-number, list-long, out-of-range and value-cut.

#include "check/AircraftFinding.h"
#include "core/Extended.h"

#include <QStringList>

#include <vector>

// A count (Slots, EnvelopePoints) read with the integer rule, as the load
// reads it.
struct CountValue
{
    CatalogueKey key = CatalogueKey::Unknown;
    const CatalogueEntry* entry = nullptr;
    int read = 0;  // what the integer rule gives, the key's default when it gives nothing
    int value = 0; // what the load uses: negative reads as 0
    bool parsed = false;
};
CountValue ReadCount(const CatalogueSection& section, CatalogueKey key);

// Where a count that is not plainly given comes from: "EnvelopePoints is
// missing, so 1"; empty when it is given as it is used.
QString CountNote(const CountValue& count);
// "4 slots", "1 envelope point (EnvelopePoints is missing, so 1)".
QString CountPhrase(const CountValue& count);

// One list of an aircraft with its fields, against its count.
struct CountedList
{
    CatalogueKey key = CatalogueKey::Unknown;
    const CatalogueEntry* entry = nullptr;
    QStringList fields;
    QString tail; // trimmed text after the last ";": no field
    int count = 0;
    // Numeric lists only, for the fields below the count:
    std::vector<Extended> values; // the fields that convert
    std::vector<char> ok;
    int firstBad = -1;
    int badCount = 0;

    // The list `key` of `section` sized by `n`; `numeric` converts its fields.
    CountedList(const CatalogueSection& section, CatalogueKey key, int n, bool numeric);
    bool Short() const { return fields.size() < count; }
    // The first field a load fails on, -1 when every one converts.
    int FirstFailure() const;
    bool Complete() const { return FirstFailure() < 0; }
    bool Good(int i) const { return i < int(ok.size()) && ok[i]; }
};

// The error box the conversion of `field` raises, empty when it converts.
QString ConversionBox(const QString& field);

// list-short and not-a-number, each stopping a load at its field in `phase`
// (`part` places the list among those read for one field), then list-long.
AircraftFindings CheckList(const CatalogueSection& section, const CountedList& list,
                           const QString& countPhrase, LoadPhase phase, int part);
// list-long: fields past the count, or text after the last ";".
AircraftFindings CheckListLength(const CatalogueSection& section, const CountedList& list,
                                 const QString& countPhrase);

enum class Precision
{
    Single,
    Double
};
// out-of-range: fields that `precision` holds as infinity, or as 0 although
// they are not 0; `consequence`, when given, ends the message.
AircraftFindings CheckListRange(const CatalogueSection& section, const CountedList& list,
                                Precision precision, const QString& consequence);

// value-cut: each value of a known key longer than the reader keeps.
AircraftFindings CheckValueCuts(const CatalogueSection& section);
