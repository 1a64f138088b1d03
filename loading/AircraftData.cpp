// SPDX-License-Identifier: GPL-3.0-or-later
#include "loading/AircraftData.h"

#include "core/CatalogueSchema.h"
#include "core/IniSyntax.h"

#include <QCryptographicHash>
#include <QHash>

#include <algorithm>
#include <memory>
#include <utility>

QByteArray CanonicalText(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return QByteArray::number(bytes.size()) + ':' + bytes;
}

QString AircraftDataFingerprint(const QList<IniEntry>& entries)
{
    QList<std::pair<QByteArray, QByteArray>> sorted;
    sorted.reserve(entries.size());
    for (const IniEntry& e : entries)
        sorted.append({e.key.toUtf8(), e.value.toUtf8()});
    std::sort(sorted.begin(), sorted.end());
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const auto& [key, text] : sorted) {
        hash.addData(QByteArray::number(key.size()) + ':');
        hash.addData(key);
        hash.addData(QByteArray::number(text.size()) + ':');
        hash.addData(text);
    }
    return QString::fromLatin1(hash.result().toHex());
}

QString ShortFingerprint(const QString& fingerprint, int digits)
{
    return fingerprint.left(digits);
}

QString AircraftDataChangeText(const AircraftDataChange& change)
{
    const auto quoted = [](const QString& text, const char* none) {
        return text.isNull() ? QString::fromLatin1(none) : u'\'' + text + u'\'';
    };
    return QStringLiteral("saved %1, now %2")
        .arg(quoted(change.saved, "nothing (not saved)"),
             quoted(change.current, "nothing (not in the catalogue)"));
}

QList<AircraftDataChange> CompareAircraftData(const QList<IniEntry>& saved,
                                              const QList<IniEntry>& current)
{
    QHash<QString, const IniEntry*> now;
    for (const IniEntry& e : current)
        now.insert(IniNameKey(e.key), &e);
    QList<AircraftDataChange> changes;
    QHash<QString, bool> seen;
    for (const IniEntry& e : saved) {
        const QString name = IniNameKey(e.key);
        seen.insert(name, true);
        const IniEntry* there = now.value(name);
        if (!there)
            changes.append({e.key, e.value, QString()});
        else if (there->value != e.value)
            changes.append({e.key, e.value, there->value});
    }
    for (const IniEntry& e : current)
        if (!seen.contains(IniNameKey(e.key)))
            changes.append({e.key, QString(), e.value});
    return changes;
}

CatalogueValue AircraftDataValue(const QList<IniEntry>& entries)
{
    auto byName = std::make_shared<QHash<QString, QString>>();
    for (const IniEntry& e : entries)
        if (!byName->contains(IniNameKey(e.key)))
            byName->insert(IniNameKey(e.key), e.value);
    return [byName](CatalogueKey key) { return byName->value(IniNameKey(KeyName(key))); };
}

QString SavedAircraftSection(const QStringList& names, const QString& aircraft)
{
    const IniName wanted(aircraft);
    for (const QString& name : names)
        if (wanted.Matches(name.toUtf8()))
            return name;
    return QString();
}
