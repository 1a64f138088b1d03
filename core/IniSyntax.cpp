// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/IniSyntax.h"

#include "core/NumConv.h"
#include "core/RegularFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr qint64 ChunkBytes = 64 * 1024;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsAscii(const QByteArray& bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) < 0x80; });
}

qsizetype SkipBlanks(const QByteArray& s, qsizetype from)
{
    while (from < s.size() && IsBlank(s[from]))
        ++from;
    return from;
}

QByteArray TrimBlanks(const QByteArray& s, qsizetype from, qsizetype to)
{
    while (from < to && IsBlank(s[from]))
        ++from;
    while (to > from && IsBlank(s[to - 1]))
        --to;
    return s.mid(from, to - from);
}

} // namespace

IniLineReader::IniLineReader(RegularFile& file)
{
    if (file.IsOpen() && file.Size() <= MaxIniFileBytes)
        m_file = &file;
    else
        m_memoryDone = true;
}

IniLineReader::IniLineReader(const QByteArray& bytes)
{
    if (bytes.size() <= MaxIniFileBytes)
        m_buf = bytes;
    else
        m_memoryDone = true;
}

bool IniLineReader::Next(IniLine& line)
{
    line.head.resize(0); // keeps the capacity for the next line
    line.cut = false;
    line.droppedLastNonBlank = 0;
    line.droppedBracket = false;
    line.nul = false;
    bool any = false;
    for (;;) {
        if (m_pos == m_len && !Fill())
            break;
        if (m_skipLf) {
            m_skipLf = false;
            if (m_buf.constData()[m_pos] == '\n') {
                ++m_pos;
                continue;
            }
        }
        if (!any)
            line.offset = (m_file ? m_total - m_len : 0) + m_pos;
        any = true;
        const qsizetype stop = LineEnd();
        if (!line.nul)
            Take(line, m_buf.constData() + m_pos, m_buf.constData() + stop, line.nul);
        m_pos = stop;
        if (stop != m_len) {
            m_skipLf = m_buf.constData()[stop] == '\r';
            ++m_pos;
            break;
        }
    }
    if (!any)
        return false;
    line.number = ++m_number;
    if (m_first) {
        m_first = false;
        if (line.head.startsWith("\xEF\xBB\xBF"))
            line.head.remove(0, 3);
    }
    return true;
}

bool IniLineReader::Fill()
{
    if (m_file == nullptr) {
        // Bytes in memory: one chunk, the whole of them.
        if (m_memoryDone)
            return false;
        m_memoryDone = true;
        m_pos = 0;
        m_len = m_buf.size();
        m_nextCr = m_nextLf = -1;
        return m_len > 0;
    }
    if (m_total >= MaxIniFileBytes)
        return false;
    m_buf.resize(ChunkBytes);
    const qint64 got = m_file->Read(m_buf.data(), ChunkBytes);
    if (got <= 0)
        return false;
    m_total += got;
    m_pos = 0;
    m_len = got;
    m_nextCr = m_nextLf = -1;
    return true;
}

// Position of the next CR or LF at or after m_pos, m_len if none. The positions
// of both are remembered so that the chunk is scanned once.
qsizetype IniLineReader::LineEnd()
{
    auto next = [this](qsizetype& cached, char c) {
        if (cached < m_pos) {
            const char* base = m_buf.constData();
            const void* hit = std::memchr(base + m_pos, c, m_len - m_pos);
            cached = hit ? static_cast<const char*>(hit) - base : m_len;
        }
        return cached;
    };
    return std::min(next(m_nextCr, '\r'), next(m_nextLf, '\n'));
}

void IniLineReader::Take(IniLine& line, const char* begin, const char* end, bool& atNul)
{
    // Like the C-string API, a NUL ends the line's content.
    const char* nul = static_cast<const char*>(std::memchr(begin, '\0', end - begin));
    if (nul) {
        end = nul;
        atNul = true;
    }
    const qsizetype room = MaxLineBytes - line.head.size();
    const qsizetype keep = std::min<qsizetype>(room, end - begin);
    line.head.append(begin, keep);
    const char* dropped = begin + keep;
    if (dropped == end)
        return;
    line.cut = true;
    if (std::memchr(dropped, ']', end - dropped))
        line.droppedBracket = true;
    for (const char* p = end; p > dropped; --p) {
        if (!IsBlank(p[-1])) {
            line.droppedLastNonBlank = p[-1];
            break;
        }
    }
}

