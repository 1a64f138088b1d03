// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/LoadingSheetRun.h"

#include "core/NumConv.h"
#include "loading/LoadingFile.h"
#include "platform/IniFile.h"
#include "sheet/AircraftChoice.h"
#include "sheet/CatalogueChoice.h"
#include "sheet/ComputeLoadingSheet.h"
#include "sheet/SavedLoadingOptions.h"
#include "sheet/SheetFigures.h"

#include <QDateTime>
#include <QFile>

LoadingSheetRun RunLoadingSheet(const SheetOptions& given, const QString& appDirFromBinDir)
{
    LoadingSheetRun run;
    SheetOptions options = given;
    std::optional<SavedLoading> saved;
    if (!given.loading.isEmpty()) {
        LoadingRead read = ReadLoadingFile(given.loading);
        if (!read.Usable()) {
            run.failure = MakeSheetFailure(SheetFailureKind::Loading,
                                           QStringLiteral("cannot use the loading %1: %2")
                                               .arg(QFile::decodeName(given.loading), read.why));
            return run;
        }
        saved = read.loading;
        // Numbers are read and written as they were when it was saved.
        SetDecimalSeparator(saved->decimalSeparator);
        options = WithSavedLoading(*saved, given);
    }

    const QByteArray path = ChooseCatalogue(options.catalogue, appDirFromBinDir, run.failure);
    if (path.isEmpty())
        return run;
    run.catalogue = path;
    const TIniFile catalogue(QFile::decodeName(path));
    QStringList names;
    catalogue.ReadSections(names);

    if (options.list) {
        run.result = LoadingSheetRun::Result::AircraftList;
        run.aircraft = names;
        return run;
    }

    LoadingSheet& sheet = run.sheet;
    QString section;
    QList<IniEntry> data;
    if (saved) {
        sheet.savedOn = saved->made;
        section = SavedAircraftSection(names, saved->aircraft);
        if (section.isEmpty()) {
            if (options.savedData != SavedDataChoice::Saved) {
                run.failure = MakeSheetFailure(
                    SheetFailureKind::Aircraft,
                    QStringLiteral("no aircraft '%1' in %2; the loading holds its data as saved "
                                   "on %3: --use-saved makes the sheet from it")
                        .arg(saved->aircraft, QFile::decodeName(path), SavedOnText(saved->made)));
                return run;
            }
            section = saved->aircraft;
            data = saved->data;
            sheet.fromSavedData = true;
            sheet.aircraftGone = true;
        } else {
            data = catalogue.ReadSectionEntries(section);
            sheet.dataChanges = CompareAircraftData(saved->data, data);
            if (!sheet.dataChanges.isEmpty()) {
                switch (options.savedData) {
                case SavedDataChoice::Refuse:
                    run.failure = MakeSheetFailure(
                        SheetFailureKind::AircraftData,
                        QStringLiteral("[%1] the aircraft's data changed since the loading was "
                                       "saved on %2")
                            .arg(section, SavedOnText(saved->made)));
                    run.failure.aircraft = section;
                    run.failure.dataChanges = sheet.dataChanges;
                    return run;
                case SavedDataChoice::Saved:
                    data = saved->data;
                    sheet.fromSavedData = true;
                    break;
                case SavedDataChoice::Current:
                    break;
                }
            }
        }
    } else {
        QStringList closest;
        section = ChooseAircraft(names, options.aircraft, closest);
        if (section.isEmpty()) {
            run.failure = MakeSheetFailure(SheetFailureKind::Aircraft,
                                           NoAircraftMessage(options.aircraft, closest));
            run.failure.closest = closest;
            return run;
        }
        data = catalogue.ReadSectionEntries(section);
    }

    // The sheet and its fingerprints come from one read of the entry.
    const CatalogueValue value = AircraftDataValue(data);
    // Given but empty stays empty text, not null: the JSON tells them apart.
    if (options.hasPilot)
        sheet.pilot = options.pilot.isNull() ? QStringLiteral("") : options.pilot;
    if (options.hasRegistration)
        sheet.registration =
            options.registration.isNull() ? QStringLiteral("") : options.registration;
    sheet.flightId = options.flight;
    sheet.from = options.from;
    sheet.to = options.to;
    sheet.preparedBy = options.preparedBy;
    sheet.when = QDateTime::currentDateTime();
    run.loading = SavedLoadingOf(options, section, data);
    sheet.dataFingerprint = run.loading.dataFingerprint;
    sheet.loadingFingerprint = LoadingFingerprint(run.loading);
    const QByteArray file = !given.save.isEmpty() ? given.save : given.loading;
    sheet.loadingFile = QFile::decodeName(file);
    if (ComputeLoadingSheet(section, value, options, sheet, run.failure))
        run.result = LoadingSheetRun::Result::Sheet;
    return run;
}
