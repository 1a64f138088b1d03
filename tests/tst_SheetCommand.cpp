// SPDX-License-Identifier: GPL-3.0-or-later
// The trx-sheet command as a user runs it: what it prints for the bundled
// catalogue, edits, the exit statuses, failures in text and JSON.

#include "TestSupport.h"
#include "sheet/SheetPdfModule.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

using Run = CommandRun;

// Runs trx-sheet in the locale `locale`; `shell` runs it through /bin/sh,
// whose redirections the row's arguments then hold.
Run Start(const QStringList& args, const QString& locale = QStringLiteral("C"), bool shell = false,
          const QString& sheet = QStringLiteral(TRX_BIN_DIR "/trx-sheet"))
{
    if (shell)
        return RunCommand(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), QStringLiteral("\"$0\" ") + args.join(u' '), sheet}, locale);
    return RunCommand(sheet, args, locale);
}

// What is at `path`, not following a link: its type and, for a regular
// file, its bytes; a link adds what it points to.
QByteArray Describe(const QString& path)
{
    struct stat st = {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return "missing";
    if (S_ISLNK(st.st_mode))
        return "link to " + QFile::encodeName(QFile::symLinkTarget(path));
    if (!S_ISREG(st.st_mode))
        return "type " + QByteArray::number(st.st_mode & S_IFMT) + " rdev " +
               QByteArray::number(quint64(st.st_rdev));
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? "file " + file.readAll() : "unreadable";
}

} // namespace

class tst_SheetCommand : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void command_data();
    void command();
    void json_data();
    void json();
    void pdfHoldsTheFigures_data();
    void pdfHoldsTheFigures();
    void pdfTargetUntouched_data();
    void pdfTargetUntouched();
    void pdfOnStandardOutputOverPages();
    void failureKinds_data();
    void failureKinds();
    void noWeightNoInfinity_data();
    void noWeightNoInfinity();
    void pdfModuleOfAnotherVersion();

private:
    QTemporaryDir m_dir;
};

