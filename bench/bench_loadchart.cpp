// The duty-cycle chart: its 16-minute simulation (9600 steps) and its drawing into Picture2.

#include "calc/loadchart.h"
#include "catalogue/catalogue.h"
#include "platform/recordingplatform.h"
#include "window/form1.h"

#include <benchmark/benchmark.h>

namespace {

// A realistic station on the worked example's motor, 16 minutes at a 30-second cycle.
struct Station {
    Station() {
        veldrune::InitMotorTable(catalogue.Motors);
        catalogue.Tools[1].Model = QStringLiteral("KRV-110QM1-05       ");
        catalogue.Tools[1].MaxSpeed = 2000;
        catalogue.Tools[2].Model = QStringLiteral("END");
        form.TOOLLIST.addItem(QStringLiteral("SELECT TOOL TYPE"));
        form.TOOLLIST.addItem(catalogue.Tools[1].Model);
        form.TOOLLIST.setListIndex(1);
        form.ANGLE.addItem(QStringLiteral("RH1"));
        form.ANGLE.setListIndex(0);
        form.TQUNIT.addItem(QStringLiteral("NM"));
        form.TQUNIT.setListIndex(0);
        const std::pair<int, const char*> texts[] = {
            {2, "0.72"}, {4, "0.50"}, {8, "30.00"}, {9, "4.50"}, {10, "0.50"}};
        for (const auto& [i, text] : texts)
            form.Text4(i).setText(QString::fromLatin1(text));
        for (const char* minutes : {"2", "4", "8", "16"})
            form.DURR.addItem(QString::fromLatin1(minutes));
        form.DURR.setListIndex(3);
    }
    veldrune::Catalogue catalogue;
    veldrune::Form1 form;
    veldrune::RecordingPlatform platform{{}, {}};
};

void BM_Simulation16Minutes(benchmark::State& state) {
    Station station;
    const veldrune::DutyCycleInputs inputs = veldrune::ReadDutyCycleInputs(station.form);
    for (auto _ : state) {
        const veldrune::LoadSimulation sim = veldrune::SimulateLoad(inputs, station.catalogue);
        benchmark::DoNotOptimize(sim.peakLoadPercent);
    }
}
BENCHMARK(BM_Simulation16Minutes)->Unit(benchmark::kMicrosecond);

// The floor under any 16-minute simulation: its 9600 steps of the load's loop-carried chain
// alone, each waiting for the one before, with nothing else to do.
void BM_LoadChainFloor(benchmark::State& state) {
    double loss = 0.0021;
    double retention = 0.9987;
    for (auto _ : state) {
        benchmark::DoNotOptimize(loss);
        benchmark::DoNotOptimize(retention);
        float load = 0;
        for (int n = 0; n < 9600; ++n)
            load = float((loss + double(load)) * retention);
        benchmark::DoNotOptimize(load);
    }
}
BENCHMARK(BM_LoadChainFloor)->Unit(benchmark::kMicrosecond);

// The whole reaction to a pick in DURR: Picture2 cleared, the simulation, frame, labels and
// legend, and the two curves through 9600 steps each.
void BM_Chart16Minutes(benchmark::State& state) {
    Station station;
    veldrune::DrawnChart drawn;
    for (auto _ : state)
        veldrune::RedrawLoadChart(station.form, station.catalogue, station.platform, drawn);
}
BENCHMARK(BM_Chart16Minutes)->Unit(benchmark::kMillisecond);

// The same without the curves (a station cycle time of 0): what the curves cost is the
// difference.
void BM_ChartFrameOnly(benchmark::State& state) {
    Station station;
    station.form.Text4(8).setText(QStringLiteral("0"));
    veldrune::DrawnChart drawn;
    for (auto _ : state)
        veldrune::RedrawLoadChart(station.form, station.catalogue, station.platform, drawn);
}
BENCHMARK(BM_ChartFrameOnly)->Unit(benchmark::kMillisecond);

} // namespace
