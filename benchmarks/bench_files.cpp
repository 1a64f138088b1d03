// SPDX-License-Identifier: GPL-3.0-or-later
// Timings of reading what a user or a damaged file hands the program: large
// and hostile catalogues, long lists, damaged help files. The tests check
// what is read; these say how fast, and a hang shows as a run that never
// ends.

#include "QtBenchmarkMain.h"
#include "core/ListField.h"
#include "core/NumConv.h"
#include "core/WinApi.h"
#include "platform/HelpSystem.h"
#include "platform/HtmlHelp.h"
#include "platform/IniFile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

QTemporaryDir& Scratch()
{
    static QTemporaryDir dir;
    if (!dir.isValid())
        throw std::runtime_error("no scratch folder");
    return dir;
}

QString WriteScratch(const QString& name, const QByteArray& content)
{
    const QString path = Scratch().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(content) != content.size())
        throw std::runtime_error("cannot write a benchmark file");
    return path;
}

// 100000 sections, the wanted key in the last one; one line of 50 MB without
// a line end; 50 MB of short lines, then a section.
void BM_ReadLargeCatalogues(benchmark::State& state)
{
    QByteArray many;
    for (int k = 0; k < 100000; ++k)
        many += "[S" + QByteArray::number(k) + "]\nk=" + QByteArray::number(k) + '\n';
    const TIniFile sectionsFile(WriteScratch(QStringLiteral("sections.ini"), many));
    const TIniFile oneLine(WriteScratch(QStringLiteral("line.ini"), QByteArray(50'000'000, 'x')));
    QByteArray lines;
    lines.reserve(50'000'100);
    while (lines.size() < 50'000'000)
        lines += "key=value;value;value;value;value;value;value;value;\n";
    lines += "[Last]\nk=found\n";
    const TIniFile linesFile(WriteScratch(QStringLiteral("lines.ini"), lines));

    for (auto _ : state) {
        QStringList sections;
        sectionsFile.ReadSections(sections);
        benchmark::DoNotOptimize(
            sectionsFile.ReadString(QStringLiteral("S99999"), QStringLiteral("k"), QString()));
        oneLine.ReadSections(sections);
        benchmark::DoNotOptimize(
            oneLine.ReadString(QStringLiteral("A"), QStringLiteral("k"), QString()));
        linesFile.ReadSections(sections);
        benchmark::DoNotOptimize(
            linesFile.ReadString(QStringLiteral("Last"), QStringLiteral("k"), QString()));
    }
}
BENCHMARK(BM_ReadLargeCatalogues)->Unit(benchmark::kMillisecond);

// The last, the missing and the middle field of a list of 500000.
void BM_ListFieldOf500000(benchmark::State& state)
{
    const int count = 500000;
    QString list;
    list.reserve(count * 7);
    for (int k = 0; k < count; ++k)
        list += QString::number(k) + u';';
    for (auto _ : state) {
        benchmark::DoNotOptimize(ListFieldValue(count - 1, list));
        benchmark::DoNotOptimize(ListFieldText(count, list));
        benchmark::DoNotOptimize(ListFieldText(count / 2, list));
    }
}
BENCHMARK(BM_ListFieldOf500000)->Unit(benchmark::kMillisecond);

// Files of tests/data/chm: chmlib crashes, allocates 4 GB or loops on each.
const char* const DamagedHelpFiles[] = {"chmlib-fpe-open.chm",   "chmlib-fpe-retrieve.chm",
                                        "chmlib-segv.chm",       "chmlib-huge-directory-page.chm",
                                        "chmlib-huge-block.chm", "chmlib-listing-loop.chm",
                                        "chmlib-index-loop.chm"};

// The viewer's window for a file it refuses is titled "Help" (a sound one
// takes the file's title).
bool ShowsDamagedPage()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("TrxHelpWindow") && w->isVisible())
            return w->windowTitle() == QLatin1String("Help");
    return false;
}

// From the help command to the viewer showing its damaged-file page, for a
// file it has not judged before in this run (a verdict is kept per content:
// each round adds a byte of its own at the end, which no reader looks at).
void BM_HelpVerdictOnDamagedFile(benchmark::State& state)
{
    const char* const name = DamagedHelpFiles[state.range(0)];
    state.SetLabel(name);
    QFile source(QStringLiteral(TRX_SOURCE_DIR "/tests/data/chm/") + QLatin1String(name));
    if (!source.open(QIODevice::ReadOnly))
        throw std::runtime_error("a damaged help file is missing");
    const QByteArray content = source.readAll();
    QDir::setCurrent(Scratch().path());
    THelpSystem help;
    quint64 round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        WriteScratch(QStringLiteral("trx.chm"),
                     content + QByteArray::number(++round).rightJustified(20, '0'));
        state.ResumeTiming();
        help.HelpCommand(QStringLiteral("trx.chm"), WinApi::HELP_CONTENTS, 0);
        state.PauseTiming();
        if (!ShowsDamagedPage())
            throw std::runtime_error("the viewer did not tell the file damaged");
        HtmlHelpA(nullptr, nullptr, WinApi::HH_CLOSE_ALL, 0);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HelpVerdictOnDamagedFile)
    ->DenseRange(0, std::size(DamagedHelpFiles) - 1)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // The offscreen platform reports every raise and size hint of a help window.
    return QtBenchmarkMain::Run<QApplication>(argc, argv,
                                              QLatin1String("This plugin does not support"));
}
