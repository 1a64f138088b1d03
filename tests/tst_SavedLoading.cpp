// SPDX-License-Identifier: GPL-3.0-or-later
// Saved loadings: a loading saved and read again gives the same sheet, a
// changed aircraft is caught, and a file that is not a sound loading is
// refused with the place and the reason, in bounded time and memory.

#include "TestSupport.h"
#include "check/CatalogueCheck.h"
#include "check/LoadingCheck.h"
#include "core/NumConv.h"
#include "loading/AircraftData.h"
#include "loading/LoadingFile.h"
#include "loading/LoadingSchema.h"
#include "sheet/JsonSheetWriter.h"
#include "sheet/LoadingSheetRun.h"
#include "sheet/SaveLoading.h"
#include "sheet/SheetStatus.h"
#include "sheet/TextSheetWriter.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <valijson/adapters/qtjson_adapter.hpp>
#include <valijson/schema.hpp>
#include <valijson/schema_parser.hpp>
#include <valijson/validator.hpp>

namespace {

const QString Bundled = QStringLiteral(TRX_SOURCE_DIR "/data/TRX.ini");
const QString Flight = QStringLiteral(TRX_SOURCE_DIR "/tests/catalogues/flight.ini");
const QString SheetCommand = QStringLiteral(TRX_BIN_DIR "/trx-sheet");

// A sheet as the command writes it: text, JSON and exit status.
struct Written
{
    bool sheet = false;
    QByteArray text;
    QByteArray json;
    int status = -1;
    QByteArray failure;
};

Written Run(const SheetOptions& options, LoadingSheetRun* keep = nullptr)
{
    SetDecimalSeparator(u'.');
    LoadingSheetRun run = RunLoadingSheet(options, QString());
    Written w;
    const auto into = [](QByteArray& bytes) {
        return [&bytes](const QByteArray& more) { bytes += more; };
    };
    TextSheetWriter text(into(w.text), into(w.failure));
    JsonSheetWriter json(into(w.json), into(w.failure));
    w.sheet = run.result == LoadingSheetRun::Result::Sheet;
    if (w.sheet) {
        text.WriteSheet(run.sheet);
        json.WriteSheet(run.sheet);
        w.status = SheetStatus(run.sheet);
    } else {
        text.WriteFailure(run.failure);
    }
    if (keep)
        *keep = run;
    return w;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Peak resident memory (KiB) and seconds of a command, measured by the
// kernel's accounting of the one child.
struct Measured
{
    int status = -1;
    QString err;
    qint64 peakKiB = 0;
    double seconds = 0;
};

Measured Measure(const QStringList& command)
{
    const QString script = QStringLiteral(
        "import resource, subprocess, sys, time\n"
        "t = time.monotonic()\n"
        "p = subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)\n"
        "t = time.monotonic() - t\n"
        "sys.stderr.buffer.write(p.stderr)\n"
        "print(p.returncode, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss, t)\n");
    const CommandRun run =
        RunCommand(QStringLiteral("python3"), QStringList{QStringLiteral("-c"), script} + command);
    Measured m;
    const QStringList parts = run.out.split(u' ', Qt::SkipEmptyParts);
    if (parts.size() == 3) {
        m.status = parts[0].toInt();
        m.peakKiB = parts[1].toLongLong();
        m.seconds = parts[2].toDouble();
    }
    m.err = run.err;
    return m;
}

} // namespace

class tst_SavedLoading : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void refused_data();
    void refused();
    void generatedLoadingsGiveTheSameSheet();
    void bundledCatalogueRoundTrip_data();
    void bundledCatalogueRoundTrip();
    void changedAircraftData();
    void schemaIsJsonSchema();
    void hostileFilesBounded_data();
    void hostileFilesBounded();
    void checkerFindings();
    void filesKeptApart_data();
    void filesKeptApart();

private:
    QTemporaryDir m_dir;
    QByteArray m_saved; // a sound loading file of [Skylane] of flight.ini
    QString Path(const QString& name) const { return m_dir.filePath(name); }
};

