// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/CatalogueCheck.h"

#include "check/CatalogueIndex.h"
#include "check/FindingCodes.h"
#include "check/FindingText.h"
#include "cli/Utf8.h"
#include "core/AircraftLoad.h"
#include "core/ArrowSeries.h"
#include "core/IniSyntax.h"
#include "core/MemorySheet.h"

#include <algorithm>
#include <limits>

namespace {

// The first place where the bytes are not text the reader can use.
struct TextProblem
{
    qint64 line = 0;
    QString what;
    QString consequence;
    qint64 places = 0;
};

TextProblem ScanText(const QByteArray& bytes)
{
    TextProblem problem;
    const uchar* p = reinterpret_cast<const uchar*>(bytes.constData());
    const uchar* end = p + bytes.size();
    qint64 line = 1;
    while (p < end) {
        const uchar c = *p;
        int length = 1;
        QString what;
        QString consequence;
        if (c == '\n') {
            ++line;
        } else if (c == '\r') {
            ++line;
            if (p + 1 < end && p[1] == '\n')
                length = 2;
        } else if (c == 0) {
            what = QStringLiteral("a NUL byte");
            consequence = QStringLiteral("TRX ends the line there (is this UTF-16 text or a "
                                         "binary file?)");
        } else if ((c < 0x20 && c != '\t') || c == 0x7F) {
            what = QStringLiteral("the control character 0x%1")
                       .arg(QString::number(c, 16).toUpper().rightJustified(2, u'0'));
            consequence = QStringLiteral("a catalogue is plain text, with no control character "
                                         "but the tab");
        } else if (c >= 0x80) {
            char32_t code = 0;
            length = Utf8SequenceLength(p, end, code);
            if (length == 0) {
                length = 1;
                what = QStringLiteral("the byte 0x%1, which is not UTF-8")
                           .arg(QString::number(c, 16).toUpper());
                consequence = QStringLiteral("TRX reads UTF-8 and shows such a byte as "
                                             "\"\uFFFD\"; save the file as UTF-8");
            }
        }
        if (!what.isEmpty() && problem.places++ == 0) {
            problem.line = line;
            problem.what = what;
            problem.consequence = consequence;
        }
        p += length;
    }
    return problem;
}

// "it and the 12 sections after it".
QString SectionsFrom(qint64 after)
{
    return after == 0
               ? QStringLiteral("it")
               : QStringLiteral("it and the %1 after it")
                     .arg(Plural(after, QStringLiteral("section"), QStringLiteral("sections")));
}

// What choosing the selector entry `name` shows when the load reads
// `section` (nullptr: no section, every key missing): the headless load.
LoadOutcome LoadAs(const QString& name, const CatalogueSection* section)
{
    MemorySheet sheet(firstSlotRow);
    AircraftState state;
    TArrowSeries envelope;
    TArrowSeries loadPath;
    return LoadAircraft(
        name,
        [section](CatalogueKey key) {
            const CatalogueEntry* entry = section ? section->Find(key) : nullptr;
            return entry ? entry->value : QString();
        },
        sheet, state, envelope, loadPath);
}

// Reads the catalogue once through the index, checks each section when it
// ends and hands its findings on in file order. A section's findings all lie
// between its header and the next, so sorting them is enough; the not-text
// finding, found by a pass over the bytes first, joins where its line falls.
class Checker : public CatalogueIndex::Visitor
{
public:
    Checker(const QByteArray& bytes, FindingSink& sink)
        : m_bytes(bytes), m_index(bytes), m_sink(sink)
    {
    }

    CheckCounts Run()
    {
        FindNotText();
        m_index.Read(*this);
        if (m_hasNotText)
            EmitNotText();
        if (m_index.ListedCount() == 0)
            NoAircraft();
        m_sink.SectionDone();
        return m_counts;
    }

    void KeyOutside(const CatalogueEntry& e) override
    {
        CatalogueFinding f;
        f.line = f.order = e.line;
        f.key = e.name;
        f.code = CodeName(FindingCode::UnknownKey);
        f.message = QStringLiteral("outside any section: TRX never reads it");
        Emit(f);
    }

