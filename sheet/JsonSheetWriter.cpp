// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/JsonSheetWriter.h"

#include "cli/JsonText.h"
#include "core/Balance.h"
#include "loading/LoadingFile.h"
#include "sheet/SheetFigures.h"

// The objects are written by hand rather than through QJsonDocument: the
// fields keep the order a reader of the output expects (QJsonObject sorts
// them), numbers keep FloatToStr's digits, the program's own (QJsonDocument
// writes a double's shortest text, which differs from what the window and
// the text output show), and strings are escaped by JsonString, which keeps
// terminal controls out as the text output does.

namespace {

QByteArray Strings(const QStringList& texts)
{
    QByteArray out = "[";
    for (qsizetype i = 0; i < texts.size(); ++i)
        out += (i ? ", " : "") + JsonString(texts[i]);
    return out + ']';
}

QByteArray Version()
{
    return "{\"format_version\": " + QByteArray::number(JsonSheetWriter::FormatVersion);
}

// The envelope's verdict on a judged loading: "envelope" (its ranges),
// "verdict", "on_limit" and "margins". A centre of gravity's limits and
// margins are null without a weight.
QByteArray VerdictJson(const LoadingJudgement& j)
{
    QByteArray out = "\"envelope\": {\"usable\": ";
    out += j.verdict.fit == EnvelopeVerdict::Fit::NoEnvelope ? "false" : "true";
    out += ", \"ranges\": [";
    for (size_t i = 0; i < j.ranges.size(); ++i) {
        const LimitRange& r = j.ranges[i];
        out += (i ? ", " : "");
        out += "{\"low_moment\": " + JsonNumber(r.lowMoment) +
               ", \"high_moment\": " + JsonNumber(r.highMoment) +
               ", \"low_centre\": " + JsonNumber(r.forwardCentre) +
               ", \"high_centre\": " + JsonNumber(r.aftCentre) + '}';
    }
    out += "]}";
    out += ", \"verdict\": " + JsonString(FitText(j.verdict.fit));
    const QString limit = LimitName(j.verdict.on);
    out += ", \"on_limit\": " + JsonNullable(!limit.isEmpty(), limit);
    out += ", \"margins\": ";
    if (j.lowMomentMargin && j.highMomentMargin)
        out += "{\"low_moment\": " + JsonNumber(*j.lowMomentMargin) +
               ", \"high_moment\": " + JsonNumber(*j.highMomentMargin) +
               ", \"low_centre\": " + JsonNumber(j.forwardCentreMargin) +
               ", \"high_centre\": " + JsonNumber(j.aftCentreMargin) + '}';
    else
        out += "null";
    return out;
}

// The judgement's fields, from "total_weight" to "margins".
QByteArray JudgementJson(const LoadingJudgement& j)
{
    QByteArray out = "\"total_weight\": " + JsonNumber(j.end.weight);
    out += ", \"total_moment\": " + JsonNumber(j.end.moment);
    out += ", \"centre_of_gravity\": " + JsonNumber(j.centre);
    return out + ",\n " + VerdictJson(j);
}

QByteArray FuelUnitJson(FuelUnit unit)
{
    return unit == FuelUnit::Weight ? QByteArray("\"weight\"") : JsonString(FuelUnitSymbol(unit));
}

QByteArray FuelJson(const LoadingSheet& sheet)
{
    QByteArray out = "{\"density\": " + JsonNumber(sheet.fuelDensity);
    out += ", \"density_unit\": ";
    out += sheet.imperial ? "\"lb/US gal\"" : "\"kg/L\"";
    out += ", \"given\": [";
    for (qsizetype i = 0; i < sheet.fuel.size(); ++i) {
        const FuelLine& f = sheet.fuel[i];
        out += i ? ",\n  " : "\n  ";
        out += "{\"use\": ";
        out += f.use == FuelLine::Use::Load   ? "\"fuel\""
               : f.use == FuelLine::Use::Taxi ? "\"taxi\""
                                              : "\"burn\"";
        out += ", \"slot\": " + JsonString(f.slot);
        out += ", \"amount\": " + JsonNumber(f.amount.amount);
        out += ", \"unit\": " + FuelUnitJson(f.amount.unit);
        out += ", \"weight\": " + JsonNumber(f.weight) + '}';
    }
    return out + "]}";
}

QByteArray ConditionJson(const ConditionJudgement& c)
{
    const LoadingJudgement& j = c.judged;
    QByteArray out = "{\"name\": " + JsonString(ConditionName(c.condition));
    out += ", \"weight\": " + JsonNumber(j.end.weight);
    out += ", \"moment\": " + JsonNumber(j.end.moment);
    out += ", \"centre_of_gravity\": " + JsonNumber(j.centre);
    out += ", \"weight_limit\": " + JsonNumber(c.weightLimit);
    out += ", \"weight_margin\": " + JsonNumber(c.WeightMargin());
    out += ", \"over_weight_limit\": ";
    out += c.OverWeightLimit() ? "true" : "false";
    out += ", \"within_limits\": ";
    out += c.WithinLimits() ? "true" : "false";
    return out + ",\n   " + VerdictJson(j) + '}';
}

QByteArray WayPointJson(const LoadingSheet& sheet, const std::optional<WayPoint>& p)
{
    if (!p)
        return "null";
    QByteArray out = "{\"fuel\": " + JsonNumber(p->fuel);
    out += ", \"fuel_volume\": ";
    out +=
        sheet.volumeUnit == FuelUnit::Weight
            ? QByteArray("null")
            : JsonNumber(FuelInUnit(p->fuel, sheet.volumeUnit, sheet.fuelDensity, sheet.imperial));
    out += ", \"moment\": " + JsonNumber(p->moment);
    out += ", \"weight\": " + JsonNumber(p->weight) + '}';
    return out;
}

QByteArray WayJson(const LoadingSheet& sheet, const FlightWay& way)
{
    QByteArray out = "{\"from\": " + JsonString(ConditionName(way.from));
    out += ", \"to\": " + JsonString(ConditionName(way.to));
    out += ", \"fuel\": " + JsonNumber(way.fuel);
    out += ", \"volume_unit\": " + FuelUnitJson(sheet.volumeUnit);
    out += ", \"verdict\": ";
    out += !way.judged ? "\"no envelope\"" : way.outside.empty() ? "\"inside\"" : "\"outside\"";
    out += ", \"outside\": [";
    for (size_t i = 0; i < way.outside.size(); ++i)
        out += (i ? ", " : "") + QByteArray("{\"leaves\": ") +
               WayPointJson(sheet, way.outside[i].leaves) +
               ", \"returns\": " + WayPointJson(sheet, way.outside[i].returns) + '}';
    return out + "]}";
}

// The whole flight: "fuel", "conditions" and "ways".
QByteArray FlightJson(const LoadingSheet& sheet)
{
    QByteArray out = "\"fuel\": " + FuelJson(sheet);
    out += ",\n \"conditions\": [";
    for (size_t i = 0; i < sheet.flight.conditions.size(); ++i)
        out += (i ? ",\n  " : "\n  ") + ConditionJson(sheet.flight.conditions[i]);
    out += "],\n \"ways\": [\n  " + WayJson(sheet, sheet.flight.burn);
    if (sheet.flight.HasZeroFuel())
        out += ",\n  " + WayJson(sheet, sheet.flight.toZeroFuel);
    out += "],\n \"within_limits\": ";
    out += sheet.judgement.WithinLimits() && sheet.flight.WithinLimits() ? "true" : "false";
    return out;
}

QByteArray DataChangesJson(const QList<AircraftDataChange>& changes)
{
    QByteArray out = "[";
    for (qsizetype i = 0; i < changes.size(); ++i) {
        const AircraftDataChange& c = changes[i];
        out += (i ? ", " : "") + QByteArray("{\"key\": ") + JsonString(c.key) +
               ", \"saved\": " + JsonNullable(!c.saved.isNull(), c.saved) +
               ", \"current\": " + JsonNullable(!c.current.isNull(), c.current) + '}';
    }
    return out + ']';
}

// Integrity: the fingerprints, and where the aircraft's data came from.
QByteArray IntegrityJson(const LoadingSheet& sheet)
{
    QByteArray out = "\"fingerprints\": {\"aircraft_data\": " +
                     JsonString(ShortFingerprint(sheet.dataFingerprint)) +
                     ", \"loading\": " + JsonString(ShortFingerprint(sheet.loadingFingerprint)) +
                     '}';
    out += ", \"aircraft_data\": {\"source\": ";
    out += sheet.fromSavedData ? "\"saved\"" : "\"catalogue\"";
    out += ", \"in_catalogue\": ";
    out += sheet.aircraftGone ? "false" : "true";
    out += ", \"saved_on\": ";
    // When it was saved is said only where the data differs: a loading made
    // again gives the JSON of the run that saved it.
    out += !DataSourceText(sheet).isEmpty() ? JsonString(LoadingTimeText(sheet.savedOn))
                                            : QByteArray("null");
    return out + ", \"changes\": " + DataChangesJson(sheet.dataChanges) + '}';
}

} // namespace

