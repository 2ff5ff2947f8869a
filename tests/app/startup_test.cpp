#include "app/startup.h"
#include "app/veldrune.h"

#include "support/fakeplatform.h"
#include "support/qtprinters.h"
#include "window/useractions.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

TEST(StartUp, LeavesTheWindowShortCentredAndReadyForTheFirstToolPick) {
    test::FakePlatform platform;
    platform.putShippedCatalogue();
    Veldrune program(platform);
    program.startUp({});
    Form1& f = program.form();
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_EQ(f.SYSTEM.entries(), (QStringList{u"MVC2400"_s, u"Tarvon"_s, u"MVC4800"_s}));
    EXPECT_EQ(f.SYSTEM.text(), u"MVC4800"_s);
    EXPECT_GT(f.TOOLLIST.listCount(), 10);
    EXPECT_EQ(f.DURR.entries(), (QStringList{u"2"_s, u"4"_s, u"8"_s, u"16"_s}));
    EXPECT_EQ(f.DURR.text(), u"4"_s);
    EXPECT_TRUE(f.Option1(0).value());
    EXPECT_FALSE(f.Text3.enabled());
    EXPECT_EQ(f.Text3.backColour(), GreyColour);
    EXPECT_EQ(f.Text4(5).text(), u"90.0"_s);
    EXPECT_EQ(f.focused(), &f.TOOLLIST);

    EXPECT_EQ(f.height(), CompactHeight);
    EXPECT_DOUBLE_EQ(f.left(), (19200 - 12000) / 2.0);
    EXPECT_DOUBLE_EQ(f.top(), (16200 - 6500) / 2.0);
    // The duty-cycle section is out of sight: two of its fields are hidden outright, and Tab
    // passes over the rest.
    EXPECT_FALSE(f.Text4(8).shown());
    EXPECT_FALSE(f.Line1.shown());
    for (Control* c : {&f.Text4(10), &f.TQUNIT, &f.DURR, &f.PREVILING, &f.Picture2})
        EXPECT_FALSE(f.canTakeFocus(*c)) << c->displayName().toStdString();
    for (Control* c : {&f.File1, &f.Picture1, &f.Dialog, &f.PRNTEST})
        EXPECT_FALSE(c->shown()) << c->displayName().toStdString();
}

TEST(StartUp, WithoutCatalogueReportsTheMissingFileOnceAndGoesOn) {
    test::FakePlatform platform;
    Veldrune(platform).startUp({});
    EXPECT_EQ(platform.messageTexts(), QStringList{u"TOOL INFORMATION FILE IS MISSING"_s});
}

struct SwitchCase {
    const char* name;
    const char16_t* commandLine;
    bool printTest;
    bool skipCaptions;
};

void PrintTo(const SwitchCase& c, std::ostream* os) {
    *os << c.name;
}

class CommandLine : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(CommandLine, FindsSwitchesAnywhereInEitherCase) {
    Form1 form;
    ProgramFlags flags;
    ScanCommandLine(QString::fromUtf16(GetParam().commandLine), form, flags);
    EXPECT_EQ(form.PRNTEST.visible(), GetParam().printTest);
    EXPECT_EQ(flags.SkipCaptionFile, GetParam().skipCaptions);
}

INSTANTIATE_TEST_SUITE_P(Switches, CommandLine,
                         ::testing::Values(SwitchCase{"Empty", u"", false, false},
                                           SwitchCase{"SingleCharacter", u"/", false, false},
                                           SwitchCase{"LowerD", u"/d", true, false},
                                           SwitchCase{"LowerE", u"/e", false, true},
                                           SwitchCase{"Both", u"/D /E", true, true},
                                           SwitchCase{"GluedPairIsOnlyD", u"/DE", true, false},
                                           SwitchCase{"InsideOtherText", u"x/dy", true, false},
                                           SwitchCase{"SlashLast", u"d/", false, false},
                                           SwitchCase{"ArgumentsJoinedByBlanks", u"a/ e", false,
                                                      false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StartUp, ACaptionFileTranslatesTheWindowAndToolPicksKeepThatWording) {
    test::FakePlatform platform;
    platform.putShippedCatalogue();
    platform.putProgramFile(u"VELDRUNE.TXT"_s, "6\tMAXIMALES DREHMOMENT\n"
                                               "8\tKG-M\n"
                                               "27\tANZIEHZEIT\n"
                                               "21\tUMDREHUNGEN\n");
    Veldrune program(platform);
    program.startUp({});
    Form1& f = program.form();
    ASSERT_TRUE(PickEntry(f, f.TOOLLIST, u"KRV-110QM1-05"_s));
    EXPECT_EQ(f.Frame1.text(), u"MAXIMALES DREHMOMENT"_s);
    EXPECT_EQ(f.Label10(4).text(), u"ANZIEHZEIT"_s); // through the mode captions
    EXPECT_EQ(f.Label11(3).text(), u"UMDREHUNGEN"_s);
    EXPECT_EQ(f.Label5(1).text(), u"KGM"_s); // the unit names are the tool lists' own
    // Keys the file left out: their mode captions are empty, and so are their labels.
    EXPECT_EQ(f.Label10(5).text(), QString());
}

TEST(StartUp, StationFilesAreNotSearchedForSwitches) {
    const Arguments split =
        SplitArguments({u"/data/dock/station.json"_s, u"/E"_s, u"B.JSON"_s, u"x/d"_s});
    EXPECT_EQ(split.stationFiles, (QStringList{u"/data/dock/station.json"_s, u"B.JSON"_s}));
    EXPECT_EQ(split.commandLine, u"/E x/d"_s);
}

TEST(CentreForm, CentresByTheRealOuterSizeUnlessMinimisedOrMaximised) {
    Form1 form;
    form.setHeight(6501);
    form.setFrameExtent(0, 450); // the window system's frame, smaller than the laid-out one
    CentreForm(form, {19201, 16200});
    EXPECT_DOUBLE_EQ(form.left(), (19201 - 11880) / 2.0); // not rounded
    EXPECT_DOUBLE_EQ(form.top(), (16200 - (6501 - 510) - 450) / 2.0);
    for (const WindowState state : {WindowState::Maximised, WindowState::Minimised}) {
        form.setState(state);
        CentreForm(form, {30000, 30000});
        EXPECT_DOUBLE_EQ(form.left(), (19201 - 11880) / 2.0);
    }
}

} // namespace
} // namespace veldrune
