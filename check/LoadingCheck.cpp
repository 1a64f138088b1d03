// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/LoadingCheck.h"

#include "check/FindingCodes.h"
#include "core/IniSection.h"
#include "core/IniSyntax.h"
#include "loading/AircraftData.h"
#include "loading/LoadingFile.h"

namespace {

class Findings
{
public:
    explicit Findings(FindingSink& sink) : m_sink(sink) {}

    void Add(FindingCode code, const QString& section, const QString& key, const QString& message)
    {
        CatalogueFinding f;
        f.severity = SeverityOf(code);
        f.code = CodeName(code);
        f.inSection = !section.isNull();
        f.section = section;
        f.key = key;
        f.message = message;
        (f.severity == FindingSeverity::Error ? counts.errors : counts.warnings) += 1;
        m_sink.Finding(f);
    }

    CheckCounts counts;

private:
    FindingSink& m_sink;
};

} // namespace

CheckCounts CheckLoadingFile(const QByteArray& bytes, const QByteArray* catalogue,
                             FindingSink& sink)
{
    Findings findings(sink);
    if (bytes.size() > MaxLoadingFileBytes) {
        findings.Add(FindingCode::LoadingSchema, QString(), QString(),
                     QStringLiteral("%1 bytes: a loading file holds at most %2")
                         .arg(bytes.size())
                         .arg(MaxLoadingFileBytes));
        sink.SectionDone();
        return findings.counts;
    }
    const LoadingRead read = ReadLoadingBytes(bytes);
    if (read.fault != LoadingFault::None && read.fault != LoadingFault::Fingerprint) {
        findings.Add(FindingCode::LoadingSchema, QString(), QString(), read.why);
        sink.SectionDone();
        return findings.counts;
    }
    const SavedLoading& saved = read.loading;
    if (read.fault == LoadingFault::Fingerprint)
        findings.Add(FindingCode::LoadingFingerprint, saved.aircraft, QString(), read.why);
    if (catalogue) {
        IniLineReader names(*catalogue);
        const QString section = SavedAircraftSection(ReadIniSectionNames(names), saved.aircraft);
        if (section.isEmpty()) {
            findings.Add(FindingCode::LoadingAircraft, saved.aircraft, QString(),
                         QStringLiteral("the catalogue has no aircraft of this name"));
        } else {
            IniLineReader entries(*catalogue);
            for (const AircraftDataChange& change :
                 CompareAircraftData(saved.data, ReadIniSection(entries, section)))
                findings.Add(FindingCode::LoadingDataChanged, saved.aircraft, change.key,
                             AircraftDataChangeText(change));
        }
    }
    sink.SectionDone();
    return findings.counts;
}
