// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/AircraftCheck.h"
#include "check/CatalogueFinding.h"

// Counts of what a check found.
struct CheckCounts
{
    qint64 aircraft = 0;
    qint64 errors = 0;
    qint64 warnings = 0;

    CheckCounts& operator+=(const CheckCounts& other)
    {
        aircraft += other.aircraft;
        errors += other.errors;
        warnings += other.warnings;
        return *this;
    }
};

// Where the check hands what it finds, as it finds it: the check knows no
// output format, and keeps nothing of an aircraft once it is handed on.
class FindingSink
{
public:
    virtual ~FindingSink() = default;
    // In file order.
    virtual void Finding(const CatalogueFinding& finding) = 0;
    // Each aircraft checked, after its findings.
    virtual void Aircraft(const AircraftSummary& aircraft) = 0;
    // A section is done: what was handed on so far can be passed on.
    virtual void SectionDone() {}
};
