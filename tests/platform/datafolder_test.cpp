#include "platform/platform.h"
#include "platform/recordingplatform.h"

#include "support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

const QString ProgramFolder = u"/opt/veldrune/bin"_s;
const QString DataFolder = u"/opt/veldrune/share/veldrune"_s;
const QString Name = u"TOOLINFO.LST"_s;

// Files in memory and a data folder of the test's choosing; whether a file is there is left
// to Platform's own answer, which asks readFile.
class InstalledPlatform : public Platform {
public:
    explicit InstalledPlatform(QString dataFolder)
        : m_dataFolder(std::move(dataFolder)) {}

    void put(const QString& path, const QByteArray& bytes) { m_files[path] = bytes; }

    QString programFolder() const override { return ProgramFolder; }
    QString workingFolder() const override { return u"/home/planner"_s; }
    QString dataFolder() const override { return m_dataFolder; }
    std::int32_t fileSize(const QString& path) const override {
        const auto it = m_files.find(path);
        return it == m_files.end() ? 0 : std::int32_t(it->second.size());
    }
    std::optional<QByteArray> readFile(const QString& path) const override {
        const auto it = m_files.find(path);
        return it == m_files.end() ? std::nullopt : std::optional(it->second);
    }
    void showMessage(const QString&, MessageIcon, const QString&) override {}
    QStringList listFiles(const QString&, const QString&) const override { return {}; }
    QSizeF screenSize() const override { return {}; }
    std::unique_ptr<QPagedPaintDevice> choosePrinter() override { return nullptr; }
    QSizeF printerPageSize() const override { return A4InTwips; }

private:
    QString m_dataFolder;
    std::map<QString, QByteArray> m_files;
};

enum class Copy { None, Empty, Full };
enum class Found { Beside, Installed };

struct LookupCase {
    const char* name;
    Copy beside;
    Copy installed;
    bool hasDataFolder;
    Found found;
};

void PrintTo(const LookupCase& c, std::ostream* os) {
    *os << c.name;
}

class DataFileLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(DataFileLookup, PrefersTheProgramFolderThenTheDataFolder) {
    const LookupCase& c = GetParam();
    InstalledPlatform platform(c.hasDataFolder ? DataFolder : QString());
    const auto put = [&](const QString& folder, Copy copy) {
        if (copy != Copy::None)
            platform.put(JoinPath(folder, Name), copy == Copy::Full ? "KRV" : "");
    };
    put(ProgramFolder, c.beside);
    put(c.hasDataFolder ? DataFolder : QString(), c.installed);

    const QString expected = c.found == Found::Beside ? ProgramFolder + u"/TOOLINFO.LST"_s
                                                      : DataFolder + u"/TOOLINFO.LST"_s;
    EXPECT_EQ(DataFilePath(platform, Name), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Copies, DataFileLookup,
    ::testing::Values(
        LookupCase{"OnlyBeside", Copy::Full, Copy::None, true, Found::Beside},
        LookupCase{"OnlyInstalled", Copy::None, Copy::Full, true, Found::Installed},
        LookupCase{"BothBesideWins", Copy::Full, Copy::Full, true, Found::Beside},
        // An empty file beside the program is still the user's; its reader reports it.
        LookupCase{"EmptyBesideWins", Copy::Empty, Copy::Full, true, Found::Beside},
        LookupCase{"EmptyInstalledIsThere", Copy::None, Copy::Empty, true, Found::Installed},
        // Missing everywhere: the reader gets the usual path and reports the file missing.
        LookupCase{"NeitherGivesBeside", Copy::None, Copy::None, true, Found::Beside},
        // Without a data folder, a file of that name in the current folder is not taken.
        LookupCase{"NoDataFolderIgnoresTheCurrentFolder", Copy::None, Copy::Full, false,
                   Found::Beside}),
    [](const auto& info) { return info.param.name; });

TEST(InstalledDataFolder, IsShareVeldruneBesideTheProgramsBinFolder) {
    const std::pair<QString, QString> cases[] = {
        {u"/usr/bin"_s, u"/usr/share/veldrune"_s},
        {u"/opt/veldrune/bin/"_s, u"/opt/veldrune/share/veldrune"_s},
        {u"/work/main/build"_s, u"/work/main/share/veldrune"_s}, // a build folder has none
        {QString(), QString()}, // no program folder, no installation around it
    };
    for (const auto& [programFolder, dataFolder] : cases)
        EXPECT_EQ(InstalledDataFolder(programFolder), dataFolder) << programFolder.toStdString();

    // The platforms of both programs build on the local files, which look there.
    EXPECT_EQ(RecordingPlatform(u"/usr/local/bin"_s, u"/tmp"_s).dataFolder(),
              u"/usr/local/share/veldrune"_s);
}

// An installation on disk: <prefix>/bin with the programs, <prefix>/share/veldrune with the
// data files.
class InstalledTree : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(prefix.isValid());
        ASSERT_TRUE(QDir(prefix.path()).mkpath(u"bin"_s));
        ASSERT_TRUE(QDir(prefix.path()).mkpath(u"share/veldrune"_s));
    }
    QString bin() const { return prefix.filePath(u"bin"_s); }
    QString share() const { return prefix.filePath(u"share/veldrune"_s); }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir prefix;
};

TEST_F(InstalledTree, FindsTheInstalledFileUntilOneIsPutBesideTheProgram) {
    const RecordingPlatform platform(bin(), QDir::tempPath());
    write(JoinPath(share(), Name), "installed");
    EXPECT_EQ(DataFilePath(platform, Name), JoinPath(share(), Name));
    EXPECT_EQ(platform.readFile(DataFilePath(platform, Name)), "installed");

    write(JoinPath(bin(), Name), "");
    EXPECT_EQ(DataFilePath(platform, Name), JoinPath(bin(), Name));
}

TEST_F(InstalledTree, AFolderOfThatNameBesideTheProgramIsNoFile) {
    const RecordingPlatform platform(bin(), QDir::tempPath());
    ASSERT_TRUE(QDir(bin()).mkdir(Name));
    write(JoinPath(share(), Name), "installed");
    EXPECT_EQ(DataFilePath(platform, Name), JoinPath(share(), Name));
}

} // namespace
} // namespace veldrune
