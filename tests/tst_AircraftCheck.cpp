// SPDX-License-Identifier: GPL-3.0-or-later
// One aircraft's check as its summary tells it: the default loading the load
// ends with, and where it lies against the envelope.
#include "check/AircraftCheck.h"
#include "core/NumConv.h"

#include <QtTest>

#include <algorithm>

namespace {

// One slot of `weight` at `position`, and a 100 × 200 envelope with its
// corner at 0; `envelope` replaces the envelope's three lines (11 to 13).
QByteArray Aircraft(const QByteArray& weight, const QByteArray& position,
                    const QByteArray& envelope = "EnvelopePoints=5\nEnvelopeX=0;100;100;0;0;\n"
                                                 "EnvelopeY=0;0;200;200;0;\n")
{
    return "[A]\nSlots=1\nSlotsNames=a;\nSlotsWeight=" + weight +
           ";\nSlotsMaxWeight=1E31;\nSlotsPos=" + position +
           ";\nSlotsMinPos=-1E31;\nSlotsMaxPos=1E31;\nMaxWeight=1E31\nUnit=1\n" + envelope;
}

} // namespace

class tst_AircraftCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SetDecimalSeparator(u'.'); }

    void defaultLoading_data();
    void defaultLoading();
};

void tst_AircraftCheck::defaultLoading_data()
{
    using Fit = AircraftSummary::Fit;
    QTest::addColumn<QByteArray>("catalogue");
    QTest::addColumn<Fit>("fit");
    QTest::addColumn<float>("moment");
    QTest::addColumn<float>("weight");
    QTest::addColumn<QStringList>("codes"); // "code:line", in file order
    QTest::addColumn<QString>("box");       // the load's error box

    QTest::newRow("inside") << Aircraft("100", "0.5") << Fit::Inside << 50.0f << 100.0f
                            << QStringList{} << "";
    QTest::newRow("on the boundary, counted inside")
        << Aircraft("100", "1") << Fit::Inside << 100.0f << 100.0f << QStringList{} << "";
    QTest::newRow("outside") << Aircraft("100", "2") << Fit::Outside << 200.0f << 100.0f
                             << QStringList{"default-outside-envelope:1"} << "";
    QTest::newRow("moment beyond single precision, outside")
        << Aircraft("1E30", "1E30") << Fit::Outside << float(INFINITY) << 1e30f
        << QStringList{"default-outside-envelope:1", "out-of-range:6"} << "";
    QTest::newRow("open envelope")
        << Aircraft("100", "0.5",
                    "EnvelopePoints=4\nEnvelopeX=0;100;100;0;\nEnvelopeY=0;0;200;200;\n")
        << Fit::NoEnvelope << 50.0f << 100.0f << QStringList{"envelope-open:12"} << "";
    QTest::newRow("load stops: no default loading")
        << Aircraft("100", "x") << Fit::NoEnvelope << 0.0f << 0.0f << QStringList{"not-a-number:6"}
        << "'x' is not a valid floating point value.";
}

void tst_AircraftCheck::defaultLoading()
{
    QFETCH(QByteArray, catalogue);
    QFETCH(AircraftSummary::Fit, fit);
    QFETCH(float, moment);
    QFETCH(float, weight);
    QFETCH(QStringList, codes);
    QFETCH(QString, box);

    // The one aircraft of the catalogue, as the index hands it on.
    struct First : CatalogueIndex::Visitor
    {
        QList<AircraftResult> results;
        void KeyOutside(const CatalogueEntry&) override {}
        void FalseHeader(const CatalogueFalseHeader&) override {}
        void SectionBegins(const CatalogueSection&) override {}
        void SectionEnds(const CatalogueSection& section) override
        {
            results.append(CheckAircraft(section));
        }
    } first;
    CatalogueIndex(catalogue).Read(first);
    QCOMPARE(first.results.size(), 1);
    AircraftResult result = first.results.first();
    QCOMPARE(result.summary.loadError, box);
    QCOMPARE(result.summary.fit, fit);
    QCOMPARE(result.summary.moment, moment);
    QCOMPARE(result.summary.weight, weight);

    std::stable_sort(
        result.findings.begin(), result.findings.end(),
        [](const CatalogueFinding& a, const CatalogueFinding& b) { return a.order < b.order; });
    QStringList found;
    int stops = 0;
    for (const CatalogueFinding& f : std::as_const(result.findings)) {
        found << QStringLiteral("%1:%2").arg(f.code).arg(f.line);
        // The finding that foresaw the load's stop says so.
        if (f.stopsLoad) {
            ++stops;
            QCOMPARE(f.boxText, box);
            QVERIFY(f.message.endsWith(
                QStringLiteral("; loading stops here with \"%1\"").arg(result.summary.loadError)));
        }
    }
    QCOMPARE(found, codes);
    QCOMPARE(stops, box.isEmpty() ? 0 : 1);
}

QTEST_GUILESS_MAIN(tst_AircraftCheck)
#include "tst_AircraftCheck.moc"
