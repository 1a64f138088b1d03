// SPDX-License-Identifier: GPL-3.0-or-later
#include "helpviewer/ChmReader.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace Chm {

namespace {
quint64 ReadLe(const QByteArray& data, qsizetype pos, int bytes)
{
    return ReadLittleEndian(reinterpret_cast<const unsigned char*>(data.constData()) + pos, bytes);
}

QString RecordText(const QByteArray& record)
{
    const qsizetype end = record.indexOf('\0');
    return DecodeText(end < 0 ? record : record.left(end));
}

bool IsPage(const QString& path)
{
    return path.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".html"), Qt::CaseInsensitive);
}

QString DecodeEntities(const QString& text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const qsizetype semi = c == QLatin1Char('&') ? text.indexOf(QLatin1Char(';'), i) : -1;
        if (semi < 0 || semi - i > 10) {
            out += c;
            continue;
        }
        const QString entity = text.mid(i + 1, semi - i - 1);
        QString replacement;
        if (entity == QLatin1String("amp"))
            replacement = QStringLiteral("&");
        else if (entity == QLatin1String("lt"))
            replacement = QStringLiteral("<");
        else if (entity == QLatin1String("gt"))
            replacement = QStringLiteral(">");
        else if (entity == QLatin1String("quot"))
            replacement = QStringLiteral("\"");
        else if (entity == QLatin1String("apos"))
            replacement = QStringLiteral("'");
        else if (entity.startsWith(QLatin1Char('#')) && entity.size() > 1) {
            bool ok = false;
            const bool hex = entity[1] == QLatin1Char('x') || entity[1] == QLatin1Char('X');
            const uint code = hex ? entity.mid(2).toUInt(&ok, 16) : entity.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
                const char32_t ucs = code;
                replacement = QString::fromUcs4(&ucs, 1);
            }
        }
        if (replacement.isEmpty()) {
            out += c;
            continue;
        }
        out += replacement;
        i = semi;
    }
    return out;
}

// A small tag scanner: sitemaps are HTML written by many tools, seldom valid.
struct Tag
{
    QByteArray name;                                           // lower case, "/ul" for an end tag
    std::vector<std::pair<QByteArray, QByteArray>> attributes; // names lower case
};

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// Reads the tag starting at data[pos] == '<'; returns the position after it.
qsizetype ReadTag(const QByteArray& data, qsizetype pos, Tag& tag)
{
    const qsizetype size = data.size();
    qsizetype i = pos + 1;
    if (data.mid(i, 3) == "!--") {
        const qsizetype end = data.indexOf("-->", i + 3);
        return end < 0 ? size : end + 3;
    }
    const qsizetype nameStart = i;
    while (i < size && !IsSpace(data[i]) && data[i] != '>')
        ++i;
    tag.name = data.mid(nameStart, i - nameStart).toLower();
    if (tag.name.endsWith('/'))
        tag.name.chop(1);
    while (i < size && data[i] != '>') {
        while (i < size && (IsSpace(data[i]) || data[i] == '/'))
            ++i;
        const qsizetype attrStart = i;
        while (i < size && !IsSpace(data[i]) && data[i] != '=' && data[i] != '>')
            ++i;
        QByteArray name = data.mid(attrStart, i - attrStart).toLower();
        while (i < size && IsSpace(data[i]))
            ++i;
        QByteArray value;
        if (i < size && data[i] == '=') {
            ++i;
            while (i < size && IsSpace(data[i]))
                ++i;
            if (i < size && (data[i] == '"' || data[i] == '\'')) {
                const char quote = data[i];
                const qsizetype end = data.indexOf(quote, i + 1);
                const qsizetype stop = end < 0 ? size : end;
                value = data.mid(i + 1, stop - i - 1);
                i = end < 0 ? size : end + 1;
            } else {
                const qsizetype valueStart = i;
                while (i < size && !IsSpace(data[i]) && data[i] != '>')
                    ++i;
                value = data.mid(valueStart, i - valueStart);
            }
        }
        if (!name.isEmpty())
            tag.attributes.emplace_back(std::move(name), std::move(value));
        else if (i < size && data[i] != '>')
            ++i; // a stray character; step over it so the scan always advances
    }
    return i < size ? i + 1 : size;
}

QByteArray Attribute(const Tag& tag, const char* name)
{
    for (const auto& [key, value] : tag.attributes)
        if (key == name)
            return value;
    return {};
}
} // namespace

QString DecodeText(const QByteArray& data)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(data);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(data);
}

