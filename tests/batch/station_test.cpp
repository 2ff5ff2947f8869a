#include "batch/station.h"

#include "support/qtprinters.h"

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
    EXPECT_EQ(s.initialTime, u"0.8"_s);
    EXPECT_EQ(s.initialSpeed, u"1500"_s);
    EXPECT_EQ(s.freerunSpeed, u"1500"_s);
    EXPECT_EQ(s.tighteningAngle, u"12.70"_s);
    EXPECT_EQ(s.communicationTime, QString());
    EXPECT_EQ(s.description, u"7"_s);
    EXPECT_EQ(s.tighteningTime, u"1e+21"_s);
    EXPECT_FALSE(s.torqueSpeed);
    EXPECT_EQ(s.fastening, Station::Fastening::Untouched);
}

TEST(ReadStation, FasteningIsBoltDataOrRevolutions) {
    Station s = read(R"({"system": "S", "tool": "T", "fastening": {"bolt_pitch": 1.25}})");
    EXPECT_EQ(s.fastening, Station::Fastening::BoltData);
    EXPECT_FALSE(s.boltLength);
    EXPECT_EQ(s.boltPitch, u"1.25"_s);
    s = read(R"({"system": "S", "tool": "T", "fastening": {"revolutions": 3}, "angle_head": " "})");
    EXPECT_EQ(s.fastening, Station::Fastening::Revolutions);
    EXPECT_EQ(s.angleHead, QString());
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
        BadStation{"Empty", "", "", "line 1: JSON syntax error"},
        BadStation{"NotAnObject", "[1, 2]", "", "one JSON object"},
        BadStation{"UnknownKey", R"({"system": "S", "tool": "T", "colour": 1})", "colour",
                   "unknown key"},
        BadStation{"UnknownFasteningKey",
                   R"({"system": "S", "tool": "T", "fastening": {"pitch": 1}})", "fastening.pitch",
                   "allowed"},
        BadStation{"MissingSystem", R"({"tool": "T"})", "system", "missing"},
        BadStation{"MissingTool", R"({"system": "S"})", "tool", "missing"},
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
        BadStation{"TighteningTwice",
                   R"({"system": "S", "tool": "T", "torque_speed": 1, "tightening_time": 2})",
                   "tightening_time", "torque_speed"},
        BadStation{"DutyCycleNotYet", R"({"system": "S", "tool": "T", "duty_cycle": {}})",
                   "duty_cycle", "not available"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace veldrune
