// SPDX-License-Identifier: GPL-3.0-or-later
#include "AircraftCheck.h"

#include "ArrowSeries.h"
#include "Balance.h"
#include "EnvelopeShape.h"
#include "Exceptions.h"
#include "FindingText.h"
#include "FloatArray.h"
#include "IniSyntax.h"
#include "ListField.h"
#include "NumConv.h"
#include "TextSheet.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>
#include <vector>

namespace {

// Slot numbers named in one finding before the rest are only counted.
constexpr int MaxSlotsNamed = 10;
// Edit distance up to which an unknown key is taken for a misspelt known one.
constexpr int MaxSpellingDistance = 2;

const QString ErrorCodeCountTooLarge = QStringLiteral("count-too-large");
const QString ErrorCodeListShort = QStringLiteral("list-short");
const QString ErrorCodeNotANumber = QStringLiteral("not-a-number");

// The error box the conversion of `field` raises.
QString ConversionBox(const QString& field)
{
    try {
        StrToFloat(field);
    } catch (const EConvertError& e) {
        return ErrorBoxText(e.Message());
    }
    return QString();
}

// Characters 0 to 32 trimmed, as a list field is.
QString TrimmedField(const QString& text)
{
    return ListFields(text + u';').value(0);
}

int EditDistance(const QString& a, const QString& b)
{
    std::vector<int> row(static_cast<size_t>(b.size()) + 1);
    for (size_t j = 0; j < row.size(); ++j)
        row[j] = static_cast<int>(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[static_cast<size_t>(j)];
            row[static_cast<size_t>(j)] = std::min({above + 1, row[static_cast<size_t>(j - 1)] + 1,
                                                    diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

// The known key an unknown name most likely means, empty when none is close.
QString NearestKey(const QString& name)
{
    const QString folded = IniNameKey(name);
    QString best;
    int bestDistance = MaxSpellingDistance + 1;
    for (int k = 0; k < CatalogueKeyCount; ++k) {
        const QString known = KeyName(static_cast<CatalogueKey>(k));
        const int d = EditDistance(folded, IniNameKey(known));
        if (d < bestDistance && d < known.size() / 2) {
            best = known;
            bestDistance = d;
        }
    }
    return best;
}

// A count key read with the integer rule, as the load reads it.
struct Count
{
    const CatalogueEntry* entry = nullptr;
    int read = 0;  // what ReadInteger gives
    int value = 0; // what the load uses: negative reads as 0
    bool parsed = false;
};

Count ReadCount(const CatalogueSection& section, CatalogueKey key, int def)
{
    Count c;
    c.entry = section.Find(key);
    int v = 0;
    c.parsed = c.entry && TryParseProfileInteger(c.entry->value, v);
    c.read = c.parsed ? v : def;
    c.value = std::max(0, c.read);
    return c;
}

// Where a count that is not plainly given comes from: "EnvelopePoints is
// missing, so 1"; empty when it is given as it is used.
QString CountNote(const Count& c, CatalogueKey which)
{
    const QString key =
        which == CatalogueKey::Slots ? QStringLiteral("Slots") : QStringLiteral("EnvelopePoints");
    if (!c.entry)
        return QStringLiteral("%1 is missing, so %2").arg(key).arg(c.value);
    if (!c.parsed)
        return QStringLiteral("%1 %2 is not an integer, so %3")
            .arg(key, Quoted(c.entry->value), QString::number(c.value));
    if (c.read < 0)
        return QStringLiteral("%1 is %2, read as 0").arg(key).arg(c.read);
    return QString();
}

// "4 slots", "1 envelope point (EnvelopePoints is missing, so 1)".
QString CountPhrase(const Count& c, CatalogueKey which)
{
    QString phrase =
        which == CatalogueKey::Slots
            ? Plural(c.value, QStringLiteral("slot"), QStringLiteral("slots"))
            : Plural(c.value, QStringLiteral("envelope point"), QStringLiteral("envelope points"));
    const QString note = CountNote(c, which);
    if (!note.isEmpty())
        phrase += QStringLiteral(" (") + note + u')';
    return phrase;
}

// Where in a load a field is taken: the load stops at the first failure in
// this order.
enum class Phase
{
    EnvelopeCount,
    SlotCount,
    Envelope,   // vertex by vertex: X, then Y
    SlotFields, // slot by slot: maximum weight, minimum position, maximum position
    TorquePass, // Compute, row by row: position, then weight
    LoadPath,   // Compute reads each torque back
    SafetyNet
};
using LoadStep = std::tuple<Phase, int, int>; // phase, index, order within the index

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

// One list of an aircraft with its fields, checked against its count.
struct List
{
    CatalogueKey key = CatalogueKey::Unknown;
    const CatalogueEntry* entry = nullptr;
    QStringList fields;
    QString tail; // trimmed text after the last ";": no field
    int count = 0;
    std::vector<Extended> values; // fields below the count that convert
    std::vector<char> ok;
    int firstBad = -1;
    int badCount = 0;

    List(const CatalogueSection& section, CatalogueKey k, int n, bool numeric)
        : key(k), entry(section.Find(k)), count(n)
    {
        const QString text = entry ? entry->value : QString();
        fields = ListFields(text);
        tail = TrimmedField(text.mid(text.lastIndexOf(u';') + 1));
        if (!numeric)
            return;
        const int present = std::min<int>(count, int(fields.size()));
        values.assign(static_cast<size_t>(present), 0);
        ok.assign(static_cast<size_t>(present), 0);
        for (int i = 0; i < present; ++i) {
            ok[i] = TryStrToFloat(fields[i], values[i]);
            if (!ok[i] && badCount++ == 0)
                firstBad = i;
        }
    }
    bool Short() const { return fields.size() < count; }
    // The first field a load fails on, -1 when every one converts.
    int FirstFailure() const
    {
        if (firstBad >= 0)
            return firstBad;
        return Short() ? int(fields.size()) : -1;
    }
    bool Complete() const { return FirstFailure() < 0; }
    bool Good(int i) const { return i < int(ok.size()) && ok[i]; }
    QString KeyName() const { return ::KeyName(key); }
};

class AircraftCheck
{
public:
    AircraftCheck(const CatalogueSection& section, QList<CatalogueFinding>& findings)
        : m_section(section), m_findings(findings)
    {
        m_summary.section = section.name;
        m_summary.line = section.line;
        m_summary.listed = section.listed;
    }

    AircraftSummary Run()
    {
        CheckKeys();
        const Count points = ReadCount(m_section, CatalogueKey::EnvelopePoints, 1);
        const Count slotCount = ReadCount(m_section, CatalogueKey::Slots, 0);
        CheckEnvelope(points);
        CheckSlots(slotCount);
        CheckMaxWeight();
        CheckUnit();
        Finish();
        return m_summary;
    }

private:
    CatalogueFinding& Add(FindingSeverity severity, const CatalogueEntry* entry, CatalogueKey key,
                          const QString& code, const QString& message)
    {
        CatalogueFinding f;
        f.severity = severity;
        f.inSection = true;
        f.section = m_section.name;
        f.key = entry ? entry->name : KeyName(key);
        f.line = entry ? entry->line : 0;
        f.order = entry ? entry->line : m_section.line;
        f.code = code;
        f.message = message;
        m_findings.append(f);
        return m_findings.last();
    }
    CatalogueFinding& Add(FindingSeverity severity, const List& list, const QString& code,
                          const QString& message)
    {
        return Add(severity, list.entry, list.key, code, message);
    }
    // A finding about the whole section, at its header.
    CatalogueFinding& AddSectionWide(FindingSeverity severity, const QString& code,
                                     const QString& message)
    {
        CatalogueFinding& f = Add(severity, nullptr, CatalogueKey::Unknown, code, message);
        f.line = m_section.line;
        return f;
    }
    // A finding for something that stops the load with the error box `box`.
    void AddStop(const CatalogueEntry* entry, CatalogueKey key, const QString& code,
                 const QString& message, const QString& box, LoadStep step)
    {
        CatalogueFinding& f = Add(FindingSeverity::Error, entry, key, code, message);
        f.boxText = box;
        m_stops.push_back({step, int(m_findings.size()) - 1});
    }

    void CheckKeys()
    {
        for (const CatalogueEntry& e : m_section.entries) {
            if (e.key == CatalogueKey::Unknown) {
                const QString nearest = NearestKey(e.name);
                QString message = QStringLiteral("TRX never reads this key");
                if (!nearest.isEmpty())
                    message += QStringLiteral("; did you mean %1?").arg(nearest);
                Add(FindingSeverity::Warning, &e, e.key, QStringLiteral("unknown-key"), message);
            } else if (e.repeats >= 0) {
                const CatalogueEntry& first = m_section.entries[e.repeats];
                Add(FindingSeverity::Warning, &e, e.key, QStringLiteral("duplicate-key"),
                    QStringLiteral("repeats %1 of line %2: only the first is read")
                        .arg(first.name, QString::number(first.line)));
            } else if (e.fullChars > MaxValueChars || e.lineCut) {
                CheckCut(e);
            }
        }
    }

    void CheckCut(const CatalogueEntry& e)
    {
        const QString length = e.lineCut ? QStringLiteral("more than %1").arg(e.fullChars)
                                         : QString::number(e.fullChars);
        QString message = QStringLiteral("the value is %1 characters long, but TRX reads only "
                                         "the first %2")
                              .arg(length)
                              .arg(MaxValueChars);
        const bool isList = e.key != CatalogueKey::Make && e.key != CatalogueKey::Model &&
                            e.key != CatalogueKey::Slots && e.key != CatalogueKey::Unit &&
                            e.key != CatalogueKey::MaxWeight &&
                            e.key != CatalogueKey::EnvelopePoints;
        if (isList) {
            const qsizetype kept = e.value.count(u';');
            const QString cutField = TrimmedField(e.value.mid(e.value.lastIndexOf(u';') + 1));
            const QString total = (e.lineCut ? QStringLiteral("at least ") : QString()) +
                                  QString::number(e.fullFields);
            message += QStringLiteral(": the cut falls in field %1").arg(kept + 1);
            if (!cutField.isEmpty())
                message += QStringLiteral(", leaving only %1 of it").arg(Quoted(cutField));
            message += QStringLiteral(", so %1 of its %2 fields remain").arg(kept).arg(total);
        }
        Add(FindingSeverity::Warning, &e, e.key, QStringLiteral("value-cut"), message);
    }

    // list-short, not-a-number and list-long for one list.
    void CheckList(const List& list, const QString& countPhrase, Phase phase, int order)
    {
        if (list.Short()) {
            const int missing = int(list.fields.size());
            QString message;
            if (!list.entry) {
                message = QStringLiteral("missing: there is no field 1 for %1").arg(countPhrase);
            } else {
                message = QStringLiteral("%1 for %2: field %3 is missing")
                              .arg(Plural(list.fields.size(), QStringLiteral("field"),
                                          QStringLiteral("fields")),
                                   countPhrase, QString::number(missing + 1));
                if (list.entry->fullChars > MaxValueChars || list.entry->lineCut)
                    message +=
                        QStringLiteral(" (the value is cut at %1 characters)").arg(MaxValueChars);
                else if (!list.tail.isEmpty())
                    message += QStringLiteral(" (%1 after the last ';' is no field: every field "
                                              "needs its ';')")
                                   .arg(Quoted(list.tail));
            }
            AddStop(list.entry, list.key, ErrorCodeListShort, message, ConversionBox(QString()),
                    {phase, missing, order});
        }
        if (list.firstBad >= 0) {
            const QString& field = list.fields[list.firstBad];
            QString message = field.isEmpty()
                                  ? QStringLiteral("field %1 is empty").arg(list.firstBad + 1)
                                  : QStringLiteral("field %1 %2 is not a number")
                                        .arg(list.firstBad + 1)
                                        .arg(Quoted(field));
            if (list.badCount > 1)
                message += QStringLiteral(" (%1 more of its fields are not numbers either)")
                               .arg(list.badCount - 1);
            AddStop(list.entry, list.key, ErrorCodeNotANumber, message, ConversionBox(field),
                    {phase, list.firstBad, order});
        }
        CheckLong(list, countPhrase);
    }

    void CheckLong(const List& list, const QString& countPhrase)
    {
        if (list.count <= 0)
            return;
        const int extra = int(list.fields.size()) - list.count;
        if (extra > 0) {
            QString message = QStringLiteral("%1 for %2: ")
                                  .arg(Plural(list.fields.size(), QStringLiteral("field"),
                                              QStringLiteral("fields")),
                                       countPhrase);
            message += extra == 1 ? QStringLiteral("field %1 is ignored").arg(list.count + 1)
                                  : QStringLiteral("fields %1 to %2 are ignored")
                                        .arg(list.count + 1)
                                        .arg(list.fields.size());
            Add(FindingSeverity::Warning, list, QStringLiteral("list-long"), message);
        } else if (extra == 0 && !list.tail.isEmpty()) {
            Add(FindingSeverity::Warning, list, QStringLiteral("list-long"),
                QStringLiteral("%1 after the last ';' is no field and is ignored: every field "
                               "needs its ';'")
                    .arg(Quoted(list.tail)));
        }
    }

    // Values that single precision (or double, for `asDouble`) holds as
    // infinity, or as 0 although they are not 0.
    void CheckRange(const List& list, bool asDouble, const QString& consequence)
    {
        int first = -1;
        int count = 0;
        bool infinite = false;
        for (int i = 0; i < int(list.ok.size()); ++i) {
            if (!list.ok[i])
                continue;
            const Extended v = list.values[i];
            const bool inf =
                asDouble ? std::isinf(static_cast<double>(v)) : std::isinf(static_cast<float>(v));
            const bool zero =
                v != 0 && (asDouble ? static_cast<double>(v) == 0 : static_cast<float>(v) == 0);
            if (!inf && !zero)
                continue;
            if (count++ == 0) {
                first = i;
                infinite = inf;
            }
        }
        if (first < 0)
            return;
        const QString precision = asDouble ? QStringLiteral("double") : QStringLiteral("single");
        QString message =
            QStringLiteral("field %1 %2 %3 in %4 precision, as the program keeps it")
                .arg(first + 1)
                .arg(Quoted(list.fields[first]),
                     infinite ? QStringLiteral("is infinite") : QStringLiteral("becomes 0"),
                     precision);
        if (count > 1)
            message += QStringLiteral(" (so do %1 more of its fields)").arg(count - 1);
        if (!consequence.isEmpty())
            message += QStringLiteral(": ") + consequence;
        Add(FindingSeverity::Error, list, QStringLiteral("out-of-range"), message);
    }

    void CheckEnvelope(const Count& points)
    {
        m_points = points.value;
        if (points.value > MaxListCount) {
            AddStop(points.entry, CatalogueKey::EnvelopePoints, ErrorCodeCountTooLarge,
                    QStringLiteral("%1 envelope points, but a list holds at most %2 fields")
                        .arg(points.value)
                        .arg(MaxListCount),
                    ErrorBoxText(CountRefusalText(m_section.name, CatalogueKey::EnvelopePoints,
                                                  points.value)),
                    {Phase::EnvelopeCount, 0, 0});
            return;
        }
        const QString phrase = CountPhrase(points, CatalogueKey::EnvelopePoints);
        const List x(m_section, CatalogueKey::EnvelopeX, points.value, true);
        const List y(m_section, CatalogueKey::EnvelopeY, points.value, true);
        CheckList(x, phrase, Phase::Envelope, 0);
        CheckList(y, phrase, Phase::Envelope, 1);
        CheckRange(x, false, QString());
        CheckRange(y, false, QString());
        if (!x.Complete() || !y.Complete())
            return;

        std::vector<float> xs(static_cast<size_t>(points.value));
        std::vector<float> ys(xs.size());
        for (size_t i = 0; i < xs.size(); ++i) {
            xs[i] = static_cast<float>(x.values[i]);
            ys[i] = static_cast<float>(y.values[i]);
        }
        m_envelopeX = xs;
        m_envelopeY = ys;
        m_envelopeLoaded = true;
        const EnvelopeShape shape(std::move(xs), std::move(ys));
        auto vertex = [&](int i) {
            return QStringLiteral("%1 (%2; %3)")
                .arg(i + 1)
                .arg(Excerpt(x.fields[i]), Excerpt(y.fields[i]));
        };
        const CatalogueEntry* at = x.entry;
        const int n = shape.Vertices();
        bool valid = true;
        const QString countNote = CountNote(points, CatalogueKey::EnvelopePoints);
        if (n == 0) {
            Add(FindingSeverity::Warning, at, CatalogueKey::EnvelopeX,
                QStringLiteral("envelope-degenerate"),
                QStringLiteral("no envelope: %1")
                    .arg(countNote.isEmpty() ? QStringLiteral("EnvelopePoints is 0") : countNote));
            valid = false;
        } else if (n == 1) {
            Add(FindingSeverity::Warning, at, CatalogueKey::EnvelopeX,
                QStringLiteral("envelope-degenerate"),
                QStringLiteral("only one vertex, so no outline is drawn") +
                    (countNote.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(countNote)));
            valid = false;
        } else if (const int distinct = shape.DistinctVertices(); distinct < 3) {
            Add(FindingSeverity::Warning, at, CatalogueKey::EnvelopeX,
                QStringLiteral("envelope-degenerate"),
                QStringLiteral("%1 with only %2 distinct: the outline encloses nothing")
                    .arg(Plural(n, QStringLiteral("vertex"), QStringLiteral("vertices")))
                    .arg(distinct));
            valid = false;
        } else if (shape.ZeroArea()) {
            Add(FindingSeverity::Warning, at, CatalogueKey::EnvelopeX,
                QStringLiteral("envelope-degenerate"),
                QStringLiteral("every vertex lies on one line: the outline encloses nothing"));
            valid = false;
        }
        // Edges of a degenerate outline lie on one another: that is said already.
        const bool degenerate = !valid;
        if (n >= 2 && !shape.Closed()) {
            Add(FindingSeverity::Warning, at, CatalogueKey::EnvelopeX,
                QStringLiteral("envelope-open"),
                QStringLiteral("the last vertex %1 does not repeat the first %2: the outline is "
                               "drawn open")
                    .arg(vertex(n - 1), vertex(0)));
            valid = false;
        }
        int first = 0;
        int second = 0;
        if (!degenerate && n >= 4 && shape.FindCrossing(first, second)) {
            Add(FindingSeverity::Warning, at, CatalogueKey::EnvelopeX,
                QStringLiteral("envelope-self-intersecting"),
                QStringLiteral("the edge from vertex %1 to %2 crosses the edge from vertex %3 to "
                               "%4")
                    .arg(vertex(first), vertex(first + 1), vertex(second), vertex(second + 1)));
            valid = false;
        }
        m_envelopeValid = valid;
    }

    QString SlotName(int i) const
    {
        const QString name = i < m_names.size() ? m_names[i] : QString();
        return name.isEmpty() ? QStringLiteral("slot %1").arg(i + 1)
                              : QStringLiteral("slot %1 (%2)").arg(i + 1).arg(Excerpt(name));
    }

    // One finding for every slot that `bad` picks: the first described, the
    // others counted.
    template <typename Describe>
    void PerSlot(const List& list, const std::vector<int>& picked, const QString& code,
                 Describe describe)
    {
        if (picked.empty())
            return;
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
        Add(FindingSeverity::Warning, list, code, message);
    }

    void CheckSlots(const Count& slotCount)
    {
        if (slotCount.read <= 0) {
            QString message;
            if (!slotCount.entry)
                message = QStringLiteral("missing: the aircraft has no slots");
            else if (!slotCount.parsed)
                message = QStringLiteral("%1 is not an integer: read as 0, no slots")
                              .arg(Quoted(slotCount.entry->value));
            else if (slotCount.read == 0)
                message = QStringLiteral("is 0: the aircraft has no slots");
            else
                message = QStringLiteral("is %1: read as 0, no slots").arg(slotCount.read);
            Add(FindingSeverity::Warning, slotCount.entry, CatalogueKey::Slots,
                QStringLiteral("no-slots"), message);
        }
        m_slots = slotCount.value;
        m_summary.slotCount = slotCount.value;
        if (slotCount.value > MaxListCount) {
            AddStop(slotCount.entry, CatalogueKey::Slots, ErrorCodeCountTooLarge,
                    QStringLiteral("%1 slots, but a list holds at most %2 fields")
                        .arg(slotCount.value)
                        .arg(MaxListCount),
                    ErrorBoxText(
                        CountRefusalText(m_section.name, CatalogueKey::Slots, slotCount.value)),
                    {Phase::SlotCount, 0, 0});
            m_slotsLoaded = false;
            return;
        }
        if (slotCount.value == 0)
            return;
        const int s = slotCount.value;
        const QString phrase = CountPhrase(slotCount, CatalogueKey::Slots);
        const List names(m_section, CatalogueKey::SlotsNames, s, false);
        m_names = names.fields;
        m_maxWeights = std::make_unique<List>(m_section, CatalogueKey::SlotsMaxWeight, s, true);
        m_minPos = std::make_unique<List>(m_section, CatalogueKey::SlotsMinPos, s, true);
        m_maxPos = std::make_unique<List>(m_section, CatalogueKey::SlotsMaxPos, s, true);
        m_weights = std::make_unique<List>(m_section, CatalogueKey::SlotsWeight, s, true);
        m_positions = std::make_unique<List>(m_section, CatalogueKey::SlotsPos, s, true);
        const List& maxW = *m_maxWeights;
        const List& minP = *m_minPos;
        const List& maxP = *m_maxPos;
        const List& weights = *m_weights;
        const List& positions = *m_positions;

        if (names.Short()) {
            const QString message =
                names.entry ? QStringLiteral("%1 for %2: slot %3 has no name")
                                  .arg(Plural(names.fields.size(), QStringLiteral("name"),
                                              QStringLiteral("names")),
                                       phrase, QString::number(names.fields.size() + 1))
                            : QStringLiteral("missing: the %1 have no names").arg(phrase);
            Add(FindingSeverity::Warning, names, QStringLiteral("names-short"), message);
        }
        CheckLong(names, phrase);
        CheckList(maxW, phrase, Phase::SlotFields, 0);
        CheckList(minP, phrase, Phase::SlotFields, 1);
        CheckList(maxP, phrase, Phase::SlotFields, 2);
        CheckList(positions, phrase, Phase::TorquePass, 0);
        CheckList(weights, phrase, Phase::TorquePass, 1);
        CheckRange(maxW, true, QStringLiteral("the sheet shows it as INF or 0"));
        CheckRange(minP, false, QString());
        CheckRange(maxP, false, QString());

        // The torque pass writes position × weight, rounded to double; the load
        // path then reads it back, and "INF" is no number.
        int firstInfinite = -1;
        int infinite = 0;
        for (int i = 0; i < s; ++i) {
            if (!positions.Good(i) || !weights.Good(i))
                continue;
            if (std::isinf(static_cast<double>(positions.values[i] * weights.values[i])) &&
                infinite++ == 0)
                firstInfinite = i;
        }
        if (firstInfinite >= 0) {
            const int i = firstInfinite;
            const QString torque =
                FloatToStr(static_cast<double>(positions.values[i] * weights.values[i]));
            QString message = QStringLiteral("%1: position × weight (%2 × %3) is beyond the "
                                             "range of a number, so its torque reads \"%4\"")
                                  .arg(SlotName(i), Excerpt(positions.fields[i]),
                                       Excerpt(weights.fields[i]), torque);
            if (infinite > 1)
                message += QStringLiteral(" (so do %1 more slots)").arg(infinite - 1);
            AddStop(positions.entry, CatalogueKey::SlotsPos, ErrorCodeNotANumber, message,
                    ConversionBox(torque), {Phase::LoadPath, i, 0});
        }

        std::vector<int> crossed;
        std::vector<int> outside;
        std::vector<int> heavy;
        for (int i = 0; i < s; ++i) {
            // Limits as written: the program keeps them in single precision, so
            // that a position at a limit single precision cannot hold (0.95) may
            // read as outside it, whatever the author writes.
            const bool limits = minP.Good(i) && maxP.Good(i);
            if (limits && minP.values[i] > maxP.values[i])
                crossed.push_back(i);
            if (limits && positions.Good(i)) {
                const Extended p = positions.values[i];
                if (p < minP.values[i] || p > maxP.values[i])
                    outside.push_back(i);
            }
            if (weights.Good(i) && maxW.Good(i) && OverMaximum(weights.values[i], maxW.values[i]))
                heavy.push_back(i);
        }
        PerSlot(minP, crossed, QStringLiteral("position-limits"), [&](int i) {
            return QStringLiteral("%1: minimum position %2 is above its maximum %3")
                .arg(SlotName(i), Excerpt(minP.fields[i]), Excerpt(maxP.fields[i]));
        });
        PerSlot(positions, outside, QStringLiteral("default-position"), [&](int i) {
            return QStringLiteral("%1: position %2 lies outside its limits %3 to %4, where the "
                                  "dialog says \"Impossible position!\"")
                .arg(SlotName(i), Excerpt(positions.fields[i]), Excerpt(minP.fields[i]),
                     Excerpt(maxP.fields[i]));
        });
        PerSlot(weights, heavy, QStringLiteral("default-weight"), [&](int i) {
            return QStringLiteral("%1: weight %2 is over its maximum %3, where the dialog says "
                                  "\"Overweight in some positions!\"")
                .arg(SlotName(i), Excerpt(weights.fields[i]), Excerpt(maxW.fields[i]));
        });
        m_slotsLoaded = true;
    }

    void CheckMaxWeight()
    {
        const CatalogueEntry* entry = m_section.Find(CatalogueKey::MaxWeight);
        const QString text = entry ? entry->value : QString();
        const QString consequence =
            QStringLiteral("the maximum total weight is 0, so every weight edit warns "
                           "\"Overweight\"");
        auto warn = [&](const QString& message) {
            Add(FindingSeverity::Warning, entry, CatalogueKey::MaxWeight,
                QStringLiteral("max-weight"), message);
        };
        auto range = [&](const QString& message) {
            Add(FindingSeverity::Error, entry, CatalogueKey::MaxWeight,
                QStringLiteral("out-of-range"), message);
        };
        Extended raw = 0;
        double value = 0;
        if (!entry) {
            warn(QStringLiteral("missing: ") + consequence);
        } else if (text.isEmpty()) {
            warn(QStringLiteral("is empty: ") + consequence);
        } else if (!TryStrToFloat(text, raw)) {
            warn(QStringLiteral("%1 is not a number: ").arg(Quoted(text)) + consequence);
        } else if (!TryParseProfileFloat(text, value)) {
            range(QStringLiteral("%1 is beyond the range of a double: read as 0, so every weight "
                                 "edit warns \"Overweight\"")
                      .arg(Quoted(text)));
        } else if (value == 0 && raw != 0) {
            range(QStringLiteral("%1 becomes 0 in double precision: ").arg(Quoted(text)) +
                  consequence);
        } else if (std::isinf(static_cast<float>(value))) {
            range(QStringLiteral("%1 is infinite in single precision, as the program keeps it: "
                                 "no total is ever over it")
                      .arg(Quoted(text)));
        } else if (static_cast<float>(value) == 0 && value != 0) {
            range(QStringLiteral("%1 becomes 0 in single precision, as the program keeps it: ")
                      .arg(Quoted(text)) +
                  consequence);
        } else if (value == 0) {
            warn(QStringLiteral("is 0: every weight edit warns \"Overweight\""));
        } else if (value < 0) {
            warn(QStringLiteral("is negative (%1): every weight edit warns \"Overweight\"")
                     .arg(Excerpt(text)));
        } else {
            m_maxWeightUsable = true;
        }
        m_maxTotalWeight = static_cast<float>(TryParseProfileFloat(text, value) ? value : 0);
        m_maxWeightEntry = entry;
    }

    void CheckUnit()
    {
        const CatalogueEntry* entry = m_section.Find(CatalogueKey::Unit);
        int unit = 1;
        const bool parsed = entry && TryParseProfileInteger(entry->value, unit);
        m_summary.imperial = parsed && unit == 2;
        if (!entry)
            return;
        if (!parsed)
            Add(FindingSeverity::Warning, entry, CatalogueKey::Unit, QStringLiteral("unit"),
                QStringLiteral("%1 is not an integer: the labels are metric")
                    .arg(Quoted(entry->value)));
        else if (unit != 1 && unit != 2)
            Add(FindingSeverity::Warning, entry, CatalogueKey::Unit, QStringLiteral("unit"),
                QStringLiteral("is %1, but only 2 (imperial) and 1 (metric) mean anything: the "
                               "labels are metric")
                    .arg(unit));
    }

    // The load's first stop, the default loading and what depends on it.
    void Finish()
    {
        if (!m_stops.empty()) {
            const auto first = std::min_element(m_stops.begin(), m_stops.end());
            m_summary.loadError = m_findings[first->second].boxText;
            m_findings[first->second].stopsLoad = true;
        } else {
            Compute();
        }
        for (const auto& [step, index] : m_stops) {
            CatalogueFinding& f = m_findings[index];
            f.message += f.stopsLoad
                             ? QStringLiteral("; loading stops here with \"%1\"").arg(f.boxText)
                             : QStringLiteral("; were the load to get this far, it would stop "
                                              "here with \"%1\"")
                                   .arg(f.boxText);
        }
    }

    void Compute()
    {
        const int s = m_slotsLoaded ? m_slots : 0;
        TextSheet sheet(s + firstSlotRow);
        for (int i = 0; i < s; ++i) {
            const int r = i + firstSlotRow;
            // The maximum-weight column plays no part in the computation.
            sheet.SetCell(colItem, r, m_names.value(i));
            sheet.SetCell(colWeight, r, m_weights->fields[i]);
            sheet.SetCell(colPosition, r, m_positions->fields[i]);
        }
        TFloatArray envelopeX;
        TFloatArray envelopeY;
        envelopeX.Allocate(m_points);
        envelopeY.Allocate(m_points);
        for (int i = 0; i < m_points && m_envelopeLoaded; ++i) {
            envelopeX[i] = m_envelopeX[i];
            envelopeY[i] = m_envelopeY[i];
        }
        TArrowSeries envelope;
        TArrowSeries loadPath;
        try {
            ComputeBalance(sheet, m_points, envelopeX, envelopeY, envelope, loadPath);
            const LoadPathEnd end = EndOfLoadPath(loadPath);
            m_summary.weight = end.weight;
            m_summary.moment = end.moment;
        } catch (const EConvertError& e) {
            // Every stop is foreseen above; should one not be, the checker still
            // says what the program will.
            CatalogueFinding& f =
                AddSectionWide(FindingSeverity::Error, ErrorCodeNotANumber,
                               QStringLiteral("the default loading cannot be computed"));
            f.boxText = ErrorBoxText(e.Message());
            f.stopsLoad = true;
            m_summary.loadError = f.boxText;
            m_stops.push_back({{Phase::SafetyNet, 0, 0}, int(m_findings.size()) - 1});
            return;
        }
        if (s == 0)
            return;
        const float w = m_summary.weight;
        const float m = m_summary.moment;
        if (std::isinf(w))
            Add(FindingSeverity::Error, *m_weights, QStringLiteral("out-of-range"),
                QStringLiteral("the default total weight is infinite in single precision, as "
                               "the load path keeps it"));
        if (std::isinf(m))
            Add(FindingSeverity::Error, *m_positions, QStringLiteral("out-of-range"),
                QStringLiteral("the default total moment is infinite in single precision, as "
                               "the load path keeps it"));
        if (m_maxWeightUsable && w > m_maxTotalWeight)
            Add(FindingSeverity::Warning, m_maxWeightEntry, CatalogueKey::MaxWeight,
                QStringLiteral("default-total"),
                QStringLiteral("the default loading weighs more than MaxWeight: every weight "
                               "edit would show \"%1\"")
                    .arg(OverweightText(w, m_maxTotalWeight)));
        if (m_envelopeLoaded && m_envelopeValid) {
            const EnvelopeShape shape(m_envelopeX, m_envelopeY);
            const bool inside = shape.Contains(m, w);
            m_summary.fit = inside ? AircraftSummary::Fit::Inside : AircraftSummary::Fit::Outside;
            if (!inside)
                AddSectionWide(FindingSeverity::Warning, QStringLiteral("default-outside-envelope"),
                               QStringLiteral("the default loading (moment %1, weight %2) lies "
                                              "outside the envelope")
                                   .arg(FloatToStr(m), FloatToStr(w)));
        }
    }

    const CatalogueSection& m_section;
    QList<CatalogueFinding>& m_findings;
    AircraftSummary m_summary;
    std::vector<std::pair<LoadStep, int>> m_stops;
    int m_points = 0;
    int m_slots = 0;
    bool m_envelopeLoaded = false;
    bool m_envelopeValid = false;
    std::vector<float> m_envelopeX;
    std::vector<float> m_envelopeY;
    bool m_slotsLoaded = false;
    QStringList m_names;
    std::unique_ptr<List> m_maxWeights;
    std::unique_ptr<List> m_minPos;
    std::unique_ptr<List> m_maxPos;
    std::unique_ptr<List> m_weights;
    std::unique_ptr<List> m_positions;
    bool m_maxWeightUsable = false;
    float m_maxTotalWeight = 0;
    const CatalogueEntry* m_maxWeightEntry = nullptr;
};

} // namespace

AircraftResult CheckAircraft(const CatalogueSection& section)
{
    AircraftResult result;
    result.summary = AircraftCheck(section, result.findings).Run();
    return result;
}