void tst_SavedLoading::initTestCase()
{
    QVERIFY(m_dir.isValid());
    SheetOptions o;
    o.catalogue = QFile::encodeName(Flight);
    o.aircraft = QStringLiteral("Skylane");
    o.hasAircraft = true;
    o.edits << SheetEdit{colWeight, QStringLiteral("2"), QStringLiteral("200"), {}, false}
            << SheetEdit{colWeight, QStringLiteral("Fuel"), QStringLiteral("60gal"), {}, true};
    o.burn << FuelUseOption{QStringLiteral("Fuel"), QStringLiteral("24gal"), {}};
    o.pilot = QStringLiteral("A. Smith");
    o.hasPilot = true;
    LoadingSheetRun run;
    QVERIFY(Run(o, &run).sheet);
    m_saved = LoadingFileBytes(run.loading);
    QVERIFY(ReadLoadingBytes(m_saved).Usable());
}

void tst_SavedLoading::refused_data()
{
    QTest::addColumn<QByteArray>("from"); // replaced in the sound file; "" for the whole file
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("why");

    const auto row = [](const char* name, QByteArray from, QByteArray to, LoadingFault fault,
                        const char* why) {
        QTest::newRow(name) << from << to << int(fault) << QString::fromUtf8(why);
    };
    row("a string where a number belongs", "\"format_version\": 1", "\"format_version\": \"1\"",
        LoadingFault::Schema, "$.format_version: expected a whole number, found a text");
    row("a number where a text belongs", "\"text\": \"6\"", "\"text\": 6", LoadingFault::Schema,
        "$.aircraft_data.entries[2].text: expected a text, found a number");
    row("a later format by name", "\"format_version\": 1", "\"format_version\": 99",
        LoadingFault::NewerFormat, "format_version 99 is newer than this program reads (1)");
    row("no such unit", "\"unit\": \"gal\"", "\"unit\": \"pints\"", LoadingFault::Schema,
        "$.burn[0].unit: expected one of \"weight\", \"L\", \"gal\"");
    row("a field it does not know",
        "\"aircraft\":", "\"colour\": \"red\", \"aircraft\":", LoadingFault::Schema, "'colour'");
    row("a missing field", "\"taxi\":", "\"taxis\":", LoadingFault::Schema, "'taxi");
    row("a key given twice", "{\n    \"aircraft\"", "{\"aircraft\": \"X\",\n    \"aircraft\"",
        LoadingFault::NotJson, "$: the key \"aircraft\" appears twice");
    row("an entry's key twice", "\"key\": \"Model\"", "\"key\": \"MAKE\"", LoadingFault::Schema,
        "$.aircraft_data.entries[1].key: the key of entries[0] again");
    row("a NUL in a text", "\"A. Smith\"", "\"A.\\u0000Smith\"", LoadingFault::NotJson,
        "$.pilot: a NUL character in a text");
    row("a raw NUL", "\"A. Smith\"", QByteArray("\"A.\0Smith\"", 10), LoadingFault::NotJson,
        "control character U+0000");
    row("invalid UTF-8", "\"A. Smith\"", "\"A.\xff Smith\"", LoadingFault::NotJson,
        "ill-formed UTF-8");
    row("a number out of range", "\"format_version\": 1", "\"format_version\": 1e400",
        LoadingFault::NotJson, "number overflow");
    row("not JSON", "", "[Skylane]\nSlots=1\n", LoadingFault::NotJson, "not JSON");
    row("deep nesting", "", QByteArray(5000, '[') + QByteArray(5000, ']'), LoadingFault::NotJson,
        "nested deeper than 16 levels");
    row("made is no time", "\"made\": \"", "\"made\": \"x", LoadingFault::Schema, "$.made");
    row("tampered data", "\"text\": \"2007;", "\"text\": \"2006;", LoadingFault::Fingerprint,
        "is not that of the data it holds");
}

