// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/CatalogueIndex.h"

#include "core/IniSyntax.h"

#include <cstring>
#include <limits>

namespace {

// A line and an offset in the file fit a record's 32 bits.
static_assert(MaxIniFileBytes < std::numeric_limits<quint32>::max());

// The value and what the reader's cut leaves of it.
void ReadValue(CatalogueEntry& entry, const IniLine& line, qsizetype valueStart)
{
    entry.value = IniValueOf(line, valueStart);
    const IniValueSpan span = IniValueSpanOf(line, valueStart);
    const QByteArrayView whole(line.head.constData() + span.from, span.to - span.from);
    entry.lineCut = span.droppedTail;
    entry.fullFields = whole.count(';');
    entry.fullChars = QString::fromUtf8(whole).size();
}

quint32 HashOf(const QString& key)
{
    return quint32(qHash(key));
}

// The bytes from `offset` up to the end of `bytes`, shared.
QByteArray From(const QByteArray& bytes, qint64 offset, qint64 end)
{
    return QByteArray::fromRawData(bytes.constData() + offset, end - offset);
}

// Where the line beginning at `offset` ends: its CR or LF, or the end. The
// search looks at a growing window, so that it costs the line's length and
// not the rest of the file.
qint64 LineEnd(const QByteArray& bytes, qint64 offset)
{
    const char* base = bytes.constData();
    for (qint64 window = 256;; window *= 2) {
        const qint64 to = std::min<qint64>(bytes.size(), offset + window);
        const void* lf = std::memchr(base + offset, '\n', size_t(to - offset));
        const qint64 lfAt = lf ? static_cast<const char*>(lf) - base : to;
        const void* cr = std::memchr(base + offset, '\r', size_t(lfAt - offset));
        const qint64 end = cr ? static_cast<const char*>(cr) - base : lfAt;
        if (end < to || to == bytes.size())
            return end;
    }
}

} // namespace

const CatalogueEntry* CatalogueSection::Find(CatalogueKey key) const
{
    const int k = static_cast<int>(key);
    if (k < 0 || k >= CatalogueKeyCount || first[k] < 0)
        return nullptr;
    return &entries[first[k]];
}

CatalogueIndex::CatalogueIndex(const QByteArray& bytes) : m_bytes(bytes) {}

void CatalogueIndex::Read(Visitor& visitor)
{
    IniLineReader reader(m_bytes);
    IniSectionList list;
    IniLine line;
    CatalogueSection section;
    bool inSection = false;
    auto end = [&](qint64 at, qint64 atLine) {
        if (!inSection)
            return;
        section.end = at;
        section.endLine = atLine;
        visitor.SectionEnds(section);
    };
    while (reader.Next(line)) {
        const IniParsedLine parsed = ParseIniLine(line, true);
        if (parsed.kind == IniLineKind::Section) {
            end(line.offset, line.number);
            section = CatalogueSection();
            inSection = true;
            section.line = line.number;
            section.offset = line.offset;
            section.first.fill(-1);
            const IniSectionList::Entry entry = list.Add(parsed);
            section.listed = entry == IniSectionList::Entry::Listed;
            m_listed += section.listed;
            if (entry == IniSectionList::Entry::Full && m_listBytes == 0) {
                section.overflows = true;
                m_listBytes = list.UsedBytes();
            }
            if (parsed.oversizedName) {
                section.kind = CatalogueSection::Kind::Oversized;
            } else {
                section.name = QString::fromUtf8(parsed.name);
                if (section.name.isEmpty()) {
                    section.kind = CatalogueSection::Kind::Unnamed;
                } else {
                    section.record = FindOrAdd(section.name, line.number, line.offset);
                    if (section.record < 0) {
                        section.record = int(m_records.size()) - 1;
                    } else {
                        section.kind = CatalogueSection::Kind::Repeat;
                        const Record& first = m_records[size_t(section.record)];
                        section.firstLine = first.line;
                        section.firstName = NameAt(first.offset);
                    }
                }
            }
            visitor.SectionBegins(section);
            continue;
        }
        if (parsed.kind == IniLineKind::Key) {
            CatalogueEntry entry;
            entry.name = QString::fromUtf8(parsed.name);
            entry.line = line.number;
            entry.key = KeyNamed(entry.name);
            if (!inSection) {
                visitor.KeyOutside(entry);
                continue;
            }
            if (section.kind != CatalogueSection::Kind::Aircraft)
                continue;
            if (entry.key != CatalogueKey::Unknown) {
                int& first = section.first[static_cast<int>(entry.key)];
                if (first >= 0)
                    entry.repeats = first;
                else {
                    first = int(section.entries.size());
                    ReadValue(entry, line, parsed.valueStart);
                }
            }
            if (entry.key == CatalogueKey::Unknown || entry.repeats >= 0) {
                if (section.looseEntries++ >= MaxLooseEntries) {
                    if (section.firstUnlistedLine == 0) {
                        section.firstUnlistedLine = entry.line;
                        section.firstUnlistedName = entry.name;
                    }
                    continue;
                }
            }
            section.entries.append(std::move(entry));
            continue;
        }
        // "[" without a "]" kept: a header cut short, or one never closed.
        qsizetype start = 0;
        while (start < line.head.size() && (line.head[start] == ' ' || line.head[start] == '\t'))
            ++start;
        if (start < line.head.size() && line.head[start] == '[')
            visitor.FalseHeader({line.number, line.nul});
    }
    end(std::min<qint64>(m_bytes.size(), MaxIniFileBytes), line.number + 1);
}

