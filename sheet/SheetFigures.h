// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sheet/LoadingSheet.h"

#include <QString>
#include <QStringList>

// The figures and words a person reads on the sheet, for the text and the
// page alike: totals, centres of gravity, limits and margins rounded
// (ReadableFigure), decided on the exact values first.

QString WeightFigure(double weight);
QString MomentFigure(double moment);
QString CentreFigure(double centre, bool imperial);

// The envelope's centre-of-gravity limits at a condition's weight, forward
// to aft, "40.78 to 46.00" (several ranges joined by "; or "); "none" when
// the weight lies above or below the envelope, there is no envelope or no
// centre of gravity.
QString CentreLimitsText(const LoadingJudgement& judged, bool imperial);

// A condition's weight limit with what is left under it, "2950.0 (7.0
// under)" or "2950.0 (17.0 over)"; "none" without one.
QString WeightLimitText(const ConditionJudgement& condition);

// A condition's verdict: the envelope's words (VerdictText), with "; over
// the weight limit" when it is.
QString ConditionVerdictText(const ConditionJudgement& condition);

// A condition's row: Condition, Weight, Moment, CG, CG limits at that
// weight, Weight limit, Verdict.
QStringList ConditionCells(const ConditionJudgement& condition, bool imperial);
QStringList ConditionHeader();

// An amount of fuel in the sheet's weight unit, with the volume it is in the
// unit the volumes were given in: "73.8 Lbs" or "12.3 gal (73.8 Lbs)".
QString FuelQuantityText(const LoadingSheet& sheet, double weight);

// A way between two conditions in words: its name ("Fuel burn, take-off to
// landing"), then "within limits", "no envelope to judge against", or where
// it leaves the envelope and comes back.
QString WayName(const FlightWay& way);
QString WayText(const LoadingSheet& sheet, const FlightWay& way);

// The density volumes of fuel were taken at, with its unit: "6.00 lb/US gal"
// or "0.72 kg/L".
QString DensityFigure(const LoadingSheet& sheet);

// A fuel line as given: "Burn: Fuel 24 gal = 144.0 Lbs".
QString FuelLineText(const LoadingSheet& sheet, const FuelLine& line);

// What changed in one key of the aircraft's data since the loading was
// saved: "SlotsWeight: saved '767;80', now '768;80'".
QString DataChangeText(const AircraftDataChange& change);

// When a loading was saved, for people: "2026-12-09 05:31 UTC".
QString SavedOnText(const QDateTime& when);

// Where the aircraft's data of a saved loading's sheet came from, when that
// needs saying: "" for the catalogue's data unchanged since it was saved.
QString DataSourceText(const LoadingSheet& sheet);
