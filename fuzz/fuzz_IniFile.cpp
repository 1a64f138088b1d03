// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a catalogue: list its sections, then read every known key
// and some keys named in the input with each reader. Nothing may crash, and
// the readers must agree with one another.

#include "FuzzSupport.h"
#include "core/CatalogueSchema.h"
#include "core/IniSyntax.h"
#include "core/NumConv.h"
#include "platform/IniFile.h"

#include <cmath>
#include <cstring>

namespace {

// Reading is one pass over the file per call; past this many sections only
// the last one is read too, so that one run stays quick.
constexpr qsizetype MaxSectionsRead = 16;

// Key names taken from the input's own "key=value" lines.
QStringList KeysFrom(const QByteArray& bytes)
{
    QStringList keys;
    for (const QByteArray& line : bytes.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        keys.append(Fuzz::Text(line.left(eq)).trimmed());
        if (keys.size() == 6)
            break;
    }
    return keys;
}

void CheckKey(const TIniFile& ini, const QString& section, const QString& key, bool asNumber)
{
    const QString where = QStringLiteral("[%1] %2").arg(section, key);
    const QString missing = QStringLiteral("\x01missing");
    const QString text = ini.ReadString(section, key, missing);
    const QString plain = text == missing ? QString() : text;
    Fuzz::Check(plain.size() <= 2047, "value longer than 2047 characters", where);
    if (!asNumber)
        return;

    int expectedInt = -7;
    if (!TryParseProfileInteger(plain, expectedInt))
        expectedInt = -7;
    Fuzz::Check(ini.ReadInteger(section, key, -7) == expectedInt,
                "ReadInteger disagrees with the integer rule", where);

    double expectedFloat = 1.25;
    long double value = 0;
    if (!plain.isEmpty() && TryStrToFloat(plain, value) &&
        std::isfinite(static_cast<double>(value)))
        expectedFloat = static_cast<double>(value);
    const double got = ini.ReadFloat(section, key, 1.25);
    Fuzz::Check(got == expectedFloat, "ReadFloat disagrees with the conversion", where);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    SetDecimalSeparator(QLatin1Char('.'));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz::Bytes(data, size);
    const TIniFile ini(Fuzz::WriteScratch(bytes, ".ini"));

    QStringList sections{QStringLiteral("junk")};
    ini.ReadSections(sections);
    qsizetype listBytes = 1;
    for (const QString& s : std::as_const(sections)) {
        Fuzz::Check(!s.isEmpty(), "empty section name listed");
        listBytes += s.toUtf8().size() + 1;
    }
    Fuzz::Check(listBytes <= 16384, "section list beyond 16384 bytes");

    // The catalogue's keys and the input's own. Every read is one pass over
    // the file, so only the keys the program reads as numbers and the input's
    // own keys go through the number readers too.
    QStringList keys;
    QStringList numberKeys;
    for (int k = 0; k < CatalogueKeyCount; ++k) {
        const KeySchema& key = SchemaOf(static_cast<CatalogueKey>(k));
        keys.append(QString::fromLatin1(key.name));
        if (key.kind == KeyKind::Count || key.kind == KeyKind::Integer ||
            key.kind == KeyKind::Number)
            numberKeys.append(keys.last());
    }
    const QStringList ownKeys = KeysFrom(bytes);
    keys += ownKeys;
    auto NumberKey = [&](const QString& key) {
        return numberKeys.contains(key) || ownKeys.contains(key);
    };

    QStringList read = sections.mid(0, MaxSectionsRead);
    if (sections.size() > MaxSectionsRead)
        read.append(sections.last());
    read.append(QStringLiteral("No such section"));
    read.append(QString());
    for (const QString& section : std::as_const(read))
        for (const QString& key : std::as_const(keys))
            CheckKey(ini, section, key, NumberKey(key));
    return 0;
}
