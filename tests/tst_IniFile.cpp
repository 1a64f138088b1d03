// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Exceptions.h"
#include "core/ListField.h"
#include "core/NumConv.h"
#include "platform/IniFile.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cfloat>
#include <sys/stat.h>

class tst_IniFile : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_separator = DecimalSeparator();
        SetDecimalSeparator(u'.');
    }
    void cleanup() { SetDecimalSeparator(m_separator); }

    void readString_data();
    void readString();
    void readSections_data();
    void readSections();
    void sectionListLimit_data();
    void sectionListLimit();
    void noFileGivesDefaults_data();
    void noFileGivesDefaults();
    void readsFileAfresh();
    void readInteger_data();
    void readInteger();
    void readFloat_data();
    void readFloat();
    void longLines_data();
    void longLines();
    void randomBytesNeverCrash();
    void largeFilesReadToTheEnd();
    void catalogueAircraft_data();
    void catalogueAircraft();

private:
    QString Write(const QByteArray& content);
    QTemporaryDir m_dir;
    int m_files = 0;
    QChar m_separator;
};

QString tst_IniFile::Write(const QByteArray& content)
{
    const QString name = m_dir.filePath(QStringLiteral("f%1.ini").arg(++m_files));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(name));
    return name;
}

void tst_IniFile::readString_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString def = QStringLiteral("<default>");
    QTest::newRow("plain") << QByteArray("[A]\nk=v\n") << "A"
                           << "k"
                           << "v";
    QTest::newRow("no final line end") << QByteArray("[A]\nk=v") << "A"
                                       << "k"
                                       << "v";
    QTest::newRow("section case") << QByteArray("[Trainer]\nk=v\n") << "tRAINER"
                                  << "k"
                                  << "v";
    QTest::newRow("key case") << QByteArray("[A]\nMaxWeight=800\n") << "A"
                              << "MAXWEIGHT"
                              << "800";
    QTest::newRow("non-ASCII case") << QByteArray("[\xC3\x9C"
                                                  "ber]\nk=v\n")
                                    << QString::fromUtf16(u"\u00FCBER") << "k"
                                    << "v";
    QTest::newRow("missing key") << QByteArray("[A]\nk=v\n") << "A"
                                 << "j" << def;
    QTest::newRow("missing section") << QByteArray("[A]\nk=v\n") << "B"
                                     << "k" << def;
    QTest::newRow("key of the next section") << QByteArray("[A]\n[B]\nk=v\n") << "A"
                                             << "k" << def;
    QTest::newRow("empty value") << QByteArray("[A]\nk=\n") << "A"
                                 << "k"
                                 << "";
    QTest::newRow("first equals sign") << QByteArray("[A]\nk=a=b\n") << "A"
                                       << "k"
                                       << "a=b";
    QTest::newRow("key trimmed") << QByteArray("[A]\n \t k \t =v\n") << "A"
                                 << "k"
                                 << "v";
    QTest::newRow("value trimmed") << QByteArray("[A]\nk= \t v w \t \n") << "A"
                                   << "k"
                                   << "v w";
    QTest::newRow("header blanks") << QByteArray("  [ A ]  \nk=v\n") << "A"
                                   << "k"
                                   << "v";
    QTest::newRow("double quotes") << QByteArray("[A]\nk=\" v \"\n") << "A"
                                   << "k"
                                   << " v ";
    QTest::newRow("single quotes") << QByteArray("[A]\nk='v'\n") << "A"
                                   << "k"
                                   << "v";
    QTest::newRow("quotes then blanks") << QByteArray("[A]\nk= 'v' \n") << "A"
                                        << "k"
                                        << "v";
    QTest::newRow("empty quotes") << QByteArray("[A]\nk=\"\"\n") << "A"
                                  << "k"
                                  << "";
    QTest::newRow("one outer pair") << QByteArray("[A]\nk=\"\"v\"\"\n") << "A"
                                    << "k"
                                    << "\"v\"";
    QTest::newRow("unmatched quotes") << QByteArray("[A]\nk=\"v'\n") << "A"
                                      << "k"
                                      << "\"v'";
    QTest::newRow("lone quote") << QByteArray("[A]\nk=\"\n") << "A"
                                << "k"
                                << "\"";
    QTest::newRow("inner quote") << QByteArray("[A]\nk=a\"b\n") << "A"
                                 << "k"
                                 << "a\"b";
    QTest::newRow("comment") << QByteArray("[A]\n;k=v\n") << "A"
                             << "k" << def;
    QTest::newRow("indented comment") << QByteArray("[A]\n \t;k=v\nk=w\n") << "A"
                                      << "k"
                                      << "w";
    QTest::newRow("semicolons kept") << QByteArray("[A]\nk=1;2;3;\n") << "A"
                                     << "k"
                                     << "1;2;3;";
    QTest::newRow("hash is no comment") << QByteArray("[A]\n#k=v\n") << "A"
                                        << "#k"
                                        << "v";
    QTest::newRow("hash key differs") << QByteArray("[A]\n#k=v\n") << "A"
                                      << "k" << def;
    QTest::newRow("first key wins") << QByteArray("[A]\nk=1\nK=2\n") << "A"
                                    << "k"
                                    << "1";
    QTest::newRow("first section only") << QByteArray("[A]\nk=1\n[B]\n[a]\nk=2\nj=3\n") << "A"
                                        << "j" << def;
    QTest::newRow("first section's key") << QByteArray("[A]\nk=1\n[a]\nk=2\n") << "a"
                                         << "k"
                                         << "1";
    QTest::newRow("keys before any section") << QByteArray("k=1\n[A]\n") << "A"
                                             << "k" << def;
    QTest::newRow("line without equals sign") << QByteArray("[A]\nk\nk=2\n") << "A"
                                              << "k"
                                              << "2";
    QTest::newRow("CR") << QByteArray("[A]\rj=1\rk=v\r") << "A"
                        << "k"
                        << "v";
    QTest::newRow("CRLF") << QByteArray("[A]\r\nj=1\r\nk=v\r\n") << "A"
                          << "k"
                          << "v";
    QTest::newRow("mixed line ends") << QByteArray("[B]\r\n[A]\rj=1\n\r\nk=v") << "A"
                                     << "k"
                                     << "v";
    QTest::newRow("BOM") << QByteArray("\xEF\xBB\xBF[A]\nk=v\n") << "A"
                         << "k"
                         << "v";
    QTest::newRow("UTF-8 value") << QByteArray("[A]\nk=Pil\xC3\xB6t\n") << "A"
                                 << "k" << QString::fromUtf16(u"Pil\u00F6t");
    QTest::newRow("invalid UTF-8") << QByteArray("[A]\nk=a\xFF"
                                                 "b\n")
                                   << "A"
                                   << "k" << QString::fromUtf16(u"a\uFFFDb");
    QTest::newRow("last bracket closes") << QByteArray("[A]x]\nk=v\n") << "A]x"
                                         << "k"
                                         << "v";
    QTest::newRow("header without bracket") << QByteArray("[A]\n[B\nk=v\n") << "A"
                                            << "k"
                                            << "v";
    // A NUL ends what is read of its line.
    QTest::newRow("NUL in value") << QByteArray("[A]\nk=ab\0cd\nj=2\n", 16) << "A"
                                  << "k"
                                  << "ab";
    QTest::newRow("after NUL line") << QByteArray("[A]\nk=ab\0cd\nj=2\n", 16) << "A"
                                    << "j"
                                    << "2";
    QTest::newRow("NUL in header") << QByteArray("[A\0]\nk=v\n", 9) << "A"
                                   << "k" << def;
    QTest::newRow("NUL in key") << QByteArray("[A]\nk\0=v\nk=w\n", 13) << "A"
                                << "k"
                                << "w";
    QTest::newRow("empty section name") << QByteArray("[]\nk=v\n") << ""
                                        << "k" << def;
}

