// SPDX-License-Identifier: GPL-3.0-or-later
// List values with every field index: the text of a field must be the
// reference split's, and a value either converts or fails with the
// conversion error only.

#include "FuzzSupport.h"
#include "core/Exceptions.h"
#include "core/ListField.h"
#include "core/NumConv.h"

#include <cstring>

namespace {

QString Trimmed(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= 32)
        ++first;
    while (last > first && text[last - 1].unicode() <= 32)
        --last;
    return text.mid(first, last - first);
}

void CheckIndex(int index, const QString& list, const QStringList& parts)
{
    // split() leaves the text after the last ";" as a final part: it ends no field.
    const qsizetype fields = parts.size() - 1;
    const QString expected = index >= 0 && index < fields ? Trimmed(parts[index]) : QString();
    const QString text = ListFieldText(index, list);
    const QString where = QStringLiteral("index %1 of \"%2\"").arg(index).arg(list);
    Fuzz::Check(text == expected, "ListFieldText differs from the reference split",
                where + QStringLiteral(": got \"") + text + QStringLiteral("\""));

    long double reference = 0;
    const bool convertible = TryStrToFloat(expected, reference);
    try {
        const long double value = ListFieldValue(index, list);
        Fuzz::Check(convertible && value == reference, "ListFieldValue returned a wrong value",
                    where);
    } catch (const EConvertError& e) {
        Fuzz::Check(!convertible, "ListFieldValue refused a number", where);
        Fuzz::Check(e.Message() == QStringLiteral("'") + expected +
                                       QStringLiteral("' is not a valid floating point value"),
                    "wrong conversion message", where + QStringLiteral(": ") + e.Message());
    } catch (...) {
        Fuzz::Fail("ListFieldValue threw something other than EConvertError", where);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    SetDecimalSeparator(QLatin1Char('.'));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Four bytes of index (any int, negative and huge included), then the list.
    int index = 0;
    if (size >= 4) {
        std::memcpy(&index, data, 4);
        data += 4;
        size -= 4;
    }
    const QString list = Fuzz::Text(Fuzz::Bytes(data, size));
    const QStringList parts = list.split(QLatin1Char(';'));
    const int fields = int(parts.size()) - 1;
    CheckIndex(index, list, parts);
    const QStringList all = ListFields(list);
    Fuzz::Check(all.size() == fields, "ListFields counts the fields wrongly", list);
    for (int k = 0; k < fields; ++k)
        Fuzz::Check(all[k] == Trimmed(parts[k]), "ListFields differs from the reference split",
                    QStringLiteral("field %1 of \"%2\"").arg(k).arg(list));
    for (int k = -1; k <= fields + 1; ++k)
        CheckIndex(k, list, parts);
    return 0;
}
