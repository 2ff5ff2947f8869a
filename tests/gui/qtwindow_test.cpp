// The real window on the offscreen platform, driven by real mouse and key events.

#include "gui/qtwindow.h"

#include "app/startup.h"
#include "app/veldrune.h"
#include "gui/qtplatform.h"
#include "station/stationfile.h"
#include "support/fakeplatform.h"
#include "support/locales.h"
#include "support/qtprinters.h"
#include "window/useractions.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

class RealWindow : public ::testing::Test {
protected:
    RealWindow() {
        platform.putShippedCatalogue();
        program.startUp({});
        window.onFrameChanged = [this] { CentreForm(f, platform.screenSize()); };
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <typename W = QWidget> W* widget(const Control& control) {
        return qobject_cast<W*>(window.widgetFor(control));
    }
    void click(const Control& control) {
        QTest::mouseClick(widget(control), Qt::LeftButton, {}, widget(control)->rect().center());
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }
    void pickTool() { ASSERT_TRUE(PickEntry(f, f.TOOLLIST, u"KRV-110QM1-05"_s)); }

    test::FakePlatform platform;
    Veldrune program{platform};
    Form1& f = program.form();
    QtWindow window{f};
};

TEST_F(RealWindow, OpensShortCentredByItsRealFrameWithItsControlsInPlace) {
    EXPECT_EQ(window.windowTitle(), u"QEL VELDRUNE"_s);
    EXPECT_EQ(window.size(), QSize(792, 399)); // the client area of the short layout
    // Centred by its real outer size, whatever frame the platform draws around it.
    const QRect outer = window.frameGeometry();
    EXPECT_EQ(outer.topLeft(), QPoint((1280 - outer.width()) / 2, (1080 - outer.height()) / 2));

    EXPECT_EQ(widget<QComboBox>(f.SYSTEM)->currentText(), u"MVC4800"_s);
    EXPECT_EQ(widget(f.SYSTEM)->geometry(), QRect(540, 4, 181, 23));
    EXPECT_EQ(widget(f.Label4(2))->geometry().left(), 284);
    EXPECT_EQ(widget<QLabel>(f.Label10(6))->alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_FALSE(widget(f.PRNTEST)->isVisible());
    EXPECT_FALSE(widget(f.Text4(8))->isVisible());
    EXPECT_EQ(widget(f.Command1(1))->toolTip(), u"PRINT OUT"_s);

    f.setHeight(TallHeight);
    EXPECT_EQ(window.height(), 683);
}

TEST(RightToLeftWindow, KeepsEveryControlInPlaceUnmirrored) {
    QApplication::setLayoutDirection(Qt::RightToLeft); // as under a Hebrew or Arabic locale
    const auto restore = qScopeGuard([] { QApplication::setLayoutDirection(Qt::LeftToRight); });
    test::FakePlatform platform;
    platform.putShippedCatalogue();
    Veldrune program{platform};
    program.startUp({});
    QtWindow window{program.form()};
    window.show();
    EXPECT_EQ(window.widgetFor(program.form().SYSTEM)->geometry(), QRect(540, 4, 181, 23));
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
    EXPECT_TRUE(widget<QLineEdit>(f.Text4(5))->hasSelectedText());
    QTest::keyClicks(widget(f.Text4(5)), u"45"_s);
    EXPECT_EQ(f.Text4(5).text(), u"45"_s);

    click(f.Text4(0)); // leaving the angle formats it and recalculates
    EXPECT_EQ(f.Text4(5).text(), u"45"_s);
    EXPECT_EQ(f.Text4(4).text(), u"0.25"_s);
    QTest::keyClicks(widget(f.Text4(0)), u"2.5"_s);
    key(Qt::Key_Return); // Enter moves on; only the focused field shows a selection
    EXPECT_EQ(f.Text4(0).text(), u"2.50"_s);
    EXPECT_EQ(widget<QLineEdit>(f.Text4(0))->text(), u"2.50"_s);
    EXPECT_FALSE(widget<QLineEdit>(f.Text4(0))->hasSelectedText());
    EXPECT_EQ(widget<QLineEdit>(f.Text4(0))->alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_TRUE(widget(f.Text4(1))->hasFocus());
    EXPECT_TRUE(widget<QLineEdit>(f.Text4(1))->hasSelectedText());
}

TEST_F(RealWindow, BeforeAToolIsChosenNoKeyNorPasteChangesAPhaseField) {
    QApplication::clipboard()->setText(u"777"_s);
    const std::pair<int, Qt::KeyboardModifiers> edits[] = {{Qt::Key_7, {}},
                                                           {Qt::Key_V, Qt::ControlModifier},
                                                           {Qt::Key_Insert, Qt::ShiftModifier},
                                                           {Qt::Key_Delete, {}},
                                                           {Qt::Key_X, Qt::ControlModifier},
                                                           {Qt::Key_Z, Qt::ControlModifier},
                                                           {Qt::Key_Backspace, {}}};
    for (const auto& [k, modifiers] : edits) {
        click(f.Text4(0));
        ASSERT_EQ(f.focused(), &f.Text4(0));
        key(k, modifiers);
        EXPECT_EQ(widget<QLineEdit>(f.Text4(0))->text(), u"1.00"_s) << k;
        EXPECT_EQ(f.focused(), &f.TOOLLIST) << k;
        EXPECT_TRUE(widget(f.TOOLLIST)->hasFocus()) << k;
    }

    // The context menu's Paste asks the same guard.
    click(f.Text4(0));
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        for (QAction* action : menu->actions()) {
            if (action->text() == u"&Paste"_s)
                action->trigger();
        }
        menu->close();
    });
    auto* edit = widget(f.Text4(0));
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, edit->rect().center(),
                                edit->mapToGlobal(edit->rect().center()));
    QApplication::sendEvent(edit, &menuEvent);
    EXPECT_EQ(widget<QLineEdit>(f.Text4(0))->text(), u"1.00"_s);
    EXPECT_EQ(f.focused(), &f.TOOLLIST);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window)); // given back once the menu is gone

    // Once a tool is chosen, a paste goes in.
    pickTool();
    click(f.Text4(0));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.Text4(0).text(), u"777"_s);
}

