#include "catalogue/toolinfo.h"

#include "support/fakeplatform.h"
#include "support/qtprinters.h"

#include "platform/ansitext.h"

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

TEST(ReadToolInfo, RecordsFollowTheHeaderAndTheMarkerFollowsTheLastTool) {
    const auto result = ReadToolInfo(ShortHeader + record(u"KRV-110QM1"_s, u"5"_s) +
                                     record(u"KRV-210QM2"_s, u"10"_s));
    EXPECT_FALSE(result.stoppedBecause);
    EXPECT_EQ(result.tools, 2);
    EXPECT_EQ(result.table.toolCount(), 2);
    EXPECT_EQ(result.table[1].Model, u"KRV-110QM1          "_s);
    EXPECT_EQ(result.table[2].MaxSpeed, 2000);
    EXPECT_EQ(result.table[2].MinSpeed, 10);
    EXPECT_TRUE(result.table.isEnd(3));
}

TEST(ReadToolInfo, NewtonMetreToolsConvertToTheOtherUnits) {
    const auto result = ReadToolInfo(ShortHeader + record(u"KRV-110"_s, u"50"_s));
    EXPECT_EQ(result.table[1].MaxTorque, (Torques{5000, 5099, 5099, 3688, 4425}));
    EXPECT_EQ(result.table[1].TorqueDecimals, (Torques{2, 3, 1, 2, 1}));
}

TEST(ReadToolInfo, KilogramForceMetreToolsConvertToTheOtherUnits) {
    const auto result = ReadToolInfo(ShortHeader + record(u"PZS-520"_s, u"5"_s));
    EXPECT_EQ(result.table[1].MaxTorque, (Torques{4903, 5000, 5000, 3617, 4340}));
    // The series is the first three characters, letter case counting: not N·m here.
    EXPECT_EQ(ReadToolInfo(ShortHeader + record(u"krv-110"_s, u"5"_s)).table[1].MaxTorque[0], 4903);
}

TEST(ReadToolInfo, TorqueTooLargeForItsFieldIsMarked) {
    // 4000 N·m is 35402.3 in·lbf, scaled by 100 far beyond 16 bits.
    const auto text = ShortHeader + u"\"KRV-999\",4000,100,5,0,0,0,0,0,0,0,0,2,0\n"_s;
    EXPECT_EQ(ReadToolInfo(text).table[1].MaxTorque[4], TorqueTooLarge);
}

TEST(ReadToolInfo, ModelNamesArePaddedOrCutToTwentyCharacters) {
    const auto result = ReadToolInfo(ShortHeader + record(u"KRV-110QM1-ABCDEFGHIJKLMNO"_s, u"5"_s) +
                                     record(u"GQY-1"_s, u"1"_s));
    EXPECT_EQ(result.table[1].Model, u"KRV-110QM1-ABCDEFGHI"_s);
    EXPECT_EQ(result.table[2].Model.size(), ModelLength);
}

TEST(ReadToolInfo, ModelLengthCountsCharactersNotBytes) {
    const QString model = u"GQY-ÄÖÜ-ÄÖÜ-ÄÖÜ-ÄÖÜ-XYZ"_s;
    const auto result =
        ReadToolInfo(DecodeAnsiText((ShortHeader + record(model, u"1"_s)).toUtf8()));
    EXPECT_EQ(result.table[1].Model, model.left(20));
}

