// SPDX-License-Identifier: GPL-3.0-or-later
// trx-check's command line: the options parse the same twice; an argument
// is an option, the end of the options or a catalogue, and the catalogues
// come back in their order; the first --help, --version or unknown option
// decides; the reason for an unknown option shows nothing raw to a terminal.

#include "FuzzSupport.h"
#include "check/CheckOptions.h"

namespace {

// Arguments in one input: separated by NUL bytes; a sane command line has
// far fewer.
constexpr qsizetype MaxArguments = 64;

bool Same(const CheckOptions& a, const CheckOptions& b)
{
    return a.help == b.help && a.version == b.version && a.json == b.json && a.strict == b.strict &&
           a.summary == b.summary && a.catalogues == b.catalogues && a.error == b.error;
}

// Nothing a terminal acts on: no control, bidirectional or other invisible
// format character, no half of a surrogate pair.
bool Shown(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        } else if (text[i].isSurrogate()) {
            return false;
        }
        if (c < 0x20 || (c >= 0x7F && c < 0xA0) || QChar::category(c) == QChar::Other_Format ||
            c == 0x2028 || c == 0x2029)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayList args = Fuzz::Bytes(data, size).split('\0').mid(0, MaxArguments);
    const CheckOptions o = ParseCheckOptions(args);
    Fuzz::Check(Same(o, ParseCheckOptions(args)), "the same arguments parse differently");
    Fuzz::Check(int(o.help) + int(o.version) + int(!o.error.isEmpty()) <= 1,
                "more than one of help, version and a reason", o.error);

    if (!o.error.isEmpty()) {
        Fuzz::Check(o.error.startsWith(QStringLiteral("unknown option '")) &&
                        o.error.endsWith(u'\''),
                    "a reason that names no option", o.error);
        Fuzz::Check(Shown(o.error), "a reason shows a character raw", o.error);
        return 0;
    }
    if (o.help || o.version)
        return 0;

    // Every argument read: an option, the first "--", or a catalogue.
    qsizetype read = o.catalogues.size();
    bool options = true;
    for (const QByteArray& arg : args) {
        if (!options)
            continue;
        if (arg == "--")
            options = false;
        if (arg == "--" || arg == "--json" || arg == "--strict" || arg == "--summary")
            ++read;
    }
    Fuzz::Check(read == args.size(), "an argument neither an option nor a catalogue");

    // The same command line written plainly: options, "--", catalogues.
    QByteArrayList plain;
    if (o.json)
        plain << "--json";
    if (o.strict)
        plain << "--strict";
    if (o.summary)
        plain << "--summary";
    plain << "--" << o.catalogues;
    Fuzz::Check(Same(o, ParseCheckOptions(plain)), "the catalogues do not read back");
    return 0;
}