TEST_F(RealWindow, TabFollowsTheModelsFocusOrderInBothLayouts) {
    auto walk = [this](bool forwards) {
        QList<const Control*> real;
        QList<const Control*> model;
        const Control* expected = &f.TOOLLIST;
        do {
            expected = f.nextInTabOrder(expected, !forwards);
            model.append(expected);
            key(forwards ? Qt::Key_Tab : Qt::Key_Backtab);
            real.append(f.focused());
            EXPECT_EQ(QApplication::focusWidget(), widget(*f.focused()));
        } while (expected != &f.TOOLLIST && model.size() < 60);
        EXPECT_EQ(real, model);
        return model.size();
    };
    PressEnter(f, f.TOOLLIST); // start from the tool list
    const auto shortWalk = walk(true);
    EXPECT_EQ(walk(false), shortWalk);
    EXPECT_FALSE(f.canTakeFocus(f.DURR));

    for (Control* c : {&f.Text4(8), &f.Text4(9)})
        c->setVisible(true);
    f.setHeight(TallHeight);
    EXPECT_EQ(walk(true), shortWalk + 7); // the duty-cycle fields, lists, box and picture
}

TEST_F(RealWindow, TheFocusedListShowsItsFocusWhateverMovedItThere) {
    // At start-up, after the guard and after Enter in the last field, the focus is on the
    // tool list; it must show, or the next arrow key changes the tool unseen.
    auto* list = widget(f.TOOLLIST);
    ASSERT_TRUE(list->hasFocus());
    const QImage focused = list->grab().toImage();
    click(f.Text5);
    const QImage unfocused = list->grab().toImage();
    EXPECT_NE(focused, unfocused);

    click(f.Text4(3));
    key(Qt::Key_1); // the guard sends the focus to the tool list
    ASSERT_TRUE(list->hasFocus());
    EXPECT_EQ(list->grab().toImage(), focused);
}

TEST_F(RealWindow, PicksOptionsAndTypingReachTheModel) {
    widget(f.SYSTEM)->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Up);
    EXPECT_FALSE(widget(f.Command1(3))->isEnabled()); // "Tarvon" disables LOAD CALCULATION

    auto* boltLength = widget<QRadioButton>(f.Option1(0));
    click(f.Option1(0)); // already on: stays on
    EXPECT_TRUE(boltLength->isChecked());
    click(f.Option1(1));
    EXPECT_FALSE(boltLength->isChecked());
    EXPECT_FALSE(widget(f.Text1)->isEnabled());
}

