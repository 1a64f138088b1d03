// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a catalogue for trx-check: no crash, no hang, JSON that always
// parses and counts what it lists, and the checker's view of the catalogue
// the same as the program's reader's.

#include "FuzzSupport.h"
#include "check/CatalogueCheck.h"
#include "check/CatalogueIndex.h"
#include "check/JsonReport.h"
#include "check/TextReport.h"
#include "core/IniSyntax.h"
#include "core/NumConv.h"
#include "platform/IniFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

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

// The sections the selector lists, and the values of each aircraft's keys.
struct Sections : CatalogueIndex::Visitor
{
    QStringList listed;
    QHash<QString, QStringList> values; // IniNameKey of an aircraft's name -> value of each key
    void KeyOutside(const CatalogueEntry&) override {}
    void FalseHeader(const CatalogueFalseHeader&) override {}
    void SectionBegins(const CatalogueSection& s) override
    {
        if (s.listed)
            listed << s.name;
    }
    void SectionEnds(const CatalogueSection& s) override
    {
        if (s.kind != CatalogueSection::Kind::Aircraft || values.size() >= MaxSectionsRead)
            return;
        QStringList v;
        for (int key = 0; key < CatalogueKeyCount; ++key) {
            const CatalogueEntry* entry = s.Find(static_cast<CatalogueKey>(key));
            v << (entry ? entry->value : QStringLiteral("\x01missing"));
        }
        values.insert(IniNameKey(s.name), v);
    }
};

// The checker sees the sections the selector lists and the values a load reads.
void CheckAgainstReader(const QByteArray& bytes)
{
    CatalogueIndex index(bytes);
    Sections sections;
    index.Read(sections);
    const TIniFile ini(Fuzz::WriteScratch(bytes, ".ini"));
    QStringList listed;
    ini.ReadSections(listed);
    Fuzz::Check(listed == sections.listed, "the checker lists other sections than the reader",
                listed.join(u'|') + QStringLiteral(" / ") + sections.listed.join(u'|'));

    const QString missing = QStringLiteral("\x01missing");
    for (const QString& name : listed) {
        const auto values = sections.values.constFind(IniNameKey(name));
        if (values == sections.values.cend())
            continue; // beyond the aircraft compared
        for (int key = 0; key < CatalogueKeyCount; ++key) {
            const CatalogueKey id = static_cast<CatalogueKey>(key);
            const QString read = ini.ReadString(name, KeyName(id), missing);
            Fuzz::Check(read == values->at(key), "the checker reads another value than the reader",
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
                        f.code == QLatin1String("not-a-number") ||
                        f.code == QLatin1String("duplicate-section-stops") ||
                        f.code == QLatin1String("no-aircraft"),
                    "an error box quoted by a finding that does not stop the load", f.code);
    }
    Fuzz::Check(errors == check.Errors(), "errors miscounted");

    for (const bool json : {true, false}) {
        QByteArray out;
        const auto write = [&](const QByteArray& bytes) { out += bytes; };
        std::unique_ptr<ReportWriter> report;
        if (json)
            report = std::make_unique<JsonReport>(write, true);
        else
            report = std::make_unique<TextReport>(write, true);
        report->BeginFile(QByteArray("odd\xFF\x01name.ini"));
        const CheckCounts counts = CheckCatalogue(bytes, *report);
        report->End(counts);
        if (json)
            CheckJson(out, check);
    }
    CheckAgainstReader(bytes);
    return 0;
}
