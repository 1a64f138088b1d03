// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ListField.h"

#include "core/NumConv.h"

namespace {

// Field `index` untrimmed. A field counts only when a ";" ends it; once the
// list runs out of ";" every later field is missing, so one forward scan
// gives what peeling one field at a time would. A negative index names no
// field: it reads as missing.
QString RawField(int index, const QString& list)
{
    if (index < 0)
        return QString();
    qsizetype start = 0;
    for (int k = 0; k < index; ++k) {
        const qsizetype end = list.indexOf(u';', start);
        if (end < 0)
            return QString();
        start = end + 1;
    }
    const qsizetype end = list.indexOf(u';', start);
    if (end < 0)
        return QString();
    return list.mid(start, end - start);
}

QString TrimControls(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= 32)
        ++first;
    while (last > first && text[last - 1].unicode() <= 32)
        --last;
    return text.mid(first, last - first);
}

} // namespace

Extended ListFieldValue(int index, const QString& list)
{
    return StrToFloat(ListFieldText(index, list));
}

QString ListFieldText(int index, const QString& list)
{
    return TrimControls(RawField(index, list));
}

QStringList ListFields(const QString& list)
{
    QStringList fields;
    qsizetype start = 0;
    for (qsizetype end; (end = list.indexOf(u';', start)) >= 0; start = end + 1)
        fields.append(TrimControls(list.mid(start, end - start)));
    return fields;
}