void tst_IniFile::readString()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const TIniFile ini(Write(content));
    QCOMPARE(ini.ReadString(section, key, QStringLiteral("<default>")), expected);
}

void tst_IniFile::readSections_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("file order") << QByteArray("[C]\n[A]\nk=v\n[B]\n") << QStringList{"C", "A", "B"};
    QTest::newRow("none") << QByteArray("k=v\n; [A]\n") << QStringList{};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("blanks inside brackets")
        << QByteArray(" [ Empty one ] \n") << QStringList{"Empty one"};
    QTest::newRow("repeated kept") << QByteArray("[A]\n[a]\n") << QStringList{"A", "a"};
    QTest::newRow("empty name skipped")
        << QByteArray("[A]\n[]\n[ ]\n[B]\n") << QStringList{"A", "B"};
    QTest::newRow("CR only") << QByteArray("[A]\r[B]\r") << QStringList{"A", "B"};
    QTest::newRow("BOM") << QByteArray("\xEF\xBB\xBF[A]\n") << QStringList{"A"};
    QTest::newRow("not headers") << QByteArray("x[A]\n[B\n;[C]\n#[D]\n[E]\n") << QStringList{"E"};
}

void tst_IniFile::readSections()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    QStringList sections{QStringLiteral("stale")};
    TIniFile(Write(content)).ReadSections(sections);
    QCOMPARE(sections, expected);
}

