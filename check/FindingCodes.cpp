// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/FindingCodes.h"

namespace {

constexpr FindingSeverity Error = FindingSeverity::Error;
constexpr FindingSeverity Warning = FindingSeverity::Warning;

// The only place the codes are spelled.
constexpr FindingCodeInfo Codes[FindingCodeCount] = {
    {FindingCode::CountTooLarge, "count-too-large", Error},
    {FindingCode::ListShort, "list-short", Error},
    {FindingCode::NotANumber, "not-a-number", Error},
    {FindingCode::OutOfRange, "out-of-range", Error},
    {FindingCode::NotText, "not-text", Error},
    {FindingCode::NoAircraft, "no-aircraft", Error},
    {FindingCode::DuplicateSectionStops, "duplicate-section-stops", Error},
    {FindingCode::WeightLimit, "weight-limit", Error},
    {FindingCode::LimitOrder, "limit-order", Error},
    {FindingCode::FuelSlots, "fuel-slots", Error},
    {FindingCode::FuelDensity, "fuel-density", Error},
    {FindingCode::LoadingSchema, "loading-schema", Error},
    {FindingCode::LoadingFingerprint, "loading-fingerprint", Error},
    {FindingCode::LoadingAircraft, "loading-aircraft", Error},
    {FindingCode::LoadingDataChanged, "loading-data-changed", Error},
    {FindingCode::ValueCut, "value-cut", Warning},
    {FindingCode::ListLong, "list-long", Warning},
    {FindingCode::NamesShort, "names-short", Warning},
    {FindingCode::EnvelopeOpen, "envelope-open", Warning},
    {FindingCode::EnvelopeDegenerate, "envelope-degenerate", Warning},
    {FindingCode::EnvelopeSelfIntersecting, "envelope-self-intersecting", Warning},
    {FindingCode::PositionLimits, "position-limits", Warning},
    {FindingCode::DefaultPosition, "default-position", Warning},
    {FindingCode::DefaultWeight, "default-weight", Warning},
    {FindingCode::DefaultTotal, "default-total", Warning},
    {FindingCode::DefaultOutsideEnvelope, "default-outside-envelope", Warning},
    {FindingCode::MaxWeight, "max-weight", Warning},
    {FindingCode::Unit, "unit", Warning},
    {FindingCode::UnknownKey, "unknown-key", Warning},
    {FindingCode::DuplicateSection, "duplicate-section", Warning},
    {FindingCode::DuplicateKey, "duplicate-key", Warning},
    {FindingCode::NoSlots, "no-slots", Warning},
    {FindingCode::Unlisted, "unlisted", Warning},
};

constexpr bool InEnumOrder()
{
    for (int k = 0; k < FindingCodeCount; ++k)
        if (static_cast<int>(Codes[k].code) != k)
            return false;
    return true;
}
static_assert(InEnumOrder(), "the table lists the codes in the order of FindingCode");

} // namespace

const FindingCodeInfo& InfoOf(FindingCode code)
{
    return Codes[static_cast<int>(code)];
}

QString CodeName(FindingCode code)
{
    return QLatin1String(InfoOf(code).name);
}

FindingSeverity SeverityOf(FindingCode code)
{
    return InfoOf(code).severity;
}
