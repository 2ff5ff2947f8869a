#pragma once

#include <cstdint>

namespace veldrune {

class Form1;
class Platform;

inline const char FirstTimeLimitMessage[] = "FIRST TIME LIMIT OVER";
inline const char SecondTimeLimitMessage[] = "SECOND TIME LIMIT OVER";

// Why a recalculation ended: it ran to its end, or an arithmetic step failed (a division by
// zero, an invalid or overflowing result, a speed that does not fit 16 bits) and the steps
// from there on wrote nothing.
enum class CalcOutcome { Completed, ArithmeticFailure };

// Recalculates the phase revolutions, the phase times and the estimated total time from the
// main window's fields, writing the results back into them. Each step reads the texts that
// the steps before it wrote, so results pass between steps rounded as displayed.
// EditedIndex is the Text4 field whose edit caused the recalculation: 2 (free-run time) and
// 4 (tightening time) derive a speed from the typed time; any other value derives the times
// from the speeds.
CalcOutcome CALC(Form1& form, std::int16_t EditedIndex, Platform& platform);

} // namespace veldrune
