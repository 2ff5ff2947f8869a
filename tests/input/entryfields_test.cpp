#include "input/entryfields.h"
#include "input/torqueunits.h"

#include "support/invariants.h"
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
    // Changing the torque unit leaves its field and the focus alone.
    f.Text4(9).setText(u"123.456"_s);
    f.moveFocus(f.Text4(2));
    s.pick(f.TQUNIT, u"KGM"_s);
    EXPECT_EQ(f.Text4(9).text(), u"123.456"_s);
    EXPECT_EQ(f.focused(), &f.Text4(2));
}

TEST_F(EntryFields, APhaseFieldSelectsAllWhileFocusedAndIsWrittenInItsFormatWhenLeft) {
    EXPECT_EQ(TypeKeys(f, f.Text4(2), u"7"_s), u"7"_s); // replaces the selected text
    EXPECT_EQ(f.Text4(2).alignment(), Alignment::Left);
    f.moveFocus(f.Text2);
    EXPECT_EQ(f.Text4(2).alignment(), Alignment::Right);
    const std::tuple<int, QString, QString> rows[] = {
        {4, u"abc"_s, u"0.00"_s}, {1, u"12.7"_s, u"13"_s}, {7, u"-0.255"_s, u"-0.26"_s}};
    for (const auto& [i, typed, written] : rows) {
        TypeAndLeave(f, f.Text4(i), typed);
        EXPECT_EQ(f.Text4(i).text(), written);
    }
    TypeAndLeave(f, f.Text4(0), u"1e999"_s); // a number beyond range never shows as infinity
    for (const auto& c : f.controls())
        EXPECT_FALSE(ShowsNonFinite(c->text())) << c->name().toStdString();
}

TEST_F(EntryFields, BoltLengthAndPitchGiveTheRevolutionsUntilTheModeChanges) {
    // Typed into a field and left; then the length | pitch | revolutions, and the free-run
    // revolutions of the recalculated cycle. A pitch of 0 leaves the revolutions, and so does
    // a quotient too large to be written; a bolt field keeps a text that is no number, and a
    // length of 0 leaves the revolutions too.
    const std::tuple<Control*, QString, QString> steps[] = {
        {&f.Text1, u"20"_s, u"20.00|||0.00"_s},
        {&f.Text2, u"1.25"_s, u"20.00|1.25|16.00|14.33"_s},
        {&f.Text2, u"0"_s, u"20.00|0.00|16.00|14.33"_s},
        {&f.Text1, u"30"_s, u"30.00|0.00|16.00|14.33"_s},
        {&f.Text2, u"1e-308"_s, u"30.00|0.00|16.00|14.33"_s},
        {&f.Text1, u"M12"_s, u"M12|0.00|16.00|14.33"_s},
        {&f.Text2, u"2"_s, u"M12|2.00|16.00|14.33"_s}};
    for (const auto& [field, typed, shown] : steps) {
        TypeAndLeave(f, *field, typed);
        const QStringList texts{f.Text1.text(), f.Text2.text(), f.Text3.text(),
                                f.Label12(1).text()};
        EXPECT_EQ(texts.join(u'|'), shown) << typed.toStdString();
    }

    // The other mode greys the bolt fields; the revolutions are typed.
    f.click(f.Option1(1));
    EXPECT_FALSE(f.Text1.enabled());
    EXPECT_EQ(f.Text1.backColour(), GreyColour);
    EXPECT_EQ(f.Text3.backColour(), FieldColour);
    TypeAndLeave(f, f.Text3, u"7"_s);
    EXPECT_EQ(f.Text3.text(), u"7.00"_s);
}

TEST_F(EntryFields, EnterMovesThroughTheFieldsByTheLayout) {
    const auto next = [&](Control& field) {
        PressEnter(f, field);
        return f.focused();
    };
    EXPECT_EQ(next(f.Text1), &f.Text2);
    EXPECT_EQ(next(f.Text2), &f.Text4(0));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(next(f.Text4(i)), i < 7 ? &f.Text4(i + 1) : &f.TOOLLIST); // the short layout
    f.Text4(8).setVisible(true);                                            // the tall layout
    EXPECT_EQ(next(f.Text4(7)), &f.Text4(8));
    EXPECT_EQ(next(f.Text4(10)), &f.TOOLLIST);
}

