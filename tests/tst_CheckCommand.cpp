// SPDX-License-Identifier: GPL-3.0-or-later
// The trx-check command as a user runs it: files it cannot read, exit
// statuses, the default catalogue, and JSON that always parses; and its
// command line as the parser reads it.

#include "TestSupport.h"
#include "check/CheckOptions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray Trainer = "[Trainer]\nMake=Generic\nModel=T2\nSlots=4\n"
                           "SlotsNames=Empty aircraft;Pilot;Passenger;Fuel;\n"
                           "SlotsWeight=520;80;0;60;\nSlotsMaxWeight=520;120;120;110;\n"
                           "SlotsPos=0.95;0.94;0.94;1.22;\nSlotsMinPos=0.95;0.90;0.90;1.22;\n"
                           "SlotsMaxPos=0.95;1.00;1.00;1.22;\nMaxWeight=800\nUnit=1\n"
                           "EnvelopePoints=5\nEnvelopeX=450;600;820;700;450;\n"
                           "EnvelopeY=500;500;800;800;500;\n";

using Run = CommandRun;

const QString Checker = QStringLiteral(TRX_BIN_DIR "/trx-check");
// Aircraft whose default loading lies on the envelope's outline.
const QString Limits = QStringLiteral(TRX_SOURCE_DIR "/tests/catalogues/limits.ini");
const QString Extremes = QStringLiteral(TRX_SOURCE_DIR "/tests/catalogues/extremes.ini");

} // namespace

class tst_CheckCommand : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void command_data();
    void command();
    void jsonAlwaysParses();
    void jsonNamesUnreadable();
    void jsonSummary_data();
    void jsonSummary();
    void outputLost_data();
    void outputLost();
    void escaped_data();
    void escaped();
    void options_data();
    void options();

private:
    QString Write(const QString& name, const QByteArray& text);
    QTemporaryDir m_dir;
};

