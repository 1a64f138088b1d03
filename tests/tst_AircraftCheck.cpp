// SPDX-License-Identifier: GPL-3.0-or-later
// One aircraft's check as its summary tells it: the default loading the load
// ends with, and where it lies against the envelope.
#include "check/AircraftCheck.h"
#include "core/NumConv.h"

#include <QtTest>

#include <algorithm>
#include <cmath>

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
    using Fit = EnvelopeVerdict::Fit;
    using Limit = EnvelopeVerdict::Limit;
    QTest::addColumn<QByteArray>("catalogue");
    QTest::addColumn<Fit>("fit");
    QTest::addColumn<Limit>("on");
    QTest::addColumn<float>("moment");
    QTest::addColumn<float>("weight");
    QTest::addColumn<QStringList>("codes"); // "code:line", in file order
    QTest::addColumn<QString>("box");       // the load's error box

    QTest::newRow("inside") << Aircraft("100", "0.5") << Fit::Inside << Limit::None << 50.0f
                            << 100.0f << QStringList{} << "";
    QTest::newRow("on the boundary, within limits")
        << Aircraft("100", "1") << Fit::Inside << Limit::Aft << 100.0f << 100.0f << QStringList{}
        << "";
    QTest::newRow("on the forward edge") << Aircraft("100", "0") << Fit::Inside << Limit::Forward
                                         << 0.0f << 100.0f << QStringList{} << "";
    QTest::newRow("on the top edge") << Aircraft("200", "0.25") << Fit::Inside << Limit::Top
                                     << 50.0f << 200.0f << QStringList{} << "";
    // At the corner of the origin: within limits, though without a centre of gravity.
    QTest::newRow("no weight, on a vertex") << Aircraft("0", "0.5") << Fit::Inside << Limit::Forward
                                            << 0.0f << 0.0f << QStringList{} << "";
    QTest::newRow("outside") << Aircraft("100", "2") << Fit::Outside << Limit::None << 200.0f
                             << 100.0f << QStringList{"default-outside-envelope:1"} << "";
    QTest::newRow("moment beyond single precision, outside")
        << Aircraft("1E30", "1E30") << Fit::Outside << Limit::None << float(INFINITY) << 1e30f
        << QStringList{"default-outside-envelope:1", "out-of-range:6"} << "";
    QTest::newRow("open envelope")
        << Aircraft("100", "0.5",
                    "EnvelopePoints=4\nEnvelopeX=0;100;100;0;\nEnvelopeY=0;0;200;200;\n")
        << Fit::NoEnvelope << Limit::None << 50.0f << 100.0f << QStringList{"envelope-open:12"}
        << "";
    QTest::newRow("load stops: no default loading")
        << Aircraft("100", "x") << Fit::NoEnvelope << Limit::None << 0.0f << 0.0f
        << QStringList{"not-a-number:6"} << "'x' is not a valid floating point value.";
}

void tst_AircraftCheck::defaultLoading()
{
    QFETCH(QByteArray, catalogue);
    QFETCH(EnvelopeVerdict::Fit, fit);
    QFETCH(EnvelopeVerdict::Limit, on);
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
    const LoadingJudgement& loading = result.summary.loading;
    QCOMPARE(loading.verdict.fit, fit);
    QCOMPARE(loading.verdict.on, on);
    QCOMPARE(loading.end.moment, moment);
    QCOMPARE(loading.end.weight, weight);
    // A centre of gravity only where there is a weight to divide by.
    QCOMPARE(loading.centre.has_value(),
             weight != 0 && std::isfinite(weight) && std::isfinite(moment));

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