void tst_IniFile::sectionListLimit_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("lastLength");

    // 163 names of 99 bytes take 163 * 100 + 1 bytes; the 164th does not fit.
    QByteArray many;
    for (int k = 0; k < 300; ++k)
        many += '[' + QByteArray::number(k).rightJustified(99, 'n') + "]\n";
    QTest::newRow("many names") << many << 163 << 99;

    // One name of 16382 bytes, its zero and the closing zero fill the buffer exactly.
    QTest::newRow("exact fit") << QByteArray('[' + QByteArray(16382, 'a') + "]\n") << 1 << 16382;
    QTest::newRow("one byte over")
        << QByteArray('[' + QByteArray(16383, 'a') + "]\n[B]\n") << 0 << 0;
    // Non-ASCII names count their UTF-8 bytes: 8191 two-byte characters.
    QByteArray wide;
    for (int k = 0; k < 8191; ++k)
        wide += "\xC3\xA9";
    QTest::newRow("two-byte characters") << QByteArray('[' + wide + "]\n[B]\n") << 1 << 8191;
}

void tst_IniFile::sectionListLimit()
{
    QFETCH(QByteArray, content);
    QFETCH(int, count);
    QFETCH(int, lastLength);
    QStringList sections;
    TIniFile(Write(content)).ReadSections(sections);
    QCOMPARE(sections.size(), count);
    if (count > 0)
        QCOMPARE(sections.last().size(), lastLength);
}

void tst_IniFile::noFileGivesDefaults_data()
{
    QTest::addColumn<QString>("path");

    QTest::newRow("missing") << m_dir.filePath(QStringLiteral("missing.ini"));
    QTest::newRow("empty name") << QString();
    QTest::newRow("directory") << m_dir.path();
    QTest::newRow("device") << QStringLiteral("/dev/zero");
    QTest::newRow("fifo") << m_dir.filePath(QStringLiteral("fifo.ini"));
}

void tst_IniFile::noFileGivesDefaults()
{
    QFETCH(QString, path);
    const QString fifo = m_dir.filePath(QStringLiteral("fifo.ini"));
    if (path == fifo && !QFileInfo::exists(fifo))
        QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);

    const TIniFile ini(path);
    QStringList sections{QStringLiteral("stale")};
    ini.ReadSections(sections);
    QVERIFY(sections.isEmpty());
    QCOMPARE(ini.ReadString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("d")),
             QStringLiteral("d"));
    QCOMPARE(ini.ReadInteger(QStringLiteral("A"), QStringLiteral("Unit"), 1), 1);
    QCOMPARE(ini.ReadFloat(QStringLiteral("A"), QStringLiteral("MaxWeight"), 0.5), 0.5);
}

