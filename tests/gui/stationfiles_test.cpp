#include "gui/stationfiles.h"

#include "gui/qtwindow.h"
#include "gui/windowcommands.h"

#include "support/qtprinters.h"
#include "support/station.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
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

// The real window with its commands, its save dialog answering Path.
struct Workflow : test::StartedProgram {
    Workflow() {
        platform.chosenFile = Path;
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }
    // Plays steps separated by "|": "pick TOOLLIST KRV-210QM2" (the entry's first letters typed
    // into the list), "click Option1(1)", "type Text4(6) 20" (a click into the field, the keys,
    // Tab), "enter Text4(8) 3.2" (the same with Enter), "keys 8.78" and "return" (to the
    // control that has the focus), "ctrl+L", "open duty-cycle.json" (the test station as the file
    // at Path).
    void play(const QString& steps) {
        for (const QString& step : steps.split(u'|')) {
            const QStringList words = step.split(u' ');
            const QString& verb = words[0];
            QWidget* widget = nullptr;
            for (const auto& c : form().controls())
                widget = c->displayName() == words.value(1) ? window.widgetFor(*c) : widget;
            if (verb == u"pick") { // after a pause, which ends the list's search for the last
                qobject_cast<QComboBox*>(widget)->view()->keyboardSearch({});
                QTest::keyClicks(widget, words.mid(2).join(u' '));
            }
            if (verb == u"click" || verb == u"type" || verb == u"enter")
                QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
            if (verb == u"type" || verb == u"enter" || verb == u"keys")
                QTest::keyClicks(QApplication::focusWidget(), words.value(verb == u"keys" ? 1 : 2));
            if (verb == u"type" || verb == u"enter" || verb == u"return")
                key(verb == u"type" ? Qt::Key_Tab : Qt::Key_Return);
            if (verb == u"ctrl+L")
                key(Qt::Key_L, Qt::ControlModifier);
            if (verb == u"open") {
                platform.putProgramFile(u"s.json"_s, test::TestData(u"stations/"_s + words[1]));
                EXPECT_TRUE(commands.files().open(Path));
            }
        }
    }
    QtWindow window{form()};
    WindowCommands commands{window, *program};
};

// The title names the file the window holds, marked while the window shows other than the file
// (typing the value back unmarks it); a save is told briefly; and changes to the file are not
// lost unasked: closing the window or opening another file asks, and a cancel keeps all.
TEST(StationWorkflows, TheTitleNamesTheFileMarksChangesAndAsksBeforeTheyAreLost) {
    Workflow w;
    const auto title = [&] { return w.window.windowHandle()->title(); };
    EXPECT_EQ(title(), u"QEL VELDRUNE"_s);
    w.play(u"pick TOOLLIST KRV-110QM1-05|type Text4(0) 2"_s);
    EXPECT_TRUE(w.commands.files().mayLoseChanges()); // a window that holds no file closes
    EXPECT_TRUE(w.platform.askedToSave.isEmpty());

    w.play(u"open duty-cycle.json"_s);
    EXPECT_EQ(title(), u"QEL VELDRUNE - s.json"_s);
    w.play(u"type Text4(0) 2"_s);
    EXPECT_EQ(title(), u"QEL VELDRUNE - s.json*"_s);
    w.play(u"type Text4(0) 1"_s); // shown as the file has it, "1.00"
    EXPECT_EQ(title(), u"QEL VELDRUNE - s.json"_s);
    w.play(u"type Text5 L7"_s);
    EXPECT_TRUE(w.form().modified());

    const QStringList before = test::Shown(w.form());
    w.platform.unsavedAnswers = {Platform::UnsavedChanges::Cancel};
    EXPECT_FALSE(w.window.close());
    EXPECT_FALSE(w.commands.files().open(Path)); // nor is another file opened
    EXPECT_EQ(w.platform.askedToSave, (QStringList{u"s.json"_s, u"s.json"_s}));
    EXPECT_EQ(test::Shown(w.form()), before);

    w.platform.unsavedAnswers = {Platform::UnsavedChanges::Save};
    EXPECT_TRUE(w.commands.files().mayLoseChanges());
    EXPECT_TRUE(w.platform.readFile(Path)->contains("L7"));
    EXPECT_EQ(w.platform.statuses, QStringList{u"SAVED TO s.json"_s});
    EXPECT_EQ(title(), u"QEL VELDRUNE - s.json"_s);

    w.play(u"type Text5 L8"_s);
    w.platform.writeFailure = u"Disk full"_s; // a save that fails keeps the window open
    w.platform.unsavedAnswers = {Platform::UnsavedChanges::Save, Platform::UnsavedChanges::Discard};
    EXPECT_FALSE(w.commands.files().mayLoseChanges());
    EXPECT_TRUE(w.commands.files().mayLoseChanges());
}