void tst_SavedLoading::refused()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(int, fault);
    QFETCH(QString, why);
    QByteArray bytes = m_saved;
    if (from.isEmpty()) {
        bytes = to;
    } else {
        QVERIFY2(bytes.contains(from), from.constData());
        bytes.replace(bytes.indexOf(from), from.size(), to);
    }
    const LoadingRead read = ReadLoadingBytes(bytes);
    QCOMPARE(int(read.fault), fault);
    QVERIFY2(read.why.contains(why), qPrintable(read.why));

    // The command refuses it with the same words, escaped.
    QVERIFY(WriteFile(Path(QStringLiteral("refused.json")), bytes));
    const CommandRun run =
        RunCommand(SheetCommand, {"--catalogue", Flight, "--loading", Path("refused.json")});
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.startsWith(QStringLiteral("trx-sheet: cannot use the loading ")),
             qPrintable(run.err));
    QVERIFY(!run.err.contains(QChar(0)) && !run.err.contains(QChar(0x1b)));
}

void tst_SavedLoading::generatedLoadingsGiveTheSameSheet()
{
    QRandomGenerator random(25);
    const auto pick = [&](const QStringList& list) {
        return list[random.bounded(int(list.size()))];
    };
    const QList<std::pair<QString, QStringList>> aircraft = {
        {Bundled, {"Trainer", "DA40", "C172S"}}, {Flight, {"Skylane", "Notched", "AftTank"}}};
    const QStringList weights = {"0", "12.5", "80", "120", "400", "1e3", "7"};
    const QStringList arms = {"0.9", "1", "37", "46", "2.5", "0"};
    const QStringList fuel = {"10", "20L", "5gal", "0", "30 L", "12.5gal"};
    const QStringList texts = {"", "A. Smith", "Zoë \u2708", "\x1b[31mred", "tab\there"};
    int made = 0;
    for (int attempt = 0; made < 200 && attempt < 2000; ++attempt) {
        const auto& [catalogue, names] = aircraft[random.bounded(int(aircraft.size()))];
        SheetOptions o;
        o.catalogue = QFile::encodeName(catalogue);
        o.aircraft = pick(names);
        o.hasAircraft = true;
        for (int i = random.bounded(6); i > 0; --i) {
            const int kind = random.bounded(3);
            const QString slot =
                random.bounded(2) ? QString::number(2 + random.bounded(3)) : QStringLiteral("Fuel");
            if (kind == 2)
                o.edits << SheetEdit{colWeight, QStringLiteral("Fuel"), pick(fuel), {}, true};
            else
                o.edits << SheetEdit{
                    kind ? colPosition : colWeight, slot, pick(kind ? arms : weights), {}, false};
        }
        for (auto* uses : {&o.taxi, &o.burn})
            if (random.bounded(2))
                *uses << FuelUseOption{QStringLiteral("Fuel"), pick(fuel), {}};
        if ((o.hasPilot = random.bounded(2)))
            o.pilot = pick(texts);
        if ((o.hasRegistration = random.bounded(2)))
            o.registration = pick(texts);
        for (QString* text : {&o.flight, &o.from, &o.to, &o.preparedBy})
            if (random.bounded(2))
                *text = pick(texts);

        LoadingSheetRun run;
        const Written first = Run(o, &run);
        if (!first.sheet)
            continue;
        const QString file = Path(QStringLiteral("generated.json"));
        QCOMPARE(SaveLoading(QFile::encodeName(file), run.loading), QString());
        QString why;
        QVERIFY2(FitsLoadingSchema(QJsonDocument::fromJson(ReadAll(file)).object(), why),
                 qPrintable(why));
        SheetOptions again;
        again.catalogue = o.catalogue;
        again.loading = QFile::encodeName(file);
        const Written second = Run(again);
        QVERIFY2(second.sheet, second.failure.constData());
        QCOMPARE(second.text, first.text);
        QCOMPARE(second.json, first.json);
        QCOMPARE(second.status, first.status);
        ++made;
    }
    QCOMPARE(made, 200);
}

