// Ranking every tool of the shipped catalogue for a station with a 16-minute duty cycle.

#include "station/rank.h"

#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace {

void BM_RankShippedCatalogue16Minutes(benchmark::State& state) {
    veldrune::Station station;
    station.system = QStringLiteral("MVC4800");
    station.tool = QStringLiteral("KRV-110QM1-05");
    station.angleHead = QStringLiteral("RH1");
    station.fastening = veldrune::Station::Fastening::BoltData;
    station.boltLength = QStringLiteral("20");
    station.boltPitch = QStringLiteral("1.25");
    veldrune::Station::DutyCycle duty;
    duty.stationCycleTime = QStringLiteral("30");
    duty.fasteningTorque = QStringLiteral("4.5");
    duty.torqueRecoveryTime = QStringLiteral("0.5");
    duty.periodMinutes = QStringLiteral("16");
    station.dutyCycle = duty;

    const QString folder = QFileInfo(QStringLiteral(VELDRUNE_SHIPPED_CATALOGUE)).absolutePath();
    std::size_t runs = 0;
    for (auto _ : state) {
        auto ranked = veldrune::RankStation(station, {folder, folder});
        runs = std::get<std::vector<veldrune::StationReport>>(ranked).size();
        benchmark::DoNotOptimize(runs);
    }
    state.counters["runs"] = double(runs);
}
BENCHMARK(BM_RankShippedCatalogue16Minutes)->Unit(benchmark::kMillisecond);

} // namespace
