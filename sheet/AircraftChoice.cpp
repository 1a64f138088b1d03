// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/AircraftChoice.h"

#include "cli/ClosestNames.h"

namespace {

// The names offered for one the catalogue does not list.
constexpr int MaxOffered = 5;

QString Listed(const QStringList& names)
{
    QStringList quoted;
    for (const QString& n : names)
        quoted << u'\'' + n + u'\'';
    return quoted.join(QStringLiteral(", "));
}

} // namespace

QString ChooseAircraft(const QStringList& listed, const QString& wanted, QStringList& closest)
{
    closest.clear();
    if (listed.contains(wanted))
        return wanted;
    for (const QString& name : listed)
        if (name.startsWith(wanted, Qt::CaseInsensitive) && !closest.contains(name))
            closest << name;
    if (closest.size() == 1)
        return closest.takeFirst();
    if (closest.isEmpty())
        closest = ClosestNames(wanted, listed, MaxOffered);
    closest = closest.mid(0, MaxOffered);
    return QString();
}

QString NoAircraftMessage(const QString& wanted, const QStringList& closest)
{
    if (closest.isEmpty())
        return QStringLiteral("no aircraft '%1': the catalogue lists none").arg(wanted);
    if (closest.first().startsWith(wanted, Qt::CaseInsensitive))
        return QStringLiteral("'%1' could be %2").arg(wanted, Listed(closest));
    return QStringLiteral("no aircraft '%1'; the closest: %2").arg(wanted, Listed(closest));
}
