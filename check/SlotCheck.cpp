// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/SlotCheck.h"

#include "check/FindingText.h"
#include "check/ListCheck.h"
#include "core/Exceptions.h"
#include "core/NumConv.h"

#include <cmath>
#include <vector>

namespace {

// Slot numbers named in one finding before the rest are only counted.
constexpr int MaxSlotsNamed = 10;

// The dialog's slot check: the weight against the sheet's maximum-weight text,
// the field rounded to double and written with 15 digits. Only a weight within
// that rounding of the maximum needs the text itself.
bool OverMaximum(Extended weight, Extended maximum)
{
    const double rounded = static_cast<double>(maximum);
    if (!std::isfinite(rounded))
        return false; // "INF" in the sheet: out-of-range says so
    const double margin = std::fabs(rounded) * 1e-13;
    if (weight < Extended(rounded - margin))
        return false;
    if (weight > Extended(rounded + margin))
        return true;
    Extended shown = 0;
    return TryStrToFloat(FloatToStr(rounded), shown) && weight > shown;
}

// The slots' lists once their count is known to be usable.
class SlotLists
{
public:
    SlotLists(const CatalogueSection& section, const CountValue& count)
        : m_section(section), m_phrase(CountPhrase(count)),
          m_names(section, CatalogueKey::SlotsNames, count.value, false),
          m_maxWeights(section, CatalogueKey::SlotsMaxWeight, count.value, true),
          m_minPos(section, CatalogueKey::SlotsMinPos, count.value, true),
          m_maxPos(section, CatalogueKey::SlotsMaxPos, count.value, true),
          m_weights(section, CatalogueKey::SlotsWeight, count.value, true),
          m_positions(section, CatalogueKey::SlotsPos, count.value, true), m_slots(count.value)
    {
    }

    AircraftFindings Check() const
    {
        AircraftFindings found = CheckNames();
        found += CheckList(m_section, m_maxWeights, m_phrase, LoadPhase::SlotFields, 0);
        found += CheckList(m_section, m_minPos, m_phrase, LoadPhase::SlotFields, 1);
        found += CheckList(m_section, m_maxPos, m_phrase, LoadPhase::SlotFields, 2);
        found += CheckList(m_section, m_positions, m_phrase, LoadPhase::TorquePass, 0);
        found += CheckList(m_section, m_weights, m_phrase, LoadPhase::TorquePass, 1);
        found += CheckListRange(m_section, m_maxWeights, Precision::Double,
                                QStringLiteral("the sheet shows it as INF or 0"));
        found += CheckListRange(m_section, m_minPos, Precision::Single, QString());
        found += CheckListRange(m_section, m_maxPos, Precision::Single, QString());
        found += CheckTorques();
        found += CheckDefaults();
        return found;
    }

private:
    AircraftFindings CheckNames() const
    {
        AircraftFindings found;
        if (m_names.Short()) {
            const QString message =
                m_names.entry ? QStringLiteral("%1 for %2: slot %3 has no name")
                                    .arg(Plural(m_names.fields.size(), QStringLiteral("name"),
                                                QStringLiteral("names")),
                                         m_phrase, QString::number(m_names.fields.size() + 1))
                              : QStringLiteral("missing: the %1 have no names").arg(m_phrase);
            found << KeyFinding(m_section, m_names.entry, m_names.key, FindingCode::NamesShort,
                                message);
        }
        found += CheckListLength(m_section, m_names, m_phrase);
        return found;
    }

    // The torque pass writes position × weight, rounded to double; the load
    // path then reads it back, and "INF" is no number.
    AircraftFindings CheckTorques() const
    {
        int firstInfinite = -1;
        int infinite = 0;
        for (int i = 0; i < m_slots; ++i) {
            if (!m_positions.Good(i) || !m_weights.Good(i))
                continue;
            if (std::isinf(static_cast<double>(m_positions.values[i] * m_weights.values[i])) &&
                infinite++ == 0)
                firstInfinite = i;
        }
        if (firstInfinite < 0)
            return {};
        const int i = firstInfinite;
        const QString torque =
            FloatToStr(static_cast<double>(m_positions.values[i] * m_weights.values[i]));
        QString message = QStringLiteral("%1: position × weight (%2 × %3) is beyond the "
                                         "range of a number, so its torque reads \"%4\"")
                              .arg(SlotName(i), Excerpt(m_positions.fields[i]),
                                   Excerpt(m_weights.fields[i]), torque);
        if (infinite > 1)
            message += QStringLiteral(" (so do %1 more slots)").arg(infinite - 1);
        return {StopFinding(m_section, m_positions.entry, CatalogueKey::SlotsPos,
                            FindingCode::NotANumber, message, ConversionBox(torque),
                            {LoadPhase::LoadPath, i, 0})};
    }

