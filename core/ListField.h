// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A list value is a row of fields, each ended by ";". Field 0 runs to the
// first ";". Fields are trimmed of characters 0 to 32 at both ends.

// Field `index` converted with StrToFloat; a missing, empty or malformed
// field throws EConvertError naming the trimmed field.
long double ListFieldValue(int index, const QString& list);
// Field `index` as trimmed text; empty when missing.
QString ListFieldText(int index, const QString& list);
