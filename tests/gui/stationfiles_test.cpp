#include "gui/stationfiles.h"

#include "support/qtprinters.h"
#include "support/station.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

const QString Path = test::FakePlatform::ProgramFolder + u"/s.json"_s;

// A window with a tool picked and a description typed, and its station files.
struct Window : test::StartedProgram {
    Window() {
        EXPECT_TRUE(pick(form().TOOLLIST, u"KRV-110QM1-05"_s));
        TypeAndLeave(form(), form().Text5, u"Line 4"_s);
    }
    StationFiles files{*program};
};

// A bad station file is refused in a message that names the file, the key and the reason (part
// of it given here) as the batch calculator does, and the window stays as it was: first the
// files that cannot be read, then the choices the window does not offer.
TEST(StationFiles, ABadStationIsRefusedNamingTheKeyAndChangesNothing) {
    Window s;
    const QStringList before = test::Shown(s.form());
    const struct {
        const char* json;
        const char* key;
        const char* says = "";
    } cases[] = {
        {"{\n\"system\": \"S\",\n,}", "", "line 3: JSON syntax error"},
        {"[1, 2]", "", "one JSON object"},
        {R"({"system":"MVC4800","tool":"KRV-110QM1-05","colour":1})", "colour", "unknown key"},
        {R"({"tool":"T"})", "system", "missing"},
        {R"({"system":"S","tool":"T","initial_time":true})", "initial_time", "number or a string"},
        {R"({"system":"S","tool":"T","fastening":{"revolutions":1,"bolt_length":2}})", "fastening",
         "not both"},
        {R"({"system":"S","tool":"T","initial_time":1e999})", "initial_time", "overflow"},
        {R"({"system":"MVC4800","tool":"NO-SUCH","initial_time":9})", "tool",
         "\"NO-SUCH\" is not offered for MVC4800; offered: "},
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
        EXPECT_EQ(test::Shown(s.form()), before);
    }
    s.platform.clearMessages();
    EXPECT_FALSE(s.files.open(u"/nowhere/s.json"_s));
    EXPECT_EQ(s.platform.messageTexts(), QStringList{u"/nowhere/s.json: cannot be read"_s});
    EXPECT_TRUE(s.files.currentFile().isEmpty());
}

TEST(StationFiles, SavingAsksForANameOnceAndAFailedSaveKeepsTheEarlierFile) {
    test::StartedProgram fresh; // with no tool chosen, nothing is saved
    fresh.platform.chosenFile = Path;
    StationFiles(*fresh.program).saveAs();
    EXPECT_EQ(fresh.platform.messageTexts(),
              QStringList{u"CHOOSE A TOOL BEFORE SAVING THE STATION"_s});

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