QString tst_CheckCommand::Write(const QString& name, const QByteArray& text)
{
    const QString path = m_dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void tst_CheckCommand::initTestCase()
{
    QVERIFY(m_dir.isValid());
    Write(QStringLiteral("empty.ini"), QByteArray());
    Write(QStringLiteral("clean.ini"), Trainer);
    Write(
        QStringLiteral("outside.ini"),
        QByteArray(Trainer).replace("EnvelopeX=450;600;820;700;450;", "EnvelopeX=0;100;100;0;0;"));
    {
        QFile limits(Limits);
        QVERIFY(limits.open(QIODevice::ReadOnly));
        Write(QStringLiteral("comma.ini"), limits.readAll().replace('.', ','));
    }
    Write(QStringLiteral("warning.ini"), QByteArray(Trainer).replace("Unit=1", "Unit=3"));
    Write(QStringLiteral("error.ini"),
          QByteArray(Trainer).replace("SlotsMinPos=0.95;0.90;0.90;1.22;",
                                      "SlotsMinPos=0.95;0.90;0.90;"));
    // Catalogue texts holding "%" signs, which must reach the messages unchanged.
    Write(QStringLiteral("percent.ini"), QByteArray(Trainer)
                                                 .replace("[Trainer]", "[T%2]")
                                                 .replace("EnvelopePoints=5", "EnvelopePoints=%3") +
                                             "[t%2]\n");
    // Root reads any file; a FIFO with no writer is what nobody can read.
    QVERIFY(mkfifo(QFile::encodeName(m_dir.filePath(QStringLiteral("fifo.ini"))).constData(),
                   0600) == 0);
}

void tst_CheckCommand::command_data()
{
    QTest::addColumn<QStringList>("args"); // "@" stands for the scratch folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // the end of a line of the output, "" for none expected
    QTest::addColumn<QString>("err");

    const QString none;
    QTest::newRow("missing") << QStringList{"@/missing.ini"} << 2
                             << "0 aircraft checked, 0 errors, 0 warnings"
                             << "trx-check: cannot read @/missing.ini: No such file or directory";
    QTest::newRow("directory") << QStringList{"@"} << 2 << none
                               << "trx-check: cannot read @: Is a directory";
    QTest::newRow("FIFO") << QStringList{"@/fifo.ini"} << 2 << none
                          << "trx-check: cannot read @/fifo.ini: Not a regular file";
    // The selector lists nothing, and OK stops with an error box.
    QTest::newRow("empty") << QStringList{"@/empty.ini"} << 1
                           << "@/empty.ini:0: error: - -: the selector lists no aircraft: pressing "
                              "OK loads an empty name and stops with \"'' is not a valid floating "
                              "point value.\" (no-aircraft)"
                           << none;
    QTest::newRow("clean") << QStringList{"@/clean.ini"} << 0
                           << "1 aircraft checked, 0 errors, 0 warnings" << none;
    QTest::newRow("warnings") << QStringList{"@/warning.ini"} << 0
                              << "@/warning.ini:12: warning: [Trainer] Unit: is 3, but only 2 "
                                 "(imperial) and 1 (metric) mean anything: the labels are metric "
                                 "(unit)"
                              << none;
    QTest::newRow("warnings, strict") << QStringList{"--strict", "@/warning.ini"} << 1
                                      << "1 aircraft checked, 0 errors, 1 warnings" << none;
    QTest::newRow("errors")
        << QStringList{"@/error.ini"} << 1
        << "@/error.ini:9: error: [Trainer] SlotsMinPos: 3 fields for 4 slots: field 4 is "
           "missing; loading stops here with \"'' is not a valid floating point value.\" "
           "(list-short)"
        << none;
    QTest::newRow("one unreadable among others")
        << QStringList{"@/clean.ini", "@/missing.ini", "@/error.ini"} << 2
        << "2 aircraft checked, 1 errors, 0 warnings"
        << "trx-check: cannot read @/missing.ini: No such file or directory";
    QTest::newRow("percent signs in a value")
        << QStringList{"@/percent.ini"} << 0
        << "@/percent.ini:14: warning: [T%2] EnvelopeX: 5 fields for 1 envelope point "
           "(EnvelopePoints '%3' is not an integer, so 1): fields 2 to 5 are ignored (list-long)"
        << none;
    QTest::newRow("percent signs in a section name")
        << QStringList{"@/percent.ini"} << 0
        << "@/percent.ini:16: warning: [t%2] -: repeats [T%2] of line 1: only that one is read, "
           "and nothing below this header is (duplicate-section)"
        << none;
    QTest::newRow("summary")
        << QStringList{"--summary", "@/clean.ini"} << 0
        << "@/clean.ini:1: note: [Trainer] -: default loading: weight 660 kg, moment "
           "642.400024414063 Nm, centre of gravity 0.973333370324337 m, inside the envelope "
           "(summary)"
        << none;
    QTest::newRow("summary, outside")
        << QStringList{"--summary", "@/outside.ini"} << 0
        << "@/outside.ini:1: note: [Trainer] -: default loading: weight 660 kg, moment "
           "642.400024414063 Nm, centre of gravity 0.973333370324337 m, outside the envelope "
           "(summary)"
        << none;
    QTest::newRow("summary, no weight")
        << QStringList{"--summary", Extremes} << 1
        << "[Flat] -: default loading: weight 0 kg, moment 0 Nm, no centre of gravity, no closed "
           "envelope to compare with (summary)"
        << none;
    // Limits are inclusive: a loading on the outline is within them, and the
    // line names the limit in the loading sheet's words.
    const struct
    {
        const char* section;
        const char* figures;
        const char* limit;
    } onLimit[] = {
        {"ForwardEdge", "weight 600 kg, moment 500 Nm, centre of gravity 0.833333333333333 m",
         "the forward limit"},
        {"AftEdge", "weight 560 kg, moment 700 Nm, centre of gravity 1.25 m", "the aft limit"},
        {"BottomEdge", "weight 500 kg, moment 600 Nm, centre of gravity 1.2 m",
         "the envelope's lowest weight"},
        {"TopEdge", "weight 700 kg, moment 550 Nm, centre of gravity 0.785714285714286 m",
         "the envelope's highest weight"},
        {"SlantedEdge", "weight 650 kg, moment 650 Nm, centre of gravity 1 m", "the aft limit"},
        {"SlantedVertex", "weight 600 kg, moment 700 Nm, centre of gravity 1.16666666666667 m",
         "the aft limit"},
        {"BottomCorner", "weight 500 kg, moment 500 Nm, centre of gravity 1 m",
         "the forward limit"},
    };
    for (const auto& row : onLimit)
        QTest::addRow("summary, on the limit: %s", row.section)
            << QStringList{"--summary", Limits} << 0
            << QStringLiteral("[%1] -: default loading: %2, within limits, on %3 (summary)")
                   .arg(QLatin1String(row.section), QLatin1String(row.figures),
                        QLatin1String(row.limit))
            << none;
    QTest::newRow("on the limits, strict") << QStringList{"--strict", "--summary", Limits} << 0
                                           << "8 aircraft checked, 0 errors, 0 warnings" << none;
    QTest::newRow("unknown option")
        << QStringList{"--jsn"} << 2 << none << "trx-check: unknown option '--jsn'";
    QTest::newRow("help lists the options")
        << QStringList{"--help"} << 0 << "  --strict    exit with status 1 on warnings too" << none;
    QTest::newRow("help lists the exit statuses")
        << QStringList{"-h"} << 0 << "  1  errors, or warnings with --strict" << none;
    QTest::newRow("help says where the codes are explained")
        << QStringList{"--help"} << 0
        << "Each finding ends with its code in parentheses; man trx-check explains" << none;
    QTest::newRow("options end") << QStringList{"--", "--json"} << 2 << none
                                 << "trx-check: cannot read --json: No such file or directory";
    // The bundled catalogue beside the built TRX.
    QTest::newRow("default catalogue")
        << QStringList{} << 0 << "3 aircraft checked, 0 errors, 0 warnings" << none;
}

void tst_CheckCommand::command()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    for (QString& a : args)
        a.replace(u'@', m_dir.path());
    out.replace(u'@', m_dir.path());
    err.replace(u'@', m_dir.path());

    const Run run = RunCommand(Checker, args);
    QCOMPARE(run.status, status);
    if (!out.isEmpty()) {
        const QStringList lines = run.out.split(u'\n');
        QVERIFY2(std::any_of(lines.cbegin(), lines.cend(),
                             [&](const QString& line) { return line.endsWith(out); }),
                 qPrintable(run.out));
    }
    if (err.isEmpty())
        QCOMPARE(run.err, QString());
    else
        QVERIFY2(run.err.split(u'\n').contains(err), qPrintable(run.err));
}

