#include "report/printreport.h"

#include "report/languagefont.h"
#include "report/preview.h"
#include "station/apply.h"
#include "station/runner.h"
#include "window/form1.h"
#include "window/form2.h"

#include "support/qtprinters.h"
#include "support/recordingpage.h"
#include "support/station.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QPainter>
#include <QSet>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

using test::DrawnText;
using test::RecordingPage;

constexpr int PointTwips = 20;

class Report : public ::testing::Test {
protected:
    Report() {
        Form1& f = s.form();
        EXPECT_TRUE(s.pick(f.TOOLLIST, u"KRV-220QT2-A"_s));
        TypeAndLeave(f, f.Text5, u"LINE 4 WHEEL NUTS"_s);
        TypeAndLeave(f, f.Text1, u"30"_s);
    }

    // Prints the report as PRINT OUT does, every text measured as 1000 twips wide unless the
    // measure is the program's own.
    std::unique_ptr<RecordingPage> print(Veldrune* program = nullptr, bool measured = false) {
        auto page = std::make_unique<RecordingPage>();
        QPainter painter(page.get());
        ReportContext context = (program ? program : s.program.get())->reportContext(false);
        if (!measured)
            context.measure = [](const FontSpec&, const QString&) { return 1000.0; };
        DrawPage(painter, context);
        return page;
    }

    test::StartedProgram s{{{u"KRV-220QT2-A"_s, u"29.4"_s, 1600, 48}}};
};

// Where a text is printed, in page twips, and in what font; no points: the font not checked.
struct Placed {
    QString text;
    double x, y;
    int points = 0;
    bool bold = false;
};

void ExpectPlaced(const RecordingPage& page, std::initializer_list<Placed> rows) {
    for (const Placed& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        const DrawnText* t = page.text(row.text);
        ASSERT_TRUE(t);
        EXPECT_NEAR(t->topLeft.x(), row.x, 1);
        EXPECT_NEAR(t->topLeft.y(), row.y, 1);
        if (row.points) {
            EXPECT_EQ(t->pixelSize, row.points * PointTwips);
            EXPECT_EQ(t->bold, row.bold);
        }
    }
}

TEST_F(Report, ShortLayoutPrintsRowsPhaseBlockAndTotalAtTheirPlacesAndSizes) {
    const auto page = print();
    const Form1& f = s.form();
    ExpectPlaced(
        *page,
        {Placed{u"VELDRUNE VERSION 1.00    DATE 12-06-2026  TIME 14:30:05"_s, 5000, 500, 10, true},
         Placed{u"FASTENING CYCLE TIME CALCULATION"_s, 4200, 1250, 16, true},
         // Rows 500 twips apart, in 12 points, not bold; the tool as the list holds it; numbers
         // right-aligned to 0.72 of their width.
         Placed{u"LINE 4 WHEEL NUTS"_s, 3000, 2100, 12}, Placed{u"TOOL TYPE"_s, 1000, 2600, 12},
         Placed{u"KRV-220QT2-A        "_s, 3000, 2600, 12},
         Placed{u"MAXIMUM SPEED"_s, 1000, 3100, 12}, Placed{u"1600 RPM"_s, 5000 - 720, 3100, 12},
         Placed{f.Label4(0).text(), 3300, 4100, 10}, Placed{u"BOLT LENGTH"_s, 1000, 4600, 12},
         Placed{u"30.00"_s, 4800, 4600, 12}, Placed{u"NUMBER OF REVOLUTIONS"_s, 1000, 5100, 12},
         // The phase block at its full height, 0.31 the tightening time.
         Placed{u"INITIAL TIME"_s, 2000, 6200, 12}, Placed{u"0.31"_s, 8200 - 720, 6600, 12},
         Placed{u"TORQUE SPEED"_s, 7200, 9500, 12},
         Placed{u"COMMUNICATION TIME"_s, 1000, 11150, 12},
         // The total in its box, centred in it: centred on 10750 it would cross its side.
         Placed{u"ESTIMATED TOTAL TIME"_s, 1000, 13100, 28},
         Placed{f.TOTAL.text().trimmed(), 9500 - 500, 12850, 48}});
    EXPECT_EQ(page->images.size(), 1u); // the logo
    // The page's frame and the total's box.
    for (const QLineF& side : {QLineF(800, 800, 11000, 800), QLineF(11000, 13800, 800, 13800),
                               QLineF(8000, 13800, 8000, 12850), QLineF(8000, 12850, 11000, 12850)})
        EXPECT_NE(std::find(page->lines.begin(), page->lines.end(), side), page->lines.end());
    EXPECT_FALSE(page->printed(u"DUTY CYCLE"_s));
    EXPECT_FALSE(page->printed(u"TORQUE RECOVERY"_s));
}