void tst_SheetCommand::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QFile f(m_dir.filePath(QStringLiteral("odd.ini")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    // A name with a terminal control, an aircraft whose load stops, an open envelope.
    f.write("[Red\x1B[31m]\nSlots=1\nSlotsNames=Empty;\nSlotsWeight=5;\nSlotsMaxWeight=5;\n"
            "SlotsPos=1;\nSlotsMinPos=1;\nSlotsMaxPos=1;\n"
            "[Stops]\nSlots=2\nEnvelopePoints=0\nSlotsMaxWeight=1;x;\nSlotsMinPos=1;1;"
            "\nSlotsMaxPos=1;1;\n"
            "[Open]\nSlots=2\nSlotsNames=A;B;\nSlotsWeight=1;1;\nSlotsMaxWeight=1;1;\n"
            "SlotsPos=1;1;\nSlotsMinPos=1;1;\nSlotsMaxPos=1;1;\nEnvelopePoints=2\n"
            "EnvelopeX=0;1;\nEnvelopeY=0;1;\n"
            "[Trainer 2]\n[Trainer 3]\n"
            "[Heavy landing]\nSlots=2\nSlotsNames=A;B;\nSlotsWeight=1;1;\nSlotsMaxWeight=1;1;\n"
            "SlotsPos=1;1;\nSlotsMinPos=1;1;\nSlotsMaxPos=1;1;\nMaxWeight=10\nEnvelopePoints=0\n"
            "MaxLandingWeight=heavy\n");
    // The bundled catalogue as written where the decimal separator is ",".
    QFile bundled(QStringLiteral(TRX_SOURCE_DIR "/data/TRX.ini"));
    QFile comma(m_dir.filePath(QStringLiteral("comma.ini")));
    QVERIFY(bundled.open(QIODevice::ReadOnly) && comma.open(QIODevice::WriteOnly));
    comma.write(bundled.readAll().replace('.', ','));
    comma.close();
    // A loading saved from the bundled catalogue: comma.ini holds its aircraft
    // with other texts.
    QCOMPARE(Start({QStringLiteral("--catalogue"), bundled.fileName(), QStringLiteral("Trainer"),
                    QStringLiteral("--save"), m_dir.filePath(QStringLiteral("trainer.json"))})
                 .status,
             0);

    // One-slot aircraft whose loading lies on the envelope's outline: on the
    // forward and the aft edge, the bottom and the top, the slanted edge
    // (moment = weight + 200) and the vertex where it meets the aft edge;
    // and one of no weight inside an envelope that reaches 0.
    QFile limits(m_dir.filePath(QStringLiteral("limits.ini")));
    QVERIFY(limits.open(QIODevice::WriteOnly));
    const QList<std::tuple<const char*, const char*, const char*>> onOutline = {
        {"Forward", "200", "0.75"}, {"Aft", "256", "1.5625"},     {"Bottom", "100", "2"},
        {"Top", "300", "1"},        {"Slanted", "128", "2.5625"}, {"Vertex", "200", "2"}};
    for (const auto& [name, weight, position] : onOutline)
        limits.write(QStringLiteral("[%1]\nSlots=1\nSlotsNames=Empty;\nSlotsWeight=%2;\n"
                                    "SlotsMaxWeight=500;\nSlotsPos=%3;\nSlotsMinPos=0;\n"
                                    "SlotsMaxPos=5;\nEnvelopePoints=6\n"
                                    "EnvelopeX=150;300;400;400;150;150;\n"
                                    "EnvelopeY=100;100;200;300;300;100;\n")
                         .arg(name, weight, position)
                         .toLatin1());
    limits.write("[Zero]\nSlots=1\nSlotsNames=Empty;\nSlotsWeight=0;\nSlotsMaxWeight=500;\n"
                 "SlotsPos=1;\nSlotsMinPos=0;\nSlotsMaxPos=5;\nEnvelopePoints=5\n"
                 "EnvelopeX=-100;100;100;-100;-100;\nEnvelopeY=-100;-100;100;100;-100;\n");
}

void tst_SheetCommand::command_data()
{
    QTest::addColumn<QStringList>("args"); // "@" stands for the scratch folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("out"); // lines the output holds
    QTest::addColumn<QString>("err");     // a line of stderr; "" for none

    const QString none;
    QTest::newRow("bundled Trainer")
        << QStringList{"Trainer"} << 0
        << QStringList{"Pilot           80      120         0.94      75.2",
                       "Total weight: 660.0 kg",
                       "Total moment: 642.4 Nm",
                       "Centre of gravity: 0.973 m",
                       "Envelope at 660.0 kg: moment 583.3 to 717.3 Nm, "
                       "centre of gravity 0.884 to 1.087 m",
                       "Warnings: none"}
        << none;
    QTest::newRow("prefix, any case")
        << QStringList{"tRAI"} << 0 << QStringList{"Aircraft: Trainer (Generic T2)"} << none;
    QTest::newRow("slot overweight")
        << QStringList{"Trainer", "--weight", "Pilot=130"} << 1
        << QStringList{"Pilot           130     120         0.94      122.2",
                       "Warnings:", "  Overweight in some positions!"}
        << none;
    QTest::newRow("edits in order, by number")
        << QStringList{"--position=3=0.8", "--weight", "3=401", "Trainer"} << 1
        << QStringList{"  Impossible position!", "  Overweight in some positions!",
                       "  Overweight: 1061/800", "Verdict: outside"}
        << none;
    QTest::newRow("refused value")
        << QStringList{"Trainer", "--weight", "Pilot=abc"} << 2 << QStringList{}
        << "trx-sheet: --weight Pilot=abc: 'abc' is not a valid floating point value.";
    QTest::newRow("first slot")
        << QStringList{"Trainer", "--weight", "1=3"} << 2 << QStringList{}
        << "trx-sheet: --weight 1=3: slot 1 ('Empty aircraft') cannot be changed: the window "
           "changes only the slots after the first";
    QTest::newRow("no such slot")
        << QStringList{"Trainer", "--position", "5=1"} << 2 << QStringList{}
        << "trx-sheet: --position 5=1: no slot 5: the aircraft has 4 slots; the slots are 1 "
           "'Empty aircraft', 2 'Pilot', 3 'Passenger', 4 'Fuel'";
    QTest::newRow("unknown aircraft")
        << QStringList{"Trainr"} << 2 << QStringList{}
        << "trx-sheet: no aircraft 'Trainr'; the closest: 'Trainer', 'DA40', 'C172S'";
    QTest::newRow("several begin with it")
        << QStringList{"--catalogue", "@/odd.ini", "trainer"} << 2 << QStringList{}
        << "trx-sheet: 'trainer' could be 'Trainer 2', 'Trainer 3'";
    QTest::newRow("list, escaped")
        << QStringList{"--catalogue", "@/odd.ini", "--list"} << 0
        << QStringList{"Red\\x1B[31m", "Stops", "Open", "Trainer 2"} << none;
    QTest::newRow("load stops")
        << QStringList{"--catalogue", "@/odd.ini", "Stops"} << 2 << QStringList{}
        << "trx-sheet: [Stops] cannot be loaded: 'x' is not a valid floating point value.";
    QTest::newRow("no envelope") << QStringList{"--catalogue", "@/odd.ini", "Open"} << 1
                                 << QStringList{"Verdict: no envelope"} << none;
    QTest::newRow("user's decimal comma")
        << QStringList{"--catalogue", "@/comma.ini", "Trainer",
                       "--position",  "Pilot=0,95",  "LOCALE=de_DE.UTF-8"}
        << 0
        << QStringList{"Pilot           80      120         0,95      76", "Total moment: 643,2 Nm"}
        << none;
    QTest::newRow("missing catalogue")
        << QStringList{"--catalogue", "@/none.ini", "Trainer"} << 2 << QStringList{}
        << "trx-sheet: cannot read @/none.ini: No such file or directory";
    QTest::newRow("bad option") << QStringList{"--paper", "a3", "Trainer"} << 2 << QStringList{}
                                << "trx-sheet: --paper is a4 or letter, not 'a3'";
    QTest::newRow("no aircraft") << QStringList{} << 2 << QStringList{}
                                 << "trx-sheet: no aircraft named";
    QTest::newRow("full disk") << QStringList{"Trainer", ">/dev/full", "SHELL"} << 2
                               << QStringList{}
                               << "trx-sheet: cannot write the output: No space left on device";
    QTest::newRow("closed stdout")
        << QStringList{"Trainer", ">&-", "SHELL"} << 2 << QStringList{}
        << "trx-sheet: cannot write the output: standard output is closed";
    QTest::newRow("pdf on a full standard output")
        << QStringList{"Trainer", "--pdf", "-", ">/dev/full", "SHELL"} << 2 << QStringList{}
        << "trx-sheet: cannot write the output: No space left on device";
    QTest::newRow("pdf in a missing folder")
        << QStringList{"Trainer", "--pdf", "@/none/sheet.pdf"} << 2 << QStringList{}
        << "trx-sheet: cannot write @/none/sheet.pdf: No such file or directory";
    // Limits are inclusive: on the outline is within them, and the verdict
    // names the limit.
    const QStringList limits{"--catalogue", "@/limits.ini"};
    QTest::newRow("on the forward edge")
        << limits + QStringList{"Forward"} << 0
        << QStringList{"Verdict: within limits, on the forward limit; margin to the low limit 0.0 "
                       "Nm (0.000 m), to the high limit 250.0 Nm (1.250 m)"}
        << none;
    QTest::newRow("on the aft edge")
        << limits + QStringList{"Aft"} << 0
        << QStringList{"Verdict: within limits, on the aft limit; margin to the low limit 250.0 Nm "
                       "(0.977 m), to the high limit 0.0 Nm (0.000 m)"}
        << none;
    QTest::newRow("on the bottom")
        << limits + QStringList{"Bottom"} << 0
        << QStringList{"Verdict: within limits, on the envelope's lowest weight; margin to the "
                       "low limit 50.0 Nm (0.500 m), to the high limit 100.0 Nm (1.000 m)"}
        << none;
    QTest::newRow("on the top")
        << limits + QStringList{"Top"} << 0
        << QStringList{"Verdict: within limits, on the envelope's highest weight; margin to the "
                       "low limit 150.0 Nm (0.500 m), to the high limit 100.0 Nm (0.333 m)"}
        << none;
    QTest::newRow("on the slanted edge")
        << limits + QStringList{"Slanted"} << 0
        << QStringList{"Envelope at 128.0 kg: moment 150.0 to 328.0 Nm, centre of gravity 1.172 to "
                       "2.563 m",
                       "Verdict: within limits, on the aft limit; margin to the low limit 178.0 Nm "
                       "(1.391 m), to the high limit 0.0 Nm (0.000 m)"}
        << none;
    QTest::newRow("on a vertex")
        << limits + QStringList{"Vertex"} << 0
        << QStringList{"Verdict: within limits, on the aft limit; margin to the low limit 250.0 Nm "
                       "(1.250 m), to the high limit 0.0 Nm (0.000 m)"}
        << none;
    // No weight, no centre of gravity: its limits and margins are left out.
    QTest::newRow("no weight")
        << limits + QStringList{"Zero"} << 0
        << QStringList{"Centre of gravity: none", "Envelope at 0.0 kg: moment -100.0 to 100.0 Nm",
                       "Verdict: inside; margin to the low limit 100.0 Nm, to the high limit 100.0 "
                       "Nm"}
        << none;
    // The whole flight, on the published loading of a four-seat single: 24 US
    // gal burnt lands 7 lb under the landing limit, 20 gal above it.
    const QStringList flight{"--catalogue", TRX_SOURCE_DIR "/tests/catalogues/flight.ini"};
    QTest::newRow("flight, published loading")
        << flight + QStringList{"Skylane", "--burn", "Fuel=24gal"} << 0
        << QStringList{"  Burn: Fuel 24.0 gal = 144.0 Lbs",
                       "Condition  Weight  Moment    CG     CG limits at that weight  Weight limit "
                       "        Verdict",
                       "Ramp       3087.0  138618.8  44.90  40.78 to 46.00            3110.0 (23.0 "
                       "under)  inside",
                       "Take-off   3087.0  138618.8  44.90  40.78 to 46.00            3100.0 (13.0 "
                       "under)  inside",
                       "Landing    2943.0  131922.8  44.83  39.44 to 46.00            2950.0 (7.0 "
                       "under)   inside",
                       "Zero fuel  2787.0  124668.8  44.73  37.99 to 46.00            none         "
                       "        inside",
                       "Fuel burn, take-off to landing: within limits",
                       "On to zero fuel, landing to zero fuel: within limits"}
        << none;
    QTest::newRow("flight, lands too heavy")
        << flight + QStringList{"Skylane", "--burn", "Fuel=20gal"} << 1
        << QStringList{"Landing    2967.0  133038.8  44.84  39.67 to 46.00            2950.0 (17.0 "
                       "over)   inside; over the weight limit"}
        << none;
    QTest::newRow("flight, fuel by volume in the cell")
        << flight + QStringList{"Skylane", "--fuel", "Fuel=40gal", "--burn", "Fuel=24gal"} << 0
        << QStringList{"Fuel            240     522         46.5      11160",
                       "  Fuel: Fuel 40.0 gal = 240.0 Lbs"}
        << none;
    QTest::newRow("flight, burn leaves a notch and comes back")
        << flight + QStringList{"Notched", "--burn", "Fuel=150"} << 1
        << QStringList{"Fuel burn, take-off to landing: outside: leaves the envelope after 50.0 "
                       "kg and comes back after 100.0 kg"}
        << none;
    QTest::newRow("flight, aft tank through the forward limit, in litres")
        << flight + QStringList{"AftTank", "--taxi", "2=0L", "--burn", "2=200"} << 1
        << QStringList{"Fuel burn, take-off to landing: outside: leaves the envelope after 261.1 L "
                       "(188.0 kg) and stays outside"}
        << none;
    QTest::newRow("flight, more fuel used than the tank holds")
        << flight + QStringList{"Skylane", "--taxi", "Fuel=1gal", "--burn", "Fuel=50gal"} << 2
        << QStringList{} << "trx-sheet: Fuel holds 300, but 306 is used from it";
    QTest::newRow("flight, negative amount")
        << flight + QStringList{"Skylane", "--burn", "Fuel=-1"} << 2 << QStringList{}
        << "trx-sheet: --burn Fuel=-1: '-1' is no amount of fuel: a weight, or a volume in L or "
           "gal, not negative";
    QTest::newRow("flight, not a fuel slot")
        << flight + QStringList{"Skylane", "--burn", "2=10"} << 2 << QStringList{}
        << "trx-sheet: --burn 2=10: Front seats is not a fuel slot (FuelSlots)";
    QTest::newRow("flight, a key for the flight is wrong")
        << QStringList{"--catalogue", "@/odd.ini", "Heavy"} << 2 << QStringList{}
        << "trx-sheet: [Heavy landing] MaxLandingWeight: 'heavy' is not a number";
    QTest::newRow("help") << QStringList{"--help"} << 0
                          << QStringList{"  --weight SLOT=VALUE     set the weight of a slot, as "
                                         "the value dialog does;"}
                          << none;
}

void tst_SheetCommand::command()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QStringList, out);
    QFETCH(QString, err);
    QString locale = QStringLiteral("C");
    bool shell = false;
    for (QString& a : args) {
        a.replace(u'@', m_dir.path());
        if (a.startsWith(QLatin1String("LOCALE=")))
            locale = a.mid(7);
        shell = shell || a == QLatin1String("SHELL");
    }
    args.removeIf([](const QString& a) { return a == "SHELL" || a.startsWith("LOCALE="); });
    err.replace(u'@', m_dir.path());
    if (!args.contains(QStringLiteral("--catalogue")))
        args = QStringList{"--catalogue", TRX_SOURCE_DIR "/data/TRX.ini"} + args;

    const Run run = Start(args, locale, shell);
    QCOMPARE(run.status, status);
    const QStringList lines = run.out.split(u'\n');
    for (const QString& line : std::as_const(out))
        QVERIFY2(lines.contains(line), qPrintable(line + QStringLiteral("\nnot in:\n") + run.out));
    if (err.isEmpty())
        QCOMPARE(run.err, QString());
    else
        QVERIFY2(run.err.split(u'\n').contains(err), qPrintable(run.err));
}