void tst_SavedLoading::bundledCatalogueRoundTrip_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("Trainer") << QStringList{"Trainer",        "--weight", "Pilot=90", "--position",
                                            "Passenger=0.92", "--fuel",   "Fuel=60L"};
    QTest::newRow("DA40") << QStringList{"DA40",       "--fuel",     "Fuel=20gal", "--weight",
                                         "Baggage=25", "--position", "2=2.35"};
    QTest::newRow("C172S") << QStringList{"C172S",      "--weight",   "Pilot=180", "--fuel",
                                          "Fuel=40gal", "--position", "Pilot=37"};
}

void tst_SavedLoading::bundledCatalogueRoundTrip()
{
    QFETCH(QStringList, args);
    args << "--catalogue" << Bundled << "--taxi"
         << "Fuel=1gal"
         << "--burn"
         << "Fuel=10gal"
         << "--pilot"
         << "A. Smith"
         << "--registration"
         << "D-EXYZ"
         << "--flight"
         << "T1"
         << "--from"
         << "EDNY"
         << "--to"
         << "LSZR"
         << "--prepared-by"
         << "B. Jones";
    const QString file = Path(QStringLiteral("bundled.json"));
    QFile::remove(file);
    for (const bool json : {false, true}) {
        QStringList first = args;
        if (json)
            first << "--json";
        const CommandRun saved = RunCommand(SheetCommand, first + QStringList{"--save", file});
        QVERIFY2(saved.status == 0 || saved.status == 1, qPrintable(saved.err));
        const CommandRun again =
            RunCommand(SheetCommand, QStringList{"--catalogue", Bundled, "--loading", file} +
                                         (json ? QStringList{"--json"} : QStringList{}));
        QCOMPARE(again.status, saved.status);
        QCOMPARE(again.out, saved.out);
        QVERIFY(again.out.contains(json ? QStringLiteral("\"fingerprints\": {\"aircraft_data\": ")
                                        : QStringLiteral("Loading fingerprint: ")));
    }
}

void tst_SavedLoading::changedAircraftData()
{
    const QString file = Path(QStringLiteral("trainer.json"));
    const QStringList args{"Trainer", "--weight",    "Pilot=90", "--save",
                           file,      "--catalogue", Bundled};
    const CommandRun before = RunCommand(SheetCommand, args);
    QCOMPARE(before.status, 0);
    // The empty aircraft weighs a kilogram more.
    QByteArray catalogue = ReadAll(Bundled);
    catalogue.replace("SlotsWeight=520;", "SlotsWeight=521;");
    const QString changed = Path(QStringLiteral("changed.ini"));
    QVERIFY(WriteFile(changed, catalogue));
    const QStringList replay{"--catalogue", changed, "--loading", file};

    const CommandRun refused = RunCommand(SheetCommand, replay);
    QCOMPARE(refused.status, 2);
    QVERIFY2(refused.err.contains(
                 QStringLiteral("  SlotsWeight: saved '520;80;0;60;', now '521;80;0;60;'\n")),
             qPrintable(refused.err));

    const CommandRun saved = RunCommand(SheetCommand, replay + QStringList{"--use-saved"});
    QCOMPARE(saved.status, 0);
    QVERIFY(saved.out.contains(QStringLiteral("Total weight: 670.0 kg")));
    QVERIFY(saved.out.contains(QStringLiteral("not as the catalogue now holds it")));
    // The old sheet, and a line that says whose data it is.
    QStringList lines = saved.out.split(u'\n');
    lines.removeIf([](const QString& l) {
        return l.startsWith(QStringLiteral("Aircraft data:")) ||
               l.startsWith(QStringLiteral("  SlotsWeight"));
    });
    QCOMPARE(lines.join(u'\n'), before.out);

    const CommandRun current = RunCommand(SheetCommand, replay + QStringList{"--use-current"});
    QCOMPARE(current.status, 1);
    QVERIFY(current.out.contains(QStringLiteral("Total weight: 671.0 kg")));
    QVERIFY(current.out.contains(
        QStringLiteral("  SlotsWeight: saved '520;80;0;60;', now '521;80;0;60;'\n")));
    const CommandRun json =
        RunCommand(SheetCommand, replay + QStringList{"--use-current", "--json"});
    const QJsonObject data = QJsonDocument::fromJson(json.out.toUtf8())
                                 .object()
                                 .value(QStringLiteral("aircraft_data"))
                                 .toObject();
    QCOMPARE(data.value(QStringLiteral("source")).toString(), QStringLiteral("catalogue"));
    QCOMPARE(data.value(QStringLiteral("changes")).toArray().size(), 1);

    // An aircraft the catalogue no longer has: only the saved data will do.
    catalogue.replace("[Trainer]", "[Trainer 2]");
    QVERIFY(WriteFile(changed, catalogue));
    QCOMPARE(RunCommand(SheetCommand, replay).status, 2);
    QCOMPARE(RunCommand(SheetCommand, replay + QStringList{"--use-current"}).status, 2);
    const CommandRun gone = RunCommand(SheetCommand, replay + QStringList{"--use-saved"});
    QCOMPARE(gone.status, 0);
    QVERIFY(gone.out.contains(QStringLiteral("the catalogue no longer has it")));
}