// Any bytes in names and values: the JSON parses and says what the text says.
void tst_CheckCommand::jsonAlwaysParses()
{
    QDir().mkpath(m_dir.filePath(QStringLiteral("odd")));
    const QByteArray oddName =
        QFile::encodeName(m_dir.filePath(QStringLiteral("odd"))) + "/bad\xFF\x01name.ini";
    // Removed here: the temporary folder cannot remove a name that is no UTF-8.
    const auto removeOdd = qScopeGuard([&] { ::unlink(oddName.constData()); });
    {
        // The name is no UTF-8: written through the file system's own bytes.
        FILE* f = std::fopen(oddName.constData(), "wb");
        QVERIFY(f);
        const QByteArray text = "[Q\"uote\\\x01\xC3]\nMa\tke=\x1B[31m\nSlots=x\n" + Trainer;
        std::fwrite(text.constData(), 1, size_t(text.size()), f);
        std::fclose(f);
    }
    // A shell hands the name over as bytes.
    const Run run =
        RunCommand(QStringLiteral("/bin/sh"),
                   {QStringLiteral("-c"), QStringLiteral("exec \"$0\" --json --summary \"$1\"/*"),
                    Checker, m_dir.filePath(QStringLiteral("odd"))});
    QCOMPARE(run.status, 1);
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(run.out.toUtf8(), &error);
    QVERIFY2(!json.isNull(), qPrintable(error.errorString() + u'\n' + run.out));
    const QJsonObject top = json.object();
    QCOMPARE(top.value(QStringLiteral("files")).toArray().first().toString(),
             m_dir.filePath(QStringLiteral("odd")) + QStringLiteral("/bad\uFFFD\u0001name.ini"));
    QCOMPARE(top.value(QStringLiteral("aircraft")).toInt(), 2);
    const QJsonArray findings = top.value(QStringLiteral("findings")).toArray();
    int errors = 0;
    for (const QJsonValue& v : findings) {
        const QJsonObject f = v.toObject();
        QCOMPARE(f.keys(),
                 (QStringList{"code", "file", "key", "line", "message", "section", "severity"}));
        errors += f.value(QStringLiteral("severity")).toString() == QLatin1String("error");
    }
    QCOMPARE(top.value(QStringLiteral("errors")).toInt(), errors);
    QCOMPARE(top.value(QStringLiteral("warnings")).toInt(), findings.size() - errors);
    const QJsonObject first = findings.first().toObject();
    QCOMPARE(first.value(QStringLiteral("section")).toString(),
             QStringLiteral("Q\"uote\\\u0001\uFFFD"));
    QCOMPARE(top.value(QStringLiteral("summary")).toArray().size(), 2);
}

