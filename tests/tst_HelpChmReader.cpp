// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a help file's bytes: the #SYSTEM record, the contents sitemap, the
// choice of the default topic. Every function must take any bytes.

#include "helpviewer/ChmReader.h"

#include <QRandomGenerator>
#include <QtTest>

using Chm::SitemapEntry;

class TestHelpChmReader : public QObject
{
    Q_OBJECT
private slots:
    void parseSystem_data();
    void parseSystem();
    void parseSitemap_data();
    void parseSitemap();
    void deepSitemapIsFlattened();
    void objectPath_data();
    void objectPath();
    void defaultTopic_data();
    void defaultTopic();
    void splitArgument_data();
    void splitArgument();
    void directorySound_data();
    void directorySound();
    void anyBytes();
};

namespace {
QByteArray Record(quint16 code, const QByteArray& text)
{
    QByteArray data;
    const QByteArray body = text + '\0';
    data.append(char(code & 0xFF)).append(char(code >> 8));
    data.append(char(body.size() & 0xFF)).append(char(body.size() >> 8));
    return data + body;
}

const QByteArray Version("\x03\x00\x00\x00", 4);

// Flattens entries as "name=local" with children in brackets.
QString Outline(const std::vector<SitemapEntry>& entries)
{
    QStringList parts;
    for (const SitemapEntry& e : entries) {
        QString part = e.name + QLatin1Char('=') + e.local;
        if (!e.children.empty())
            part += QLatin1Char('[') + Outline(e.children) + QLatin1Char(']');
        parts << part;
    }
    return parts.join(QLatin1Char(','));
}

QByteArray Entry(const QByteArray& name, const QByteArray& local = {})
{
    QByteArray text =
        "<LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + name + "\">";
    if (!local.isEmpty())
        text += "<param name=\"Local\" value=\"" + local + "\">";
    return text + "</OBJECT>\n";
}
QByteArray Le(quint64 value, int bytes)
{
    QByteArray data;
    for (int k = 0; k < bytes; ++k)
        data.append(char(value >> (8 * k)));
    return data;
}

// A help file's container as a reader walks it: the ITSF header giving the
// directory's offset, the ITSP header there with the page length, first
// listing page and index root, then the directory pages, then padding up to
// size (-1: none).
struct Directory
{
    quint64 offset = 0x60;
    quint32 pageLength = 0x100;
    qint32 root = -1;
    qint32 head = 0;
    QList<QByteArray> pages = {};
    qsizetype size = -1;
    QByteArray signature = "ITSP";
};

QByteArray Container(const Directory& d)
{
    QByteArray file = "ITSF" + Le(3, 4) + Le(0x60, 4);
    file += QByteArray(0x48 - file.size(), '\0') + Le(d.offset, 8);
    file += QByteArray(0x60 - file.size(), '\0');
    if (d.offset <= 0x10000 && d.offset >= quint64(file.size())) {
        file += QByteArray(qsizetype(d.offset) - file.size(), '\0');
        QByteArray itsp = d.signature + Le(1, 4) + Le(0x54, 4) + Le(0, 4) + Le(d.pageLength, 4);
        itsp += Le(2, 4) + Le(1, 4) + Le(quint32(d.root), 4) + Le(quint32(d.head), 4);
        file += itsp + QByteArray(0x54 - itsp.size(), '\0');
        for (const QByteArray& page : d.pages)
            file += page + QByteArray(qMax<qsizetype>(0, d.pageLength - page.size()), '\0');
    }
    if (d.size >= 0)
        file = file.leftJustified(d.size, '\0', true);
    return file;
}

// A listing page with no entries, linked to the next one.
QByteArray Listing(qint32 next, quint32 freeSpace = 0x100 - 0x14)
{
    return "PMGL" + Le(freeSpace, 4) + Le(0, 4) + Le(quint32(-1), 4) + Le(quint32(next), 4);
}

QByteArray Number(quint64 value)
{
    QByteArray bytes(1, char(value & 0x7F));
    while (value >>= 7)
        bytes.prepend(char(0x80 | (value & 0x7F)));
    return bytes;
}

// An index page whose entries lead to the pages below, named "a", "b"...
QByteArray Index(const QList<qint32>& below, int nameLength = 1)
{
    QByteArray entries;
    char name = 'a';
    for (const qint32 page : below)
        entries +=
            Number(quint64(nameLength)) + QByteArray(nameLength, name++) + Number(quint32(page));
    return "PMGI" + Le(quint32(qMax<qsizetype>(0, 0x100 - 8 - entries.size())), 4) + entries;
}
} // namespace