void tst_IniFile::readsFileAfresh()
{
    const QString name = Write("[A]\nk=1\n");
    const TIniFile ini(name);
    QCOMPARE(ini.ReadString(QStringLiteral("A"), QStringLiteral("k"), QString()),
             QStringLiteral("1"));
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[B]\n[A]\nk=2\n");
    file.close();
    QCOMPARE(ini.ReadString(QStringLiteral("A"), QStringLiteral("k"), QString()),
             QStringLiteral("2"));
    QStringList sections;
    ini.ReadSections(sections);
    QCOMPARE(sections, (QStringList{"B", "A"}));
    QVERIFY(QFile::remove(name));
    QCOMPARE(ini.ReadString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("gone")),
             QStringLiteral("gone"));
}

void tst_IniFile::readInteger_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("expected");

    QTest::newRow("imperial") << QByteArray("Unit=2") << 2;
    QTest::newRow("hex") << QByteArray("Unit=0x2") << 2;
    QTest::newRow("blanks trimmed by the file") << QByteArray("Unit= 3 ") << 3;
    QTest::newRow("quoted") << QByteArray("Unit=\"4\"") << 4;
    QTest::newRow("word") << QByteArray("Unit=abc") << 1;
    QTest::newRow("empty") << QByteArray("Unit=") << 1;
    QTest::newRow("missing") << QByteArray("Other=2") << 1;
    QTest::newRow("negative") << QByteArray("Unit=-5") << -5;
}

void tst_IniFile::readInteger()
{
    QFETCH(QByteArray, line);
    QFETCH(int, expected);
    const TIniFile ini(Write("[A]\n" + line + '\n'));
    QCOMPARE(ini.ReadInteger(QStringLiteral("A"), QStringLiteral("Unit"), 1), expected);
}

void tst_IniFile::readFloat_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<double>("expected");

    QTest::newRow("integer") << QByteArray("MaxWeight=800") << 800.0;
    QTest::newRow("fraction") << QByteArray("MaxWeight=0.1") << 0.1;
    QTest::newRow("blanks") << QByteArray("MaxWeight=  1157.5  ") << 1157.5;
    QTest::newRow("word") << QByteArray("MaxWeight=heavy") << -1.0;
    QTest::newRow("empty") << QByteArray("MaxWeight=") << -1.0;
    QTest::newRow("missing") << QByteArray("Weight=5") << -1.0;
    QTest::newRow("comma") << QByteArray("MaxWeight=1,5") << -1.0;
    QTest::newRow("underflow") << QByteArray("MaxWeight=1E-400") << 0.0;
    QTest::newRow("beyond double range") << QByteArray("MaxWeight=1E400") << -1.0;
    QTest::newRow("largest double") << QByteArray("MaxWeight=1.7976931348623157E308") << DBL_MAX;
}

void tst_IniFile::readFloat()
{
    QFETCH(QByteArray, line);
    QFETCH(double, expected);
    const TIniFile ini(Write("[A]\n" + line + '\n'));
    QCOMPARE(ini.ReadFloat(QStringLiteral("A"), QStringLiteral("MaxWeight"), -1.0), expected);
}

