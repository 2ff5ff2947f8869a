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
    for (const auto& c : f.controls()) {
        QString flags;
        flags += QChar(c->visible() ? u'v' : u'-');
        flags += QChar(c->enabled() ? u'e' : u'-');
        flags += QChar(c->value() ? u'x' : u'-');
        shown.append(
            u"%1 [%2] %3 %4"_s.arg(c->displayName(), c->text(), flags).arg(c->listIndex()));
    }
    return shown;
}

// Random stations as a planner might write them: any system, tool and head on offer, any
// fastening, some phase values given and some not, odd texts among them, and a duty cycle.
class StationMaker {
public:
    Station make(test::StartedProgram& s) {
        Form1& f = s.form();
        Station st;
        st.system = f.SYSTEM.entry(number(0, f.SYSTEM.listCount() - 1));
        PickEntry(f, f.SYSTEM, st.system);
        if (f.TOOLLIST.listCount() < 2)
            return st;
        const int tool = number(1, f.TOOLLIST.listCount() - 1);
        f.pick(f.TOOLLIST, tool);
        st.tool = f.TOOLLIST.entry(tool).trimmed();
        if (f.ANGLE.visible() && number(0, 1))
            st.angleHead = f.ANGLE.entry(number(0, f.ANGLE.listCount() - 1)).trimmed();
        if (maybe())
            st.description = text();
        switch (number(0, 2)) {
        case 0:
            st.fastening = Station::Fastening::BoltData;
            st.boltLength = value();
            if (maybe())
                st.boltPitch = value();
            break;
        case 1:
            st.fastening = Station::Fastening::Revolutions;
            st.revolutions = value();
            break;
        default:
            break;
        }
        for (auto* field :
             {&st.initialTime, &st.initialSpeed, &st.tighteningAngle, &st.communicationTime}) {
            if (maybe())
                *field = value();
        }
        if (maybe())
            (number(0, 1) ? st.freerunTime : st.freerunSpeed) = value();
        if (maybe())
            (number(0, 1) ? st.tighteningTime : st.torqueSpeed) = value();
        if (f.Command1(3).enabled() && number(0, 2) == 0) {
            Station::DutyCycle duty;
            duty.torqueUnit = f.TQUNIT.entry(number(0, f.TQUNIT.listCount() - 1));
            duty.stationCycleTime = value();
            duty.fasteningTorque = value();
            duty.prevailingTorque = number(0, 1);
            if (maybe())
                duty.torqueRecoveryTime = value();
            duty.periodMinutes = f.DURR.entry(number(0, 3));
            st.dutyCycle = duty;
        }
        return st;
    }

private:
    int number(int low, int high) { return std::uniform_int_distribution(low, high)(m_random); }
    bool maybe() { return number(0, 2) > 0; }
    QString value() {
        static const QString odd[] = {u""_s, u"abc"_s, u"-3"_s, u"1e5"_s, u"0"_s, u" 7 "_s};
        if (number(0, 5) == 0)
            return odd[number(0, int(std::size(odd)) - 1)];
        return QString::number(number(0, 300000) / 100.0);
    }
    QString text() {
        return number(0, 1) ? u"Station %1, \"nuts\""_s.arg(number(1, 99)) : u"Ü ß é"_s;
    }

    std::mt19937 m_random{11};
};

// The lines of two pictures of the window that differ.
QStringList Differences(const QStringList& a, const QStringList& b) {
    QStringList differ;
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i] != b[i])
            differ.append(a[i] + u"  ->  "_s + b[i]);
    }
    return differ;
}

TEST(StationFiles, SavingAndOpeningReproducesWhatTheWindowShowed) {
    StationMaker maker;
    int tried = 0;
    int failures = 0;
    for (int i = 0; i < 400; ++i) {
        test::StartedProgram scratch;
        const Station station = maker.make(scratch);
        if (station.tool.isEmpty())
            continue;

        test::StartedProgram original;
        if (ApplyStation(*original.program, station))
            continue; // refused, as the batch calculator would refuse it
        ++tried;
        const QStringList shown = Shown(original.form());

        // Saved, then opened in the window it came from and in a window busy with another.
        const QString file = u"/home/planner/station.json"_s;
        StationFiles saving(*original.program);
        original.platform.chosenFile = file;
        saving.saveAs();
        const QByteArray text = *original.platform.readFile(file);
        for (test::StartedProgram* window : {&original, &scratch}) {
            window->platform.putProgramFile(u"station.json"_s, text);
            StationFiles opening(*window->program);
            ASSERT_TRUE(opening.open(test::FakePlatform::ProgramFolder + u"/station.json"_s))
                << window->platform.messageTexts().join(u'\n').toStdString();
            EXPECT_EQ(Differences(shown, Shown(window->form())), QStringList())
                << "station " << i << ":\n"
                << text.toStdString() << "made from\n"
                << StationFileText(station).toStdString();
        }
        if (HasFailure() && ++failures > 8)
            break;
    }
    EXPECT_GT(tried, 200);
}

