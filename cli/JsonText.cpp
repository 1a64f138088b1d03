// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/JsonText.h"

#include "cli/TerminalText.h"
#include "core/NumConv.h"

#include <cmath>

namespace {

QString Unicode(char16_t c)
{
    return QStringLiteral("\\u") + QString::number(c, 16).rightJustified(4, u'0');
}

} // namespace

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
        } else if (u < 0x20 || (u >= 0x7F && u < 0xA0)) {
            out += Unicode(u);
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (c.isSurrogate()) {
            out += QChar(QChar::ReplacementCharacter); // half a pair is no character
        } else if (TerminalText(QString(c)) != QString(c)) {
            out += Unicode(u); // an invisible format character
        } else {
            out += c;
        }
    }
    out += u'"';
    return out.toUtf8();
}

QByteArray JsonBytes(const QByteArray& bytes)
{
    return JsonString(QString::fromUtf8(bytes));
}

QByteArray JsonNullable(bool present, const QString& text)
{
    return present ? JsonString(text) : QByteArrayLiteral("null");
}

QByteArray JsonNumber(double value)
{
    if (!std::isfinite(value))
        return "null";
    QString text = FloatToStr(value);
    text.replace(DecimalSeparator(), u'.');
    return text.toLatin1();
}

QByteArray JsonNumber(const std::optional<double>& value)
{
    return value ? JsonNumber(*value) : QByteArray("null");
}
