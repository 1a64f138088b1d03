// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class IniLineReader;

// One key of a catalogue section and the text a read of it gets.
struct IniEntry
{
    QString key; // as the file spells it
    QString value;

    bool operator==(const IniEntry&) const = default;
};

// Every key of the first section named `section` (matched as a read matches
// it), in file order: each key once, from its first line, the one a read
// gets, with the value that read gets. A key line with an empty name is left
// out: no read can name it. Empty when there is no such section.
QList<IniEntry> ReadIniSection(IniLineReader& reader, const QString& section);

// Every section name the selector lists, in file order: as many as fit in
// SectionListBytes, each followed by a zero byte; "[]" is left out.
QStringList ReadIniSectionNames(IniLineReader& reader);
