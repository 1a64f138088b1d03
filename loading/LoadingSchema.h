// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>

// The published JSON Schema of a saved loading (loading.schema.json, built
// in), and the check of a value against it.

QByteArray LoadingSchemaText();

// True when `value` fits the schema; else false with `why`: the JSON path of
// the first part that does not ("$.changes[0].text") and what it should be.
bool FitsLoadingSchema(const QJsonValue& value, QString& why);
