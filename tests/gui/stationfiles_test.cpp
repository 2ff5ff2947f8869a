#include "gui/stationfiles.h"

#include "app/veldrune.h"
#include "gui/qtplatform.h"
#include "gui/qtwindow.h"
#include "gui/windowcommands.h"
#include "platform/recordingplatform.h"
#include "station/apply.h"

#include "support/qtprinters.h"
#include "support/station.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

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
        {R"({"format":3,"system":"MVC4800","tool":"KRV-110QM1-05","colour":1})", "format",
         "made by a newer version of VELDRUNE"},
        {R"({"system":"MVC4800","tool":"KRV-110QM1-05","layout":"wide"})", "layout", "tall"},
        // Older files' sessions: events as a user could make them, ending with a tool.
        {R"({"session":[]})", "session", "ends with no tool chosen"},
        {R"({"session":[{"pick":"tool","entry":"KRV-110QM1-05"},{"type":"revolutions","text":"9"}]})",
         "session[2]", "switched off"},
        {R"({"session":[{"pick":"tool","entry":"","position":-1}]})", "session[1].position",
         "from 0"},
        {R"({"session":[{"pick":"tool","entry":"","position":18446744073709551615}]})",
         "session[1].position", "from 0"},
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
    EXPECT_EQ(s.platform.messageTexts(),
              QStringList{u"/nowhere/s.json: cannot be read: No such file or directory"_s});
    s.platform.clearMessages();
    s.platform.putProgramFile(u"s.json"_s, QByteArray(MaxStationFileBytes + 1, ' '));
    EXPECT_FALSE(s.files.open(Path));
    EXPECT_EQ(s.platform.messageTexts(),
              QStringList{Path + u": it holds 1048577 bytes, more than the 1 MiB (1048576 bytes) a "
                                 u"station file may hold"_s});
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

// The window program at a desktop whose save dialog answers with a file of a folder of its own.
struct SavingDesktop : QtPlatform {
    using QtPlatform::QtPlatform;
    void showMessage(const QString& text, MessageIcon, const QString&) override {
        messages.append(text);
    }
    QString chooseStationFile(FileDialog, const QString&) override { return chosen; }
    QStringList messages;
    QString chosen;
};

class Workflow {
public:
    Workflow() {
        program.startUp({});
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        platform.chosen = folder.filePath(u"station.json"_s);
    }
    QWidget* widget(const Control& control) { return window.widgetFor(control); }
    void click(const Control& control) {
        QTest::mouseClick(widget(control), Qt::LeftButton, {}, widget(control)->rect().center());
    }
    // Keys as typed, to the control that has the focus.
    void keys(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }
    void type(const Control& field, const QString& text, int end = Qt::Key_Tab) {
        click(field);
        keys(text);
        key(end);
    }
    // A list's entry found by typing its first letters into the list.
    void pick(const Control& list, const QString& entry) { QTest::keyClicks(widget(list), entry); }

