#include "input/entryfields.h"

#include "support/qtprinters.h"
#include "support/station.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

using namespace test;

// The shipped catalogue with its first tool picked, as a user starts.
class EntryFields : public ::testing::Test {
protected:
    EntryFields() { EXPECT_TRUE(s.pick(f.TOOLLIST, u"KRV-110QM1-05"_s)); }

    StartedProgram s;
    Form1& f = s.form();
};

TEST(EntryGuard, BeforeAToolIsChosenPhaseFieldsSendTheUserToTheToolList) {
    StartedProgram s;
    Form1& f = s.form();
    EXPECT_EQ(TypeKeys(f, f.Text4(0), u"5"_s), QString());
    EXPECT_EQ(f.focused(), &f.TOOLLIST);
    EXPECT_EQ(f.Text4(0).text(), u"1.00"_s); // left, so formatted, but nothing typed
    // Enter is swallowed too; the bolt fields take keys at any time.
    EXPECT_FALSE(f.keyPress(f.Text4(3), Key::Enter));
    EXPECT_EQ(TypeKeys(f, f.Text1, u"20"_s), u"20"_s);
}

TEST_F(EntryFields, APhaseFieldSelectsAllWhileFocusedAndIsWrittenInItsFormatWhenLeft) {
    EXPECT_EQ(TypeKeys(f, f.Text4(2), u"7"_s), u"7"_s); // replaces the selected text
    EXPECT_EQ(f.Text4(2).alignment(), Alignment::Left);
    f.moveFocus(f.Text2);
    EXPECT_EQ(f.Text4(2).alignment(), Alignment::Right);
    const std::pair<int, QString> typed[] = {{4, u"abc"_s}, {1, u"12.7"_s}, {7, u"-0.255"_s}};
    const QString written[] = {u"0.00"_s, u"13"_s, u"-0.26"_s};
    for (int i = 0; i < 3; ++i) {
        TypeAndLeave(f, f.Text4(typed[i].first), typed[i].second);
        EXPECT_EQ(f.Text4(typed[i].first).text(), written[i]);
    }
}

TEST_F(EntryFields, BoltLengthAndPitchGiveTheRevolutionsUntilTheModeChanges) {
    TypeAndLeave(f, f.Text1, u"20"_s);
    EXPECT_EQ(f.Text1.text(), u"20.00"_s);
    EXPECT_EQ(f.Text3.text(), QString()); // no pitch yet
    TypeAndLeave(f, f.Text2, u"1.25"_s);
    EXPECT_EQ(f.Text2.text(), u"1.25"_s);
    EXPECT_EQ(f.Text3.text(), u"16.00"_s);
    EXPECT_EQ(f.Label12(1).text(), u"14.33"_s); // and the cycle was recalculated

    TypeAndLeave(f, f.Text2, u"0"_s); // pitch 0 leaves the revolutions
    TypeAndLeave(f, f.Text1, u"30"_s);
    EXPECT_EQ(f.Text3.text(), u"16.00"_s);
    EXPECT_EQ(f.Text2.text(), u"0.00"_s);
    TypeAndLeave(f, f.Text1, u"M12"_s); // length 0: leaving the pitch changes nothing
    TypeAndLeave(f, f.Text2, u"2"_s);
    EXPECT_EQ(f.Text3.text(), u"16.00"_s);
    EXPECT_EQ(f.Text1.text(), u"M12"_s); // a bolt field keeps a text that is no number

    // The other mode greys the bolt fields and keeps their texts.
    f.click(f.Option1(1));
    EXPECT_FALSE(f.Text1.enabled());
    EXPECT_EQ(f.Text1.backColour(), GreyColour);
    EXPECT_EQ(f.Text3.backColour(), FieldColour);
    EXPECT_EQ(f.Text1.text(), u"M12"_s);
    TypeAndLeave(f, f.Text3, u"7"_s);
    EXPECT_EQ(f.Text3.text(), u"7.00"_s);
}

TEST_F(EntryFields, EnterMovesThroughTheFieldsByTheLayout) {
    PressEnter(f, f.Text1);
    EXPECT_EQ(f.focused(), &f.Text2);
    PressEnter(f, f.Text2);
    EXPECT_EQ(f.focused(), &f.Text4(0));
    for (int i = 0; i < 8; ++i) {
        PressEnter(f, f.Text4(i));
        EXPECT_EQ(f.focused(), i < 7 ? &f.Text4(i + 1) : &f.TOOLLIST); // the short layout
    }
    f.Text4(8).setVisible(true); // the tall layout
    PressEnter(f, f.Text4(7));
    EXPECT_EQ(f.focused(), &f.Text4(8));
    PressEnter(f, f.Text4(10));
    EXPECT_EQ(f.focused(), &f.TOOLLIST);
}

TEST_F(EntryFields, EnterRecalculatesTwiceOnceForTheKeyOnceForLeaving) {
    f.moveFocus(f.Text4(0));
    f.typeText(f.Text4(0), u"2000"_s);
    s.platform.clearMessages();
    f.keyPress(f.Text4(0), Key::Enter);
    EXPECT_EQ(s.platform.messageTexts(),
              (QStringList{u"FIRST TIME LIMIT OVER"_s, u"FIRST TIME LIMIT OVER"_s}));
    EXPECT_EQ(f.Text4(0).text(), u"2000.00"_s);
    EXPECT_EQ(f.focused(), &f.Text4(1));
}

TEST_F(EntryFields, NumbersBeyondRangeNeverShowAsInfinity) {
    TypeAndLeave(f, f.Text4(0), u"1e999"_s);
    TypeAndLeave(f, f.Text1, u"1e308"_s);
    TypeAndLeave(f, f.Text2, u"1e-308"_s);
    PressEnter(f, f.Text4(5));
    for (const auto& control : f.controls()) {
        const QString text = control->text().toLower();
        EXPECT_FALSE(text.contains(u"inf"_s) || text.contains(u"nan"_s))
            << control->displayName().toStdString() << ": " << text.toStdString();
    }
    EXPECT_TRUE(f.Text4(0).text().startsWith(u"17976931348623"_s));
    EXPECT_EQ(f.Text3.text(), QString()); // the quotient is too large to be written
}

} // namespace
} // namespace veldrune
