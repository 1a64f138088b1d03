// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/AircraftLoad.h"
#include "core/Balance.h"
#include "core/FlightJudgement.h"
#include "core/LoadingJudgement.h"
#include "core/MemorySheet.h"
#include "sheet/SheetPdf.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <csignal>
#include <optional>
#include <sys/resource.h>

namespace {

// The bundled Trainer with the slot weights given, loaded and judged as the
// sheet command does it; 30 kg of fuel burnt in flight, weight limits of
// 850 kg at the ramp (above the envelope), 800 at take-off and 750 at landing.
LoadingSheet Trainer(const QString& slotWeights)
{
    const QHash<QString, QString> keys = {{"Make", "Generic"},
                                          {"Model", "T2"},
                                          {"Slots", "4"},
                                          {"SlotsNames", "Empty aircraft;Pilot;Passenger;Fuel;"},
                                          {"SlotsWeight", slotWeights},
                                          {"SlotsMaxWeight", "520;120;120;110;"},
                                          {"SlotsPos", "0.95;0.94;0.94;1.22;"},
                                          {"SlotsMinPos", "0.95;0.90;0.90;1.22;"},
                                          {"SlotsMaxPos", "0.95;1.00;1.00;1.22;"},
                                          {"MaxWeight", "800"},
                                          {"Unit", "1"},
                                          {"EnvelopePoints", "5"},
                                          {"EnvelopeX", "450;600;820;700;450;"},
                                          {"EnvelopeY", "500;500;800;800;500;"}};
    const QString header[sheetColumns] = {"Item", "Weight", "Max weight", "Position", "Torque"};
    MemorySheet grid(firstSlotRow);
    for (int c = 0; c < sheetColumns; ++c) {
        grid.SetCell(c, 0, header[c]);
        grid.SetCell(c, 1, UnitLabel(SheetColumn(c), false));
    }
    LoadingSheet sheet;
    AircraftState state;
    const LoadOutcome outcome = LoadAircraft(
        "Trainer", [&](CatalogueKey key) { return keys.value(KeyName(key)); }, grid, state,
        sheet.envelope, sheet.loadPath);
    if (!outcome.Completed())
        qFatal("the Trainer did not load: %s", qPrintable(outcome.errorBox));
    sheet.section = "Trainer";
    sheet.make = "Generic";
    sheet.model = "T2";
    sheet.caption = state.caption;
    for (int r = 0; r < grid.RowCount(); ++r) {
        std::array<QString, sheetColumns> row;
        for (int c = 0; c < sheetColumns; ++c)
            row[size_t(c)] = grid.Cell(c, r);
        sheet.rows << row;
    }
    sheet.judgement = EvaluateLoading(state, sheet.loadPath);
    const int fuel = firstSlotRow + 3;
    sheet.flight = JudgeFlight(grid, state, ConditionLimits{850, 800, 750, std::nullopt}, {fuel},
                               {}, {FuelUse{fuel, 30}});
    sheet.when = QDateTime(QDate(2026, 12, 8), QTime(20, 41), QTimeZone::utc());
    return sheet;
}

// The program's standard output; nothing when it fails.
std::optional<QByteArray> Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

// How many pixels of `image` are near `color`.
int Pixels(const QImage& image, const QColor& color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::abs(c.red() - color.red()) + std::abs(c.green() - color.green()) +
                         std::abs(c.blue() - color.blue()) <
                     40;
        }
    }
    return count;
}

// Every entry under `folder` with its contents, to show that nothing changed.
QStringList Snapshot(const QString& folder)
{
    QStringList out;
    for (const QFileInfo& entry :
         QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        QFile file(entry.filePath());
        out << entry.fileName() +
                   (entry.isFile() && file.open(QIODevice::ReadOnly) ? "=" + file.readAll() : "/");
    }
    return out;
}

enum class Refusal
{
    MissingFolder,
    FolderIsAFile,
    TargetIsAFolder,
    WriteFails
};

} // namespace

Q_DECLARE_METATYPE(Refusal)

