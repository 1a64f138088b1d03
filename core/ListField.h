// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Extended.h"

#include <QString>
#include <QStringList>

// A list value is a row of fields, each ended by ";". Field 0 runs to the
// first ";". Fields are trimmed of characters 0 to 32 at both ends.

// Field `index` converted with StrToFloat; a missing, empty or malformed
// field throws EConvertError naming the trimmed field.
Extended ListFieldValue(int index, const QString& list);
// Field `index` as trimmed text; empty when missing.
QString ListFieldText(int index, const QString& list);
// Every field of the list at once, trimmed: entry i is ListFieldText(i, list)
// for every i below the size, and every later field is missing. One pass.
QStringList ListFields(const QString& list);