TEST_F(Report, TallLayoutCompressesThePhaseBlockAndAddsTheDutyCycleItsSentencesAndItsChart) {
    Form1& f = s.form();
    f.click(f.Command1(3));
    TypeAndLeave(f, f.Text4(8), u"30"_s);
    TypeAndLeave(f, f.Text4(9), u"20"_s);
    TypeAndLeave(f, f.Text4(10), u"2.5"_s);
    f.PREVILING.setValue(true);
    auto page = print();
    // Rows 300 twips apart, the phase block at 0.78 of its height, the total where it was.
    ExpectPlaced(
        *page,
        {Placed{u"TOOL TYPE"_s, 1000, 2400}, Placed{u"NUMBER OF REVOLUTIONS"_s, 1000, 3900},
         Placed{u"INITIAL TIME"_s, 2000, 4836}, Placed{u"COMMUNICATION TIME"_s, 1000, 8697},
         Placed{u"ESTIMATED TOTAL TIME"_s, 1000, 13100},
         Placed{u"DUTY CYCLE CALCULATION  4  MINUTES"_s, 1000, 9000},
         Placed{u"STATION CYCLE TIME  30.00  FASTENING TORQUE  20.00  WITH PREVILING TORQUE"_s,
                1000, 9250},
         Placed{u"WITH 2.50 SECONDS OF TORQUE RECOVERY."_s, 5500, 9500}});

    // Without a recovery time or prevailing torque, the sentence does not name them.
    TypeAndLeave(f, f.Text4(10), u"0"_s);
    f.PREVILING.setValue(false);
    page = print();
    EXPECT_TRUE(page->printed(u"STATION CYCLE TIME  30.00  FASTENING TORQUE  20.00"_s));
    EXPECT_FALSE(page->printed(u"PREVILING"_s));
    EXPECT_FALSE(page->printed(u"TORQUE RECOVERY"_s));
}

TEST_F(Report, TheChartOfAnOverloadedMotorKeepsToItsPictureArea) {
    const std::size_t reportLines = print()->lines.size(); // the frame, the sketch, the box
    test::StartedProgram shipped; // on the catalogue shipped with the program
    const auto station = ReadStation(R"({"system": "MVC4800", "tool": "KRV-110QM1-05",
        "tightening_angle": 720, "torque_speed": 30, "duty_cycle": {"station_cycle_time": 3,
        "fastening_torque": 5.8, "torque_recovery_time": 0.5, "period_minutes": 16}})");
    ASSERT_FALSE(ApplyStation(*shipped.program, std::get<Station>(station)));
    const auto page = print(shipped.program.get());
    // Picture2's 11715 x 3375 twips at the chart's origin (1200, 9500), x scaled by 0.9.
    const QRectF area = QRectF(1080, 9500, 11715 * 0.9, 3375).adjusted(-1, -1, 1, 1);
    bool cut = false;
    for (std::size_t i = 0; i < page->lines.size(); ++i) {
        if (!page->clips[i].isNull()) {
            EXPECT_TRUE(area.contains(page->clips[i]));
            cut |= std::min(page->lines[i].y1(), page->lines[i].y2()) < area.top();
        }
    }
    EXPECT_TRUE(cut); // the load, at 216 %, runs on beyond the area's top
    // Every line beyond the report's own is the chart's, drawn under the clip.
    EXPECT_EQ(std::size_t(std::count(page->clips.begin(), page->clips.end(), QRectF())),
              reportLines);
}

