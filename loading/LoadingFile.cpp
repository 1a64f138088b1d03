// SPDX-License-Identifier: GPL-3.0-or-later
#include "loading/LoadingFile.h"

#include "core/FuelAmount.h"
#include "core/IniSyntax.h"
#include "core/RegularFile.h"
#include "loading/AircraftData.h"
#include "loading/LoadingSchema.h"
#include "loading/StrictJson.h"

#include <QCryptographicHash>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString MadeFormat = QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'");

LoadingRead Fault(LoadingFault fault, const QString& why)
{
    LoadingRead read;
    read.fault = fault;
    read.why = why;
    return read;
}

QString Text(const QJsonObject& object, const char* name)
{
    const QJsonValue v = object.value(QLatin1String(name));
    // A text given empty stays empty, not null: "not given" is its absence.
    return v.isString() ? (v.toString().isNull() ? QStringLiteral("") : v.toString()) : QString();
}

QString FuelText(const QJsonObject& amount)
{
    const QString unit = amount.value(QStringLiteral("unit")).toString();
    return amount.value(QStringLiteral("amount")).toString() +
           (unit == u"weight" ? QString() : unit);
}

QJsonObject FuelObject(const QString& text)
{
    QString number;
    QString unit;
    SplitFuelText(text, number, unit);
    return QJsonObject{{QStringLiteral("amount"), number}, {QStringLiteral("unit"), unit}};
}

bool IsFingerprint(const QString& text)
{
    if (text.size() != 64)
        return false;
    for (QChar c : text)
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')))
            return false;
    return true;
}

QList<SavedFuelUse> FuelUses(const QJsonArray& uses)
{
    QList<SavedFuelUse> list;
    for (const QJsonValue& v : uses) {
        const QJsonObject use = v.toObject();
        list.append({use.value(QStringLiteral("slot")).toString(), FuelText(use)});
    }
    return list;
}

QJsonArray FuelUsesJson(const QList<SavedFuelUse>& uses)
{
    QJsonArray list;
    for (const SavedFuelUse& use : uses) {
        QJsonObject o = FuelObject(use.amount);
        o.insert(QStringLiteral("slot"), use.slot);
        list.append(o);
    }
    return list;
}

void AddCanonical(QByteArray& form, const QString& text)
{
    form += text.isNull() ? QByteArray("-") : CanonicalText(text);
}

} // namespace

QString LoadingTimeText(const QDateTime& when)
{
    return when.toUTC().toString(MadeFormat);
}

QString ChangeKindName(SavedChange::Kind kind)
{
    switch (kind) {
    case SavedChange::Kind::Weight:
        return QStringLiteral("weight");
    case SavedChange::Kind::Arm:
        return QStringLiteral("arm");
    case SavedChange::Kind::Fuel:
        break;
    }
    return QStringLiteral("fuel");
}

void SplitFuelText(const QString& text, QString& number, QString& unit)
{
    const FuelUnit read = SplitFuelUnit(text, number);
    unit = read == FuelUnit::Weight ? QStringLiteral("weight") : FuelUnitSymbol(read);
}

bool LooksLikeLoadingFile(const QByteArray& bytes)
{
    qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < bytes.size() &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return i < bytes.size() && bytes[i] == '{';
}

LoadingRead ReadLoadingFile(const QByteArray& path)
{
    RegularFile file(path);
    if (!file.IsOpen())
        return Fault(LoadingFault::Unreadable, file.ErrorText());
    if (file.Size() > MaxLoadingFileBytes)
        return Fault(LoadingFault::Unreadable,
                     QStringLiteral("%1 bytes: a loading file holds at most %2")
                         .arg(file.Size())
                         .arg(MaxLoadingFileBytes));
    QByteArray bytes;
    if (!file.ReadAll(bytes, MaxLoadingFileBytes + 1))
        return Fault(LoadingFault::Unreadable, file.ErrorText());
    if (bytes.size() > MaxLoadingFileBytes)
        return Fault(LoadingFault::Unreadable,
                     QStringLiteral("more than %1 bytes: too large for a loading file")
                         .arg(MaxLoadingFileBytes));
    return ReadLoadingBytes(bytes);
}