void tst_SheetCommand::json_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("field"); // a field of the object, or of its "error"
    QTest::addColumn<QString>("value"); // that field as compact JSON

    QTest::newRow("totals") << QStringList{"Trainer"} << 0 << "total_moment"
                            << "642.400024414063";
    QTest::newRow("verdict") << QStringList{"Trainer"} << 0 << "verdict"
                             << "\"inside\"";
    QTest::newRow("pilot") << QStringList{"Trainer", "--pilot", "A. Smith"} << 0 << "pilot"
                           << "\"A. Smith\"";
    QTest::newRow("no registration") << QStringList{"Trainer"} << 0 << "registration"
                                     << "null";
    QTest::newRow("warnings") << QStringList{"Trainer", "--weight", "Pilot=130"} << 1 << "warnings"
                              << "[\"Overweight in some positions!\"]";
    QTest::newRow("refused value")
        << QStringList{"Trainer", "--weight", "Pilot=abc"} << 2 << "error_box"
        << "\"'abc' is not a valid floating point value.\"";
    QTest::newRow("load stop") << QStringList{"--catalogue", "@/odd.ini", "Stops"} << 2
                               << "load_stop"
                               << "{\"index\":1,\"part\":0,\"phase\":\"slot-fields\"}";
    QTest::newRow("option") << QStringList{"Trainer", "--paper", "a3"} << 2 << "kind"
                            << "\"option\"";
    QTest::newRow("not on a limit") << QStringList{"Trainer"} << 0 << "on_limit"
                                    << "null";
    QTest::newRow("on the forward limit")
        << QStringList{"--catalogue", "@/limits.ini", "Forward"} << 0 << "on_limit"
        << "\"forward\"";
    QTest::newRow("on the top, inside")
        << QStringList{"--catalogue", "@/limits.ini", "Top"} << 0 << "verdict"
        << "\"inside\"";
    QTest::newRow("on the top") << QStringList{"--catalogue", "@/limits.ini", "Top"} << 0
                                << "on_limit"
                                << "\"top\"";
    QTest::newRow("on the bottom")
        << QStringList{"--catalogue", "@/limits.ini", "Bottom"} << 0 << "on_limit"
        << "\"bottom\"";
    QTest::newRow("on the slanted edge")
        << QStringList{"--catalogue", "@/limits.ini", "Slanted"} << 0 << "on_limit"
        << "\"aft\"";
    QTest::newRow("no weight, no centre")
        << QStringList{"--catalogue", "@/limits.ini", "Zero"} << 0 << "centre_of_gravity"
        << "null";
    QTest::newRow("no weight, no centre limits")
        << QStringList{"--catalogue", "@/limits.ini", "Zero"} << 0 << "envelope"
        << "{\"ranges\":[{\"high_centre\":null,\"high_moment\":100,\"low_centre\":null,"
           "\"low_moment\":-100}],\"usable\":true}";
    QTest::newRow("no weight, no centre margins")
        << QStringList{"--catalogue", "@/limits.ini", "Zero"} << 0 << "margins"
        << "{\"high_centre\":null,\"high_moment\":100,\"low_centre\":null,\"low_moment\":100}";
    QTest::newRow("flight: the way's verdict and where it leaves")
        << QStringList{"--catalogue", TRX_SOURCE_DIR "/tests/catalogues/flight.ini", "AftTank",
                       "--burn", "2=200"}
        << 1 << "ways"
        << "[{\"from\":\"take-off\",\"fuel\":200,\"outside\":[{\"leaves\":{\"fuel\":188,"
           "\"fuel_volume\":null,\"moment\":612,\"weight\":612},\"returns\":null}],\"to\":"
           "\"landing\",\"verdict\":\"outside\",\"volume_unit\":\"weight\"},{\"from\":\"landing\","
           "\"fuel\":0,\"outside\":[{\"leaves\":null,\"returns\":null}],\"to\":"
           "\"zero-fuel\",\"verdict\":\"outside\",\"volume_unit\":\"weight\"}]";
    QTest::newRow("flight: landing on the published loading")
        << QStringList{"--catalogue", TRX_SOURCE_DIR "/tests/catalogues/flight.ini", "Skylane",
                       "--burn", "Fuel=24gal"}
        << 0 << "conditions"
        << "CONTAINS:{\"centre_of_gravity\":44.8259588430173,\"envelope\":{\"ranges\":[{\"high_"
           "centre"
           "\":46,\"high_moment\":135378,\"low_centre\":39.4408235643901,\"low_moment\":1160"
           "74.34375}],\"usable\":true},\"margins\":{\"high_centre\":1.17404115698267,\"high"
           "_moment\":3455.203125,\"low_centre\":5.38513527862725,\"low_moment\":15848.45312"
           "5},\"moment\":131922.796875,\"name\":\"landing\",\"on_limit\":null,\"over_weight"
           "_limit\":false,\"verdict\":\"inside\",\"weight\":2943,\"weight_limit\":2950,\"we"
           "ight_margin\":7,\"within_limits\":true}";
    QTest::newRow("flight fields")
        << QStringList{"Trainer", "--flight", "T1", "--to", "EDFE"} << 0 << "to"
        << "\"EDFE\"";
    QTest::newRow("flight-keys kind")
        << QStringList{"--catalogue", "@/odd.ini", "Heavy"} << 2 << "kind"
        << "\"flight-keys\"";
    QTest::newRow("list") << QStringList{"--list"} << 0 << "aircraft"
                          << "[\"Trainer\",\"DA40\",\"C172S\"]";
}

