// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/NumConv.h"

#include "core/Exceptions.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

// The separator is read from the locale on first use unless someone set it.
QChar g_decimalSeparator;
bool g_decimalSeparatorKnown = false;

bool IsAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// Exponent digits stop being read once the exponent reaches 500; a digit left
// over then fails the end-of-text check.
constexpr int ExponentReadLimit = 500;

} // namespace

bool NumberDigits(const QString& text, QChar separator, std::string& digits)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == u' ')
        ++i;

    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    std::string intDigits;
    std::string fracDigits;
    bool anyMantissa = false;
    while (i < n && IsAsciiDigit(text[i])) {
        intDigits += static_cast<char>(text[i].unicode());
        anyMantissa = true;
        ++i;
    }
    if (i < n && text[i] == separator) {
        anyMantissa = true;
        ++i;
        while (i < n && IsAsciiDigit(text[i])) {
            fracDigits += static_cast<char>(text[i].unicode());
            ++i;
        }
    }
    if (!anyMantissa)
        return false;

    int exponent = 0;
    bool negativeExponent = false;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        while (exponent < ExponentReadLimit && i < n && IsAsciiDigit(text[i])) {
            exponent = exponent * 10 + (text[i].unicode() - u'0');
            ++i;
        }
    }

    while (i < n && text[i] == u' ')
        ++i;
    if (i != n)
        return false;

    // The separator goes: the exponent takes the fraction digits over, and
    // no reader has to know the decimal point (MPFR would take the locale's).
    digits.clear();
    digits.reserve(intDigits.size() + fracDigits.size() + 16);
    if (negative)
        digits += '-';
    digits += intDigits;
    digits += fracDigits;
    if (digits.empty() || digits == "-")
        digits += '0';
    digits += 'e';
    digits += std::to_string((negativeExponent ? -exponent : exponent) -
                             static_cast<long long>(fracDigits.size()));
    return true;
}

QChar DecimalSeparator()
{
    if (!g_decimalSeparatorKnown)
        ReadDecimalSeparatorFromLocale();
    return g_decimalSeparator;
}

void SetDecimalSeparator(QChar separator)
{
    g_decimalSeparator = separator;
    g_decimalSeparatorKnown = true;
}

QLocale UserNumericLocale()
{
    // The user's numeric locale as POSIX names it, read afresh: Qt keeps the
    // system locale it found at start for the whole run.
    QString name;
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            break;
    }
    // "de_DE.UTF-8@euro" -> "de_DE"
    name = name.section(u'.', 0, 0).section(u'@', 0, 0);
    return name.isEmpty() ? QLocale::system() : QLocale(name);
}

void ReadDecimalSeparatorFromLocale()
{
    const QString point = UserNumericLocale().decimalPoint();
    SetDecimalSeparator(point.isEmpty() ? QChar(u'.') : point.front());
}

bool TryStrToFloat(const QString& text, Extended& value)
{
    std::string digits;
    return NumberDigits(text, DecimalSeparator(), digits) && ReadExtended(digits, value);
}

Extended StrToFloat(const QString& text)
{
    Extended value = 0;
    if (!TryStrToFloat(text, value))
        throw EConvertError(QStringLiteral("'") + text +
                            QStringLiteral("' is not a valid floating point value"));
    return value;
}

namespace {

constexpr int ShownDigits = 15;

// The digits of a positive finite `magnitude` rounded to 15 significant
// digits, half away from zero, without trailing zeros, and the decimal
// exponent of the first digit.
void RoundedDigits(double magnitude, std::string& kept, int& exponent)
{
    // The shortest digits that read back as the value, when there are 15 or
    // fewer, are also the 15-digit decimal nearest to it: normal doubles lie
    // more than four times closer together than 15-digit decimals, so no
    // other one can be as near. Most values end here; subnormals, spaced
    // wider, take the long way.
    char shortest[40];
    const char* end = std::to_chars(shortest, shortest + sizeof shortest, magnitude,
                                    std::chars_format::scientific)
                          .ptr;
    const char* e = std::find(static_cast<const char*>(shortest), end, 'e');
    kept.assign(1, shortest[0]);
    if (e - shortest > 2)
        kept.append(shortest + 2, static_cast<size_t>(e - shortest - 2));
    if (magnitude >= std::numeric_limits<double>::min() &&
        static_cast<int>(kept.size()) <= ShownDigits) {
        std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exponent);
        return;
    }

    // printf rounds correctly, so 26 significant digits decide the rounding at
    // the 15th unless they read exactly as a tie ("5" and ten "0"s); only then
    // are the 768 digits that hold every double's exact expansion needed.
    char buffer[900];
    std::string digits;
    for (const int shown : {25, 767}) {
        std::snprintf(buffer, sizeof buffer, "%.*e", shown, magnitude);
        digits.assign(1, buffer[0]);
        const char* p = buffer + 2;
        while (*p >= '0' && *p <= '9')
            digits += *p++;
        exponent = std::atoi(p + 1); // p points at 'e'
        if (digits.compare(ShownDigits, 11, "50000000000") != 0)
            break;
    }

    kept = digits.substr(0, ShownDigits);
    if (digits[ShownDigits] >= '5') {
        int k = ShownDigits - 1;
        while (k >= 0 && kept[k] == '9') {
            kept[k] = '0';
            --k;
        }
        if (k >= 0) {
            ++kept[k];
        } else {
            kept.insert(kept.begin(), '1');
            kept.pop_back();
            ++exponent;
        }
    }
    while (kept.size() > 1 && kept.back() == '0')
        kept.pop_back();
}

} // namespace

QString FloatToStr(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0)
        return QStringLiteral("0");

    std::string kept;
    int exponent = 0;
    RoundedDigits(std::fabs(value), kept, exponent);

    const QChar separator = DecimalSeparator();
    const int count = static_cast<int>(kept.size());
    QString out;
    if (value < 0)
        out += u'-';

    if (exponent >= -4 && exponent < ShownDigits) {
        if (exponent >= 0) {
            for (int k = 0; k <= exponent; ++k)
                out += QChar(k < count ? kept[k] : '0');
            if (count > exponent + 1) {
                out += separator;
                for (int k = exponent + 1; k < count; ++k)
                    out += QChar(kept[k]);
            }
        } else {
            out += u'0';
            out += separator;
            for (int k = 0; k < -exponent - 1; ++k)
                out += u'0';
            out += QString::fromLatin1(kept.data(), count);
        }
    } else {
        out += QChar(kept[0]);
        if (count > 1) {
            out += separator;
            out += QString::fromLatin1(kept.data() + 1, count - 1);
        }
        out += u'E';
        if (exponent < 0)
            out += u'-';
        out += QString::number(std::abs(exponent));
    }
    return out;
}
