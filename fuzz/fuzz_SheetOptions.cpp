// SPDX-License-Identifier: GPL-3.0-or-later
// trx-sheet's command line, then its edits applied to the worked example:
// the options parse into what they say or into a reason, every edit splits
// back into its own text, an edit either gives a sheet or fails with a slot
// or value reason, and the JSON always parses.

#include "FuzzSupport.h"
#include "core/NumConv.h"
#include "sheet/ComputeLoadingSheet.h"
#include "sheet/JsonSheetWriter.h"
#include "sheet/SheetOptions.h"
#include "sheet/TextSheetWriter.h"

#include <QJsonDocument>

#include <cmath>

namespace {

// Arguments in one input: separated by NUL bytes; a sane command line has
// far fewer.
constexpr qsizetype MaxArguments = 64;

QString TrainerValue(CatalogueKey key)
{
    switch (key) {
    case CatalogueKey::Make:
        return QStringLiteral("Generic");
    case CatalogueKey::Model:
        return QStringLiteral("T2");
    case CatalogueKey::Slots:
        return QStringLiteral("4");
    case CatalogueKey::SlotsNames:
        return QStringLiteral("Empty aircraft;Pilot;Passenger;Fuel;");
    case CatalogueKey::SlotsWeight:
        return QStringLiteral("520;80;0;60;");
    case CatalogueKey::SlotsMaxWeight:
        return QStringLiteral("520;120;120;110;");
    case CatalogueKey::SlotsPos:
        return QStringLiteral("0.95;0.94;0.94;1.22;");
    case CatalogueKey::SlotsMinPos:
        return QStringLiteral("0.95;0.90;0.90;1.22;");
    case CatalogueKey::SlotsMaxPos:
        return QStringLiteral("0.95;1.00;1.00;1.22;");
    case CatalogueKey::MaxWeight:
        return QStringLiteral("800");
    case CatalogueKey::Unit:
        return QStringLiteral("1");
    case CatalogueKey::EnvelopePoints:
        return QStringLiteral("5");
    case CatalogueKey::EnvelopeX:
        return QStringLiteral("450;600;820;700;450;");
    case CatalogueKey::EnvelopeY:
        return QStringLiteral("500;500;800;800;500;");
    case CatalogueKey::MaxRampWeight:
    case CatalogueKey::MaxLandingWeight:
    case CatalogueKey::MaxZeroFuelWeight:
    case CatalogueKey::FuelSlots:
    case CatalogueKey::FuelDensity:
    case CatalogueKey::Unknown:
        break;
    }
    return QString();
}

void CheckJson(const QByteArray& json)
{
    QJsonParseError error;
    QJsonDocument::fromJson(json, &error);
    Fuzz::Check(error.error == QJsonParseError::NoError, "the JSON does not parse",
                QString::fromUtf8(json));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    SetDecimalSeparator(QLatin1Char('.'));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayList args = Fuzz::Bytes(data, size).split('\0').mid(0, MaxArguments);
    const SheetOptions o = ParseSheetOptions(args);
    const SheetOptions again = ParseSheetOptions(args);
    Fuzz::Check(o.error == again.error && o.edits.size() == again.edits.size(),
                "the same arguments parse differently");
    if (!o.error.isEmpty())
        return 0;
    Fuzz::Check(o.hasAircraft || o.help || o.version || o.list, "no aircraft, and no reason");
    for (const SheetEdit& e : o.edits) {
        Fuzz::Check(!e.slot.isEmpty() && !e.value.contains(u'='), "a bad edit split", e.option);
        QString slot;
        QString value;
        Fuzz::Check(SplitEdit(e.slot + u'=' + e.value, slot, value) && slot == e.slot &&
                        value == e.value,
                    "an edit does not split back", e.option);
    }

    QByteArray json;
    QByteArray text;
    const auto into = [](QByteArray& bytes) {
        return [&bytes](const QByteArray& more) { bytes += more; };
    };
    JsonSheetWriter jsonWriter(into(json), into(text));
    TextSheetWriter textWriter(into(text), into(text));
    LoadingSheet sheet;
    SheetFailure failure;
    const bool computed =
        ComputeLoadingSheet(QStringLiteral("Trainer"), TrainerValue, o, sheet, failure);
    if (computed) {
        Fuzz::Check(sheet.rows.size() == 6, "the sheet lost rows");
        textWriter.WriteSheet(sheet);
        jsonWriter.WriteSheet(sheet);
    } else {
        Fuzz::Check(failure.kind != SheetFailureKind::Load, "the worked example stopped loading",
                    failure.message);
        Fuzz::Check((failure.kind == SheetFailureKind::Value) == !failure.errorBox.isEmpty(),
                    "an error box for the wrong kind", failure.message);
        Fuzz::Check(failure.warnings == sheet.warnings, "the failure lost the warnings",
                    failure.message);
        textWriter.WriteFailure(failure);
        jsonWriter.WriteFailure(failure);
    }
    CheckJson(json);
    // Finite totals give finite figures: a weight of 0 has no centre of
    // gravity, rather than one of INF or NAN.
    const LoadPathEnd end = sheet.judgement.end;
    if (computed && std::isfinite(end.weight) && std::isfinite(end.moment)) {
        const qsizetype from = text.indexOf("Total weight:");
        const QByteArray figures = text.mid(from, text.indexOf("\nWarnings") - from);
        Fuzz::Check(!figures.contains("INF") && !figures.contains("NAN"), "a figure is not finite",
                    QString::fromUtf8(text));
    }
    return 0;
}
