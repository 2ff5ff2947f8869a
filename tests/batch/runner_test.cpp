#include "batch/runner.h"

#include "batch/output.h"
#include "platform/recordingplatform.h"
#include "support/qtprinters.h"
#include "support/station.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

const QString ShippedFolder = QStringLiteral(VELDRUNE_SHIPPED_DATA);

std::variant<StationReport, StationError> run(const char* file) {
    QFile json(QStringLiteral(VELDRUNE_TEST_DATA "/stations/") + QString::fromLatin1(file));
    EXPECT_TRUE(json.open(QIODevice::ReadOnly));
    const auto station = ReadStation(json.readAll());
    RecordingPlatform platform(ShippedFolder, QDir::tempPath());
    return RunStation(std::get<Station>(station), platform, {});
}

StationReport report(const char* file) {
    auto result = run(file);
    if (auto* error = std::get_if<StationError>(&result))
        ADD_FAILURE() << error->key.toStdString() << ": " << error->message.toStdString();
    return std::get_if<StationReport>(&result) ? std::get<StationReport>(result) : StationReport{};
}

TEST(RunStation, GivesTheTextsOfTheWindow) {
    const StationReport r = report("wheel-nuts.json");
    EXPECT_EQ(r.description, u"Station 40, wheel nuts"_s);
    EXPECT_EQ(r.tool, u"KRV-110QM1-05"_s);
    EXPECT_EQ(r.angleHead, u"RH1"_s);
    EXPECT_EQ(r.maxSpeed, u"1286 RPM"_s);
    EXPECT_EQ(r.minSpeed, u" 6.430868 RPM"_s);
    EXPECT_EQ(r.gearRatio, u"1.555"_s);
    ASSERT_EQ(r.maxTorque.size(), 5u);
    EXPECT_EQ(r.maxTorque[0], std::make_pair(u"NM"_s, u"8.78"_s));
    EXPECT_EQ(r.maxTorque[1], std::make_pair(u"KGM"_s, u"0.896"_s));
    EXPECT_EQ(r.revolutions, u"16.00"_s);
    EXPECT_EQ(r.totalTime, u"2.47"_s);
    EXPECT_TRUE(r.messages.isEmpty());
}

TEST(RunStation, MatchesTheSameStepsAtTheWindow) {
    // The same station typed by hand through the window model.
    test::StartedProgram by;
    Form1& f = by.form();
    by.pick(f.TOOLLIST, u"KRV-110QM1-05"_s);
    by.pick(f.ANGLE, u"RH1"_s);
    test::TypeAndLeave(f, f.Text1, u"20"_s);
    test::TypeAndLeave(f, f.Text2, u"1.25"_s);
    test::TypeAndLeave(f, f.Text4(0), u"1"_s);
    test::TypeAndLeave(f, f.Text4(1), u"100"_s);
    test::TypeAndLeave(f, f.Text4(3), u"1200"_s);
    test::TypeAndLeave(f, f.Text4(5), u"90"_s);
    test::TypeAndLeave(f, f.Text4(6), u"30"_s);
    test::TypeAndLeave(f, f.Text4(7), u"0.25"_s);

    const StationReport r = report("wheel-nuts.json");
    EXPECT_EQ(r.freerun.speed, f.Text4(3).text());
    EXPECT_EQ(r.freerun.time, f.Text4(2).text());
    EXPECT_EQ(r.tightening.time, f.Text4(4).text());
    EXPECT_EQ(r.totalTime, f.TOTAL.text());
}

TEST(RunStation, RevolutionsModeAndTypedTimes) {
    const StationReport r = report("revolutions.json");
    EXPECT_EQ(r.system, u"MVC2400"_s);
    EXPECT_EQ(r.tool, u"PZS-520QM4-S12"_s);
    EXPECT_EQ(r.angleHead, QString());
    EXPECT_FALSE(r.gearRatio);
    EXPECT_FALSE(r.boltLengthMode);
    EXPECT_EQ(r.revolutions, u"12.00"_s);
    EXPECT_EQ(r.initial.time, u"0.50"_s);
    EXPECT_EQ(r.communicationTime, u"0.00"_s);
    // A typed tightening time derives the torque speed, then the time it really gives.
    EXPECT_EQ(r.tightening.speed, u"38"_s);
    EXPECT_EQ(r.tightening.time, u"0.39"_s);
}

TEST(RunStation, MessagesAreListedOnceInTheOrderFirstShown) {
    const StationReport r = report("slow.json");
    EXPECT_EQ(r.messages, (QStringList{u"FIRST TIME LIMIT OVER"_s, u"SECOND TIME LIMIT OVER"_s}));
}

TEST(RunStation, ChoicesTheWindowDoesNotOfferAreRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"system": "MVC9", "tool": "X"})", "system"},
        {R"({"system": "Tarvon", "tool": "KRV-110QM1-05"})", "tool"},
        {R"({"system": "MVC4800", "tool": "SELECT TOOL TYPE"})", "tool"},
        {R"({"system": "MVC2400", "tool": "PZS-520QM4-S12", "angle_head": "RH5"})", "angle_head"},
        {R"({"system": "MVC4800", "tool": "KRV-110QM1-05", "angle_head": "RH3"})", "angle_head"},
    };
    for (const auto& [json, key] : cases) {
        RecordingPlatform platform(ShippedFolder, QDir::tempPath());
        const auto result = RunStation(std::get<Station>(ReadStation(json)), platform, {});
        const auto* error = std::get_if<StationError>(&result);
        ASSERT_TRUE(error) << json;
        EXPECT_EQ(error->key, QString::fromLatin1(key)) << error->message.toStdString();
    }
}

TEST(StationJson, OnlyTheOfferedUnitsAreListed) {
    QDir dir(QDir::temp().filePath(u"veldrune-nm-only"_s));
    dir.mkpath(u"."_s);
    QFile marker(dir.filePath(u"NM.TXT"_s));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    RecordingPlatform platform(ShippedFolder, dir.path());
    const auto result = RunStation(
        std::get<Station>(ReadStation(R"({"system": "MVC4800", "tool": "KRV-110QM1-05"})")),
        platform, {});
    const auto doc = nlohmann::json::parse(StationJson(std::get<StationReport>(result)));
    EXPECT_EQ(doc["ratings"]["max_torque"].size(), 1u);
    EXPECT_EQ(doc["ratings"]["max_torque"]["NM"], "  5.88");
    dir.removeRecursively();
}

} // namespace
} // namespace veldrune
