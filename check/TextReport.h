// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/ReportWriter.h"

// trx-check's lines: "FILE:LINE: SEVERITY: [SECTION] KEY: MESSAGE (CODE)" per
// finding, in file order; with `summary` a note after each aircraft's findings
// on its default loading; then "N aircraft checked, E errors, W warnings".
// Every text from outside (file names, sections, keys, values quoted in
// messages) passes TerminalText first. A catalogue that cannot be read is
// left to the message on standard error.
class TextReport : public ReportWriter
{
public:
    TextReport(Output out, bool summary);

    void BeginFile(const QByteArray& name) override;
    void Unreadable(const QByteArray& name, const QString& reason) override;
    void Finding(const CatalogueFinding& finding) override;
    void Aircraft(const AircraftSummary& aircraft) override;
    void End(const CheckCounts& totals) override;

private:
    void Line(qint64 number, const QString& severity, bool inSection, const QString& section,
              const QString& key, const QString& message, const QString& code);

    bool m_summary;
    QByteArray m_name; // the current catalogue's, escaped
};
