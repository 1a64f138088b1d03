// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "loading/SavedLoading.h"

#include <QByteArray>
#include <QString>

// The file a loading is saved in: JSON that fits loading.schema.json.

// A loading file holds one aircraft's entry and a command line's changes: a
// few kilobytes (an entry's texts are at most 2047 characters each). A
// larger file than this is refused unread, and none larger is written.
constexpr qint64 MaxLoadingFileBytes = 1024 * 1024;

// What reading a loading file found wrong, worst first.
enum class LoadingFault
{
    None,
    Unreadable,  // cannot be opened or read, or is too large
    NotJson,     // not one strict JSON value
    NewerFormat, // format_version later than LoadingFormatVersion
    Schema,      // does not fit the schema, or what it holds does not make sense
    Fingerprint  // sound, but the aircraft data's fingerprint is not its entries'
};

struct LoadingRead
{
    LoadingFault fault = LoadingFault::None;
    QString why; // empty when there is no fault
    // Filled when the fault is None or Fingerprint.
    SavedLoading loading;

    bool Usable() const { return fault == LoadingFault::None; }
};

// Reads a loading from its file's bytes: strict JSON, then its
// format_version, then the schema, then what the schema cannot say (the
// time's form, keys given twice, the fingerprint's digits and value).
LoadingRead ReadLoadingBytes(const QByteArray& bytes);
// The same for a file, in the file system's bytes; a FIFO or device is
// refused, not waited on.
LoadingRead ReadLoadingFile(const QByteArray& path);

// True when the bytes look like a loading file rather than a catalogue: the
// first thing in them, after blanks, is "{" (no catalogue line starts so).
bool LooksLikeLoadingFile(const QByteArray& bytes);

// The file's bytes: indented JSON, fields in alphabetical order, ending in a
// line feed. ReadLoadingBytes gives the loading back.
QByteArray LoadingFileBytes(const SavedLoading& loading);

// The loading's fingerprint: SHA-256, in lower-case hexadecimal, of its
// canonical form (the schema's description), which leaves out when it was
// made and takes the aircraft data through its fingerprint.
QString LoadingFingerprint(const SavedLoading& loading);

// A time as a loading file writes it, in UTC: "2026-12-09T05:31:40Z".
QString LoadingTimeText(const QDateTime& when);

// "weight", "arm", "fuel".
QString ChangeKindName(SavedChange::Kind kind);
// Splits a fuel amount as given into its number and its unit: "weight", "L"
// or "gal", the suffixes the amount's reader takes off.
void SplitFuelText(const QString& text, QString& number, QString& unit);