// A program reading only the JSON learns of a file that could not be read.
void tst_CheckCommand::jsonNamesUnreadable()
{
    const Run run =
        RunCommand(Checker, {"--json", m_dir.filePath("clean.ini"), m_dir.filePath("missing.ini")});
    QCOMPARE(run.status, 2);
    const QJsonObject top = QJsonDocument::fromJson(run.out.toUtf8()).object();
    QCOMPARE(top.value("format_version").toInt(), 2);
    QCOMPARE(top.value("files").toArray(), QJsonArray{m_dir.filePath("clean.ini")});
    QCOMPARE(top.value("unreadable").toArray(),
             (QJsonArray{QJsonObject{{"file", m_dir.filePath("missing.ini")},
                                     {"error", "No such file or directory"}}}));
}

void tst_CheckCommand::jsonSummary_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("files"); // "@" stands for the scratch folder
    QTest::addColumn<QString>("section");
    QTest::addColumn<QJsonValue>("weight");
    QTest::addColumn<QJsonValue>("moment");
    QTest::addColumn<QJsonValue>("centre");
    QTest::addColumn<QJsonValue>("envelope");
    QTest::addColumn<QJsonValue>("onLimit");

    const QString c = QStringLiteral("C");
    const QJsonValue null(QJsonValue::Null);
    const QJsonValue inside(QStringLiteral("inside"));
    QTest::newRow("inside") << c << QStringList{"@/clean.ini"} << "Trainer" << QJsonValue(660)
                            << QJsonValue(642.400024414063) << QJsonValue(0.973333370324337)
                            << inside << null;
    QTest::newRow("outside") << c << QStringList{"@/outside.ini"} << "Trainer" << QJsonValue(660)
                             << QJsonValue(642.400024414063) << QJsonValue(0.973333370324337)
                             << QJsonValue(QStringLiteral("outside")) << null;
    const QStringList limits{Limits};
    QTest::newRow("forward edge") << c << limits << "ForwardEdge" << QJsonValue(600)
                                  << QJsonValue(500) << QJsonValue(0.833333333333333) << inside
                                  << QJsonValue(QStringLiteral("forward"));
    QTest::newRow("aft edge") << c << limits << "AftEdge" << QJsonValue(560) << QJsonValue(700)
                              << QJsonValue(1.25) << inside << QJsonValue(QStringLiteral("aft"));
    QTest::newRow("bottom edge") << c << limits << "BottomEdge" << QJsonValue(500)
                                 << QJsonValue(600) << QJsonValue(1.2) << inside
                                 << QJsonValue(QStringLiteral("bottom"));
    QTest::newRow("top edge") << c << limits << "TopEdge" << QJsonValue(700) << QJsonValue(550)
                              << QJsonValue(0.785714285714286) << inside
                              << QJsonValue(QStringLiteral("top"));
    QTest::newRow("slanted edge") << c << limits << "SlantedEdge" << QJsonValue(650)
                                  << QJsonValue(650) << QJsonValue(1) << inside
                                  << QJsonValue(QStringLiteral("aft"));
    QTest::newRow("vertex") << c << limits << "SlantedVertex" << QJsonValue(600) << QJsonValue(700)
                            << QJsonValue(1.16666666666667) << inside
                            << QJsonValue(QStringLiteral("aft"));
    QTest::newRow("corner") << c << limits << "BottomCorner" << QJsonValue(500) << QJsonValue(500)
                            << QJsonValue(1) << inside << QJsonValue(QStringLiteral("forward"));
    // Numbers keep a decimal point whatever the user's separator.
    QTest::newRow("decimal comma")
        << QStringLiteral("de_DE.UTF-8") << QStringList{"@/comma.ini"} << "ForwardEdge"
        << QJsonValue(600) << QJsonValue(500) << QJsonValue(0.833333333333333) << inside
        << QJsonValue(QStringLiteral("forward"));
    // No weight has no centre of gravity; a total beyond single precision no number.
    const QJsonValue noEnvelope(QStringLiteral("no envelope"));
    QTest::newRow("no weight") << c << QStringList{Extremes} << "Flat" << QJsonValue(0)
                               << QJsonValue(0) << null << noEnvelope << null;
    QTest::newRow("infinite totals")
        << c << QStringList{Extremes} << "Huge" << null << null << null << noEnvelope << null;
    QTest::newRow("load stops") << c << QStringList{Extremes} << "Extremes" << null << null << null
                                << null << null;
}

