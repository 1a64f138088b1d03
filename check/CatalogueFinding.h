// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

enum class FindingSeverity
{
    Error,  // the load stops, or the program shows something plainly wrong
    Warning // the program loads it, but it is almost certainly not what was meant
};

// One thing the catalogue checker has to say about a catalogue.
struct CatalogueFinding
{
    qint64 line = 0; // the key's line, the header's for a whole section, 0 for a missing key
    FindingSeverity severity = FindingSeverity::Warning;
    bool inSection = false;
    QString section;
    QString key; // empty: about the whole section or file
    QString code;
    QString message;
    // Only for the codes that stop a load (count-too-large, list-short,
    // not-a-number): the text of the error box the program shows for it.
    QString boxText;
    // The first of the section's load-stopping findings in load order: the one
    // whose box a load of the section shows.
    bool stopsLoad = false;
    qint64 order = 0; // where it belongs in file order
};
