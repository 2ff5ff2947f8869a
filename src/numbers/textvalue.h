#pragma once

#include <QStringView>

#include <cstdint>
#include <optional>

namespace veldrune {

// Every number in the program is read from a control's text this way: blanks (space, tab,
// line feed) are skipped wherever they stand, then an optional sign, digits, an optional
// decimal point with digits and an optional exponent are read up to the first character that
// cannot continue the number. A text that does not begin with a number reads as 0. A number
// beyond the range of a double reads as the largest finite double of its sign, so no text
// ever yields an infinity or a NaN.
double TextValue(QStringView text);

// Like TextValue, but the whole text (blanks aside) must be a number: nothing before or after
// it. Returns nothing for an empty or malformed text.
std::optional<double> StrictNumber(QStringView text);

// Nearest whole number, a value exactly halfway going to the even neighbour. Fails (returns
// nothing) for a NaN, an infinity or a result outside -32768..32767. Inline and without a
// library call: the duty-cycle simulation rounds every step's chart coordinates with it.
inline std::optional<std::int16_t> RoundInt16(double value) {
    // Adding and taking away 1.5 x 2^52 rounds a double to a whole number as the processor
    // rounds, halves to even: exactly below 2^51, and far outside 16 bits beyond it (or NaN,
    // which no comparison holds for).
    constexpr double Shift = 6755399441055744.0;
    const double rounded = (value + Shift) - Shift;
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

} // namespace veldrune