// Each aircraft's summary in JSON: numbers as numbers, null where there is none.
void tst_CheckCommand::jsonSummary()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, files);
    QFETCH(QString, section);
    QFETCH(QJsonValue, weight);
    QFETCH(QJsonValue, moment);
    QFETCH(QJsonValue, centre);
    QFETCH(QJsonValue, envelope);
    QFETCH(QJsonValue, onLimit);
    for (QString& f : files)
        f.replace(u'@', m_dir.path());

    const Run run = RunCommand(Checker, QStringList{"--json", "--summary"} + files, locale);
    QJsonParseError error;
    const QJsonObject top = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString() + run.out));
    QCOMPARE(top.value(QStringLiteral("format_version")).toInt(), 2);
    QJsonObject found;
    for (const QJsonValue& v : top.value(QStringLiteral("summary")).toArray())
        if (v.toObject().value(QStringLiteral("section")).toString() == section)
            found = v.toObject();
    QVERIFY2(!found.isEmpty(), qPrintable(run.out));
    QCOMPARE(found.keys(),
             (QStringList{"centre_of_gravity", "envelope", "error", "file", "line", "listed",
                          "loads", "moment", "on_limit", "section", "units", "weight"}));
    QCOMPARE(found.value(QStringLiteral("weight")), weight);
    QCOMPARE(found.value(QStringLiteral("moment")), moment);
    QCOMPARE(found.value(QStringLiteral("centre_of_gravity")), centre);
    QCOMPARE(found.value(QStringLiteral("envelope")), envelope);
    QCOMPARE(found.value(QStringLiteral("on_limit")), onLimit);
}

