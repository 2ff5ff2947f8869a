#include "station/station.h"

#include "platform/recordingplatform.h"
#include "station/runner.h"
#include "support/qtprinters.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

Station read(const char* json) {
    auto result = ReadStation(QByteArray(json));
    if (auto* error = std::get_if<StationError>(&result))
        ADD_FAILURE() << error->key.toStdString() << ": " << error->message.toStdString();
    return std::get_if<Station>(&result) ? std::get<Station>(result) : Station{};
}

TEST(ReadStation, NumbersAreTypedInTheirShortestFormAndStringsAsWritten) {
    const Station s = read(R"({"system": "MVC4800", "tool": "KRV-1", "initial_time": 0.8,
        "initial_speed": 1500, "freerun_speed": 1500.0, "tightening_angle": "12.70",
        "communication_time": "", "description": 7, "tightening_time": 1e21})");
    const std::optional<QString> typed[] = {s.initialTime,      s.initialSpeed, s.freerunSpeed,
                                            s.tighteningAngle,  s.description,  s.tighteningTime,
                                            s.communicationTime};
    EXPECT_EQ(std::vector(std::begin(typed), std::end(typed)),
              (std::vector<std::optional<QString>>{u"0.8"_s, u"1500"_s, u"1500"_s, u"12.70"_s,
                                                   u"7"_s, u"1e+21"_s, QString()}));
    EXPECT_FALSE(s.torqueSpeed);
    EXPECT_EQ(s.fastening, Station::Fastening::Untouched);
    const Station bolt = read(R"({"system": "S", "tool": "T", "fastening": {"bolt_pitch": 1},
        "angle_head": " "})");
    EXPECT_EQ(bolt.fastening, Station::Fastening::BoltData);
    EXPECT_FALSE(bolt.boltLength);
    EXPECT_EQ(bolt.angleHead, QString());
}

struct BadStation {
    const char* name;
    const char* json;
    const char* key;
    const char* says; // part of the message
};

void PrintTo(const BadStation& c, std::ostream* os) {
    *os << c.name;
}

class BadStations : public ::testing::TestWithParam<BadStation> {};

TEST_P(BadStations, AreRefusedNamingTheKey) {
    const auto result = ReadStation(QByteArray(GetParam().json));
    const auto* error = std::get_if<StationError>(&result);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->key, QString::fromLatin1(GetParam().key));
    EXPECT_TRUE(error->message.contains(QString::fromLatin1(GetParam().says)))
        << error->message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Errors, BadStations,
    ::testing::Values(
        BadStation{"Syntax", "{\n\"system\": \"S\",\n,}", "", "line 3: JSON syntax error"},
        BadStation{"NotAnObject", "[1, 2]", "", "one JSON object"},
        BadStation{"UnknownKey", R"({"system": "S", "tool": "T", "colour": 1})", "colour",
                   "unknown key"},
        BadStation{"UnknownFasteningKey",
                   R"({"system": "S", "tool": "T", "fastening": {"pitch": 1}})", "fastening.pitch",
                   "allowed"},
        BadStation{"MissingSystem", R"({"tool": "T"})", "system", "missing"},
        BadStation{"SystemNotText", R"({"system": 4800, "tool": "T"})", "system", "string"},
        BadStation{"BooleanValue", R"({"system": "S", "tool": "T", "initial_time": true})",
                   "initial_time", "number or a string"},
        BadStation{
            "BothFastenings",
            R"({"system": "S", "tool": "T", "fastening": {"revolutions": 1, "bolt_length": 2}})",
            "fastening", "not both"},
        BadStation{"FreeRunTwice",
                   R"({"system": "S", "tool": "T", "freerun_time": 1, "freerun_speed": 2})",
                   "freerun_time", "freerun_speed"},
        BadStation{"NumberBeyondDouble", R"({"system": "S", "tool": "T", "initial_time": 1e999})",
                   "initial_time", "overflow"},
        BadStation{"NegativeNumberBeyondDoubleUnderUnknownKey",
                   R"({"system": "S", "colour": {"a": [1, {"b": 2}], "c": -1e400}})", "colour.c",
                   "overflow"},
        BadStation{"DutyCycleUnknownKey",
                   R"({"system": "S", "tool": "T", "duty_cycle": {"cycle": 30}})",
                   "duty_cycle.cycle", "allowed"},
        BadStation{"PrevailingNotABoolean",
                   R"({"system": "S", "tool": "T", "duty_cycle": {"prevailing_torque": 1}})",
                   "duty_cycle.prevailing_torque", "true or false"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunStation, ChoicesTheWindowDoesNotOfferAreRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"system": "MVC9", "tool": "X"})", "system"},
        {R"({"system": "Tarvon", "tool": "KRV-110QM1-05"})", "tool"},
        {R"({"system": "MVC4800", "tool": "SELECT TOOL TYPE"})", "tool"},
        {R"({"system": "MVC2400", "tool": "PZS-520QM4-S12", "angle_head": "RH5"})", "angle_head"},
        {R"({"system": "MVC4800", "tool": "KRV-110QM1-05", "angle_head": "RH3"})", "angle_head"},
        {R"({"system": "Tarvon", "tool": "GQY-150QS1", "duty_cycle": {}})", "duty_cycle"},
        {R"({"system": "MVC4800", "tool": "KRV-110QM1-05", "duty_cycle": {"torque_unit": "KN"}})",
         "duty_cycle.torque_unit"},
        {R"({"system": "MVC4800", "tool": "KRV-110QM1-05", "duty_cycle": {"period_minutes": 5}})",
         "duty_cycle.period_minutes"},
    };
    for (const auto& [json, key] : cases) {
        RecordingPlatform platform(QStringLiteral(VELDRUNE_SHIPPED_DATA), QDir::tempPath());
        const auto result = RunStation(read(json), platform, {});
        const auto* error = std::get_if<StationError>(&result);
        ASSERT_TRUE(error) << json;
        EXPECT_EQ(error->key, QString::fromLatin1(key)) << error->message.toStdString();
    }
}

} // namespace
} // namespace veldrune
