#include "catalogue/toollists.h"

#include "support/qtprinters.h"
#include "support/station.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

using test::StartedProgram;
using test::ToolLine;

// The tools the list offers, without their blanks.
QString offered(Form1& f) {
    QStringList names;
    for (int i = 1; i < f.TOOLLIST.listCount(); ++i)
        names.append(f.TOOLLIST.entry(i).trimmed());
    return names.join(u',');
}

TEST(ToolLists, EachSystemOffersItsOwnSeriesAndSetsTheButtonAndLists) {
    StartedProgram s({ToolLine{u"PZS-520"_s}, ToolLine{u"PZS-520QM4-S"_s}, ToolLine{u"KRV-110"_s},
                      ToolLine{u"GQY-100"_s}, ToolLine{u"LMW-200"_s},
                      ToolLine{u"PZS-820QM4-S20"_s}});
    Form1& f = s.form();
    // The tools offered, the list's width, whether heads and LOAD CALCULATION are offered.
    const std::pair<QString, QString> systems[] = {
        {u"MVC4800"_s, u"PZS-520QM4-S,KRV-110,PZS-820QM4-S20 2215 heads load"_s},
        {u"MVC2400"_s, u"PZS-520,PZS-520QM4-S,PZS-820QM4-S20 3075 load"_s},
        {u"Tarvon"_s, u"GQY-100 3075"_s}};
    for (const auto& [system, shown] : systems) {
        s.pick(f.SYSTEM, system);
        EXPECT_EQ(offered(f) + u' ' + QString::number(f.TOOLLIST.place().width) +
                      (f.ANGLE.visible() ? u" heads"_s : QString()) +
                      (f.Command1(3).enabled() ? u" load"_s : QString()),
                  shown);
    }
    // Entries keep the catalogue's full twenty characters.
    EXPECT_EQ(f.TOOLLIST.entry(1), u"GQY-100             "_s);
}

TEST(ToolLists, NmMarkerInTheWorkingFolderLimitsTheUnits) {
    StartedProgram limited({{u"KRV-110"_s}}, {u"NM.TXT"_s});
    Form1& f = limited.form();
    EXPECT_EQ(f.TQUNIT.entries(), QStringList{u"NM"_s});
    for (int u = 0; u < 5; ++u) {
        EXPECT_EQ(f.Label4(u).visible(), u == 0) << u;
        EXPECT_EQ(f.Label5(u).visible(), u == 0) << u;
    }
}

TEST(ToolLists, ChangingTheSystemKeepsTheRatingsOfThePickedToolAndSetsTheCaptions) {
    StartedProgram s({{u"KRV-110"_s, u"50"_s}, {u"GQY-100"_s}});
    Form1& f = s.form();
    s.pick(f.TOOLLIST, u"KRV-110"_s);
    s.program->modeCaptions()[15] = u"TURNS"_s;
    s.pick(f.SYSTEM, u"Tarvon"_s);
    EXPECT_EQ(f.TOOLLIST.text(), u"SELECT TOOL TYPE"_s);
    EXPECT_EQ(f.Label4(0).text(), u" 50.00"_s);
    EXPECT_EQ(s.selection().SelectedTool, 1);
    EXPECT_EQ(f.Label11(3).text(), u"TURNS"_s); // the nutrunner layout's mode caption
    EXPECT_FALSE(f.Frame3.visible());
}

TEST(ToolPick, SelectsTheToolWithoutAHeadShowsItAndMovesTheFocusToTheFasteningData) {
    StartedProgram s({{u"GQY-100"_s}, {u"KRV-220QT2-A"_s, u"29.4"_s, 1600, 48}});
    Form1& f = s.form();
    ASSERT_TRUE(s.pick(f.TOOLLIST, u"KRV-220QT2-A"_s));
    EXPECT_EQ(s.selection().SelectedTool, 2);
    EXPECT_EQ(f.Label3(0).text(), u"1600 RPM"_s);
    EXPECT_EQ(f.focused(), &f.Text1);
    EXPECT_TRUE(s.platform.messages().empty());

    // Picking the tool again starts without a head; in the revolutions mode the focus goes to
    // the revolutions field.
    s.pick(f.ANGLE, u"RH3"_s);
    EXPECT_TRUE(f.Frame4.visible());
    f.click(f.Option1(1));
    s.pick(f.TOOLLIST, u"KRV-220QT2-A"_s);
    EXPECT_EQ(f.ANGLE.text(), u" "_s);
    EXPECT_FALSE(f.Frame4.visible());
    EXPECT_EQ(f.focused(), &f.Text3);
}

TEST(AngleHeads, EachToolIsOfferedTheHeadsThatFitIt) {
    StartedProgram s(
        {{u"PZS-520QM4-S12"_s}, {u"KRV-320QM3"_s}, {u"KRV-999QM1"_s}, {u"KRV-220QT2-A"_s}});
    Form1& f = s.form();
    const std::pair<QString, QString> expected[] = {{u"PZS-520QM4-S12"_s, u" ,RH5"_s},
                                                    {u"KRV-320QM3"_s, u" ,RH4,RH5"_s},
                                                    {u"KRV-999QM1"_s, u" "_s},
                                                    {u"KRV-220QT2-A"_s, u" ,RH3,RH4"_s}};
    for (const auto& [model, heads] : expected) {
        ASSERT_TRUE(s.pick(f.TOOLLIST, model));
        EXPECT_EQ(f.ANGLE.entries().join(u','), heads) << model.toStdString();
    }
}

} // namespace
} // namespace veldrune