TEST_F(Report, ASevenCharacterTotalPrintsWholeInsideItsBox) {
    test::StartedProgram shipped; // slow.json's total is 2400.25
    const auto station = ReadStation(test::TestData(u"stations/slow.json"_s));
    ASSERT_FALSE(ApplyStation(*shipped.program, std::get<Station>(station)));
    const auto page = print(shipped.program.get(), true);
    ASSERT_TRUE(page->text(u"2400.25"_s));
    const DrawnText total = *page->text(u"2400.25"_s);
    QFont font(u"Arial"_s);
    font.setPixelSize(total.pixelSize);
    font.setBold(total.bold);
    const double width = QFontMetricsF(font).horizontalAdvance(total.text);
    EXPECT_GE(total.topLeft.x(), 8000);
    EXPECT_LE(total.topLeft.x() + width, 11000);
    EXPECT_LT(total.pixelSize, 48 * PointTwips); // smaller than 48 points to fit
}

// Typed numbers far out of any range and long texts: what is drawn stays on the printable part
// of the page (a printer leaves a quarter inch around it), and no text runs into the next one
// on its line; a number too long for its column still shows where it starts.
TEST_F(Report, ExtremeInputsStayOnThePageAndOutOfTheirNeighboursColumns) {
    Form1& f = s.form();
    f.click(f.Command1(3)); // the tall layout, with the duty cycle's lines
    TypeAndLeave(f, f.Text4(8), u"30"_s);
    const QString wide(300, u'W');
    // The last a text that, cut, measured narrower than it printed.
    const std::pair<Control*, QString> rows[] = {
        {&f.Text4(9), u"-1e308"_s},      {&f.Text4(9), u"1e308"_s},
        {&f.Text4(10), u"2147483648"_s}, {&f.Text5, wide},
        {&f.Text1, u"1e308"_s},          {&f.Text2, u"-1e308"_s},
        {&f.Text4(0), u"1e308"_s},       {&f.Text4(7), u"1e308"_s},
        {&f.Text4(8), u"-1e308"_s},      {&f.Text2, u"  \"t\"IRV-134QM1-35\","_s}};
    for (const auto& [field, typed] : rows) {
        SCOPED_TRACE(field->name().toStdString() + ' ' + typed.left(20).toStdString());
        const QString kept = field->text();
        TypeAndLeave(f, *field, typed);
        const auto page = print(nullptr, true);
        EXPECT_EQ(page->outside(RecordingPage::PrintableA4) + page->crowded(), QString());
        EXPECT_TRUE(page->printed(typed.left(4)) || page->printed(field->text().left(4)));
        TypeAndLeave(f, *field, kept);
    }
}

TEST_F(Report, ToolLineNamesTheAngleHeadAndItsGearRatio) {
    Form1& f = s.form();
    ASSERT_TRUE(s.pick(f.ANGLE, u"RH3"_s));
    EXPECT_TRUE(print()->printed(u"KRV-220QT2-RH3   Gear Ratio = "_s + f.Label17.text()));
}

TEST_F(Report, PreviewPrintsInTheLanguageFaceOrInArialWhereTheSystemLacksIt) {
    // No face given: the Western face found installed.
    const std::pair<QLocale, const char16_t*> rows[] = {
        {QLocale(QLocale::Japanese, QLocale::Japan), u"ＭＳ Ｐゴシック"},
        {QLocale(QLocale::English, QLocale::UnitedStates), nullptr}};
    for (const auto& [locale, wanted] : rows) {
        s.platform.locale = locale;
        LanguageFont kept;
        Form2 preview;
        LoadPreview(preview, s.platform, kept);
        QString face = wanted ? QString::fromUtf16(wanted) : kept.LanguageFontName;
        if (!QFontDatabase::families().contains(face))
            face = u"Arial"_s;
        ReportContext context = s.program->reportContext(true);
        QSet<QString> measured;
        context.measure = [&](const FontSpec& font, const QString&) {
            measured.insert(font.face);
            return 1000.0;
        };
        DrawPreview(preview, context);
        EXPECT_EQ(measured, QSet<QString>{face}) << face.toStdString();
    }
}

} // namespace
} // namespace veldrune