    // Ctrl+S, then the file opened on a program started like this one: how the reopened window
    // differs from this one, both drawn anew by UPDATE CALCULATION (empty: it shows the same).
    QString saveAndReopen() {
        key(Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(platform.messages, QStringList());
        RecordingPlatform quiet(platform);
        Veldrune reopened(quiet);
        reopened.startLike(program);
        const auto read = ReadStationFile(platform, platform.chosen);
        if (const auto* error = std::get_if<StationError>(&read))
            return error->message;
        if (const auto refusal = ApplyStation(reopened, std::get<Station>(read), quiet.messages()))
            return refusal->message;
        for (Veldrune* p : {&program, &reopened})
            p->form().click(p->form().Command1(0));
        const QStringList shown = test::Shown(f), again = test::Shown(reopened.form());
        for (qsizetype i = 0; i < shown.size(); ++i) {
            if (shown[i] != again[i])
                return u"shown: %1\nreopened: %2"_s.arg(shown[i], again[i]);
        }
        return shown == again && f.Picture2.toolTip() == reopened.form().Picture2.toolTip()
                   ? QString()
                   : u"the chart's figures differ"_s;
    }
    QString file() { return QString::fromUtf8(platform.readFile(platform.chosen).value_or("")); }

    QTemporaryDir folder;
    SavingDesktop platform{QStringLiteral(VELDRUNE_SHIPPED_DATA), folder.path()};
    Veldrune program{platform};
    Form1& f = program.form();
    QtWindow window{f};
    WindowCommands commands{window, program};
};

// Ordinary use with real keys and clicks saves a plain station of what was typed, which reopens
// to the very same window after UPDATE CALCULATION.
TEST(StationWorkflows, SaveWhatWasTypedAndReopenAsTheWindow) {
    const struct {
        const char* name;
        std::function<void(Workflow&)> use;
        QStringList inFile;
    } rows[] = {
        {"a torque speed below the tool's minimum",
         [](Workflow& w) {
             w.pick(w.f.TOOLLIST, u"KRV-210QM2"_s);
             w.pick(w.f.ANGLE, u"RH1"_s);
             w.type(w.f.Text4(6), u"20"_s);
             EXPECT_EQ(w.f.Text4(6).text(), u" 23.15113 RPM"_s);
         },
         {uR"("torque_speed": "20")"_s}},
        {"the tool's maximum torque typed with Enter",
         [](Workflow& w) {
             QFile::copy(QStringLiteral(VELDRUNE_TEST_DATA "/stations/duty-cycle.json"),
                         w.platform.chosen);
             EXPECT_TRUE(w.commands.files().open(w.platform.chosen));
             w.type(w.f.Text4(8), u"3.2"_s, Qt::Key_Return); // on to FASTENING TORQUE
             w.keys(u"8.78"_s);
             w.key(Qt::Key_Return);
         },
         {uR"("fastening_torque": "8.78")"_s, uR"("station_cycle_time": "3.20")"_s}},
        {"Ctrl+S while a field is being typed",
         [](Workflow& w) {
             w.pick(w.f.TOOLLIST, u"KRV-110QM1-05"_s);
             w.click(w.f.Text4(0));
             w.keys(u"20"_s);
         },
         {uR"("initial_time": "20.00")"_s}},
        {"the duty cycle without picking the unit",
         [](Workflow& w) {
             w.pick(w.f.TOOLLIST, u"KRV-110QM1-05"_s);
             w.type(w.f.Text1, u"20"_s);
             w.type(w.f.Text2, u"1.25"_s);
             w.key(Qt::Key_L, Qt::ControlModifier);
             w.type(w.f.Text4(8), u"30"_s);
             w.type(w.f.Text4(9), u"4.5"_s);
             w.pick(w.f.DURR, u"16"_s);
         },
         {uR"("tool": "KRV-110QM1-05")"_s, uR"("fastening_torque": "4.50")"_s,
          uR"("period_minutes": "16")"_s, uR"("layout": "tall")"_s}},
        {"revolutions typed with the bolt data kept",
         [](Workflow& w) {
             w.pick(w.f.TOOLLIST, u"KRV-110QM1-05"_s);
             w.type(w.f.Text1, u"20"_s);
             w.type(w.f.Text2, u"1.25"_s);
             w.click(w.f.Option1(1));
             w.type(w.f.Text3, u"24"_s);
         },
         {uR"("mode": "revolutions")"_s, uR"("bolt_pitch": "1.25")"_s,
          uR"("revolutions": "24.00")"_s}},
        {"the short layout chosen after typing a duty cycle",
         [](Workflow& w) {
             w.pick(w.f.TOOLLIST, u"KRV-110QM1-05"_s);
             w.click(w.f.Command1(3));
             w.type(w.f.Text4(10), u"0.5"_s);
             w.type(w.f.Text4(8), u"30"_s);
             w.click(w.f.Command1(3));
         },
         {uR"("torque_recovery_time": "0.50")"_s, uR"("layout": "short")"_s}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Workflow w;
        row.use(w);
        EXPECT_EQ(w.saveAndReopen(), QString());
        const QString file = w.file();
        EXPECT_TRUE(file.startsWith(u"{\n  \"format\": 2,"_s) && !file.contains(u"session"_s));
        for (const QString& part : row.inFile)
            EXPECT_TRUE(file.contains(part)) << file.toStdString();
    }
}

// FASTENING TORQUE, left, sends the focus on to TORQUE RECOVERY TIME, as Enter does: a click
// into another field after Enter in STATION CYCLE TIME puts the caret there, and what is typed
// goes there.
TEST(StationWorkflows, LeavingTheTorqueSendsTheFocusOnToTheRecoveryTime) {
    Workflow w;
    w.pick(w.f.TOOLLIST, u"KRV-110QM1-05"_s);
    w.click(w.f.Command1(3));
    w.type(w.f.Text4(8), u"30"_s, Qt::Key_Return);
    w.click(w.f.Text4(5));
    EXPECT_EQ(QApplication::focusWidget(), w.widget(w.f.Text4(10)));
    w.key(Qt::Key_Backspace);
    w.key(Qt::Key_Tab);
    EXPECT_EQ(w.f.Text4(5).text(), u"90.0"_s);
    EXPECT_EQ(w.f.Text4(10).text(), u"0.00"_s);
}

} // namespace
} // namespace veldrune
