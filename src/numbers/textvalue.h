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
// nothing) for a NaN, an infinity or a result outside -32768..32767.
std::optional<std::int16_t> RoundInt16(double value);

} // namespace veldrune
