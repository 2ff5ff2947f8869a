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
#include <optional>
#include <variant>

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

// What the command line asks for.
struct Request {
    std::vector<std::string> files;
    bool json = false;
    bool csv = false;
    bool rank = false;
    std::string catalogue;
    std::string trace;
    std::string chart;
    std::string report;

    bool writesFiles() const { return !trace.empty() || !chart.empty() || !report.empty(); }
};

// Reads the command line. Returns the exit status when the program ends here (help, version,
// or a command line that makes no sense).
std::optional<int> readCommandLine(int argc, char* argv[], Request& request) {
    CLI::App cli{"Computes fastening stations exactly as the VELDRUNE window would.",
                 "veldrune-calc"};
    cli.add_option("stations", request.files, "Station files (JSON)")->required();
    cli.add_flag("--json", request.json, "Print the stations' JSON documents instead of a summary");
    cli.add_flag("--csv", request.csv, "Print the stations as a CSV table, one row per station");
    cli.add_flag("--rank", request.rank,
                 "Run the station with every tool of its system (and every head that fits, "
                 "when it names a head) and rank the runs");
    cli.add_option("--catalogue", request.catalogue,
                   "Tool catalogue to read instead of the shipped TOOLINFO.LST");
    cli.add_option("--trace", request.trace,
                   "Write the duty-cycle steps of the station to this CSV file");
    cli.add_option("--chart", request.chart, "Write the station's load chart to this PNG file");
    cli.add_option("--report", request.report, "Print the station's report into this PDF file");
    cli.set_version_flag("--version", "veldrune-calc " VELDRUNE_VERSION,
                         "Print the version and exit");
    try {
        cli.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << cli.help();
        return 0;
    } catch (const CLI::CallForVersion& e) {
        std::cout << e.what() << '\n';
        return 0;
    } catch (const CLI::ParseError& e) {
        return refuse(e.what());
    }
    if (request.writesFiles() && request.files.size() != 1)
        return refuse("--trace, --chart and --report take one station file");
    if (request.json && request.csv)
        return refuse("--json and --csv exclude each other");
    if (request.rank && (request.files.size() != 1 || request.writesFiles()))
        return refuse("--rank takes one station file, without --trace, --chart or --report");
    return std::nullopt;
}

// Drawing needs fonts, and so a GUI application, but never a screen.
std::unique_ptr<QCoreApplication> startApplication(int& argc, char* argv[],
                                                   const Request& request) {
    // Standard error is for the one line about bad input; Qt's notes stay out of it.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    if (request.chart.empty() && request.report.empty())
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

veldrune::RunOptions runOptions(const Request& request) {
    veldrune::RunOptions options;
    options.catalogueFile = QString::fromStdString(request.catalogue);
    options.chart = !request.chart.empty();
    options.steps = !request.trace.empty();
    options.report = QString::fromStdString(request.report);
    return options;
}

// Every station's reports (a ranking's runs all belong to its one file), or why not.
struct Results {
    std::vector<veldrune::StationReport> reports;
    QStringList files; // the file of each report
};

// Runs every station. Nothing reaches standard output before every station has run: a bad
// one refuses all, with the line to print.
std::variant<Results, std::string> runStations(const Request& request,
                                               const veldrune::RunOptions& options) {
    Progress progress;
    const veldrune::RankPlace place{QCoreApplication::applicationDirPath(), QDir::currentPath()};
    Results results;
    for (const std::string& name : request.files) {
        const QString file = QString::fromStdString(name);
        QFile input(file);
        if (!input.open(QIODevice::ReadOnly))
            return name + ": cannot be read: " + input.errorString().toStdString();
        const auto station = veldrune::ReadStation(input.readAll());
        if (const auto* error = std::get_if<veldrune::StationError>(&station))
            return where(file, *error);
        if (request.rank) {
            auto ranked = veldrune::RankStation(
                std::get<veldrune::Station>(station), place, options,
                [&](int done, int total) { progress.update(done, total, "runs"); });
            if (const auto* error = std::get_if<veldrune::StationError>(&ranked))
                return where(file, *error);
            results.reports = std::move(std::get<std::vector<veldrune::StationReport>>(ranked));
            for (std::size_t i = 0; i < results.reports.size(); ++i)
                results.files.append(file);
            return results;
        }
        veldrune::RecordingPlatform platform(place.programFolder, place.workingFolder);
        auto result = veldrune::RunStation(std::get<veldrune::Station>(station), platform, options);
        if (const auto* error = std::get_if<veldrune::StationError>(&result))
            return where(file, *error);
        results.reports.push_back(std::move(std::get<veldrune::StationReport>(result)));
        results.files.append(file);
        progress.update(int(results.reports.size()), int(request.files.size()), "stations");
    }
    return results;
}

// The trace, the chart and the report of the one station, where asked for; the line to print
// when one cannot be written.
std::optional<std::string> writeFiles(const Request& request,
                                      const veldrune::StationReport& station) {
    if (!request.trace.empty()) {
        std::ofstream out(request.trace);
        out << veldrune::DutyCycleTrace(station);
        if (!out)
            return "--trace " + request.trace + ": cannot be written";
    }
    if (!request.chart.empty() && !station.chart.save(QString::fromStdString(request.chart), "PNG"))
        return "--chart " + request.chart + ": cannot be written";
    if (!station.reportFailure.isEmpty())
        return "--report " + request.report + ": " + station.reportFailure.toStdString();
    return std::nullopt;
}

void printResults(const Request& request, const Results& results) {
    const auto& reports = results.reports;
    if (request.csv)
        std::cout << veldrune::StationsCsv(results.files, reports);
    else if (request.json)
        std::cout << (reports.size() == 1 && !request.rank ? veldrune::StationJson(reports.front())
                                                           : veldrune::StationsJson(reports));
    else if (request.rank)
        std::cout << veldrune::RankTable(results.files.front(), reports);
    else if (reports.size() == 1)
        std::cout << veldrune::StationSummary(reports.front());
    else
        for (std::size_t i = 0; i < reports.size(); ++i)
            std::cout << veldrune::StationLine(results.files[qsizetype(i)], reports[i]);
}

} // namespace

int main(int argc, char* argv[]) {
    Request request;
    if (const auto status = readCommandLine(argc, argv, request))
        return *status;
    const auto app = startApplication(argc, argv, request);
    const veldrune::RunOptions options = runOptions(request);
    if (!options.catalogueFile.isEmpty() && !QFile(options.catalogueFile).open(QIODevice::ReadOnly))
        return refuse("--catalogue " + request.catalogue + ": cannot be read");
    const auto results = runStations(request, options);
    if (const auto* error = std::get_if<std::string>(&results))
        return refuse(*error);
    const Results& done = std::get<Results>(results);
    if (const auto error = writeFiles(request, done.reports.front()))
        return refuse(*error);
    printResults(request, done);
    return 0;
}
