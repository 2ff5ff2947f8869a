#include "station/savestation.h"

#include "station/apply.h"

#include "support/qtprinters.h"
#include "support/station.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// Windows reached in orders the fixed order of application does not follow: each is saved as a
// plain station that reopens to the very same window, and so does the reopened window, used
// further and saved again.
TEST(SavedStation, IsPlainAndReopensAsTheWindowShowedItWhateverTheOrderOfUse) {
    const struct {
        const char* name;
        std::function<void(Form1&)> use;
        QString total; // the window's estimated total time, where it matters
    } rows[] = {
        {"a bolt length cleared",
         [](Form1& f) {
             TypeAndLeave(f, f.Text1, u"20"_s);
             TypeAndLeave(f, f.Text2, u"1"_s);
             TypeAndLeave(f, f.Text1, u""_s);
         },
         u"1.75"_s},
        {"the short layout after a recovery time",
         [](Form1& f) {
             f.click(f.Command1(3));
             TypeAndLeave(f, f.Text4(10), u"30"_s);
             f.click(f.Command1(3));
         },
         u"31.75"_s},
        {"bolt data greyed by the revolutions option, revolutions typed",
         [](Form1& f) {
             TypeAndLeave(f, f.Text1, u"20"_s);
             TypeAndLeave(f, f.Text2, u"1.25"_s);
             f.click(f.Option1(1));
             TypeAndLeave(f, f.Text3, u"40"_s);
         },
         {}},
        {"revolutions typed, then the bolt option again",
         [](Form1& f) {
             f.click(f.Option1(1));
             TypeAndLeave(f, f.Text3, u"12"_s);
             f.click(f.Option1(0));
         },
         {}},
        {"speeds beyond the tool's range, a head picked after the tool",
         [](Form1& f) {
             PickEntry(f, f.ANGLE, u"RH1"_s);
             TypeAndLeave(f, f.Text4(6), u"20"_s);
             TypeAndLeave(f, f.Text4(3), u"9999"_s);
         },
         {}},
        {"a system without duty cycle after the tall layout",
         [](Form1& f) {
             f.click(f.Command1(3));
             TypeAndLeave(f, f.Text4(10), u"3"_s);
             PickEntry(f, f.SYSTEM, u"Tarvon"_s);
             PickEntry(f, f.TOOLLIST, u"GQY-100QH1"_s);
         },
         {}},
        {"a torque above the maximum, then another unit",
         [](Form1& f) {
             f.click(f.Command1(3));
             TypeAndLeave(f, f.Text4(9), u"60"_s);
             PickEntry(f, f.TQUNIT, u"KGM"_s);
             TypeAndLeave(f, f.Text4(8), u"3.2"_s);
         },
         {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::StartedProgram s;
        ASSERT_TRUE(s.pick(s.form().TOOLLIST, u"KRV-110QM1-05"_s));
        row.use(s.form());
        EXPECT_TRUE(row.total.isEmpty() || s.form().TOTAL.text() == row.total);
        SavedStation saved;
        EXPECT_EQ(test::ReopenedDifference(*s.program, &saved), QString());
        EXPECT_EQ(saved.differences, QStringList());
        EXPECT_EQ(saved.station.format, StationFormat);

        test::StartedProgram reopened;
        ASSERT_FALSE(ApplyStation(*reopened.program, saved.station));
        TypeAndLeave(reopened.form(), reopened.form().Text4(0), u"2.5"_s);
        EXPECT_EQ(test::ReopenedDifference(*reopened.program), QString());
    }
}

// A window a plain station cannot give is saved all the same, with what will differ in words:
// results a calculation stopped by an arithmetic failure (revolutions beyond 32-bit floats)
// left from the fields as they were before.
TEST(SavedStation, AWindowNoStationGivesIsSavedWithWhatWillDiffer) {
    const struct {
        const char* name;
        std::function<void(test::StartedProgram&)> use;
        QStringList differences;
    } rows[] = {
        {"a tightening time left by a stopped calculation",
         [](test::StartedProgram& s) {
             Form1& f = s.form();
             s.pick(f.TOOLLIST, u"KRV-110QM1-05"_s);
             TypeAndLeave(f, f.Text4(5), u"180"_s);
             f.click(f.Option1(1));
             TypeAndLeave(f, f.Text3, u"1e308"_s);
             TypeAndLeave(f, f.Text4(6), u"60"_s);
         },
         {u"ESTIMATED TOTAL TIME WILL SHOW 1.75"_s, u"TIGHTENING TIME WILL SHOW 0.50"_s}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::StartedProgram s;
        row.use(s);
        SavedStation saved;
        EXPECT_EQ(test::ReopenedDifference(*s.program, &saved), QString());
        EXPECT_EQ(saved.differences, row.differences);
    }
}

// Saving finishes the edit in progress as a button press does: the field's reaction runs.
TEST(SavedStation, SavingFinishesTheEditInProgress) {
    test::StartedProgram s;
    Form1& f = s.form();
    ASSERT_TRUE(s.pick(f.TOOLLIST, u"KRV-110QM1-05"_s));
    TypeKeys(f, f.Text4(0), u"20"_s);
    const auto saved = SaveStation(*s.program);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->station.initialTime, u"20.00"_s);
    EXPECT_EQ(f.TOTAL.text(), u"20.75"_s);
    EXPECT_EQ(f.focused(), &f.Text4(0));
}

// A catalogue that gains a tool before the saved one opens the file to the same window: the
// file names the tool, not its place.
TEST(SavedStation, OpensTheSameWhenTheCatalogueGainsATool) {
    const test::ToolLine a{u"KRV-110QM1-05"_s}, b{u"KRV-210QM2"_s, u"12"_s, 1500, 20};
    test::StartedProgram before({a, b});
    Form1& f = before.form();
    ASSERT_TRUE(before.pick(f.TOOLLIST, u"KRV-210QM2"_s));
    TypeAndLeave(f, f.Text4(6), u"45"_s);
    f.click(f.Command1(3));
    TypeAndLeave(f, f.Text4(8), u"12"_s);
    TypeAndLeave(f, f.Text4(9), u"6"_s);
    const auto saved = SaveStation(*before.program);
    ASSERT_TRUE(saved);

    test::StartedProgram after({{u"KRV-140QM2"_s}, a, b});
    ASSERT_FALSE(ApplyStation(*after.program, saved->station));
    QStringList shown = test::Shown(f), reopened = test::Shown(after.form());
    shown.removeIf([](const QString& line) { return line.startsWith(u"TOOLLIST"); });
    reopened.removeIf([](const QString& line) { return line.startsWith(u"TOOLLIST"); });
    EXPECT_EQ(reopened, shown);
    EXPECT_EQ(after.form().TOOLLIST.text().trimmed(), u"KRV-210QM2"_s);
}

TEST(ReadStation, NumbersAreTypedInTheirShortestFormAndStringsAsWritten) {
    const auto read = ReadStation(R"({"system": "MVC4800", "tool": "KRV-1", "initial_time": 0.8,
        "initial_speed": 1500, "freerun_speed": 1500.0, "tightening_angle": "12.70",
        "communication_time": "", "description": 7, "tightening_time": 1e21})");
    ASSERT_TRUE(std::holds_alternative<Station>(read));
    const Station& s = std::get<Station>(read);
    EXPECT_EQ((std::vector{s.initialTime, s.initialSpeed, s.freerunSpeed, s.tighteningAngle,
                           s.description, s.tighteningTime, s.communicationTime, s.torqueSpeed}),
              (std::vector<std::optional<QString>>{
                  u"0.8"_s, u"1500"_s, u"1500"_s, u"12.70"_s, u"7"_s, u"1e+21"_s, QString(), {}}));
    EXPECT_EQ(s.fastening, Station::Fastening::Untouched);
    EXPECT_EQ(s.format, 1);
}

} // namespace
} // namespace veldrune
