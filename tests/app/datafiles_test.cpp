#include "app/veldrune.h"

#include "catalogue/toolinfo.h"
#include "report/captions.h"

#include "support/fakeplatform.h"
#include "support/qtprinters.h"

#include <gtest/gtest.h>

#include <QFile>

#include <map>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// An installed program: besides the files of its own folder, the data folder holds files.
class InstalledPlatform : public test::FakePlatform {
public:
    static inline const QString DataFolder = u"/usr/share/veldrune"_s;

    void putDataFile(const QString& name, const QByteArray& bytes) {
        m_dataFiles[JoinPath(DataFolder, name)] = bytes;
    }

    QString dataFolder() const override { return DataFolder; }
    std::int32_t fileSize(const QString& path) const override {
        const auto it = m_dataFiles.find(path);
        return it == m_dataFiles.end() ? FakePlatform::fileSize(path)
                                       : std::int32_t(it->second.size());
    }
    std::optional<QByteArray> readFile(const QString& path) const override {
        const auto it = m_dataFiles.find(path);
        return it == m_dataFiles.end() ? FakePlatform::readFile(path) : it->second;
    }

private:
    std::map<QString, QByteArray> m_dataFiles;
};

QByteArray ShippedCatalogue() {
    QFile file(QStringLiteral(VELDRUNE_SHIPPED_DATA "/TOOLINFO.LST"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(InstalledDataFiles, TheCatalogueAndCaptionsOfTheDataFolderAreRead) {
    InstalledPlatform platform;
    platform.putDataFile(ToolInfoFileName, ShippedCatalogue());
    platform.putDataFile(CaptionFileName, "1\tSCHRAUBSTATION\n");
    Veldrune program(platform);
    program.startUp({});
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_GT(program.form().TOOLLIST.listCount(), 10);
    EXPECT_EQ(program.form().caption(), u"SCHRAUBSTATION"_s);
}

TEST(InstalledDataFiles, FilesBesideTheProgramReplaceTheInstalledOnes) {
    InstalledPlatform platform;
    platform.putDataFile(ToolInfoFileName, ShippedCatalogue());
    platform.putDataFile(CaptionFileName, "1\tSCHRAUBSTATION\n");
    // A catalogue of one tool, and a wording of the user's own.
    platform.putProgramFile(ToolInfoFileName,
                            "\"OWN LIST\",\"1.0\",\"\"\n"
                            "\"KRV-110QM1-05\",5.88,2000,10,2,0,3,0,1,0,2,0,1,0\n");
    platform.putProgramFile(CaptionFileName, "1\tLINE 4 STATIONS\n");
    Veldrune program(platform);
    program.startUp({});
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_EQ(program.form().caption(), u"LINE 4 STATIONS"_s);
    const QStringList tools = program.form().TOOLLIST.entries();
    ASSERT_EQ(tools.size(), 2);
    EXPECT_EQ(tools[1].trimmed(), u"KRV-110QM1-05"_s);
}

TEST(InstalledDataFiles, ACatalogueMissingEverywhereIsReportedOnce) {
    InstalledPlatform platform;
    Veldrune(platform).startUp({});
    EXPECT_EQ(platform.messageTexts(), QStringList{u"TOOL INFORMATION FILE IS MISSING"_s});
}

TEST(InstalledDataFiles, FilesThatChangeOrGoWhileTheProgramRunsChangeNothing) {
    test::FakePlatform platform;
    platform.putShippedCatalogue();
    platform.putProgramFile(CaptionFileName, "12\tVERSCHRAUBUNG\n");
    Veldrune program(platform);
    program.startUp({});
    Form1& f = program.form();
    const QStringList tools = f.TOOLLIST.entries();

    platform.putProgramFile(ToolInfoFileName, {});
    platform.putProgramFile(CaptionFileName, "12\tOTHER\n");
    // Choosing the system again fills the lists again, from the catalogue read at start.
    f.pick(f.SYSTEM, 0);
    f.pick(f.SYSTEM, 2);
    EXPECT_EQ(f.TOOLLIST.entries(), tools);
    EXPECT_EQ(f.Frame2.text(), u"VERSCHRAUBUNG"_s);
    EXPECT_TRUE(platform.messages().empty());
}

} // namespace
} // namespace veldrune
