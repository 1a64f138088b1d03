// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/DefaultLoadingCheck.h"

#include "core/ArrowSeries.h"
#include "core/Balance.h"
#include "core/MemorySheet.h"
#include "core/NumConv.h"

#include <cmath>

DefaultLoad LoadDefault(const CatalogueSection& section)
{
    DefaultLoad load;
    MemorySheet sheet(firstSlotRow);
    TArrowSeries envelope;
    TArrowSeries loadPath;
    load.outcome = LoadAircraft(
        section.name,
        [&section](CatalogueKey key) {
            const CatalogueEntry* entry = section.Find(key);
            return entry ? entry->value : QString();
        },
        sheet, load.state, envelope, loadPath);
    load.slotCount = sheet.RowCount() - firstSlotRow;
    if (load.outcome.Completed() && load.slotCount > 0)
        load.loading = EvaluateLoading(load.state, loadPath);
    return load;
}

AircraftFindings MarkLoadStop(AircraftFindings& found, const CatalogueSection& section,
                              const LoadOutcome& outcome)
{
    AircraftFindings safetyNet;
    AircraftFinding* stop = nullptr;
    if (!outcome.Completed()) {
        const LoadStep at{outcome.phase, outcome.index, outcome.part};
        for (AircraftFinding& f : found)
            if (f.stop == at) {
                stop = &f;
                break;
            }
        if (stop) {
            stop->finding.stopsLoad = true;
        } else {
            // Every stop is foreseen field by field; should one not be, the
            // checker still says what the program will.
            AircraftFinding net = SectionFinding(section, FindingCode::NotANumber,
                                                 QStringLiteral("the default loading cannot be "
                                                                "computed"));
            net.finding.boxText = outcome.errorBox;
            net.finding.stopsLoad = true;
            net.finding.message +=
                QStringLiteral("; loading stops here with \"%1\"").arg(outcome.errorBox);
            safetyNet << net;
        }
    }
    for (AircraftFinding& f : found) {
        if (!f.stop)
            continue;
        CatalogueFinding& c = f.finding;
        c.message += &f == stop ? QStringLiteral("; loading stops here with \"%1\"").arg(c.boxText)
                                : QStringLiteral("; were the load to get this far, it would "
                                                 "stop here with \"%1\"")
                                      .arg(c.boxText);
    }
    return safetyNet;
}

AircraftFindings CheckDefaultLoading(const CatalogueSection& section, const DefaultLoad& load,
                                     bool maxWeightUsable)
{
    AircraftFindings findings;
    if (load.slotCount == 0)
        return findings;
    const float w = load.loading.end.weight;
    const float m = load.loading.end.moment;
    if (std::isinf(w))
        findings << KeyFinding(section, section.Find(CatalogueKey::SlotsWeight),
                               CatalogueKey::SlotsWeight, FindingCode::OutOfRange,
                               QStringLiteral("the default total weight is infinite in "
                                              "single precision, as the load path keeps "
                                              "it"));
    if (std::isinf(m))
        findings << KeyFinding(section, section.Find(CatalogueKey::SlotsPos),
                               CatalogueKey::SlotsPos, FindingCode::OutOfRange,
                               QStringLiteral("the default total moment is infinite in "
                                              "single precision, as the load path keeps "
                                              "it"));
    const float maximum = load.state.maxTotalWeight;
    if (maxWeightUsable && w > maximum)
        findings << KeyFinding(
            section, section.Find(CatalogueKey::MaxWeight), CatalogueKey::MaxWeight,
            FindingCode::DefaultTotal,
            QStringLiteral("the default loading weighs more than %1: every weight edit would "
                           "show \"%2\"")
                .arg(KeyName(CatalogueKey::MaxWeight), OverweightText(w, maximum)));

    // Limits are inclusive: only a loading off the outline is worth a finding.
    if (load.loading.verdict.fit == EnvelopeVerdict::Fit::Outside)
        findings << SectionFinding(section, FindingCode::DefaultOutsideEnvelope,
                                   QStringLiteral("the default loading (moment %1, weight %2) "
                                                  "lies outside the envelope")
                                       .arg(FloatToStr(m), FloatToStr(w)));
    return findings;
}
