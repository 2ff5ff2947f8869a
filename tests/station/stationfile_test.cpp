#include "station/savestation.h"

#include "station/apply.h"

#include "support/qtprinters.h"
#include "support/station.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// A catalogue that gains a tool before the saved one opens the file to the same window but
// for the tool list's position: the file names the tool, not its place.
TEST(SavedStation, OpensTheSameWhenTheCatalogueGainsATool) {
    const test::ToolLine a{u"KRV-110QM1-05"_s}, b{u"KRV-210QM2"_s, u"12"_s, 1500, 20};
    test::StartedProgram before({a, b}), after({{u"KRV-140QM2"_s}, a, b});
    Form1& f = before.form();
    ASSERT_TRUE(before.pick(f.TOOLLIST, u"KRV-210QM2"_s));
    TypeAndLeave(f, f.Text4(6), u"45"_s);
    f.click(f.Command1(3));
    TypeAndLeave(f, f.Text4(9), u"6"_s);
    ASSERT_FALSE(ApplyStation(*after.program, SaveStation(*before.program)->station));
    QStringList shown = test::Shown(f), reopened = test::Shown(after.form());
    shown.removeAt(f.TOOLLIST.id() + 1); // after the line of the layout
    EXPECT_EQ(reopened.takeAt(f.TOOLLIST.id() + 1), u"TOOLLIST [KRV-210QM2          ] 110 3"_s);
    EXPECT_EQ(reopened, shown);
}

} // namespace
} // namespace veldrune
