#pragma once

// What every fuzz target shares: a headless application, and checks that stop the run.

#include <QString>

#include <cstddef>
#include <cstdint>

namespace veldrune::fuzz {

// Stops the run with the reason when the condition does not hold: the fuzzer keeps the input.
void Check(bool condition, const QString& what);

} // namespace veldrune::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