void tst_IniFile::longLines_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("expected");

    const QByteArray body(3'000'000, 'v');
    QTest::newRow("cut at 2047") << QByteArray(3000, 'v') << QString(2047, u'v');
    QTest::newRow("exactly 2047") << QByteArray(2047, 'v') << QString(2047, u'v');
    QTest::newRow("quoted and cut")
        << QByteArray('"' + QByteArray(3000, 'v') + '"') << QString(2047, u'v');
    QTest::newRow("longer than a line is kept") << body << QString(2047, u'v');
    QTest::newRow("quoted beyond what is kept")
        << QByteArray('\'' + body + "'   ") << QString(2047, u'v');
    QTest::newRow("unmatched beyond what is kept")
        << QByteArray('\'' + body + '"') << '\'' + QString(2046, u'v');
    // 2047 characters end inside a surrogate pair: the half is dropped.
    QByteArray emoji = QByteArray(2046, 'a');
    for (int k = 0; k < 10; ++k)
        emoji += "\xF0\x9F\x98\x80";
    QTest::newRow("surrogate pair at the cut") << emoji << QString(2046, u'a');
}

void tst_IniFile::longLines()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, expected);
    const TIniFile ini(Write("[A]\nk=" + value + "\nj=after\n"));
    QCOMPARE(ini.ReadString(QStringLiteral("A"), QStringLiteral("k"), QString()), expected);
    QCOMPARE(ini.ReadString(QStringLiteral("A"), QStringLiteral("j"), QString()),
             QStringLiteral("after"));
}

void tst_IniFile::randomBytesNeverCrash()
{
    QRandomGenerator random(99);
    for (int round = 0; round < 20; ++round) {
        QByteArray bytes(round == 0 ? 1'000'000 : random.bounded(1, 4096), Qt::Uninitialized);
        for (char& c : bytes) {
            const int pick = random.bounded(16);
            c = pick == 0   ? '['
                : pick == 1 ? ']'
                : pick == 2 ? '='
                : pick == 3 ? '\n'
                : pick == 4 ? '\0'
                            : char(random.bounded(256));
        }
        const TIniFile ini(Write(bytes));
        QStringList sections;
        ini.ReadSections(sections);
        qsizetype total = 1;
        for (const QString& s : std::as_const(sections))
            total += s.toUtf8().size() + 1;
        QVERIFY(total <= 16384);
        // Each read scans the file again: a sample of the names is enough.
        for (const QString& s : sections.mid(0, 40)) {
            const QString v = ini.ReadString(s, QStringLiteral("k"), QString());
            QVERIFY(v.size() <= 2047);
            ini.ReadInteger(s, QStringLiteral("k"), 0);
            ini.ReadFloat(s, QStringLiteral("k"), 0);
        }
    }
}

void tst_IniFile::largeFilesReadToTheEnd()
{
    // 100000 sections, the wanted key in the last one.
    QByteArray many;
    many.reserve(3'000'000);
    for (int k = 0; k < 100000; ++k)
        many += "[S" + QByteArray::number(k) + "]\nk=" + QByteArray::number(k) + '\n';
    const TIniFile sectionsFile(Write(many));
    // One line of 50 MB with no line end at all.
    const TIniFile oneLine(Write(QByteArray(50'000'000, 'x')));
    // 50 MB of short lines, then a section.
    QByteArray lines;
    lines.reserve(50'000'100);
    while (lines.size() < 50'000'000)
        lines += "key=value;value;value;value;value;value;value;value;\n";
    lines += "[Last]\nk=found\n";
    const TIniFile linesFile(Write(lines));

    // A reader that went back over what it had read would take hours on
    // these: the test's time-out ends it; bench_files times the reading.
    QStringList sections;
    sectionsFile.ReadSections(sections);
    QVERIFY(!sections.isEmpty() && sections.size() < 100000);
    QCOMPARE(sectionsFile.ReadString(QStringLiteral("S99999"), QStringLiteral("k"), QString()),
             QStringLiteral("99999"));
    oneLine.ReadSections(sections);
    QVERIFY(sections.isEmpty());
    QCOMPARE(oneLine.ReadString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("d")),
             QStringLiteral("d"));
    linesFile.ReadSections(sections);
    QCOMPARE(sections, QStringList{QStringLiteral("Last")});
    QCOMPARE(linesFile.ReadString(QStringLiteral("last"), QStringLiteral("K"), QString()),
             QStringLiteral("found"));
}

