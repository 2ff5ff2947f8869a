#include "app/commandbuttons.h"

#include "support/qtprinters.h"
#include "support/station.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

class CommandButtons : public ::testing::Test {
protected:
    bool tall() const {
        const bool shown = f.Text4(8).visible();
        EXPECT_EQ(f.Text4(9).visible(), shown);
        EXPECT_EQ(f.Line1.visible(), shown);
        EXPECT_EQ(f.Line2.visible(), shown);
        EXPECT_EQ(s.program->flags().LoadSectionShown, shown);
        EXPECT_EQ(f.height(), shown ? TallHeight : CompactHeight);
        return shown;
    }

    test::StartedProgram s;
    Form1& f = s.form();
};

TEST_F(CommandButtons, LoadCalculationSwitchesTheLayoutByTheHeightAndCentresTheWindow) {
    EXPECT_FALSE(tall());
    f.click(f.Command1(3));
    EXPECT_TRUE(tall());
    EXPECT_DOUBLE_EQ(f.top(), (16200 - 10755) / 2.0);
    EXPECT_TRUE(f.canTakeFocus(f.DURR)); // the duty-cycle section is in sight now
    f.click(f.Command1(3));
    EXPECT_FALSE(tall());
    EXPECT_DOUBLE_EQ(f.top(), (16200 - 6500) / 2.0);

    f.click(f.Command1(3));
    f.setHeight(CompactHeight + 1); // any height but exactly the short one means "tall"
    f.click(f.Command1(3));
    EXPECT_FALSE(f.Text4(8).visible());
    EXPECT_EQ(f.height(), CompactHeight);
}

TEST_F(CommandButtons, ASystemThatDisablesTheButtonLeavesTheLayoutAsItIs) {
    f.click(f.Command1(3));
    s.pick(f.SYSTEM, u"Tarvon"_s);
    f.click(f.Command1(3)); // disabled: nothing happens
    EXPECT_TRUE(tall());
    s.pick(f.SYSTEM, u"MVC2400"_s);
    f.click(f.Command1(3));
    EXPECT_FALSE(tall());
}

TEST_F(CommandButtons, UpdateCalculationRedrawsTheChartOnlyInTheTallLayout) {
    ASSERT_TRUE(s.pick(f.TOOLLIST, u"KRV-110QM1-05"_s));
    f.Text4(8).setText(u"30"_s);
    f.Text4(9).setText(u"4.5"_s);
    const QImage empty = f.Picture2.picture(); // cleared by the period picked at start-up
    f.Command1(1).setVisible(false);
    f.click(f.Command1(0));
    EXPECT_EQ(f.Picture2.picture(), empty);
    EXPECT_TRUE(f.Command1(1).visible()); // the epilogue runs all the same
    EXPECT_EQ(f.pointer(), MousePointer::Normal);

    f.click(f.Command1(3));
    f.click(f.Command1(0));
    EXPECT_NE(f.Picture2.picture(), empty);
}

} // namespace
} // namespace veldrune
