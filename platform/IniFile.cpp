// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IniFile.h"

#include "core/IniSyntax.h"
#include "core/RegularFile.h"

TIniFile::TIniFile(QString fileName) : m_fileName(std::move(fileName)) {}

void TIniFile::ReadSections(QStringList& sections) const
{
    RegularFile file(m_fileName);
    IniLineReader reader(file);
    sections = ReadIniSectionNames(reader);
}

QList<IniEntry> TIniFile::ReadSectionEntries(const QString& section) const
{
    RegularFile file(m_fileName);
    IniLineReader reader(file);
    return ReadIniSection(reader, section);
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    if (section.isEmpty())
        return def;
    const IniName wantedSection(section);
    const IniName wantedKey(key);
    RegularFile file(m_fileName);
    IniLineReader reader(file);
    IniLine line;
    bool inSection = false;
    while (reader.Next(line)) {
        const IniParsedLine parsed = ParseIniLine(line, inSection);
        if (parsed.kind == IniLineKind::Section) {
            // Only the first section of a name is read.
            if (inSection)
                return def;
            inSection = !parsed.oversizedName && wantedSection.Matches(parsed.name);
        } else if (parsed.kind == IniLineKind::Key && inSection && wantedKey.Matches(parsed.name)) {
            return IniValueOf(line, parsed.valueStart);
        }
    }
    return def;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    int value = 0;
    if (TryParseProfileInteger(ReadString(section, key, QString()), value))
        return value;
    return def;
}

double TIniFile::ReadFloat(const QString& section, const QString& key, double def) const
{
    double value = 0;
    if (TryParseProfileFloat(ReadString(section, key, QString()), value))
        return value;
    return def;
}
