// SPDX-License-Identifier: GPL-3.0-or-later
// The help viewer's reading of a help file's parts: the #SYSTEM record, the
// contents sitemap, topic paths, the default topic and the API's file
// argument. The input holds the parts one after another, split by Separator:
// #SYSTEM bytes, contents sitemap, object paths one per line, file argument.
// Every function also gets the whole input.

#include "FuzzSupport.h"
#include "helpviewer/ChmReader.h"

namespace {

const QByteArray Separator("\n--8<--\n");

void CheckObjectPath(const QString& topic)
{
    const QString path = Chm::ObjectPath(topic);
    const QString where = QStringLiteral("\"%1\" -> \"%2\"").arg(topic, path);
    Fuzz::Check(path.startsWith(QLatin1Char('/')), "object path not rooted", where);
    Fuzz::Check(!path.contains(QLatin1String("//")) && !path.contains(QLatin1Char('\\')) &&
                    !path.contains(QLatin1Char('#')) && !path.contains(QLatin1Char('?')),
                "object path not normal", where);
    const QStringList parts = path.split(QLatin1Char('/'));
    Fuzz::Check(!parts.contains(QLatin1String(".")) && !parts.contains(QLatin1String("..")),
                "dot segment left in object path", where);
    Fuzz::Check(Chm::ObjectPath(path) == path, "object path not stable", where);
}

int Depth(const std::vector<Chm::SitemapEntry>& entries)
{
    int deepest = 0;
    // Iterative: a deep tree must not be what crashes the checker.
    std::vector<std::pair<const std::vector<Chm::SitemapEntry>*, int>> stack{{&entries, 1}};
    while (!stack.empty()) {
        const auto [level, depth] = stack.back();
        stack.pop_back();
        if (level->empty())
            continue;
        deepest = std::max(deepest, depth);
        for (const Chm::SitemapEntry& e : *level) {
            CheckObjectPath(e.local);
            stack.emplace_back(&e.children, depth + 1);
        }
    }
    return deepest;
}

bool IsListedPage(const QString& object)
{
    return (object.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive) ||
            object.endsWith(QLatin1String(".html"), Qt::CaseInsensitive)) &&
           !object.startsWith(QLatin1Char('#')) && !object.startsWith(QLatin1String("/#")) &&
           !object.startsWith(QLatin1String("/$"));
}

void CheckArgument(const QString& argument)
{
    const Chm::HelpFileArgument split = Chm::SplitHelpFileArgument(argument);
    Fuzz::Check(!split.file.contains(QLatin1String("::")), "file part keeps \"::\"", argument);
    QString joined = split.file;
    if (argument.left(argument.lastIndexOf(QLatin1Char('>'))).contains(QLatin1String("::")))
        joined += QLatin1String("::") + split.topic;
    const qsizetype window = argument.lastIndexOf(QLatin1Char('>'));
    Fuzz::Check(joined == (window < 0 ? argument : argument.left(window)),
                "file argument parts do not make up the argument", argument);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz::Bytes(data, size);

    // Whole input into each reader.
    const Chm::SystemInfo wholeSystem = Chm::ParseSystem(bytes);
    const std::vector<Chm::SitemapEntry> wholeSitemap = Chm::ParseSitemap(bytes);
    Fuzz::Check(Depth(wholeSitemap) <= Chm::MaxSitemapDepth, "sitemap nested too deep");
    const QString wholeText = Chm::DecodeText(bytes);
    CheckObjectPath(wholeText);
    CheckArgument(wholeText);

    // The parts, as the viewer meets them in one file.
    QList<QByteArray> parts;
    qsizetype from = 0;
    while (parts.size() < 3) {
        const qsizetype at = bytes.indexOf(Separator, from);
        if (at < 0)
            break;
        parts.append(bytes.mid(from, at - from));
        from = at + Separator.size();
    }
    parts.append(bytes.mid(from));
    while (parts.size() < 4)
        parts.append(QByteArray());

    const Chm::SystemInfo system = Chm::ParseSystem(parts[0]);
    CheckObjectPath(system.defaultTopic);
    CheckObjectPath(system.contentsFile);
    const std::vector<Chm::SitemapEntry> contents = Chm::ParseSitemap(parts[1]);
    Fuzz::Check(Depth(contents) <= Chm::MaxSitemapDepth, "contents nested too deep");
    QStringList objects;
    for (const QByteArray& line : parts[2].split('\n'))
        if (!line.isEmpty())
            objects.append(Chm::DecodeText(line));
    CheckArgument(Chm::DecodeText(parts[3]));

    const QString topic = Chm::ChooseDefaultTopic(system, contents, objects);
    bool anyPage = false;
    for (const QString& object : std::as_const(objects))
        anyPage = anyPage || IsListedPage(object);
    if (topic.isEmpty()) {
        Fuzz::Check(!anyPage, "no default topic although the file holds pages");
    } else {
        const qsizetype hash = topic.indexOf(QLatin1Char('#'));
        // A page found by the last fallback is named as stored, "#" and all.
        Fuzz::Check(
            objects.contains(topic) || objects.contains(topic.left(hash)),
            "default topic is not an object of the file",
            QStringLiteral("topic \"%1\", objects \"%2\"")
                .arg(QString::fromLatin1(topic.toUtf8().toPercentEncoding("/.#")),
                     QString::fromLatin1(objects.join(u'\n').toUtf8().toPercentEncoding("/.#"))));
    }
    return 0;
}
