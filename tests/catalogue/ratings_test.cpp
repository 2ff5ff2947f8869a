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
    // The ratings shown with an entry of the head list picked: the speed range, the torques
    // in the five units, the gear ratio if its frame is shown, and the free-run speed default.
    QString show(int angleEntry) {
        f.ANGLE.setListIndex(angleEntry);
        ShowToolRatings(f, tools, selection);
        QStringList shown{f.Label3(0).text(), f.Label3(1).text()};
        for (int u = 0; u < UnitCount; ++u)
            shown.append(f.Label4(u).text());
        shown.append(f.Frame4.visible() ? u"ratio "_s + f.Label17.text() : u"no ratio"_s);
        return (shown << f.Text4(3).text()).join(u'|');
    }

    Form1 f;
    ToolTable tools;
    ToolSelection selection;
};

// RH1: 1.555 x 50 x 0.96 = 74.64 N·m, above the head's 55.000; RH5 takes 550 N·m, so the
// computed value stands. The speed defaults overwrite the fields.
TEST_F(Ratings, AHeadDividesTheSpeedsAndCapsTheTorqueAtItsOwnRating) {
    EXPECT_EQ(show(0), u"2000 RPM| 10 RPM| 50.00| 5.099| 509.9| 36.88| 442.5|no ratio|1600"_s);
    EXPECT_EQ(selection.HeadRatio, 1.0f);
    EXPECT_EQ(show(1),
              u"1286 RPM| 6.430868 RPM|55.000|5.6084|560.84|40.566|486.79|ratio 1.555|1029"_s);
    EXPECT_EQ(show(2), u"1286 RPM| 6.430868 RPM|74.64|7.612|761.2|55.05|660.6|ratio 1.555|1029"_s);
    EXPECT_EQ(show(0), u"2000 RPM| 10 RPM| 50.00| 5.099| 509.9| 36.88| 442.5|no ratio|1600"_s);

    tool().MinSpeed = 1;          // minimum speeds below one show one
    tool().MaxTorque[0] = 37;     // 1.555 x 37 x 0.96 = 55.2 shown as "55", equal to the rating:
    tool().TorqueDecimals[0] = 0; // the computed text stands
    EXPECT_TRUE(show(1).startsWith(u"1286 RPM|1 RPM|55|"_s));
}

TEST_F(Ratings, UnusualTorqueFieldsShowAsTheyAreStored) {
    tool().TorqueDecimals[0] = -1;        // no format and no unit before it: blanks
    tool().TorqueDecimals[1] = 4;         // four decimals are written as such
    tool().TorqueDecimals[2] = 7;         // no format: the previous unit's text stays
    tool().MaxTorque[4] = TorqueTooLarge; // blank without a head, 0 with one
    EXPECT_EQ(show(0), u"2000 RPM| 10 RPM|      |0.5099|0.5099| 36.88|     |no ratio|1600"_s);
    EXPECT_EQ(show(2), u"1286 RPM| 6.430868 RPM||0.7612||55.05|0.0|ratio 1.555|1029"_s);
}

TEST_F(Ratings, AHiddenHeadListCountsAsNoHeadAndNothingChangesBeforeAToolIsPicked) {
    show(1);
    f.ANGLE.setVisible(false); // no ratio shown, not even the one of a head picked before
    EXPECT_EQ(show(1), u"2000 RPM| 10 RPM| 50.00| 5.099| 509.9| 36.88| 442.5|no ratio|1600"_s);

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
