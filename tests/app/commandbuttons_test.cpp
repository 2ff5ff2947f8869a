#include "app/commandbuttons.h"

#include "calc/loadchart.h"
#include "support/qtprinters.h"
#include "support/station.h"
#include "window/useractions.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>
#include <tuple>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

class CommandButtons : public ::testing::Test {
protected:
    // Whether the tall layout is shown, every part of it agreeing.
    bool tall() const {
        const bool shown = f.Text4(8).visible();
        for (const Control* c : {&f.Text4(9), &f.Line1, &f.Line2})
            EXPECT_EQ(c->visible(), shown) << c->displayName().toStdString();
        EXPECT_EQ(s.program->flags().LoadSectionShown, shown);
        EXPECT_EQ(f.height(), shown ? TallHeight : CompactHeight);
        return shown;
    }

    test::StartedProgram s;
    Form1& f = s.form();
};

TEST_F(CommandButtons, LoadCalculationSwitchesTheLayoutByTheHeightAndCentresTheWindow) {
    EXPECT_FALSE(tall());
    f.click(f.Command1(3));
    EXPECT_TRUE(tall());
    EXPECT_DOUBLE_EQ(f.top(), (16200 - 10755) / 2.0);
    f.click(f.Command1(3));
    EXPECT_FALSE(tall());
    EXPECT_DOUBLE_EQ(f.top(), (16200 - 6500) / 2.0);

    f.click(f.Command1(3));
    f.setHeight(CompactHeight + 1); // any height but exactly the short one means "tall"
    f.click(f.Command1(3));
    EXPECT_FALSE(tall());

    f.click(f.Command1(3));
    s.pick(f.SYSTEM, u"Tarvon"_s);
    f.click(f.Command1(3)); // disabled by this system: nothing happens
    EXPECT_TRUE(tall());
}

TEST_F(CommandButtons, UpdateCalculationRedrawsTheChartOnlyInTheTallLayout) {
    ASSERT_TRUE(s.pick(f.TOOLLIST, u"KRV-110QM1-05"_s));
    f.Text4(8).setText(u"30"_s);
    f.Text4(9).setText(u"4.5"_s);
    const QImage empty = f.Picture2.picture(); // cleared by the period picked at start-up
    f.Command1(1).setVisible(false);
    f.click(f.Command1(0));
    EXPECT_EQ(f.Picture2.picture(), empty);
    EXPECT_TRUE(f.Command1(1).visible()); // the epilogue runs all the same
    EXPECT_EQ(f.pointer(), MousePointer::Normal);

    f.click(f.Command1(3));
    f.click(f.Command1(0));
    EXPECT_NE(f.Picture2.picture(), empty);
}

// A chart drawn for other inputs than the window shows is marked out of date, its tooltip (and
// so what a screen reader reads) saying so instead of the figures; what draws it for the inputs
// shown unmarks it: UPDATE CALCULATION, a period pick, the tall layout opening, and the inputs
// typed back.
TEST_F(CommandButtons, AChartDrawnForOtherInputsIsMarkedOutOfDateUntilDrawnForThem) {
    ASSERT_TRUE(s.pick(f.TOOLLIST, u"KRV-110QM1-05"_s));
    f.click(f.Command1(3)); // the tall layout opens on a chart drawn for the tool picked
    TypeAndLeave(f, f.Text4(8), u"30"_s);
    f.click(f.Command1(0));
    EXPECT_TRUE(f.Picture2.toolTip().startsWith(u"Peak motor load "_s));
    const auto state = [&] {
        if (f.Picture2.mark().isEmpty())
            return f.Picture2.toolTip() != ChartOutOfDateMark ? "current" : "?";
        return f.Picture2.mark() == ChartOutOfDateMark && f.Picture2.toolTip() == ChartOutOfDateMark
                   ? "out of date"
                   : "?";
    };
    EXPECT_STREQ(state(), "current");
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"a field left", [&] { TypeAndLeave(f, f.Text4(8), u"3.2"_s); }},
        {"a field being typed", [&] { f.moveFocus(f.Text4(9)), f.typeText(f.Text4(9), u"8"_s); }},
        {"the check box", [&] { f.click(f.PREVILING); }},
        {"a unit", [&] { s.pick(f.TQUNIT, u"KGM"_s); }},
        {"a tool", [&] { s.pick(f.TOOLLIST, u"KRV-450QT3"_s); }},
    };
    const std::function<void()> redraws[] = {
        [&] { f.click(f.Command1(0)); },
        [&] { f.pick(f.DURR, 3); },
        [&] { f.click(f.Command1(3)), f.click(f.Command1(3)); },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        SCOPED_TRACE(changes[i].first);
        changes[i].second();
        EXPECT_STREQ(state(), "out of date");
        redraws[i % std::size(redraws)]();
        EXPECT_STREQ(state(), "current");
    }
    TypeAndLeave(f, f.Text5, u"Line 4"_s); // nothing the chart shows
    f.click(f.Command1(2));
    EXPECT_STREQ(state(), "current");
    const QString cycle = f.Text4(8).text();
    TypeAndLeave(f, f.Text4(8), u"9"_s);
    EXPECT_STREQ(state(), "out of date");
    TypeAndLeave(f, f.Text4(8), cycle);
    EXPECT_STREQ(state(), "current");
}

