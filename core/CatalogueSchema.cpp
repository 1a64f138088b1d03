// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CatalogueSchema.h"

#include "core/IniSyntax.h"

#include <QHash>

namespace {

constexpr CatalogueKey None = CatalogueKey::Unknown;
constexpr KeyUse Window = KeyUse::Window;
constexpr KeyUse Flight = KeyUse::Flight;

// The only place the key names are spelled.
const KeySchema Keys[CatalogueKeyCount] = {
    {CatalogueKey::Make, "Make", KeyKind::Text, 0, None, Window},
    {CatalogueKey::Model, "Model", KeyKind::Text, 0, None, Window},
    {CatalogueKey::Slots, "Slots", KeyKind::Count, 0, None, Window},
    {CatalogueKey::SlotsNames, "SlotsNames", KeyKind::TextList, 0, CatalogueKey::Slots, Window},
    {CatalogueKey::SlotsWeight, "SlotsWeight", KeyKind::TextList, 0, CatalogueKey::Slots, Window},
    {CatalogueKey::SlotsMaxWeight, "SlotsMaxWeight", KeyKind::NumberList, 0, CatalogueKey::Slots,
     Window},
    {CatalogueKey::SlotsPos, "SlotsPos", KeyKind::TextList, 0, CatalogueKey::Slots, Window},
    {CatalogueKey::SlotsMinPos, "SlotsMinPos", KeyKind::NumberList, 0, CatalogueKey::Slots, Window},
    {CatalogueKey::SlotsMaxPos, "SlotsMaxPos", KeyKind::NumberList, 0, CatalogueKey::Slots, Window},
    {CatalogueKey::MaxWeight, "MaxWeight", KeyKind::Number, 0, None, Window},
    {CatalogueKey::Unit, "Unit", KeyKind::Integer, 1, None, Window},
    {CatalogueKey::EnvelopePoints, "EnvelopePoints", KeyKind::Count, 1, None, Window},
    {CatalogueKey::EnvelopeX, "EnvelopeX", KeyKind::NumberList, 0, CatalogueKey::EnvelopePoints,
     Window},
    {CatalogueKey::EnvelopeY, "EnvelopeY", KeyKind::NumberList, 0, CatalogueKey::EnvelopePoints,
     Window},
    {CatalogueKey::MaxRampWeight, "MaxRampWeight", KeyKind::Limit, 0, None, Flight},
    {CatalogueKey::MaxLandingWeight, "MaxLandingWeight", KeyKind::Limit, 0, None, Flight},
    {CatalogueKey::MaxZeroFuelWeight, "MaxZeroFuelWeight", KeyKind::Limit, 0, None, Flight},
    {CatalogueKey::FuelSlots, "FuelSlots", KeyKind::SlotList, 0, None, Flight},
    {CatalogueKey::FuelDensity, "FuelDensity", KeyKind::Density, 0, None, Flight},
};

} // namespace

const KeySchema& SchemaOf(CatalogueKey key)
{
    static const KeySchema unknown = {CatalogueKey::Unknown, "", KeyKind::Text, 0, None, Window};
    const int k = static_cast<int>(key);
    return k >= 0 && k < CatalogueKeyCount ? Keys[k] : unknown;
}

QString KeyName(CatalogueKey key)
{
    return QLatin1String(SchemaOf(key).name);
}

CatalogueKey KeyNamed(const QString& name)
{
    static const QHash<QString, CatalogueKey> known = [] {
        QHash<QString, CatalogueKey> keys;
        for (const KeySchema& k : Keys)
            keys.insert(IniNameKey(QLatin1String(k.name)), k.key);
        return keys;
    }();
    return known.value(IniNameKey(name), CatalogueKey::Unknown);
}

bool IsList(CatalogueKey key)
{
    const KeyKind kind = SchemaOf(key).kind;
    return kind == KeyKind::TextList || kind == KeyKind::NumberList || kind == KeyKind::SlotList;
}

QString CountRefusalText(const QString& section, CatalogueKey count, int value)
{
    const bool forSlots = count == CatalogueKey::Slots;
    // One substitution for all: a "%1" inside the section name stays as it is.
    return QStringLiteral("The aircraft \"%1\" cannot be loaded: %2 is %3, but at most %4 %5 can "
                          "be listed")
        .arg(section, KeyName(count), QString::number(value), QString::number(MaxListCount),
             forSlots ? QStringLiteral("slots") : QStringLiteral("envelope points"));
}
