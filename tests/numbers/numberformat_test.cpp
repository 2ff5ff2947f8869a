#include "numbers/numberformat.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

TEST(FormatFixed, WritesFixedDecimalsRoundingHalvesAsTheUserReadsThem) {
    struct Row {
        double value;
        int decimals;
        const char* expected;
    };
    const Row rows[] = {
        Row{0, 2, "0.00"}, Row{12.7, 0, "13"}, Row{1, 2, "1.00"}, Row{55, 1, "55.0"},
        Row{5.098581, 3, "5.099"}, Row{1.23456, 4, "1.2346"},
        // Halves as the user reads them go away from zero, although neither is exact in binary.
        Row{2.675, 2, "2.68"}, Row{1.005, 2, "1.01"}, Row{2.5, 0, "3"}, Row{-2.5, 0, "-3"},
        Row{-1.005, 2, "-1.01"}, Row{0.004, 2, "0.00"}, Row{0.005, 2, "0.01"},
        Row{999.995, 2, "1000.00"},
        // Rounding to zero leaves no sign; a quotient held as a single is written as read.
        Row{-0.004, 2, "0.00"}, Row{double(5099 / 1000.0f), 3, "5.099"}, Row{1e-300, 3, "0.000"},
        Row{1e20, 0, "100000000000000000000"},
        Row{123456789012345678.0, 2, "123456789012346000.00"}};
    for (const auto& r : rows)
        EXPECT_EQ(FormatFixed(r.value, r.decimals), QString::fromLatin1(r.expected)) << r.expected;
}

TEST(FormatFixed, TheLargestDoubleIsWrittenInFullAndNonNumbersGiveNoText) {
    const QString text = FormatFixed(std::numeric_limits<double>::max(), 2);
    EXPECT_TRUE(text.startsWith(u"179769313486232"));
    EXPECT_EQ(text.size(), 309 + 3);
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2), QString());
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 0), QString());
}

TEST(GeneralText, KeepsSevenDigitsOfASingleAndFifteenOfADoubleWithoutTrailingZeros) {
    EXPECT_EQ(
        (QStringList{GeneralText(10.0f / 1.555f), GeneralText(10.0f), GeneralText(1234567.0f),
                     GeneralText(12345678.0f), GeneralText(-0.25f), GeneralText(50 / 9.80665, 15),
                     GeneralText(1e20, 15), SignedText(100, 15), SignedText(-4, 15)}),
        (QStringList{u"6.430868"_s, u"10"_s, u"1234567"_s, u"1.234568E+07"_s, u"-0.25"_s,
                     u"5.09858106488964"_s, u"1E+20"_s, u" 100"_s, u"-4"_s}));
}

} // namespace
} // namespace veldrune
