// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/SavedLoadingOptions.h"

#include "core/NumConv.h"
#include "loading/AircraftData.h"

namespace {

// A text from the command line wins; one it did not give keeps the saved one.
QString Text(const QString& given, const QString& saved)
{
    return given.isNull() ? saved : given;
}

} // namespace

SheetOptions WithSavedLoading(const SavedLoading& saved, const SheetOptions& given)
{
    SheetOptions o = given;
    o.edits.clear();
    for (const SavedChange& c : saved.changes) {
        SheetEdit edit;
        edit.slot = c.slot;
        edit.value = c.text;
        edit.fuel = c.kind == SavedChange::Kind::Fuel;
        edit.column = c.kind == SavedChange::Kind::Arm ? colPosition : colWeight;
        const QString name = edit.fuel                          ? QStringLiteral("--fuel")
                             : c.kind == SavedChange::Kind::Arm ? QStringLiteral("--position")
                                                                : QStringLiteral("--weight");
        edit.option = QStringLiteral("%1 %2=%3").arg(name, c.slot, c.text);
        o.edits << edit;
    }
    o.edits << given.edits;
    const auto uses = [](const QList<SavedFuelUse>& list, const char* name) {
        QList<FuelUseOption> out;
        for (const SavedFuelUse& u : list)
            out << FuelUseOption{
                u.slot, u.amount,
                QStringLiteral("%1 %2=%3").arg(QLatin1String(name), u.slot, u.amount)};
        return out;
    };
    o.taxi = uses(saved.taxi, "--taxi") + given.taxi;
    o.burn = uses(saved.burn, "--burn") + given.burn;
    o.pilot = given.hasPilot ? given.pilot : saved.pilot;
    o.hasPilot = given.hasPilot || !saved.pilot.isNull();
    o.registration = given.hasRegistration ? given.registration : saved.registration;
    o.hasRegistration = given.hasRegistration || !saved.registration.isNull();
    o.flight = Text(given.flight, saved.flight);
    o.from = Text(given.from, saved.from);
    o.to = Text(given.to, saved.to);
    o.preparedBy = Text(given.preparedBy, saved.preparedBy);
    o.aircraft = saved.aircraft;
    o.hasAircraft = true;
    return o;
}

SavedLoading SavedLoadingOf(const SheetOptions& options, const QString& aircraft,
                            const QList<IniEntry>& data)
{
    SavedLoading l;
    l.made = QDateTime::currentDateTimeUtc();
    l.made.setTime(QTime(l.made.time().hour(), l.made.time().minute(), l.made.time().second()));
    l.aircraft = aircraft;
    l.decimalSeparator = DecimalSeparator();
    l.data = data;
    l.dataFingerprint = AircraftDataFingerprint(data);
    for (const SheetEdit& e : options.edits)
        l.changes << SavedChange{e.fuel                    ? SavedChange::Kind::Fuel
                                 : e.column == colPosition ? SavedChange::Kind::Arm
                                                           : SavedChange::Kind::Weight,
                                 e.slot, e.value};
    for (const FuelUseOption& u : options.taxi)
        l.taxi << SavedFuelUse{u.slot, u.amount};
    for (const FuelUseOption& u : options.burn)
        l.burn << SavedFuelUse{u.slot, u.amount};
    // Given empty is kept apart from not given.
    const auto given = [](bool has, const QString& text) {
        return has ? (text.isNull() ? QStringLiteral("") : text) : QString();
    };
    l.pilot = given(options.hasPilot, options.pilot);
    l.registration = given(options.hasRegistration, options.registration);
    l.flight = options.flight;
    l.from = options.from;
    l.to = options.to;
    l.preparedBy = options.preparedBy;
    return l;
}
