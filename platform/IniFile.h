// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/IniSection.h"

#include <QList>
#include <QString>
#include <QStringList>

// Read-only access to one INI file, bound to its name. Every read goes to the
// file; nothing is cached. A missing or unreadable file, or one that is not a
// regular file, reads as empty. The syntax is IniSyntax's.
class TIniFile
{
public:
    explicit TIniFile(QString fileName);

    // Empties `sections` and appends every section name in file order (as many
    // as fit in 16384 bytes, each name followed by a zero byte).
    void ReadSections(QStringList& sections) const;
    // At most 2047 characters of the value; `def` when section or key is missing.
    // Every key of the section and its value as ReadString gives it, in file
    // order (ReadIniSection); empty when there is no such section.
    QList<IniEntry> ReadSectionEntries(const QString& section) const;
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // The integer rule; `def` for anything else.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // Empty value: `def`; otherwise StrToFloat rounded to double, `def` when it fails.
    double ReadFloat(const QString& section, const QString& key, double def) const;

private:
    QString m_fileName;
};