// A tool of 55 N·m (5.608 kgf·m) in the tall layout, as after LOAD CALCULATION.
class TorqueUnits : public ::testing::Test {
protected:
    TorqueUnits() {
        EXPECT_TRUE(s.pick(f.TOOLLIST, u"KRV-110QM1"_s));
        f.click(f.Command1(3));
        s.platform.clearMessages();
    }

    StartedProgram s{{{u"KRV-110QM1"_s, u"55"_s, 2000, 60, u"1,0,3,0,1,0,2,0,1,0"_s}}};
    Form1& f = s.form();
};

TEST_F(TorqueUnits, EnterCutsATorqueAboveTheMaximumToItsDisplayedText) {
    EXPECT_EQ(f.Label4(0).text(), u"  55.0"_s);
    const std::tuple<QString, QString, QString> rows[] = {
        {u"     "_s, u"999"_s, u"999"_s},     // a torque too large for the catalogue's field
        {u"  55.0"_s, u"55"_s, u"55"_s},      // exactly the maximum stays as typed
        {u"  55.0"_s, u"999"_s, u"  55.0"_s}, // blanks included
    };
    for (const auto& [maximum, typed, checked] : rows) {
        f.Label4(0).setText(maximum);
        f.Text4(9).setText(typed);
        LimitCheck(f);
        EXPECT_EQ(f.Text4(9).text(), checked) << typed.toStdString();
    }

    // Enter: the limit, then formatted once more when the field is left on the way on.
    TypeKeys(f, f.Text4(9), u"999"_s);
    f.keyPress(f.Text4(9), Key::Enter);
    EXPECT_EQ(f.Text4(9).text(), u"55.0"_s);
    EXPECT_EQ(f.focused(), &f.Text4(10));
}

TEST_F(TorqueUnits, ChangingTheUnitKeepsTheNumberInTheNewUnitsFormatAndLimit) {
    TypeAndLeave(f, f.Text4(9), u"10"_s);
    EXPECT_EQ(f.Text4(9).text(), u"10.0"_s);
    s.pick(f.TQUNIT, u"KGM"_s); // 10 kgf·m is more than this tool's 5.608
    EXPECT_EQ(f.Text4(9).text(), u" 5.608"_s);
    s.pick(f.TQUNIT, u"FTLBS"_s); // 5.608 ft·lbf is within 40.57, written with 2 decimals
    EXPECT_EQ(f.Text4(9).text(), u"5.61"_s);
    EXPECT_EQ(f.focused(), &f.Text4(10));
    f.Text4(9).setText(u"12.345"_s);
    s.pick(f.TQUNIT, u"FTLBS"_s); // picking the current unit again formats the field
    EXPECT_EQ(f.Text4(9).text(), u"12.35"_s);
}

TEST_F(TorqueUnits, EnterAndLeavingTheTorqueEachRecalculateTwice) {
    const QStringList twice{u"FIRST TIME LIMIT OVER"_s, u"FIRST TIME LIMIT OVER"_s};
    TypeKeys(f, f.Text4(0), u"2000"_s);
    s.platform.clearMessages();
    f.keyPress(f.Text4(0), Key::Enter); // once for the key, once for leaving
    EXPECT_EQ(s.platform.messageTexts(), twice);
    EXPECT_EQ(f.Text4(0).text(), u"2000.00"_s);
    EXPECT_EQ(f.focused(), &f.Text4(1));

    TypeKeys(f, f.Text4(9), u"20"_s);
    s.platform.clearMessages();
    f.moveFocus(f.PREVILING); // a click elsewhere: once for the unit, once for leaving
    EXPECT_EQ(s.platform.messageTexts(), twice);
    EXPECT_EQ(f.focused(), &f.Text4(10));

    f.click(f.Command1(3)); // in the short layout the unit sends the focus to the tool list
    s.pick(f.TQUNIT, u"KGM"_s);
    EXPECT_EQ(f.focused(), &f.TOOLLIST);
}

} // namespace
} // namespace veldrune
