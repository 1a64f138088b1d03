// SPDX-License-Identifier: GPL-3.0-or-later
#include "CheckReport.h"

#include "Balance.h"
#include "NumConv.h"

#include <cmath>

namespace {

bool IsControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

QString Hex(uint c)
{
    return QStringLiteral("\\x%1").arg(QString::number(c, 16).toUpper().rightJustified(2, u'0'));
}

// A text for a terminal: control characters written out.
QString Printable(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (IsControl(c.unicode()))
            out += Hex(c.unicode());
        else
            out += c;
    }
    return out;
}

QByteArray PrintableName(const QByteArray& name)
{
    QByteArray out;
    for (const char c : name) {
        if (IsControl(uchar(c)) && uchar(c) < 0x80)
            out += Hex(uchar(c)).toLatin1();
        else
            out += c;
    }
    return out;
}

QByteArray JsonString(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\') {
            out += u'\\';
            out += c;
        } else if (u == u'\n') {
            out += QStringLiteral("\\n");
        } else if (u == u'\t') {
            out += QStringLiteral("\\t");
        } else if (u < 0x20) {
            out += QStringLiteral("\\u%1").arg(QString::number(u, 16).rightJustified(4, u'0'));
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (c.isSurrogate()) {
            out += QChar(QChar::ReplacementCharacter); // half a pair is no character
        } else {
            out += c;
        }
    }
    out += u'"';
    return out.toUtf8();
}

QByteArray JsonNullable(bool present, const QString& text)
{
    return present ? JsonString(text) : QByteArrayLiteral("null");
}

QString Severity(FindingSeverity s)
{
    return s == FindingSeverity::Error ? QStringLiteral("error") : QStringLiteral("warning");
}

struct Units
{
    QString weight;
    QString position;
    QString moment;
};

// The units the sheet shows for the aircraft.
Units UnitsOf(const AircraftSummary& a)
{
    return {UnitLabel(colWeight, a.imperial), UnitLabel(colPosition, a.imperial),
            UnitLabel(colTorque, a.imperial)};
}

QString FitText(AircraftSummary::Fit fit)
{
    switch (fit) {
    case AircraftSummary::Fit::Inside:
        return QStringLiteral("inside");
    case AircraftSummary::Fit::Outside:
        return QStringLiteral("outside");
    case AircraftSummary::Fit::NoEnvelope:
        break;
    }
    return QStringLiteral("none");
}

bool HasCentre(const AircraftSummary& a)
{
    return a.loadError.isEmpty() && a.weight != 0 && std::isfinite(a.weight) &&
           std::isfinite(a.moment);
}

QString CentreText(const AircraftSummary& a)
{
    return FloatToStr(static_cast<double>(a.moment) / static_cast<double>(a.weight));
}

QString SummaryText(const AircraftSummary& a)
{
    if (!a.loadError.isEmpty())
        return QStringLiteral("no default loading: loading stops with \"%1\"").arg(a.loadError);
    const Units u = UnitsOf(a);
    QString text = QStringLiteral("default loading: weight %1 %2, moment %3 %4, ")
                       .arg(FloatToStr(a.weight), u.weight, FloatToStr(a.moment), u.moment);
    text += HasCentre(a) ? QStringLiteral("centre of gravity %1 %2").arg(CentreText(a), u.position)
                         : QStringLiteral("no centre of gravity");
    switch (a.fit) {
    case AircraftSummary::Fit::Inside:
        text += QStringLiteral(", inside the envelope");
        break;
    case AircraftSummary::Fit::Outside:
        text += QStringLiteral(", outside the envelope");
        break;
    case AircraftSummary::Fit::NoEnvelope:
        text += QStringLiteral(", no closed envelope to compare with");
        break;
    }
    if (!a.listed)
        text += QStringLiteral("; the selector does not list it");
    return text;
}

} // namespace

