// SPDX-License-Identifier: GPL-3.0-or-later
#include "IniFile.h"

#include "NumConv.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr qsizetype MaxValueChars = 2047;
constexpr qsizetype SectionListBytes = 16384;
// A catalogue is a few kilobytes; anything this large is not one, and reading
// it would only stall the window.
constexpr qint64 MaxFileBytes = 256 * 1024 * 1024;
// Bytes kept of one line. More than any value or name the readers can use.
constexpr qsizetype MaxLineBytes = 1024 * 1024;
constexpr qint64 ChunkBytes = 64 * 1024;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

struct Line
{
    QByteArray head;            // the line up to its first NUL, at most MaxLineBytes
    bool cut = false;           // bytes beyond MaxLineBytes were dropped
    char droppedLastNonBlank{}; // last non-blank byte among the dropped ones, 0 if none
    bool droppedBracket = false;
};

// Splits a file into lines at CR, LF or CRLF, reading it in chunks so that
// neither a long file nor a long line is held in memory.
class LineReader
{
public:
    explicit LineReader(const QString& fileName) : m_file(fileName)
    {
        const QFileInfo info(fileName);
        // Only regular files: a FIFO or a device could block or never end.
        if (!info.isFile() || info.size() > MaxFileBytes)
            return;
        m_ok = m_file.open(QIODevice::ReadOnly);
    }

    bool Next(Line& line)
    {
        line.head.resize(0); // keeps the capacity for the next line
        line.cut = false;
        line.droppedLastNonBlank = 0;
        line.droppedBracket = false;
        bool atNul = false;
        bool any = false;
        for (;;) {
            if (m_pos == m_len && !Fill())
                break;
            if (m_skipLf) {
                m_skipLf = false;
                if (m_buf[m_pos] == '\n') {
                    ++m_pos;
                    continue;
                }
            }
            any = true;
            const qsizetype stop = LineEnd();
            if (!atNul)
                Take(line, m_buf.constData() + m_pos, m_buf.constData() + stop, atNul);
            m_pos = stop;
            if (stop != m_len) {
                m_skipLf = m_buf[stop] == '\r';
                ++m_pos;
                break;
            }
        }
        if (!any)
            return false;
        if (m_first) {
            m_first = false;
            if (line.head.startsWith("\xEF\xBB\xBF"))
                line.head.remove(0, 3);
        }
        return true;
    }

private:
    bool Fill()
    {
        if (!m_ok || m_total >= MaxFileBytes)
            return false;
        m_buf.resize(ChunkBytes);
        const qint64 got = m_file.read(m_buf.data(), ChunkBytes);
        if (got <= 0)
            return false;
        m_total += got;
        m_pos = 0;
        m_len = got;
        m_nextCr = m_nextLf = -1;
        return true;
    }

    // Position of the next CR or LF at or after m_pos, m_len if none. The
    // positions of both are remembered so that the chunk is scanned once.
    qsizetype LineEnd()
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

    static void Take(Line& line, const char* begin, const char* end, bool& atNul)
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

    QFile m_file;
    bool m_ok = false;
    QByteArray m_buf;
    qsizetype m_pos = 0;
    qsizetype m_len = 0;
    qint64 m_total = 0;
    qsizetype m_nextCr = -1;
    qsizetype m_nextLf = -1;
    bool m_skipLf = false;
    bool m_first = true;
};

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

enum class LineKind
{
    Other,
    Section,
    Key
};

struct Parsed
{
    LineKind kind = LineKind::Other;
    QByteArray name; // section or key name, trimmed
    qsizetype valueStart = 0;
    bool oversizedName = false;
};

// Key lines are only looked into when `keys` is set: most lines of a file
// are of no interest to the caller.
Parsed ParseLine(const Line& line, bool keys)
{
    Parsed parsed;
    const QByteArray& s = line.head;
    const qsizetype start = SkipBlanks(s, 0);
    if (start == s.size() || s[start] == ';')
        return parsed;
    if (s[start] == '[') {
        const qsizetype close = s.lastIndexOf(']');
        if (close > start || line.droppedBracket) {
            parsed.kind = LineKind::Section;
            if (close > start && !line.droppedBracket) {
                parsed.name = TrimBlanks(s, start + 1, close);
            } else {
                // The name runs past what was kept: longer than any list or lookup can hold.
                parsed.oversizedName = true;
            }
            return parsed;
        }
    }
    if (!keys)
        return parsed;
    const qsizetype eq = s.indexOf('=', start);
    if (eq < 0)
        return parsed;
    parsed.kind = LineKind::Key;
    parsed.name = TrimBlanks(s, start, eq);
    parsed.valueStart = eq + 1;
    return parsed;
}

