// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/JsonReport.h"

#include "cli/JsonText.h"

// The JSON is written by hand rather than through QJsonDocument: a document
// is built whole in memory before a byte of it is written, where this one is
// written finding by finding, and QJsonObject sorts its members, where these
// keep the order a reader expects (file, line, severity, ...).

namespace {

constexpr qint64 SpoolChunkBytes = 64 * 1024;

QByteArray Items(const QByteArrayList& items)
{
    return items.isEmpty() ? QByteArray("[]") : "[\n    " + items.join(",\n    ") + "\n  ]";
}

// The separator before the item numbered `index` (from 0) of an array.
QByteArray Before(qint64 index)
{
    return index == 0 ? QByteArray("\n    ") : QByteArray(",\n    ");
}

} // namespace

JsonReport::JsonReport(Output out, bool summary) : ReportWriter(std::move(out)), m_summary(summary)
{
}

void JsonReport::Open()
{
    if (m_open)
        return;
    m_open = true;
    Write("{\n  \"format_version\": " + QByteArray::number(FormatVersion) + ",\n  \"findings\": [");
}

void JsonReport::BeginFile(const QByteArray& name)
{
    Open();
    m_name = JsonBytes(name);
    m_files << m_name;
}

void JsonReport::Unreadable(const QByteArray& name, const QString& reason)
{
    m_unreadable << "{\"file\": " + JsonBytes(name) + ", \"error\": " + JsonString(reason) + '}';
}

void JsonReport::Finding(const CatalogueFinding& f)
{
    Open();
    Write(Before(m_findings++) + "{\"file\": " + m_name + ", \"line\": " +
          QByteArray::number(f.line) + ", \"severity\": " + JsonString(SeverityName(f.severity)) +
          ", \"section\": " + JsonNullable(f.inSection, f.section) +
          ", \"key\": " + JsonNullable(!f.key.isEmpty(), f.key) +
          ", \"code\": " + JsonString(f.code) + ", \"message\": " + JsonString(f.message) + '}');
}

void JsonReport::Aircraft(const AircraftSummary& a)
{
    if (!m_summary || !m_trouble.isEmpty())
        return;
    if (!m_spool.isOpen() && !m_spool.open()) {
        m_trouble =
            QStringLiteral("cannot keep the summary in a temporary file: ") + m_spool.errorString();
        return;
    }
    const Units u = UnitsOf(a);
    const bool loads = a.loadError.isEmpty();
    const LoadingJudgement& j = a.loading;
    const EnvelopeVerdict::Limit on = j.verdict.on;
    const QByteArray item =
        Before(m_aircraft++) + "{\"file\": " + m_name +
        ", \"line\": " + QByteArray::number(a.line) + ", \"section\": " + JsonString(a.section) +
        ", \"listed\": " + (a.listed ? "true" : "false") +
        ", \"loads\": " + (loads ? "true" : "false") +
        ", \"error\": " + JsonNullable(!loads, a.loadError) +
        ", \"weight\": " + (loads ? JsonNumber(j.end.weight) : "null") +
        ", \"moment\": " + (loads ? JsonNumber(j.end.moment) : "null") +
        ", \"centre_of_gravity\": " + JsonNumber(j.centre) +
        ", \"envelope\": " + JsonNullable(loads, FitText(j.verdict.fit)) +
        ", \"on_limit\": " + JsonNullable(on != EnvelopeVerdict::Limit::None, LimitName(on)) +
        ", \"units\": {\"weight\": " + JsonString(u.weight) +
        ", \"position\": " + JsonString(u.position) + ", \"moment\": " + JsonString(u.moment) +
        "}}";
    if (m_spool.write(item) != item.size())
        m_trouble =
            QStringLiteral("cannot keep the summary in a temporary file: ") + m_spool.errorString();
}

void JsonReport::End(const CheckCounts& totals)
{
    Open();
    Write(m_findings == 0 ? QByteArray("]") : QByteArray("\n  ]"));
    if (m_summary) {
        Write(",\n  \"summary\": [");
        if (m_spool.isOpen() && m_trouble.isEmpty()) {
            if (!m_spool.flush() || !m_spool.seek(0))
                m_trouble =
                    QStringLiteral("cannot read the summary back: ") + m_spool.errorString();
            while (m_trouble.isEmpty()) {
                const QByteArray chunk = m_spool.read(SpoolChunkBytes);
                if (chunk.isEmpty())
                    break;
                Write(chunk);
            }
        }
        Write(m_aircraft == 0 ? QByteArray("]") : QByteArray("\n  ]"));
    }
    Write(",\n  \"files\": " + Items(m_files) + ",\n  \"unreadable\": " + Items(m_unreadable) +
          ",\n  \"aircraft\": " + QByteArray::number(totals.aircraft) +
          ",\n  \"errors\": " + QByteArray::number(totals.errors) +
          ",\n  \"warnings\": " + QByteArray::number(totals.warnings) + "\n}\n");
    Pass();
}
