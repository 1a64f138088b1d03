// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/TextReport.h"

#include "cli/TerminalText.h"
#include "core/NumConv.h"
#include "core/ReadableFigure.h"

namespace {

QString SummaryText(const AircraftSummary& a, const QString& weightUnit,
                    const QString& positionUnit, const QString& momentUnit)
{
    if (!a.loadError.isEmpty())
        return QStringLiteral("no default loading: loading stops with \"%1\"").arg(a.loadError);
    const LoadingJudgement& j = a.loading;
    QString text =
        QStringLiteral("default loading: weight %1 %2, moment %3 %4, ")
            .arg(FiniteText(j.end.weight), weightUnit, FiniteText(j.end.moment), momentUnit);
    text += j.centre
                ? QStringLiteral("centre of gravity %1 %2").arg(FloatToStr(*j.centre), positionUnit)
                : QStringLiteral("no centre of gravity");
    switch (j.verdict.fit) {
    case EnvelopeVerdict::Fit::Inside:
        // On the outline it names the limit, in the loading sheet's words.
        text += j.verdict.on == EnvelopeVerdict::Limit::None
                    ? QStringLiteral(", inside the envelope")
                    : QStringLiteral(", ") + VerdictText(j.verdict);
        break;
    case EnvelopeVerdict::Fit::Outside:
        text += QStringLiteral(", outside the envelope");
        break;
    case EnvelopeVerdict::Fit::NoEnvelope:
        text += QStringLiteral(", no closed envelope to compare with");
        break;
    }
    if (!a.listed)
        text += QStringLiteral("; the selector does not list it");
    return text;
}

} // namespace

TextReport::TextReport(Output out, bool summary) : ReportWriter(std::move(out)), m_summary(summary)
{
}

void TextReport::BeginFile(const QByteArray& name)
{
    m_name = TerminalBytes(name);
}

void TextReport::Unreadable(const QByteArray&, const QString&) {}

void TextReport::Finding(const CatalogueFinding& f)
{
    Line(f.line, SeverityName(f.severity), f.inSection, f.section, f.key, f.message, f.code);
}

void TextReport::Aircraft(const AircraftSummary& a)
{
    if (!m_summary)
        return;
    const Units u = UnitsOf(a);
    Line(a.line, QStringLiteral("note"), true, a.section, QString(),
         SummaryText(a, u.weight, u.position, u.moment), QStringLiteral("summary"));
}

void TextReport::End(const CheckCounts& totals)
{
    Write(QStringLiteral("%1 aircraft checked, %2 errors, %3 warnings\n")
              .arg(totals.aircraft)
              .arg(totals.errors)
              .arg(totals.warnings)
              .toUtf8());
    Pass();
}

void TextReport::Line(qint64 number, const QString& severity, bool inSection,
                      const QString& section, const QString& key, const QString& message,
                      const QString& code)
{
    // The message quotes catalogue texts: escaped whole, as they are.
    const QString where = (inSection ? u'[' + TerminalText(section) + u']' : QStringLiteral("-")) +
                          u' ' + (key.isEmpty() ? QStringLiteral("-") : TerminalText(key));
    Write(m_name + ':' + QByteArray::number(number) + ": " +
          QStringLiteral("%1: %2: %3 (%4)\n")
              .arg(severity, where, TerminalText(message), code)
              .toUtf8());
}