void tst_SavedLoading::schemaIsJsonSchema()
{
    // The schema against the JSON Schema draft-07 meta-schema, by the
    // validator the program uses.
    const QByteArray meta =
        ReadAll(QStringLiteral("/usr/lib/python3/dist-packages/jsonschema/schemas/draft7.json"));
    QVERIFY2(!meta.isEmpty(), "the draft-07 meta-schema (python3-jsonschema) is missing");
    valijson::Schema metaSchema;
    valijson::SchemaParser parser(valijson::SchemaParser::kDraft7);
    parser.populateSchema(valijson::adapters::QtJsonAdapter(QJsonDocument::fromJson(meta).object()),
                          metaSchema);
    const QJsonObject schema =
        QJsonDocument::fromJson(
            ReadAll(QStringLiteral(TRX_SOURCE_DIR "/loading/loading.schema.json")))
            .object();
    QVERIFY(!schema.isEmpty());
    valijson::Validator validator;
    QVERIFY(validator.validate(metaSchema, valijson::adapters::QtJsonAdapter(schema), nullptr));
    // The program's own copy is the published one.
    QCOMPARE(QJsonDocument::fromJson(LoadingSchemaText()).object(), schema);
}

void tst_SavedLoading::hostileFilesBounded_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray longText = m_saved;
    longText.replace("\"A. Smith\"", '"' + QByteArray(100 * 1024 * 1024, 'x') + '"');
    QTest::newRow("100 MB text") << longText;
    QTest::newRow("text as long as a file may be") << QByteArray(m_saved).replace(
        "\"A. Smith\"", '"' + QByteArray(MaxLoadingFileBytes - m_saved.size(), 'x') + '"');
    QTest::newRow("deep nesting") << QByteArray(4 * 1024 * 1024, '[');
    QTest::newRow("NUL") << QByteArray(m_saved).replace("\"A. Smith\"", "\"A\\u0000\"");
    QTest::newRow("invalid UTF-8") << QByteArray(m_saved).replace("A. Smith", "\xc3\x28");
    QByteArray keys = "{";
    for (int i = 0; i < 90000; ++i)
        keys += "\"k" + QByteArray::number(i) + "\": 1, ";
    QTest::newRow("many keys, one twice") << keys + "\"k7\": 2}";
    QTest::newRow("number out of range")
        << QByteArray(m_saved).replace("\"format_version\": 1", "\"format_version\": 1e999");
}

