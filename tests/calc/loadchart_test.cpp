#include "calc/loadchart.h"

#include "catalogue/catalogue.h"
#include "support/fakeplatform.h"
#include "support/qtprinters.h"
#include "window/form1.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// The chart in Picture2, for a window set up as the load simulation's worked example.
class ChartInPicture : public ::testing::Test {
protected:
    ChartInPicture() {
        InitMotorTable(catalogue.Motors);
        catalogue.Tools[1].Model = FixedModel(u"KRV-100QM1"_s);
        catalogue.Tools[1].MaxSpeed = 1000;
        catalogue.Tools[2].Model = u"END"_s;
        for (const QString& entry : {u"SELECT TOOL TYPE"_s, catalogue.Tools[1].Model})
            f.TOOLLIST.addItem(entry);
        f.TOOLLIST.setListIndex(1);
        f.TQUNIT.addItem(u"NM"_s);
        f.TQUNIT.setListIndex(0);
        for (const QString& minutes : {u"2"_s, u"4"_s, u"8"_s, u"16"_s})
            f.DURR.addItem(minutes);
        f.DURR.setListIndex(3);
        const std::pair<int, QString> texts[] = {
            {4, u"1"_s}, {8, u"30"_s}, {9, u"10"_s}, {10, u"0.5"_s}};
        for (const auto& [i, text] : texts)
            f.Text4(i).setText(text);
    }
    // How many pixels of the picture have the colour, above the legend or in it.
    int count(QRgb colour, bool legend) const {
        const QImage& image = f.Picture2.picture();
        int n = 0;
        for (int y = legend ? 205 : 0; y < (legend ? image.height() : 205); ++y) {
            for (int x = 0; x < image.width(); ++x)
                n += (image.pixel(x, y) & 0xFFFFFF) == colour;
        }
        return n;
    }

    Catalogue catalogue;
    Form1 f;
    test::FakePlatform platform;
};

TEST_F(ChartInPicture, DrawsTheCurvesOverFrameLabelsAndLegendOrTheseAloneForACycleOfZero) {
    RedrawLoadChart(f, catalogue, platform);
    ASSERT_EQ(f.Picture2.picture().size(), QSize(781, 225));
    EXPECT_GT(count(0xFF0000, false), 1000); // the torque curve
    const int withCurves = count(0x000000, false);
    EXPECT_GT(count(0x00FFFF, false), 1000); // the grid

    f.Text4(8).setText(u"0"_s);
    RedrawLoadChart(f, catalogue, platform); // cleared first, then frame and legend only
    EXPECT_EQ(count(0xFF0000, false), 0);
    EXPECT_GT(count(0xFF0000, true), 0);
    EXPECT_LT(count(0x000000, false), withCurves / 4); // the labels' text alone
    EXPECT_GT(count(0x00FFFF, false), 1000);
}

TEST_F(ChartInPicture, WithoutAToolNothingIsDrawnAndTestModeShowsTheTimeTaken) {
    f.TOOLLIST.setListIndex(0);
    f.PRNTEST.setVisible(true);
    RedrawLoadChart(f, catalogue, platform);
    EXPECT_EQ(count(0x00FFFF, false), 0);
    EXPECT_EQ(f.pointer(), MousePointer::Normal);
    EXPECT_EQ(f.caption(), u" 0"_s);
}

} // namespace
} // namespace veldrune
