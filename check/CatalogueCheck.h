// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AircraftCheck.h"
#include "CatalogueFinding.h"
#include "CatalogueIndex.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Checks a catalogue as the program reads it: the same INI syntax, integer
// rule, list fields, number conversion and decimal separator (the current
// one, DecimalSeparator()). Everything is found in one reading of the bytes.
class CatalogueCheck
{
public:
    explicit CatalogueCheck(const QByteArray& bytes);

    // In file order.
    const QList<CatalogueFinding>& Findings() const { return m_findings; }
    // The aircraft checked: the first section of each name, in file order.
    const QList<AircraftSummary>& Aircraft() const { return m_aircraft; }
    int Errors() const { return m_errors; }
    int Warnings() const { return m_warnings; }
    // What a load of the selector entry `name` reads, nullptr when no section
    // has that name.
    const AircraftSummary* AircraftNamed(const QString& name) const;

private:
    CatalogueIndex m_index;
    QList<CatalogueFinding> m_findings;
    QList<AircraftSummary> m_aircraft;
    QList<int> m_summaryOfSection; // section index -> m_aircraft index, -1 if none
    int m_errors = 0;
    int m_warnings = 0;
};