void tst_CheckCommand::outputLost_data()
{
    QTest::addColumn<QString>("redirect"); // of the shell
    QTest::addColumn<QStringList>("args"); // "@" stands for the scratch folder
    for (const char* redirect : {">/dev/full", ">&-"}) {
        const QString r = QString::fromLatin1(redirect);
        QTest::addRow("%s, text", redirect) << r << QStringList{"@/clean.ini"};
        QTest::addRow("%s, json", redirect) << r << QStringList{"--json", "@/clean.ini"};
        QTest::addRow("%s, summary", redirect) << r << QStringList{"--summary", "@/clean.ini"};
        QTest::addRow("%s, errors", redirect) << r << QStringList{"@/error.ini"};
    }
}

// A report that cannot be written is trouble, whatever the findings.
void tst_CheckCommand::outputLost()
{
    QFETCH(QString, redirect);
    QFETCH(QStringList, args);
    for (QString& a : args)
        a.replace(u'@', m_dir.path());
    const Run run = RunCommand(QStringLiteral("/bin/sh"),
                               QStringList{"-c", "exec \"$0\" \"$@\" " + redirect, Checker} + args);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.startsWith(QStringLiteral("trx-check: cannot write the output: ")),
             qPrintable(run.err));
}

void tst_CheckCommand::escaped_data()
{
    QTest::addColumn<QString>("name");       // a catalogue written in the scratch folder
    QTest::addColumn<QByteArray>("content"); // null: a folder of that name
    QTest::addColumn<QStringList>("args");   // "@" stands for the catalogue's path
    QTest::addColumn<QString>("shown");      // what the output shows in its place

    const QByteArray none;
    const QString esc = QStringLiteral("\x1B]0;pwned\x07\x1B[2J");
    QTest::newRow("file name, cannot read") << "d" + esc + ".ini" << none << QStringList{"@"}
                                            << "d\\x1B]0;pwned\\x07\\x1B[2J.ini: Is a directory";
    QTest::newRow("file name, finding") << "f\u202Egnp.ini" << QByteArray("[]\n")
                                        << QStringList{"@"} << "f\\u202Egnp.ini:1: warning";
    QTest::newRow("file name, JSON") << "j\u009B\u007F.ini" << QByteArray("[]\n")
                                     << QStringList{"--json", "@"} << "j\\u009b\\u007f.ini";
    QTest::newRow("option") << QString() << none << QStringList{"--x" + esc}
                            << "unknown option '--x\\x1B]0;pwned\\x07\\x1B[2J'";
    QTest::newRow("section") << "s.ini" << QByteArray("[A\xE2\x80\xAE\\x1B]\n") << QStringList{"@"}
                             << "[A\\u202E\\\\x1B] EnvelopeX: missing";
    QTest::newRow("key") << "k.ini" << QByteArray("[A]\nK\xE2\x81\xA6y\\=1\n") << QStringList{"@"}
                         << "[A] K\\u2066y\\\\: TRX never reads";
    QTest::newRow("value") << "v.ini"
                           << QByteArray("[A]\nSlots=\xC2\x9B"
                                         "2J\\\n")
                           << QStringList{"@"} << "'\\u009B2J\\\\' is not an integer";
    QTest::newRow("value, JSON") << "w.ini" << QByteArray("[A]\nSlots=\xC2\x9B\x7F\n")
                                 << QStringList{"--json", "@"} << "'\\u009b\\u007f' is not";
}