    void FalseHeader(const CatalogueFalseHeader& h) override
    {
        const QString owner = m_inSection && m_section.kind == CatalogueSection::Kind::Aircraft
                                  ? QStringLiteral("belong to [%1]").arg(m_section.name)
                                  : QStringLiteral("are never read");
        CatalogueFinding f =
            Wide(FindingSeverity::Warning, h.line, CodeName(FindingCode::Unlisted),
                 (h.cutByNul ? QStringLiteral("this header is cut short by a NUL byte")
                             : QStringLiteral("this header has no closing ']'")) +
                     QStringLiteral(": it is no section, and the lines below it %1").arg(owner));
        // Before the first section nothing else can come between.
        if (m_inSection)
            m_pending.append(f);
        else
            Emit(f);
    }

    void SectionBegins(const CatalogueSection& section) override
    {
        if (!m_inSection && m_hasNotText && m_notText.order < section.line)
            EmitNotText();
        m_inSection = true;
        m_section = section;
        auto wide = [&](FindingSeverity severity, const QString& code, const QString& message) {
            m_pending.append(Wide(severity, section.line, code, message));
            return &m_pending.last();
        };
        if (section.overflows) {
            const QString rest = SectionsFrom(m_index.NamedSectionsAfter(section));
            wide(FindingSeverity::Warning, CodeName(FindingCode::Unlisted),
                 section.kind == CatalogueSection::Kind::Oversized
                     ? QStringLiteral("this section's name is longer than %1 bytes: the "
                                      "selector lists nothing from here on, neither %2")
                           .arg(MaxLineBytes)
                           .arg(rest)
                     : QStringLiteral("the section list is full: the names before this one take "
                                      "%1 of its %2 bytes, so the selector never lists %3")
                           .arg(m_index.ListBytesBeforeOverflow())
                           .arg(SectionListBytes)
                           .arg(rest));
        }
        switch (section.kind) {
        case CatalogueSection::Kind::Unnamed:
            wide(FindingSeverity::Warning, CodeName(FindingCode::Unlisted),
                 QStringLiteral("a section without a name is never listed, and nothing below "
                                "this header is read"));
            break;
        case CatalogueSection::Kind::Repeat: {
            wide(FindingSeverity::Warning, CodeName(FindingCode::DuplicateSection),
                 QStringLiteral("repeats [%1] of line %2: only that one is read, and nothing "
                                "below this header is")
                     .arg(section.firstName, QString::number(section.firstLine)));
            // The selector lists it as its own entry, and choosing it loads
            // the first section under this entry's name.
            const CatalogueSection* first = section.listed ? m_index.KeptFor(section) : nullptr;
            if (!first)
                break;
            const LoadOutcome outcome = LoadAs(section.name, first);
            if (outcome.Completed())
                break;
            CatalogueFinding* f = wide(
                FindingSeverity::Error, CodeName(FindingCode::DuplicateSectionStops),
                QStringLiteral("the selector lists it as an entry of its own, and choosing "
                               "it loads [%1] of line %2: loading stops with \"%3\"")
                    .arg(section.firstName, QString::number(section.firstLine), outcome.errorBox));
            f->boxText = outcome.errorBox;
            f->stopsLoad = true;
            break;
        }
        case CatalogueSection::Kind::Aircraft:
        case CatalogueSection::Kind::Oversized:
            break;
        }
    }

    void SectionEnds(const CatalogueSection& section) override
    {
        AircraftResult result;
        const bool aircraft = section.kind == CatalogueSection::Kind::Aircraft;
        if (aircraft) {
            result = CheckAircraft(section);
            m_pending += result.findings;
            ++m_counts.aircraft;
            // A later section of its name, listed, would show its box too.
            if (section.listed && !result.summary.loadError.isEmpty())
                m_index.Keep(section);
        }
        std::stable_sort(
            m_pending.begin(), m_pending.end(),
            [](const CatalogueFinding& a, const CatalogueFinding& b) { return a.order < b.order; });
        for (const CatalogueFinding& f : std::as_const(m_pending))
            Emit(f);
        m_pending.clear();
        if (m_hasNotText && m_notText.order < section.endLine)
            EmitNotText();
        if (aircraft)
            m_sink.Aircraft(result.summary);
        m_sink.SectionDone();
    }

private:
    // A finding at `line` about the section there (if any) or the file.
    CatalogueFinding Wide(FindingSeverity severity, qint64 line, const QString& code,
                          const QString& message) const
    {
        CatalogueFinding f;
        f.severity = severity;
        f.line = f.order = line;
        if (m_inSection && m_section.kind != CatalogueSection::Kind::Oversized) {
            f.inSection = true;
            f.section = m_section.name;
        }
        f.code = code;
        f.message = message;
        return f;
    }

