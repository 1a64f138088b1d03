// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ArrowSeries.h"
#include "core/LoadingJudgement.h"
#include "core/Sheet.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// One aircraft's loading, worked out as the window works it out: what the
// loading sheet command writes as text, as JSON and as a PDF page.
struct LoadingSheet
{
    QString section; // the aircraft as the selector lists it
    QString make;
    QString model;
    QString caption; // the main window's caption after the load
    bool imperial = false;

    // The sheet's texts, cell by cell, as the window's sheet holds them:
    // row 0 the header, row 1 the units, then one row per slot.
    QList<std::array<QString, sheetColumns>> rows;

    // The loading judged once: where the load path ends, the centre of
    // gravity, the envelope's limits at the total weight, the verdict and the
    // margins. Every writer takes its figures and words from here.
    LoadingJudgement judgement;

    // Every warning the edits gave, in order, as the window's message boxes
    // say them.
    QStringList warnings;

    // Only for the page: given on the command line.
    QString pilot;
    QString registration;
    QDateTime when;

    // The chart's two series, as the window's Compute leaves them.
    TArrowSeries envelope;
    TArrowSeries loadPath;
};