// No control or bidirectional character from outside reaches the terminal
// raw, and a backslash cannot forge an escape.
void tst_CheckCommand::escaped()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QStringList, args);
    QFETCH(QString, shown);
    const QString path = m_dir.filePath(name);
    if (!name.isEmpty() && content.isNull())
        QVERIFY(QDir().mkpath(path));
    else if (!name.isEmpty())
        Write(name, content);
    for (QString& a : args)
        a.replace(u'@', path);

    const Run run = RunCommand(Checker, args);
    QVERIFY(run.status >= 0);
    const QString all = run.out + run.err;
    for (const QChar c : all) {
        const char16_t u = c.unicode();
        const bool control = (u < 0x20 && u != u'\n') || (u >= 0x7F && u < 0xA0);
        const bool bidi = (u >= 0x200E && u <= 0x200F) || (u >= 0x202A && u <= 0x202E) ||
                          (u >= 0x2066 && u <= 0x2069);
        QVERIFY2(!control && !bidi, qPrintable(QString::number(u, 16) + u'\n' + all));
    }
    QVERIFY2(all.contains(shown), qPrintable(all));
}

void tst_CheckCommand::options_data()
{
    QTest::addColumn<QByteArrayList>("args");
    QTest::addColumn<QString>("set"); // the flags set, in the order of CheckOptions
    QTest::addColumn<QByteArrayList>("catalogues");
    QTest::addColumn<QString>("error");

    const QString none;
    QTest::newRow("nothing") << QByteArrayList{} << none << QByteArrayList{} << none;
    QTest::newRow("every flag, anywhere")
        << QByteArrayList{"a.ini", "--summary", "b.ini", "--strict", "--json"}
        << "json strict summary" << QByteArrayList{"a.ini", "b.ini"} << none;
    QTest::newRow("a lone dash is a catalogue")
        << QByteArrayList{"-"} << none << QByteArrayList{"-"} << none;
    QTest::newRow("an empty argument is a catalogue")
        << QByteArrayList{""} << none << QByteArrayList{""} << none;
    QTest::newRow("options end") << QByteArrayList{"--json", "--", "--strict", "--", "-h", "--x"}
                                 << "json" << QByteArrayList{"--strict", "--", "-h", "--x"} << none;
    QTest::newRow("help decides") << QByteArrayList{"--json", "--help", "--x", "c.ini"}
                                  << "help json" << QByteArrayList{} << none;
    QTest::newRow("short help") << QByteArrayList{"-h"} << "help" << QByteArrayList{} << none;
    QTest::newRow("version before help")
        << QByteArrayList{"--version", "--help"} << "version" << QByteArrayList{} << none;
    QTest::newRow("unknown before help") << QByteArrayList{"--jsn", "--help"} << none
                                         << QByteArrayList{} << "unknown option '--jsn'";
    QTest::newRow("no values") << QByteArrayList{"--json=1"} << none << QByteArrayList{}
                               << "unknown option '--json=1'";
    QTest::newRow("single letters are not combined")
        << QByteArrayList{"-hj"} << none << QByteArrayList{} << "unknown option '-hj'";
    QTest::newRow("bytes escaped, not replaced")
        << QByteArrayList{"-x\xFF\x1B%1"} << none << QByteArrayList{}
        << "unknown option '-x\\xFF\\x1B%1'";
}

// Options anywhere among the catalogues, "--" ends them, and the first
// --help, --version or unknown option decides.
void tst_CheckCommand::options()
{
    QFETCH(QByteArrayList, args);
    QFETCH(QString, set);
    QFETCH(QByteArrayList, catalogues);
    QFETCH(QString, error);

    const CheckOptions o = ParseCheckOptions(args);
    QStringList flags;
    const std::pair<bool, const char*> all[] = {{o.help, "help"},
                                                {o.version, "version"},
                                                {o.json, "json"},
                                                {o.strict, "strict"},
                                                {o.summary, "summary"}};
    for (const auto& [on, name] : all)
        if (on)
            flags << QString::fromLatin1(name);
    QCOMPARE(flags.join(u' '), set);
    QCOMPARE(o.catalogues, catalogues);
    QCOMPARE(o.error, error);
}

QTEST_GUILESS_MAIN(tst_CheckCommand)
#include "tst_CheckCommand.moc"