void tst_SheetCommand::json()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, field);
    QFETCH(QString, value);
    for (QString& a : args)
        a.replace(u'@', m_dir.path());
    if (!args.contains(QStringLiteral("--catalogue")))
        args << QStringLiteral("--catalogue") << QStringLiteral(TRX_SOURCE_DIR "/data/TRX.ini");
    const Run run = Start(args << QStringLiteral("--json"));
    QCOMPARE(run.status, status);
    QJsonParseError error;
    const QJsonObject top = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(run.out));
    QCOMPARE(top.value(QStringLiteral("format_version")).toInt(), 1);
    const QJsonObject in =
        top.contains(field) ? top : top.value(QStringLiteral("error")).toObject();
    QVERIFY2(in.contains(field), qPrintable(run.out));
    QJsonArray wrapped{in.value(field)};
    const QByteArray compact = QJsonDocument(wrapped).toJson(QJsonDocument::Compact);
    const QString got = QString::fromUtf8(compact.mid(1, compact.size() - 2));
    // One element of a longer array.
    if (value.startsWith(QLatin1String("CONTAINS:")))
        QVERIFY2(got.contains(value.mid(9)), qPrintable(got));
    else
        QCOMPARE(got, value);
}

// The page a pilot keeps says what the JSON says, the sheet's cells as the
// window holds them and the figures rounded as the text prints them: every
// word is real text.
void tst_SheetCommand::pdfHoldsTheFigures_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("warnings") << QStringList{"--catalogue", TRX_SOURCE_DIR "/data/TRX.ini",
                                             "--weight",    "Pilot=130",
                                             "--pilot",     "A. Smith",
                                             "Trainer"}
                              << 1
                              << QStringList{"Pilot: A. Smith", "Total weight: 710.0 kg",
                                             "Total moment: 689.4 Nm"};
    // Take-off, landing and zero fuel of the worked example, 24 US gal of
    // fuel burnt: each condition's weight, moment, centre of gravity, limits
    // and weight limit.
    QTest::newRow("worked example")
        << QStringList{"--catalogue", TRX_SOURCE_DIR "/tests/catalogues/flight.ini",
                       "Skylane",     "--burn",
                       "Fuel=24gal",  "--flight",
                       "XY12",        "--from",
                       "EDFE",        "--to",
                       "EDDF",        "--prepared-by",
                       "A. Smith"}
        << 0
        << QStringList{
               "Flight: XY12",
               "From: EDFE",
               "To: EDDF",
               "Prepared by: A. Smith",
               "Total 3087.0 44.90 138618.8",
               "Limits at 3087.0 Lbs: moment 125885.3 to 142002.0 Lbs*in, CG 40.78 to 46.00 in",
               "Take-off 3087.0 138618.8 44.90 40.78 to 46.00 3100.0 (13.0 under) inside",
               "Landing 2943.0 131922.8 44.83 39.44 to 46.00 2950.0 (7.0 under) inside",
               "Zero fuel 2787.0 124668.8 44.73 37.99 to 46.00 none inside",
               "Fuel burn, take-off to landing: within limits",
               "On to zero fuel, landing to zero fuel: within limits",
               "Fuel at 6.00 lb/US gal",
               "Burn: Fuel 24.0 gal = 144.0 Lbs",
               "Whole flight: WITHIN LIMITS",
               "Ramp limit 3110.0 Lbs",
               "Landing limit 2950.0 Lbs",
               "Pilot in command's signature",
               "Loading supervisor's signature"};
}