IniParsedLine ParseIniLine(const IniLine& line, bool keys)
{
    IniParsedLine parsed;
    const QByteArray& s = line.head;
    const qsizetype start = SkipBlanks(s, 0);
    if (start == s.size() || s[start] == ';')
        return parsed;
    if (s[start] == '[') {
        const qsizetype close = s.lastIndexOf(']');
        if (close > start || line.droppedBracket) {
            parsed.kind = IniLineKind::Section;
            if (close > start && !line.droppedBracket)
                parsed.name = TrimBlanks(s, start + 1, close);
            else
                parsed.oversizedName = true;
            return parsed;
        }
    }
    if (!keys)
        return parsed;
    const qsizetype eq = s.indexOf('=', start);
    if (eq < 0)
        return parsed;
    parsed.kind = IniLineKind::Key;
    parsed.name = TrimBlanks(s, start, eq);
    parsed.valueStart = eq + 1;
    return parsed;
}

IniValueSpan IniValueSpanOf(const IniLine& line, qsizetype valueStart)
{
    const QByteArray& s = line.head;
    IniValueSpan span;
    span.from = SkipBlanks(s, valueStart);
    span.to = s.size();
    while (span.to > span.from && IsBlank(s[span.to - 1]))
        --span.to;
    span.droppedTail = line.cut && line.droppedLastNonBlank != 0;
    const char last =
        span.droppedTail ? line.droppedLastNonBlank : (span.to > span.from ? s[span.to - 1] : 0);
    const qsizetype length = span.droppedTail ? MaxLineBytes : span.to - span.from;
    if (length >= 2 && span.from < s.size() && (s[span.from] == '"' || s[span.from] == '\'') &&
        last == s[span.from]) {
        ++span.from;
        if (!span.droppedTail)
            --span.to;
    }
    return span;
}

QString IniValueOf(const IniLine& line, qsizetype valueStart)
{
    const IniValueSpan span = IniValueSpanOf(line, valueStart);
    // Enough bytes for MaxValueChars characters however they are encoded.
    const qsizetype bytes = std::min<qsizetype>(span.to - span.from, 4 * MaxValueChars + 4);
    QString value = QString::fromUtf8(line.head.constData() + span.from, bytes);
    if (value.size() > MaxValueChars) {
        value.truncate(MaxValueChars);
        // Never leave half of a surrogate pair behind.
        if (value.back().isHighSurrogate())
            value.chop(1);
    }
    return value;
}

IniName::IniName(const QString& name) : m_text(name), m_utf8(name.toUtf8())
{
    m_ascii = IsAscii(m_utf8);
}

bool IniName::Matches(const QByteArray& stored) const
{
    // Most names are ASCII: compare them without decoding.
    if (m_ascii && IsAscii(stored))
        return stored.size() == m_utf8.size() &&
               qstrnicmp(stored.constData(), stored.size(), m_utf8.constData(), m_utf8.size()) == 0;
    return QString::fromUtf8(stored).compare(m_text, Qt::CaseInsensitive) == 0;
}

QString IniNameKey(const QString& name)
{
    return name.toCaseFolded();
}

IniSectionList::Entry IniSectionList::Add(const IniParsedLine& header)
{
    if (m_full)
        return Entry::Full;
    // A name longer than a line keeps is longer than the whole list.
    if (header.oversizedName) {
        m_full = true;
        return Entry::Full;
    }
    const QString name = QString::fromUtf8(header.name);
    if (name.isEmpty())
        return Entry::Unnamed;
    // Names are counted as the reader hands them on: decoded, then UTF-8 again.
    const qsizetype bytes = name.toUtf8().size() + 1;
    if (m_used + bytes > SectionListBytes) {
        m_full = true;
        return Entry::Full;
    }
    m_used += bytes;
    return Entry::Listed;
}

namespace {

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// Reads digits of `base` from `i` to the end; false when any other character
// follows, when there is none, or when the magnitude passes `limit`.
bool ReadDigits(const QString& text, qsizetype i, int base, qint64 limit, qint64& magnitude)
{
    if (i >= text.size())
        return false;
    magnitude = 0;
    for (; i < text.size(); ++i) {
        const int d = HexDigit(text[i]);
        if (d < 0 || d >= base)
            return false;
        magnitude = magnitude * base + d;
        if (magnitude > limit)
            return false;
    }
    return true;
}

} // namespace

bool TryParseProfileInteger(const QString& text, int& value)
{
    constexpr qint64 MaxPositive = 2147483647;
    constexpr qint64 MaxNegative = 2147483648;
    qint64 magnitude = 0;
    if (text.size() >= 3 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        // No sign here, so the value must fit the positive range.
        if (!ReadDigits(text, 2, 16, MaxPositive, magnitude))
            return false;
        value = static_cast<int>(magnitude);
        return true;
    }
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    }
    if (!ReadDigits(text, i, base, negative ? MaxNegative : MaxPositive, magnitude))
        return false;
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

bool TryParseProfileFloat(const QString& text, double& value)
{
    Extended read = 0;
    if (text.isEmpty() || !TryStrToFloat(text, read))
        return false;
    // Beyond the double's range the number would read as infinite: no usable value either.
    const double result = static_cast<double>(read);
    if (std::isinf(result))
        return false;
    value = result;
    return true;
}
