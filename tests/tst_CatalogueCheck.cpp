// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/CatalogueCheck.h"
#include "core/NumConv.h"

#include <QtTest>

namespace {

const QByteArrayList TrainerLines = {
    "[Trainer]",                                       // 1
    "Make=Generic",                                    // 2
    "Model=T2",                                        // 3
    "Slots=4",                                         // 4
    "SlotsNames=Empty aircraft;Pilot;Passenger;Fuel;", // 5
    "SlotsWeight=520;80;0;60;",                        // 6
    "SlotsMaxWeight=520;120;120;110;",                 // 7
    "SlotsPos=0.95;0.94;0.94;1.22;",                   // 8
    "SlotsMinPos=0.95;0.90;0.90;1.22;",                // 9
    "SlotsMaxPos=0.95;1.00;1.00;1.22;",                // 10
    "MaxWeight=800",                                   // 11
    "Unit=1",                                          // 12
    "EnvelopePoints=5",                                // 13
    "EnvelopeX=450;600;820;700;450;",                  // 14
    "EnvelopeY=500;500;800;800;500;",                  // 15
};

// The worked example with the line of `key` replaced (removed when `line` is
// empty), then `extra` lines.
QByteArray Trainer(const QByteArray& key = {}, const QByteArray& line = {},
                   const QByteArray& extra = {})
{
    QByteArray text;
    for (const QByteArray& l : TrainerLines) {
        if (!key.isEmpty() && l.startsWith(key + '=')) {
            if (!line.isEmpty())
                text += line + '\n';
            continue;
        }
        text += l + '\n';
    }
    return text + extra;
}

} // namespace

class tst_CatalogueCheck : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SetDecimalSeparator(u'.'); }

    void findings_data();
    void findings();
};

