#include "numbers/textvalue.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

struct ValueCase {
    const char* name;
    const char16_t* text;
    double expected;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.name;
}

class TextValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(TextValueTest, ReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(TextValue(QString::fromUtf16(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextValueTest,
    ::testing::Values(
        ValueCase{"Empty", u"", 0}, ValueCase{"Word", u"abc", 0}, ValueCase{"Whole", u"1500", 1500},
        ValueCase{"Decimal", u"0.25", 0.25}, ValueCase{"NoLeadingZero", u".5", 0.5},
        ValueCase{"TrailingPoint", u"5.", 5}, ValueCase{"Negative", u"-12.5", -12.5},
        ValueCase{"ExplicitPlus", u"+7", 7}, ValueCase{"SpeedCaption", u"2000 RPM", 2000},
        ValueCase{"LeadingBlankCaption", u" 6.430868 RPM", 6.430868},
        ValueCase{"BlanksInside", u"1 000", 1000}, ValueCase{"TabsAndLineFeeds", u"\t1\n2", 12},
        ValueCase{"BlankAfterSign", u"- 3", -3}, ValueCase{"SecondPointEnds", u"1.2.3", 1.2},
        ValueCase{"Exponent", u"1.5e3", 1500}, ValueCase{"NegativeExponent", u"25E-2", 0.25},
        ValueCase{"LetterDExponent", u"1d2", 100}, ValueCase{"LoneExponentLetter", u"3e", 3},
        ValueCase{"ExponentWithManyLeadingZeros", u"1e0000000000005", 100000},
        ValueCase{"ExponentBlanksAndZeros", u"25 E - 0 0 0 0 0 0 0 0 0 0 0 2", 0.25},
        ValueCase{"CommaEnds", u"2,5", 2}, ValueCase{"SignAlone", u"-", 0},
        ValueCase{"PointAlone", u".", 0}, ValueCase{"Underflow", u"1e-999", 0},
        ValueCase{"ManyZeros", u"0.000000000000000000000000001", 1e-27}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextValueRange, NumbersBeyondDoubleSaturateInsteadOfBecomingInfinite) {
    EXPECT_EQ(TextValue(u"1e999"), std::numeric_limits<double>::max());
    EXPECT_EQ(TextValue(u"-1e999"), -std::numeric_limits<double>::max());
    EXPECT_EQ(TextValue(QString(400, u'9')), std::numeric_limits<double>::max());
    EXPECT_EQ(TextValue(u"0.000e99999"), 0.0);
}

TEST(StrictNumber, AcceptsOnlyAWholeNumberText) {
    EXPECT_EQ(StrictNumber(u" 50 "), 50.0);
    EXPECT_EQ(StrictNumber(u"0.125"), 0.125);
    EXPECT_EQ(StrictNumber(u"-2.5e1"), -25.0);
    EXPECT_FALSE(StrictNumber(u""));
    EXPECT_FALSE(StrictNumber(u"abc"));
    EXPECT_FALSE(StrictNumber(u"50x"));
    EXPECT_FALSE(StrictNumber(u"1e"));
    EXPECT_FALSE(StrictNumber(u"."));
}

TEST(RoundInt16, HalvesGoToTheEvenNeighbourAndResultsOutsideSixteenBitsFail) {
    const std::pair<double, std::int16_t> rounded[] = {
        {2.5, 2},    {3.5, 4}, {-2.5, -2},       {-3.5, -4},        {2.4999, 2},
        {2.5001, 3}, {0.5, 0}, {32767.4, 32767}, {-32768.5, -32768}};
    for (const auto& [value, expected] : rounded)
        EXPECT_EQ(RoundInt16(value), expected) << value;
    for (const double value : {32767.5, -32769.0, std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::infinity()})
        EXPECT_FALSE(RoundInt16(value)) << value;
}

} // namespace
} // namespace veldrune
