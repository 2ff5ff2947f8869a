#include "station/stationfile.h"

#include "app/veldrune.h"
#include "station/runner.h"

#include "support/qtprinters.h"
#include "support/station.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// Everything the window shows: each control's text, whether it is shown, enabled, ticked or
// picked, and the layout.
QStringList Shown(Form1& f) {
    QStringList shown{u"height %1"_s.arg(f.height())};
    for (const auto& c : f.controls())
        shown.append(u"%1 [%2] %3 %4"_s.arg(
            c->displayName(), c->text(),
            QString::number(c->visible() * 100 + c->enabled() * 10 + c->value()),
            QString::number(c->listIndex())));
    return shown;
}

// A random station as a planner might write one: any system, tool and head on offer, any
// fastening, some phase values given and some not, odd texts among them, and a duty cycle.
Station RandomStation(Form1& f, std::mt19937& r) {
    const auto number = [&](int a, int b) { return std::uniform_int_distribution(a, b)(r); };
    const auto any = [&](const Control& l, int i = 0) {
        return l.entry(number(i, l.listCount() - 1));
    };
    const auto maybe = [&] { return number(0, 2) > 0; };
    const auto value = [&] {
        static const QString odd[] = {u""_s, u"abc"_s, u"-3"_s, u"1e5"_s, u"0"_s, u" 7 "_s};
        return number(0, 5) == 0 ? odd[number(0, 5)] : QString::number(number(0, 300000) / 100.0);
    };
    const auto given = [&] { return maybe() ? std::optional(value()) : std::nullopt; };
    Station s;
    PickEntry(f, f.SYSTEM, s.system = any(f.SYSTEM));
    if (f.TOOLLIST.listCount() < 2)
        return s;
    PickEntry(f, f.TOOLLIST, s.tool = any(f.TOOLLIST, 1).trimmed());
    if (f.ANGLE.visible() && number(0, 1))
        s.angleHead = any(f.ANGLE).trimmed();
    if (maybe())
        s.description = number(0, 1) ? u"Station %1, \"nuts\""_s.arg(number(1, 99)) : u"Ü ß é"_s;
    const int fastening = number(0, 2); // bolt data, revolutions, untouched
    s.fastening = Station::Fastening((fastening + 1) % 3);
    if (fastening < 2)
        (fastening ? s.revolutions : s.boltLength) = value();
    if (fastening == 0)
        s.boltPitch = given();
    for (auto* field : {&s.initialTime, &s.initialSpeed, &s.tighteningAngle, &s.communicationTime})
        *field = given();
    if (maybe())
        (number(0, 1) ? s.freerunTime : s.freerunSpeed) = value();
    if (maybe())
        (number(0, 1) ? s.tighteningTime : s.torqueSpeed) = value();
    if (f.Command1(3).enabled() && number(0, 2) == 0)
        s.dutyCycle = Station::DutyCycle{any(f.TQUNIT),     value(), value(),
                                         number(0, 1) == 1, given(), any(f.DURR)};
    return s;
}

const QString Path = test::FakePlatform::ProgramFolder + u"/s.json"_s;

TEST(StationFiles, SavingAndOpeningReproducesWhatTheWindowShowed) {
    test::StartedProgram fresh; // with no tool chosen, nothing is saved
    fresh.platform.chosenFile = Path;
    StationFiles(*fresh.program).saveAs();
    EXPECT_EQ(fresh.platform.messageTexts(),
              QStringList{u"CHOOSE A TOOL BEFORE SAVING THE STATION"_s});
    std::mt19937 random{11};
    int tried = 0;
    for (int i = 0; i < 400 && !HasFailure(); ++i) {
        test::StartedProgram scratch;
        const Station station = RandomStation(scratch.form(), random);
        test::StartedProgram original;
        if (station.tool.isEmpty() || ApplyStation(*original.program, station))
            continue; // refused, as the batch calculator would refuse it
        ++tried;
        const QStringList shown = Shown(original.form());
        original.platform.chosenFile = Path;
        StationFiles(*original.program).saveAs();
        const QByteArray text = *original.platform.readFile(Path);
        scratch.platform.putProgramFile(u"s.json"_s, text);
        // Opened in the window it came from, and in one busy with another station.
        for (test::StartedProgram* window : {&original, &scratch}) {
            ASSERT_TRUE(StationFiles(*window->program).open(Path));
            EXPECT_EQ(Shown(window->form()), shown) << text.toStdString();
        }
    }
    EXPECT_GT(tried, 200);
}

// A window with a tool picked and a description typed, and its station files.
struct Window : test::StartedProgram {
    Window() {
        EXPECT_TRUE(pick(form().TOOLLIST, u"KRV-110QM1-05"_s));
        TypeAndLeave(form(), form().Text5, u"Line 4"_s);
    }
    StationFiles files{*program};
};

TEST(ReadStation, NumbersAreTypedInTheirShortestFormAndStringsAsWritten) {
    const auto read = ReadStation(R"({"system": "MVC4800", "tool": "KRV-1", "initial_time": 0.8,
        "initial_speed": 1500, "freerun_speed": 1500.0, "tightening_angle": "12.70",
        "communication_time": "", "description": 7, "tightening_time": 1e21})");
    ASSERT_TRUE(std::holds_alternative<Station>(read));
    const Station& s = std::get<Station>(read);
    EXPECT_EQ((std::vector{s.initialTime, s.initialSpeed, s.freerunSpeed, s.tighteningAngle,
                           s.description, s.tighteningTime, s.communicationTime, s.torqueSpeed}),
              (std::vector<std::optional<QString>>{
                  u"0.8"_s, u"1500"_s, u"1500"_s, u"12.70"_s, u"7"_s, u"1e+21"_s, QString(), {}}));
    EXPECT_EQ(s.fastening, Station::Fastening::Untouched);
    const auto bolt = ReadStation(R"({"system": "S", "tool": "T", "fastening": {"bolt_pitch": 1},
        "angle_head": " "})");
    ASSERT_TRUE(std::holds_alternative<Station>(bolt));
    EXPECT_EQ(std::get<Station>(bolt).fastening, Station::Fastening::BoltData);
    EXPECT_FALSE(std::get<Station>(bolt).boltLength);
    EXPECT_EQ(std::get<Station>(bolt).angleHead, QString());
}

