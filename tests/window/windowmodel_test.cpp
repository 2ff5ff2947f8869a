#include "window/windowmodel.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

ControlDesign design(ControlKind kind, const QString& name, Rect place = {},
                     const QString& container = {}) {
    ControlDesign d;
    d.kind = kind;
    d.name = name;
    d.place = place;
    d.container = container;
    return d;
}

// A small window whose focus reactions write a log: fields A, B and C, D inside a frame, and
// E below the client area's lower edge.
class FocusLog : public ::testing::Test {
protected:
    FocusLog() {
        window.setLaidOutFrame(0, 100);
        window.setSize(1000, 1100);
        frame = &window.add(design(ControlKind::Frame, u"Frame"_s));
        for (const QString& name : {u"A"_s, u"B"_s, u"C"_s, u"E"_s}) {
            Control& c = window.add(
                design(ControlKind::Entry, name, {0, name == u"E"_s ? 1000 : 0, 100, 20}));
            c.onGotFocus = [this, name] { log.append(name + u"+"_s); };
            c.onLostFocus = [this, name] { log.append(name + u"-"_s); };
            fields.push_back(&c);
        }
        inFrame = &window.add(design(ControlKind::Entry, u"D"_s, {0, 2000, 0, 0}, u"Frame"_s));
        window.setTabOrder({fields[0], fields[1], inFrame, fields[3], fields[2]});
    }

    WindowModel window;
    Control* frame = nullptr;
    std::vector<Control*> fields;
    Control* inFrame = nullptr;
    QStringList log;
};

TEST_F(FocusLog, AMoveAskedForInsideAReactionWaitsUntilItIsDone) {
    window.moveFocus(*fields[0]);
    log.clear();
    fields[0]->onKeyPress = [this](int) {
        fields[2]->setFocus();
        log.append(u"key done"_s);
        return false;
    };
    EXPECT_FALSE(window.keyPress(*fields[0], Key::Enter));
    EXPECT_EQ(log, (QStringList{u"key done"_s, u"A-"_s, u"C+"_s}));
}

TEST_F(FocusLog, AFieldThatSendsTheFocusElsewhereWhenLeftWinsOverTheUsersTarget) {
    window.moveFocus(*fields[0]);
    fields[0]->onLostFocus = [this] {
        log.append(u"A-"_s);
        fields[2]->setFocus();
    };
    log.clear();
    window.moveFocus(*fields[1]); // the user clicks B
    EXPECT_EQ(log, (QStringList{u"A-"_s, u"C+"_s}));
    EXPECT_EQ(window.focused(), fields[2]);
}

TEST_F(FocusLog, TabSkipsHiddenDisabledAndOutOfSightControls) {
    // D's frame lies within the client area; E lies below it.
    EXPECT_EQ(window.nextInTabOrder(fields[1]), inFrame);
    EXPECT_EQ(window.nextInTabOrder(inFrame), fields[2]);
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