JsonSheetWriter::JsonSheetWriter(Output out, Output message)
    : m_out(std::move(out)), m_message(std::move(message))
{
}

void JsonSheetWriter::WriteSheet(const LoadingSheet& sheet)
{
    QByteArray out = Version();
    out += ", \"aircraft\": " + JsonString(sheet.section);
    out += ", \"make\": " + JsonString(sheet.make);
    out += ", \"model\": " + JsonString(sheet.model);
    out += ", \"caption\": " + JsonString(sheet.caption);
    out += ", \"registration\": " + JsonNullable(!sheet.registration.isNull(), sheet.registration);
    out += ", \"pilot\": " + JsonNullable(!sheet.pilot.isNull(), sheet.pilot);
    out += ", \"flight\": " + JsonNullable(!sheet.flightId.isNull(), sheet.flightId);
    out += ", \"from\": " + JsonNullable(!sheet.from.isNull(), sheet.from);
    out += ", \"to\": " + JsonNullable(!sheet.to.isNull(), sheet.to);
    out += ", \"prepared_by\": " + JsonNullable(!sheet.preparedBy.isNull(), sheet.preparedBy);
    out += ",\n " + IntegrityJson(sheet);
    out += ",\n \"units\": {\"system\": ";
    out += sheet.imperial ? "\"imperial\"" : "\"metric\"";
    out += ", \"weight\": " + JsonString(UnitLabel(colWeight, sheet.imperial));
    out += ", \"position\": " + JsonString(UnitLabel(colPosition, sheet.imperial));
    out += ", \"moment\": " + JsonString(UnitLabel(colTorque, sheet.imperial)) + '}';

    out += ",\n \"sheet\": [";
    for (qsizetype r = 0; r < sheet.rows.size(); ++r) {
        out += r ? ",\n  [" : "\n  [";
        for (size_t c = 0; c < sheet.rows[r].size(); ++c)
            out += (c ? ", " : "") + JsonString(sheet.rows[r][c]);
        out += ']';
    }
    out += "],\n " + JudgementJson(sheet.judgement);
    out += ",\n " + FlightJson(sheet);
    out += ",\n \"warnings\": " + Strings(sheet.warnings);
    out += ",\n \"error\": null}\n";
    m_out(out);
}

