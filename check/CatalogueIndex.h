// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/CatalogueSchema.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <vector>

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
    qint64 offset = 0;  // where its header line begins in the file, in bytes
    qint64 end = 0;     // where the next header begins (or the file ends), once the section ended
    qint64 endLine = 0; // the next header's line (or one past the last), once the section ended
    Kind kind = Kind::Aircraft;
    bool listed = false;
    // The first section the selector no longer lists because the list is full.
    bool overflows = false;
    // Aircraft: its own entry in the index's names; Repeat: that of the section it repeats.
    int record = -1;
    // Repeat: the name and line of the section it repeats.
    QString firstName;
    qint64 firstLine = 0;
    // Aircraft only: every key line, in file order, but for the key lines that
    // are unknown or repeat a key beyond the first MaxLooseEntries: those are
    // only counted, so that one section of millions of lines stays small.
    QList<CatalogueEntry> entries;
    qint64 looseEntries = 0;      // unknown or repeated key lines, listed or not
    qint64 firstUnlistedLine = 0; // the first of them not in `entries`, 0 for none
    QString firstUnlistedName;
    std::array<int, CatalogueKeyCount> first{}; // entry index of each known key, -1 if missing

    // The first entry of `key`, or nullptr when the section lacks it.
    const CatalogueEntry* Find(CatalogueKey key) const;
};

// Unknown or repeated key lines of one section kept one by one.
constexpr qint64 MaxLooseEntries = 1000;

// A catalogue read in one pass with the reader's rules: its sections, which
// of them the selector lists, and each aircraft's keys as a load reads them.
// It hands each section on as soon as it ends and keeps of it only what a
// file-wide look needs: its name's place in the file, for repeats to be
// recognised (about 20 bytes per name besides the file itself), and the
// bytes the selector's list takes.
class CatalogueIndex
{
public:
    // What the index finds, handed on in file order.
    class Visitor
    {
    public:
        virtual ~Visitor() = default;
        // A key line before the first section: never read.
        virtual void KeyOutside(const CatalogueEntry& entry) = 0;
        virtual void FalseHeader(const CatalogueFalseHeader& header) = 0;
        // A header has been read; its section's lines follow.
        virtual void SectionBegins(const CatalogueSection& section) = 0;
        // The section ended (at the next header or the end of the file); an
        // aircraft's with its key lines.
        virtual void SectionEnds(const CatalogueSection& section) = 0;
    };

    // `bytes` are shared, not copied, and must outlive the index.
    explicit CatalogueIndex(const QByteArray& bytes);

    // Reads the whole file once.
    void Read(Visitor& visitor);

    // Bytes the names before the first overflowing section take in the list.
    qsizetype ListBytesBeforeOverflow() const { return m_listBytes; }
    // Entries the selector lists, repeated names among them.
    qint64 ListedCount() const { return m_listed; }
    // Named sections (oversized ones among them) below the header of `section`:
    // read again from there, so asked only once.
    qint64 NamedSectionsAfter(const CatalogueSection& section) const;

    // Keeps where the aircraft `section` (ended) lies, so that KeptFor() can
    // read it again for a later section that repeats its name. Meant for
    // listed sections only: at most as many as the selector's list holds.
    void Keep(const CatalogueSection& section);
    // The kept aircraft whose name `repeat` repeats, read again; nullptr when
    // it was not kept.
    const CatalogueSection* KeptFor(const CatalogueSection& repeat);

private:
    struct Record
    {
        quint32 hash;
        quint32 line;
        quint32 offset;
    };
    // The index of the record of the name, -1 when it is new (and then added).
    int FindOrAdd(const QString& name, qint64 line, qint64 offset);
    QString NameAt(qint64 offset) const;
    CatalogueSection ReadSection(qint64 offset, qint64 end) const;

    const QByteArray& m_bytes;
    std::vector<Record> m_records;            // the first section of each name, in file order
    std::vector<quint32> m_slots;             // open addressing: record index + 1, 0 when free
    QHash<int, QPair<qint64, qint64>> m_kept; // record -> where its section begins and ends
    int m_keptRecord = -1;
    CatalogueSection m_keptSection; // the last one read again
    qsizetype m_listBytes = 0;
    qint64 m_listed = 0;
};
