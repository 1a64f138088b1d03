// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogueCheck.h"

#include "FindingText.h"
#include "IniSyntax.h"

#include <algorithm>

namespace {

bool IsContinuation(uchar c)
{
    return (c & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence at `p`, 0 when it is not one.
int Utf8Length(const uchar* p, const uchar* end)
{
    const uchar c = p[0];
    int n = 0;
    char32_t min = 0;
    char32_t code = 0;
    if (c < 0x80)
        return 1;
    if ((c & 0xE0) == 0xC0) {
        n = 2;
        min = 0x80;
        code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        n = 3;
        min = 0x800;
        code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        n = 4;
        min = 0x10000;
        code = c & 0x07;
    } else {
        return 0;
    }
    if (end - p < n)
        return 0;
    for (int k = 1; k < n; ++k) {
        if (!IsContinuation(p[k]))
            return 0;
        code = (code << 6) | (p[k] & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return n;
}

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
            length = Utf8Length(p, end);
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

// "this and the 12 sections after it".
QString SectionsFrom(const QList<CatalogueSection>& sections, int index)
{
    qsizetype after = 0;
    for (qsizetype k = index + 1; k < sections.size(); ++k)
        if (sections[k].kind != CatalogueSection::Kind::Unnamed)
            ++after;
    return after == 0
               ? QStringLiteral("it")
               : QStringLiteral("it and the %1 after it")
                     .arg(Plural(after, QStringLiteral("section"), QStringLiteral("sections")));
}

} // namespace

CatalogueCheck::CatalogueCheck(const QByteArray& bytes) : m_index(bytes)
{
    const QList<CatalogueSection>& sections = m_index.Sections();
    auto sectionAt = [&](qint64 line) -> int {
        // The last header at or above the line.
        const auto after =
            std::upper_bound(sections.cbegin(), sections.cend(), line,
                             [](qint64 l, const CatalogueSection& s) { return l < s.line; });
        return int(after - sections.cbegin()) - 1;
    };
    auto fileWide = [&](FindingSeverity severity, qint64 line, int section, const QString& code,
                        const QString& message) {
        CatalogueFinding f;
        f.severity = severity;
        f.line = f.order = line;
        if (section >= 0 && sections[section].kind != CatalogueSection::Kind::Oversized) {
            f.inSection = true;
            f.section = sections[section].name;
        }
        f.code = code;
        f.message = message;
        m_findings.append(f);
    };

    if (bytes.size() > MaxIniFileBytes) {
        fileWide(FindingSeverity::Error, 0, -1, QStringLiteral("not-text"),
                 QStringLiteral("the file is larger than %1 bytes: TRX reads it as empty, with "
                                "no aircraft")
                     .arg(MaxIniFileBytes));
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        fileWide(FindingSeverity::Error, 1, -1, QStringLiteral("not-text"),
                 QStringLiteral("the file begins with a UTF-16 byte order mark: TRX reads 8-bit "
                                "text and finds nothing usable in it; save it as UTF-8"));
    } else if (const TextProblem problem = ScanText(bytes); problem.places > 0) {
        QString message = QStringLiteral("line %1 holds %2: %3")
                              .arg(problem.line)
                              .arg(problem.what, problem.consequence);
        if (problem.places > 1)
            message += QStringLiteral("; %1 in the file are no plain text either")
                           .arg(Plural(problem.places - 1, QStringLiteral("more place"),
                                       QStringLiteral("more places")));
        fileWide(FindingSeverity::Error, problem.line, sectionAt(problem.line),
                 QStringLiteral("not-text"), message);
    }

    for (const CatalogueEntry& e : m_index.KeysOutside()) {
        CatalogueFinding f;
        f.line = f.order = e.line;
        f.key = e.name;
        f.code = QStringLiteral("unknown-key");
        f.message = QStringLiteral("outside any section: TRX never reads it");
        m_findings.append(f);
    }
    for (const CatalogueFalseHeader& h : m_index.FalseHeaders()) {
        const QString owner =
            h.section >= 0 && sections[h.section].kind == CatalogueSection::Kind::Aircraft
                ? QStringLiteral("belong to [%1]").arg(sections[h.section].name)
                : QStringLiteral("are never read");
        fileWide(FindingSeverity::Warning, h.line, h.section, QStringLiteral("unlisted"),
                 (h.cutByNul ? QStringLiteral("this header is cut short by a NUL byte")
                             : QStringLiteral("this header has no closing ']'")) +
                     QStringLiteral(": it is no section, and the lines below it %1").arg(owner));
    }

    m_summaryOfSection.fill(-1, sections.size());
    for (int k = 0; k < sections.size(); ++k) {
        const CatalogueSection& section = sections[k];
        auto wide = [&](FindingSeverity severity, const QString& code, const QString& message) {
            fileWide(severity, section.line, k, code, message);
        };
        if (k == m_index.FirstOverflow()) {
            wide(FindingSeverity::Warning, QStringLiteral("unlisted"),
                 section.kind == CatalogueSection::Kind::Oversized
                     ? QStringLiteral("this section's name is longer than %1 bytes: the "
                                      "selector lists nothing from here on, neither %2")
                           .arg(MaxLineBytes)
                           .arg(SectionsFrom(sections, k))
                     : QStringLiteral("the section list is full: the names before this one take "
                                      "%1 of its %2 bytes, so the selector never lists %3")
                           .arg(m_index.ListBytesBeforeOverflow())
                           .arg(SectionListBytes)
                           .arg(SectionsFrom(sections, k)));
        }
        switch (section.kind) {
        case CatalogueSection::Kind::Unnamed:
            wide(FindingSeverity::Warning, QStringLiteral("unlisted"),
                 QStringLiteral("a section without a name is never listed, and nothing below "
                                "this header is read"));
            break;
        case CatalogueSection::Kind::Oversized:
            break;
        case CatalogueSection::Kind::Repeat: {
            const CatalogueSection& first = sections[section.repeats];
            wide(FindingSeverity::Warning, QStringLiteral("duplicate-section"),
                 QStringLiteral("repeats [%1] of line %2: only that one is read, and nothing "
                                "below this header is")
                     .arg(first.name, QString::number(first.line)));
            break;
        }
        case CatalogueSection::Kind::Aircraft:
            m_summaryOfSection[k] = int(m_aircraft.size());
            {
                AircraftResult result = CheckAircraft(section);
                m_aircraft.append(result.summary);
                m_findings += result.findings;
            }
            break;
        }
    }

    std::stable_sort(
        m_findings.begin(), m_findings.end(),
        [](const CatalogueFinding& a, const CatalogueFinding& b) { return a.order < b.order; });
    for (const CatalogueFinding& f : std::as_const(m_findings))
        ++(f.severity == FindingSeverity::Error ? m_errors : m_warnings);
}

const AircraftSummary* CatalogueCheck::AircraftNamed(const QString& name) const
{
    const int section = m_index.AircraftNamed(name);
    if (section < 0 || m_summaryOfSection[section] < 0)
        return nullptr;
    return &m_aircraft[m_summaryOfSection[section]];
}