void tst_CatalogueCheck::findings_data()
{
    QTest::addColumn<QByteArray>("catalogue");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("only");         // the one code compared, or every code when empty
    QTest::addColumn<QStringList>("expected"); // "code:line", in file order

    const QChar point = u'.';
    QTest::newRow("clean") << Trainer() << point << "" << QStringList{};
    QTest::newRow("clean, comma locale")
        << Trainer().replace('.', ',') << QChar(u',') << "" << QStringList{};
    QTest::newRow("point in a comma locale")
        << Trainer() << QChar(u',') << "not-a-number"
        << QStringList{"not-a-number:8", "not-a-number:9", "not-a-number:10"};

    // Errors.
    QTest::newRow("count-too-large")
        << Trainer("Slots", "Slots=1024") << point << "" << QStringList{"count-too-large:4"};
    QTest::newRow("count-too-large, envelope") << Trainer("EnvelopePoints", "EnvelopePoints=0x400")
                                               << point << "" << QStringList{"count-too-large:13"};
    QTest::newRow("list-short") << Trainer("SlotsMinPos", "SlotsMinPos=0.95;0.90;0.90;1.22")
                                << point << "" << QStringList{"list-short:9"};
    QTest::newRow("list-short, missing key")
        << Trainer("EnvelopeY") << point << "" << QStringList{"list-short:0"};
    QTest::newRow("not-a-number") << Trainer("SlotsMaxWeight", "SlotsMaxWeight=520;x;120;110;")
                                  << point << "" << QStringList{"not-a-number:7"};
    QTest::newRow("not-a-number, empty field") << Trainer("SlotsWeight", "SlotsWeight=520;;0;60;")
                                               << point << "" << QStringList{"not-a-number:6"};
    QTest::newRow("not-a-number, torque beyond range")
        << QByteArray("[Inf]\nSlots=1\nSlotsNames=a;\nSlotsWeight=1E3000;\nSlotsMaxWeight=1E300;\n"
                      "SlotsPos=1E3000;\nSlotsMinPos=0;\nSlotsMaxPos=1E300;\nMaxWeight=1\n"
                      "EnvelopeX=0;\nEnvelopeY=0;\n")
        << point << "not-a-number" << QStringList{"not-a-number:6"};
    QTest::newRow("out-of-range") << Trainer("SlotsMinPos", "SlotsMinPos=0.95;1E-50;0.90;1.22;")
                                  << point << "" << QStringList{"out-of-range:9"};
    QTest::newRow("out-of-range, maximum weight")
        << Trainer("MaxWeight", "MaxWeight=1E39") << point << "" << QStringList{"out-of-range:11"};
    // The flight's keys: never stopping a load, one error each.
    const QByteArray flight = "MaxRampWeight=805\nMaxLandingWeight=760\nMaxZeroFuelWeight=700.5\n"
                              "FuelSlots=4;\nFuelDensity=0.72\n";
    QTest::newRow("flight keys") << Trainer({}, {}, flight) << point << "" << QStringList{};
    QTest::newRow("flight keys, comma locale")
        << Trainer({}, {}, flight).replace('.', ',') << QChar(u',') << "" << QStringList{};
    QTest::newRow("weight-limit, ramp") << Trainer({}, {}, "MaxRampWeight=heavy\n") << point << ""
                                        << QStringList{"weight-limit:16"};
    QTest::newRow("weight-limit, landing") << Trainer({}, {}, "MaxLandingWeight=-760\n") << point
                                           << "" << QStringList{"weight-limit:16"};
    QTest::newRow("weight-limit, zero fuel") << Trainer({}, {}, "MaxZeroFuelWeight=1E400\n")
                                             << point << "" << QStringList{"weight-limit:16"};
    QTest::newRow("fuel-slots, no such slot")
        << Trainer({}, {}, "FuelSlots=4;5;\n") << point << "" << QStringList{"fuel-slots:16"};
    QTest::newRow("fuel-slots, the empty aircraft")
        << Trainer({}, {}, "FuelSlots=1;\n") << point << "" << QStringList{"fuel-slots:16"};
    QTest::newRow("fuel-slots, twice")
        << Trainer({}, {}, "FuelSlots=4;4;\n") << point << "" << QStringList{"fuel-slots:16"};
    QTest::newRow("fuel-slots, no final ';'")
        << Trainer({}, {}, "FuelSlots=4\n") << point << "" << QStringList{"fuel-slots:16"};
    QTest::newRow("fuel-density") << Trainer({}, {}, "FuelDensity=0\n") << point << ""
                                  << QStringList{"fuel-density:16"};
    QTest::newRow("limit-order, zero fuel above landing")
        << Trainer({}, {}, "MaxLandingWeight=700\nMaxZeroFuelWeight=750\n") << point << ""
        << QStringList{"limit-order:17"};
    QTest::newRow("limit-order, landing above MaxWeight")
        << Trainer({}, {}, "MaxLandingWeight=801\n") << point << ""
        << QStringList{"limit-order:16"};
    QTest::newRow("limit-order, ramp below MaxWeight")
        << Trainer({}, {}, "MaxRampWeight=799\n") << point << "" << QStringList{"limit-order:16"};
    QTest::newRow("limit-order, zero fuel above MaxWeight without landing")
        << Trainer({}, {}, "MaxZeroFuelWeight=801\n") << point << ""
        << QStringList{"limit-order:16"};
    QTest::newRow("not-text") << Trainer("Make", "Make=G\xE9n\xE9ric") << point << ""
                              << QStringList{"not-text:2"};
    QTest::newRow("not-text, UTF-16")
        << QByteArray("\xFF\xFE[\0A\0]\0", 8) << point << "not-text" << QStringList{"not-text:1"};

    // Warnings.
    QTest::newRow("value-cut") << Trainer("Model", "Model=" + QByteArray(3000, 'x')) << point << ""
                               << QStringList{"value-cut:3"};
    QByteArray names = "SlotsNames=";
    for (int i = 0; i < 400; ++i)
        names += "Slot " + QByteArray::number(i) + ';';
    QTest::newRow("value-cut, list")
        << Trainer("SlotsNames", names) << point << "" << QStringList{"value-cut:5", "list-long:5"};
    QTest::newRow("list-long") << Trainer("SlotsNames", "SlotsNames=a;b;c;d;e;") << point << ""
                               << QStringList{"list-long:5"};
    QTest::newRow("list-long, text after the last field")
        << Trainer("SlotsMaxPos", "SlotsMaxPos=0.95;1.00;1.00;1.22;2") << point << ""
        << QStringList{"list-long:10"};
    QTest::newRow("names-short") << Trainer("SlotsNames", "SlotsNames=a;b;c;") << point << ""
                                 << QStringList{"names-short:5"};
    QTest::newRow("envelope-open") << Trainer("EnvelopeX", "EnvelopeX=450;600;820;700;440;")
                                   << point << "" << QStringList{"envelope-open:14"};
    QTest::newRow("envelope-degenerate") << Trainer("EnvelopeY", "EnvelopeY=500;500;500;500;500;")
                                         << point << "" << QStringList{"envelope-degenerate:14"};
    QTest::newRow("envelope-degenerate, missing count")
        << Trainer("EnvelopePoints") << point << ""
        << QStringList{"list-long:13", "envelope-degenerate:13", "list-long:14"};
    QTest::newRow("envelope-self-intersecting")
        << Trainer("EnvelopeY", "EnvelopeY=500;800;500;800;500;")
               .replace("EnvelopeX=450;600;820;700;450;", "EnvelopeX=450;820;600;700;450;")
        << point << "" << QStringList{"envelope-self-intersecting:14"};
    QTest::newRow("position-limits")
        << Trainer("SlotsMinPos", "SlotsMinPos=0.95;0.90;1.10;1.22;") << point << ""
        << QStringList{"default-position:8", "position-limits:9"};
    QTest::newRow("default-position") << Trainer("SlotsPos", "SlotsPos=0.95;0.80;0.94;1.22;")
                                      << point << "" << QStringList{"default-position:8"};
    QTest::newRow("default-position, limits as written")
        << Trainer("SlotsPos", "SlotsPos=0.95;0.90;1.00;1.22;") << point << "" << QStringList{};
    QTest::newRow("default-weight") << Trainer("SlotsWeight", "SlotsWeight=520;130;0;60;") << point
                                    << "" << QStringList{"default-weight:6"};
    QTest::newRow("default-total")
        << Trainer("MaxWeight", "MaxWeight=600") << point << "" << QStringList{"default-total:11"};
    QTest::newRow("default-outside-envelope")
        << Trainer("EnvelopeX", "EnvelopeX=650;800;1020;900;650;") << point << ""
        << QStringList{"default-outside-envelope:1"};
    QTest::newRow("max-weight") << Trainer("MaxWeight") << point << ""
                                << QStringList{"max-weight:0"};
    QTest::newRow("max-weight, negative")
        << Trainer("MaxWeight", "MaxWeight=-800") << point << "" << QStringList{"max-weight:11"};
    QTest::newRow("unit") << Trainer("Unit", "Unit=3") << point << "" << QStringList{"unit:12"};
    QTest::newRow("unit, hexadecimal")
        << Trainer("Unit", "Unit=0x2") << point << "" << QStringList{};
    QTest::newRow("unknown-key") << Trainer("Make", "Make=Generic\nSlotMaxWeight=1;") << point << ""
                                 << QStringList{"unknown-key:3"};
    {
        // A thousand are listed one by one, the rest in one finding, so that a
        // section of millions of lines stays small.
        QStringList expected;
        for (int line = 16; line <= 1016; ++line)
            expected << QStringLiteral("unknown-key:%1").arg(line);
        QTest::newRow("unknown-key, past the thousandth")
            << Trainer({}, {}, QByteArray("x=\n").repeated(1002)) << point << "" << expected;
    }
    QTest::newRow("unknown-key, before any section")
        << "Make=x\n" + Trainer() << point << "" << QStringList{"unknown-key:1"};
    QTest::newRow("duplicate-section") << Trainer({}, {}, "[trainer]\nSlots=x\n") << point << ""
                                       << QStringList{"duplicate-section:16"};
    QTest::newRow("duplicate-section-stops")
        << Trainer("Slots", "Slots=1024", "[trainer]\n[TRAINER]\n") << point << ""
        << QStringList{"count-too-large:4", "duplicate-section:16", "duplicate-section-stops:16",
                       "duplicate-section:17", "duplicate-section-stops:17"};
    QTest::newRow("duplicate-section-stops, unlisted")
        << '[' + QByteArray(16370, 'n') + "]\n" + Trainer("Slots", "Slots=1024", "[trainer]\n")
        << point << "duplicate-section-stops" << QStringList{};
    QTest::newRow("no-aircraft") << QByteArray() << point << "" << QStringList{"no-aircraft:0"};
    QTest::newRow("no-aircraft, unnamed section")
        << "[]\n" + Trainer().mid(10) << point << "" << QStringList{"unlisted:1", "no-aircraft:0"};
    QTest::newRow("no-aircraft, after a finding at the end")
        << QByteArray("Make=\xFF\n") << point << ""
        << QStringList{"not-text:1", "unknown-key:1", "no-aircraft:0"};
    // Each section's findings come as it ends, the not-text finding where its line falls.
    QTest::newRow("file order across sections")
        << Trainer("Unit", "Unit=3") + "[B]\nSlots=x\nMake=\x01\n[\n" + Trainer("Unit", "Unit=3")
        << point << ""
        << QStringList{"unit:12",     "list-short:0", "list-short:0", "max-weight:0",
                       "no-slots:17", "not-text:18",  "unlisted:19",  "duplicate-section:20"};
    QTest::newRow("duplicate-key")
        << Trainer({}, {}, "make=Other\n") << point << "" << QStringList{"duplicate-key:16"};
    QTest::newRow("no-slots") << Trainer("Slots", "Slots=4.0") << point << ""
                              << QStringList{"no-slots:4"};
    QTest::newRow("unlisted, empty name")
        << Trainer({}, {}, "[]\n") << point << "" << QStringList{"unlisted:16"};
    QTest::newRow("unlisted, list full") << '[' + QByteArray(16380, 'n') + "]\n" + Trainer()
                                         << point << "unlisted" << QStringList{"unlisted:2"};
    QTest::newRow("unlisted, header cut by a NUL")
        << Trainer({}, {}, QByteArray("[Nul\0Plane]\n", 12)) << point << ""
        << QStringList{"not-text:16", "unlisted:16"};
}

void tst_CatalogueCheck::findings()
{
    QFETCH(QByteArray, catalogue);
    QFETCH(QChar, separator);
    QFETCH(QString, only);
    QFETCH(QStringList, expected);
    SetDecimalSeparator(separator);

    const CatalogueCheck check(catalogue);
    QStringList found;
    int errors = 0;
    for (const CatalogueFinding& f : check.Findings()) {
        errors += f.severity == FindingSeverity::Error;
        if (only.isEmpty() || f.code == only)
            found << QStringLiteral("%1:%2").arg(f.code).arg(f.line);
    }
    QCOMPARE(found, expected);
    QCOMPARE(check.Errors(), errors);
    QCOMPARE(check.Errors() + check.Warnings(), check.Findings().size());
}

QTEST_GUILESS_MAIN(tst_CatalogueCheck)
#include "tst_CatalogueCheck.moc"
