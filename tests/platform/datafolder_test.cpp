#include "platform/platform.h"
#include "platform/recordingplatform.h"

#include "support/fakeplatform.h"
#include "support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

const QString Name = u"TOOLINFO.LST"_s;

TEST(DataFilePath, PrefersTheProgramFolderThenTheDataFolder) {
    enum Copy { None, Empty, Full };
    struct Row {
        const char* name;
        Copy beside, installed;
        bool hasDataFolder, besideFound; // else the data folder's
    };
    const Row rows[] = {
        {"OnlyBeside", Full, None, true, true},
        {"OnlyInstalled", None, Full, true, false},
        {"BothBesideWins", Full, Full, true, true},
        // An empty file beside the program is still the user's; its reader reports it.
        {"EmptyBesideWins", Empty, Full, true, true},
        {"EmptyInstalledIsThere", None, Empty, true, false},
        // Missing everywhere: the reader gets the usual path and reports the file missing.
        {"NeitherGivesBeside", None, None, true, true},
        // Without a data folder, a file of that name in the current folder is not taken.
        {"NoDataFolderIgnoresTheCurrentFolder", None, Full, false, true}};
    // Whether a file is there is left to Platform's own answer, which asks readFile.
    struct Installed : test::FakePlatform {
        QString data;
        QString dataFolder() const override { return data; }
    };
    const QString dataFolder = u"/usr/share/veldrune"_s;
    for (const Row& row : rows) {
        Installed platform;
        platform.data = row.hasDataFolder ? dataFolder : QString();
        const auto put = [&](const QString& folder, Copy copy) {
            if (copy != None)
                platform.writeFile(JoinPath(folder, Name), copy == Full ? "KRV" : "");
        };
        put(platform.programFolder(), row.beside);
        put(platform.data, row.installed);
        EXPECT_EQ(DataFilePath(platform, Name),
                  JoinPath(row.besideFound ? platform.programFolder() : dataFolder, Name))
            << row.name;
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
    EXPECT_EQ(DataFilePath(platform, Name), installed);
    EXPECT_EQ(platform.readFile(DataFilePath(platform, Name)), "installed");

    ASSERT_TRUE(QDir().mkdir(beside)); // a folder of that name is no file
    EXPECT_EQ(DataFilePath(platform, Name), installed);
    ASSERT_TRUE(QDir().rmdir(beside));
    ASSERT_EQ(platform.writeFile(beside, ""), QString());
    EXPECT_EQ(DataFilePath(platform, Name), beside);
}

} // namespace
} // namespace veldrune
