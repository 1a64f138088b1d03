// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/JsonSheetWriter.h"

#include "cli/JsonText.h"
#include "core/Balance.h"
#include "core/NumConv.h"
#include "sheet/TextSheetWriter.h"

#include <cmath>

// The objects are written by hand rather than through QJsonDocument: the
// fields keep the order a reader of the output expects (QJsonObject sorts
// them), numbers keep FloatToStr's digits, the program's own (QJsonDocument
// writes a double's shortest text, which differs from what the window and
// the text output show), and strings are escaped by JsonString, which keeps
// terminal controls out as the text output does.

namespace {

// FloatToStr's text with a decimal point whatever the user's separator; null
// for infinity or NaN, which JSON has no number for.
QByteArray Number(double value)
{
    if (!std::isfinite(value))
        return "null";
    QString text = FloatToStr(value);
    text.replace(DecimalSeparator(), u'.');
    return text.toLatin1();
}

QByteArray Strings(const QStringList& texts)
{
    QByteArray out = "[";
    for (qsizetype i = 0; i < texts.size(); ++i)
        out += (i ? ", " : "") + JsonString(texts[i]);
    return out + ']';
}

QByteArray Version()
{
    return "{\"format_version\": " + QByteArray::number(SheetFormatVersion);
}

} // namespace

QByteArray SheetJson(const LoadingSheet& sheet)
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
    out += "],\n \"total_weight\": " + Number(sheet.totalWeight);
    out += ", \"total_moment\": " + Number(sheet.totalMoment);
    out += ", \"centre_of_gravity\": ";
    out += sheet.centreOfGravity.isEmpty()
               ? QByteArray("null")
               : Number(double(sheet.totalMoment) / double(sheet.totalWeight));

    const EnvelopeVerdict& v = sheet.verdict;
    out += ",\n \"envelope\": {\"usable\": ";
    out += v.fit == EnvelopeVerdict::Fit::NoEnvelope ? "false" : "true";
    out += ", \"ranges\": [";
    for (size_t i = 0; i < v.ranges.size(); ++i) {
        const auto [low, high] = v.ranges[i];
        out += (i ? ", " : "");
        out += "{\"low_moment\": " + Number(low) + ", \"high_moment\": " + Number(high) +
               ", \"low_centre\": " + Number(PerWeight(sheet, low)) +
               ", \"high_centre\": " + Number(PerWeight(sheet, high)) + '}';
    }
    out += "]}";
    out += ",\n \"verdict\": " + JsonString(FitText(v.fit));
    out += ", \"margins\": ";
    if (v.range < 0)
        out += "null";
    else
        out += "{\"low_moment\": " + Number(v.lowMargin) +
               ", \"high_moment\": " + Number(v.highMargin) +
               ", \"low_centre\": " + Number(PerWeight(sheet, v.lowMargin)) +
               ", \"high_centre\": " + Number(PerWeight(sheet, v.highMargin)) + '}';
    out += ",\n \"warnings\": " + Strings(sheet.warnings);
    out += ",\n \"error\": null}\n";
    return out;
}

QByteArray SheetErrorJson(const SheetError& error)
{
    QByteArray out = Version();
    out += ", \"aircraft\": " +
           JsonNullable(error.aircraft.has_value(), error.aircraft.value_or(QString()));
    out += ", \"warnings\": " + Strings(error.warnings);
    out += ",\n \"error\": {\"kind\": " + JsonString(error.kind);
    out += ", \"message\": " + JsonString(error.message);
    out += ", \"error_box\": " + JsonNullable(!error.errorBox.isEmpty(), error.errorBox);
    out += ", \"closest\": " + Strings(error.closest);
    out += ", \"load_stop\": ";
    if (error.load)
        out += "{\"phase\": " + JsonString(LoadPhaseText(error.load->phase)) +
               ", \"index\": " + QByteArray::number(error.load->index) +
               ", \"part\": " + QByteArray::number(error.load->part) + '}';
    else
        out += "null";
    out += "}}\n";
    return out;
}

QByteArray AircraftListJson(const QStringList& names)
{
    return Version() + ", \"aircraft\": " + Strings(names) + "}\n";
}
