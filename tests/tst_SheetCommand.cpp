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
    void pdfHoldsTheFigures();
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
            "[Trainer 2]\n[Trainer 3]\n");
    // The bundled catalogue as written where the decimal separator is ",".
    QFile bundled(QStringLiteral(TRX_SOURCE_DIR "/data/TRX.ini"));
    QFile comma(m_dir.filePath(QStringLiteral("comma.ini")));
    QVERIFY(bundled.open(QIODevice::ReadOnly) && comma.open(QIODevice::WriteOnly));
    comma.write(bundled.readAll().replace('.', ','));

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
                       "Total weight: 660 kg",
                       "Total moment: 642.400024414063 Nm",
                       "Centre of gravity: 0.973333370324337 m",
                       "Envelope at 660 kg: moment 583.333333333333 to 717.333333333333 Nm, "
                       "centre of gravity 0.883838383838384 to 1.08686868686869 m",
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
        << QStringList{"Pilot           80      120         0,95      76",
                       "Total moment: 643,200012207031 Nm"}
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
    QTest::newRow("pdf in a missing folder")
        << QStringList{"Trainer", "--pdf", "@/none/sheet.pdf"} << 2 << QStringList{}
        << "trx-sheet: cannot write @/none/sheet.pdf: No such file or directory";
    // Limits are inclusive: on the outline is within them, and the verdict
    // names the limit.
    const QStringList limits{"--catalogue", "@/limits.ini"};
    QTest::newRow("on the forward edge")
        << limits + QStringList{"Forward"} << 0
        << QStringList{"Verdict: within limits, on the forward limit; margin to the low limit 0 "
                       "Nm (0 m), to the high limit 250 Nm (1.25 m)"}
        << none;
    QTest::newRow("on the aft edge")
        << limits + QStringList{"Aft"} << 0
        << QStringList{"Verdict: within limits, on the aft limit; margin to the low limit 250 Nm "
                       "(0.9765625 m), to the high limit 0 Nm (0 m)"}
        << none;
    QTest::newRow("on the bottom")
        << limits + QStringList{"Bottom"} << 0
        << QStringList{"Verdict: within limits, on the envelope's lowest weight; margin to the "
                       "low limit 50 Nm (0.5 m), to the high limit 100 Nm (1 m)"}
        << none;
    QTest::newRow("on the top")
        << limits + QStringList{"Top"} << 0
        << QStringList{"Verdict: within limits, on the envelope's highest weight; margin to the "
                       "low limit 150 Nm (0.5 m), to the high limit 100 Nm (0.333333333333333 m)"}
        << none;
    QTest::newRow("on the slanted edge")
        << limits + QStringList{"Slanted"} << 0
        << QStringList{"Envelope at 128 kg: moment 150 to 328 Nm, centre of gravity 1.171875 to "
                       "2.5625 m",
                       "Verdict: within limits, on the aft limit; margin to the low limit 178 Nm "
                       "(1.390625 m), to the high limit 0 Nm (0 m)"}
        << none;
    QTest::newRow("on a vertex")
        << limits + QStringList{"Vertex"} << 0
        << QStringList{"Verdict: within limits, on the aft limit; margin to the low limit 250 Nm "
                       "(1.25 m), to the high limit 0 Nm (0 m)"}
        << none;
    // No weight, no centre of gravity: its limits and margins are left out.
    QTest::newRow("no weight")
        << limits + QStringList{"Zero"} << 0
        << QStringList{"Centre of gravity: none", "Envelope at 0 kg: moment -100 to 100 Nm",
                       "Verdict: inside; margin to the low limit 100 Nm, to the high limit 100 Nm"}
        << none;
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
    QCOMPARE(QString::fromUtf8(compact.mid(1, compact.size() - 2)), value);
}

// The page a pilot keeps says what the JSON says: every figure is real text.
void tst_SheetCommand::pdfHoldsTheFigures()
{
    const QString pdf = m_dir.filePath(QStringLiteral("sheet.pdf"));
    const Run run = Start({"--catalogue", TRX_SOURCE_DIR "/data/TRX.ini", "--json", "--pdf", pdf,
                           "--weight", "Pilot=130", "--pilot", "A. Smith", "Trainer"});
    QCOMPARE(run.status, 1);
    const QJsonObject top = QJsonDocument::fromJson(run.out.toUtf8()).object();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(120000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    QStringList figures{top.value("pilot").toString()};
    for (const char* key : {"total_weight", "total_moment", "centre_of_gravity"})
        figures << top.value(QLatin1String(key)).toVariant().toString();
    for (const QJsonValue w : top.value("warnings").toArray())
        figures << w.toString();
    for (const QJsonValue row : top.value("sheet").toArray())
        for (const QJsonValue cell : row.toArray())
            figures << cell.toString();
    QVERIFY(figures.size() > 20);
    for (const QString& figure : std::as_const(figures))
        QVERIFY2(page.contains(figure), qPrintable(figure + QStringLiteral(" not in:\n") + page));
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
// limits or margins worked out from one, as infinite or not a number.
void tst_SheetCommand::noWeightNoInfinity_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("text") << "text";
    QTest::newRow("json") << "json";
    QTest::newRow("pdf") << "pdf";
}

void tst_SheetCommand::noWeightNoInfinity()
{
    QFETCH(QString, format);
    const QString pdf = m_dir.filePath(QStringLiteral("zero.pdf"));
    QStringList args{"--catalogue", m_dir.filePath(QStringLiteral("limits.ini")), "Zero"};
    if (format == QLatin1String("json"))
        args << QStringLiteral("--json");
    if (format == QLatin1String("pdf"))
        args << QStringLiteral("--pdf") << pdf;
    const Run run = Start(args);
    QCOMPARE(run.status, 0);
    QString out = run.out;
    if (format == QLatin1String("pdf")) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(120000));
        out = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(out.contains(QStringLiteral("Limits at 0 kg: moment -100 to 100 Nm\n")),
                 qPrintable(out));
    }
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
