// Station files at their largest: an old session file of nearly 1 MiB read and replayed on the
// shipped catalogue, and a window saved (written, read back and reopened on a fresh window).

#include "app/veldrune.h"
#include "platform/recordingplatform.h"
#include "station/apply.h"
#include "station/savestation.h"

#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace {

const QString Folder = QFileInfo(QStringLiteral(VELDRUNE_SHIPPED_CATALOGUE)).absolutePath();

// A tool and LOAD CALCULATION, then period picks, typing and focus moves until the file is
// just under 1 MiB: the events that cost most to replay.
QByteArray largestSession() {
    QByteArray text = R"({"session": [
    {"pick": "tool", "entry": "KRV-110QM1-05", "position": 1},
    {"click": "load_calculation"})";
    const QByteArray events[] = {R"({"pick": "period_minutes", "entry": "16"})",
                                 R"({"type": "initial_time", "text": "2.5"})",
                                 R"({"focus": "description"})"};
    for (int i = 0; text.size() < veldrune::MaxStationFileBytes - 100; ++i)
        text += ",\n    " + events[i % 3];
    return text + "\n]}\n";
}

void BM_OpenLargestSessionFile(benchmark::State& state) {
    const QByteArray file = largestSession();
    for (auto _ : state) {
        veldrune::RecordingPlatform platform(Folder, Folder);
        veldrune::Veldrune program(platform);
        program.startUp({});
        const auto station = veldrune::ReadStation(file);
        const auto refusal =
            veldrune::ApplyStation(program, std::get<veldrune::Station>(station), {});
        benchmark::DoNotOptimize(refusal);
    }
    state.counters["bytes"] = double(file.size());
}
BENCHMARK(BM_OpenLargestSessionFile)->Unit(benchmark::kMillisecond);

void BM_SaveDutyCycleStation(benchmark::State& state) {
    veldrune::RecordingPlatform platform(Folder, Folder);
    veldrune::Veldrune program(platform);
    program.startUp({});
    veldrune::Station station;
    station.system = QStringLiteral("MVC4800");
    station.tool = QStringLiteral("KRV-110QM1-05");
    veldrune::Station::DutyCycle duty;
    duty.stationCycleTime = QStringLiteral("30");
    duty.fasteningTorque = QStringLiteral("4.5");
    duty.periodMinutes = QStringLiteral("16");
    station.dutyCycle = duty;
    veldrune::ApplyStation(program, station, {});
    for (auto _ : state) {
        const auto saved = veldrune::SaveStation(program);
        benchmark::DoNotOptimize(veldrune::StationFileText(saved->station));
    }
}
BENCHMARK(BM_SaveDutyCycleStation)->Unit(benchmark::kMillisecond);

} // namespace