// How many pages a PDF file holds.
qsizetype PageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return QString::fromLatin1(file.readAll()).count(QRegularExpression(u"/Type\\s*/Page[^s]"_s));
}

TEST_F(CommandButtons, PrintOutPrintsOnePageOnTheChosenPrinterOrTellsWhyNot) {
    ASSERT_TRUE(s.pick(f.TOOLLIST, u"KRV-110QM1-05"_s));
    f.click(f.Command1(1)); // no printer chosen: the dialog was cancelled
    EXPECT_TRUE(s.platform.messages().empty());

    QTemporaryDir dir;
    const QString path = dir.filePath(u"report.pdf"_s);
    s.platform.printer = [&] {
        auto pdf = std::make_unique<QPdfWriter>(path);
        pdf->setPageSize(QPageSize(QPageSize::A4));
        return pdf;
    };
    f.click(f.Command1(3)); // the tall layout, with its chart
    f.click(f.Command1(1));
    EXPECT_TRUE(s.platform.messages().empty());
    EXPECT_EQ(PageCount(path), 1);

    s.platform.printer = [] { return std::make_unique<QPdfWriter>(u"/no/such/folder/r.pdf"_s); };
    f.click(f.Command1(1));
    ASSERT_EQ(s.platform.messages().size(), 1u);
    EXPECT_TRUE(s.platform.messages()[0].text.startsWith(u"THE REPORT WAS NOT PRINTED: "_s));
    EXPECT_EQ(s.platform.messages()[0].icon, MessageIcon::Critical);

    // The printer's trouble is told: before the page, which is then not printed, or after it;
    // a page the print system refused was not printed.
    TypeAndLeave(f, f.Text5, u"Station 7"_s);
    s.platform.printer = [&] { return std::make_unique<QPdfWriter>(path); };
    const std::tuple<QStringList, QString, QString> troubles[] = {
        {{u"stopped"_s}, {}, u"THE REPORT WAS NOT PRINTED: STOPPED"_s},
        {{QString(), u"job aborted"_s}, {}, u"THE REPORT MAY NOT HAVE BEEN PRINTED: JOB ABORTED"_s},
        {{QString(), u"job aborted"_s}, u"refused"_s, u"THE REPORT WAS NOT PRINTED: REFUSED"_s}};
    for (const auto& [told, refusal, message] : troubles) {
        s.platform.clearMessages();
        s.platform.troubles = told;
        s.platform.refusal = refusal;
        f.click(f.Command1(1));
        EXPECT_EQ(s.platform.messageTexts(), QStringList{message});
    }
    EXPECT_EQ(s.platform.printJobs.first(), u"VELDRUNE"_s); // no description yet
    EXPECT_EQ(s.platform.printJobs.last(), u"VELDRUNE - Station 7"_s);
}

TEST_F(CommandButtons, PrintTestDrawsTheReportIntoThePreviewWindowAtHalfSize) {
    Form2& preview = s.program->form2();
    EXPECT_FALSE(preview.loaded());
    f.click(f.PRNTEST);
    EXPECT_TRUE(preview.visible());
    // The window frames the half-size page; the canvas is the page.
    EXPECT_DOUBLE_EQ(preview.width(), A4InTwips.width() / 2);
    EXPECT_EQ(preview.Picture1.place().width, int(A4InTwips.width()));
    const QImage& canvas = preview.Picture1.picture();
    ASSERT_FALSE(canvas.isNull());
    // The page is drawn at half size: into the upper-left quarter and nowhere beyond it.
    QRect ink;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.pixel(x, y) != canvas.pixel(0, 0))
                ink |= QRect(x, y, 1, 1);
    EXPECT_TRUE(ink.intersects(QRect(0, 0, canvas.width() / 2, canvas.height() / 2)));
    EXPECT_LT(ink.right(), canvas.width() / 2 + canvas.width() / 20);
    EXPECT_LT(ink.bottom(), canvas.height() / 2 + canvas.height() / 20);
}

} // namespace
} // namespace veldrune
