// SPDX-License-Identifier: GPL-3.0-or-later
#include "loading/LoadingSchema.h"

#include "loading/StrictJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <valijson/adapters/qtjson_adapter.hpp>
#include <valijson/schema.hpp>
#include <valijson/schema_parser.hpp>
#include <valijson/validation_results.hpp>
#include <valijson/validator.hpp>

#include <cmath>
#include <string>
#include <vector>

namespace {

const QJsonObject& SchemaObject()
{
    static const QJsonObject schema = QJsonDocument::fromJson(LoadingSchemaText()).object();
    return schema;
}

const valijson::Schema& Schema()
{
    static const valijson::Schema* schema = [] {
        auto* parsed = new valijson::Schema;
        valijson::SchemaParser parser(valijson::SchemaParser::kDraft7);
        const valijson::adapters::QtJsonAdapter adapter(SchemaObject());
        parser.populateSchema(adapter, *parsed);
        return parsed;
    }();
    return *schema;
}

// The schema's part at `ref` ("#/definitions/name").
QJsonObject Resolve(QJsonObject part)
{
    for (int hops = 0; hops < 8 && part.contains(QStringLiteral("$ref")); ++hops) {
        QJsonValue at = SchemaObject();
        const QStringList steps = part.value(QStringLiteral("$ref")).toString().split(u'/');
        for (qsizetype i = 1; i < steps.size(); ++i)
            at = at.toObject().value(steps[i]);
        part = at.toObject();
    }
    return part;
}

// The schema's part that a value at `steps` ("[changes]", "[0]", ...) must
// fit, followed as far as it goes through properties and items.
QJsonObject PartAt(const std::vector<std::string>& steps)
{
    QJsonObject part = SchemaObject();
    for (size_t i = 1; i < steps.size(); ++i) {
        part = Resolve(part);
        const QString step = QString::fromStdString(steps[i]).mid(1).chopped(1);
        if (part.contains(QStringLiteral("items")))
            part = part.value(QStringLiteral("items")).toObject();
        else
            part = part.value(QStringLiteral("properties")).toObject().value(step).toObject();
    }
    return Resolve(part);
}

QString TypeName(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("a boolean");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("a text");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

bool IsType(const QJsonValue& value, const QString& type)
{
    if (type == u"integer")
        return value.isDouble() && value.toDouble() == std::trunc(value.toDouble());
    if (type == u"number")
        return value.isDouble();
    if (type == u"string")
        return value.isString();
    if (type == u"array")
        return value.isArray();
    if (type == u"object")
        return value.isObject();
    if (type == u"boolean")
        return value.isBool();
    return type != u"null" || value.isNull();
}

QString Wanted(const QString& type)
{
    if (type == u"integer")
        return QStringLiteral("a whole number");
    if (type == u"string")
        return QStringLiteral("a text");
    if (type == u"array" || type == u"object")
        return QStringLiteral("an ") + type;
    return QStringLiteral("a ") + type;
}

} // namespace

bool FitsLoadingSchema(const QJsonValue& value, QString& why)
{
    valijson::Validator validator;
    valijson::ValidationResults results;
    const valijson::adapters::QtJsonAdapter adapter(value);
    if (validator.validate(Schema(), adapter, &results))
        return true;
    // The first error is the deepest of the first part that does not fit.
    valijson::ValidationResults::Error error;
    results.popError(error);
    QString path = QStringLiteral("$");
    QJsonValue at = value;
    for (size_t i = 1; i < error.context.size(); ++i) {
        const QString step = QString::fromStdString(error.context[i]).mid(1).chopped(1);
        bool number = false;
        const int index = step.toInt(&number);
        if (at.isArray() && number) {
            path = JsonPathStep(path, QString(), index);
            at = at.toArray().at(index);
        } else {
            path = JsonPathStep(path, step);
            at = at.toObject().value(step);
        }
    }
    const QString description = QString::fromStdString(error.description);
    const QJsonObject part = PartAt(error.context);
    const QString type = part.value(QStringLiteral("type")).toString();
    // A value of the wrong type is said so, whichever constraint caught it.
    if (!type.isEmpty() && !IsType(at, type))
        why = QStringLiteral("%1: expected %2, found %3").arg(path, Wanted(type), TypeName(at));
    else if (part.contains(QStringLiteral("enum")) &&
             description.contains(QStringLiteral("enum"), Qt::CaseInsensitive)) {
        QStringList allowed;
        for (const QJsonValue& v : part.value(QStringLiteral("enum")).toArray())
            allowed << QStringLiteral("\"%1\"").arg(v.toString());
        why =
            QStringLiteral("%1: expected one of %2").arg(path, allowed.join(QStringLiteral(", ")));
    } else
        why = path + QStringLiteral(": ") + description;
    return false;
}
