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

#include <iostream>
#include <tuple>

#include <QAccessible>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMetaEnum>
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

// Read as the desktop's accessibility bridge reads them: every list and field is named by its
// caption and labelled by it, whatever entry a list shows; the fastening options are radio
// buttons; the names follow a caption file's wording. The listing is printed for reference.
TEST(Accessibility, EveryListAndFieldIsNamedAndLabelledByItsCaptionWhateverItShows) {
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
    ASSERT_TRUE(PickEntry(f, f.ANGLE, u"RH1"_s));
    window.perform([] {}); // as after any event: the names follow what the window shows
    const auto read = [&](const Control& control) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(window.widgetFor(control));
        const auto labels = a->relations(QAccessible::Label);
        return std::tuple(
            a->text(QAccessible::Name),
            labels.isEmpty() ? u"-"_s : labels.first().first->text(QAccessible::Name),
            QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(a->role())));
    };
    QStringList listing;
    for (const auto& control : f.controls()) {
        QWidget* widget = window.widgetFor(*control);
        if (!widget)
            continue;
        const auto [name, label, role] = read(*control);
        listing.append(
            u"%1 %2 \"%3\" labelled \"%4\""_s.arg(control->displayName(), role, name, label));
        if (control->kind() == ControlKind::Entry || control->kind() == ControlKind::DropDownList) {
            EXPECT_FALSE(name.isEmpty()) << listing.last().toStdString();
            EXPECT_EQ(label, name) << listing.last().toStdString();
        } else if (widget->isVisible() && (widget->focusPolicy() & Qt::TabFocus)) {
            EXPECT_FALSE(name.isEmpty()) << listing.last().toStdString();
        }
    }
    std::cout << listing.join(u'\n').toStdString() << '\n';
    // The file's wording; the built-in one where the file leaves a caption blank.
    const std::tuple<const Control*, QString, const char*> names[] = {
        {&f.SYSTEM, u"SYSTEM"_s, "ComboBox"},
        {&f.TOOLLIST, u"WERKZEUGTYP"_s, "ComboBox"},
        {&f.ANGLE, u"ANGLE HEAD"_s, "ComboBox"},
        {&f.DURR, u"DUTY CYCLE CALCULATION"_s, "ComboBox"},
        {&f.Text4(0), u"ANLAUFZEIT"_s, "EditableText"},
        {&f.Text4(4), u"TIGHTENING TIME"_s, "EditableText"},
        {&f.Text4(9), u"FASTENING TORQUE"_s, "EditableText"},
        {&f.Text1, u"BOLT LENGTH"_s, "EditableText"},
        {&f.Option1(0), u"BOLT LENGTH"_s, "RadioButton"},
        {&f.Option1(1), u"NUMBER OF REVOLUTIONS"_s, "RadioButton"},
        {&f.TOTAL, u"ESTIMATED TOTAL TIME "_s + f.TOTAL.text().trimmed(), "StaticText"},
        {&f.Command1(1), u"PRINT OUT"_s, "Button"}};
    for (const auto& [control, expected, role] : names) {
        EXPECT_EQ(std::get<0>(read(*control)), expected);
        EXPECT_EQ(std::get<2>(read(*control)), QLatin1String(role)) << expected.toStdString();
    }
    ASSERT_TRUE(PickEntry(f, f.SYSTEM, u"MVC2400"_s));
    window.perform([] {});
    EXPECT_EQ(read(f.SYSTEM), std::tuple(u"SYSTEM"_s, u"SYSTEM"_s, u"ComboBox"_s));
}

} // namespace
} // namespace veldrune
