// SPDX-License-Identifier: GPL-3.0-or-later
// The flight's keys as trx-check and trx-sheet read them: limits, fuel slots
// (counted from 0) and density, and every problem with its key and text.
#include "core/ArrowSeries.h"
#include "core/FlightLimits.h"
#include "core/MemorySheet.h"
#include "core/NumConv.h"

#include <QtTest>

namespace {

using Kind = FlightLimitProblem::Kind;

// "Key=value" lines as the reader hands the values on.
CatalogueValue Values(const QStringList& lines)
{
    QHash<QString, QString> values;
    for (const QString& line : lines)
        values.insert(line.section(u'=', 0, 0), line.section(u'=', 1));
    return [values](CatalogueKey key) { return values.value(KeyName(key)); };
}

QString LimitText(const std::optional<double>& limit)
{
    return limit ? FloatToStr(*limit) : QStringLiteral("-");
}

// "FuelSlots[2] 'x' NotASlot", "MaxRampWeight '' Order".
QString ProblemText(const FlightLimitProblem& p)
{
    static const char* const kinds[] = {"NotANumber",   "NotPositive", "BeyondRange",
                                        "NotASlot",     "NoSuchSlot",  "EmptyAircraft",
                                        "RepeatedSlot", "Unended",     "Order"};
    QString text = KeyName(p.key);
    if (p.field >= 0)
        text += QStringLiteral("[%1]").arg(p.field);
    return text + QStringLiteral(" '%1' %2").arg(p.raw, kinds[static_cast<int>(p.kind)]);
}

} // namespace

class tst_FlightLimits : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SetDecimalSeparator(u'.'); }

    void read_data();
    void read();
    void windowReadsNone();
};

void tst_FlightLimits::read_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("slotCount");
    QTest::addColumn<bool>("imperial");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QStringList>("limits"); // zero fuel, landing, take-off, ramp
    QTest::addColumn<QList<int>>("fuelSlots");
    QTest::addColumn<double>("density");
    QTest::addColumn<QStringList>("problems");

    const QChar point = u'.';
    QTest::newRow("every key") << QStringList{"MaxZeroFuelWeight=1000", "MaxLandingWeight=1092",
                                              "MaxWeight=1150",         "MaxRampWeight=1155",
                                              "FuelSlots=5;6;",         "FuelDensity=0.8"}
                               << 6 << false << point << QStringList{"1000", "1092", "1150", "1155"}
                               << QList<int>{4, 5} << 0.8 << QStringList{};
    QTest::newRow("none: the unit's density")
        << QStringList{} << 6 << false << point << QStringList{"-", "-", "-", "-"} << QList<int>{}
        << 0.72 << QStringList{};
    QTest::newRow("none, imperial")
        << QStringList{} << 6 << true << point << QStringList{"-", "-", "-", "-"} << QList<int>{}
        << 6.0 << QStringList{};
    QTest::newRow("empty values count as missing")
        << QStringList{"MaxRampWeight=", "FuelSlots=", "FuelDensity="} << 6 << true << point
        << QStringList{"-", "-", "-", "-"} << QList<int>{} << 6.0 << QStringList{};
    QTest::newRow("comma separator")
        << QStringList{"MaxLandingWeight=1092,5", "FuelSlots= 3,0 ;", "FuelDensity=0,8"} << 6
        << false << QChar(u',') << QStringList{"-", "1092.5", "-", "-"} << QList<int>{2} << 0.8
        << QStringList{};
    QTest::newRow("point in a comma locale")
        << QStringList{"MaxLandingWeight=1092.5", "FuelDensity=0.8"} << 6 << false << QChar(u',')
        << QStringList{"-", "-", "-", "-"} << QList<int>{} << 0.72
        << QStringList{"MaxLandingWeight '1092.5' NotANumber", "FuelDensity '0.8' NotANumber"};
    QTest::newRow("numbers a double cannot hold, not positive")
        << QStringList{"MaxRampWeight=1E400", "MaxZeroFuelWeight=1E-400", "FuelDensity=-0.72"} << 6
        << false << point << QStringList{"-", "-", "-", "-"} << QList<int>{} << 0.72
        << QStringList{"MaxRampWeight '1E400' BeyondRange",
                       "MaxZeroFuelWeight '1E-400' NotPositive", "FuelDensity '-0.72' NotPositive"};
    QTest::newRow("each bad fuel slot, the good ones kept")
        << QStringList{"FuelSlots=x;2.5;1;9;0;3;;3;4.00000000000000001;2"} << 4 << false << point
        << QStringList{"-", "-", "-", "-"} << QList<int>{2} << 0.72
        << QStringList{
               "FuelSlots[0] 'x' NotASlot",      "FuelSlots[1] '2.5' NotASlot",
               "FuelSlots[2] '1' EmptyAircraft", "FuelSlots[3] '9' NoSuchSlot",
               "FuelSlots[4] '0' NoSuchSlot",    "FuelSlots[6] '' NotASlot",
               "FuelSlots[7] '3' RepeatedSlot",  "FuelSlots[8] '4.00000000000000001' NotASlot",
               "FuelSlots '2' Unended"};
    QTest::newRow("fuel slots of no slot at all")
        << QStringList{"FuelSlots=2;"} << -3 << false << point << QStringList{"-", "-", "-", "-"}
        << QList<int>{} << 0.72 << QStringList{"FuelSlots[0] '2' NoSuchSlot"};
    QTest::newRow("equal limits are in order")
        << QStringList{"MaxZeroFuelWeight=800", "MaxLandingWeight=800", "MaxWeight=800",
                       "MaxRampWeight=800"}
        << 4 << false << point << QStringList{"800", "800", "800", "800"} << QList<int>{} << 0.72
        << QStringList{};
    QTest::newRow("order among the limits given")
        << QStringList{"MaxZeroFuelWeight=900", "MaxWeight=800", "MaxRampWeight=700"} << 4 << false
        << point << QStringList{"900", "-", "800", "700"} << QList<int>{} << 0.72
        << QStringList{"MaxZeroFuelWeight '900' Order", "MaxRampWeight '700' Order"};
    QTest::newRow("a bad limit is left out of the order")
        << QStringList{"MaxZeroFuelWeight=900", "MaxLandingWeight=x", "MaxWeight=800"} << 4 << false
        << point << QStringList{"900", "-", "800", "-"} << QList<int>{} << 0.72
        << QStringList{"MaxLandingWeight 'x' NotANumber", "MaxZeroFuelWeight '900' Order"};
    QTest::newRow("MaxWeight unusable: landing against ramp")
        << QStringList{"MaxLandingWeight=900", "MaxWeight=-1", "MaxRampWeight=850"} << 4 << false
        << point << QStringList{"-", "900", "-", "850"} << QList<int>{} << 0.72
        << QStringList{"MaxLandingWeight '900' Order"};
}

