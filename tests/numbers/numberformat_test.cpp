#include "numbers/numberformat.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

#include <limits>

namespace veldrune {
namespace {

struct FormatCase {
    const char* name;
    double value;
    int decimals;
    const char* expected;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.name;
}

class FormatFixedTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatFixedTest, WritesFixedDecimals) {
    EXPECT_EQ(FormatFixed(GetParam().value, GetParam().decimals),
              QString::fromLatin1(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatFixedTest,
    ::testing::Values(
        FormatCase{"Zero", 0, 2, "0.00"}, FormatCase{"WholePattern", 12.7, 0, "13"},
        FormatCase{"PadsDecimals", 1, 2, "1.00"}, FormatCase{"OneDecimal", 55, 1, "55.0"},
        FormatCase{"ThreeDecimals", 5.098581, 3, "5.099"},
        // Halves as the user reads them go away from zero, although neither is exact in binary.
        FormatCase{"HalfReadAsWritten", 2.675, 2, "2.68"},
        FormatCase{"HalfBelowOne", 1.005, 2, "1.01"}, FormatCase{"HalfWhole", 2.5, 0, "3"},
        FormatCase{"NegativeHalf", -2.5, 0, "-3"},
        FormatCase{"NegativeHalfDecimals", -1.005, 2, "-1.01"},
        FormatCase{"BelowHalf", 0.004, 2, "0.00"}, FormatCase{"SmallHalf", 0.005, 2, "0.01"},
        FormatCase{"CarryIntoNewDigit", 999.995, 2, "1000.00"},
        FormatCase{"NegativeRoundingToZeroHasNoSign", -0.004, 2, "0.00"},
        FormatCase{"Tiny", 1e-300, 3, "0.000"},
        FormatCase{"Huge", 1e20, 0, "100000000000000000000"},
        FormatCase{"HugeDecimals", 123456789012345678.0, 2, "123456789012346000.00"},
        FormatCase{"FourDecimals", 1.23456, 4, "1.2346"},
        FormatCase{"SingleHeldQuotient", double(5099 / 1000.0f), 3, "5.099"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormatFixed, TheLargestDoubleIsWrittenInFullAndNonNumbersGiveNoText) {
    const QString text = FormatFixed(std::numeric_limits<double>::max(), 2);
    EXPECT_TRUE(text.startsWith(u"179769313486232"));
    EXPECT_EQ(text.size(), 309 + 3);
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2), QString());
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 0), QString());
}

TEST(GeneralText, KeepsSevenDigitsOfASingleAndFifteenOfADoubleWithoutTrailingZeros) {
    EXPECT_EQ(GeneralText(10.0f / 1.555f), u"6.430868");
    EXPECT_EQ(GeneralText(10.0f), u"10");
    EXPECT_EQ(GeneralText(1234567.0f), u"1234567");
    EXPECT_EQ(GeneralText(12345678.0f), u"1.234568E+07");
    EXPECT_EQ(GeneralText(-0.25f), u"-0.25");
    EXPECT_EQ(GeneralText(50 / 9.80665, 15), u"5.09858106488964");
    EXPECT_EQ(GeneralText(1e20, 15), u"1E+20");
    EXPECT_EQ(SignedText(100, 15), u" 100");
    EXPECT_EQ(SignedText(-4, 15), u"-4");
}

} // namespace
} // namespace veldrune