    // Each slot's limits, and its default loading against them.
    AircraftFindings CheckDefaults() const
    {
        std::vector<int> crossed;
        std::vector<int> outside;
        std::vector<int> heavy;
        for (int i = 0; i < m_slots; ++i) {
            // Limits as written: the program keeps them in single precision, so
            // that a position at a limit single precision cannot hold (0.95) may
            // read as outside it, whatever the author writes.
            const bool limits = m_minPos.Good(i) && m_maxPos.Good(i);
            if (limits && m_minPos.values[i] > m_maxPos.values[i])
                crossed.push_back(i);
            if (limits && m_positions.Good(i)) {
                const Extended p = m_positions.values[i];
                if (p < m_minPos.values[i] || p > m_maxPos.values[i])
                    outside.push_back(i);
            }
            if (m_weights.Good(i) && m_maxWeights.Good(i) &&
                OverMaximum(m_weights.values[i], m_maxWeights.values[i]))
                heavy.push_back(i);
        }
        AircraftFindings found =
            PerSlot(m_minPos, crossed, FindingCode::PositionLimits, [&](int i) {
                return QStringLiteral("%1: minimum position %2 is above its maximum %3")
                    .arg(SlotName(i), Excerpt(m_minPos.fields[i]), Excerpt(m_maxPos.fields[i]));
            });
        found += PerSlot(m_positions, outside, FindingCode::DefaultPosition, [&](int i) {
            return QStringLiteral("%1: position %2 lies outside its limits %3 to %4, where the "
                                  "dialog says \"Impossible position!\"")
                .arg(SlotName(i), Excerpt(m_positions.fields[i]), Excerpt(m_minPos.fields[i]),
                     Excerpt(m_maxPos.fields[i]));
        });
        found += PerSlot(m_weights, heavy, FindingCode::DefaultWeight, [&](int i) {
            return QStringLiteral("%1: weight %2 is over its maximum %3, where the dialog says "
                                  "\"Overweight in some positions!\"")
                .arg(SlotName(i), Excerpt(m_weights.fields[i]), Excerpt(m_maxWeights.fields[i]));
        });
        return found;
    }

    QString SlotName(int i) const
    {
        const QString name = m_names.fields.value(i);
        return name.isEmpty() ? QStringLiteral("slot %1").arg(i + 1)
                              : QStringLiteral("slot %1 (%2)").arg(i + 1).arg(Excerpt(name));
    }

    // One finding for every slot in `picked`: the first described, the others
    // counted.
    template <typename Describe>
    AircraftFindings PerSlot(const CountedList& list, const std::vector<int>& picked,
                             FindingCode code, Describe describe) const
    {
        if (picked.empty())
            return {};
        QString message = describe(picked.front());
        if (picked.size() > 1) {
            QStringList others;
            for (size_t k = 1; k < picked.size() && k <= MaxSlotsNamed; ++k)
                others << QString::number(picked[k] + 1);
            message += QStringLiteral(" (also slot%1 %2")
                           .arg(picked.size() > 2 ? QStringLiteral("s") : QString(),
                                others.join(QStringLiteral(", ")));
            if (picked.size() - 1 > MaxSlotsNamed)
                message += QStringLiteral(" and %1 more").arg(picked.size() - 1 - MaxSlotsNamed);
            message += u')';
        }
        return {KeyFinding(m_section, list.entry, list.key, code, message)};
    }

    const CatalogueSection& m_section;
    const QString m_phrase;
    const CountedList m_names;
    const CountedList m_maxWeights;
    const CountedList m_minPos;
    const CountedList m_maxPos;
    const CountedList m_weights;
    const CountedList m_positions;
    const int m_slots;
};

// no-slots: a count that gives the aircraft no slots.
AircraftFindings CheckNoSlots(const CatalogueSection& section, const CountValue& count)
{
    if (count.read > 0)
        return {};
    QString message;
    if (!count.entry)
        message = QStringLiteral("missing: the aircraft has no slots");
    else if (!count.parsed)
        message = QStringLiteral("%1 is not an integer: read as 0, no slots")
                      .arg(Quoted(count.entry->value));
    else if (count.read == 0)
        message = QStringLiteral("is 0: the aircraft has no slots");
    else
        message = QStringLiteral("is %1: read as 0, no slots").arg(count.read);
    return {KeyFinding(section, count.entry, CatalogueKey::Slots, FindingCode::NoSlots, message)};
}

} // namespace

AircraftFindings CheckSlots(const CatalogueSection& section)
{
    const CountValue count = ReadCount(section, CatalogueKey::Slots);
    AircraftFindings found = CheckNoSlots(section, count);
    if (count.value > MaxListCount)
        found << StopFinding(
            section, count.entry, CatalogueKey::Slots, FindingCode::CountTooLarge,
            QStringLiteral("%1 slots, but a list holds at most %2 fields")
                .arg(count.value)
                .arg(MaxListCount),
            ErrorBoxText(CountRefusalText(section.name, CatalogueKey::Slots, count.value)),
            {LoadPhase::SlotCount, 0, 0});
    else if (count.value > 0)
        found += SlotLists(section, count).Check();
    return found;
}
