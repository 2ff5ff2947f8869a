#include "numbers/textvalue.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace veldrune {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

struct Scan {
    std::string number; // ASCII text of the number found, ready for from_chars
    qsizetype end = 0;  // position in the text just after the last character used
    bool hasDigits = false;
};

// Reads the longest leading number of the text, skipping blanks anywhere.
Scan scanNumber(QStringView text) {
    Scan scan;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };
    skipBlanks();
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            scan.number += '-';
        ++i;
    }
    auto readDigits = [&] {
        for (skipBlanks(); i < n && isDigit(text[i]); skipBlanks()) {
            scan.number += char(text[i].unicode());
            scan.hasDigits = true;
            ++i;
            scan.end = i;
        }
    };
    readDigits();
    if (i < n && text[i] == u'.') {
        ++i;
        scan.number += '.';
        if (scan.hasDigits)
            scan.end = i;
        readDigits();
    }
    if (!scan.hasDigits)
        return scan;
    skipBlanks();
    if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        while (j < n && isBlank(text[j]))
            ++j;
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            exponent += char(text[j].unicode());
            ++j;
        }
        // Every digit counts, leading zeros too. Past a bound that no number of this text's
        // length can make up for, the exponent stays at the bound: the value has over- or
        // underflowed by then in any case.
        const long long bound = 2 * (long long)n + 1000;
        long long value = 0;
        bool expDigits = false;
        while (j < n && (isDigit(text[j]) || isBlank(text[j]))) {
            if (isDigit(text[j])) {
                value = std::min(bound, value * 10 + (text[j].unicode() - u'0'));
                expDigits = true;
            }
            ++j;
            if (expDigits)
                scan.end = j;
        }
        if (expDigits)
            scan.number += exponent + std::to_string(value);
    }
    return scan;
}

// Converts the scanned ASCII number; out-of-range magnitudes saturate or flush to zero.
double convert(const std::string& number) {
    const char* first = number.data();
    const char* last = number.data() + number.size();
    const bool negative = !number.empty() && number.front() == '-';
    if (negative)
        ++first;
    double value = 0.0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow from the decimal exponent of the first
        // significant digit.
        long exponent = 0;
        const auto ePos = number.find('e');
        if (ePos != std::string::npos) {
            const char* digits = number.c_str() + ePos + 1;
            std::from_chars(digits + (*digits == '+'), number.c_str() + number.size(), exponent);
        }
        const std::string mantissa = number.substr(0, ePos);
        const auto point = mantissa.find('.');
        const std::string digits = mantissa.substr(negative ? 1 : 0);
        const auto firstSignificant = digits.find_first_not_of("0.");
        long position = 0; // decimal exponent of the first significant digit
        if (firstSignificant != std::string::npos) {
            const auto pointInDigits =
                point == std::string::npos ? digits.size() : point - (negative ? 1 : 0);
            position = firstSignificant < pointInDigits ? long(pointInDigits - firstSignificant) - 1
                                                        : -long(firstSignificant - pointInDigits);
        }
        value = position + exponent > 0 ? std::numeric_limits<double>::max() : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

} // namespace

double TextValue(QStringView text) {
    const Scan scan = scanNumber(text);
    return scan.hasDigits ? convert(scan.number) : 0.0;
}

std::optional<double> StrictNumber(QStringView text) {
    const Scan scan = scanNumber(text);
    if (!scan.hasDigits)
        return std::nullopt;
    for (qsizetype i = scan.end; i < text.size(); ++i) {
        if (!isBlank(text[i]))
            return std::nullopt;
    }
    return convert(scan.number);
}

} // namespace veldrune
