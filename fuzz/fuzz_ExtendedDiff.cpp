// SPDX-License-Identifier: GPL-3.0-or-later
// The extended-precision steps on the x86-64 long double and on the
// software type, side by side: every result must agree bit for bit (sign of
// zero, infinities, subnormals and refusals included).
//
// Input: a text per line, each read as a number (ReadExtended), then the
// values in pairs through the other steps; or, after a first byte "B",
// records of 11 bytes, each an extended value shaped to fall near the edges
// that matter (the subnormals and the overflow of float, double and extended,
// and the ties of rounding to double and to float).

#include "FuzzSupport.h"
#include "core/HardExtended.h"
#include "core/NumConv.h"
#include "core/SoftExtended.h"

#include <QStringList>

#include <bit>
#include <cmath>
#include <cstring>
#include <iterator>
#include <vector>

namespace {

using Hard = long double;
using Soft = SoftExtended;

struct Pair
{
    Hard hard;
    Soft soft;
};

QString Hex(ExtendedBits bits)
{
    return QStringLiteral("%1:%2")
        .arg(bits.signExponent, 4, 16, QLatin1Char('0'))
        .arg(bits.significand, 16, 16, QLatin1Char('0'));
}

// What is being compared, written out only when a check fails.
struct Context
{
    std::string digits;
    ExtendedBits a;
    ExtendedBits b;
    float single = 0;
} g_context;

template <typename T> QString Shown(T value)
{
    if constexpr (std::is_same_v<T, ExtendedBits>)
        return Hex(value);
    else if constexpr (std::is_same_v<T, bool>)
        return value ? QStringLiteral("true") : QStringLiteral("false");
    else
        return QString::number(
            std::bit_cast<std::conditional_t<sizeof(T) == 8, uint64_t, uint32_t>>(value), 16);
}

template <typename T> bool Equal(T hard, T soft)
{
    if constexpr (std::is_same_v<T, ExtendedBits> || std::is_same_v<T, bool>)
        return hard == soft;
    else
        return std::memcmp(&hard, &soft, sizeof hard) == 0;
}

template <typename T> void Same(T hard, T soft, const char* what)
{
    if (Equal(hard, soft))
        return;
    Fuzz::Fail(what, QStringLiteral("hard %1, soft %2; text \"%3\", a %4, b %5, single %6")
                         .arg(Shown(hard), Shown(soft), QString::fromStdString(g_context.digits),
                              Hex(g_context.a), Hex(g_context.b),
                              QString::number(double(g_context.single), 'g', 9)));
}

ExtendedBits BitsOf(const Pair& v)
{
    return ExtendedOps<Hard>::Bits(v.hard);
}

// Every step on one value and a single-precision limit or total.
void CheckValue(const Pair& a, float single)
{
    g_context.a = BitsOf(a);
    g_context.single = single;
    Same(BitsOf(a), a.soft.Bits(), "different values");
    Same(static_cast<double>(a.hard), static_cast<double>(a.soft), "to double");
    Same(static_cast<float>(a.hard), static_cast<float>(a.soft), "to float");
    Same(AddToSingle(a.hard, single), AddToSingle(a.soft, single), "sum rounded to single");
    Same(a.hard < single, a.soft < single, "< single");
    Same(a.hard > single, a.soft > single, "> single");
}

// Every step on two values.
void CheckPair(const Pair& a, const Pair& b)
{
    g_context.a = BitsOf(a);
    g_context.b = BitsOf(b);
    Same(ProductToDouble(a.hard, b.hard), ProductToDouble(a.soft, b.soft),
         "product rounded to double");
    Same(ExtendedOps<Hard>::Bits(a.hard * b.hard), (a.soft * b.soft).Bits(), "product");
    Same(a.hard > b.hard, a.soft > b.soft, "> extended");
    Same(a.hard == b.hard, a.soft == b.soft, "== extended");
    Same(ExtendedOps<Hard>::Bits(ExtendedOps<Hard>::NextToward(a.hard, b.hard)),
         ExtendedOps<Soft>::NextToward(a.soft, b.soft).Bits(), "step toward");
}

void CheckAll(const std::vector<Pair>& values)
{
    float hardTotal = 0;
    float softTotal = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        const Pair& a = values[i];
        const Pair& b = values[(i + 1) % values.size()];
        // The single is a neighbour's, or this value's own or next to it:
        // the edge where an extended value and its single compare unequal.
        const float own = static_cast<float>(a.hard);
        CheckValue(a, static_cast<float>(b.hard));
        CheckValue(a, own);
        CheckValue(a, -own);
        CheckValue(a, std::nextafter(own, 0.0f));
        CheckPair(a, b);
        CheckPair(a, a);
        // A running total, as the load path keeps one.
        hardTotal = AddToSingle(a.hard, hardTotal);
        softTotal = AddToSingle(a.soft, softTotal);
        Same(hardTotal, softTotal, "running total");
    }
}

