// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/FindingSink.h"

#include <QByteArray>
#include <QString>

#include <functional>

// What trx-check writes for the catalogues it checks, in one format: the
// check hands each finding and aircraft over as data, the writer turns it
// into bytes and passes them on to `out` at each section's end (and before
// its buffer grows past 64 KiB), so that a long run shows its findings as
// they come.
class ReportWriter : public FindingSink
{
public:
    using Output = std::function<void(const QByteArray& bytes)>;
    explicit ReportWriter(Output out);

    // A catalogue's findings follow; `name` as given, in the file system's bytes.
    virtual void BeginFile(const QByteArray& name) = 0;
    // A catalogue that could not be read, and why in the system's words.
    virtual void Unreadable(const QByteArray& name, const QString& reason) = 0;
    // Everything is checked: the totals.
    virtual void End(const CheckCounts& totals) = 0;
    // Why the report could not be written whole, empty when it was.
    virtual QString Trouble() const { return QString(); }

    void SectionDone() override { Pass(); }

protected:
    void Write(const QByteArray& bytes);
    // Passes on what was written so far.
    void Pass();

    static QString SeverityName(FindingSeverity severity);
    // The labels of the summary's figures: the aircraft's units.
    struct Units
    {
        QString weight;
        QString position;
        QString moment;
    };
    static Units UnitsOf(const AircraftSummary& a);

private:
    Output m_out;
    QByteArray m_buffer;
};
