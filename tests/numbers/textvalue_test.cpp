#include "numbers/textvalue.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

TEST(TextValue, ReadsTheLeadingNumberSkippingBlanksAnywhere) {
    struct Row {
        const char16_t* text;
        double expected;
    };
    const Row rows[] = {
        Row{u"", 0}, Row{u"abc", 0}, Row{u"1500", 1500}, Row{u"0.25", 0.25}, Row{u".5", 0.5},
        Row{u"5.", 5}, Row{u"-12.5", -12.5}, Row{u"+7", 7}, Row{u"-", 0}, Row{u".", 0},
        // Captions, blanks anywhere, and what ends the number.
        Row{u"2000 RPM", 2000}, Row{u" 6.430868 RPM", 6.430868}, Row{u"1 000", 1000},
        Row{u"\t1\n2", 12}, Row{u"- 3", -3}, Row{u"1.2.3", 1.2}, Row{u"2,5", 2},
        // Exponents, with E or D.
        Row{u"1.5e3", 1500}, Row{u"25E-2", 0.25}, Row{u"1d2", 100}, Row{u"3e", 3},
        Row{u"1e0000000000005", 100000}, Row{u"25 E - 0 0 0 0 0 0 0 0 0 0 0 2", 0.25},
        Row{u"1e-999", 0}, Row{u"0.000000000000000000000000001", 1e-27}};
    for (const auto& [text, expected] : rows)
        EXPECT_DOUBLE_EQ(TextValue(text), expected) << QString::fromUtf16(text).toStdString();
}

TEST(TextValue, NumbersBeyondDoubleSaturateInsteadOfBecomingInfinite) {
    EXPECT_EQ(TextValue(u"1e999"), std::numeric_limits<double>::max());
    EXPECT_EQ(TextValue(u"-1e999"), -std::numeric_limits<double>::max());
    EXPECT_EQ(TextValue(QString(400, u'9')), std::numeric_limits<double>::max());
    EXPECT_EQ(TextValue(u"0.000e99999"), 0.0);
}

TEST(StrictNumber, AcceptsOnlyAWholeNumberText) {
    const std::pair<const char16_t*, std::optional<double>> rows[] = {
        {u" 50 ", 50}, {u"0.125", 0.125}, {u"-2.5e1", -25}, {u"", {}},
        {u"abc", {}},  {u"50x", {}},      {u"1e", {}},      {u".", {}}};
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(StrictNumber(text), expected) << QString::fromUtf16(text).toStdString();
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