qint64 CatalogueIndex::NamedSectionsAfter(const CatalogueSection& section) const
{
    IniLineReader reader(From(m_bytes, section.offset, m_bytes.size()));
    IniLine line;
    reader.Next(line); // its own header
    qint64 named = 0;
    while (reader.Next(line)) {
        const IniParsedLine parsed = ParseIniLine(line, false);
        named += parsed.kind == IniLineKind::Section &&
                 (parsed.oversizedName || !QString::fromUtf8(parsed.name).isEmpty());
    }
    return named;
}

void CatalogueIndex::Keep(const CatalogueSection& section)
{
    m_kept.insert(section.record, {section.offset, section.end});
}

const CatalogueSection* CatalogueIndex::KeptFor(const CatalogueSection& repeat)
{
    const auto kept = m_kept.constFind(repeat.record);
    if (kept == m_kept.cend())
        return nullptr;
    if (m_keptRecord != repeat.record) {
        m_keptSection = ReadSection(kept->first, kept->second);
        m_keptRecord = repeat.record;
    }
    return &m_keptSection;
}

int CatalogueIndex::FindOrAdd(const QString& name, qint64 line, qint64 offset)
{
    const QString key = IniNameKey(name);
    const quint32 hash = HashOf(key);
    // At most half full, so that a search ends soon.
    if ((m_records.size() + 1) * 2 > m_slots.size()) {
        std::vector<quint32> table(std::max<size_t>(1024, m_slots.size() * 2), 0);
        const size_t mask = table.size() - 1;
        for (size_t r = 0; r < m_records.size(); ++r) {
            size_t i = m_records[r].hash & mask;
            while (table[i] != 0)
                i = (i + 1) & mask;
            table[i] = quint32(r + 1);
        }
        m_slots.swap(table);
    }
    const size_t mask = m_slots.size() - 1;
    size_t i = hash & mask;
    for (; m_slots[i] != 0; i = (i + 1) & mask) {
        const int r = int(m_slots[i]) - 1;
        // The name is read again from the file only when the hashes agree.
        if (m_records[size_t(r)].hash == hash &&
            IniNameKey(NameAt(m_records[size_t(r)].offset)) == key)
            return r;
    }
    m_records.push_back({hash, quint32(line), quint32(offset)});
    m_slots[i] = quint32(m_records.size());
    return -1;
}

QString CatalogueIndex::NameAt(qint64 offset) const
{
    IniLineReader reader(From(m_bytes, offset, LineEnd(m_bytes, offset)));
    IniLine line;
    reader.Next(line);
    return QString::fromUtf8(ParseIniLine(line, false).name);
}

CatalogueSection CatalogueIndex::ReadSection(qint64 offset, qint64 end) const
{
    // The section alone, as a catalogue of its own: its entries come out the same.
    struct Collect : Visitor
    {
        CatalogueSection section;
        void KeyOutside(const CatalogueEntry&) override {}
        void FalseHeader(const CatalogueFalseHeader&) override {}
        void SectionBegins(const CatalogueSection&) override {}
        void SectionEnds(const CatalogueSection& s) override
        {
            if (section.line == 0)
                section = s;
        }
    } collect;
    const QByteArray bytes = From(m_bytes, offset, end);
    CatalogueIndex(bytes).Read(collect);
    return collect.section;
}