SystemInfo ParseSystem(const QByteArray& data)
{
    SystemInfo info;
    bool seen[4] = {false, false, false, false};
    qsizetype pos = 4; // the format version comes first
    while (pos + 4 <= data.size()) {
        const quint16 code = quint16(ReadLe(data, pos, 2));
        const quint16 length = quint16(ReadLe(data, pos + 2, 2));
        pos += 4;
        if (length > data.size() - pos)
            break;
        if (code < 4 && !seen[code]) {
            seen[code] = true;
            const QString text = RecordText(data.mid(pos, length));
            switch (code) {
            case 0:
                info.contentsFile = text;
                break;
            case 1:
                info.indexFile = text;
                break;
            case 2:
                info.defaultTopic = text;
                break;
            case 3:
                info.title = text;
                break;
            }
        }
        pos += length;
    }
    return info;
}

std::vector<SitemapEntry> ParseSitemap(const QByteArray& data)
{
    std::vector<SitemapEntry> root;
    // Each level is the list new entries go into; a <ul> after an entry opens
    // that entry's children. Only the last level ever grows, so the pointers
    // to the levels below it stay valid.
    std::vector<std::vector<SitemapEntry>*> levels{&root};
    std::vector<bool> opened; // whether each <ul> pushed a level
    bool inEntry = false;
    SitemapEntry entry;
    bool haveName = false;
    bool haveLocal = false;

    qsizetype pos = 0;
    while (pos < data.size()) {
        const qsizetype open = data.indexOf('<', pos);
        if (open < 0)
            break;
        Tag tag;
        pos = ReadTag(data, open, tag);
        if (tag.name == "ul") {
            std::vector<SitemapEntry>* level = levels.back();
            const bool push = !level->empty() && int(levels.size()) < MaxSitemapDepth;
            if (push)
                levels.push_back(&level->back().children);
            opened.push_back(push);
        } else if (tag.name == "/ul") {
            if (!opened.empty()) {
                if (opened.back())
                    levels.pop_back();
                opened.pop_back();
            }
        } else if (tag.name == "object") {
            inEntry = Attribute(tag, "type").toLower() == "text/sitemap";
            entry = SitemapEntry();
            haveName = haveLocal = false;
        } else if (tag.name == "param" && inEntry) {
            const QByteArray name = Attribute(tag, "name").toLower();
            const QString value = DecodeEntities(DecodeText(Attribute(tag, "value")));
            if (name == "name" && !haveName) {
                entry.name = value.trimmed();
                haveName = true;
            } else if (name == "local" && !haveLocal) {
                entry.local = value.trimmed();
                haveLocal = true;
            }
        } else if (tag.name == "/object") {
            if (inEntry && (haveName || haveLocal))
                levels.back()->push_back(std::move(entry));
            inEntry = false;
            entry = SitemapEntry();
        }
    }
    return root;
}

QString ObjectPath(const QString& topic)
{
    QString path = topic;
    const qsizetype cut = path.indexOf(QRegularExpression(QStringLiteral("[#?]")));
    if (cut >= 0)
        path.truncate(cut);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QStringList parts;
    for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    return QLatin1Char('/') + parts.join(QLatin1Char('/'));
}

QString ChooseDefaultTopic(const SystemInfo& system, const std::vector<SitemapEntry>& contents,
                           const QStringList& objectPaths)
{
    // The spelling stored in the file, for a path compared without case.
    auto stored = [&](const QString& topic) -> QString {
        const QString path = ObjectPath(topic);
        if (path == QLatin1String("/"))
            return {};
        for (const QString& object : objectPaths)
            if (object.compare(path, Qt::CaseInsensitive) == 0)
                return object;
        return {};
    };
    auto withFragment = [](const QString& path, const QString& topic) {
        const qsizetype hash = topic.indexOf(QLatin1Char('#'));
        return hash < 0 ? path : path + topic.mid(hash);
    };

    QStringList candidates;
    candidates.append(system.defaultTopic);
    // The first contents entry with a page, in reading order; no recursion.
    std::vector<std::pair<const std::vector<SitemapEntry>*, size_t>> stack{{&contents, 0}};
    while (!stack.empty()) {
        auto& [level, index] = stack.back();
        if (index >= level->size()) {
            stack.pop_back();
            continue;
        }
        const SitemapEntry& e = (*level)[index++];
        if (!e.local.isEmpty()) {
            candidates.append(e.local);
            break;
        }
        stack.emplace_back(&e.children, 0);
    }
    candidates << QStringLiteral("index.html") << QStringLiteral("index.htm")
               << QStringLiteral("default.htm") << QStringLiteral("default.html");

    for (const QString& candidate : std::as_const(candidates)) {
        if (candidate.isEmpty())
            continue;
        const QString path = stored(candidate);
        if (!path.isEmpty())
            return withFragment(path, candidate);
    }

    QStringList pages;
    for (const QString& object : objectPaths)
        if (IsPage(object) && !object.startsWith(QLatin1Char('#')) &&
            !object.startsWith(QLatin1String("/#")) && !object.startsWith(QLatin1String("/$")))
            pages.append(object);
    if (pages.isEmpty())
        return {};
    pages.sort(Qt::CaseInsensitive);
    return pages.first();
}