// A name to look for, kept both ways so that most lines compare without decoding.
struct WantedName
{
    explicit WantedName(const QString& name) : text(name), utf8(name.toUtf8())
    {
        ascii = std::all_of(utf8.cbegin(), utf8.cend(), [](char c) { return uchar(c) < 0x80; });
    }
    QString text;
    QByteArray utf8;
    bool ascii = false;
};

bool SameName(const QByteArray& stored, const WantedName& wanted)
{
    const bool storedAscii =
        std::all_of(stored.cbegin(), stored.cend(), [](char c) { return uchar(c) < 0x80; });
    if (storedAscii && wanted.ascii)
        return stored.size() == wanted.utf8.size() &&
               qstrnicmp(stored.constData(), stored.size(), wanted.utf8.constData(),
                         wanted.utf8.size()) == 0;
    return QString::fromUtf8(stored).compare(wanted.text, Qt::CaseInsensitive) == 0;
}

QString ValueOf(const Line& line, qsizetype valueStart)
{
    const QByteArray& s = line.head;
    qsizetype from = SkipBlanks(s, valueStart);
    qsizetype to = s.size();
    while (to > from && IsBlank(s[to - 1]))
        --to;
    const bool droppedTail = line.cut && line.droppedLastNonBlank != 0;
    const char last = droppedTail ? line.droppedLastNonBlank : (to > from ? s[to - 1] : 0);
    const qsizetype length = droppedTail ? MaxLineBytes : to - from;
    if (length >= 2 && from < s.size() && (s[from] == '"' || s[from] == '\'') && last == s[from]) {
        ++from;
        if (!droppedTail)
            --to;
    }
    // Enough bytes for 2047 characters however they are encoded.
    const qsizetype bytes = std::min<qsizetype>(to - from, 4 * MaxValueChars + 4);
    QString value = QString::fromUtf8(s.constData() + from, bytes);
    if (value.size() > MaxValueChars) {
        value.truncate(MaxValueChars);
        // Never leave half of a surrogate pair behind.
        if (value.back().isHighSurrogate())
            value.chop(1);
    }
    return value;
}

} // namespace

TIniFile::TIniFile(QString fileName) : m_fileName(std::move(fileName)) {}

void TIniFile::ReadSections(QStringList& sections) const
{
    sections.clear();
    LineReader reader(m_fileName);
    Line line;
    qsizetype used = 1; // the zero that ends the list
    while (reader.Next(line)) {
        const Parsed parsed = ParseLine(line, false);
        if (parsed.kind != LineKind::Section)
            continue;
        if (parsed.oversizedName)
            return;
        const QString name = QString::fromUtf8(parsed.name);
        // An empty name would read as the end of the list.
        if (name.isEmpty())
            continue;
        const qsizetype bytes = name.toUtf8().size() + 1;
        if (used + bytes > SectionListBytes)
            return;
        used += bytes;
        sections.append(name);
    }
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    if (section.isEmpty())
        return def;
    const WantedName wantedSection(section);
    const WantedName wantedKey(key);
    LineReader reader(m_fileName);
    Line line;
    bool inSection = false;
    while (reader.Next(line)) {
        const Parsed parsed = ParseLine(line, inSection);
        if (parsed.kind == LineKind::Section) {
            // Only the first section of a name is read.
            if (inSection)
                return def;
            inSection = !parsed.oversizedName && SameName(parsed.name, wantedSection);
        } else if (parsed.kind == LineKind::Key && inSection && SameName(parsed.name, wantedKey)) {
            return ValueOf(line, parsed.valueStart);
        }
    }
    return def;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    int value = 0;
    if (TryParseProfileInteger(ReadString(section, key, QString()), value))
        return value;
    return def;
}

double TIniFile::ReadFloat(const QString& section, const QString& key, double def) const
{
    const QString text = ReadString(section, key, QString());
    if (text.isEmpty())
        return def;
    long double value = 0;
    if (!TryStrToFloat(text, value))
        return def;
    // Beyond the double's range the number would read as infinite: no usable value either.
    const double result = static_cast<double>(value);
    if (std::isinf(result))
        return def;
    return result;
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
