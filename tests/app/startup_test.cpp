#include "app/startup.h"

#include "catalogue/toolinfo.h"
#include "report/captions.h"
#include "support/qtprinters.h"
#include "support/station.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

TEST(CommandLine, FindsSwitchesAnywhereInEitherCase) {
    // The arguments joined by blanks, and what they ask for: D the print test, E to skip the
    // caption file.
    const std::pair<const char16_t*, std::string> rows[] = {
        {u"", ""},     {u"/", ""},     {u"/d", "D"}, {u"/e", "E"}, {u"/D /E", "DE"},
        {u"/DE", "D"}, {u"x/dy", "D"}, {u"d/", ""},  {u"a/ e", ""}};
    for (const auto& [commandLine, asked] : rows) {
        Form1 form;
        ProgramFlags flags;
        ScanCommandLine(QString::fromUtf16(commandLine), form, flags);
        EXPECT_EQ(std::string(form.PRNTEST.visible() ? "D" : "") +
                      (flags.SkipCaptionFile ? "E" : ""),
                  asked)
            << QString::fromUtf16(commandLine).toStdString();
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
    // Centred, in the bolt length mode, with the focus on the tool list.
    EXPECT_DOUBLE_EQ(f.left(), (19200 - 12000) / 2.0);
    EXPECT_TRUE(f.Option1(0).value() && !f.Text3.enabled());
    EXPECT_EQ(f.focused(), &f.TOOLLIST);
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
    // Taller than the screen (the tall layout at a scale factor of 2 on 1200 pixels): the
    // top-left corner stays on it.
    CentreForm(form, {19201, 5000});
    EXPECT_DOUBLE_EQ(form.top(), 0);
    for (const WindowState state : {WindowState::Maximised, WindowState::Minimised}) {
        form.setState(state);
        CentreForm(form, {30000, 30000});
        EXPECT_DOUBLE_EQ(form.left(), (19201 - 11880) / 2.0);
    }
}

} // namespace
} // namespace veldrune
