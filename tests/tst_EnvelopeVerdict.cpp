// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/EnvelopeVerdict.h"

#include <QTest>

namespace {
using Ranges = std::vector<std::pair<double, double>>;
using Fit = EnvelopeVerdict::Fit;
using Limit = EnvelopeVerdict::Limit;

// The bundled Trainer's envelope, closed by repeating its first vertex.
const std::vector<float> TrainerX = {450, 600, 820, 700, 450};
const std::vector<float> TrainerY = {500, 500, 800, 800, 500};
} // namespace

Q_DECLARE_METATYPE(Ranges)
Q_DECLARE_METATYPE(Fit)
Q_DECLARE_METATYPE(Limit)

class tst_EnvelopeVerdict : public QObject
{
    Q_OBJECT
private slots:
    void judge_data();
    void judge();
};

void tst_EnvelopeVerdict::judge_data()
{
    QTest::addColumn<std::vector<float>>("x");
    QTest::addColumn<std::vector<float>>("y");
    QTest::addColumn<double>("moment");
    QTest::addColumn<double>("weight");
    QTest::addColumn<Fit>("fit");
    QTest::addColumn<Ranges>("ranges");
    QTest::addColumn<double>("lowMargin");
    QTest::addColumn<Limit>("on");

    // At 660 the sloped edges give 450 + 160/300 * 250 and 600 + 160/300 * 220.
    const double low = 450 + 160.0 * 250 / 300;
    const double high = 600 + 160.0 * 220 / 300;
    QTest::newRow("default loading inside") << TrainerX << TrainerY << 642.4 << 660.0 << Fit::Inside
                                            << Ranges{{low, high}} << 642.4 - low << Limit::None;
    QTest::newRow("on the bottom edge") << TrainerX << TrainerY << 500.0 << 500.0 << Fit::Inside
                                        << Ranges{{450, 600}} << 50.0 << Limit::Bottom;
    QTest::newRow("at a corner") << TrainerX << TrainerY << 820.0 << 800.0 << Fit::Inside
                                 << Ranges{{700, 820}} << 120.0 << Limit::Aft;
    // Limits are inclusive: a loading on an edge or a vertex is within them.
    QTest::newRow("on the forward edge")
        << TrainerX << TrainerY << 500.0 << 560.0 << Fit::Inside
        << Ranges{{500, 600 + 220.0 * 60 / 300}} << 0.0 << Limit::Forward;
    QTest::newRow("on the aft edge") << TrainerX << TrainerY << 710.0 << 650.0 << Fit::Inside
                                     << Ranges{{450 + 250.0 * 150 / 300, 710}}
                                     << 710.0 - (450 + 250.0 * 150 / 300) << Limit::Aft;
    QTest::newRow("on the top edge") << TrainerX << TrainerY << 750.0 << 800.0 << Fit::Inside
                                     << Ranges{{700, 820}} << 50.0 << Limit::Top;
    QTest::newRow("aft of the envelope") << TrainerX << TrainerY << 800.0 << 660.0 << Fit::Outside
                                         << Ranges{{low, high}} << 800.0 - low << Limit::None;
    QTest::newRow("heavier than the envelope")
        << TrainerX << TrainerY << 700.0 << 900.0 << Fit::Outside << Ranges{} << 0.0 << Limit::None;
    QTest::newRow("open outline: nothing to judge")
        << std::vector<float>{450, 600, 820, 700} << std::vector<float>{500, 500, 800, 800} << 642.4
        << 660.0 << Fit::NoEnvelope << Ranges{} << 0.0 << Limit::None;
    QTest::newRow("self-intersecting: nothing to judge")
        << std::vector<float>{0, 10, 0, 10, 0} << std::vector<float>{0, 10, 10, 0, 0} << 5.0 << 2.0
        << Fit::NoEnvelope << Ranges{} << 0.0 << Limit::None;
    // A waist: the line at the weight cuts two ranges, and the gap between
    // them is outside.
    const std::vector<float> wx = {0, 10, 10, 6, 6, 4, 4, 0, 0};
    const std::vector<float> wy = {0, 0, 10, 10, 5, 5, 10, 10, 0};
    QTest::newRow("between two ranges")
        << wx << wy << 5.0 << 7.0 << Fit::Outside << Ranges{{0, 4}, {6, 10}} << 5.0 << Limit::None;
}

void tst_EnvelopeVerdict::judge()
{
    QFETCH(std::vector<float>, x);
    QFETCH(std::vector<float>, y);
    QFETCH(double, moment);
    QFETCH(double, weight);
    QFETCH(Fit, fit);
    QFETCH(Ranges, ranges);
    QFETCH(double, lowMargin);
    QFETCH(Limit, on);

    const EnvelopeVerdict v = JudgeLoading(EnvelopeShape(x, y), moment, weight);
    QCOMPARE(v.fit, fit);
    QCOMPARE(v.on, on);
    if (fit == Fit::NoEnvelope)
        return;
    QCOMPARE(v.ranges, ranges);
    if (!ranges.empty())
        QCOMPARE(v.lowMargin, lowMargin);
}

QTEST_APPLESS_MAIN(tst_EnvelopeVerdict)
#include "tst_EnvelopeVerdict.moc"