void tst_FlightLimits::read()
{
    QFETCH(QStringList, lines);
    QFETCH(int, slotCount);
    QFETCH(bool, imperial);
    QFETCH(QChar, separator);
    QFETCH(QStringList, limits);
    QFETCH(QList<int>, fuelSlots);
    QFETCH(double, density);
    QFETCH(QStringList, problems);
    SetDecimalSeparator(separator);

    const FlightLimits read = ReadFlightLimits(Values(lines), slotCount, imperial);
    SetDecimalSeparator(u'.');
    QCOMPARE((QStringList{LimitText(read.zeroFuel), LimitText(read.landing),
                          LimitText(read.takeOff), LimitText(read.ramp)}),
             limits);
    QCOMPARE(read.fuelSlots, fuelSlots);
    QCOMPARE(read.fuelDensity, density);
    QCOMPARE(read.fuelDensityGiven, density != DefaultFuelDensity(imperial));
    QStringList found;
    for (const FlightLimitProblem& p : read.problems) {
        found << ProblemText(p);
        QVERIFY(!p.what.isEmpty());
    }
    QCOMPARE(found, problems);
}

// The window's load asks for exactly the keys the schema gives it, none of
// the flight's: a catalogue with them shows what it showed without them.
void tst_FlightLimits::windowReadsNone()
{
    // The smallest aircraft that loads, and every flight key given too.
    const QStringList lines = {"Slots=1",      "SlotsMaxWeight=1;", "SlotsWeight=1;",
                               "SlotsPos=1;",  "SlotsMinPos=1;",    "SlotsMaxPos=1;",
                               "EnvelopeX=1;", "EnvelopeY=1;",      "MaxRampWeight=1",
                               "FuelSlots=1;", "FuelDensity=1"};
    const CatalogueValue values = Values(lines);
    QSet<int> asked;
    MemorySheet sheet(firstSlotRow);
    AircraftState state;
    TArrowSeries envelope;
    TArrowSeries loadPath;
    const LoadOutcome outcome = LoadAircraft(
        QStringLiteral("A"),
        [&](CatalogueKey key) {
            asked.insert(static_cast<int>(key));
            return values(key);
        },
        sheet, state, envelope, loadPath);
    QVERIFY(outcome.Completed());
    for (int k = 0; k < CatalogueKeyCount; ++k) {
        const CatalogueKey key = static_cast<CatalogueKey>(k);
        QVERIFY2(asked.contains(k) == WindowReads(key), qPrintable(KeyName(key)));
    }
}

QTEST_GUILESS_MAIN(tst_FlightLimits)
#include "tst_FlightLimits.moc"
