// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ArrowSeries.h"
#include "core/EnvelopeShape.h"
#include "core/FloatArray.h"
#include "core/Sheet.h"

#include <QString>

// The header row of the sheet (row 0): column `column`'s title.
QString HeaderLabel(SheetColumn column);

// The units row of the sheet (row 1): column `column`'s label in the metric
// or the imperial system.
QString UnitLabel(SheetColumn column, bool imperial);

// Torque text of one slot: position read first, then weight; the product is
// taken at extended precision and rounded to double.
QString TorqueText(const QString& position, const QString& weight);

// The cell the recomputation converts last: after an EConvertError, the one
// that failed. `loadPath` is set once the torque pass is over.
struct BalanceCursor
{
    int col = -1;
    int row = -1;
    bool loadPath = false;
};

// The recomputation: envelope edges into `envelope`, the torque column, then
// the load path into `loadPath`. A cell that is not a number throws
// EConvertError and leaves what was done before it in place.
void ComputeBalance(Sheet& sheet, int envelopePoints, const TFloatArray& envelopeX,
                    const TFloatArray& envelopeY, TArrowSeries& envelope, TArrowSeries& loadPath,
                    BalanceCursor* cursor = nullptr);

// Sum of every slot weight, rounded to single precision after each addition.
float TotalSlotWeight(const Sheet& sheet);

// "Overweight: <total>/<maximum>".
QString OverweightText(float total, float maximum);

// Where the load path ends: the moment and weight totals its last arrow
// reaches, each summed in single precision; 0 and 0 while it has no slot arrow.
struct LoadPathEnd
{
    float moment = 0;
    float weight = 0;
};
LoadPathEnd EndOfLoadPath(const TArrowSeries& loadPath);

// The chart in words, for a screen reader: where the load path ends and how
// many vertices the envelope has, numbers written by FloatToStr.
QString ChartDescription(const TArrowSeries& loadPath, int envelopePoints);
// The chart in words before an aircraft is loaded.
QString NoAircraftDescription();

// The outline the chart draws from the first `envelopePoints` vertices of
// the envelope arrays, as a shape to judge a loading against.
EnvelopeShape ChartEnvelope(int envelopePoints, const TFloatArray& envelopeX,
                            const TFloatArray& envelopeY);

// The chart in words with the loading judged, for a screen reader:
// ChartDescription's sentences, then the centre of gravity in the sheet's
// units (or why there is none) and whether the load path's end lies inside,
// on or outside the outline the chart draws (JudgeLoading), or that there is
// no outline to judge it against.
QString LoadingDescription(const TArrowSeries& loadPath, int envelopePoints,
                           const TFloatArray& envelopeX, const TFloatArray& envelopeY,
                           bool imperial);
