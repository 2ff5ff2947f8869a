#pragma once

#include <QString>

#include <charconv>
#include <string>

namespace veldrune {

// A double as printf writes it with "%.*e", "%.*f" or "%.*g" in the C locale: always a point
// as decimal separator, whatever the user's locale says. printf itself follows the locale
// that the application object takes from the environment.
std::string DecimalText(double value, std::chars_format format, int precision);

// The value written with up to `digits` significant digits, read back: the shortest double that
// reads back as that text prints as that text, as the batch calculator's JSON keeps numbers.
double Significant(double value, int digits);

// Writes a value with a fixed number of decimals, the patterns "0", "0.0", "0.00", "0.000"
// (and "0.0000"): a point as separator, no grouping. The half is decided on the value's
// 15-significant-digit decimal form and rounds away from zero, so 2.675 gives "2.68" as the
// user reads it. A value that rounds to zero carries no minus sign. A NaN or an infinity
// gives an empty text; callers treat those as failed arithmetic before they get here.
QString FormatFixed(double value, int decimals);

// The general text form of a number: up to `significantDigits` significant digits, no
// trailing zeros, exponent form ("1.5E+07") only when the plain form would need more digits
// than that. Singles use 7 digits, doubles 15.
QString GeneralText(double value, int significantDigits);
inline QString GeneralText(float value) {
    return GeneralText(double(value), 7);
}

// GeneralText with one leading blank for values that are not negative, as numbers are
// printed in captions and chart labels.
QString SignedText(double value, int significantDigits);

} // namespace veldrune
