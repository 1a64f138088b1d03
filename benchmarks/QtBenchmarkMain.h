// SPDX-License-Identifier: GPL-3.0-or-later
// The main of a benchmark program that needs a Qt application: the offscreen
// platform unless QT_QPA_PLATFORM names another, '.' as decimal separator,
// and the benchmarks named on the command line.
#pragma once

#include "core/NumConv.h"

#include <QLatin1String>
#include <QString>
#include <QtGlobal>
#include <benchmark/benchmark.h>

#include <exception>

namespace QtBenchmarkMain {

// A message holding this text is not printed: the offscreen platform repeats
// its notes for every window a benchmark shows, and they would bury the table.
inline QLatin1String QuietText;
inline QtMessageHandler PreviousHandler = nullptr;

inline void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (QuietText.isEmpty() || !message.contains(QuietText))
        PreviousHandler(type, context, message);
}

// `prepare` runs once the application exists, before the first benchmark.
template <typename Application, typename Prepare>
int Run(int argc, char** argv, QLatin1String quiet, Prepare prepare)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QuietText = quiet;
    PreviousHandler = qInstallMessageHandler(QuietHandler);
    Application app(argc, argv);
    SetDecimalSeparator(QLatin1Char('.'));
    prepare();
    try {
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception& e) {
        qCritical("benchmark failed: %s", e.what());
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}

template <typename Application> int Run(int argc, char** argv, QLatin1String quiet = {})
{
    return Run<Application>(argc, argv, quiet, [] {});
}

} // namespace QtBenchmarkMain