void tst_SheetCommand::pdfHoldsTheFigures()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QStringList, words);
    const QString pdf = m_dir.filePath(QStringLiteral("sheet.pdf"));
    const Run run = Start(args << "--json"
                               << "--pdf" << pdf);
    QCOMPARE(run.status, status);
    const QJsonObject top = QJsonDocument::fromJson(run.out.toUtf8()).object();
    const QString page = PdfText(pdf).simplified();
    QStringList figures = words;
    for (const QJsonValue w : top.value("warnings").toArray())
        figures << w.toString();
    for (const QJsonValue row : top.value("sheet").toArray())
        for (const QJsonValue cell : row.toArray())
            figures << cell.toString();
    QVERIFY(figures.size() > 20);
    for (const QString& figure : std::as_const(figures))
        QVERIFY2(page.contains(figure), qPrintable(figure + QStringLiteral(" not in:\n") + page));
}

// A PDF is never written over the catalogue read, by its name or a link,
// nor over what is no regular file: the command fails, the target stays.
void tst_SheetCommand::pdfTargetUntouched_data()
{
    QTest::addColumn<QString>("catalogue"); // in the scratch folder
    QTest::addColumn<QString>("target");    // "@" stands for the scratch folder
    QTest::addColumn<QString>("why");
    QTest::newRow("the catalogue") << "target.ini"
                                   << "@/target.ini"
                                   << "it is a file this command reads";
    QTest::newRow("a link to the catalogue") << "target.ini"
                                             << "@/link.pdf"
                                             << "it is a file this command reads";
    QTest::newRow("the catalogue through a link") << "link.pdf"
                                                  << "@/target.ini"
                                                  << "it is a file this command reads";
    QTest::newRow("a FIFO") << "target.ini"
                            << "@/fifo"
                            << "it is not a regular file";
    QTest::newRow("a device") << "target.ini"
                              << "/dev/full"
                              << "it is not a regular file";
}