void JsonSheetWriter::WriteFailure(const SheetFailure& failure)
{
    m_message(FailureMessage(failure));
    QByteArray out = Version();
    out += ", \"aircraft\": " +
           JsonNullable(failure.aircraft.has_value(), failure.aircraft.value_or(QString()));
    out += ", \"warnings\": " + Strings(failure.warnings);
    out += ",\n \"error\": {\"kind\": " + JsonString(SheetFailureKindName(failure.kind));
    out += ", \"message\": " + JsonString(failure.message);
    out += ", \"error_box\": " + JsonNullable(!failure.errorBox.isEmpty(), failure.errorBox);
    out += ", \"closest\": " + Strings(failure.closest);
    out += ", \"load_stop\": ";
    if (failure.load)
        out += "{\"phase\": " + JsonString(LoadPhaseName(failure.load->phase)) +
               ", \"index\": " + QByteArray::number(failure.load->index) +
               ", \"part\": " + QByteArray::number(failure.load->part) + '}';
    else
        out += "null";
    out += ", \"aircraft_data_changes\": " + DataChangesJson(failure.dataChanges);
    out += "}}\n";
    m_out(out);
}

void JsonSheetWriter::WriteAircraftList(const QStringList& names)
{
    m_out(Version() + ", \"aircraft\": " + Strings(names) + "}\n");
}
