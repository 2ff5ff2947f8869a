#pragma once

// What every fuzz target shares: a headless application, and checks that stop the run.

#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace veldrune::fuzz {

// Stops the run with the reason when the condition does not hold: the fuzzer keeps the input.
inline void Check(bool condition, const QString& what) {
    if (condition)
        return;
    std::fprintf(stderr, "invariant broken: %s\n", what.toUtf8().constData());
    std::abort();
}

} // namespace veldrune::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
