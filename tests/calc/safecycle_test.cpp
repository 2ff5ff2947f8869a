#include "calc/safecycle.h"

#include "catalogue/catalogue.h"
#include "catalogue/toolinfo.h"
#include "numbers/numberformat.h"
#include "numbers/textvalue.h"
#include "support/qtprinters.h"

#include <QFile>

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

Catalogue shippedCatalogue() {
    Catalogue catalogue;
    QFile file(QStringLiteral(VELDRUNE_SHIPPED_DATA "/TOOLINFO.LST"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    catalogue.Tools = ReadToolInfo(QString::fromLatin1(file.readAll())).table;
    InitMotorTable(catalogue.Motors);
    return catalogue;
}

// The search as its definition reads: every cycle time from the station's own down, 0.1 s at a
// time, typed as the window shows it and simulated in full.
QString plainSearch(DutyCycleInputs in, const Catalogue& catalogue, const QString& own,
                    const QString& total) {
    const auto hundredths = [](const QString& text) { return std::llround(TextValue(text) * 100); };
    const long long start = hundredths(own);
    const long long lowest = std::max(hundredths(total), 1LL);
    long long safe = start;
    for (long long cycle = start - 10; cycle >= lowest; cycle -= 10) {
        in.cycleTime = TextValue(FormatFixed(double(cycle) / 100, 2));
        const LoadSimulation load = SimulateLoad(in, catalogue, false);
        if (!load.completed || load.peakLoadPercent > 100)
            break;
        safe = cycle;
    }
    return FormatFixed(double(safe) / 100, 2);
}

// Random stations of every kind the window makes: any tool of the catalogue (every motor
// family), with or without an angle head, any unit, torques up to a little beyond the tool's,
// 2 to 16 minutes, recovery times, and station cycle times from below the total to beyond the
// period. The search finds what the plain search finds, in every one.
TEST(ShortestSafeCycleTime, EqualsThePlainSearchOnRandomStations) {
    const Catalogue catalogue = shippedCatalogue();
    const int tools = catalogue.Tools.toolCount();
    std::mt19937 random{20261207};
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution(low, high)(random);
    };
    const auto whole = [&](int low, int high) {
        return std::uniform_int_distribution(low, high)(random);
    };
    const QString heads[] = {u" "_s, u"RH1"_s, u"RH2"_s, u"RH3"_s, u"RH4"_s, u"RH5"_s};
    int searched = 0;
    int beyondPeriod = 0;
    for (int s = 0; searched < 500; ++s) {
        DutyCycleInputs in;
        const ToolEntry& tool = catalogue.Tools[whole(1, tools)];
        in.tool = tool.Model;
        in.toolChosen = true;
        in.angleHead = heads[whole(0, 5)];
        in.unitPosition = whole(0, UnitCount - 1);
        const double maximum = tool.MaxTorque[std::size_t(in.unitPosition)] /
                               std::pow(10.0, tool.TorqueDecimals[std::size_t(in.unitPosition)]);
        in.fasteningTorque = std::round(maximum * uniform(0.05, 1.2) * 100) / 100;
        in.tighteningTime = std::round(uniform(0.1, 3) * 10) / 10;
        in.freerunTime = std::round(uniform(0, 2) * 10) / 10;
        in.prevailing = whole(0, 1) == 1;
        in.recoveryTime = std::round(uniform(0, 2) * 10) / 10;
        // Mostly cycle times a station has; one in eight beyond the period, which the plain
        // search takes long over in periods of 8 and 16 minutes.
        const bool beyond = whole(0, 7) == 0;
        in.periodPosition = whole(0, beyond ? 1 : 3);
        const double total = in.tighteningTime + in.freerunTime + uniform(0.3, 1.5);
        const double period = 120.0 * (1 << in.periodPosition);
        const double own =
            beyond ? uniform(period - 1, 1.2 * period) : total * std::exp(uniform(-0.2, 2.5));
        const QString ownText = FormatFixed(own, 2);
        const QString totalText = FormatFixed(total, 2);
        in.cycleTime = TextValue(ownText);
        const LoadSimulation load = SimulateLoad(in, catalogue, false);
        if (!load.completed || load.peakLoadPercent > 100 || own < total)
            continue; // the search is made for runs that fit only
        ++searched;
        beyondPeriod += own > period;
        EXPECT_EQ(ShortestSafeCycleTime(in, catalogue, ownText, totalText),
                  plainSearch(in, catalogue, ownText, totalText))
            << s << ": " << in.tool.toStdString() << " " << in.angleHead.toStdString() << " unit "
            << in.unitPosition << " torque " << in.fasteningTorque << " cycle "
            << ownText.toStdString() << " total " << totalText.toStdString() << " recovery "
            << in.recoveryTime << " period " << in.periodPosition;
    }
    EXPECT_GT(beyondPeriod, 20);
}

// A cycle time beyond the period's last step puts every step into the first cycle, so it
// simulates as any other such cycle time, step for step: the search may start below them.
// Cycle times of any size a file can hold are searched without fault.
TEST(ShortestSafeCycleTime, CycleTimesBeyondThePeriodSimulateAlike) {
    const Catalogue catalogue = shippedCatalogue();
    DutyCycleInputs in;
    in.tool = catalogue.Tools[1].Model;
    in.toolChosen = true;
    in.angleHead = u"RH1"_s;
    in.fasteningTorque = 4.5;
    in.tighteningTime = 0.5;
    in.freerunTime = 0.72;
    in.recoveryTime = 0.5;
    in.periodPosition = 0;
    const double last = LastStepTime(in);
    EXPECT_EQ(last, double(120.0f));
    const auto steps = [&](double cycle) {
        in.cycleTime = cycle;
        QStringList loads;
        for (const LoadStep& step : SimulateLoad(in, catalogue).steps)
            loads.append(QString::number(double(step.load), 'g', 9) + u' ' +
                         QString::number(step.torqueY));
        return loads;
    };
    const QStringList beyond = steps(120.01);
    EXPECT_EQ(beyond.size(), 1200);
    for (const double cycle : {121.0, 1000.0, 1e20})
        EXPECT_EQ(steps(cycle), beyond) << cycle;

    // Searched as from the shortest cycle time beyond the period with the same hundredths;
    // a cycle time too large for the hundredths stays the station's own.
    const std::pair<const char*, const char*> cycles[] = {
        {"1e20", "120.10"}, {"987654.32", "120.02"}, {"1e305", "120.08"}};
    for (const auto& [own, from] : cycles) {
        EXPECT_EQ(ShortestSafeCycleTime(in, catalogue, QString::fromLatin1(own), u"3.00"_s),
                  plainSearch(in, catalogue, QString::fromLatin1(from), u"3.00"_s))
            << own;
    }
    EXPECT_EQ(ShortestSafeCycleTime(in, catalogue, u"1e308"_s, u"3.00"_s), FormatFixed(1e308, 2));
}

} // namespace
} // namespace veldrune
