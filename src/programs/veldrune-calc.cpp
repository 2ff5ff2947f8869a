// The batch calculator: applies station files to the program as a person would at the window
// and prints what the window then shows.

#include "platform/recordingplatform.h"
#include "station/output.h"
#include "station/rank.h"
#include "station/runner.h"
#include "station/station.h"
#include "station/stationfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>

#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>
#include <memory>

#include <unistd.h>

namespace {

// Bad input: one line on standard error and nothing on standard output.
constexpr int BadInput = 2;

int refuse(const std::string& message) {
    std::cerr << "veldrune-calc: " << message << '\n';
    return BadInput;
}

std::string where(const QString& file, const veldrune::StationError& error) {
    return veldrune::StationErrorLine(file, error).toStdString();
}

// How far a long run has got, on standard error while it is a terminal: shown once the run
// takes more than a second, and erased before anything else is written.
class Progress {
public:
    Progress()
        : m_terminal(isatty(STDERR_FILENO) == 1) {
        m_clock.start();
    }
    ~Progress() { clear(); }

    void update(int done, int total, const char* what) {
        if (!m_terminal || m_clock.elapsed() < 1000 || (m_visible && m_shown.elapsed() < 100))
            return;
        std::cerr << "\r" << done << " of " << total << ' ' << what << std::flush;
        m_visible = true;
        m_shown.start();
    }
    void clear() {
        if (m_visible)
            std::cerr << "\r\033[K" << std::flush;
        m_visible = false;
    }

private:
    bool m_terminal;
    bool m_visible = false;
    QElapsedTimer m_clock;
    QElapsedTimer m_shown;
};

} // namespace

int main(int argc, char* argv[]) {
    CLI::App cli{"Computes fastening stations exactly as the VELDRUNE window would.",
                 "veldrune-calc"};
    std::vector<std::string> files;
    bool json = false;
    bool csv = false;
    bool rank = false;
    std::string catalogue;
    std::string trace;
    std::string chart;
    std::string report;
    cli.add_option("stations", files, "Station files (JSON)")->required();
    cli.add_flag("--json", json, "Print the stations' JSON documents instead of a summary");
    cli.add_flag("--csv", csv, "Print the stations as a CSV table, one row per station");
    cli.add_flag("--rank", rank,
                 "Run the station with every tool of its system (and every head that fits, "
                 "when it names a head) and rank the runs");
    cli.add_option("--catalogue", catalogue,
                   "Tool catalogue to read instead of the shipped TOOLINFO.LST");
    cli.add_option("--trace", trace, "Write the duty-cycle steps of the station to this CSV file");
    cli.add_option("--chart", chart, "Write the station's load chart to this PNG file");
    cli.add_option("--report", report, "Print the station's report into this PDF file");
    try {
        cli.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << cli.help();
        return 0;
    } catch (const CLI::ParseError& e) {
        return refuse(e.what());
    }
    if ((!trace.empty() || !chart.empty() || !report.empty()) && files.size() != 1)
        return refuse("--trace, --chart and --report take one station file");
    if (json && csv)
        return refuse("--json and --csv exclude each other");
    if (rank && (files.size() != 1 || !trace.empty() || !chart.empty() || !report.empty()))
        return refuse("--rank takes one station file, without --trace, --chart or --report");

    // Standard error is for the one line about bad input; Qt's notes stay out of it.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // Drawing needs fonts, and so a GUI application, but never a screen.
    std::unique_ptr<QCoreApplication> app;
    if (chart.empty() && report.empty()) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }

    veldrune::RunOptions options;
    options.catalogueFile = QString::fromStdString(catalogue);
    options.chart = !chart.empty();
    options.steps = !trace.empty();
    options.report = QString::fromStdString(report);
    if (!options.catalogueFile.isEmpty() && !QFile(options.catalogueFile).open(QIODevice::ReadOnly))
        return refuse("--catalogue " + catalogue + ": cannot be read");

    // Nothing reaches standard output before every station has run: a bad one refuses all.
    Progress progress;
    const veldrune::RankPlace place{QCoreApplication::applicationDirPath(), QDir::currentPath()};
    std::vector<veldrune::StationReport> reports;
    QStringList names;
    for (const std::string& name : files) {
        const QString file = QString::fromStdString(name);
        QFile input(file);
        if (!input.open(QIODevice::ReadOnly)) {
            progress.clear();
            return refuse(name + ": cannot be read: " + input.errorString().toStdString());
        }
        const auto station = veldrune::ReadStation(input.readAll());
        if (const auto* error = std::get_if<veldrune::StationError>(&station))
            return progress.clear(), refuse(where(file, *error));
        if (rank) {
            auto ranked = veldrune::RankStation(
                std::get<veldrune::Station>(station), place, options,
                [&](int done, int total) { progress.update(done, total, "runs"); });
            if (const auto* error = std::get_if<veldrune::StationError>(&ranked))
                return progress.clear(), refuse(where(file, *error));
            reports = std::move(std::get<std::vector<veldrune::StationReport>>(ranked));
            for (std::size_t i = 0; i < reports.size(); ++i)
                names.append(file);
            break;
        }
        veldrune::RecordingPlatform platform(place.programFolder, place.workingFolder);
        auto result = veldrune::RunStation(std::get<veldrune::Station>(station), platform, options);
        if (const auto* error = std::get_if<veldrune::StationError>(&result))
            return progress.clear(), refuse(where(file, *error));
        reports.push_back(std::move(std::get<veldrune::StationReport>(result)));
        names.append(file);
        progress.update(int(reports.size()), int(files.size()), "stations");
    }
    progress.clear();

    if (!trace.empty()) {
        std::ofstream out(trace);
        out << veldrune::DutyCycleTrace(reports.front());
        if (!out)
            return refuse("--trace " + trace + ": cannot be written");
    }
    if (!chart.empty() && !reports.front().chart.save(QString::fromStdString(chart), "PNG"))
        return refuse("--chart " + chart + ": cannot be written");
    if (!reports.front().reportFailure.isEmpty())
        return refuse("--report " + report + ": " + reports.front().reportFailure.toStdString());

    if (csv)
        std::cout << veldrune::StationsCsv(names, reports);
    else if (json)
        std::cout << (reports.size() == 1 && !rank ? veldrune::StationJson(reports.front())
                                                   : veldrune::StationsJson(reports));
    else if (rank)
        std::cout << veldrune::RankTable(names.front(), reports);
    else if (reports.size() == 1)
        std::cout << veldrune::StationSummary(reports.front());
    else
        for (std::size_t i = 0; i < reports.size(); ++i)
            std::cout << veldrune::StationLine(names[qsizetype(i)], reports[i]);
    return 0;
}
