// Reading and writing numbers happens on every step of every recalculation.

#include "numbers/numberformat.h"
#include "numbers/textvalue.h"

#include <benchmark/benchmark.h>

namespace {

void BM_TextValue(benchmark::State& state) {
    const QString texts[] = {QStringLiteral("1286 RPM"), QStringLiteral(" 6.430868 RPM"),
                             QStringLiteral("0.25"), QStringLiteral("abc")};
    for (auto _ : state) {
        for (const QString& text : texts)
            benchmark::DoNotOptimize(veldrune::TextValue(text));
    }
}
BENCHMARK(BM_TextValue);

void BM_FormatFixed(benchmark::State& state) {
    double value = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(veldrune::FormatFixed(value, 2));
        value += 0.37;
    }
}
BENCHMARK(BM_FormatFixed);

} // namespace