    void Emit(const CatalogueFinding& f)
    {
        if (m_hasNotText && m_notText.order <= f.order)
            EmitNotText();
        ++(f.severity == FindingSeverity::Error ? m_counts.errors : m_counts.warnings);
        m_sink.Finding(f);
    }

    void EmitNotText()
    {
        m_hasNotText = false;
        Emit(Wide(m_notText.severity, m_notText.line, m_notText.code, m_notText.message));
    }

    void FindNotText()
    {
        auto found = [&](qint64 line, const QString& message) {
            m_hasNotText = true;
            m_notText.severity = FindingSeverity::Error;
            m_notText.line = m_notText.order = line;
            m_notText.code = CodeName(FindingCode::NotText);
            m_notText.message = message;
        };
        if (m_bytes.size() > MaxIniFileBytes) {
            found(0, QStringLiteral("the file is larger than %1 bytes: TRX reads it as empty, with "
                                    "no aircraft")
                         .arg(MaxIniFileBytes));
        } else if (m_bytes.startsWith("\xFF\xFE") || m_bytes.startsWith("\xFE\xFF")) {
            found(1,
                  QStringLiteral("the file begins with a UTF-16 byte order mark: TRX reads 8-bit "
                                 "text and finds nothing usable in it; save it as UTF-8"));
        } else if (const TextProblem problem = ScanText(m_bytes); problem.places > 0) {
            QString message = QStringLiteral("line %1 holds %2: %3")
                                  .arg(problem.line)
                                  .arg(problem.what, problem.consequence);
            if (problem.places > 1)
                message += QStringLiteral("; %1 in the file are no plain text either")
                               .arg(Plural(problem.places - 1, QStringLiteral("more place"),
                                           QStringLiteral("more places")));
            found(problem.line, message);
        }
    }

    // The selector lists nothing: OK loads the empty name.
    void NoAircraft()
    {
        const LoadOutcome outcome = LoadAs(QString(), nullptr);
        if (outcome.Completed())
            return;
        CatalogueFinding f;
        f.severity = FindingSeverity::Error;
        f.order = std::numeric_limits<qint64>::max();
        f.code = CodeName(FindingCode::NoAircraft);
        f.message = QStringLiteral("the selector lists no aircraft: pressing OK loads an empty "
                                   "name and stops with \"%1\"")
                        .arg(outcome.errorBox);
        f.boxText = outcome.errorBox;
        f.stopsLoad = true;
        Emit(f);
    }

    const QByteArray& m_bytes;
    CatalogueIndex m_index;
    FindingSink& m_sink;
    CheckCounts m_counts;
    bool m_inSection = false;
    CatalogueSection m_section;        // the current one, its header only
    QList<CatalogueFinding> m_pending; // the current section's, until it ends
    bool m_hasNotText = false;
    CatalogueFinding m_notText;
};

} // namespace

CheckCounts CheckCatalogue(const QByteArray& bytes, FindingSink& sink)
{
    return Checker(bytes, sink).Run();
}

CatalogueCheck::CatalogueCheck(const QByteArray& bytes)
{
    m_counts = CheckCatalogue(bytes, *this);
}

void CatalogueCheck::Finding(const CatalogueFinding& finding)
{
    m_findings.append(finding);
}

void CatalogueCheck::Aircraft(const AircraftSummary& aircraft)
{
    m_aircraftByKey.insert(IniNameKey(aircraft.section), m_aircraft.size());
    m_aircraft.append(aircraft);
}

const AircraftSummary* CatalogueCheck::AircraftNamed(const QString& name) const
{
    const auto found = m_aircraftByKey.constFind(IniNameKey(name));
    return found == m_aircraftByKey.cend() ? nullptr : &m_aircraft[found.value()];
}
