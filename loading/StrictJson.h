// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>

// A JSON text read strictly, for files that come from anywhere: one value,
// RFC 8259 to the letter, UTF-8 only, and nothing JSON allows but a reader
// should not guess at.

// Objects and arrays nest at most this deep, and an object has at most this
// many members: more than any file read so holds, and a bound on the work.
constexpr int MaxJsonDepth = 16;
constexpr int MaxJsonMembers = 64;

// Reads `bytes` into `value`. False, with `why` naming where (a path as
// "$.changes[2].slot", or a line and column) and what is wrong, for anything
// that is not one JSON value, a key that appears twice in one object, a NUL
// character in a text, a number beyond the range of a double, nesting
// deeper than MaxJsonDepth, or an object of more than MaxJsonMembers. Takes time and memory in
// proportion to the size.
bool ReadStrictJson(const QByteArray& bytes, QJsonValue& value, QString& why);

// "$", "$.a", "$.a[3]": a path into a JSON value; `name` is a key, `index` an
// element (when `name` is null).
QString JsonPathStep(const QString& path, const QString& name, qsizetype index = -1);
