// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FlightJudgement.h"
#include "core/MemorySheet.h"

#include <QHash>
#include <QTest>

namespace {

using Values = QHash<CatalogueKey, QString>;

// A four-seat single with a published loading: empty 2,007 lb at 38.4 in,
// the forward limit 33.0 in up to 2,250 lb tapering to 40.9 in at 3,100 lb
// (vertices where the conditions fall), the aft limit 46.0 in.
Values Single()
{
    return {{CatalogueKey::Slots, "6"},
            {CatalogueKey::SlotsNames, "Empty;Front seats;Rear seats;Baggage A;Baggage B;Fuel;"},
            {CatalogueKey::SlotsWeight, "2007;350;340;50;40;300;"},
            {CatalogueKey::SlotsMaxWeight, "2007;400;400;120;80;522;"},
            {CatalogueKey::SlotsPos, "38.4;37;74;97;116;46.5;"},
            {CatalogueKey::SlotsMinPos, "38.4;34;74;97;116;46.5;"},
            {CatalogueKey::SlotsMaxPos, "38.4;46;74;97;116;46.5;"},
            {CatalogueKey::MaxWeight, "3100"},
            {CatalogueKey::Unit, "2"},
            {CatalogueKey::EnvelopePoints, "9"},
            {CatalogueKey::EnvelopeX,
             "49500;74250;105880.75;116074.34;125885.32;126790;142600;69000;49500;"},
            {CatalogueKey::EnvelopeY, "1500;2250;2787;2943;3087;3100;3100;1500;1500;"}};
}

// Empty 600 kg at 0.98 m and a tank of 200 kg far aft at 2 m; forward limit
// 1 m, aft limit 2 m, from 500 to 1,000 kg.
Values AftTank()
{
    return {{CatalogueKey::Slots, "2"},
            {CatalogueKey::SlotsNames, "Empty;Aft tank;"},
            {CatalogueKey::SlotsWeight, "600;200;"},
            {CatalogueKey::SlotsMaxWeight, "600;200;"},
            {CatalogueKey::SlotsPos, "0.98;2;"},
            {CatalogueKey::SlotsMinPos, "0.98;2;"},
            {CatalogueKey::SlotsMaxPos, "0.98;2;"},
            {CatalogueKey::MaxWeight, "1000"},
            {CatalogueKey::EnvelopePoints, "5"},
            {CatalogueKey::EnvelopeX, "500;1000;2000;1000;500;"},
            {CatalogueKey::EnvelopeY, "500;1000;1000;500;500;"}};
}

struct Loaded
{
    MemorySheet sheet{firstSlotRow};
    AircraftState state;
};

void Load(const Values& values, Loaded& loaded)
{
    TArrowSeries envelope;
    TArrowSeries loadPath;
    const LoadOutcome outcome = LoadAircraft(
        QStringLiteral("Test"), [&](CatalogueKey key) { return values.value(key); }, loaded.sheet,
        loaded.state, envelope, loadPath);
    QVERIFY2(outcome.Completed(), qPrintable(outcome.errorBox));
}

} // namespace

class tst_FlightJudgement : public QObject
{
    Q_OBJECT
private slots:
    void publishedLoading_data();
    void publishedLoading();
    void wayLeavesAndReturns();
    void aftTankBurnsThroughForwardLimit();
    void fuelUseRefused_data();
    void fuelUseRefused();
};

void tst_FlightJudgement::publishedLoading_data()
{
    QTest::addColumn<double>("burnPounds");
    QTest::addColumn<bool>("within");
    QTest::addColumn<double>("landingWeight");
    // 24 US gal of fuel at 6 lb/gal lands 7 lb under the landing limit; 20
    // lands above it.
    QTest::newRow("24 gal") << 144.0 << true << 2943.0;
    QTest::newRow("20 gal") << 120.0 << false << 2967.0;
}