void tst_SheetCommand::pdfTargetUntouched()
{
    QFETCH(QString, catalogue);
    QFETCH(QString, target);
    QFETCH(QString, why);
    QTemporaryDir dir;
    QVERIFY(QFile::copy(QStringLiteral(TRX_SOURCE_DIR "/tests/catalogues/flight.ini"),
                        dir.filePath(QStringLiteral("target.ini"))));
    QVERIFY(QFile::link(QStringLiteral("target.ini"), dir.filePath(QStringLiteral("link.pdf"))));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo"))).constData(), 0600),
             0);
    target.replace(u'@', dir.path());
    const QByteArray before = Describe(target);
    const Run run = Start({"--catalogue", dir.filePath(catalogue), "Skylane", "--pdf", target});
    QCOMPARE(run.status, 2);
    QCOMPARE(run.err, QStringLiteral("trx-sheet: cannot write %1: %2\n").arg(target, why));
    QCOMPARE(run.out, QString());
    QCOMPARE(Describe(target), before);
    QCOMPARE(Describe(dir.filePath(QStringLiteral("target.ini"))).left(5), QByteArray("file "));
}

// With --pdf -, standard output holds one PDF document and nothing else; a
// sheet of 1023 slots runs over several pages, its every row on one of them.
void tst_SheetCommand::pdfOnStandardOutputOverPages()
{
    // One character a name and a figure, so that every list fits the
    // catalogue's 2047 characters a value; the last slot stands out.
    const auto list = [](const QString& each, const QString& last) {
        QString text;
        for (int i = 1; i < 1023; ++i)
            text += (each.isEmpty() ? QString::number(i % 10) : each) + u';';
        return text + last + u';';
    };
    QFile file(m_dir.filePath(QStringLiteral("many.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("[Many]\nSlots=1023\nSlotsNames=%1\nSlotsWeight=%2\n"
                              "SlotsMaxWeight=%3\nSlotsPos=%4\nSlotsMinPos=%5\nSlotsMaxPos=%3\n"
                              "EnvelopePoints=5\nEnvelopeX=0;20000;20000;0;0;\n"
                              "EnvelopeY=0;0;6000;6000;0;\n")
                   .arg(list("", QStringLiteral("\u03A9")), list("5", "7"), list("9", "9"),
                        list("2", "3"), list("0", "0"))
                   .toUtf8());
    file.close();

    const QString pdf = m_dir.filePath(QStringLiteral("many.pdf"));
    const Run run =
        Start({"--catalogue", file.fileName(), "Many", "--pdf", "-", ">" + pdf}, "C.UTF-8", true);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QString());
    QFile written(pdf);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    QVERIFY(bytes.startsWith("%PDF-"));
    QVERIFY(bytes.trimmed().endsWith("%%EOF"));

    QProcess info;
    info.setStandardInputFile(pdf);
    info.start(QStringLiteral("pdfinfo"), {QStringLiteral("-")});
    QVERIFY(info.waitForFinished(120000));
    QCOMPARE(info.exitCode(), 0);
    const QRegularExpressionMatch pages =
        QRegularExpression(QStringLiteral("^Pages: +(\\d+)$"), QRegularExpression::MultilineOption)
            .match(QString::fromUtf8(info.readAllStandardOutput()));
    QVERIFY(pages.hasMatch());
    QVERIFY2(pages.captured(1).toInt() > 1, qPrintable(pages.captured(1)));

    // Every slot's row: the 1022 alike, the last one by its name and figures.
    const QString text = PdfText(pdf);
    const QRegularExpression alike(QStringLiteral("^ *\\d +5 +9 +2 +10 *$"),
                                   QRegularExpression::MultilineOption);
    QCOMPARE(text.count(alike), 1022);
    QVERIFY2(text.contains(QRegularExpression(QStringLiteral("^ *\u03A9 +7 +9 +3 +21 *$"),
                                              QRegularExpression::MultilineOption)),
             qPrintable(text.right(3000)));
    QVERIFY(!text.contains(QStringLiteral("not shown")));
}

