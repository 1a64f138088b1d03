// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CatalogueSchema.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <array>

// One key line of a section.
struct CatalogueEntry
{
    QString name; // as written, trimmed
    qint64 line = 0;
    CatalogueKey key = CatalogueKey::Unknown;
    int repeats = -1; // index of the earlier entry of the same key, -1 for the first
    // Only for the first entry of a known key:
    QString value;            // what the reader hands on: at most 2047 characters
    qint64 fullChars = 0;     // characters of the whole value before the cut
    qsizetype fullFields = 0; // ";" in the whole value
    bool lineCut = false; // the line ran past what the reader keeps: the counts are lower bounds
};

// A line that looks like a section header but is none: the lines below it
// still belong to the section above.
struct CatalogueFalseHeader
{
    qint64 line = 0;
    bool cutByNul = false; // else it has no closing "]"
    int section = -1;      // the section it lies in, -1 before the first
};

struct CatalogueSection
{
    enum class Kind
    {
        Aircraft, // the first section of its name: what a load reads
        Repeat,   // a later section of a name already seen: never read
        Unnamed,  // "[]": never listed, never read
        Oversized // a name longer than a line keeps: never read, and the list ends
    };
    QString name; // decoded as the selector shows it
    qint64 line = 0;
    Kind kind = Kind::Aircraft;
    bool listed = false;
    int repeats = -1;                           // Repeat: index of the section it repeats
    QList<CatalogueEntry> entries;              // Aircraft only: every key line, in file order
    std::array<int, CatalogueKeyCount> first{}; // entry index of each known key, -1 if missing

    // The first entry of `key`, or nullptr when the section lacks it.
    const CatalogueEntry* Find(CatalogueKey key) const;
};

// A catalogue read in one pass with the reader's rules: its sections, which
// of them the selector lists, and each aircraft's keys as a load reads them.
class CatalogueIndex
{
public:
    explicit CatalogueIndex(const QByteArray& bytes);

    const QList<CatalogueSection>& Sections() const { return m_sections; }
    // Key lines before the first section: never read.
    const QList<CatalogueEntry>& KeysOutside() const { return m_keysOutside; }
    const QList<CatalogueFalseHeader>& FalseHeaders() const { return m_falseHeaders; }
    // The first section the selector does not list because the list is full,
    // -1 when every named section fits; and the bytes the names before it take.
    int FirstOverflow() const { return m_firstOverflow; }
    qsizetype ListBytesBeforeOverflow() const { return m_listBytes; }
    // The section a load of the selector entry `name` reads, -1 when none.
    int AircraftNamed(const QString& name) const;

private:
    QList<CatalogueSection> m_sections;
    QList<CatalogueEntry> m_keysOutside;
    QList<CatalogueFalseHeader> m_falseHeaders;
    QHash<QString, int> m_aircraftByKey; // IniNameKey of the name -> section
    int m_firstOverflow = -1;
    qsizetype m_listBytes = 0;
};
