// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/ReportWriter.h"

#include "core/Balance.h"

namespace {

// Bytes held before they are passed on even within a section.
constexpr qsizetype PassBytes = 64 * 1024;

} // namespace

ReportWriter::ReportWriter(Output out) : m_out(std::move(out)) {}

void ReportWriter::Write(const QByteArray& bytes)
{
    m_buffer += bytes;
    if (m_buffer.size() >= PassBytes)
        Pass();
}

void ReportWriter::Pass()
{
    if (m_buffer.isEmpty())
        return;
    m_out(m_buffer);
    m_buffer.clear();
}

QString ReportWriter::SeverityName(FindingSeverity severity)
{
    return severity == FindingSeverity::Error ? QStringLiteral("error") : QStringLiteral("warning");
}

ReportWriter::Units ReportWriter::UnitsOf(const AircraftSummary& a)
{
    return {UnitLabel(colWeight, a.imperial), UnitLabel(colPosition, a.imperial),
            UnitLabel(colTorque, a.imperial)};
}