// A bad station file is refused in a message that names the file, the key and the reason (part
// of it given here) as the batch calculator does, and the window stays as it was: first the
// files that cannot be read, then the choices the window does not offer.
TEST(StationFiles, ABadStationIsRefusedNamingTheKeyAndChangesNothing) {
    Window s;
    const QStringList before = Shown(s.form());
    const struct {
        const char* json;
        const char* key;
        const char* says = "";
    } cases[] = {
        {"{\n\"system\": \"S\",\n,}", "", "line 3: JSON syntax error"},
        {"[1, 2]", "", "one JSON object"},
        {R"({"system":"MVC4800","tool":"KRV-110QM1-05","colour":1})", "colour", "unknown key"},
        {R"({"system":"S","tool":"T","fastening":{"pitch":1}})", "fastening.pitch", "allowed"},
        {R"({"tool":"T"})", "system", "missing"},
        {R"({"system":4800,"tool":"T"})", "system", "string"},
        {R"({"system":"S","tool":"T","initial_time":true})", "initial_time", "number or a string"},
        {R"({"system":"S","tool":"T","fastening":{"revolutions":1,"bolt_length":2}})", "fastening",
         "not both"},
        {R"({"system":"S","tool":"T","freerun_time":1,"freerun_speed":2})", "freerun_time",
         "freerun_speed"},
        {R"({"system":"S","tool":"T","initial_time":1e999})", "initial_time", "overflow"},
        {R"({"system":"S","colour":{"a":[1,{"b":2}],"c":-1e400}})", "colour.c", "overflow"},
        {R"({"system":"S","tool":"T","duty_cycle":{"cycle":30}})", "duty_cycle.cycle", "allowed"},
        {R"({"system":"S","tool":"T","duty_cycle":{"prevailing_torque":1}})",
         "duty_cycle.prevailing_torque", "true or false"},
        {R"({"system":"MVC9","tool":"X"})", "system"},
        {R"({"system":"Tarvon","tool":"KRV-110QM1-05"})", "tool"},
        {R"({"system":"MVC4800","tool":"NO-SUCH","initial_time":9})", "tool",
         "\"NO-SUCH\" is not offered for MVC4800; offered: "},
        {R"({"system":"MVC4800","tool":"SELECT TOOL TYPE"})", "tool"},
        {R"({"system":"MVC2400","tool":"PZS-520QM4-S12","angle_head":"RH5"})", "angle_head"},
        {R"({"system":"MVC4800","tool":"KRV-110QM1-05","angle_head":"RH3"})", "angle_head"},
        {R"({"system":"Tarvon","tool":"GQY-150QS1","duty_cycle":{}})", "duty_cycle"},
        {R"({"system":"MVC4800","tool":"KRV-110QM1-05","duty_cycle":{"torque_unit":"KN"}})",
         "duty_cycle.torque_unit"},
        {R"({"system":"MVC4800","tool":"KRV-110QM1-05","duty_cycle":{"period_minutes":5}})",
         "duty_cycle.period_minutes"},
    };
    for (const auto& [json, key, says] : cases) {
        SCOPED_TRACE(json);
        s.platform.clearMessages();
        s.platform.putProgramFile(u"s.json"_s, json);
        EXPECT_FALSE(s.files.open(Path));
        const QString line = Path + (*key ? u": key \"%1\": "_s.arg(QLatin1String(key)) : u": "_s);
        const QStringList told = s.platform.messageTexts();
        EXPECT_TRUE(told.size() == 1 && told[0].startsWith(line) &&
                    told[0].contains(QLatin1String(says)))
            << told.join(u'\n').toStdString();
        EXPECT_EQ(Shown(s.form()), before);
    }
    s.platform.clearMessages();
    EXPECT_FALSE(s.files.open(u"/nowhere/s.json"_s));
    EXPECT_EQ(s.platform.messageTexts(), QStringList{u"/nowhere/s.json: cannot be read"_s});
    EXPECT_TRUE(s.files.currentFile().isEmpty());
}

TEST(StationFiles, SavingAsksForANameOnceAndAFailedSaveKeepsTheEarlierFile) {
    Window s;
    s.files.save(); // no file yet: the dialog, cancelled
    ASSERT_EQ(s.platform.dialogs.size(), 1u);
    EXPECT_EQ(s.platform.dialogs[0].first, Platform::FileDialog::Save);
    s.platform.chosenFile = Path;
    s.files.save();
    const QByteArray first = *s.platform.readFile(Path);
    EXPECT_TRUE(first.contains("\"description\": \"Line 4\""));
    TypeAndLeave(s.form(), s.form().Text5, u"Line 5"_s);
    s.platform.writeFailure = u"No space left on device"_s;
    s.files.save(); // to the current file, without asking
    EXPECT_EQ(s.platform.dialogs.size(), 2u);
    EXPECT_EQ(*s.platform.readFile(Path), first);
    EXPECT_EQ(s.platform.messageTexts(),
              QStringList{u"THE STATION WAS NOT SAVED TO %1: No space left on device"_s.arg(Path)});
}

} // namespace
} // namespace veldrune