TEST(ReadToolInfo, ExtraFieldsOfTheLmwSeriesAndOfLongHeaders) {
    // An LMW record has one field more than the others.
    auto result = ReadToolInfo(ShortHeader + record(u"LMW-200"_s, u"1"_s, u",\"anything\""_s) +
                               record(u"GQY-100"_s, u"1"_s));
    EXPECT_FALSE(result.stoppedBecause);
    EXPECT_EQ(result.tools, 2);
    EXPECT_EQ(result.table[2].Model.trimmed(), u"GQY-100"_s);

    // A third header field of 70 characters gives every record a trailing field; 69 do not.
    const QString longHeader = u"A,B,"_s + QString(70, u'x') + u"\n"_s;
    result = ReadToolInfo(longHeader + record(u"LMW-200"_s, u"1"_s, u",0,17"_s) +
                          record(u"GQY-100"_s, u"1"_s, u",-4"_s));
    EXPECT_FALSE(result.stoppedBecause);
    EXPECT_EQ(result.table[1].ExtraField, 17);
    EXPECT_EQ(result.table[2].ExtraField, -4);

    const QString header69 = u"A,B,"_s + QString(69, u'x') + u"\n"_s;
    result = ReadToolInfo(header69 + record(u"GQY-100"_s, u"1"_s) + record(u"GQY-200"_s, u"2"_s));
    EXPECT_EQ(result.tools, 2);
    EXPECT_EQ(result.table[2].Model.trimmed(), u"GQY-200"_s);
}

TEST(ReadToolInfo, RecordsMaySpanOrShareLines) {
    const auto result =
        ReadToolInfo(u"A,B,C\n\"KRV-1\",5,\n2000,10,2,0,3,0,1,0,2,0,1,0,\"KRV-2\",6,"
                     u"100,5,0,0,0,0,0,0,0,0,0,0"_s);
    EXPECT_FALSE(result.stoppedBecause);
    EXPECT_EQ(result.tools, 2);
}

TEST(ReadToolInfo, IntegerFieldsReadTheLeadingNumberRoundedToEven) {
    const auto result =
        ReadToolInfo(ShortHeader + u"\"KRV-1\",5,\"20 00rpm\",2.5,3.5,x,0,0,0,0,0,0,0,0\n"_s);
    EXPECT_EQ(result.table[1].MaxSpeed, 2000);
    EXPECT_EQ(result.table[1].MinSpeed, 2);
    EXPECT_EQ(result.table[1].TorqueDecimals[0], 4);
    EXPECT_EQ(result.table[1].SpareField[0], 0);
}

struct BrokenCase {
    const char* name;
    const char16_t* records;
    int markerAt;
};