void CheckReport::Add(const QByteArray& fileName, const CatalogueCheck& check)
{
    m_files.append({fileName, check.Findings(), check.Aircraft()});
    m_aircraft += int(check.Aircraft().size());
    m_errors += check.Errors();
    m_warnings += check.Warnings();
}

QByteArray CheckReport::Text(bool summary) const
{
    QByteArray out;
    for (const File& file : m_files) {
        const QByteArray name = PrintableName(file.name);
        auto line = [&](qint64 number, const QString& severity, bool inSection,
                        const QString& section, const QString& key, const QString& message,
                        const QString& code) {
            out += name + ':' + QByteArray::number(number) + ": ";
            const QString where = (inSection ? u'[' + section + u']' : QStringLiteral("-")) + u' ' +
                                  (key.isEmpty() ? QStringLiteral("-") : key);
            out += Printable(QStringLiteral("%1: %2: %3 (%4)").arg(severity, where, message, code))
                       .toUtf8() +
                   '\n';
        };
        for (const CatalogueFinding& f : file.findings)
            line(f.line, Severity(f.severity), f.inSection, f.section, f.key, f.message, f.code);
        if (summary)
            for (const AircraftSummary& a : file.aircraft)
                line(a.line, QStringLiteral("note"), true, a.section, QString(), SummaryText(a),
                     QStringLiteral("summary"));
    }
    out += QStringLiteral("%1 aircraft checked, %2 errors, %3 warnings\n")
               .arg(m_aircraft)
               .arg(m_errors)
               .arg(m_warnings)
               .toUtf8();
    return out;
}

QByteArray CheckReport::Json(bool summary) const
{
    QByteArrayList files;
    QByteArrayList findings;
    QByteArrayList aircraft;
    for (const File& file : m_files) {
        const QByteArray name = JsonString(QString::fromUtf8(file.name));
        files << name;
        for (const CatalogueFinding& f : file.findings)
            findings << "{\"file\": " + name + ", \"line\": " + QByteArray::number(f.line) +
                            ", \"severity\": " + JsonString(Severity(f.severity)) +
                            ", \"section\": " + JsonNullable(f.inSection, f.section) +
                            ", \"key\": " + JsonNullable(!f.key.isEmpty(), f.key) +
                            ", \"code\": " + JsonString(f.code) +
                            ", \"message\": " + JsonString(f.message) + '}';
        for (const AircraftSummary& a : file.aircraft) {
            const Units u = UnitsOf(a);
            const bool loads = a.loadError.isEmpty();
            aircraft << "{\"file\": " + name + ", \"line\": " + QByteArray::number(a.line) +
                            ", \"section\": " + JsonString(a.section) +
                            ", \"listed\": " + (a.listed ? "true" : "false") +
                            ", \"loads\": " + (loads ? "true" : "false") +
                            ", \"error\": " + JsonNullable(!loads, a.loadError) +
                            ", \"weight\": " + JsonNullable(loads, FloatToStr(a.weight)) +
                            ", \"moment\": " + JsonNullable(loads, FloatToStr(a.moment)) +
                            ", \"centreOfGravity\": " + JsonNullable(HasCentre(a), CentreText(a)) +
                            ", \"envelope\": " + JsonNullable(loads, FitText(a.fit)) +
                            ", \"units\": {\"weight\": " + JsonString(u.weight) +
                            ", \"position\": " + JsonString(u.position) +
                            ", \"moment\": " + JsonString(u.moment) + "}}";
        }
    }
    auto array = [](const QByteArrayList& items) {
        return items.isEmpty() ? QByteArray("[]") : "[\n    " + items.join(",\n    ") + "\n  ]";
    };
    QByteArray out = "{\n  \"files\": " + array(files) + ",\n  \"findings\": " + array(findings);
    if (summary)
        out += ",\n  \"summary\": " + array(aircraft);
    out += ",\n  \"aircraft\": " + QByteArray::number(m_aircraft) +
           ",\n  \"errors\": " + QByteArray::number(m_errors) +
           ",\n  \"warnings\": " + QByteArray::number(m_warnings) + "\n}\n";
    return out;
}
