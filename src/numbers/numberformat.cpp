#include "numbers/numberformat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace veldrune {

namespace {

struct Decimal {
    bool negative = false;
    std::string digits; // significant digits, first one non-zero unless the value is zero
    int exponent = 0;   // decimal exponent of the first digit
};

// The value rounded to `significant` digits (correctly rounded).
Decimal decompose(double value, int significant) {
    const std::string text = DecimalText(value, std::chars_format::scientific, significant - 1);
    Decimal d;
    std::size_t i = 0;
    if (text[i] == '-') {
        d.negative = true;
        ++i;
    }
    for (; i < text.size() && text[i] != 'e'; ++i) {
        if (text[i] != '.')
            d.digits += text[i];
    }
    if (i < text.size()) {
        const char* exponent = text.data() + i + 1;
        if (*exponent == '+')
            ++exponent;
        std::from_chars(exponent, text.data() + text.size(), d.exponent);
    }
    return d;
}

bool allZero(const std::string& s) {
    return s.find_first_not_of('0') == std::string::npos;
}

} // namespace

std::string DecimalText(double value, std::chars_format format, int precision) {
    // Large enough for every double in fixed form with up to 400 decimals.
    char buffer[800];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, format, std::clamp(precision, 0, 400));
    return std::string(buffer, result.ptr);
}

double Significant(double value, int digits) {
    const std::string text = DecimalText(value, std::chars_format::general, digits);
    double rounded = value;
    std::from_chars(text.data(), text.data() + text.size(), rounded);
    return rounded;
}

QString FormatFixed(double value, int decimals) {
    if (!std::isfinite(value))
        return {};
    if (decimals < 0)
        decimals = 0;
    const Decimal d = decompose(value, 15);
    // Keep the digits down to 10^-decimals; the first dropped digit decides the half.
    const int keep = d.exponent + decimals + 1;
    std::string scaled; // the value times 10^decimals, as whole-number digits
    if (keep <= 0) {
        scaled.assign(1, keep == 0 && d.digits[0] >= '5' ? '1' : '0');
    } else if (keep >= int(d.digits.size())) {
        scaled = d.digits + std::string(keep - d.digits.size(), '0');
    } else {
        scaled = d.digits.substr(0, keep);
        if (d.digits[keep] >= '5') {
            int i = int(scaled.size()) - 1;
            for (; i >= 0 && scaled[i] == '9'; --i)
                scaled[i] = '0';
            if (i >= 0)
                ++scaled[i];
            else
                scaled.insert(scaled.begin(), '1');
        }
    }
    if (int(scaled.size()) <= decimals)
        scaled.insert(0, decimals + 1 - scaled.size(), '0');
    const auto firstNonZero = scaled.find_first_not_of('0');
    const auto integerDigits = scaled.size() - decimals;
    scaled.erase(0, std::min(firstNonZero, integerDigits - 1));
    std::string text;
    if (d.negative && !allZero(scaled))
        text += '-';
    text += scaled.substr(0, scaled.size() - decimals);
    if (decimals > 0)
        text += '.' + scaled.substr(scaled.size() - decimals);
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

QString GeneralText(double value, int significantDigits) {
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    if (value == 0.0)
        return QStringLiteral("0");
    Decimal d = decompose(value, significantDigits);
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    std::string text = d.negative ? "-" : "";
    const int n = int(d.digits.size());
    if (d.exponent >= significantDigits || d.exponent < -5) {
        text += d.digits[0];
        if (n > 1)
            text += '.' + d.digits.substr(1);
        const std::string digits = std::to_string(std::abs(d.exponent));
        text += d.exponent < 0 ? "E-" : "E+";
        text += std::string(digits.size() < 2 ? 1 : 0, '0') + digits;
    } else if (d.exponent < 0) {
        text += "0." + std::string(-d.exponent - 1, '0') + d.digits;
    } else if (d.exponent + 1 >= n) {
        text += d.digits + std::string(d.exponent + 1 - n, '0');
    } else {
        text += d.digits.substr(0, d.exponent + 1) + '.' + d.digits.substr(d.exponent + 1);
    }
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

QString SignedText(double value, int significantDigits) {
    const QString text = GeneralText(value, significantDigits);
    return value < 0 ? text : QLatin1Char(' ') + text;
}

} // namespace veldrune
