#include "catalogue/toolinfo.h"

#include "platform/ansitext.h"
#include "support/fakeplatform.h"
#include "support/qtprinters.h"

#include <gtest/gtest.h>

#include <array>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

using Torques = std::array<std::int16_t, UnitCount>;

const QString ShortHeader = u"\"TOOLS\",\"1.0\",\"SHORT\"\n"_s;

// One record: model, torque, speeds, then decimals and spare for the five units.
QString record(const QString& model, const QString& torque, const QString& tail = {}) {
    return u"\"%1\",%2,2000,10,2,0,3,0,1,0,2,0,1,0%3\n"_s.arg(model, torque, tail);
}

TEST(ReadToolInfo, ConvertsEachRatedTorqueIntoTheFiveUnitsAndCutsModelsToTwentyCharacters) {
    const QString umlauts = u"GQY-ÄÖÜ-ÄÖÜ-ÄÖÜ-ÄÖÜ-XYZ"_s;
    const auto result = ReadToolInfo(
        DecodeAnsiText((ShortHeader + record(u"KRV-110"_s, u"50"_s) + record(u"PZS-520"_s, u"5"_s) +
                        record(u"krv-110"_s, u"5"_s) + record(umlauts, u"1"_s) +
                        u"\"KRV-999\",4000,100,5,0,0,0,0,0,0,0,0,2,0"_s)
                           .toUtf8()));
    EXPECT_FALSE(result.stoppedBecause);
    EXPECT_EQ(result.tools, 5);
    EXPECT_EQ(result.table[1].Model, u"KRV-110             "_s);
    EXPECT_EQ(result.table[1].MaxSpeed, 2000);
    EXPECT_EQ(result.table[1].MinSpeed, 10);
    EXPECT_EQ(result.table[1].TorqueDecimals, (Torques{2, 3, 1, 2, 1}));
    EXPECT_EQ(result.table[1].MaxTorque, (Torques{5000, 5099, 5099, 3688, 4425})); // N·m
    EXPECT_EQ(result.table[2].MaxTorque, (Torques{4903, 5000, 5000, 3617, 4340})); // kgf·m
    // The series is the first three characters, letter case counting: not N·m here.
    EXPECT_EQ(result.table[3].MaxTorque[0], 4903);
    EXPECT_EQ(result.table[4].Model, umlauts.left(20)); // characters, not bytes
    // 4000 N·m is 35402.3 in·lbf, scaled by 100 far beyond 16 bits.
    EXPECT_EQ(result.table[5].MaxTorque[4], TorqueTooLarge);
}

TEST(ReadToolInfo, StopsAtABadRecordKeepingTheToolsBeforeAndTheFieldsReadOfIt) {
    const char16_t* broken[] = {
        u"\"KRV-2\",5,1200",                            // the text ends inside it
        u"\"KRV-2\",5x,1200,1,2,0,3,0,1,0,2,0,1,0",     // a torque that is no number
        u"\"KRV-2\",5,1200,99999,2,0,3,0,1,0,2,0,1,0",  // an integer beyond 16 bits
        u"\"KRV-2\",1e308,1200,1,2,0,3,0,1,0,2,0,1,0"}; // an overflowing conversion
    for (const char16_t* second : broken) {
        SCOPED_TRACE(QString::fromUtf16(second).toStdString());
        const auto result =
            ReadToolInfo(ShortHeader + record(u"KRV-1"_s, u"5"_s) + QString::fromUtf16(second));
        EXPECT_TRUE(result.stoppedBecause && result.tools == 2 && result.table.isEnd(3));
        EXPECT_EQ(result.table[1].MaxTorque[0], 500);
        EXPECT_EQ(result.table[2].Model.trimmed() + u' ' +
                      QString::number(result.table[2].MaxSpeed),
                  u"KRV-2 1200"_s);
    }
}

TEST(ScaleToInteger, RoundsHalvesUpAndClampsToSixteenBits) {
    const std::tuple<const char16_t*, int, std::int16_t> rows[] = {
        {u"2.5", 0, 3},         {u"0.125", 2, 13},   {u"-2.5", 0, -2},
        {u"1.23456", 4, 12346}, {u"7.9", 5, 8}, // counts above 4 do not scale
        {u"-40000", 0, -32767}, {u"1e999", 3, 32767}};
    for (const auto& [text, decimals, expected] : rows)
        EXPECT_EQ(ScaleToInteger(text, decimals), expected)
            << QString::fromUtf16(text).toStdString();
}

// An empty file is reported as a missing one (which start-up reports once).
TEST(LoadToolInfo, AnEmptyFileIsReportedAsMissingAndLeavesTheCatalogueEmpty) {
    test::FakePlatform platform;
    platform.putProgramFile(ToolInfoFileName, {});
    ToolTable table;
    LoadToolInfo(table, platform, JoinPath(platform.programFolder(), ToolInfoFileName));
    EXPECT_EQ(platform.messages(),
              (std::vector<test::ShownMessage>{
                  {ToolInfoMissingMessage, MessageIcon::Critical, u"VELDRUNE"_s}}));
    EXPECT_EQ(table.toolCount(), 0);
}

// The catalogue shipped with the program must read cleanly and rate every tool sensibly.
TEST(ShippedCatalogue, ReadsCompletelyWithKnownMotorsAndDisplayableTorques) {
    const QByteArray bytes = test::TestData(u"../../data/TOOLINFO.LST"_s);
    ASSERT_FALSE(bytes.isEmpty());
    const auto result = ReadToolInfo(DecodeAnsiText(bytes));
    EXPECT_FALSE(result.stoppedBecause) << result.stoppedBecause->toStdString();
    ASSERT_GT(result.tools, 20);
    for (int i = 1; i <= result.tools; ++i) {
        const ToolEntry& tool = result.table[i];
        SCOPED_TRACE(tool.Model.toStdString());
        EXPECT_TRUE(QStringLiteral("MTHS").contains(tool.Model[8]));
        EXPECT_GT(tool.MaxSpeed, tool.MinSpeed);
        for (int u = 0; u < UnitCount; ++u) {
            EXPECT_NE(tool.MaxTorque[u], TorqueTooLarge);
            EXPECT_GT(tool.MaxTorque[u], 0);
        }
    }
}

} // namespace
} // namespace veldrune
