#include "input/torqueunits.h"

#include "support/qtprinters.h"
#include "support/station.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// A tool of 55 N·m (5.608 kgf·m) in the tall layout, as after LOAD CALCULATION.
class TorqueUnits : public ::testing::Test {
protected:
    TorqueUnits() {
        EXPECT_TRUE(s.pick(f.TOOLLIST, u"KRV-110QM1"_s));
        for (Control* c : {&f.Text4(8), &f.Text4(9), &f.Line1, &f.Line2})
            c->setVisible(true);
        f.setHeight(TallHeight);
        s.platform.clearMessages();
    }

    test::StartedProgram s{{{u"KRV-110QM1"_s, u"55"_s, 2000, 60, u"1,0,3,0,1,0,2,0,1,0"_s}}};
    Form1& f = s.form();
};

TEST_F(TorqueUnits, EnterCutsATorqueAboveTheMaximumToItsDisplayedText) {
    EXPECT_EQ(f.Label4(0).text(), u"  55.0"_s);
    f.Text4(9).setText(u"999"_s);
    LimitCheck(f);
    EXPECT_EQ(f.Text4(9).text(), u"  55.0"_s); // blanks included
    f.Text4(9).setText(u"55"_s);
    LimitCheck(f);
    EXPECT_EQ(f.Text4(9).text(), u"55"_s); // exactly the maximum stays as typed
    f.Label4(0).setText(u"     "_s);       // a torque too large for the catalogue's field
    f.Text4(9).setText(u"999"_s);
    LimitCheck(f);
    EXPECT_EQ(f.Text4(9).text(), u"999"_s); // sets no limit

    // Enter: the limit, then formatted once more when the field is left on the way on.
    f.Label4(0).setText(u"  55.0"_s);
    f.moveFocus(f.Text4(9));
    f.typeText(f.Text4(9), u"999"_s);
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

TEST_F(TorqueUnits, LeavingTheFieldRecalculatesTwiceAndGoesToTheNextField) {
    f.Text4(0).setText(u"2000"_s);
    f.moveFocus(f.Text4(9));
    f.typeText(f.Text4(9), u"20"_s);
    s.platform.clearMessages();
    f.moveFocus(f.PREVILING); // a click elsewhere
    EXPECT_EQ(s.platform.messageTexts(),
              (QStringList{u"FIRST TIME LIMIT OVER"_s, u"FIRST TIME LIMIT OVER"_s}));
    EXPECT_EQ(f.focused(), &f.Text4(10));
    EXPECT_EQ(f.Text4(9).alignment(), Alignment::Right);

    // In the short layout the unit sends the focus to the tool list.
    for (Control* c : {&f.Text4(8), &f.Text4(9)})
        c->setVisible(false);
    s.pick(f.TQUNIT, u"KGM"_s);
    EXPECT_EQ(f.focused(), &f.TOOLLIST);
}

TEST(TorqueUnitsWithoutTool, ChangingTheUnitLeavesFieldAndFocusAlone) {
    test::StartedProgram s({{u"KRV-110QM1"_s}});
    Form1& f = s.form();
    f.Text4(9).setText(u"123.456"_s);
    f.moveFocus(f.Text4(2));
    s.pick(f.TQUNIT, u"KGM"_s);
    EXPECT_EQ(f.Text4(9).text(), u"123.456"_s);
    EXPECT_EQ(f.focused(), &f.Text4(2));
}

} // namespace
} // namespace veldrune
