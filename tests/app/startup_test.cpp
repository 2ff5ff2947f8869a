#include "app/startup.h"
#include "app/veldrune.h"

#include "support/fakeplatform.h"
#include "support/qtprinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

class StartUp : public ::testing::Test {
protected:
    StartUp() { platform.putShippedCatalogue(); }
    Form1& start(const QString& commandLine = {}) {
        program.startUp(commandLine);
        return program.form();
    }

    test::FakePlatform platform;
    Veldrune program{platform};
};

TEST_F(StartUp, LeavesTheWindowReadyForTheFirstToolPick) {
    Form1& f = start();
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_EQ(f.SYSTEM.entries(), (QStringList{u"MVC2400"_s, u"Tarvon"_s, u"MVC4800"_s}));
    EXPECT_EQ(f.SYSTEM.text(), u"MVC4800"_s);
    EXPECT_TRUE(f.SYSTEM.enabled());
    EXPECT_EQ(f.DURR.entries(), (QStringList{u"2"_s, u"4"_s, u"8"_s, u"16"_s}));
    EXPECT_EQ(f.DURR.text(), u"4"_s);
    EXPECT_TRUE(f.Option1(0).value());
    EXPECT_FALSE(f.Option1(1).value());
    EXPECT_EQ(f.focused(), &f.TOOLLIST);
    EXPECT_FALSE(program.flags().LoadSectionShown);
    EXPECT_FALSE(program.flags().PressMode);
    EXPECT_FALSE(program.flags().SkipCaptionFile);
    EXPECT_EQ(f.caption(), u"QEL VELDRUNE"_s);
    EXPECT_EQ(program.modeCaptions()[12], u"TIGHTENING TIME"_s);
    EXPECT_EQ(program.catalogue().Motors[13].PeakTorque, 4.3);
}

TEST_F(StartUp, BoltLengthModeGreysTheRevolutionsField) {
    Form1& f = start();
    EXPECT_TRUE(f.Text1.enabled());
    EXPECT_TRUE(f.Text2.enabled());
    EXPECT_EQ(f.Text1.backColour(), FieldColour);
    EXPECT_FALSE(f.Text3.enabled());
    EXPECT_EQ(f.Text3.backColour(), GreyColour);
}

TEST_F(StartUp, OpensShortAndCentred) {
    Form1& f = start();
    EXPECT_EQ(f.height(), CompactHeight);
    EXPECT_EQ(f.width(), 12000);
    EXPECT_DOUBLE_EQ(f.left(), (19200 - 12000) / 2.0);
    EXPECT_DOUBLE_EQ(f.top(), (16200 - 6500) / 2.0);
    // The duty-cycle section is cut off below, two of its fields hidden outright.
    EXPECT_FALSE(f.Text4(8).shown());
    EXPECT_FALSE(f.Text4(9).shown());
    EXPECT_FALSE(f.Line1.shown());
    EXPECT_FALSE(f.Line2.shown());
    for (Control* c : {&f.Text4(10), &f.TQUNIT, &f.DURR, &f.PREVILING})
        EXPECT_TRUE(f.canTakeFocus(*c)) << c->displayName().toStdString();
    for (Control* c : {&f.File1, &f.Picture1, &f.Dialog, &f.PRNTEST})
        EXPECT_FALSE(c->shown()) << c->displayName().toStdString();
}

TEST(StartUpWithoutCatalogue, ReportsTheMissingFileOnceAndGoesOn) {
    test::FakePlatform platform;
    Veldrune program(platform);
    program.startUp({});
    EXPECT_EQ(platform.messageTexts(), QStringList{u"TOOL INFORMATION FILE IS MISSING"_s});
    EXPECT_EQ(program.form().TOOLLIST.entries(), QStringList{u"SELECT TOOL TYPE"_s});
    EXPECT_EQ(program.form().height(), CompactHeight);
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
                                           SwitchCase{"Twice", u"/e/E", false, true},
                                           SwitchCase{"SlashLast", u"d/", false, false},
                                           SwitchCase{"OtherArguments", u"station.json -x", false,
                                                      false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, ArgumentsAreJoinedWithSingleBlanks) {
    EXPECT_EQ(JoinArguments({u"/"_s, u"D"_s}), u"/ D"_s);
    Form1 form;
    ProgramFlags flags;
    ScanCommandLine(JoinArguments({u"a/"_s, u"e"_s}), form, flags);
    EXPECT_FALSE(flags.SkipCaptionFile); // "/ e": the blank breaks the pair
}

TEST(CentreForm, MinimisedOrMaximisedWindowsStayWhereTheyAre) {
    Form1 form;
    form.setPosition(10, 20);
    for (const WindowState state : {WindowState::Maximised, WindowState::Minimised}) {
        form.setState(state);
        CentreForm(form, {19200, 16200});
        EXPECT_EQ(form.left(), 10);
        EXPECT_EQ(form.top(), 20);
    }
    form.setState(WindowState::Normal);
    form.setHeight(6501);
    CentreForm(form, {19201, 16200});
    EXPECT_DOUBLE_EQ(form.left(), 3600.5); // not rounded
    EXPECT_DOUBLE_EQ(form.top(), 4849.5);
}

} // namespace
} // namespace veldrune
