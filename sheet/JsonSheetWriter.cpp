// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/JsonSheetWriter.h"

#include "cli/JsonText.h"
#include "core/Balance.h"

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

// The judgement's fields, from "total_weight" to "margins". A centre of
// gravity, its limits and its margins are null without a weight.
QByteArray JudgementJson(const LoadingJudgement& j)
{
    QByteArray out = "\"total_weight\": " + JsonNumber(j.end.weight);
    out += ", \"total_moment\": " + JsonNumber(j.end.moment);
    out += ", \"centre_of_gravity\": " + JsonNumber(j.centre);

    out += ",\n \"envelope\": {\"usable\": ";
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
    out += ",\n \"verdict\": " + JsonString(FitText(j.verdict.fit));
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
    out += ", \"units\": {\"system\": ";
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
    out += "}}\n";
    m_out(out);
}

void JsonSheetWriter::WriteAircraftList(const QStringList& names)
{
    m_out(Version() + ", \"aircraft\": " + Strings(names) + "}\n");
}
