// The real window on the offscreen platform: it shows the model and feeds events back.

#include "platform/qtwindow.h"

#include "app/veldrune.h"
#include "support/fakeplatform.h"
#include "support/qtprinters.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

class RealWindow : public ::testing::Test {
protected:
    RealWindow() {
        platform.putShippedCatalogue();
        program.startUp({});
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <typename W> W* widget(const Control& control) {
        return qobject_cast<W*>(window.widgetFor(control));
    }

    test::FakePlatform platform;
    Veldrune program{platform};
    QtWindow window{program.form()};
};

TEST_F(RealWindow, OpensWithTheShortLayoutAndItsControlsInPlace) {
    Form1& f = program.form();
    EXPECT_EQ(window.windowTitle(), u"QEL VELDRUNE"_s);
    EXPECT_EQ(window.width(), 792);
    EXPECT_EQ(window.height(), 399); // (6500 - 510) twips of client area
    EXPECT_EQ(window.pos(), QPoint(240, 323));

    auto* system = widget<QComboBox>(f.SYSTEM);
    ASSERT_TRUE(system);
    EXPECT_EQ(system->currentText(), u"MVC4800"_s);
    EXPECT_EQ(system->geometry(), QRect(540, 4, 181, 23));
    EXPECT_EQ(widget<QLabel>(f.TOTAL)->text(), u"1.00"_s);
    EXPECT_TRUE(widget<QLabel>(f.TOTAL)->font().bold());
    EXPECT_EQ(widget<QLineEdit>(f.Text4(5))->text(), u"90.0"_s);
    EXPECT_EQ(widget<QLineEdit>(f.Text4(5))->alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_FALSE(widget<QLineEdit>(f.Text3)->isEnabled());
    EXPECT_FALSE(window.widgetFor(f.PRNTEST)->isVisible());
    EXPECT_FALSE(window.widgetFor(f.Text4(8))->isVisible());
    EXPECT_EQ(widget<QToolButton>(f.Command1(1))->toolTip(), u"PRINT OUT"_s);
    EXPECT_FALSE(widget<QToolButton>(f.Command1(0))->icon().isNull());
}

TEST_F(RealWindow, FollowsTheModel) {
    Form1& f = program.form();
    f.Label3(0).setText(u"2000 RPM"_s);
    EXPECT_EQ(widget<QLabel>(f.Label3(0))->text(), u"2000 RPM"_s);
    f.setHeight(TallHeight);
    EXPECT_EQ(window.height(), 683);
    f.Text4(8).setVisible(true);
    EXPECT_TRUE(window.widgetFor(f.Text4(8))->isVisible());
}

TEST_F(RealWindow, UserEventsReachTheModel) {
    Form1& f = program.form();
    auto* system = widget<QComboBox>(f.SYSTEM);
    system->setCurrentIndex(1);
    Q_EMIT system->activated(1);
    EXPECT_EQ(f.SYSTEM.text(), u"Tarvon"_s);
    EXPECT_FALSE(f.Command1(3).enabled());
    EXPECT_FALSE(window.widgetFor(f.Command1(3))->isEnabled());

    auto* boltLength = qobject_cast<QRadioButton*>(window.widgetFor(f.Option1(0)));
    QTest::mouseClick(boltLength, Qt::LeftButton); // already on: stays on
    EXPECT_TRUE(boltLength->isChecked());
    QTest::mouseClick(window.widgetFor(f.Option1(1)), Qt::LeftButton);
    EXPECT_FALSE(boltLength->isChecked());
    EXPECT_FALSE(f.Text1.enabled());

    auto* description = widget<QLineEdit>(f.Text5);
    description->setFocus();
    QTest::keyClicks(description, u"Station 40"_s);
    EXPECT_EQ(f.Text5.text(), u"Station 40"_s);
    EXPECT_EQ(f.focused(), &f.Text5);
}

} // namespace
} // namespace veldrune

namespace veldrune {
namespace {

TEST_F(RealWindow, EnterMovesOnAndOnlyTheFocusedFieldShowsASelection) {
    Form1& f = program.form();
    f.pick(f.TOOLLIST, 1);
    QApplication::processEvents();
    auto* first = widget<QLineEdit>(f.Text4(1));
    auto* second = widget<QLineEdit>(f.Text4(2));
    first->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(f.focused(), &f.Text4(1));
    EXPECT_TRUE(first->hasSelectedText());
    QTest::keyClick(first, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(f.focused(), &f.Text4(2));
    EXPECT_TRUE(second->hasFocus());
    EXPECT_TRUE(second->hasSelectedText());
    EXPECT_FALSE(first->hasSelectedText());
    EXPECT_EQ(first->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

} // namespace
} // namespace veldrune
