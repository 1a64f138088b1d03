// SPDX-License-Identifier: GPL-3.0-or-later
// Any text through the text-to-number conversion: it must never crash, must
// accept exactly the texts of the grammar below, and what it accepts must
// survive the trip back through number-to-text.

#include "FuzzSupport.h"
#include "core/Exceptions.h"
#include "core/NumConv.h"

#include <cfloat>
#include <cmath>

namespace {

bool IsDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// What the grammar says about a text, independently of the parser.
struct Expected
{
    bool valid = false;    // the text has the form of a number
    bool negative = false; // mantissa sign
    bool zero = true;      // every mantissa digit is 0
    long magnitude = 0;    // decimal exponent of the leading mantissa digit, roughly
};

Expected Classify(const QString& text, QChar separator)
{
    Expected e;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == u' ')
        ++i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        e.negative = text[i++] == u'-';
    long intDigits = 0;   // after leading zeros
    long leadingFrac = 0; // zeros after the separator before the first non-zero digit
    bool mantissa = false;
    for (; i < n && IsDigit(text[i]); ++i) {
        mantissa = true;
        if (text[i] != u'0' || intDigits > 0) {
            ++intDigits;
            e.zero = false;
        }
    }
    if (i < n && text[i] == separator) {
        mantissa = true;
        bool seenNonZero = false;
        for (++i; i < n && IsDigit(text[i]); ++i) {
            if (text[i] != u'0')
                seenNonZero = true;
            else if (!seenNonZero)
                ++leadingFrac;
        }
        if (seenNonZero)
            e.zero = false;
    }
    if (!mantissa)
        return e;
    long exponent = 0;
    bool negativeExponent = false;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            negativeExponent = text[i++] == u'-';
        // Digits are taken only while the exponent is below 500.
        while (i < n && IsDigit(text[i]) && exponent < 500)
            exponent = exponent * 10 + (text[i++].unicode() - u'0');
    }
    while (i < n && text[i] == u' ')
        ++i;
    if (i != n)
        return e;
    e.valid = true;
    const long shift = negativeExponent ? -exponent : exponent;
    e.magnitude = (intDigits > 0 ? intDigits - 1 : -(leadingFrac + 1)) + shift;
    return e;
}

void CheckOne(const QString& text, QChar separator)
{
    SetDecimalSeparator(separator);
    long double value = 0;
    const bool ok = TryStrToFloat(text, value);

    // The throwing form agrees with the quiet one, and names the whole text.
    try {
        const long double thrown = StrToFloat(text);
        Fuzz::Check(ok, "StrToFloat accepted what TryStrToFloat refused", text);
        Fuzz::Check(thrown == value, "StrToFloat and TryStrToFloat differ", text);
    } catch (const EConvertError& e) {
        Fuzz::Check(!ok, "StrToFloat threw on what TryStrToFloat accepted", text);
        Fuzz::Check(e.Message() == QStringLiteral("'") + text +
                                       QStringLiteral("' is not a valid floating point value"),
                    "wrong conversion message", e.Message());
    }

    const Expected expected = Classify(text, separator);
    if (!expected.valid) {
        Fuzz::Check(!ok, "accepted a text that is not a number", text);
        return;
    }
    if (!ok) {
        // The only valid-looking text that may fail is one beyond the extended range.
        Fuzz::Check(!expected.zero && expected.magnitude >= 4931, "refused a number in range",
                    text);
        return;
    }
    Fuzz::Check(std::isfinite(value), "accepted a non-finite value", text);
    if (expected.zero)
        Fuzz::Check(value == 0, "all-zero mantissa read as non-zero", text);
    else if (expected.magnitude > -4900)
        Fuzz::Check(value != 0 && std::signbit(value) == expected.negative,
                    "lost the value or its sign", text);
    Fuzz::Check(expected.zero || expected.magnitude < 4933,
                "accepted a number beyond the extended range", text);

    // The double the program keeps must be written and read back.
    const double d = static_cast<double>(value);
    if (!std::isfinite(d))
        return;
    const QString written = FloatToStr(d);
    long double back = 0;
    Fuzz::Check(TryStrToFloat(written, back), "FloatToStr text does not read back",
                text + QStringLiteral(" -> ") + written);
    if (std::fabs(d) >= DBL_MIN)
        Fuzz::Check(std::fabs(static_cast<double>(back) - d) <= std::fabs(d) * 1e-14,
                    "FloatToStr text reads back as another number",
                    text + QStringLiteral(" -> ") + written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = Fuzz::Text(Fuzz::Bytes(data, size));
    CheckOne(text, QLatin1Char('.'));
    CheckOne(text, QLatin1Char(','));
    CheckOne(text, QChar(0x066B)); // the Arabic decimal separator
    return 0;
}
