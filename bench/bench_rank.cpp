// Ranking every tool of the shipped catalogue for a station with a 16-minute duty cycle, at
// station cycle times of 30 s, 300 s and 1e20 s; and a plant's worth of stations on every core.

#include "station/rank.h"

#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <atomic>
#include <random>
#include <thread>

namespace {

QString shippedFolder() {
    return QFileInfo(QStringLiteral(VELDRUNE_SHIPPED_CATALOGUE)).absolutePath();
}

veldrune::Station station16Minutes(const QString& cycleTime) {
    veldrune::Station station;
    station.system = QStringLiteral("MVC4800");
    station.tool = QStringLiteral("KRV-110QM1-05");
    station.angleHead = QStringLiteral("RH1");
    station.fastening = veldrune::Station::Fastening::BoltData;
    station.boltLength = QStringLiteral("20");
    station.boltPitch = QStringLiteral("1.25");
    veldrune::Station::DutyCycle duty;
    duty.stationCycleTime = cycleTime;
    duty.fasteningTorque = QStringLiteral("4.5");
    duty.torqueRecoveryTime = QStringLiteral("0.5");
    duty.periodMinutes = QStringLiteral("16");
    station.dutyCycle = duty;
    return station;
}

void rank(benchmark::State& state, const QString& cycleTime) {
    const veldrune::Station station = station16Minutes(cycleTime);
    const QString folder = shippedFolder();
    std::size_t runs = 0;
    for (auto _ : state) {
        auto ranked = veldrune::RankStation(station, {folder, folder});
        runs = std::get<std::vector<veldrune::StationReport>>(ranked).size();
        benchmark::DoNotOptimize(runs);
    }
    state.counters["runs"] = double(runs);
}

void BM_RankShippedCatalogue16Minutes(benchmark::State& state) {
    rank(state, QStringLiteral("30"));
}
BENCHMARK(BM_RankShippedCatalogue16Minutes)->Unit(benchmark::kMillisecond);

void BM_RankShippedCatalogue16MinutesAt300s(benchmark::State& state) {
    rank(state, QStringLiteral("300"));
}
BENCHMARK(BM_RankShippedCatalogue16MinutesAt300s)->Unit(benchmark::kMillisecond);

void BM_RankShippedCatalogue16MinutesAt1e20s(benchmark::State& state) {
    rank(state, QStringLiteral("1e20"));
}
BENCHMARK(BM_RankShippedCatalogue16MinutesAt1e20s)->Unit(benchmark::kMillisecond);

// A plant: 4,000 generated stations of 16 minutes (the tools, bolts, speeds, torques and cycle
// times of bench/batch-stations.sh), each ranked over the shipped catalogue, the stations shared
// out among every core.
void BM_RankPlant4000Stations(benchmark::State& state) {
    const char* tools[] = {"KRV-110QM1-05", "KRV-140QH1", "KRV-210QM2",
                           "KRV-220QT2-A",  "KRV-290QS1", "KRV-320QM3",
                           "KRV-450QT3",    "KRV-610QM4", "KRV-850QM5"};
    std::vector<veldrune::Station> stations;
    for (int i = 1; i <= 4000; ++i) {
        veldrune::Station s = station16Minutes(QString::number(10 + i % 50));
        s.tool = QString::fromLatin1(tools[i % 9]);
        s.angleHead.clear();
        s.boltLength = QString::number(10 + i % 30);
        s.freerunSpeed = QString::number(600 + i % 700);
        s.dutyCycle->fasteningTorque = QString::number(1 + i % 8);
        s.dutyCycle->torqueRecoveryTime = QStringLiteral("0.%1").arg(i % 10);
        stations.push_back(s);
    }
    const QString folder = shippedFolder();
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    std::atomic<long> runs = 0;
    for (auto _ : state) {
        std::atomic<int> next = 0;
        std::vector<std::thread> workers;
        for (int c = 0; c < cores; ++c) {
            workers.emplace_back([&] {
                for (int i = next++; i < int(stations.size()); i = next++) {
                    auto ranked = veldrune::RankStation(stations[std::size_t(i)], {folder, folder});
                    runs += long(std::get<std::vector<veldrune::StationReport>>(ranked).size());
                }
            });
        }
        for (std::thread& worker : workers)
            worker.join();
    }
    state.counters["cores"] = cores;
    state.counters["runs"] = double(runs) / double(state.iterations());
}
BENCHMARK(BM_RankPlant4000Stations)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace
