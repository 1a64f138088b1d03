// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/CatalogueFinding.h"

#include <QString>

// Everything the checker can say, each code with its severity, written once
// for the checks that find them and the writers that print them. The man
// page's CODES section explains each; tst_FindingCodes keeps the two alike.
enum class FindingCode
{
    // Errors
    CountTooLarge,
    ListShort,
    NotANumber,
    OutOfRange,
    NotText,
    NoAircraft,
    DuplicateSectionStops,
    WeightLimit,
    LimitOrder,
    FuelSlots,
    FuelDensity,
    LoadingSchema,
    LoadingFingerprint,
    LoadingAircraft,
    LoadingDataChanged,
    // Warnings
    ValueCut,
    ListLong,
    NamesShort,
    EnvelopeOpen,
    EnvelopeDegenerate,
    EnvelopeSelfIntersecting,
    PositionLimits,
    DefaultPosition,
    DefaultWeight,
    DefaultTotal,
    DefaultOutsideEnvelope,
    MaxWeight,
    Unit,
    UnknownKey,
    DuplicateSection,
    DuplicateKey,
    NoSlots,
    Unlisted
};
constexpr int FindingCodeCount = static_cast<int>(FindingCode::Unlisted) + 1;

struct FindingCodeInfo
{
    FindingCode code;
    const char* name; // as the output writes it: "list-short"
    FindingSeverity severity;
};

// Every code, in the order of FindingCode.
const FindingCodeInfo& InfoOf(FindingCode code);
// "list-short".
QString CodeName(FindingCode code);
FindingSeverity SeverityOf(FindingCode code);
