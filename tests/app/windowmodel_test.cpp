#include "app/windowmodel.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

ControlDesign design(ControlKind kind, const QString& name, const QString& container = {}) {
    ControlDesign d;
    d.kind = kind;
    d.name = name;
    d.container = container;
    return d;
}

// A small window whose focus reactions write a log.
class FocusLog : public ::testing::Test {
protected:
    FocusLog() {
        frame = &window.add(design(ControlKind::Frame, u"Frame"_s));
        for (const QString& name : {u"A"_s, u"B"_s, u"C"_s}) {
            Control& c = window.add(design(ControlKind::Entry, name));
            c.onGotFocus = [this, name] { log.append(name + u"+"_s); };
            c.onLostFocus = [this, name] { log.append(name + u"-"_s); };
            fields.push_back(&c);
        }
        inFrame = &window.add(design(ControlKind::Entry, u"D"_s, u"Frame"_s));
        window.setTabOrder({fields[0], fields[1], inFrame, fields[2]});
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
    EXPECT_FALSE(window.keyPress(*fields[0], 13));
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

TEST_F(FocusLog, TabOrderSkipsHiddenDisabledAndControlsInHiddenFrames) {
    EXPECT_EQ(window.nextInTabOrder(fields[1]), inFrame);
    frame->setVisible(false);
    EXPECT_EQ(window.nextInTabOrder(fields[1]), fields[2]);
    fields[2]->setEnabled(false);
    EXPECT_EQ(window.nextInTabOrder(fields[1]), fields[0]);
    EXPECT_EQ(window.nextInTabOrder(fields[0], true), fields[1]);
}

TEST(ControlEvents, ACodeMadeSelectionRunsTheClickReactionLikeAPick) {
    WindowModel window;
    Control& list = window.add(design(ControlKind::DropDownList, u"L"_s));
    int clicks = 0;
    list.onClick = [&] { ++clicks; };
    list.addItem(u"x"_s);
    list.addItem(u"y"_s);
    list.setListIndex(1);
    window.pick(list, 1); // picking the current entry again still reacts
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(list.text(), u"y"_s);
    list.clear();
    EXPECT_EQ(list.text(), QString());
    EXPECT_EQ(list.listIndex(), -1);
}

} // namespace
} // namespace veldrune
