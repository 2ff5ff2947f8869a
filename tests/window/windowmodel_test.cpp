#include "window/windowmodel.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// A small window whose focus reactions write a log: fields A, B and C, D inside a frame, and
// E below the client area's lower edge.
class FocusLog : public ::testing::Test {
protected:
    FocusLog() {
        window.setLaidOutFrame(0, 100);
        window.setSize(1000, 1100);
        ControlDesign d;
        d.kind = ControlKind::Frame;
        d.name = u"Frame"_s;
        frame = &window.add(d);
        d.kind = ControlKind::Entry;
        for (const QString& name : {u"A"_s, u"B"_s, u"C"_s, u"E"_s, u"D"_s}) {
            d.name = name;
            d.place = {0, name == u"E"_s ? 1000 : name == u"D"_s ? 2000 : 0, 100, 20};
            d.container = name == u"D"_s ? u"Frame"_s : QString();
            Control& c = window.add(d);
            c.onGotFocus = [this, name] { log.append(name + u"+"_s); };
            c.onLostFocus = [this, name] { log.append(name + u"-"_s); };
            fields.push_back(&c);
        }
        window.setTabOrder({fields[0], fields[1], fields[4], fields[3], fields[2]});
        window.moveFocus(*fields[0]);
        log.clear();
    }

    WindowModel window;
    Control* frame = nullptr;
    std::vector<Control*> fields; // A, B, C, E, D
    QStringList log;
};

TEST_F(FocusLog, AMoveAskedForInsideAReactionWaitsUntilItIsDone) {
    fields[0]->onKeyPress = [this](int) {
        fields[2]->setFocus();
        log.append(u"key done"_s);
        return false;
    };
    EXPECT_FALSE(window.keyPress(*fields[0], Key::Enter));
    EXPECT_EQ(log, (QStringList{u"key done"_s, u"A-"_s, u"C+"_s}));
}

TEST_F(FocusLog, AFieldThatSendsTheFocusElsewhereWhenLeftWinsOverTheUsersTarget) {
    fields[0]->onLostFocus = [this] {
        log.append(u"A-"_s);
        fields[2]->setFocus();
    };
    window.moveFocus(*fields[1]); // the user clicks B
    EXPECT_EQ(log, (QStringList{u"A-"_s, u"C+"_s}));
    EXPECT_EQ(window.focused(), fields[2]);
}

TEST_F(FocusLog, TabSkipsHiddenDisabledAndOutOfSightControls) {
    // D's frame lies within the client area; E lies below it.
    EXPECT_EQ(window.nextInTabOrder(fields[1]), fields[4]);
    EXPECT_EQ(window.nextInTabOrder(fields[4]), fields[2]);
    frame->setVisible(false);
    EXPECT_EQ(window.nextInTabOrder(fields[1]), fields[2]);
    fields[2]->setEnabled(false);
    EXPECT_EQ(window.nextInTabOrder(fields[1]), fields[0]);
    EXPECT_EQ(window.nextInTabOrder(fields[0], true), fields[1]);
    window.setHeight(2200); // a taller window brings E into sight
    EXPECT_EQ(window.nextInTabOrder(fields[1]), fields[3]);
}

} // namespace
} // namespace veldrune