void TestHelpChmReader::parseSystem_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("defaultTopic");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("contents");

    QTest::newRow("records in any order")
        << Version + Record(3, "Trimwise Help") + Record(9, "ignored") + Record(2, "welcome.htm") +
               Record(0, "trx.hhc")
        << "welcome.htm"
        << "Trimwise Help"
        << "trx.hhc";
    QTest::newRow("first of a repeated record wins")
        << Version + Record(2, "a.htm") + Record(2, "b.htm") << "a.htm"
        << ""
        << "";
    QTest::newRow("text ends at its NUL")
        << Version + Record(3, QByteArray("Title\0junk", 10)) << ""
        << "Title"
        << "";
    QTest::newRow("UTF-8 title") << Version + Record(3, "Aide \xc3\xa0 bord") << ""
                                 << "Aide à bord"
                                 << "";
    QTest::newRow("Latin-1 title") << Version + Record(3, "Aide \xe0 bord") << ""
                                   << "Aide à bord"
                                   << "";
    QTest::newRow("record running past the end is dropped")
        << Version + Record(3, "Title") + QByteArray("\x02\x00\xff\x00welcome.htm", 15) << ""
        << "Title"
        << "";
    QTest::newRow("empty") << QByteArray() << ""
                           << ""
                           << "";
    QTest::newRow("version only") << Version << ""
                                  << ""
                                  << "";
    QTest::newRow("half a record header") << Version + QByteArray("\x02\x00", 2) << ""
                                          << ""
                                          << "";
}

void TestHelpChmReader::parseSystem()
{
    QFETCH(QByteArray, data);
    const Chm::SystemInfo info = Chm::ParseSystem(data);
    QTEST(info.defaultTopic, "defaultTopic");
    QTEST(info.title, "title");
    QTEST(info.contentsFile, "contents");
}

void TestHelpChmReader::parseSitemap_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("outline");

    QTest::newRow("flat") << "<UL>" + Entry("A", "a.htm") + Entry("B", "b.htm") + "</UL>"
                          << "A=a.htm,B=b.htm";
    QTest::newRow("nested") << "<UL>" + Entry("Book") + "<UL>" + Entry("P1", "p1.htm") +
                                   Entry("P2", "p2.htm") + "</UL>" + Entry("After", "z.htm") +
                                   "</UL>"
                            << "Book=[P1=p1.htm,P2=p2.htm],After=z.htm";
    QTest::newRow("site properties are not an entry")
        << "<OBJECT type=\"text/site properties\"><param name=\"Name\" value=\"x\"></OBJECT><UL>" +
               Entry("A", "a.htm") + "</UL>"
        << "A=a.htm";
    QTest::newRow("lower case, single quotes, unquoted, no spaces")
        << QByteArray("<ul><li><object type='text/sitemap'><param name=name value=One>"
                      "<param name='local' value='one.htm'></object></ul>")
        << "One=one.htm";
    QTest::newRow("entities") << "<UL>" + Entry("Fuel &amp; oil &#233;&#x41;", "a.htm") + "</UL>"
                              << "Fuel & oil éA=a.htm";
    QTest::newRow("first Name and Local win")
        << QByteArray("<UL><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\">"
                      "<param name=\"Name\" value=\"B\"><param name=\"Local\" value=\"a.htm\">"
                      "<param name=\"Local\" value=\"b.htm\"></OBJECT></UL>")
        << "A=a.htm";
    QTest::newRow("comment hides an entry")
        << "<UL><!-- " + Entry("Hidden", "h.htm") + " -->" + Entry("A", "a.htm") + "</UL>"
        << "A=a.htm";
    QTest::newRow("more closing than opening lists")
        << "</UL></UL>" + Entry("A", "a.htm") << "A=a.htm";
    QTest::newRow("list before any entry stays on its level")
        << "<UL><UL>" + Entry("A", "a.htm") + "</UL></UL>"
        << "A=a.htm";
    QTest::newRow("unfinished object is dropped")
        << "<UL>" + Entry("A", "a.htm") +
               "<OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"B\">"
        << "A=a.htm";
    QTest::newRow("tag cut off") << QByteArray("<UL><OBJECT type=\"text/sitemap\"><param name=\"N")
                                 << "";
    QTest::newRow("empty") << QByteArray() << "";
}

void TestHelpChmReader::parseSitemap()
{
    QFETCH(QByteArray, data);
    QTEST(Outline(Chm::ParseSitemap(data)), "outline");
}

