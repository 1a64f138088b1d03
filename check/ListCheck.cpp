// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/ListCheck.h"

#include "check/FindingText.h"
#include "core/Exceptions.h"
#include "core/IniSyntax.h"
#include "core/ListField.h"
#include "core/NumConv.h"

#include <algorithm>
#include <cmath>

namespace {

// Characters 0 to 32 trimmed, as a list field is.
QString TrimmedField(const QString& text)
{
    return ListFields(text + u';').value(0);
}

QString FieldsPhrase(qsizetype n)
{
    return Plural(n, QStringLiteral("field"), QStringLiteral("fields"));
}

AircraftFinding ValueCut(const CatalogueSection& section, const CatalogueEntry& e)
{
    const QString length =
        e.lineCut ? QStringLiteral("more than %1").arg(e.fullChars) : QString::number(e.fullChars);
    QString message = QStringLiteral("the value is %1 characters long, but TRX reads only "
                                     "the first %2")
                          .arg(length)
                          .arg(MaxValueChars);
    if (IsList(e.key)) {
        const qsizetype kept = e.value.count(u';');
        const QString cutField = TrimmedField(e.value.mid(e.value.lastIndexOf(u';') + 1));
        const QString total =
            (e.lineCut ? QStringLiteral("at least ") : QString()) + QString::number(e.fullFields);
        message += QStringLiteral(": the cut falls in field %1").arg(kept + 1);
        if (!cutField.isEmpty())
            message += QStringLiteral(", leaving only %1 of it").arg(Quoted(cutField));
        message += QStringLiteral(", so %1 of its %2 fields remain").arg(kept).arg(total);
    }
    return KeyFinding(section, &e, e.key, FindingCode::ValueCut, message);
}

} // namespace

CountValue ReadCount(const CatalogueSection& section, CatalogueKey key)
{
    CountValue c;
    c.key = key;
    c.entry = section.Find(key);
    int v = 0;
    c.parsed = c.entry && TryParseProfileInteger(c.entry->value, v);
    c.read = c.parsed ? v : DefaultOf(key);
    c.value = std::max(0, c.read);
    return c;
}

QString CountNote(const CountValue& c)
{
    const QString key = KeyName(c.key);
    if (!c.entry)
        return QStringLiteral("%1 is missing, so %2").arg(key).arg(c.value);
    if (!c.parsed)
        return QStringLiteral("%1 %2 is not an integer, so %3")
            .arg(key, Quoted(c.entry->value), QString::number(c.value));
    if (c.read < 0)
        return QStringLiteral("%1 is %2, read as 0").arg(key).arg(c.read);
    return QString();
}

QString CountPhrase(const CountValue& c)
{
    QString phrase =
        c.key == CatalogueKey::Slots
            ? Plural(c.value, QStringLiteral("slot"), QStringLiteral("slots"))
            : Plural(c.value, QStringLiteral("envelope point"), QStringLiteral("envelope points"));
    const QString note = CountNote(c);
    if (!note.isEmpty())
        phrase += QStringLiteral(" (") + note + u')';
    return phrase;
}

CountedList::CountedList(const CatalogueSection& section, CatalogueKey k, int n, bool numeric)
    : key(k), entry(section.Find(k)), count(n)
{
    const QString text = entry ? entry->value : QString();
    fields = ListFields(text);
    tail = TrimmedField(text.mid(text.lastIndexOf(u';') + 1));
    if (!numeric)
        return;
    const int present = std::min<int>(count, int(fields.size()));
    values.assign(static_cast<size_t>(present), 0);
    ok.assign(static_cast<size_t>(present), 0);
    for (int i = 0; i < present; ++i) {
        ok[i] = TryStrToFloat(fields[i], values[i]);
        if (!ok[i] && badCount++ == 0)
            firstBad = i;
    }
}

int CountedList::FirstFailure() const
{
    if (firstBad >= 0)
        return firstBad;
    return Short() ? int(fields.size()) : -1;
}

QString ConversionBox(const QString& field)
{
    try {
        StrToFloat(field);
    } catch (const EConvertError& e) {
        return ErrorBoxText(e.Message());
    }
    return QString();
}