void tst_SavedLoading::hostileFilesBounded()
{
    QFETCH(QByteArray, bytes);
    const QString file = Path(QStringLiteral("hostile.json"));
    QVERIFY(WriteFile(file, bytes));
    const Measured m = Measure({SheetCommand, "--catalogue", Flight, "--loading", file});
    QCOMPARE(m.status, 2);
    QVERIFY2(m.err.startsWith(QStringLiteral("trx-sheet: cannot use the loading ")),
             qPrintable(m.err.left(300)));
#if !defined(__SANITIZE_ADDRESS__)
    QVERIFY2(m.seconds < 1.0, qPrintable(QString::number(m.seconds)));
    const qint64 bound = 64 * 1024 + bytes.size() / 1024;
    QVERIFY2(m.peakKiB < bound, qPrintable(QStringLiteral("%1 KiB").arg(m.peakKiB)));
#endif
    QFile::remove(file);
}

void tst_SavedLoading::checkerFindings()
{
    // The empty weight changed by hand: the first "2007;" is SlotsWeight's.
    QByteArray tampered = m_saved;
    tampered.replace(tampered.indexOf("\"text\": \"2007;"), 14, "\"text\": \"2006;");
    QByteArray catalogue = ReadAll(Flight);
    struct Sink : FindingSink
    {
        QStringList codes;
        void Finding(const CatalogueFinding& f) override { codes << f.code + u' ' + f.key; }
        void Aircraft(const AircraftSummary&) override {}
    };
    Sink sound;
    QCOMPARE(CheckLoadingFile(m_saved, &catalogue, sound).errors, 0);
    Sink sink;
    CheckLoadingFile(tampered, &catalogue, sink);
    QCOMPARE(sink.codes.join(u'|'),
             QStringList({"loading-fingerprint ", "loading-data-changed SlotsWeight"}).join(u'|'));

    // The command recognises the file by its content and exits 1.
    const QString file = Path(QStringLiteral("tampered.json"));
    QVERIFY(WriteFile(file, tampered));
    const CommandRun run = RunCommand(QStringLiteral(TRX_BIN_DIR "/trx-check"), {Flight, file});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.out.contains(QStringLiteral("(loading-fingerprint)")), qPrintable(run.out));
}

void tst_SavedLoading::filesKeptApart_data()
{
    QTest::addColumn<QStringList>("args"); // "@" stands for the scratch folder
    QTest::addColumn<QString>("err");
    QTest::newRow("save over the PDF, by another name")
        << QStringList{"Trainer",   "--save",      "@/./out.pdf", "--pdf",
                       "@/out.pdf", "--catalogue", Bundled}
        << "cannot save the loading to @/./out.pdf: it is the PDF's file";
    QTest::newRow("the PDF over the loading read")
        << QStringList{"--loading", "@/kept.json", "--pdf", "@/kept.json", "--catalogue", Flight}
        << "cannot write @/kept.json: it is a file this command reads";
    QTest::newRow("save over the loading read")
        << QStringList{"--loading",   "@/kept.json",
                       "--catalogue", Flight,
                       "--save",      "@/../" + m_dir.path().section(u'/', -1) + "/kept.json"}
        << "it is a file this command reads";
    QTest::newRow("save over the catalogue")
        << QStringList{"Trainer", "--catalogue", Bundled, "--save", Bundled}
        << "it is a file this command reads";
}

void tst_SavedLoading::filesKeptApart()
{
    QFETCH(QStringList, args);
    QFETCH(QString, err);
    const QString kept = Path(QStringLiteral("kept.json"));
    QVERIFY(WriteFile(kept, m_saved));
    const QByteArray catalogue = ReadAll(Bundled);
    args.replaceInStrings(QStringLiteral("@"), m_dir.path());
    const CommandRun run = RunCommand(SheetCommand, args);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.contains(err.replace(QStringLiteral("@"), m_dir.path())), qPrintable(run.err));
    // Nothing written, nothing replaced.
    QVERIFY(!QFile::exists(Path(QStringLiteral("out.pdf"))));
    QCOMPARE(ReadAll(kept), m_saved);
    QCOMPARE(ReadAll(Bundled), catalogue);
}

QTEST_GUILESS_MAIN(tst_SavedLoading)
#include "tst_SavedLoading.moc"