void TestHelpChmReader::deepSitemapIsFlattened()
{
    QByteArray data;
    const int depth = Chm::MaxSitemapDepth * 4;
    for (int i = 0; i < depth; ++i)
        data += "<UL>" + Entry("E" + QByteArray::number(i), "e.htm");
    std::vector<SitemapEntry> entries = Chm::ParseSitemap(data);
    int levels = 0;
    int count = 0;
    const std::vector<SitemapEntry>* level = &entries;
    while (!level->empty()) {
        ++levels;
        count += int(level->size());
        level = &level->back().children;
    }
    QCOMPARE(levels, Chm::MaxSitemapDepth);
    QCOMPARE(count, depth); // nothing lost, only nested less deeply
}

void TestHelpChmReader::objectPath_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("path");
    QTest::newRow("plain") << "welcome.htm"
                           << "/welcome.htm";
    QTest::newRow("rooted") << "/a/b.htm"
                            << "/a/b.htm";
    QTest::newRow("fragment and query") << "a.htm#x?y"
                                        << "/a.htm";
    QTest::newRow("dots") << "a/./b/../c.htm"
                          << "/a/c.htm";
    QTest::newRow("never above the root") << "../../../etc/passwd"
                                          << "/etc/passwd";
    QTest::newRow("backslashes") << "images\\chart.png"
                                 << "/images/chart.png";
    QTest::newRow("empty") << ""
                           << "/";
}

void TestHelpChmReader::objectPath()
{
    QFETCH(QString, topic);
    QTEST(Chm::ObjectPath(topic), "path");
}

void TestHelpChmReader::defaultTopic_data()
{
    QTest::addColumn<QString>("systemTopic");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QStringList>("objects");
    QTest::addColumn<QString>("expected");

    const QStringList objects{"/#SYSTEM", "/a.htm", "/b.htm", "/Index.htm", "/trx.hhc"};
    const QByteArray contents =
        "<UL>" + Entry("Book") + "<UL>" + Entry("B", "b.htm") + "</UL></UL>";
    QTest::newRow("system record") << "a.htm" << contents << objects << "/a.htm";
    QTest::newRow("system record keeps its fragment")
        << "a.htm#part" << contents << objects << "/a.htm#part";
    QTest::newRow("system record in another case") << "A.HTM" << contents << objects << "/a.htm";
    QTest::newRow("no record: first contents page") << "" << contents << objects << "/b.htm";
    QTest::newRow("record names a missing page: contents")
        << "gone.htm" << contents << objects << "/b.htm";
    QTest::newRow("no contents: index.htm") << "" << QByteArray() << objects << "/Index.htm";
    QTest::newRow("no index: first page in order")
        << "" << QByteArray() << QStringList{"/#SYSTEM", "/z.html", "/c.htm", "/$WWKeywordLinks/x"}
        << "/c.htm";
    QTest::newRow("no page at all") << "x.htm" << contents << QStringList{"/#SYSTEM"} << "";
}

void TestHelpChmReader::defaultTopic()
{
    QFETCH(QString, systemTopic);
    QFETCH(QByteArray, contents);
    QFETCH(QStringList, objects);
    Chm::SystemInfo system;
    system.defaultTopic = systemTopic;
    QTEST(Chm::ChooseDefaultTopic(system, Chm::ParseSitemap(contents), objects), "expected");
}

void TestHelpChmReader::splitArgument_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("topic");
    QTest::newRow("file only") << "trx.chm"
                               << "trx.chm"
                               << "";
    QTest::newRow("topic") << "trx.chm::/chart.htm"
                           << "trx.chm"
                           << "/chart.htm";
    QTest::newRow("topic and window") << "trx.chm::/chart.htm>main"
                                      << "trx.chm"
                                      << "/chart.htm";
    QTest::newRow("folder") << "/opt/trx/trx.chm"
                            << "/opt/trx/trx.chm"
                            << "";
}

void TestHelpChmReader::splitArgument()
{
    QFETCH(QString, argument);
    const Chm::HelpFileArgument parts = Chm::SplitHelpFileArgument(argument);
    QTEST(parts.file, "file");
    QTEST(parts.topic, "topic");
}

