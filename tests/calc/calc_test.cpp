#include "calc/calc.h"

#include "support/fakeplatform.h"
#include "support/qtprinters.h"
#include "window/form1.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

class Calc : public ::testing::Test {
protected:
    // Speed limits that do not interfere, and the worked example's inputs.
    Calc() {
        f.Label3(0).setText(u"3000 RPM"_s);
        f.Label3(1).setText(u"1 RPM"_s);
        set({{0, u"0.5"_s}, {1, u"120"_s}, {3, u"600"_s}, {4, u"0"_s}, {5, u"90"_s}, {6, u"60"_s}});
        f.Text3.setText(u"10"_s);
    }
    void set(std::initializer_list<std::pair<int, QString>> texts) {
        for (const auto& [i, text] : texts)
            f.Text4(i).setText(text);
    }
    CalcOutcome calc(int edited) { return CALC(f, std::int16_t(edited), platform); }
    QString text(int i) const { return f.Text4(i).text(); }

    Form1 f;
    test::FakePlatform platform;
};

TEST_F(Calc, WorkedExampleFromSpeedsThenFromATypedFreeRunTime) {
    EXPECT_EQ(calc(0), CalcOutcome::Completed);
    EXPECT_EQ(f.Label12(0).text(), u"1.00"_s);
    EXPECT_EQ(f.Label12(1).text(), u"9.00"_s);
    EXPECT_EQ(text(2), u"0.90"_s);
    EXPECT_EQ(text(4), u"0.25"_s);
    EXPECT_EQ(f.TOTAL.text(), u"1.65"_s);
    EXPECT_EQ(text(8), u"0.00"_s); // the station cycle time always shows two decimals

    f.Text4(2).setText(u"0.8"_s);
    calc(2);
    EXPECT_EQ(text(3), u"675"_s);
    EXPECT_EQ(text(2), u"0.80"_s);
    EXPECT_EQ(f.TOTAL.text(), u"1.55"_s);
    EXPECT_TRUE(platform.messages().empty());
}

TEST_F(Calc, ASpeedOutsideTheLimitsTakesTheCaptionTextWhichIsReadBackAsANumber) {
    set({{3, u"5000"_s}});
    calc(0);
    EXPECT_EQ(text(3), u"3000 RPM"_s);
    EXPECT_EQ(text(2), u"0.18"_s); // 9 revolutions at 3000 RPM

    // Without shown limits every non-zero speed is emptied, and zero speeds skip the time
    // derivations: the typed times stay.
    f.Label3(0).setText({});
    f.Label3(1).setText({});
    set({{2, u"0.77"_s}, {4, u"0.66"_s}, {7, u"0.5"_s}});
    calc(0);
    EXPECT_EQ(text(1), QString());
    EXPECT_EQ(text(6), QString());
    EXPECT_EQ(f.Label12(0).text(), u"0.00"_s);
    EXPECT_EQ(text(2), u"0.77"_s);
    EXPECT_EQ(f.TOTAL.text(), u"2.43"_s); // 0.77 + 0.5 + 0.66 + 0.5
}

TEST_F(Calc, DerivedSpeedsKeepToTheRangeAndRoundHalvesToEven) {
    f.Label3(1).setText(u"20 RPM"_s);
    set({{2, u"60"_s}});
    calc(2); // 9 revolutions in 60 s is 9 RPM: the minimum, and a longer time
    EXPECT_EQ(text(3), u"20"_s);
    EXPECT_EQ(text(2), u"27.00"_s);

    f.Label3(1).setText(u"1 RPM"_s);
    set({{5, u"15"_s}, {4, u"1"_s}});
    calc(4); // 15 degrees / 6 / 1 s = 2.5 RPM
    EXPECT_EQ(text(6), u"2"_s);
    EXPECT_EQ(text(4), u"1.25"_s);
    set({{5, u"21"_s}, {4, u"1"_s}});
    calc(4); // 3.5 RPM
    EXPECT_EQ(text(6), u"4"_s);
}

TEST_F(Calc, TheTotalAddsTheRoundedTextsAndTooFewRevolutionsLeaveTheFreeRunOnes) {
    f.Text3.setText(u"2"_s);
    set({{3, u"180"_s}, {5, u"0"_s}});
    calc(0); // one free-run revolution at 180 RPM: 0.333... s, shown as 0.33
    EXPECT_EQ(text(2), u"0.33"_s);
    EXPECT_EQ(f.TOTAL.text(), u"0.83"_s);
    f.Text3.setText(u"0.5"_s); // fewer than the initial phase turns
    calc(0);
    EXPECT_EQ(f.Label12(1).text(), u"1.00"_s);
}

TEST_F(Calc, TimeLimitMessagesAreShownInOrderAndChangeNothing) {
    // Initial 999.5 s at the minimum speed; free run 5 revolutions at 600 RPM, 0.5 s;
    // tightening 6000 degrees at 1 RPM, 1000 s.
    f.Label12(1).setText(u"5.00"_s);
    f.Text3.setText(u"1"_s);
    set({{0, u"999.5"_s}, {1, u"0"_s}, {5, u"6000"_s}, {6, u"1"_s}});
    calc(0);
    EXPECT_EQ(text(4), u"1000.00"_s);
    EXPECT_TRUE(platform.messages().empty()); // exactly 1000 is no excess

    set({{0, u"999.51"_s}, {5, u"6000.06"_s}});
    calc(0);
    ASSERT_EQ(platform.messages().size(), 2u);
    EXPECT_EQ(platform.messages()[0], (test::ShownMessage{u"FIRST TIME LIMIT OVER"_s,
                                                          MessageIcon::Critical, u"VELDRUNE"_s}));
    EXPECT_EQ(platform.messages()[1].text, u"SECOND TIME LIMIT OVER"_s);
    EXPECT_EQ(f.TOTAL.text(), u"2000.02"_s);
}

TEST_F(Calc, AFailedStepEndsTheCalculationKeepingEarlierResults) {
    calc(0);
    set({{0, u"2000"_s}, {2, u"0"_s}, {8, u"7"_s}});
    EXPECT_EQ(calc(2), CalcOutcome::ArithmeticFailure); // a typed free-run time of 0
    EXPECT_EQ(f.Label12(0).text(), u"4000.00"_s);       // steps 2 and 3 ran
    EXPECT_EQ(text(3), u"600"_s);                       // step 4 wrote nothing
    EXPECT_EQ(f.TOTAL.text(), u"1.65"_s);
    EXPECT_EQ(text(8), u"7"_s);
    EXPECT_TRUE(platform.messages().empty()); // no warning after a failure

    f.Label3(0).setText(u"99999 RPM"_s);
    set({{0, u"0.5"_s}, {5, u"90"_s}, {4, u"0.0003"_s}}); // 50000 RPM: beyond 16 bits
    EXPECT_EQ(calc(4), CalcOutcome::ArithmeticFailure);
    EXPECT_EQ(text(6), u"60"_s);
}

} // namespace
} // namespace veldrune
