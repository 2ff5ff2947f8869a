#include "station/stationfile.h"

#include "station/runner.h"

#include "support/qtprinters.h"
#include "support/station.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// Windows the plain form of a station file cannot give, and one it can: each saved file
// reopens to the very same window, and so does the reopened window, used further and saved
// again.
TEST(SavedStation, ReopensAsTheWindowShowedItWhateverTheUserDid) {
    const struct {
        const char* name;
        std::function<void(Form1&)> use;
        QString total; // the window's estimated total time, where it matters
        bool plain;    // the plain form gives the window
    } rows[] = {
        {"a bolt length cleared",
         [](Form1& f) {
             TypeAndLeave(f, f.Text1, u"20"_s);
             TypeAndLeave(f, f.Text2, u"1"_s);
             TypeAndLeave(f, f.Text1, u""_s);
         },
         u"2.44"_s, false},
        {"the short layout after a recovery time",
         [](Form1& f) {
             f.click(f.Command1(3));
             TypeAndLeave(f, f.Text4(10), u"30"_s);
             f.click(f.Command1(3));
         },
         u"31.75"_s, false},
        {"a system without duty cycle after the tall layout",
         [](Form1& f) {
             f.click(f.Command1(3));
             PickEntry(f, f.SYSTEM, u"Tarvon"_s);
             PickEntry(f, f.TOOLLIST, u"GQY-100QH1"_s);
         },
         {},
         false},
        {"bolt data greyed by the revolutions option",
         [](Form1& f) {
             TypeAndLeave(f, f.Text1, u"20"_s);
             f.click(f.Option1(1));
         },
         {},
         false},
        {"a station as a file gives it",
         [](Form1& f) {
             TypeAndLeave(f, f.Text1, u"20"_s);
             TypeAndLeave(f, f.Text2, u"1.25"_s);
         },
         {},
         true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::StartedProgram s;
        ASSERT_TRUE(s.pick(s.form().TOOLLIST, u"KRV-110QM1-05"_s));
        row.use(s.form());
        EXPECT_TRUE(row.total.isEmpty() || s.form().TOTAL.text() == row.total);
        Station saved;
        EXPECT_EQ(test::ReopenedDifference(*s.program, {}, &saved), QString());
        EXPECT_EQ(saved.session.empty(), row.plain);

        test::StartedProgram reopened;
        ASSERT_FALSE(ApplyStation(*reopened.program, saved));
        reopened.form().startJournal();
        TypeAndLeave(reopened.form(), reopened.form().Text4(0), u"2.5"_s);
        EXPECT_EQ(test::ReopenedDifference(*reopened.program, saved), QString());
    }
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
}

} // namespace
} // namespace veldrune
