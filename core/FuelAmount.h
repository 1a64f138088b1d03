// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// An amount of fuel as a pilot gives it: a weight in the sheet's unit, or a
// volume in litres or US gallons, turned into a weight at the aircraft's
// fuel density.

enum class FuelUnit
{
    Weight,
    Litre,
    UsGallon
};

struct FuelAmount
{
    double amount = 0;
    FuelUnit unit = FuelUnit::Weight;
};

// Litres in one US gallon, by definition.
constexpr double LitresPerUsGallon = 3.785411784;

// Reads "144", "24gal", "90 L": a number as the program reads numbers (its
// decimal separator), then, after optional blanks, "L" or "l" for litres or
// "gal" for US gallons. False when the text is no such amount, or the number
// is negative or beyond the range of a double.
bool ReadFuelAmount(const QString& text, FuelAmount& amount);

// The unit an amount as given ends in, and in `number` what comes before
// it: the split ReadFuelAmount makes before it reads the number.
FuelUnit SplitFuelUnit(const QString& text, QString& number);

// The weight of `amount` at `density`: kilograms per litre in a metric
// catalogue, pounds per US gallon in an imperial one. A volume in the other
// system's unit is converted first.
double FuelWeight(const FuelAmount& amount, double density, bool imperial);

// The amount in `unit` that weighs `weight` at `density` (FuelWeight's
// inverse), for saying where along a burn something happens.
double FuelInUnit(double weight, FuelUnit unit, double density, bool imperial);

// "L", "gal"; empty for a weight.
QString FuelUnitSymbol(FuelUnit unit);