class StationFileWindow : public ::testing::Test {
protected:
    StationFileWindow() {
        EXPECT_TRUE(s.pick(s.form().TOOLLIST, u"KRV-110QM1-05"_s));
        TypeAndLeave(s.form(), s.form().Text5, u"Line 4"_s);
    }
    bool open(const QByteArray& text) {
        s.platform.putProgramFile(u"s.json"_s, text);
        return files.open(Path);
    }

    static inline const QString Path = test::FakePlatform::ProgramFolder + u"/s.json"_s;
    test::StartedProgram s;
    StationFiles files{*s.program};
};

TEST_F(StationFileWindow, ABadStationIsToldInTheBatchCalculatorsWordsAndChangesNothing) {
    const QStringList before = Shown(s.form());
    const std::pair<QByteArray, QString> cases[] = {
        {"{\"system\": \"MVC4800\", \"tool\": \"KRV-110QM1-05\", \"colour\": 1}",
         Path + u": key \"colour\": unknown key"_s},
        {"{\"system\": \"MVC4800\", \"tool\": \"NO-SUCH\", \"initial_time\": 9}",
         Path + u": key \"tool\": \"NO-SUCH\" is not offered for MVC4800; offered: "_s},
        {"{\"system\": \"Tarvon\", \"tool\": \"KRV-110QM1-05\"}", Path + u": key \"tool\""_s},
    };
    for (const auto& [text, message] : cases) {
        s.platform.clearMessages();
        EXPECT_FALSE(open(text));
        ASSERT_EQ(s.platform.messages().size(), 1u);
        EXPECT_TRUE(s.platform.messages()[0].text.startsWith(message))
            << s.platform.messages()[0].text.toStdString();
        EXPECT_EQ(Shown(s.form()), before);
    }
    s.platform.clearMessages();
    EXPECT_FALSE(files.open(u"/nowhere/s.json"_s));
    EXPECT_EQ(s.platform.messageTexts(), QStringList{u"/nowhere/s.json: cannot be read"_s});
    EXPECT_TRUE(files.currentFile().isEmpty());
}

TEST_F(StationFileWindow, SavingAsksForANameOnceAndAFailedSaveKeepsTheEarlierFile) {
    files.save(); // no file yet: the dialog, cancelled
    ASSERT_EQ(s.platform.dialogs.size(), 1u);
    EXPECT_EQ(s.platform.dialogs[0].first, Platform::FileDialog::Save);
    EXPECT_FALSE(s.platform.readFile(Path));

    s.platform.chosenFile = Path;
    files.save();
    const QByteArray first = *s.platform.readFile(Path);
    EXPECT_TRUE(first.contains("\"description\": \"Line 4\""));
    EXPECT_EQ(files.currentFile(), Path);

    TypeAndLeave(s.form(), s.form().Text5, u"Line 5"_s);
    s.platform.writeFailure = u"No space left on device"_s;
    files.save(); // to the current file, without asking
    EXPECT_EQ(s.platform.dialogs.size(), 2u);
    EXPECT_EQ(*s.platform.readFile(Path), first);
    EXPECT_EQ(s.platform.messageTexts(),
              QStringList{u"THE STATION WAS NOT SAVED TO %1: No space left on device"_s.arg(Path)});
}

TEST_F(StationFileWindow, NothingIsSavedBeforeAToolIsChosen) {
    test::StartedProgram fresh;
    StationFiles freshFiles(*fresh.program);
    fresh.platform.chosenFile = Path;
    freshFiles.saveAs();
    EXPECT_FALSE(fresh.platform.readFile(Path));
    EXPECT_EQ(fresh.platform.messageTexts(),
              QStringList{u"CHOOSE A TOOL BEFORE SAVING THE STATION"_s});
}

} // namespace
} // namespace veldrune