void PrintTo(const BrokenCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadErrorTest : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(ReadErrorTest, StopsAndKeepsTheRecordsReadSoFar) {
    const auto result = ReadToolInfo(ShortHeader + QString::fromUtf16(GetParam().records));
    EXPECT_TRUE(result.stoppedBecause);
    EXPECT_TRUE(result.table.isEnd(GetParam().markerAt));
    EXPECT_EQ(result.table[1].Model.trimmed(), u"KRV-1"_s);
    EXPECT_EQ(result.table[1].MaxTorque[0], 500);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ReadErrorTest,
    ::testing::Values(
        BrokenCase{"EndsInsideARecord",
                   u"\"KRV-1\",5,2000,10,2,0,3,0,1,0,2,0,1,0\n\"KRV-2\",5,2000", 3},
        BrokenCase{"TorqueNotANumber",
                   u"\"KRV-1\",5,2000,10,2,0,3,0,1,0,2,0,1,0\n\"KRV-2\",5x,1,1,2,0,3,0,1,0,2,0,1,0",
                   3},
        BrokenCase{
            "IntegerOutOfRange",
            u"\"KRV-1\",5,2000,10,2,0,3,0,1,0,2,0,1,0\n\"KRV-2\",5,40000,1,2,0,3,0,1,0,2,0,1,0", 3},
        BrokenCase{
            "OverflowInConversion",
            u"\"KRV-1\",5,2000,10,2,0,3,0,1,0,2,0,1,0\n\"GQY-2\",1e308,1,1,2,0,3,0,1,0,2,0,1,0",
            3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadToolInfo, TheFailingRecordKeepsTheFieldsStoredBeforeTheFailure) {
    const auto result = ReadToolInfo(ShortHeader + u"\"KRV-2\",5,1500,15,2,0,3,0,1,0,2,0,1,0\n"
                                                   u"\"KRV-3\",7,1200,99999"_s);
    EXPECT_EQ(result.tools, 2);
    EXPECT_EQ(result.table[2].Model.trimmed(), u"KRV-3"_s);
    EXPECT_EQ(result.table[2].MaxSpeed, 1200);
    EXPECT_EQ(result.table[2].MinSpeed, 0);
    EXPECT_TRUE(result.table.isEnd(3));
}

TEST(ReadToolInfo, AShortHeaderOrAHeaderAloneLeavesNoTools) {
    auto result = ReadToolInfo(u"A,B"_s);
    EXPECT_TRUE(result.stoppedBecause);
    EXPECT_TRUE(result.table.isEnd(1));
    result = ReadToolInfo(ShortHeader);
    EXPECT_FALSE(result.stoppedBecause);
    EXPECT_TRUE(result.table.isEnd(1));
    EXPECT_EQ(result.table.toolCount(), 0);
}

TEST(ReadToolInfo, StopsAt199ToolsWithTheMarkerInTheLastEntry) {
    QString text = ShortHeader;
    for (int i = 1; i <= 205; ++i)
        text += record(u"GQY-%1"_s.arg(i), u"1"_s);
    const auto result = ReadToolInfo(text);
    EXPECT_EQ(result.tools, 199);
    EXPECT_TRUE(result.stoppedBecause);
    EXPECT_EQ(result.table[199].Model.trimmed(), u"GQY-199"_s);
    EXPECT_TRUE(result.table.isEnd(200));
}

TEST(ScaleToInteger, RoundsHalvesUpAndClampsToSixteenBits) {
    EXPECT_EQ(ScaleToInteger(u"2.5", 0), 3);
    EXPECT_EQ(ScaleToInteger(u"0.125", 2), 13);
    EXPECT_EQ(ScaleToInteger(u"-2.5", 0), -2);
    EXPECT_EQ(ScaleToInteger(u"1.23456", 4), 12346);
    EXPECT_EQ(ScaleToInteger(u"7.9", 5), 8); // counts above 4 do not scale
    EXPECT_EQ(ScaleToInteger(u"7.9", -1), 8);
    EXPECT_EQ(ScaleToInteger(u"40000", 0), 32767);
    EXPECT_EQ(ScaleToInteger(u"-40000", 0), -32767);
    EXPECT_EQ(ScaleToInteger(u"1e999", 3), 32767);
    EXPECT_EQ(ScaleToInteger(u"abc", 2), 0);
}

TEST(LoadToolInfo, AMissingOrEmptyFileIsReportedOnceAndLeavesTheCatalogueEmpty) {
    for (const bool empty : {false, true}) {
        test::FakePlatform platform;
        if (empty)
            platform.putProgramFile(ToolInfoFileName, {});
        ToolTable table;
        LoadToolInfo(table, platform, JoinPath(platform.programFolder(), ToolInfoFileName));
        ASSERT_EQ(platform.messages().size(), 1u);
        EXPECT_EQ(platform.messages()[0],
                  (test::ShownMessage{u"TOOL INFORMATION FILE IS MISSING"_s, MessageIcon::Critical,
                                      u"VELDRUNE"_s}));
        EXPECT_EQ(table.toolCount(), 0);
        EXPECT_FALSE(table.isEnd(1));
    }
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
        const QString motor = tool.Model.mid(7, 3);
        EXPECT_TRUE(QStringLiteral("MTHS").contains(motor[1]))
            << "motor code " << motor.toStdString();
        EXPECT_GT(tool.MaxSpeed, tool.MinSpeed);
        for (int u = 0; u < UnitCount; ++u) {
            EXPECT_NE(tool.MaxTorque[u], TorqueTooLarge);
            EXPECT_GT(tool.MaxTorque[u], 0);
        }
    }
}

} // namespace
} // namespace veldrune
