// The recalculation runs on every Enter and every field left; the catalogue is read at start.

#include "calc/calc.h"
#include "catalogue/toolinfo.h"
#include "platform/ansitext.h"
#include "platform/recordingplatform.h"
#include "window/form1.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace {

void BM_CALC(benchmark::State& state) {
    veldrune::Form1 form;
    veldrune::RecordingPlatform platform({}, {});
    form.Label3(0).setText(QStringLiteral("2000 RPM"));
    form.Label3(1).setText(QStringLiteral(" 10 RPM"));
    form.Text3.setText(QStringLiteral("16.00"));
    const char* texts[] = {"1.00", "100", "0.8", "1200", "0.50", "90", "30", "0.25"};
    for (int i = 0; i < 8; ++i)
        form.Text4(i).setText(QString::fromLatin1(texts[i]));
    const auto edited = static_cast<std::int16_t>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(veldrune::CALC(form, edited, platform));
}
BENCHMARK(BM_CALC)->Arg(0)->Arg(2);

void BM_ReadToolInfo(benchmark::State& state) {
    QFile file(QStringLiteral(VELDRUNE_SHIPPED_CATALOGUE));
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("shipped catalogue not found");
        return;
    }
    const QString text = veldrune::DecodeAnsiText(file.readAll());
    for (auto _ : state)
        benchmark::DoNotOptimize(veldrune::ReadToolInfo(text).tools);
}
BENCHMARK(BM_ReadToolInfo);

} // namespace