// Use with real keys and clicks, in the order of ordinary work or in another, saves a plain
// station of what was typed, which reopens to the very same window after UPDATE CALCULATION; a
// window no station gives (results a calculation stopped by an arithmetic failure left from
// earlier fields) is saved all the same, with what will differ.
TEST(StationWorkflows, SaveWhatWasTypedAndReopenAsTheWindow) {
    const struct {
        const char* name;
        QString steps;
        QStringList inFile;
        QString told = QString();
    } rows[] = {
        {"a torque speed below the tool's minimum, shown as the minimum",
         u"pick TOOLLIST KRV-210QM2|pick ANGLE RH1|type Text4(6) 20"_s,
         {uR"("torque_speed": "20")"_s}},
        {"the tool's maximum torque typed with Enter",
         u"open duty-cycle.json|enter Text4(8) 3.2|keys 8.78|return"_s, // Enter goes on to it
         {uR"("fastening_torque": "8.78")"_s, uR"("station_cycle_time": "3.20")"_s}},
        {"Ctrl+S while a field is being typed",
         u"pick TOOLLIST KRV-110QM1-05|click Text4(0)|keys 20"_s,
         {uR"("initial_time": "20.00")"_s}},
        {"the duty cycle without picking the unit",
         u"pick TOOLLIST KRV-110QM1-05|type Text1 20|type Text2 1.25|ctrl+L|type Text4(8) 30|"
         u"type Text4(9) 4.5|pick DURR 16"_s,
         {uR"("tool": "KRV-110QM1-05")"_s, uR"("fastening_torque": "4.50")"_s,
          uR"("period_minutes": "16")"_s, uR"("layout": "tall")"_s}},
        {"revolutions typed with the bolt data kept",
         u"pick TOOLLIST KRV-110QM1-05|type Text1 20|type Text2 1.25|click Option1(1)|"
         u"type Text3 24"_s,
         {uR"("mode": "revolutions")"_s, uR"("bolt_pitch": "1.25")"_s,
          uR"("revolutions": "24.00")"_s}},
        // FASTENING TORQUE, left, sends the focus on to TORQUE RECOVERY TIME, as Enter does: a
        // click into another field after Enter in STATION CYCLE TIME puts the caret there.
        {"a field cleared after Enter in STATION CYCLE TIME",
         u"pick TOOLLIST KRV-110QM1-05|ctrl+L|enter Text4(8) 30|type Text4(5) \b"_s,
         {uR"("tightening_angle": "90.0")"_s, uR"("torque_recovery_time": "0.00")"_s}},
        {"the short layout chosen after typing a duty cycle",
         u"pick TOOLLIST KRV-110QM1-05|ctrl+L|type Text4(10) 0.5|type Text4(8) 30|ctrl+L"_s,
         {uR"("torque_recovery_time": "0.50")"_s, uR"("layout": "short")"_s}},
        {"a bolt length cleared",
         u"pick TOOLLIST KRV-110QM1-05|type Text1 20|type Text2 1|type Text1 \b"_s,
         {uR"("bolt_length": "")"_s}},
        {"revolutions typed, then the bolt option again",
         u"pick TOOLLIST KRV-110QM1-05|click Option1(1)|type Text3 12|click Option1(0)"_s,
         {uR"("mode": "bolt_length")"_s}},
        {"a speed above the range, a head picked after the tool",
         u"pick TOOLLIST KRV-110QM1-05|pick ANGLE RH1|type Text4(3) 9999"_s,
         {uR"("freerun_speed": "9999")"_s}},
        {"a system without duty cycle after the tall layout",
         u"pick TOOLLIST KRV-110QM1-05|ctrl+L|type Text4(10) 3|pick SYSTEM Tarvon|"
         u"pick TOOLLIST GQY-100QH1"_s,
         {uR"("torque_recovery_time": "3.00")"_s}},
        {"a torque above the maximum, then another unit and another tool",
         u"pick TOOLLIST KRV-110QM1-05|ctrl+L|type Text4(9) 60|pick TQUNIT KGM|"
         u"pick TOOLLIST KRV-450QT3"_s,
         {uR"("torque_unit": "KGM")"_s, uR"("tool": "KRV-450QT3")"_s}},
        {"a tightening time left by a stopped calculation",
         u"pick TOOLLIST KRV-110QM1-05|type Text4(5) 180|click Option1(1)|type Text3 1e308|"
         u"type Text4(6) 60"_s,
         {},
         u"THE STATION WAS SAVED TO %1, BUT OPENED AGAIN: ESTIMATED TOTAL TIME WILL SHOW 1.75; "
         u"TIGHTENING TIME WILL SHOW 0.50"_s.arg(Path)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Workflow w;
        w.play(row.steps);
        w.key(Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(w.platform.messageTexts(),
                  row.told.isEmpty() ? QStringList() : QStringList{row.told});
        const QByteArray saved = w.platform.readFile(Path).value_or("");
        const auto [shown, reopened] = test::ShownAndReopened(*w.program, saved);
        EXPECT_TRUE(reopened == shown || !row.told.isEmpty());
        const QString file = QString::fromUtf8(saved);
        EXPECT_TRUE(file.startsWith(u"{\n  \"format\": 2,"_s) && !file.contains(u"session"_s));
        for (const QString& part : row.inFile)
            EXPECT_TRUE(file.contains(part)) << file.toStdString();
    }
}

} // namespace
} // namespace veldrune
