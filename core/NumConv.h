// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Extended.h"

#include <QChar>
#include <QLocale>
#include <QString>

#include <string>

// The one decimal separator used for reading and writing numbers. It follows
// the user's locale; tests may set it.
QChar DecimalSeparator();
void SetDecimalSeparator(QChar separator);
// The user's locale for numbers (LC_ALL, else LC_NUMERIC, else LANG).
QLocale UserNumericLocale();
// Reads the separator again from the user's locale ("." when it gives none).
void ReadDecimalSeparatorFromLocale();

// Text to number at extended precision. Throws EConvertError with
// "'<text>' is not a valid floating point value".
Extended StrToFloat(const QString& text);
// The same without the exception; returns false when the text is not a number.
bool TryStrToFloat(const QString& text, Extended& value);
// The number a text names, as "[-]<digits>e[-]<exponent>" (ReadExtended's
// input), with `separator` as the decimal separator; false when the text is
// not a number.
bool NumberDigits(const QString& text, QChar separator, std::string& digits);

// Number to text: 15 significant digits, rounded half away from zero,
// trailing zeros dropped; fixed notation from 0.0001 up to 10^15, else
// scientific ("1E-5", "1.5E20"); "INF", "-INF", "NAN".
QString FloatToStr(double value);
