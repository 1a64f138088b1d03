// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/AircraftCheck.h"
#include "check/CatalogueFinding.h"
#include "check/FindingSink.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// Checks a catalogue as the program reads it: the same INI syntax, integer
// rule, list fields, number conversion and decimal separator (the current
// one, DecimalSeparator()), in one reading of the bytes. Each section is
// checked when it ends and its findings handed to `sink` at once, in file
// order, then dropped: memory stays bounded by the largest section, besides
// the bytes and about 20 bytes per section name.
CheckCounts CheckCatalogue(const QByteArray& bytes, FindingSink& sink);

// A catalogue's whole check held in memory, for those that look at it all
// at once (tests, fuzzing); trx-check streams with CheckCatalogue instead.
class CatalogueCheck : public FindingSink
{
public:
    explicit CatalogueCheck(const QByteArray& bytes);

    // In file order.
    const QList<CatalogueFinding>& Findings() const { return m_findings; }
    // The aircraft checked: the first section of each name, in file order.
    const QList<AircraftSummary>& Aircraft() const { return m_aircraft; }
    int Errors() const { return int(m_counts.errors); }
    int Warnings() const { return int(m_counts.warnings); }
    // What a load of the selector entry `name` reads, nullptr when no section
    // has that name.
    const AircraftSummary* AircraftNamed(const QString& name) const;

    void Finding(const CatalogueFinding& finding) override;
    void Aircraft(const AircraftSummary& aircraft) override;

private:
    QList<CatalogueFinding> m_findings;
    QList<AircraftSummary> m_aircraft;
    QHash<QString, qsizetype> m_aircraftByKey; // IniNameKey of the name -> m_aircraft index
    CheckCounts m_counts;
};