void tst_IniFile::catalogueAircraft_data()
{
    QTest::addColumn<QString>("section");

    QStringList sections;
    TIniFile(QStringLiteral(TRX_SOURCE_DIR "/data/TRX.ini")).ReadSections(sections);
    QVERIFY(sections.size() >= 3);
    QCOMPARE(sections.first(), QStringLiteral("Trainer"));
    for (const QString& s : std::as_const(sections))
        QTest::newRow(qPrintable(s)) << s;
}

void tst_IniFile::catalogueAircraft()
{
    QFETCH(QString, section);
    const TIniFile ini(QStringLiteral(TRX_SOURCE_DIR "/data/TRX.ini"));
    auto text = [&](const char* key) { return ini.ReadString(section, QLatin1String(key), {}); };

    QVERIFY(!text("Make").isEmpty());
    QVERIFY(!text("Model").isEmpty());
    const int unit = ini.ReadInteger(section, QStringLiteral("Unit"), 0);
    QVERIFY(unit == 1 || unit == 2);
    const double maxWeight = ini.ReadFloat(section, QStringLiteral("MaxWeight"), 0);
    QVERIFY(maxWeight > 0);

    const int slotCount = ini.ReadInteger(section, QStringLiteral("Slots"), 0);
    QVERIFY(slotCount > 0);
    const QString names = text("SlotsNames");
    const QString weights = text("SlotsWeight");
    const QString maxWeights = text("SlotsMaxWeight");
    const QString positions = text("SlotsPos");
    const QString minPositions = text("SlotsMinPos");
    const QString maxPositions = text("SlotsMaxPos");
    for (const QString* list :
         {&names, &weights, &maxWeights, &positions, &minPositions, &maxPositions})
        QCOMPARE(list->count(u';'), slotCount);

    double totalWeight = 0;
    double totalMoment = 0;
    for (int i = 0; i < slotCount; ++i) {
        QVERIFY(!ListFieldText(i, names).isEmpty());
        const double weight = double(StrToFloat(ListFieldText(i, weights)));
        const double position = double(StrToFloat(ListFieldText(i, positions)));
        const double slotMax = double(ListFieldValue(i, maxWeights));
        const double minPos = double(ListFieldValue(i, minPositions));
        const double maxPos = double(ListFieldValue(i, maxPositions));
        QVERIFY2(weight >= 0 && weight <= slotMax, qPrintable(ListFieldText(i, names)));
        QVERIFY2(minPos <= position && position <= maxPos, qPrintable(ListFieldText(i, names)));
        totalWeight += weight;
        totalMoment += weight * position;
    }
    QVERIFY(totalWeight <= maxWeight);

    const int points = ini.ReadInteger(section, QStringLiteral("EnvelopePoints"), 1);
    QVERIFY(points >= 4);
    const QString xs = text("EnvelopeX");
    const QString ys = text("EnvelopeY");
    QCOMPARE(xs.count(u';'), points);
    QCOMPARE(ys.count(u';'), points);
    QList<QPointF> outline;
    for (int i = 0; i < points; ++i)
        outline.append(QPointF(double(ListFieldValue(i, xs)), double(ListFieldValue(i, ys))));
    QCOMPARE(outline.last(), outline.first());
    double envelopeTop = 0;
    for (const QPointF& p : std::as_const(outline))
        envelopeTop = std::max(envelopeTop, p.y());
    QCOMPARE(envelopeTop, maxWeight);

    // The default loading lies inside the envelope.
    QVERIFY2(QPolygonF(outline).containsPoint(QPointF(totalMoment, totalWeight), Qt::OddEvenFill),
             qPrintable(QStringLiteral("%1 at %2").arg(totalWeight).arg(totalMoment)));
}

QTEST_GUILESS_MAIN(tst_IniFile)
#include "tst_IniFile.moc"
