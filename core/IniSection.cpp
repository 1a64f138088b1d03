// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/IniSection.h"

#include "core/IniSyntax.h"

#include <QSet>

QList<IniEntry> ReadIniSection(IniLineReader& reader, const QString& section)
{
    QList<IniEntry> entries;
    if (section.isEmpty())
        return entries;
    const IniName wanted(section);
    QSet<QString> seen;
    bool inSection = false;
    IniLine line;
    while (reader.Next(line)) {
        const IniParsedLine parsed = ParseIniLine(line, inSection);
        if (parsed.kind == IniLineKind::Section) {
            // As a read: only the first section of a name counts.
            if (inSection)
                break;
            inSection = !parsed.oversizedName && wanted.Matches(parsed.name);
        } else if (parsed.kind == IniLineKind::Key && inSection && !parsed.name.isEmpty()) {
            const QString key = QString::fromUtf8(parsed.name);
            if (!seen.contains(IniNameKey(key))) {
                seen.insert(IniNameKey(key));
                entries.append(IniEntry{key, IniValueOf(line, parsed.valueStart)});
            }
        }
    }
    return entries;
}

QStringList ReadIniSectionNames(IniLineReader& reader)
{
    QStringList sections;
    IniSectionList list;
    IniLine line;
    while (reader.Next(line)) {
        const IniParsedLine parsed = ParseIniLine(line, false);
        if (parsed.kind != IniLineKind::Section)
            continue;
        switch (list.Add(parsed)) {
        case IniSectionList::Entry::Listed:
            sections.append(QString::fromUtf8(parsed.name));
            break;
        case IniSectionList::Entry::Unnamed:
            break;
        case IniSectionList::Entry::Full:
            return sections;
        }
    }
    return sections;
}
