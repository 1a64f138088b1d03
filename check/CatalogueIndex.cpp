// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogueIndex.h"

#include "IniSyntax.h"

namespace {

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

} // namespace

const CatalogueEntry* CatalogueSection::Find(CatalogueKey key) const
{
    const int k = static_cast<int>(key);
    if (k < 0 || k >= CatalogueKeyCount || first[k] < 0)
        return nullptr;
    return &entries[first[k]];
}

CatalogueIndex::CatalogueIndex(const QByteArray& bytes)
{
    IniLineReader reader(bytes);
    IniSectionList list;
    IniLine line;
    int current = -1;
    while (reader.Next(line)) {
        const IniParsedLine parsed = ParseIniLine(line, true);
        if (parsed.kind == IniLineKind::Section) {
            CatalogueSection section;
            section.line = line.number;
            section.first.fill(-1);
            const IniSectionList::Entry entry = list.Add(parsed);
            section.listed = entry == IniSectionList::Entry::Listed;
            if (entry == IniSectionList::Entry::Full && m_firstOverflow < 0) {
                m_firstOverflow = int(m_sections.size());
                m_listBytes = list.UsedBytes();
            }
            if (parsed.oversizedName) {
                section.kind = CatalogueSection::Kind::Oversized;
            } else {
                section.name = QString::fromUtf8(parsed.name);
                const QString key = IniNameKey(section.name);
                if (section.name.isEmpty()) {
                    section.kind = CatalogueSection::Kind::Unnamed;
                } else if (const auto seen = m_aircraftByKey.constFind(key);
                           seen != m_aircraftByKey.cend()) {
                    section.kind = CatalogueSection::Kind::Repeat;
                    section.repeats = seen.value();
                } else {
                    m_aircraftByKey.insert(key, int(m_sections.size()));
                }
            }
            current = int(m_sections.size());
            m_sections.append(std::move(section));
            continue;
        }
        if (parsed.kind == IniLineKind::Key) {
            CatalogueEntry entry;
            entry.name = QString::fromUtf8(parsed.name);
            entry.line = line.number;
            entry.key = KeyNamed(entry.name);
            if (current < 0) {
                m_keysOutside.append(std::move(entry));
                continue;
            }
            CatalogueSection& section = m_sections[current];
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
            section.entries.append(std::move(entry));
            continue;
        }
        // "[" without a "]" kept: a header cut short, or one never closed.
        qsizetype start = 0;
        while (start < line.head.size() && (line.head[start] == ' ' || line.head[start] == '\t'))
            ++start;
        if (start < line.head.size() && line.head[start] == '[')
            m_falseHeaders.append({line.number, line.nul, current});
    }
}

int CatalogueIndex::AircraftNamed(const QString& name) const
{
    return m_aircraftByKey.value(IniNameKey(name), -1);
}
