#include "platform/platform.h"
#include "platform/recordingplatform.h"

#include "support/fakeplatform.h"
#include "support/qtprinters.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

const QString Name = u"TOOLINFO.LST"_s;

// A file beside the program wins over the data folder's, even an empty one (the user's; its
// reader reports it). Missing everywhere, the reader gets the path beside the program and
// reports the file missing. Without a data folder, the current folder's file is not taken.
TEST(DataFilePath, PrefersTheProgramFolderThenTheDataFolder) {
    // Whether a file is there is left to Platform's own answer, which asks readFile.
    struct Installed : test::FakePlatform {
        QString data;
        QString dataFolder() const override { return data; }
    };
    const QString dataFolder = u"/usr/share/veldrune"_s;
    const char* const none = nullptr;
    // The file beside the program and in the data folder, whether there is a data folder,
    // whether the one beside the program is taken.
    using Row = std::tuple<const char*, const char*, bool, bool>;
    const Row rows[] = {Row{none, "KRV", true, false}, Row{"", "KRV", true, true},
                        Row{none, "", true, false}, Row{none, none, true, true},
                        Row{none, "KRV", false, true}};
    for (const auto& [beside, installed, hasDataFolder, besideFound] : rows) {
        Installed platform;
        platform.data = hasDataFolder ? dataFolder : QString();
        for (const auto& [folder, bytes] :
             {std::pair(platform.programFolder(), beside), std::pair(platform.data, installed)}) {
            if (bytes)
                platform.writeFile(JoinPath(folder, Name), bytes);
        }
        EXPECT_EQ(DataFilePath(platform, Name),
                  JoinPath(besideFound ? platform.programFolder() : dataFolder, Name))
            << (beside ? beside : "none") << ' ' << (installed ? installed : "none") << ' '
            << hasDataFolder;
    }
}

TEST(InstalledDataFolder, IsShareVeldruneBesideTheProgramsBinFolder) {
    const std::pair<QString, QString> cases[] = {
        {u"/usr/bin"_s, u"/usr/share/veldrune"_s},
        {u"/opt/veldrune/bin/"_s, u"/opt/veldrune/share/veldrune"_s},
        {u"/work/main/build"_s, u"/work/main/share/veldrune"_s}, // a build folder has none
        {QString(), QString()}, // no program folder, no installation around it
    };
    for (const auto& [programFolder, dataFolder] : cases)
        EXPECT_EQ(InstalledDataFolder(programFolder), dataFolder) << programFolder.toStdString();
}

// An installation on disk: <prefix>/bin with the programs, <prefix>/share/veldrune with the
// data files. The platforms of both programs build on the local files, which look there.
TEST(InstalledTree, FindsTheInstalledFileUntilAFileIsPutBesideTheProgram) {
    QTemporaryDir prefix;
    ASSERT_TRUE(QDir(prefix.path()).mkpath(u"bin"_s));
    ASSERT_TRUE(QDir(prefix.path()).mkpath(u"share/veldrune"_s));
    const QString beside = prefix.filePath(u"bin/TOOLINFO.LST"_s);
    const QString installed = prefix.filePath(u"share/veldrune/TOOLINFO.LST"_s);
    RecordingPlatform platform(prefix.filePath(u"bin"_s), QDir::tempPath());
    ASSERT_EQ(platform.writeFile(installed, "installed"), QString());
    EXPECT_EQ(platform.readFile(DataFilePath(platform, Name)), "installed");

    ASSERT_EQ(platform.writeFile(beside, ""), QString());
    EXPECT_EQ(DataFilePath(platform, Name), beside);
}

} // namespace
} // namespace veldrune