LoadingRead ReadLoadingBytes(const QByteArray& bytes)
{
    QJsonValue value;
    QString why;
    if (!ReadStrictJson(bytes, value, why))
        return Fault(LoadingFault::NotJson, why);
    // A later layout is refused by name, before its fields are judged by
    // this one's schema.
    const QJsonValue version = value.toObject().value(QStringLiteral("format_version"));
    if (version.isDouble() && version.toDouble() > LoadingFormatVersion)
        return Fault(LoadingFault::NewerFormat,
                     QStringLiteral("format_version %1 is newer than this program reads (%2)")
                         .arg(version.toDouble())
                         .arg(LoadingFormatVersion));
    if (!FitsLoadingSchema(value, why))
        return Fault(LoadingFault::Schema, why);

    const QJsonObject root = value.toObject();
    LoadingRead read;
    SavedLoading& l = read.loading;
    l.formatVersion = root.value(QStringLiteral("format_version")).toInt();
    const QString made = root.value(QStringLiteral("made")).toString();
    l.made = QDateTime::fromString(made, MadeFormat);
    l.made.setTimeSpec(Qt::UTC);
    if (!l.made.isValid() || l.made.toString(MadeFormat) != made)
        return Fault(LoadingFault::Schema,
                     QStringLiteral("$.made: expected a time in UTC as 2026-12-09T05:31:40Z"));
    l.aircraft = root.value(QStringLiteral("aircraft")).toString();
    l.decimalSeparator = root.value(QStringLiteral("decimal_separator")).toString().front();

    const QJsonObject data = root.value(QStringLiteral("aircraft_data")).toObject();
    const QJsonArray entries = data.value(QStringLiteral("entries")).toArray();
    QHash<QString, qsizetype> first;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QJsonObject e = entries[i].toObject();
        const IniEntry entry{e.value(QStringLiteral("key")).toString(), Text(e, "text")};
        const QString name = IniNameKey(entry.key);
        if (first.contains(name))
            return Fault(LoadingFault::Schema,
                         QStringLiteral("$.aircraft_data.entries[%1].key: the key of "
                                        "entries[%2] again")
                             .arg(i)
                             .arg(first.value(name)));
        first.insert(name, i);
        l.data.append(entry);
    }
    l.dataFingerprint = data.value(QStringLiteral("fingerprint")).toString();
    if (!IsFingerprint(l.dataFingerprint))
        return Fault(LoadingFault::Schema,
                     QStringLiteral("$.aircraft_data.fingerprint: expected 64 lower-case "
                                    "hexadecimal digits"));

    for (const QJsonValue& v : root.value(QStringLiteral("changes")).toArray()) {
        const QJsonObject c = v.toObject();
        SavedChange change;
        change.slot = c.value(QStringLiteral("slot")).toString();
        if (c.contains(QStringLiteral("fuel"))) {
            change.kind = SavedChange::Kind::Fuel;
            change.text = FuelText(c.value(QStringLiteral("fuel")).toObject());
        } else {
            change.kind = c.value(QStringLiteral("column")).toString() == u"arm"
                              ? SavedChange::Kind::Arm
                              : SavedChange::Kind::Weight;
            change.text = Text(c, "text");
        }
        l.changes.append(change);
    }
    l.taxi = FuelUses(root.value(QStringLiteral("taxi")).toArray());
    l.burn = FuelUses(root.value(QStringLiteral("burn")).toArray());
    l.pilot = Text(root, "pilot");
    l.registration = Text(root, "registration");
    l.flight = Text(root, "flight");
    l.from = Text(root, "from");
    l.to = Text(root, "to");
    l.preparedBy = Text(root, "prepared_by");

    if (AircraftDataFingerprint(l.data) != l.dataFingerprint) {
        read.fault = LoadingFault::Fingerprint;
        read.why = QStringLiteral("the aircraft data's fingerprint %1 is not that of the data it "
                                  "holds (%2): the file was changed or damaged")
                       .arg(ShortFingerprint(l.dataFingerprint),
                            ShortFingerprint(AircraftDataFingerprint(l.data)));
    }
    return read;
}

