// SPDX-License-Identifier: GPL-3.0-or-later
// Timings of the main window's work: loading an aircraft, recomputing, painting
// the chart, listing a large catalogue and starting up. The catalogue is the
// file beside this executable, rewritten by each benchmark for its case; the
// working folder is the build's bin folder, which holds icon.ico.

#include "QtBenchmarkMain.h"
#include "core/CataloguePath.h"
#include "core/NumConv.h"
#include "platform/IniFile.h"
#include "ui/Application.h"
#include "ui/Chart.h"
#include "ui/Main.h"
#include "ui/OKBottomDlg.h"
#include "ui/Print.h"
#include "ui/StringGrid.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QWindow>
#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

namespace {

QString CatalogueFile()
{
    return CataloguePathFor(QCoreApplication::applicationFilePath());
}

// Rewrites the catalogue only when the case changes: the write is not what is
// measured.
void UseCatalogue(const QByteArray& text)
{
    static QByteArray current;
    if (text == current)
        return;
    QFile file(CatalogueFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        throw std::runtime_error("cannot write the benchmark catalogue");
    current = text;
}

// One-character fields: 1023 of them are the most a 2047-character list holds.
QByteArray Fields(int count, char field)
{
    QByteArray list;
    for (int i = 0; i < count; ++i) {
        list += field;
        list += ';';
    }
    return list;
}

QByteArray SlotsSectionName(int slotCount)
{
    return "Slots" + QByteArray::number(slotCount);
}

// Every slot within its limits and the total under the maximum: no warning.
QByteArray SlotsSection(int slotCount)
{
    return "[" + SlotsSectionName(slotCount) + "]\n" + "Make=Bench\nModel=S" +
           QByteArray::number(slotCount) + "\nSlots=" + QByteArray::number(slotCount) +
           "\nSlotsNames=" + Fields(slotCount, 'A') + "\nSlotsWeight=" + Fields(slotCount, '5') +
           "\nSlotsMaxWeight=" + Fields(slotCount, '9') + "\nSlotsPos=" + Fields(slotCount, '2') +
           "\nSlotsMinPos=" + Fields(slotCount, '1') + "\nSlotsMaxPos=" + Fields(slotCount, '3') +
           "\nMaxWeight=100000\nUnit=1\nEnvelopePoints=5\n"
           "EnvelopeX=0;10000;20000;10000;0;\nEnvelopeY=0;0;10000;10000;0;\n\n";
}

const QByteArray& SlotsCatalogue()
{
    static const QByteArray text = SlotsSection(10) + SlotsSection(100) + SlotsSection(1023);
    return text;
}

// A catalogue of many ordinary aircraft, each named by 13 characters.
const QByteArray& ListCatalogue()
{
    static const QByteArray text = [] {
        QByteArray t;
        for (int i = 0; i < 1000; ++i) {
            t += "[Aircraft " + QByteArray::number(i).rightJustified(4, '0') +
                 "]\nMake=Generic\nModel=T" + QByteArray::number(i) +
                 "\nSlots=4\nSlotsNames=Empty aircraft;Pilot;Passenger;Fuel;\n"
                 "SlotsWeight=520;80;0;60;\nSlotsMaxWeight=520;120;120;110;\n"
                 "SlotsPos=0.95;0.94;0.94;1.22;\nSlotsMinPos=0.95;0.90;0.90;1.22;\n"
                 "SlotsMaxPos=0.95;1.00;1.00;1.22;\nMaxWeight=800\nUnit=1\n"
                 "EnvelopePoints=5\nEnvelopeX=450;600;820;700;450;\n"
                 "EnvelopeY=500;500;800;800;500;\n\n";
        }
        return t;
    }();
    return text;
}

const QByteArray& BundledCatalogue()
{
    static const QByteArray text = [] {
        QFile file(QStringLiteral(TRX_SOURCE_DIR "/data/TRX.ini"));
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read data/TRX.ini");
        return file.readAll();
    }();
    return text;
}

// Spins the event loop without sleeping until the window is on screen and
// painted.
void ShowAndWait(QWidget& window)
{
    window.show();
    QElapsedTimer timer;
    timer.start();
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        QCoreApplication::processEvents();
        if (timer.elapsed() > 5000)
            throw std::runtime_error("the window was never shown");
    }
    QCoreApplication::processEvents();
}

// A shown main window with the given aircraft selected, not yet loaded.
std::unique_ptr<TForm1> ShownForm(const QByteArray& section)
{
    auto form = std::make_unique<TForm1>();
    Form1 = form.get();
    const int index = form->ComboBox1->findText(QString::fromLatin1(section));
    if (index < 0)
        throw std::runtime_error("benchmark aircraft missing from the catalogue");
    form->ComboBox1->setCurrentIndex(index);
    ShowAndWait(*form);
    return form;
}

std::unique_ptr<TForm1> LoadedForm(int slotCount)
{
    UseCatalogue(SlotsCatalogue());
    auto form = ShownForm(SlotsSectionName(slotCount));
    form->Button1Click();
    QCoreApplication::processEvents();
    if (form->StringGrid1->RowCount() < slotCount)
        throw std::runtime_error("the aircraft did not load");
    return form;
}

// The whole load as the OK button runs it, up to the grown window repainted.
void BM_Load(benchmark::State& state)
{
    const int slotCount = static_cast<int>(state.range(0));
    UseCatalogue(SlotsCatalogue());
    for (auto _ : state) {
        state.PauseTiming();
        auto form = ShownForm(SlotsSectionName(slotCount));
        state.ResumeTiming();
        form->Button1Click();
        QCoreApplication::processEvents();
        state.PauseTiming();
        form.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Load)->Arg(10)->Arg(100)->Arg(1023)->Unit(benchmark::kMicrosecond);

// What every edit recomputes: torques, totals and both series.
void BM_Compute(benchmark::State& state)
{
    auto form = LoadedForm(static_cast<int>(state.range(0)));
    for (auto _ : state)
        form->Compute();
}
BENCHMARK(BM_Compute)->Arg(10)->Arg(100)->Arg(1023)->Unit(benchmark::kMicrosecond);

// The chart of a loaded aircraft painted once.
void BM_ChartPaint(benchmark::State& state)
{
    auto form = LoadedForm(static_cast<int>(state.range(0)));
    QImage image(form->Chart1->size(), QImage::Format_RGB32);
    for (auto _ : state)
        form->Chart1->render(&image);
}
BENCHMARK(BM_ChartPaint)->Arg(10)->Arg(100)->Arg(1023)->Unit(benchmark::kMicrosecond);

void BM_ReadSections1000(benchmark::State& state)
{
    UseCatalogue(ListCatalogue());
    const TIniFile catalogue(CatalogueFile());
    QStringList sections;
    catalogue.ReadSections(sections);
    if (sections.size() != 1000) {
        state.SkipWithError("the catalogue did not list 1000 sections");
        return;
    }
    for (auto _ : state) {
        catalogue.ReadSections(sections);
        benchmark::DoNotOptimize(sections);
    }
}
BENCHMARK(BM_ReadSections1000)->Unit(benchmark::kMicrosecond);

// The main window lists every aircraft in its selector when it is built.
void BM_Form1Construct1000(benchmark::State& state)
{
    UseCatalogue(ListCatalogue());
    for (auto _ : state) {
        TForm1 form;
        benchmark::DoNotOptimize(form.ComboBox1);
        state.PauseTiming();
        if (form.ComboBox1->count() != 1000)
            state.SkipWithError("the selector did not list 1000 aircraft");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Form1Construct1000)->Unit(benchmark::kMicrosecond);

// Start-up in the program's order with the bundled catalogue, up to the main
// window shown and painted (the application object already exists).
void BM_StartUp(benchmark::State& state)
{
    UseCatalogue(BundledCatalogue());
    for (auto _ : state) {
        Application->LoadIcon(QStringLiteral("icon.ico"));
        Application->SetTitle(QStringLiteral("Trimwise"));
        Application->SetHelpFile(QStringLiteral("trx.chm"));
        auto form1 = std::make_unique<TForm1>();
        Form1 = form1.get();
        auto okBottomDlg = std::make_unique<TOKBottomDlg>();
        OKBottomDlg = okBottomDlg.get();
        auto form2 = std::make_unique<TForm2>();
        Form2 = form2.get();
        form2->setAttribute(Qt::WA_QuitOnClose, false);
        ShowAndWait(*form1);
        state.PauseTiming();
        form2.reset();
        Form2 = nullptr;
        okBottomDlg.reset();
        OKBottomDlg = nullptr;
        form1.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    // The offscreen platform reports every fixed-size change of a shown
    // window; the load makes one each run. icon.ico is read from the working
    // folder, as by the program.
    return QtBenchmarkMain::Run<TApplication>(argc, argv, QLatin1String("propagateSizeHints"), [] {
        QDir::setCurrent(QStringLiteral(TRX_BIN_DIR));
    });
}
