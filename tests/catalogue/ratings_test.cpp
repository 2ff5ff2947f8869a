#include "catalogue/ratings.h"

#include "catalogue/catalogue.h"
#include "support/qtprinters.h"
#include "window/form1.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// A window with one tool selected and the angle-head list shown, as on "MVC4800".
class Ratings : public ::testing::Test {
protected:
    Ratings() {
        tools[1] = {.Model = u"KRV-110QM1          "_s,
                    .MaxSpeed = 2000,
                    .MinSpeed = 10,
                    .TorqueDecimals = {2, 3, 1, 2, 1},
                    .MaxTorque = {5000, 5099, 5099, 3688, 4425}};
        selection.SelectedTool = 1;
        for (const QString& entry : {u" "_s, u"RH1"_s, u"RH5"_s})
            f.ANGLE.addItem(entry);
    }
    ToolEntry& tool() { return tools[1]; }
    void show(int angleEntry) {
        f.ANGLE.setListIndex(angleEntry);
        ShowToolRatings(f, tools, selection);
    }
    QStringList torques() const {
        QStringList texts;
        for (int u = 0; u < UnitCount; ++u)
            texts.append(f.Label4(u).text());
        return texts;
    }

    Form1 f;
    ToolTable tools;
    ToolSelection selection;
};

TEST_F(Ratings, WithoutAHeadTheToolsOwnRatingsAreShown) {
    show(0);
    EXPECT_EQ(f.Label3(0).text(), u"2000 RPM"_s);
    EXPECT_EQ(f.Label3(1).text(), u" 10 RPM"_s);
    EXPECT_EQ(torques(),
              (QStringList{u" 50.00"_s, u" 5.099"_s, u" 509.9"_s, u" 36.88"_s, u" 442.5"_s}));
    EXPECT_FALSE(f.Frame4.visible());
    EXPECT_EQ(selection.HeadRatio, 1.0f);
    EXPECT_EQ(f.Text4(3).text(), u"1600"_s); // the speed defaults overwrite the fields
}

TEST_F(Ratings, AHeadDividesTheSpeedsAndCapsTheTorqueAtItsOwnRating) {
    show(1); // RH1: 1.555 x 50 x 0.96 = 74.64 N·m, above the head's 55.000
    EXPECT_EQ(f.Label3(0).text(), u"1286 RPM"_s);
    EXPECT_EQ(f.Label3(1).text(), u" 6.430868 RPM"_s);
    EXPECT_EQ(f.Label4(0).text(), u"55.000"_s);
    EXPECT_TRUE(f.Frame4.visible());
    EXPECT_EQ(f.Label17.text(), u"1.555"_s);
    EXPECT_EQ(f.Text4(3).text(), u"1029"_s);

    show(2); // RH5 takes 550 N·m: the computed value stands
    EXPECT_EQ(f.Label4(0).text(), u"74.64"_s);
    EXPECT_EQ(f.Label4(4).text(), u"660.6"_s);

    show(0); // no head again: the tool's own ratings, the ratio frame hidden
    EXPECT_EQ(f.Label4(0).text(), u" 50.00"_s);
    EXPECT_FALSE(f.Frame4.visible());

    tool().MinSpeed = 1;          // minimum speeds below one show one
    tool().MaxTorque[0] = 37;     // 1.555 x 37 x 0.96 = 55.2 shown as "55", equal to the rating:
    tool().TorqueDecimals[0] = 0; // the computed text stands
    show(1);
    EXPECT_EQ(f.Label3(1).text(), u"1 RPM"_s);
    EXPECT_EQ(f.Label4(0).text(), u"55"_s);
}

TEST_F(Ratings, UnusualTorqueFieldsShowAsTheyAreStored) {
    tool().TorqueDecimals[0] = -1;        // no format and no unit before it: blanks
    tool().TorqueDecimals[1] = 4;         // four decimals are written as such
    tool().TorqueDecimals[2] = 7;         // no format: the previous unit's text stays
    tool().MaxTorque[4] = TorqueTooLarge; // blank without a head, 0 with one
    show(0);
    EXPECT_EQ(torques(),
              (QStringList{u"      "_s, u"0.5099"_s, u"0.5099"_s, u" 36.88"_s, u"     "_s}));
    show(2);
    EXPECT_EQ(f.Label4(1).text(), u"0.7612"_s);
    EXPECT_EQ(f.Label4(4).text(), u"0.0"_s);
}

TEST_F(Ratings, AHiddenHeadListCountsAsNoHeadAndNothingChangesBeforeAToolIsPicked) {
    show(1);
    f.ANGLE.setVisible(false);
    ShowToolRatings(f, tools, selection);
    EXPECT_EQ(f.Label4(0).text(), u" 50.00"_s);
    EXPECT_TRUE(f.Frame4.visible()); // the ratio frame is left as it was

    Form1 fresh;
    selection.SelectedTool = 0;
    ShowToolRatings(fresh, tools, selection);
    EXPECT_EQ(fresh.Label3(0).text(), QString());
    EXPECT_EQ(fresh.Text4(1).text(), QString());
}

TEST(FormatScaled, ATextLongerThanSixCharactersLosesItsLeftmostOnes) {
    QString text;
    FormatScaled(-32767, 3, text);
    EXPECT_EQ(text, u"32.767"_s);
}

} // namespace
} // namespace veldrune
