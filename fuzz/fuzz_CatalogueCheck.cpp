// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a catalogue for trx-check: no crash, no hang, JSON that always
// parses and counts what it lists, and the checker's view of the catalogue
// the same as the program's reader's.

#include "CatalogueCheck.h"
#include "CatalogueIndex.h"
#include "CheckReport.h"
#include "FuzzSupport.h"
#include "IniFile.h"
#include "NumConv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Every read of the reader is one pass over the file: a few aircraft are enough.
constexpr qsizetype MaxSectionsRead = 8;

void CheckJson(const QByteArray& json, const CatalogueCheck& check)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    Fuzz::Check(!document.isNull() && document.isObject(), "JSON that does not parse",
                error.errorString());
    const QJsonObject top = document.object();
    Fuzz::Check(top.value(QStringLiteral("findings")).toArray().size() ==
                    check.Errors() + check.Warnings(),
                "JSON lists another number of findings than it counts");
    Fuzz::Check(top.value(QStringLiteral("summary")).toArray().size() == check.Aircraft().size(),
                "JSON summary misses aircraft");
}

// The checker sees the sections the selector lists and the values a load reads.
void CheckAgainstReader(const QByteArray& bytes)
{
    const CatalogueIndex index(bytes);
    const TIniFile ini(Fuzz::WriteScratch(bytes, ".ini"));
    QStringList listed;
    ini.ReadSections(listed);
    QStringList indexed;
    for (const CatalogueSection& s : index.Sections())
        if (s.listed)
            indexed << s.name;
    Fuzz::Check(listed == indexed, "the checker lists other sections than the reader",
                listed.join(u'|') + QStringLiteral(" / ") + indexed.join(u'|'));

    const QString missing = QStringLiteral("\x01missing");
    for (const QString& name : listed.mid(0, MaxSectionsRead)) {
        const int k = index.AircraftNamed(name);
        Fuzz::Check(k >= 0, "a listed section the checker cannot find", name);
        for (int key = 0; key < CatalogueKeyCount; ++key) {
            const CatalogueKey id = static_cast<CatalogueKey>(key);
            const CatalogueEntry* entry = index.Sections()[k].Find(id);
            const QString read = ini.ReadString(name, KeyName(id), missing);
            Fuzz::Check(read == (entry ? entry->value : missing),
                        "the checker reads another value than the reader",
                        QStringLiteral("[%1] %2").arg(name, KeyName(id)));
        }
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
    const QByteArray bytes = Fuzz::Bytes(data, size);
    const CatalogueCheck check(bytes);
    int errors = 0;
    for (const CatalogueFinding& f : check.Findings()) {
        errors += f.severity == FindingSeverity::Error;
        Fuzz::Check(f.boxText.isEmpty() || f.code == QLatin1String("count-too-large") ||
                        f.code == QLatin1String("list-short") ||
                        f.code == QLatin1String("not-a-number"),
                    "an error box quoted by a finding that does not stop the load", f.code);
    }
    Fuzz::Check(errors == check.Errors(), "errors miscounted");

    CheckReport report;
    report.Add(QByteArray("odd\xFF\x01name.ini"), check);
    CheckJson(report.Json(true), check);
    report.Text(true);
    CheckAgainstReader(bytes);
    return 0;
}
