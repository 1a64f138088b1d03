// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/ReportWriter.h"

#include <QByteArrayList>
#include <QTemporaryFile>

// trx-check's JSON: one object, written as the check goes.
//
//   {"format_version": 2, "findings": [...], ("summary": [...],)
//    "files": [...], "unreadable": [{"file", "error"}...],
//    "aircraft": N, "errors": E, "warnings": W}
//
// Findings are written one by one as they come. With `summary` each
// aircraft's default loading is kept in a temporary file until the findings
// are all written, so that memory stays bounded however many aircraft there
// are. Strings pass JsonString (controls, DEL, C1 and bidirectional
// characters escaped); file names that are no UTF-8 show U+FFFD.
class JsonReport : public ReportWriter
{
public:
    // Additions keep the version; any other change raises it.
    static constexpr int FormatVersion = 2;

    JsonReport(Output out, bool summary);

    void BeginFile(const QByteArray& name) override;
    void Unreadable(const QByteArray& name, const QString& reason) override;
    void Finding(const CatalogueFinding& finding) override;
    void Aircraft(const AircraftSummary& aircraft) override;
    void End(const CheckCounts& totals) override;
    QString Trouble() const override { return m_trouble; }

private:
    void Open();

    bool m_summary;
    bool m_open = false;
    QByteArray m_name; // the current catalogue's, as a JSON string
    QByteArrayList m_files;
    QByteArrayList m_unreadable;
    qint64 m_findings = 0;
    qint64 m_aircraft = 0;
    QTemporaryFile m_spool; // the summary's items, until the end
    QString m_trouble;
};
