#include "station/rank.h"

#include "platform/recordingplatform.h"
#include "support/qtprinters.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// The duty-cycle station ranked over the shipped catalogue at the edges: a cycle time shorter
// than every tool's fastening, none at all, and a torque the window rounds to the tool's maximum.
TEST(RankStation, NoRunFitsAStationNoToolCanDoAndARoundedTorqueIsJudgedAsShown) {
    const QString stations = QStringLiteral(VELDRUNE_TEST_DATA "/stations");
    const RecordingPlatform files(stations, stations);
    const Station station =
        std::get<Station>(ReadStationFile(files, stations + u"/duty-cycle.json"_s));
    QTemporaryDir working;
    const RankPlace place{QStringLiteral(VELDRUNE_SHIPPED_DATA), working.path()};
    const auto verdicts = [&](const QString& cycle, const QString& torque) {
        Station edge = station;
        edge.dutyCycle->stationCycleTime = cycle;
        edge.dutyCycle->fasteningTorque = torque;
        QStringList told;
        const auto ranked = RankStation(edge, place, {}, {}, 2);
        for (const StationReport& run : std::get<std::vector<StationReport>>(ranked))
            told.append(run.tool + u' ' + run.angleHead + u": "_s + run.rank->verdict);
        return told;
    };
    for (const QString& cycle : {u"1.5"_s, u"0"_s}) {
        const QStringList told = verdicts(cycle, u"4.5"_s);
        EXPECT_EQ(told.size(), 19);
        EXPECT_EQ(told.filter(u": fits"_s), QStringList()) << cycle.toStdString();
        EXPECT_EQ(told.filter(cycle == u"0" ? u": load not computed"_s
                                            : u": cycle shorter than the fastening"_s)
                      .size(),
                  told.size() - told.filter(u"torque above"_s).size())
            << told.join(u'\n').toStdString();
    }
    EXPECT_TRUE(verdicts(u"30"_s, u"8.784"_s).contains(u"KRV-110QM1-05 RH1: fits"_s));
    EXPECT_TRUE(verdicts(u"30"_s, u"8.786"_s)
                    .contains(u"KRV-110QM1-05 RH1: torque above the tool's maximum"_s));
}

} // namespace
} // namespace veldrune