// Every way to fail names its kind in the JSON, and the manual lists it.
void tst_SheetCommand::failureKinds_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("kind");
    const QString bundled = QStringLiteral(TRX_SOURCE_DIR "/data/TRX.ini");
    QTest::newRow("option") << QStringList{"--paper", "a3", "Trainer"} << "option";
    QTest::newRow("catalogue") << QStringList{"--catalogue", "@/none.ini", "Trainer"}
                               << "catalogue";
    QTest::newRow("aircraft") << QStringList{"--catalogue", bundled, "Trainr"} << "aircraft";
    QTest::newRow("slot") << QStringList{"--catalogue", bundled, "Trainer", "--weight", "9=1"}
                          << "slot";
    QTest::newRow("value") << QStringList{"--catalogue", bundled, "Trainer", "--weight", "2=x"}
                           << "value";
    QTest::newRow("load") << QStringList{"--catalogue", "@/odd.ini", "Stops"} << "load";
    QTest::newRow("output") << QStringList{"--catalogue", bundled, "Trainer", "--pdf",
                                           "@/none/sheet.pdf"}
                            << "output";
    QTest::newRow("loading") << QStringList{"--catalogue", bundled, "--loading", "@/none.json"}
                             << "loading";
    QTest::newRow("aircraft-data")
        << QStringList{"--catalogue", "@/comma.ini", "--loading", "@/trainer.json"}
        << "aircraft-data";
}

