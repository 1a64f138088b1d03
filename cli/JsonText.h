// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A JSON string literal, quotes included, in UTF-8. Besides what JSON
// requires ('"', '\\' and C0 controls), DEL, C1 controls and the invisible
// format characters (bidirectional controls among them) are written as
// \uHHHH, so that a terminal showing the JSON sees none of them raw; half a
// surrogate pair becomes U+FFFD.
QByteArray JsonString(const QString& text);

// A file name or other bytes of the file system as a JSON string: UTF-8 as
// it is, any byte that is not UTF-8 as U+FFFD.
QByteArray JsonBytes(const QByteArray& bytes);

// `text` as a JSON string, or null when `present` is false.
QByteArray JsonNullable(bool present, const QString& text);

// A number as both commands' JSON writes it: FloatToStr's digits, the
// program's own, with a decimal point whatever the user's separator; null
// for infinity or NaN, which JSON has no number for, and for none.
QByteArray JsonNumber(double value);
QByteArray JsonNumber(const std::optional<double>& value);