class tst_SheetPdf : public QObject
{
    Q_OBJECT
private slots:
    // One page of the paper asked for, whose text holds the sheet's figures
    // as the JSON gives them, in embedded fonts, with the chart drawn.
    void page_data()
    {
        QTest::addColumn<QPageSize::PageSizeId>("paper");
        QTest::addColumn<QString>("slotWeights");
        QTest::addColumn<QString>("pilot");
        QTest::addColumn<QString>("registration");
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("A4, within limits, pilot and registration")
            << QPageSize::A4 << "520;80;0;60;"
            << "Jane Doe"
            << "F-ABCD" << QStringList{} << "(A4)"
            << QStringList{"Generic T2 \u2014 Trainer",
                           "Date: 2026-12-08 20:41 UTC",
                           "Pilot: Jane Doe",
                           "Registration: F-ABCD",
                           "Total 660.0 0.973 642.4",
                           "Total weight: 660.0 kg",
                           "Total moment: 642.4 Nm",
                           "Centre of gravity: 0.973 m",
                           "Limits at 660.0 kg: moment 583.3 to 717.3 Nm, CG 0.884 to 1.087 m",
                           "Margins: 59.1 Nm (0.089 m) to the lower limit, 74.9 Nm (0.114 m)",
                           "Verdict: WITHIN LIMITS",
                           "Whole flight: WITHIN LIMITS",
                           "Ramp 660.0 642.4 0.973 0.884 to 1.087 850.0 (190.0 under) inside",
                           "Landing 630.0 605.8 0.962 0.886 to 1.104 750.0 (120.0 under) inside",
                           "Fuel burn, take-off to landing: within limits",
                           "On to zero fuel, landing to zero fuel: within limits",
                           "Ramp limit 850.0 kg",
                           "Take-off limit 800.0 kg",
                           "Pilot in command's signature",
                           "Loading supervisor's signature"}
            << QStringList{"OUTSIDE", "Page 1"};
        QTest::newRow("Letter, outside limits, warnings, nobody named")
            << QPageSize::Letter << "520;120;120;110;"
            << ""
            << "" << QStringList{"Overweight in some positions!", "Overweight: 870/800"}
            << "(letter)"
            << QStringList{"Total weight: 870.0 kg",
                           "Verdict: OUTSIDE LIMITS",
                           "Whole flight: OUTSIDE LIMITS",
                           "none, the envelope does not reach this weight",
                           "Take-off 870.0 853.8 0.981 none 800.0 (70.0 over) outside; over the "
                           "weight limit",
                           "Overweight in some positions!",
                           "Overweight: 870/800",
                           "Pilot in command's signature"}
            << QStringList{"Pilot:", "Registration:", "WITHIN"};
        // 800 kg is the envelope's highest weight: on its top edge, which is
        // within limits.
        QTest::newRow("A4, on the envelope's highest weight")
            << QPageSize::A4 << "520;120;100;60;"
            << ""
            << "" << QStringList{} << "(A4)"
            << QStringList{"Total weight: 800.0 kg",
                           "Limits at 800.0 kg: moment 700.0 to 820.0 Nm, CG 0.875 to 1.025 m",
                           "Verdict: WITHIN LIMITS, ON THE ENVELOPE'S HIGHEST WEIGHT",
                           "Whole flight: OUTSIDE LIMITS"}
            << QStringList{"Verdict: OUTSIDE"};
    }
    void page()
    {
        QFETCH(QPageSize::PageSizeId, paper);
        QFETCH(QString, slotWeights);
        QFETCH(QString, pilot);
        QFETCH(QString, registration);
        QFETCH(QStringList, warnings);
        QFETCH(QString, size);
        QFETCH(QStringList, words);
        QFETCH(QStringList, absent);
        LoadingSheet sheet = Trainer(slotWeights);
        sheet.pilot = pilot;
        sheet.registration = registration;
        sheet.warnings = warnings;
        QTemporaryDir dir;
        const QString path = dir.filePath("sheet.pdf");
        QCOMPARE(WriteSheetPdf(sheet, path, paper), QString());

        const auto pdfinfo = Run("pdfinfo", {path});
        QVERIFY(pdfinfo);
        const QString info = QString::fromUtf8(*pdfinfo);
        const auto line = [&info](const QString& pattern) {
            return info.contains(QRegularExpression(pattern, QRegularExpression::MultilineOption));
        };
        QVERIFY2(line("^Pages: +1$"), qPrintable(info));
        QVERIFY2(line("^Page size: .*" + QRegularExpression::escape(size)), qPrintable(info));

        // One line a visual line; runs of spaces stand for the table's rules.
        const auto layout = Run("pdftotext", {"-layout", path, "-"});
        QVERIFY(layout);
        const QString text = QString::fromUtf8(*layout).simplified();
        for (const auto& row : sheet.rows) {
            QString cells;
            for (const QString& cell : row)
                cells += (cells.isEmpty() ? "" : " ") + cell;
            QVERIFY2(text.contains(cells), qPrintable(cells + " not in: " + text));
        }
        for (const QString& word : words)
            QVERIFY2(text.contains(word), qPrintable(word + " not in: " + text));
        for (const QString& word : absent)
            QVERIFY2(!text.contains(word), qPrintable(word + " in: " + text));

        const auto fontList = Run("pdffonts", {path});
        QVERIFY(fontList);
        const QStringList fonts =
            QString::fromUtf8(*fontList).split('\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!fonts.isEmpty());
        for (const QString& font : fonts)
            QVERIFY2(font.contains(QRegularExpression(" yes +(yes|no) +(yes|no) +\\d+ +\\d+$")),
                     qPrintable(font));

        // The envelope's red edges are on the page, and the flight's take-off,
        // landing and zero fuel each in its colour: on the chart and in the
        // legend, each about 16 pixels at 60 dpi.
        const auto png = Run("pdftoppm", {"-png", "-r", "60", "-singlefile", path});
        QVERIFY(png);
        const QImage image = QImage::fromData(*png, "PNG");
        QVERIFY(!image.isNull());
        int red = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 230 && c.green() < 60 && c.blue() < 60;
            }
        }
        QVERIFY2(red > 50, qPrintable(QString::number(red)));
        for (const QColor& mark : {QColor(0, 150, 0), QColor(235, 125, 0), QColor(150, 0, 180)})
            QVERIFY2(Pixels(image, mark) > 24, qPrintable(mark.name()));
    }

    // A page that cannot be written leaves no file, and a file it would have
    // replaced stays as it was.
    void refusal_data()
    {
        QTest::addColumn<Refusal>("refusal");
        QTest::newRow("missing folder") << Refusal::MissingFolder;
        QTest::newRow("folder is a file") << Refusal::FolderIsAFile;
        QTest::newRow("target is a folder") << Refusal::TargetIsAFolder;
        QTest::newRow("write fails half-way") << Refusal::WriteFails;
    }
    void refusal()
    {
        QFETCH(Refusal, refusal);
        QTemporaryDir dir;
        QFile old(dir.filePath("sheet.pdf"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("the last sheet") > 0);
        old.close();
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        QString path;
        switch (refusal) {
        case Refusal::MissingFolder:
            path = dir.filePath("missing/sheet.pdf");
            break;
        case Refusal::FolderIsAFile:
            path = dir.filePath("sheet.pdf/sheet.pdf");
            break;
        case Refusal::TargetIsAFolder:
            path = dir.filePath("folder");
            break;
        case Refusal::WriteFails:
            path = dir.filePath("sheet.pdf");
            break;
        }
        const QStringList before = Snapshot(dir.path());
        const LoadingSheet sheet = Trainer("520;80;0;60;");

        // Past a few kilobytes every write fails, even for root.
        rlimit limit{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit saved = limit;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (refusal == Refusal::WriteFails) {
            limit.rlim_cur = 4096;
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
        }
        const QString error = WriteSheetPdf(sheet, path, QPageSize::A4);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(!error.isEmpty());
        QCOMPARE(Snapshot(dir.path()), before);
    }
};

QTEST_MAIN(tst_SheetPdf)
#include "tst_SheetPdf.moc"