void tst_SheetCommand::failureKinds()
{
    QFETCH(QStringList, args);
    QFETCH(QString, kind);
    for (QString& a : args)
        a.replace(u'@', m_dir.path());
    const Run run = Start(args << QStringLiteral("--json"));
    QCOMPARE(run.status, 2);
    const QJsonObject error = QJsonDocument::fromJson(run.out.toUtf8())
                                  .object()
                                  .value(QStringLiteral("error"))
                                  .toObject();
    QCOMPARE(error.value(QStringLiteral("kind")).toString(), kind);
    QVERIFY(!run.err.isEmpty());

    QFile manual(QStringLiteral(TRX_SOURCE_DIR "/sheet/trx-sheet.1"));
    QVERIFY(manual.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(manual.readAll());
    const qsizetype from = page.indexOf(QStringLiteral(".B kind\n"));
    const qsizetype to = page.indexOf(QStringLiteral(".B message\n"), from);
    QVERIFY(from >= 0 && to > from);
    const QRegularExpression listed(QStringLiteral("^\\.(B|BR|RB) (\\( )?") + kind +
                                        QStringLiteral("\\b"),
                                    QRegularExpression::MultilineOption);
    QVERIFY2(page.mid(from, to - from).contains(listed), qPrintable(kind));
}

// A loading of no weight has no centre of gravity: no format shows one, nor
// limits or margins worked out from one, as infinite or not a number. Totals
// beyond single precision are said in words, or null.
void tst_SheetCommand::noWeightNoInfinity_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("aircraft"); // "Huge": totals beyond single precision
    QTest::newRow("text") << "text"
                          << "Zero";
    QTest::newRow("json") << "json"
                          << "Zero";
    QTest::newRow("pdf") << "pdf"
                         << "Zero";
    QTest::newRow("text, infinite totals") << "text"
                                           << "Huge";
    QTest::newRow("json, infinite totals") << "json"
                                           << "Huge";
    QTest::newRow("pdf, infinite totals") << "pdf"
                                          << "Huge";
}

void tst_SheetCommand::noWeightNoInfinity()
{
    QFETCH(QString, format);
    QFETCH(QString, aircraft);
    const bool huge = aircraft == QLatin1String("Huge");
    const QString pdf = m_dir.filePath(QStringLiteral("zero.pdf"));
    QStringList args{"--catalogue",
                     huge ? QStringLiteral(TRX_SOURCE_DIR "/tests/catalogues/extremes.ini")
                          : m_dir.filePath(QStringLiteral("limits.ini")),
                     aircraft};
    if (format == QLatin1String("json"))
        args << QStringLiteral("--json");
    if (format == QLatin1String("pdf"))
        args << QStringLiteral("--pdf") << pdf;
    const Run run = Start(args);
    QCOMPARE(run.status, huge ? 1 : 0);
    QString out = run.out;
    if (format == QLatin1String("pdf")) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(120000));
        out = QString::fromUtf8(text.readAllStandardOutput());
        if (!huge)
            QVERIFY2(out.contains(QStringLiteral("Limits at 0.0 kg: moment -100.0 to 100.0 Nm\n")),
                     qPrintable(out));
    }
    if (huge && format == QLatin1String("text"))
        QVERIFY2(out.contains(QStringLiteral("Total weight: infinite kg\n")), qPrintable(out));
    QVERIFY2(out.contains(QStringLiteral("Total weight")) || out.contains("total_weight"),
             qPrintable(out));
    const QRegularExpression notFinite(QStringLiteral("\\b(inf|nan)\\b"),
                                       QRegularExpression::CaseInsensitiveOption);
    QVERIFY2(!out.contains(notFinite), qPrintable(out));
}

// A PDF module left from another build is refused before anything of it runs:
// no page, no sheet, status 2. The stand-in (tests/modulestub) records calls.
void tst_SheetCommand::pdfModuleOfAnotherVersion()
{
    // trx-sheet opens the module beside itself first.
    const QString bin = m_dir.filePath(QStringLiteral("stale"));
    QVERIFY(QDir().mkpath(bin));
    QVERIFY(QFile::copy(QStringLiteral(TRX_BIN_DIR "/trx-sheet"), bin + "/trx-sheet"));
    QVERIFY(QFile::copy(QStringLiteral(TRX_MODULESTUB_DIR "/pdf-other/libtrxsheetpdf.so"),
                        bin + "/libtrxsheetpdf.so"));
    const QString log = m_dir.filePath(QStringLiteral("calls.log"));
    qputenv("TRX_MODULESTUB_LOG", QFile::encodeName(log));
    const QString pdf = m_dir.filePath(QStringLiteral("stale.pdf"));
    const Run run = Start({"--catalogue", TRX_SOURCE_DIR "/data/TRX.ini", "--pdf", pdf, "Trainer"},
                          QStringLiteral("C"), false, bin + "/trx-sheet");
    qunsetenv("TRX_MODULESTUB_LOG");
    QCOMPARE(run.status, 2);
    QCOMPARE(run.out, QString());
    QCOMPARE(run.err, QStringLiteral("trx-sheet: cannot write a PDF: libtrxsheetpdf.so is version "
                                     "%1, trx-sheet needs %2\n")
                          .arg(SheetPdfModuleVersion + 1)
                          .arg(SheetPdfModuleVersion));
    QVERIFY(!QFileInfo::exists(pdf));
    QFile calls(log);
    QVERIFY(calls.open(QIODevice::ReadOnly));
    QCOMPARE(calls.readAll(), QByteArray("loaded\n"));
}

QTEST_GUILESS_MAIN(tst_SheetCommand)
#include "tst_SheetCommand.moc"
