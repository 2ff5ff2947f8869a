// The main window's commands beyond its controls, on the shipped catalogue, by real keys.

#include "gui/windowcommands.h"

#include "app/commandbuttons.h"
#include "calc/loadchart.h"
#include "calc/loadsimulation.h"
#include "gui/comparetools.h"
#include "gui/qtplatform.h"
#include "gui/qtwindow.h"
#include "report/captions.h"
#include "station/output.h"
#include "station/rank.h"
#include "station/savestation.h"
#include "support/station.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

const QString Stations = QStringLiteral(VELDRUNE_TEST_DATA "/stations");

// The desktop with its message boxes and printer dialogs noted instead of shown.
struct QuietDesktop : QtPlatform {
    using QtPlatform::QtPlatform;
    void showMessage(const QString& text, MessageIcon, const QString&) override {
        messages.append(text);
    }
    std::unique_ptr<QPagedPaintDevice> choosePrinter(const QString& jobName) override {
        messages.append(jobName);
        return nullptr;
    }
    QStringList messages;
};

// The window program with its commands, opened on a station file of the test data.
struct Desktop {
    explicit Desktop(const QString& station) {
        program.startUp({});
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        EXPECT_TRUE(commands.files().open(Stations + u'/' + station));
    }
    QuietDesktop platform{QStringLiteral(VELDRUNE_SHIPPED_DATA), Stations};
    Veldrune program{platform};
    Form1& f = program.form();
    QtWindow window{f};
    WindowCommands commands{window, program};
};

