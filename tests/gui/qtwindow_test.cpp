// The real window on the offscreen platform, driven by real mouse and key events.

#include "gui/qtwindow.h"

#include "app/startup.h"
#include "support/qtprinters.h"
#include "support/station.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

class RealWindow : public ::testing::Test {
protected:
    RealWindow() {
        window.onFrameChanged = [this] { CentreForm(f, s.platform.screenSize()); };
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <typename W = QWidget> W* widget(const Control& control) {
        return qobject_cast<W*>(window.widgetFor(control));
    }
    QLineEdit* edit(const Control& control) { return widget<QLineEdit>(control); }
    void click(const Control& control) {
        QTest::mouseClick(widget(control), Qt::LeftButton, {}, widget(control)->rect().center());
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }
    void pickTool() { ASSERT_TRUE(s.pick(f.TOOLLIST, u"KRV-110QM1-05"_s)); }

    test::StartedProgram s;
    Form1& f = s.form();
    QtWindow window{f};
};

TEST_F(RealWindow, OpensShortAndCentredByItsRealFrame) {
    EXPECT_EQ(window.windowHandle()->title(), u"QEL VELDRUNE"_s);
    EXPECT_EQ(window.size(), QSize(792, 399)); // the client area of the short layout
    // Centred by its real outer size, whatever frame the platform draws around it.
    const QRect outer = window.frameGeometry();
    EXPECT_EQ(outer.topLeft(), QPoint((1280 - outer.width()) / 2, (1080 - outer.height()) / 2));
    EXPECT_FALSE(widget(f.Text4(8))->isVisible());
}

// A layout taller than the screen has room for scrolls in a window that keeps to the screen, and
// the control the keyboard moves to scrolls into view; a layout that fits is shown whole.
TEST_F(RealWindow, ALayoutTallerThanTheScreenScrollsToTheControlWithTheFocus) {
    auto* scroll = window.findChild<QScrollArea*>();
    EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
    f.setHeight(40000); // 2,667 pixels
    const QRect room = window.screen()->availableGeometry();
    EXPECT_TRUE(room.contains(window.frameGeometry()));
    EXPECT_TRUE(scroll->verticalScrollBar()->isVisible());
    EXPECT_TRUE(scroll->viewport()->width() >= 792 || // nothing out of reach
                scroll->horizontalScrollBar()->isVisible());
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
    EXPECT_TRUE(widget(f.Text5)->visibleRegion().isEmpty());
    key(Qt::Key_Tab, Qt::ShiftModifier);
    key(Qt::Key_Tab); // back to the first control, at the top
    EXPECT_EQ(widget(f.Text5)->visibleRegion().boundingRect(), widget(f.Text5)->rect());
    f.setHeight(CompactHeight);
    EXPECT_EQ(window.size(), QSize(792, 399));
}

TEST(RightToLeftWindow, KeepsEveryControlInPlaceUnmirrored) {
    QApplication::setLayoutDirection(Qt::RightToLeft); // as under a Hebrew or Arabic locale
    const auto restore = qScopeGuard([] { QApplication::setLayoutDirection(Qt::LeftToRight); });
    test::StartedProgram s;
    QtWindow window{s.form()};
    window.show();
    EXPECT_EQ(window.widgetFor(s.form().SYSTEM)->geometry(), QRect(540, 4, 181, 23));
    QStringList mirrored;
    for (const QWidget* child : window.findChildren<QWidget*>()) {
        if (child->isRightToLeft())
            mirrored.append(QString::fromLatin1(child->metaObject()->className()));
    }
    EXPECT_EQ(mirrored, QStringList());
}

TEST_F(RealWindow, ClickingIntoAFieldSelectsItsTextSoTypingReplacesIt) {
    pickTool();
    click(f.Text4(5)); // TIGHTENING ANGLE, showing 90
    EXPECT_TRUE(edit(f.Text4(5))->hasSelectedText());
    QTest::keyClicks(widget(f.Text4(5)), u"45"_s);
    EXPECT_EQ(f.Text4(5).text(), u"45"_s);

    click(f.Text4(0));
    QTest::keyClicks(widget(f.Text4(0)), u"2.5"_s);
    key(Qt::Key_Return); // Enter moves on; only the focused field shows a selection
    EXPECT_EQ(edit(f.Text4(0))->text(), u"2.50"_s);
    EXPECT_FALSE(edit(f.Text4(0))->hasSelectedText());
    EXPECT_EQ(edit(f.Text4(0))->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_TRUE(widget(f.Text4(1))->hasFocus());
    EXPECT_TRUE(edit(f.Text4(1))->hasSelectedText());
}

TEST_F(RealWindow, BeforeAToolIsChosenNoKeyNorPasteChangesAPhaseField) {
    QApplication::clipboard()->setText(u"777"_s);
    const auto guarded = [&](const QString& what) {
        EXPECT_EQ(edit(f.Text4(0))->text(), u"1.00"_s) << what.toStdString();
        EXPECT_EQ(f.focused(), &f.TOOLLIST) << what.toStdString();
        EXPECT_TRUE(widget(f.TOOLLIST)->hasFocus()) << what.toStdString();
    };
    for (const QKeySequence keys :
         {Qt::Key_7 | Qt::NoModifier, Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert,
          Qt::Key_Delete | Qt::NoModifier, Qt::CTRL | Qt::Key_X, Qt::CTRL | Qt::Key_Z,
          Qt::Key_Backspace | Qt::NoModifier}) {
        click(f.Text4(0));
        ASSERT_EQ(f.focused(), &f.Text4(0));
        QTest::keySequence(QApplication::focusWidget(), keys);
        guarded(keys.toString());
    }

    // The context menu's Paste asks the same guard.
    click(f.Text4(0));
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        for (QAction* action : menu->actions())
            if (action->text() == u"&Paste"_s)
                action->trigger();
        menu->close();
    });
    QWidget* field = widget(f.Text4(0));
    const QPoint centre = field->rect().center();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, centre, field->mapToGlobal(centre));
    QApplication::sendEvent(field, &menuEvent);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window)); // given back once the menu is gone
    guarded(u"the context menu"_s);

    // Once a tool is chosen, a paste goes in.
    pickTool();
    click(f.Text4(0));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.Text4(0).text(), u"777"_s);
}

