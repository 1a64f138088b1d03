// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/TerminalText.h"

#include "cli/Utf8.h"

#include <QStringDecoder>

namespace {

QString Hex(char32_t c, int digits)
{
    return QString::number(uint(c), 16).toUpper().rightJustified(digits, u'0');
}

bool IsFormat(char32_t c)
{
    // Bidirectional marks, embeddings, overrides and isolates; zero-width
    // characters; the line and paragraph separators; the byte order mark.
    return c == 0x061C || c == 0x200B || c == 0x200C || c == 0x200D || c == 0x200E || c == 0x200F ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2060 && c <= 0x2069) || c == 0xFEFF ||
           QChar::category(c) == QChar::Other_Format;
}

void Append(QString& out, char32_t c)
{
    if (c == u'\\')
        out += QStringLiteral("\\\\");
    else if (c < 0x20 || c == 0x7F)
        out += QStringLiteral("\\x") + Hex(c, 2);
    else if ((c >= 0x80 && c < 0xA0) || IsFormat(c))
        out += QStringLiteral("\\u") + Hex(c, 4);
    else if (c >= 0x10000)
        out += QString::fromUcs4(&c, 1);
    else
        out += QChar(char16_t(c));
}

} // namespace

QString TerminalText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            Append(out, QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else if (c.isSurrogate()) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            Append(out, c.unicode());
        }
    }
    return out;
}

QByteArray TerminalBytes(const QByteArray& bytes)
{
    QString out;
    const uchar* p = reinterpret_cast<const uchar*>(bytes.constData());
    const uchar* end = p + bytes.size();
    while (p < end) {
        char32_t code = 0;
        const int n = Utf8SequenceLength(p, end, code);
        if (n == 0) {
            out += QStringLiteral("\\x") + Hex(*p, 2);
            ++p;
        } else {
            Append(out, code);
            p += n;
        }
    }
    return out.toUtf8();
}
