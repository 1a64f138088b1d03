// SPDX-License-Identifier: GPL-3.0-or-later
// Timings of trx-check's work: a large catalogue checked in one pass, with
// and without the report printed.

#include "check/CatalogueCheck.h"
#include "check/JsonReport.h"
#include "core/NumConv.h"

#include <benchmark/benchmark.h>

namespace {

// One-character fields: 1023 of them are the most a 2047-character list holds.
QByteArray Fields(int count, char field)
{
    QByteArray list;
    list.reserve(2 * count);
    for (int i = 0; i < count; ++i) {
        list += field;
        list += ';';
    }
    return list;
}

// `aircraft` sections of `slotCount` slots each, every one clean: the checker
// walks every field and computes every default loading.
QByteArray Catalogue(int aircraft, int slotCount)
{
    QByteArray text;
    for (int k = 0; k < aircraft; ++k) {
        const QByteArray n = QByteArray::number(slotCount);
        text +=
            "[Aircraft " + QByteArray::number(k) + "]\nMake=Bench\nModel=S" + n + "\nSlots=" + n +
            "\nSlotsNames=" + Fields(slotCount, 'A') + "\nSlotsWeight=" + Fields(slotCount, '5') +
            "\nSlotsMaxWeight=" + Fields(slotCount, '9') + "\nSlotsPos=" + Fields(slotCount, '2') +
            "\nSlotsMinPos=" + Fields(slotCount, '1') + "\nSlotsMaxPos=" + Fields(slotCount, '3') +
            "\nMaxWeight=100000\nUnit=1\nEnvelopePoints=5\n"
            "EnvelopeX=0;20000;20000;0;0;\nEnvelopeY=0;0;10000;10000;0;\n\n";
    }
    return text;
}

// 200 aircraft of 1023 slotCount: about 2.5 MB.
void BM_CheckCatalogue(benchmark::State& state)
{
    const QByteArray text = Catalogue(int(state.range(0)), 1023);
    for (auto _ : state) {
        const CatalogueCheck check(text);
        if (check.Aircraft().size() != state.range(0) || check.Errors() + check.Warnings() != 0)
            state.SkipWithError("the benchmark catalogue is not clean");
        benchmark::DoNotOptimize(check.Findings().size());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_CheckCatalogue)->Arg(1)->Arg(200)->Unit(benchmark::kMillisecond);

// The same with every aircraft's summary written out, as --summary --json does.
void BM_CheckAndReport(benchmark::State& state)
{
    const QByteArray text = Catalogue(200, 1023);
    for (auto _ : state) {
        qsizetype written = 0;
        JsonReport report([&](const QByteArray& bytes) { written += bytes.size(); }, true);
        report.BeginFile("bench.ini");
        report.End(CheckCatalogue(text, report));
        benchmark::DoNotOptimize(written);
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_CheckAndReport)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    SetDecimalSeparator(QLatin1Char('.'));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