TEST_F(RealWindow, TabFollowsTheModelsFocusOrderInBothLayouts) {
    auto walk = [this](bool forwards) {
        const Control* expected = &f.TOOLLIST;
        int steps = 0;
        do {
            expected = f.nextInTabOrder(expected, !forwards);
            key(forwards ? Qt::Key_Tab : Qt::Key_Backtab);
            EXPECT_EQ(f.focused(), expected) << steps;
            EXPECT_EQ(QApplication::focusWidget(), widget(*expected)) << steps;
        } while (expected != &f.TOOLLIST && ++steps < 60);
        return steps;
    };
    PressEnter(f, f.TOOLLIST); // start from the tool list
    const auto shortWalk = walk(true);
    EXPECT_EQ(walk(false), shortWalk);

    f.click(f.Command1(3));               // the tall layout
    EXPECT_EQ(walk(true), shortWalk + 7); // the duty-cycle fields, lists, box and picture
}

TEST_F(RealWindow, TheFocusedListShowsItsFocusWhateverMovedItThere) {
    // At start-up, after the guard and after Enter in the last field, the focus is on the
    // tool list; it must show, or the next arrow key changes the tool unseen.
    auto* list = widget(f.TOOLLIST);
    ASSERT_TRUE(list->hasFocus());
    const QImage focused = list->grab().toImage();
    click(f.Text5);
    EXPECT_NE(list->grab().toImage(), focused);

    click(f.Text4(3));
    key(Qt::Key_1); // the guard sends the focus to the tool list
    ASSERT_TRUE(list->hasFocus());
    EXPECT_EQ(list->grab().toImage(), focused);
}

TEST_F(RealWindow, AStationFileDroppedAnywhereOnTheWindowIsOpened) {
    QStringList opened;
    window.onFileDropped = [&](const QString& path) { opened.append(path); };
    window.setAcceptDrops(true);
    const auto drop = [&](QWidget* target, const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        data.setText(path); // as file managers offer it too
        QDragEnterEvent enter(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted() && target != &window) // ignored by a child: the window's turn
            QApplication::sendEvent(target = &window, &enter);
        QDropEvent event(enter.position(), Qt::CopyAction, &data, Qt::LeftButton, {});
        if (enter.isAccepted())
            QApplication::sendEvent(target, &event);
        QApplication::processEvents();
    };
    drop(widget(f.Text4(0)), u"/stations/line4.json"_s); // not typed into the field
    drop(&window, u"/stations/notes.txt"_s);
    EXPECT_EQ(opened, QStringList{u"/stations/line4.json"_s});
    EXPECT_EQ(f.Text4(0).text(), u"1.0"_s);
}

} // namespace
} // namespace veldrune
