// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue's integer rule against a plain reference written from the
// rule's wording.

#include "FuzzSupport.h"
#include "core/IniSyntax.h"

#include <optional>
#include <string>

namespace {

std::optional<int> DigitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return std::nullopt;
}

// Digits of `base` making up all of `digits`, as a magnitude; nothing when
// there are none, another character is among them, or the magnitude passes `limit`.
std::optional<long long> Magnitude(const std::u16string& digits, int base, long long limit)
{
    if (digits.empty())
        return std::nullopt;
    long long m = 0;
    for (const char16_t c : digits) {
        const auto d = DigitValue(c);
        if (!d || *d >= base)
            return std::nullopt;
        m = m * base + *d;
        if (m > limit)
            return std::nullopt;
    }
    return m;
}

std::optional<int> Reference(const std::u16string& s)
{
    // "0x"/"0X" and at least one more character: hexadecimal, no sign.
    if (s.size() >= 3 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) {
        const auto m = Magnitude(s.substr(2), 16, 2147483647LL);
        return m ? std::optional<int>(int(*m)) : std::nullopt;
    }
    size_t i = s.find_first_not_of(u' ');
    if (i == std::u16string::npos)
        return std::nullopt;
    bool negative = false;
    if (s[i] == u'+' || s[i] == u'-')
        negative = s[i++] == u'-';
    int base = 10;
    if (i < s.size() && (s[i] == u'$' || s[i] == u'x' || s[i] == u'X')) {
        base = 16;
        ++i;
    }
    const auto m = Magnitude(s.substr(i), base, negative ? 2147483648LL : 2147483647LL);
    if (!m)
        return std::nullopt;
    return int(negative ? -*m : *m);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = Fuzz::Text(Fuzz::Bytes(data, size));
    const std::optional<int> expected = Reference(text.toStdU16String());
    int value = 12345;
    const bool ok = TryParseProfileInteger(text, value);
    Fuzz::Check(ok == expected.has_value(),
                ok ? "accepted a text the rule refuses" : "refused a text the rule accepts",
                QStringLiteral("\"") + text + QStringLiteral("\""));
    if (ok)
        Fuzz::Check(value == *expected, "wrong value",
                    QStringLiteral("\"%1\": %2, expected %3").arg(text).arg(value).arg(*expected));
    return 0;
}
