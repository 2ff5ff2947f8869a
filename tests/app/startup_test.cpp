#include "app/startup.h"

#include "catalogue/toolinfo.h"
#include "report/captions.h"
#include "support/qtprinters.h"
#include "support/station.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

TEST(StartUp, LeavesTheWindowCentredInTheBoltLengthModeWithTheFocusOnTheToolList) {
    test::StartedProgram s;
    Form1& f = s.form();
    EXPECT_TRUE(f.Option1(0).value());
    EXPECT_FALSE(f.Text3.enabled());
    EXPECT_EQ(f.focused(), &f.TOOLLIST);
    EXPECT_DOUBLE_EQ(f.left(), (19200 - 12000) / 2.0);
    EXPECT_DOUBLE_EQ(f.top(), (16200 - 6500) / 2.0);
}

TEST(CommandLine, FindsSwitchesAnywhereInEitherCase) {
    const struct {
        const char16_t* commandLine;
        bool printTest;
        bool skipCaptions;
    } rows[] = {
        {u"", false, false},     {u"/", false, false},
        {u"/d", true, false},    {u"/e", false, true},
        {u"/D /E", true, true},  {u"/DE", true, false}, // only /D
        {u"x/dy", true, false},  {u"d/", false, false},
        {u"a/ e", false, false}, // the arguments joined by blanks
    };
    for (const auto& row : rows) {
        Form1 form;
        ProgramFlags flags;
        const QString commandLine = QString::fromUtf16(row.commandLine);
        ScanCommandLine(commandLine, form, flags);
        EXPECT_EQ(form.PRNTEST.visible(), row.printTest) << commandLine.toStdString();
        EXPECT_EQ(flags.SkipCaptionFile, row.skipCaptions) << commandLine.toStdString();
    }
}

TEST(CommandLine, StationFilesAreNotSearchedForSwitches) {
    const Arguments split =
        SplitArguments({u"/data/dock/station.json"_s, u"/E"_s, u"B.JSON"_s, u"x/d"_s});
    EXPECT_EQ(split.stationFiles, (QStringList{u"/data/dock/station.json"_s, u"B.JSON"_s}));
    EXPECT_EQ(split.commandLine, u"/E x/d"_s);
}

// An installed program: besides the files of its own folder, the data folder holds files.
struct InstalledPlatform : test::FakePlatform {
    QString dataFolder() const override { return u"/usr/share/veldrune"_s; }
    void putDataFile(const QString& name, const QByteArray& bytes) {
        writeFile(JoinPath(dataFolder(), name), bytes);
    }
};

TEST(StartUp, ReadsTheCatalogueAndTheWordingOnceAndToolPicksKeepThatWording) {
    InstalledPlatform platform;
    platform.putDataFile(ToolInfoFileName, test::CatalogueFile({{u"KRV-110QM1-05"_s}}));
    platform.putDataFile(CaptionFileName, "8\tKG-M\n12\tVERSCHRAUBUNG\n27\tANZIEHZEIT\n");
    Veldrune program(platform);
    program.startUp({});
    Form1& f = program.form();
    // Files that change or go while the program runs change nothing: choosing the system
    // again fills the lists again, from the catalogue read at start.
    platform.putDataFile(ToolInfoFileName, {});
    platform.putDataFile(CaptionFileName, "12\tOTHER\n27\tOTHER\n");
    f.pick(f.SYSTEM, 0);
    f.pick(f.SYSTEM, 2);
    ASSERT_TRUE(PickEntry(f, f.TOOLLIST, u"KRV-110QM1-05"_s));
    EXPECT_EQ(f.Frame2.text(), u"VERSCHRAUBUNG"_s);
    EXPECT_EQ(f.Label10(4).text(), u"ANZIEHZEIT"_s); // through the mode captions
    EXPECT_EQ(f.Label5(1).text(), u"KGM"_s);         // the unit names are the tool lists' own
    EXPECT_TRUE(platform.messages().empty());
}

TEST(StartUp, ACatalogueMissingEverywhereIsReportedOnce) {
    InstalledPlatform platform;
    Veldrune(platform).startUp({});
    EXPECT_EQ(platform.messageTexts(), QStringList{u"TOOL INFORMATION FILE IS MISSING"_s});
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