void CheckTexts(const QString& input)
{
    std::vector<Pair> values;
    const QStringList lines = input.split(u'\n');
    for (qsizetype k = 0; k < lines.size() && k < 8; ++k) {
        std::string digits;
        if (!NumberDigits(lines[k], QLatin1Char('.'), digits))
            continue;
        Pair v{0, 0};
        const bool hardOk = ReadExtended(digits, v.hard);
        const bool softOk = ReadExtended(digits, v.soft);
        g_context.digits = digits;
        Same(hardOk, softOk, "text refused by one type");
        if (!hardOk)
            continue;
        Same(BitsOf(v), v.soft.Bits(), "text read differently");
        values.push_back(v);
    }
    if (!values.empty())
        CheckAll(values);
    g_context.digits.clear();
}

// Unbiased exponents where something changes.
constexpr int Edges[] = {0,    1,     63,   -126,   -149,   127,   -1022, -1074,
                         1023, -1075, -150, -16382, -16445, 16383, -8191, 8192};

// An extended value from 11 bytes: shape, 8 bytes of significand, 2 of exponent.
ExtendedBits Shaped(const uint8_t* p)
{
    const uint8_t shape = p[0];
    uint64_t significand = 0;
    for (int k = 0; k < 8; ++k)
        significand = significand << 8 | p[1 + k];
    const int raw = p[9] << 8 | p[10];
    // Low bits to a tie or to just off one, for rounding to double (11 bits
    // dropped) or to float (40 bits dropped).
    const int dropped = shape & 0x08 ? 40 : 11;
    const uint64_t half = uint64_t(1) << (dropped - 1);
    switch (shape >> 4 & 7) {
    case 1:
        significand = (significand & ~(2 * half - 1)) | half;
        break;
    case 2:
        significand = (significand & ~(2 * half - 1)) | (half - 1);
        break;
    case 3:
        significand = (significand & ~(2 * half - 1)) | (half + 1);
        break;
    case 4:
        significand = ~uint64_t(0);
        break;
    case 5:
        significand = 0;
        break;
    default:
        break;
    }
    significand |= uint64_t(1) << 63;
    long field;
    if (shape & 0x04)
        field = raw & 0x7fff;
    else
        field = Edges[(raw >> 8) % std::size(Edges)] + int8_t(raw & 0xff) % 72 + 16383;
    if (field >= 0x7fff)
        field = 0x7ffe;
    if (field < 1) {
        significand = 1 - field >= 64 ? 0 : significand >> (1 - field);
        field = 0;
    }
    if (significand == 0)
        field = 0;
    const uint16_t sign = shape & 0x80 ? 0x8000 : 0;
    return {uint16_t(sign | field), significand};
}

void CheckRecords(const uint8_t* data, size_t size)
{
    std::vector<Pair> values;
    for (; size >= 11 && values.size() < 8; data += 11, size -= 11) {
        const ExtendedBits bits = Shaped(data);
        values.push_back({ExtendedOps<Hard>::FromBits(bits), Soft::FromBits(bits)});
    }
    if (!values.empty())
        CheckAll(values);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0 && data[0] == 'B')
        CheckRecords(data + 1, size - 1);
    else
        CheckTexts(Fuzz::Text(Fuzz::Bytes(data, size)));
    return 0;
}