void TestHelpChmReader::directorySound_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("sound");
    const QByteArray end = Listing(-1);
    auto file = [](Directory d) { return Container(d); };

    QTest::newRow("one listing page") << file({.pages = {end}}) << true;
    QTest::newRow("two levels") << file({.root = 2, .pages = {Listing(1), end, Index({0, 1})}})
                                << true;
    QTest::newRow("three levels")
        << file({.root = 4, .pages = {Listing(1), end, Index({0}), Index({1}), Index({2, 3})}})
        << true;

    QTest::newRow("page as long as the file")
        << file({.pageLength = 0x1000, .size = 0x1000}) << true;
    QTest::newRow("page one byte longer") << file({.pageLength = 0x1001, .size = 0x1000}) << false;
    QTest::newRow("page of 4 GB") << file({.pageLength = 0xFFFFFFB1, .size = 0x1000}) << false;
    QTest::newRow("page of 0 bytes") << file({.pageLength = 0, .size = 0x1000}) << false;
    QTest::newRow("page shorter than its header")
        << file({.pageLength = 0x13, .size = 0x1000}) << false;

    QTest::newRow("listing page linked to itself") << file({.pages = {Listing(0)}}) << false;
    QTest::newRow("listing pages in a ring") << file({.pages = {Listing(1), Listing(0)}}) << false;
    QTest::newRow("listing free space past the page")
        << file({.pages = {Listing(-1, 0x100 - 0x13)}}) << false;
    QTest::newRow("listing free space of 4 GB")
        << file({.pages = {Listing(-1, 0xFFFFFFF0)}}) << false;
    // A link a reader cannot follow ends its walk.
    QTest::newRow("listing linked past the end") << file({.pages = {Listing(7)}}) << true;
    QTest::newRow("listing linked to page -2") << file({.pages = {Listing(-2)}}) << true;

    QTest::newRow("index leading to itself")
        << file({.root = 1, .pages = {end, Index({0, 1})}}) << false;
    QTest::newRow("indexes in a ring")
        << file({.root = 1, .pages = {end, Index({2}), Index({0, 1})}}) << false;
    QTest::newRow("index page reached twice")
        << file({.root = 1, .pages = {end, Index({2, 2}), Index({0})}}) << false;
    QTest::newRow("listing page reached twice")
        << file({.root = 1, .pages = {end, Index({0, 0})}}) << true;
    QTest::newRow("index name too long: lookups stop there")
        << file({.root = 1, .pages = {end, Index({1}, 513)}}) << true;
    QTest::newRow("index entry past the page")
        << file({.root = 1, .pages = {end, Index({0}, 0xF6)}}) << false;

    // Headers that are not there: nothing is read through them.
    QTest::newRow("no directory header there")
        << file({.pageLength = 0, .size = 0x1000, .signature = "XXXX"}) << true;
    QTest::newRow("directory past the end") << file({.offset = 0x4000, .size = 0x3000}) << true;
    QTest::newRow("directory header cut short")
        << file({.pageLength = 0, .size = 0x60 + 0x53}) << true;
    QTest::newRow("directory at the last 2^64")
        << file({.offset = ~quint64(0), .size = 0x3000}) << true;
    QTest::newRow("not a container") << QByteArray("Hello").repeated(100) << true;
}

void TestHelpChmReader::directorySound()
{
    QFETCH(QByteArray, file);
    QTEST(Chm::DirectorySound(file), "sound");
}

void TestHelpChmReader::anyBytes()
{
    // Random bytes and random splices of real markup: no crash, no hang.
    QRandomGenerator random(20240607);
    const QByteArray markup = "<UL>" + Entry("A &amp; B", "a.htm") + "<UL>" + Entry("C", "c.htm") +
                              "</UL><!-- x --></UL>";
    for (int round = 0; round < 3000; ++round) {
        QByteArray data(int(random.bounded(200)), Qt::Uninitialized);
        for (char& c : data)
            c = char(random.bounded(256));
        if (round % 2) {
            QByteArray spliced = markup;
            spliced.insert(int(random.bounded(spliced.size())), data.left(int(random.bounded(8))));
            spliced.truncate(int(random.bounded(spliced.size() + 1)));
            data = spliced;
        }
        Chm::ParseSystem(data);
        Chm::ChooseDefaultTopic(Chm::ParseSystem(data), Chm::ParseSitemap(data),
                                {QString::fromLatin1(data)});
        Chm::ObjectPath(QString::fromLatin1(data));
        Chm::SplitHelpFileArgument(QString::fromLatin1(data));
        Chm::DirectorySound("ITSF" + data);
    }
}

QTEST_GUILESS_MAIN(TestHelpChmReader)
#include "tst_HelpChmReader.moc"
