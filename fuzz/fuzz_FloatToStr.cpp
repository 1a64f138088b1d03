// SPDX-License-Identifier: GPL-3.0-or-later
// Doubles through number-to-text and back. Every finite double must read
// back without error, and one that 15 significant digits write exactly must
// come back as the same double.

#include "FuzzSupport.h"
#include "core/NumConv.h"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

// Whether %.15e (15 significant digits) names exactly this double again.
bool FifteenDigitsExact(double d)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.14e", d);
    return std::strtod(text, nullptr) == d;
}

void CheckOne(double d, QChar separator)
{
    SetDecimalSeparator(separator);
    const QString text = FloatToStr(d);
    const QString shown = QString::number(d, 'g', 17) + QStringLiteral(" -> ") + text;
    if (std::isnan(d)) {
        Fuzz::Check(text == QLatin1String("NAN"), "NaN not written as NAN", shown);
        return;
    }
    if (std::isinf(d)) {
        Fuzz::Check(text == QLatin1String(d > 0 ? "INF" : "-INF"), "infinity misnamed", shown);
        return;
    }
    for (const QChar c : text)
        Fuzz::Check((c >= u'0' && c <= u'9') || c == separator || c == u'-' || c == u'E',
                    "unexpected character in number text", shown);
    Fuzz::Check(text.size() <= 22, "number text too long", shown);

    long double back = 0;
    Fuzz::Check(TryStrToFloat(text, back), "finite double does not read back", shown);
    const double again = static_cast<double>(back);
    // Fifteen digits of the largest doubles round up past DBL_MAX: the text
    // reads back fine at extended precision but no longer fits a double.
    if (std::isinf(again)) {
        Fuzz::Check(std::fabs(d) > 1.797693134862315e308, "read back as infinite", shown);
        return;
    }
    if (FifteenDigitsExact(d))
        Fuzz::Check(again == d, "15-digit double came back changed", shown);
    else if (std::fabs(d) >= DBL_MIN)
        Fuzz::Check(std::fabs(again - d) <= std::fabs(d) * 1e-14, "read back too far off", shown);
    Fuzz::Check(std::signbit(again) == std::signbit(d) || again == 0, "sign lost", shown);
}

void CheckAll(double d)
{
    CheckOne(d, QLatin1Char('.'));
    CheckOne(d, QLatin1Char(','));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first eight bytes are a double's bits.
    if (size >= 8) {
        double d;
        std::memcpy(&d, data, 8);
        CheckAll(d);
    }
    // The rest spells a 15-digit mantissa and an exponent, so that doubles
    // written exactly by 15 digits are met far more often than by chance.
    if (size > 8) {
        const uint8_t* p = data + 8;
        const size_t n = size - 8;
        char digits[16];
        for (int k = 0; k < 15; ++k)
            digits[k] = char('0' + p[size_t(k) % n] % 10);
        digits[15] = 0;
        const int exponent = int(p[0]) * 3 % 640 - 330 + int(p[n - 1] % 3);
        char text[64];
        std::snprintf(text, sizeof text, "%s%c.%se%d", (p[n / 2] & 1) ? "-" : "", digits[0],
                      digits + 1, exponent);
        const double d = std::strtod(text, nullptr);
        CheckAll(d);
    }
    return 0;
}
