// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/LoadingSheetRun.h"

#include "platform/IniFile.h"
#include "sheet/AircraftChoice.h"
#include "sheet/CatalogueChoice.h"
#include "sheet/ComputeLoadingSheet.h"

#include <QDateTime>
#include <QFile>

LoadingSheetRun RunLoadingSheet(const SheetOptions& options, const QString& appDirFromBinDir)
{
    LoadingSheetRun run;
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

    QStringList closest;
    const QString section = ChooseAircraft(names, options.aircraft, closest);
    if (section.isEmpty()) {
        run.failure = MakeSheetFailure(SheetFailureKind::Aircraft,
                                       NoAircraftMessage(options.aircraft, closest));
        run.failure.closest = closest;
        return run;
    }

    const CatalogueValue value = [&](CatalogueKey key) {
        return catalogue.ReadString(section, KeyName(key), QString());
    };
    LoadingSheet& sheet = run.sheet;
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
    if (ComputeLoadingSheet(section, value, options, sheet, run.failure))
        run.result = LoadingSheetRun::Result::Sheet;
    return run;
}