// The dialog ranks on worker threads, with the window usable meanwhile; its rows are the
// station's ranking, and picking a row makes the window show that row's run.
TEST(CompareTools, RowsAreTheStationsRankingAndEachPickedRowIsWhatTheWindowShows) {
    Desktop d(u"duty-cycle.json"_s);
    TypeAndLeave(d.f, d.f.Text4(9), u"60"_s); // above KRV-110QM1-05's maximum, which it shows
    QTest::keyClick(&d.window, Qt::Key_F3);
    auto* dialog = d.window.findChild<CompareDialog*>();
    ASSERT_TRUE(dialog && dialog->isVisible());
    EXPECT_TRUE(dialog->note()->text().contains(u"the 60 NM that was typed"_s));
    EXPECT_TRUE(d.window.isEnabled());
    for (int wait = 0; wait < 1200 && !dialog->done(); ++wait)
        QTest::qWait(50);
    ASSERT_TRUE(dialog->done());

    // veldrune-calc --rank --json for the station at 60 N·m.
    auto station = std::get<Station>(ReadStation(test::TestData(u"stations/duty-cycle.json"_s)));
    station.dutyCycle->fasteningTorque = u"60"_s;
    const auto ranked = RankStation(station, {QStringLiteral(VELDRUNE_SHIPPED_DATA), Stations});
    const QJsonArray runs =
        QJsonDocument::fromJson(
            QByteArray::fromStdString(StationsJson(std::get<std::vector<StationReport>>(ranked))))
            .array();
    const QAbstractItemModel* rows = dialog->table()->model();
    ASSERT_EQ(rows->rowCount(), runs.size());
    // What the window shows of a run: its total and the chart's words for its load.
    const auto shown = [](const QString& total, double peak, double final) {
        return total + u' ' + u"%1 %2"_s.arg(peak, 0, 'f', 1).arg(final, 0, 'f', 1);
    };
    const auto windowShows = [&] {
        const LoadSimulation load = SimulateLoad(ReadDutyCycleInputs(d.f), d.program.catalogue());
        EXPECT_TRUE(d.f.Picture2.toolTip().startsWith(
            u"Peak motor load %1 %"_s.arg(load.peakLoadPercent, 0, 'f', 1)));
        return shown(d.f.TOTAL.text(), load.peakLoadPercent, load.finalLoadPercent);
    };
    QStringList expected;
    for (int r = 0; r < rows->rowCount(); ++r) {
        const QJsonObject run = runs[r].toObject(), rank = run[u"rank"].toObject();
        const QJsonObject duty = run[u"duty_cycle"].toObject();
        const QJsonValue safe = rank[u"shortest_safe_cycle_time"];
        QStringList cells;
        for (int c = 0; c < rows->columnCount(); ++c)
            cells.append(rows->index(r, c).data().toString());
        EXPECT_EQ(
            cells,
            (QStringList{QString::number(rank[u"position"].toInt()), run[u"tool"].toString(),
                         run[u"angle_head"].toString(), run[u"total_time"].toString(),
                         u"%1"_s.arg(duty[u"peak_load_percent"].toDouble(), 0, 'f', 1),
                         duty[u"fastening_torque"].toString().trimmed(),
                         run[u"ratings"][u"max_torque"][u"NM"].toString().trimmed(),
                         safe.isNull() ? u"-"_s : safe.toString(), rank[u"verdict"].toString()}));
        expected.append(shown(run[u"total_time"].toString(), duty[u"peak_load_percent"].toDouble(),
                              duty[u"final_load_percent"].toDouble()));
    }
    // The sixth run, KRV-320QM3 with RH4, picked by Enter; then every run as a pick shows it.
    dialog->table()->setCurrentIndex(rows->index(5, 0));
    QTest::keyClick(dialog->table(), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(d.f.TOOLLIST.text().trimmed(), rows->index(5, 1).data().toString());
    EXPECT_EQ(windowShows(), expected[5]);
    for (int r = 0; r < rows->rowCount(); ++r) {
        d.commands.files().show(RankedRun(station, rows->index(r, 1).data().toString(),
                                          rows->index(r, 2).data().toString()),
                                {});
        EXPECT_EQ(windowShows(), expected[r]) << r;
    }

    // Escape while it ranks stops the ranking and closes the dialog; the window is as it was.
    const QStringList before = test::Shown(d.f);
    dialog = d.commands.compareTools();
    ASSERT_TRUE(dialog && !dialog->done());
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(test::Shown(d.f), before);
}

TEST(WindowKeys, PressTheirButtonsWhoseTooltipsNameThem) {
    Desktop d(u"duty-cycle.json"_s);
    const std::tuple<int, QKeyCombination, QString> rows[] = {
        {0, Qt::Key_F5, u"UPDATE CALCULATION (F5)"_s},
        {1, Qt::CTRL | Qt::Key_P, u"PRINT OUT (Ctrl+P)"_s},
        {2, Qt::Key_F1, u"ABOUT VELDRUNE (F1)"_s},
        {3, Qt::CTRL | Qt::Key_L, u"LOAD CALCULATION (Ctrl+L)"_s}};
    // The chart's tooltip and description: the figures veldrune-calc gives for the station
    // (peak_load_percent 33.2387695, final_load_percent 31.9133682).
    const QString words =
        u"Peak motor load 33.2 %, load at the end of the period 31.9 %: no overload"_s;
    const auto* chart = qobject_cast<QLabel*>(d.window.widgetFor(d.f.Picture2));
    EXPECT_EQ(chart->toolTip(), words);
    EXPECT_EQ(chart->accessibleDescription(), words);
    d.window.repaint(); // the box keeps showing the model's picture
    EXPECT_EQ(chart->pixmap().toImage(), d.f.Picture2.picture());

    d.f.Picture2.setToolTip({});
    for (const auto& [button, keys, tip] : rows) {
        EXPECT_EQ(d.window.widgetFor(d.f.Command1(button))->toolTip(), tip);
        QTest::keyClick(&d.window, keys.key(), keys.keyboardModifiers());
    }
    // F5 drew the chart again, Ctrl+P asked for a printer for the station, F1 showed the about
    // box, Ctrl+L switched to the short layout.
    EXPECT_TRUE(d.f.Picture2.toolTip().startsWith(u"Peak motor load "_s));
    EXPECT_EQ(d.platform.messages,
              (QStringList{u"VELDRUNE - Station 40, wheel nuts"_s, AboutText()}));
    EXPECT_FALSE(d.program.flags().LoadSectionShown);
}

TEST(Accessibility, EveryFocusableControlHasANameThatFollowsTheCaptionFile) {
    test::FakePlatform platform; // a caption file with two keys: the rest of the window blank
    platform.putShippedCatalogue();
    platform.putProgramFile(CaptionFileName, "3\tWERKZEUGTYP\r\n19\tANLAUFZEIT\r\n");
    Veldrune program(platform);
    program.startUp({});
    Form1& f = program.form();
    QtWindow window(f);
    WindowCommands commands(window, program);
    window.show();
    ASSERT_TRUE(PickEntry(f, f.TOOLLIST, u"KRV-110QM1-05"_s, 1));
    window.perform([] {}); // as after any event: the names follow what the window shows
    const auto name = [](QWidget* widget) {
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
        if (control->role() != QAccessible::ComboBox)
            return control->text(QAccessible::Name);
        // A list's name is its current entry here: its caption is the label it has, if any.
        const auto labels = control->relations(QAccessible::Label);
        return labels.isEmpty() ? widget->accessibleName()
                                : labels.first().first->text(QAccessible::Name);
    };
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->isVisible() && (widget->focusPolicy() & Qt::TabFocus)) {
            EXPECT_FALSE(name(widget).isEmpty()) << widget->metaObject()->className();
        }
    }
    // The file's wording; the built-in one where the file leaves a caption blank.
    const std::pair<const Control*, QString> names[] = {
        {&f.TOOLLIST, u"WERKZEUGTYP"_s},
        {&f.Text4(0), u"ANLAUFZEIT"_s},
        {&f.Text4(4), u"TIGHTENING TIME"_s},
        {&f.TOTAL, u"ESTIMATED TOTAL TIME "_s + f.TOTAL.text().trimmed()},
        {&f.Command1(1), u"PRINT OUT"_s}};
    for (const auto& [control, expected] : names)
        EXPECT_EQ(name(window.widgetFor(*control)), expected);
}

} // namespace
} // namespace veldrune