void tst_FlightJudgement::publishedLoading()
{
    QFETCH(double, burnPounds);
    QFETCH(bool, within);
    QFETCH(double, landingWeight);
    Loaded a;
    Load(Single(), a);
    const int fuel = firstSlotRow + 5;
    const ConditionLimits limits{3110.0, 3100.0, 2950.0, std::nullopt};
    const FlightJudgement flight =
        JudgeFlight(a.sheet, a.state, limits, {fuel}, {}, {FuelUse{fuel, burnPounds}});

    const ConditionJudgement& takeOff = flight.At(FlightCondition::TakeOff);
    QCOMPARE(takeOff.judged.end.weight, 3087.0f);
    QCOMPARE(qRound(double(takeOff.judged.end.moment) * 10), 1386188);
    QCOMPARE(qRound(*takeOff.judged.centre * 100), 4490);
    QVERIFY(takeOff.judged.WithinLimits());
    QCOMPARE(qRound(*takeOff.judged.ranges.at(0).forwardCentre * 100), 4078);

    const ConditionJudgement& landing = flight.At(FlightCondition::Landing);
    QCOMPARE(double(landing.judged.end.weight), landingWeight);
    QCOMPARE(landing.WithinLimits(), within);
    QCOMPARE(flight.WithinLimits(), within);
    if (within) {
        QCOMPARE(qRound(double(landing.judged.end.moment) * 10), 1319228);
        QCOMPARE(qRound(*landing.judged.centre * 100), 4483);
        QCOMPARE(qRound(*landing.judged.ranges.at(0).forwardCentre * 100), 3944);
        QCOMPARE(*landing.WeightMargin(), 7.0);
    }

    const ConditionJudgement& zeroFuel = flight.At(FlightCondition::ZeroFuel);
    QCOMPARE(zeroFuel.judged.end.weight, 2787.0f);
    QCOMPARE(qRound(double(zeroFuel.judged.end.moment) * 10), 1246688);
    QCOMPARE(qRound(*zeroFuel.judged.centre * 100), 4473);
    QVERIFY(flight.burn.WithinLimits());
    QCOMPARE(flight.burn.fuel, burnPounds);
}

void tst_FlightJudgement::wayLeavesAndReturns()
{
    // A notch from the top, 4 to 6 wide and down to 5: the way from (2, 9)
    // to (8, 7) runs into it at x = 4 and out at x = 6, though both ends lie
    // inside.
    const EnvelopeShape notched({0, 10, 10, 6, 6, 4, 4, 0, 0}, {0, 0, 10, 10, 5, 5, 10, 10, 0});
    const FlightWay way = JudgeWay(notched, {2, 9}, {8, 7});
    QVERIFY(way.judged);
    QCOMPARE(way.fuel, 2.0);
    QCOMPARE(way.outside.size(), size_t(1));
    const OutsideStretch& s = way.outside.front();
    QVERIFY(s.leaves && s.returns);
    QCOMPARE(s.leaves->moment, 4.0);
    QVERIFY(qAbs(s.leaves->fuel - 2.0 / 3) < 1e-12);
    QCOMPARE(s.returns->moment, 6.0);
    QVERIFY(qAbs(s.returns->fuel - 4.0 / 3) < 1e-12);
    // Along the notch's floor, from one corner to the other: on the outline
    // all the way, within limits.
    QVERIFY(JudgeWay(notched, {4, 5}, {6, 5}).WithinLimits());
    // Starting outside and coming back.
    const FlightWay in = JudgeWay(notched, {5, 9}, {8, 3});
    QCOMPARE(in.outside.size(), size_t(1));
    QVERIFY(!in.outside.front().leaves && in.outside.front().returns);
}

void tst_FlightJudgement::aftTankBurnsThroughForwardLimit()
{
    Loaded a;
    Load(AftTank(), a);
    const int tank = firstSlotRow + 1;
    const FlightJudgement flight =
        JudgeFlight(a.sheet, a.state, {}, {tank}, {}, {FuelUse{tank, 200}});
    QVERIFY(flight.At(FlightCondition::TakeOff).WithinLimits());
    QVERIFY(!flight.At(FlightCondition::Landing).WithinLimits());
    // By hand: moment 988 - 2 f meets the forward limit, moment = weight =
    // 800 - f, at f = 188.
    QCOMPARE(flight.burn.outside.size(), size_t(1));
    const OutsideStretch& s = flight.burn.outside.front();
    QVERIFY(s.leaves && !s.returns);
    QVERIFY2(qAbs(s.leaves->fuel - 188) < 1e-3, qPrintable(QString::number(s.leaves->fuel)));
    QVERIFY(qAbs(s.leaves->weight - 612) < 1e-3);
}

void tst_FlightJudgement::fuelUseRefused_data()
{
    QTest::addColumn<double>("taxi");
    QTest::addColumn<double>("burn");
    QTest::addColumn<QString>("problem");
    QTest::newRow("all of it") << 100.0 << 100.0 << QString();
    QTest::newRow("more than the tank holds")
        << 100.0 << 100.5 << QStringLiteral("Aft tank holds 200, but 200.5 is used from it");
    QTest::newRow("negative") << 0.0 << -1.0
                              << QStringLiteral("a negative or unreadable amount of fuel for Aft "
                                                "tank");
    QTest::newRow("not a number") << 0.0 << qQNaN()
                                  << QStringLiteral(
                                         "a negative or unreadable amount of fuel for Aft tank");
}

void tst_FlightJudgement::fuelUseRefused()
{
    QFETCH(double, taxi);
    QFETCH(double, burn);
    QFETCH(QString, problem);
    Loaded a;
    Load(AftTank(), a);
    const int tank = firstSlotRow + 1;
    QCOMPARE(FuelUseProblem(a.sheet, {FuelUse{tank, taxi}}, {FuelUse{tank, burn}}), problem);
}

QTEST_GUILESS_MAIN(tst_FlightJudgement)
#include "tst_FlightJudgement.moc"
