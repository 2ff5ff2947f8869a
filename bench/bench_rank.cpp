// Ranking every tool of the shipped catalogue for a station with a 16-minute duty cycle, at
// station cycle times of 30 s, 300 s and 1e20 s; a plant's worth of stations on every core; and
// a line planned.

#include "station/planline.h"
#include "station/rank.h"

#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cmath>
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

// A line of 200 generated stations on both systems, torques from 2 to 400 N·m, planned over the
// shipped catalogue as `veldrune-calc --plan` does: every station ranked on every core, then
// the exact search for the fewest runs.
void BM_PlanLine200Stations(benchmark::State& state) {
    std::vector<veldrune::PlanStation> stations;
    std::vector<veldrune::Station> line;
    for (int i = 0; i < 200; ++i) {
        veldrune::Station s = station16Minutes(QString::number(5 + i * 13 % 60));
        const bool second = i % 4 == 3;
        s.system = QString::fromLatin1(second ? "MVC2400" : "MVC4800");
        s.tool = QString::fromLatin1(second ? "PZS-250QM3" : "KRV-450QT3");
        s.angleHead.clear();
        s.boltLength = QString::number(10 + i % 30);
        s.freerunSpeed = QString::number(300 + i * 7 % 900);
        s.dutyCycle->fasteningTorque =
            QString::number(std::round(20 * std::pow(200.0, (i * 37 % 200) / 200.0)) / 10);
        s.dutyCycle->torqueRecoveryTime = QStringLiteral("0.%1").arg(i % 10);
        line.push_back(s);
    }
    const QString folder = shippedFolder();
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    std::size_t set = 0;
    double search = 0;
    for (auto _ : state) {
        stations.clear();
        for (std::size_t i = 0; i < line.size(); ++i) {
            auto ranked = veldrune::RankStation(line[i], {folder, folder}, {}, {}, cores);
            stations.push_back(veldrune::PlanStationOf(
                QString::number(i), std::get<std::vector<veldrune::StationReport>>(ranked)));
        }
        const auto start = std::chrono::steady_clock::now();
        set = veldrune::PlanLine(stations, {}).set.size();
        search = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count();
    }
    state.counters["cores"] = cores;
    state.counters["set"] = double(set);
    state.counters["search_ms"] = search;
}
BENCHMARK(BM_PlanLine200Stations)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
