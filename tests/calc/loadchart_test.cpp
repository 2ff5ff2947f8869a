#include "calc/loadchart.h"

#include "catalogue/catalogue.h"
#include "support/fakeplatform.h"
#include "support/qtprinters.h"
#include "window/form1.h"
#include "window/twips.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <utility>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// The chart in Picture2, for a window with the load simulation's worked example's tool.
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
        f.Text4(4).setText(u"1"_s); // the tightening time
    }
    // How many pixels above the legend have the colour.
    int count(QRgb colour) const {
        const QImage& image = f.Picture2.picture();
        int n = 0;
        for (int y = 0; y < 205; ++y) {
            for (int x = 0; x < image.width(); ++x)
                n += (image.pixel(x, y) & 0xFFFFFF) == colour;
        }
        return n;
    }

    Catalogue catalogue;
    Form1 f;
    test::FakePlatform platform;
    DrawnChart drawn;
};

// The chart as it was first drawn: over its frame, labels and legend, each step's torque
// segment, then its load segment, each stroked on its own.
QImage SegmentBySegment(Form1& f, const Catalogue& catalogue, test::FakePlatform& platform) {
    DrawnChart drawn;
    const QString cycle = f.Text4(8).text();
    f.Text4(8).setText(u"0"_s); // the frame, labels and legend alone
    RedrawLoadChart(f, catalogue, platform, drawn);
    f.Text4(8).setText(cycle);
    QImage picture = f.Picture2.picture();
    QPainter painter(&picture);
    painter.scale(1.0 / TwipsPerPixel, 1.0 / TwipsPerPixel);
    QPointF ends[] = {{500, 2800}, {500, 2800}};
    for (const LoadStep& step : SimulateLoad(ReadDutyCycleInputs(f), catalogue).steps) {
        const QPointF next[] = {QPointF(step.x, step.torqueY), QPointF(step.x, step.loadY)};
        for (int curve = 0; curve < 2; ++curve) {
            QPen pen(curve ? Qt::black : Qt::red, 2 + 2 * curve, Qt::SolidLine, Qt::RoundCap);
            pen.setCosmetic(true);
            painter.setPen(pen);
            painter.drawLine(std::exchange(ends[curve], next[curve]), next[curve]);
        }
    }
    return picture;
}

// Cases of DURR's period (2, 4, 8, 16 minutes), station cycle time, torque, recovery time and
// prevailing torque: a 2-second cycle, and the last overloads the motor.
TEST_F(ChartInPicture, DiffersFromTheSegmentBySegmentDrawingInATenthOfAPercentOfPixelsAtMost) {
    using Row = std::tuple<int, QString, QString, QString, bool>;
    for (const auto& [period, cycle, torque, recovery, prevailing] :
         {Row{0, u"30"_s, u"10"_s, u"0.5"_s, false}, Row{3, u"30"_s, u"10"_s, u"0.5"_s, false},
          Row{3, u"12"_s, u"8"_s, u"0"_s, true}, Row{1, u"2"_s, u"5"_s, u"0.2"_s, false},
          Row{2, u"7"_s, u"15"_s, u"1"_s, true}}) {
        f.DURR.setListIndex(period);
        f.PREVILING.setValue(prevailing);
        f.Text4(8).setText(cycle);
        f.Text4(9).setText(torque);
        f.Text4(10).setText(recovery);
        const QImage reference = SegmentBySegment(f, catalogue, platform);
        RedrawLoadChart(f, catalogue, platform, drawn);
        const QImage& picture = f.Picture2.picture();
        int differing = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x)
                differing += picture.pixel(x, y) != reference.pixel(x, y);
        }
        EXPECT_LE(differing, picture.width() * picture.height() / 1000)
            << period << ' ' << cycle.toStdString();
    }
    f.Text4(8).setText(u"0"_s);
    RedrawLoadChart(f, catalogue, platform, drawn);
    EXPECT_EQ(count(0xFF0000), 0); // a cycle of zero: cleared, then no curve drawn
}

TEST_F(ChartInPicture, WithoutAToolNothingIsDrawnAndTestModeShowsTheTimeTaken) {
    f.TOOLLIST.setListIndex(0);
    f.PRNTEST.setVisible(true);
    RedrawLoadChart(f, catalogue, platform, drawn);
    EXPECT_EQ(count(0x00FFFF), 0);
    EXPECT_EQ(f.pointer(), MousePointer::Normal);
    EXPECT_EQ(f.caption(), u" 0"_s);
}

} // namespace
} // namespace veldrune
