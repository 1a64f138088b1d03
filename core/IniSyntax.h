// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The catalogue's INI syntax, line by line, as the Windows profile functions
// read it: shared by the program's reader (TIniFile) and the catalogue checker
// so that both see the same sections, keys and values.

#include <QByteArray>
#include <QString>

class RegularFile;

// At most this many characters of a value are read.
constexpr qsizetype MaxValueChars = 2047;
// The section list fills a buffer of this many bytes: each name and its zero,
// then one closing zero.
constexpr qsizetype SectionListBytes = 16384;
// A catalogue is a few kilobytes; a larger file than this is not one, and it
// reads as empty.
constexpr qint64 MaxIniFileBytes = 256 * 1024 * 1024;
// Bytes kept of one line: more than any value or name the readers can use.
constexpr qsizetype MaxLineBytes = 1024 * 1024;

struct IniLine
{
    QByteArray head;            // the line up to its first NUL, at most MaxLineBytes
    bool cut = false;           // bytes beyond MaxLineBytes were dropped
    char droppedLastNonBlank{}; // last non-blank byte among the dropped ones, 0 if none
    bool droppedBracket = false;
    bool nul = false;  // a NUL ended what is kept of the line
    qint64 number = 0; // 1 for the first line
    qint64 offset = 0; // where the line begins in the file, in bytes from its start
};

// Splits a file into lines at CR, LF or CRLF, dropping a UTF-8 byte order mark
// before the first. Reads in chunks, so that neither a long file nor a long line
// is held in memory; stops after MaxIniFileBytes.
class IniLineReader
{
public:
    // Reads from an open file (not owned); a file that is not open, or is larger
    // than MaxIniFileBytes, has no lines.
    explicit IniLineReader(RegularFile& file);
    // Reads bytes already in memory (shared, not copied); only the first
    // MaxIniFileBytes count.
    explicit IniLineReader(const QByteArray& bytes);

    // The next line; false at the end of the file.
    bool Next(IniLine& line);

private:
    bool Fill();
    qsizetype LineEnd();
    static void Take(IniLine& line, const char* begin, const char* end, bool& atNul);

    RegularFile* m_file = nullptr;
    QByteArray m_buf;
    qsizetype m_pos = 0;
    qsizetype m_len = 0;
    qint64 m_total = 0;
    qsizetype m_nextCr = -1;
    qsizetype m_nextLf = -1;
    qint64 m_number = 0;
    bool m_skipLf = false;
    bool m_first = true;
    bool m_memoryDone = false;
};

enum class IniLineKind
{
    Other, // blank, comment, or a line the reader ignores
    Section,
    Key
};

struct IniParsedLine
{
    IniLineKind kind = IniLineKind::Other;
    QByteArray name; // section or key name, trimmed of blanks and tabs
    qsizetype valueStart = 0;
    // A section header whose name runs past what a line keeps: no lookup can
    // match it and the section list ends there.
    bool oversizedName = false;
};

// What a line is. A header is "[" after blanks and the last "]" of the line;
// a comment starts with ";" after blanks; a key line is split at its first "=".
// Key lines are only looked into when `keys` is set (a reader not inside the
// wanted section has no use for them).
IniParsedLine ParseIniLine(const IniLine& line, bool keys);

// Where the value of a key line lies in line.head: blanks and tabs trimmed,
// then one outer pair of matching quotes removed.
struct IniValueSpan
{
    qsizetype from = 0;
    qsizetype to = 0;
    bool droppedTail = false; // the value runs on past what the line keeps
};
IniValueSpan IniValueSpanOf(const IniLine& line, qsizetype valueStart);

// The value as read: at most MaxValueChars characters of the span, decoded as
// UTF-8 (an invalid byte reads as U+FFFD), never ending in half a surrogate pair.
QString IniValueOf(const IniLine& line, qsizetype valueStart);

// A name to look for, compared with stored names without regard to case.
class IniName
{
public:
    explicit IniName(const QString& name);
    bool Matches(const QByteArray& stored) const;

private:
    QString m_text;
    QByteArray m_utf8;
    bool m_ascii = false;
};

// A stored name folded so that two names are the same to the reader exactly
// when their keys are equal.
QString IniNameKey(const QString& name);

// The section list as the reader builds it, one header at a time.
class IniSectionList
{
public:
    enum class Entry
    {
        Listed,
        Unnamed, // an empty name would read as the list's end: skipped
        Full     // this name, and every one after it, is not listed
    };
    Entry Add(const IniParsedLine& header);
    // Bytes taken so far, the closing zero included.
    qsizetype UsedBytes() const { return m_used; }

private:
    qsizetype m_used = 1;
    bool m_full = false;
};

// The catalogue's integer rule: "0x"/"0X" hexadecimal when three or more
// characters; otherwise leading spaces, an optional sign, then "$", "x" or "X"
// and hexadecimal digits, or decimal digits; nothing after the digits; fits
// a signed 32-bit integer. Returns false for anything else.
bool TryParseProfileInteger(const QString& text, int& value);

// A number value: StrToFloat rounded to double. Returns false for an empty
// text, one the conversion rejects, and one beyond the double's range.
bool TryParseProfileFloat(const QString& text, double& value);