QByteArray LoadingFileBytes(const SavedLoading& l)
{
    QJsonArray entries;
    for (const IniEntry& e : l.data)
        entries.append(
            QJsonObject{{QStringLiteral("key"), e.key}, {QStringLiteral("text"), e.value}});
    QJsonArray changes;
    for (const SavedChange& c : l.changes) {
        QJsonObject o{{QStringLiteral("slot"), c.slot}};
        if (c.kind == SavedChange::Kind::Fuel) {
            o.insert(QStringLiteral("fuel"), FuelObject(c.text));
        } else {
            o.insert(QStringLiteral("column"), ChangeKindName(c.kind));
            o.insert(QStringLiteral("text"), c.text);
        }
        changes.append(o);
    }
    QJsonObject root{{QStringLiteral("format_version"), l.formatVersion},
                     {QStringLiteral("made"), LoadingTimeText(l.made)},
                     {QStringLiteral("aircraft"), l.aircraft},
                     {QStringLiteral("decimal_separator"), QString(l.decimalSeparator)},
                     {QStringLiteral("aircraft_data"),
                      QJsonObject{{QStringLiteral("entries"), entries},
                                  {QStringLiteral("fingerprint"), l.dataFingerprint}}},
                     {QStringLiteral("changes"), changes},
                     {QStringLiteral("taxi"), FuelUsesJson(l.taxi)},
                     {QStringLiteral("burn"), FuelUsesJson(l.burn)}};
    const std::pair<const char*, const QString*> texts[] = {
        {"pilot", &l.pilot},   {"registration", &l.registration},
        {"flight", &l.flight}, {"from", &l.from},
        {"to", &l.to},         {"prepared_by", &l.preparedBy}};
    for (const auto& [name, text] : texts)
        if (!text->isNull())
            root.insert(QLatin1String(name), *text);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QString LoadingFingerprint(const SavedLoading& l)
{
    QByteArray form = CanonicalText(QStringLiteral("trimwise-loading"));
    AddCanonical(form, QString::number(l.formatVersion));
    AddCanonical(form, l.aircraft);
    AddCanonical(form, l.dataFingerprint);
    AddCanonical(form, QString(l.decimalSeparator));
    AddCanonical(form, QStringLiteral("changes"));
    AddCanonical(form, QString::number(l.changes.size()));
    for (const SavedChange& c : l.changes) {
        AddCanonical(form, ChangeKindName(c.kind));
        AddCanonical(form, c.slot);
        if (c.kind == SavedChange::Kind::Fuel) {
            QString number;
            QString unit;
            SplitFuelText(c.text, number, unit);
            AddCanonical(form, number);
            AddCanonical(form, unit);
        } else {
            AddCanonical(form, c.text);
        }
    }
    for (const auto& [name, uses] : {std::pair{"taxi", &l.taxi}, std::pair{"burn", &l.burn}}) {
        AddCanonical(form, QLatin1String(name));
        AddCanonical(form, QString::number(uses->size()));
        for (const SavedFuelUse& use : *uses) {
            QString number;
            QString unit;
            SplitFuelText(use.amount, number, unit);
            AddCanonical(form, use.slot);
            AddCanonical(form, number);
            AddCanonical(form, unit);
        }
    }
    for (const QString* text :
         {&l.pilot, &l.registration, &l.flight, &l.from, &l.to, &l.preparedBy})
        AddCanonical(form, *text);
    return QString::fromLatin1(QCryptographicHash::hash(form, QCryptographicHash::Sha256).toHex());
}
