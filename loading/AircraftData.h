// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/AircraftLoad.h"
#include "core/IniSection.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// An aircraft's catalogue entry, every key with its text: what a saved
// loading keeps of the aircraft, and what it is compared with later.

// The SHA-256 of the entries' canonical form, in lower-case hexadecimal:
// entries sorted by the UTF-8 bytes of their keys, then of their texts, each
// written as its key and then its text, every text as its length in UTF-8
// bytes, a colon and the bytes. The order the catalogue lists keys in does
// not count; the spelling of a key does.
QString AircraftDataFingerprint(const QList<IniEntry>& entries);

// The first `digits` hexadecimal digits of a fingerprint, for people.
QString ShortFingerprint(const QString& fingerprint, int digits = 12);

// A text of a canonical form: "5:Pilot".
QByteArray CanonicalText(const QString& text);

// A key whose text differs between two entries of the same aircraft: in one
// and not the other (its text there null), or with other texts.
struct AircraftDataChange
{
    QString key;
    QString saved;   // null: not in the saved entry
    QString current; // null: not in the catalogue's entry now
};

// What changed in one key, for people: "saved '767;80', now '768;80'".
QString AircraftDataChangeText(const AircraftDataChange& change);

// Keys are matched as the catalogue's reader matches them (without regard to
// case); texts must be the same to the character. The saved entry's keys in
// their order, then those only the catalogue has now.
QList<AircraftDataChange> CompareAircraftData(const QList<IniEntry>& saved,
                                              const QList<IniEntry>& current);

// Reads the aircraft from the entries, as the catalogue's reader would: a
// key not there reads as null, as one missing from the catalogue does.
CatalogueValue AircraftDataValue(const QList<IniEntry>& entries);

// The section of `names` (as the selector lists them) that is a saved
// loading's `aircraft`, matched as a read matches a name; empty when none is.
QString SavedAircraftSection(const QStringList& names, const QString& aircraft);