AircraftFindings CheckList(const CatalogueSection& section, const CountedList& list,
                           const QString& countPhrase, LoadPhase phase, int part)
{
    AircraftFindings found;
    if (list.Short()) {
        const int missing = int(list.fields.size());
        QString message;
        if (!list.entry) {
            message = QStringLiteral("missing: there is no field 1 for %1").arg(countPhrase);
        } else {
            message = QStringLiteral("%1 for %2: field %3 is missing")
                          .arg(FieldsPhrase(list.fields.size()), countPhrase,
                               QString::number(missing + 1));
            if (list.entry->fullChars > MaxValueChars || list.entry->lineCut)
                message +=
                    QStringLiteral(" (the value is cut at %1 characters)").arg(MaxValueChars);
            else if (!list.tail.isEmpty())
                message += QStringLiteral(" (%1 after the last ';' is no field: every field "
                                          "needs its ';')")
                               .arg(Quoted(list.tail));
        }
        found << StopFinding(section, list.entry, list.key, FindingCode::ListShort, message,
                             ConversionBox(QString()), {phase, missing, part});
    }
    if (list.firstBad >= 0) {
        const QString& field = list.fields[list.firstBad];
        QString message = field.isEmpty()
                              ? QStringLiteral("field %1 is empty").arg(list.firstBad + 1)
                              : QStringLiteral("field %1 %2 is not a number")
                                    .arg(list.firstBad + 1)
                                    .arg(Quoted(field));
        if (list.badCount > 1)
            message += QStringLiteral(" (%1 more of its fields are not numbers either)")
                           .arg(list.badCount - 1);
        found << StopFinding(section, list.entry, list.key, FindingCode::NotANumber, message,
                             ConversionBox(field), {phase, list.firstBad, part});
    }
    found += CheckListLength(section, list, countPhrase);
    return found;
}

AircraftFindings CheckListLength(const CatalogueSection& section, const CountedList& list,
                                 const QString& countPhrase)
{
    if (list.count <= 0)
        return {};
    const int extra = int(list.fields.size()) - list.count;
    if (extra > 0) {
        QString message =
            QStringLiteral("%1 for %2: ").arg(FieldsPhrase(list.fields.size()), countPhrase);
        message += extra == 1 ? QStringLiteral("field %1 is ignored").arg(list.count + 1)
                              : QStringLiteral("fields %1 to %2 are ignored")
                                    .arg(list.count + 1)
                                    .arg(list.fields.size());
        return {KeyFinding(section, list.entry, list.key, FindingCode::ListLong, message)};
    }
    if (extra == 0 && !list.tail.isEmpty())
        return {KeyFinding(section, list.entry, list.key, FindingCode::ListLong,
                           QStringLiteral("%1 after the last ';' is no field and is ignored: "
                                          "every field needs its ';'")
                               .arg(Quoted(list.tail)))};
    return {};
}

AircraftFindings CheckListRange(const CatalogueSection& section, const CountedList& list,
                                Precision precision, const QString& consequence)
{
    const bool asDouble = precision == Precision::Double;
    int first = -1;
    int count = 0;
    bool infinite = false;
    for (int i = 0; i < int(list.ok.size()); ++i) {
        if (!list.ok[i])
            continue;
        const Extended v = list.values[i];
        const bool inf =
            asDouble ? std::isinf(static_cast<double>(v)) : std::isinf(static_cast<float>(v));
        const bool zero =
            v != 0 && (asDouble ? static_cast<double>(v) == 0 : static_cast<float>(v) == 0);
        if (!inf && !zero)
            continue;
        if (count++ == 0) {
            first = i;
            infinite = inf;
        }
    }
    if (first < 0)
        return {};
    QString message =
        QStringLiteral("field %1 %2 %3 in %4 precision, as the program keeps it")
            .arg(first + 1)
            .arg(Quoted(list.fields[first]),
                 infinite ? QStringLiteral("is infinite") : QStringLiteral("becomes 0"),
                 asDouble ? QStringLiteral("double") : QStringLiteral("single"));
    if (count > 1)
        message += QStringLiteral(" (so do %1 more of its fields)").arg(count - 1);
    if (!consequence.isEmpty())
        message += QStringLiteral(": ") + consequence;
    return {KeyFinding(section, list.entry, list.key, FindingCode::OutOfRange, message)};
}

AircraftFindings CheckValueCuts(const CatalogueSection& section)
{
    AircraftFindings found;
    // Only the first entry of a known key is read: the others are reported
    // as unknown or repeated keys.
    for (const CatalogueEntry& e : section.entries)
        if (e.key != CatalogueKey::Unknown && e.repeats < 0 &&
            (e.fullChars > MaxValueChars || e.lineCut))
            found << ValueCut(section, e);
    return found;
}