TEST_F(RealWindow, TheChartStaysInPicture2WhateverRepaintsTheWindow) {
    pickTool();
    click(f.Command1(3)); // LOAD CALCULATION: the tall layout
    EXPECT_EQ(window.height(), 683);
    f.Text4(8).setText(u"30"_s);
    f.Text4(9).setText(u"4.5"_s);
    widget(f.DURR)->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Down); // 8 minutes
    EXPECT_EQ(f.DURR.text(), u"8"_s);
    auto* picture = widget<QLabel>(f.Picture2);
    window.repaint();
    EXPECT_EQ(picture->pixmap().toImage(), f.Picture2.picture());
    EXPECT_EQ(picture->grab().toImage().pixel(300, 100), f.Picture2.picture().pixel(300, 100));
}

TEST_F(RealWindow, TextsTooWideForTheirControlShowWholeInATooltip) {
    ASSERT_TRUE(PickEntry(f, f.TOOLLIST, u"KRV-220QT2-A"_s));
    ASSERT_TRUE(PickEntry(f, f.ANGLE, u"RH3"_s));
    EXPECT_EQ(f.Label3(1).text(), u" 30.86817 RPM"_s);
    EXPECT_EQ(widget(f.Label3(1))->toolTip(), f.Label3(1).text());
    EXPECT_EQ(widget(f.Label3(0))->toolTip(), QString());
    f.Text4(6).setText(f.Label3(1).text()); // as the speed limit copies it
    EXPECT_EQ(widget(f.Text4(6))->toolTip(), f.Label3(1).text());
}

TEST_F(RealWindow, AStationFileDroppedAnywhereOnTheWindowIsOpened) {
    QStringList opened;
    window.onFileDropped = [&](const QString& path) { opened.append(path); };
    window.setAcceptDrops(true);
    const auto drop = [&](QWidget* target, const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QWidget* receiver = target;
        QApplication::sendEvent(receiver, &enter);
        if (!enter.isAccepted() && receiver != &window) // ignored by a child: the window's turn
            QApplication::sendEvent(receiver = &window, &enter);
        if (!enter.isAccepted())
            return;
        QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(receiver, &event);
        QApplication::processEvents();
    };
    drop(widget(f.Text4(0)), u"/stations/line4.json"_s); // not typed into the field
    drop(&window, u"/stations/notes.txt"_s);
    EXPECT_EQ(opened, QStringList{u"/stations/line4.json"_s});
    EXPECT_EQ(f.Text4(0).text(), u"1.0"_s);
}

// The desktop with its message boxes noted instead of shown.
class QuietDesktop : public QtPlatform {
public:
    using QtPlatform::QtPlatform;
    void showMessage(const QString& text, MessageIcon, const QString&) override {
        messages.append(text);
    }
    QStringList messages;
};

// The window as the program starts it, on the shipped catalogue, with a station file opened:
// every control's text, the messages, and the chart.
std::pair<QStringList, QImage> OpenedWindow(const QString& station) {
    const QString folder = QStringLiteral(VELDRUNE_TEST_DATA "/stations");
    QuietDesktop platform(QStringLiteral(VELDRUNE_SHIPPED_DATA), folder);
    Veldrune program(platform);
    QtWindow window(program.form());
    platform.setMainWindow(&window);
    program.startUp({});
    EXPECT_TRUE(StationFiles(program).open(folder + u'/' + station)) << station.toStdString();
    QStringList texts;
    for (const auto& control : program.form().controls())
        texts.append(control->name() + u'=' + control->text());
    return {texts + platform.messages, program.form().Picture2.picture()};
}

TEST(WindowUnderALocale, ShowsEveryNumberAsUnderTheCLocale) {
    for (const QString& station : {u"duty-cycle.json"_s, u"revolutions.json"_s, u"slow.json"_s}) {
        std::pair<QStringList, QImage> plain;
        {
            const test::CLibraryLocale c("C");
            plain = OpenedWindow(station);
        }
        EXPECT_TRUE(plain.first.contains(u"TOTAL=2.97"_s) || station != u"duty-cycle.json"_s);
        for (const char* locale : {"de_DE.UTF-8", "ru_RU.UTF-8"}) {
            const test::CLibraryLocale switched(locale);
            ASSERT_TRUE(switched.active) << locale << " was not built";
            const auto shown = OpenedWindow(station);
            EXPECT_EQ(shown.first, plain.first) << locale << ' ' << station.toStdString();
            EXPECT_TRUE(shown.second == plain.second) << locale << ' ' << station.toStdString();
        }
    }
}

} // namespace
} // namespace veldrune