bool DirectorySound(const QByteArray& file)
{
    constexpr qsizetype ItsfLength = 0x60; // what a reader takes of it
    constexpr qsizetype ItspLength = 0x54;
    constexpr quint64 ListingHeader = 0x14; // "PMGL", free space, unknown, previous, next
    constexpr quint64 IndexHeader = 0x08;   // "PMGI", free space
    constexpr quint64 MaxPathLength = 512;
    if (file.size() < ItsfLength || !file.startsWith("ITSF"))
        return true;
    const quint64 directory = ReadLe(file, 0x48, 8);
    if (directory > quint64(file.size() - ItspLength))
        return true;
    const qsizetype itsp = qsizetype(directory);
    if (file.mid(itsp, 4) != "ITSP" || ReadLe(file, itsp + 4, 4) != 1 ||
        ReadLe(file, itsp + 8, 4) != quint64(ItspLength))
        return true;
    const quint64 pageLength = ReadLe(file, itsp + 0x10, 4);
    if (pageLength < ListingHeader || pageLength > quint64(file.size()))
        return false;
    const qint32 head = qint32(ReadLe(file, itsp + 0x20, 4));
    qint32 root = qint32(ReadLe(file, itsp + 0x1C, 4));
    if (root <= -1)
        root = head;
    const quint64 firstPage = directory + quint64(ItspLength);
    const quint64 pages =
        quint64(file.size()) > firstPage ? (quint64(file.size()) - firstPage) / pageLength : 0;
    auto pageAt = [&](qint32 page) { return qsizetype(firstPage + quint64(page) * pageLength); };
    // A page a reader cannot fetch whole, or of another kind, ends its walk.
    auto isPage = [&](qint32 page, const char* kind) {
        return page >= 0 && quint64(page) < pages && file.mid(pageAt(page), 4) == kind;
    };
    // Where a page's entries end; 0 when its free space does not fit.
    auto entriesEnd = [&](qint32 page, quint64 header) -> quint64 {
        const quint64 freeSpace = ReadLe(file, pageAt(page) + 4, 4);
        return freeSpace > pageLength - header ? 0 : pageLength - freeSpace;
    };

    std::vector<bool> seen(size_t(pages), false);
    for (qint32 page = head; isPage(page, "PMGL");
         page = qint32(ReadLe(file, pageAt(page) + 0x10, 4))) {
        if (seen[size_t(page)] || entriesEnd(page, ListingHeader) == 0)
            return false;
        seen[size_t(page)] = true;
    }

    std::fill(seen.begin(), seen.end(), false);
    std::vector<qint32> pending{root};
    while (!pending.empty()) {
        const qint32 page = pending.back();
        pending.pop_back();
        if (!isPage(page, "PMGI"))
            continue;
        if (seen[size_t(page)])
            return false;
        seen[size_t(page)] = true;
        const quint64 end = entriesEnd(page, IndexHeader);
        if (end == 0)
            return false;
        // Entries: a name's length and the name, then the page below.
        const qsizetype base = pageAt(page);
        quint64 at = IndexHeader;
        auto number = [&](quint64& value) {
            value = 0;
            for (int bytes = 0; at < pageLength && bytes < 10; ++bytes) {
                const quint8 byte = quint8(file[base + qsizetype(at++)]);
                value = value << 7 | (byte & 0x7F);
                if (byte < 0x80)
                    return true;
            }
            return false;
        };
        while (at < end) {
            quint64 nameLength = 0;
            quint64 below = 0;
            if (!number(nameLength))
                return false;
            if (nameLength > MaxPathLength)
                break; // a reader gives up on the page here
            at += nameLength;
            if (at >= pageLength || !number(below))
                return false;
            pending.push_back(qint32(below));
        }
    }
    return true;
}

HelpFileArgument SplitHelpFileArgument(const QString& argument)
{
    HelpFileArgument result;
    QString text = argument;
    const qsizetype window = text.lastIndexOf(QLatin1Char('>'));
    if (window >= 0)
        text.truncate(window);
    const qsizetype separator = text.indexOf(QLatin1String("::"));
    if (separator >= 0) {
        result.topic = text.mid(separator + 2);
        text.truncate(separator);
    }
    result.file = text;
    return result;
}

} // namespace Chm
