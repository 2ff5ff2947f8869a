// The batch calculator: applies station files to the program as a person would at the window
// and prints what the window then shows.

#include "app/veldrune.h"
#include "platform/recordingplatform.h"
#include "station/inorder.h"
#include "station/linereport.h"
#include "station/output.h"
#include "station/planline.h"
#include "station/rank.h"
#include "station/runner.h"
#include "station/station.h"
#include "station/stationtable.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryFile>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <thread>
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
    bool plan = false;
    std::string torqueBand = "25:85";
    bool keepGoing = false;
    std::string catalogue;
    std::string trace;
    std::string chart;
    std::string report;
    int jobs = int(std::max(1u, std::thread::hardware_concurrency()));

    bool writesFiles() const { return !trace.empty() || !chart.empty() || !report.empty(); }
};

// Bad stations: without --keep-going the first refuses all; with it, each is a line on
// standard error and the others go on.
class Problems {
public:
    explicit Problems(bool keepGoing)
        : m_keepGoing(keepGoing) {}

    // Takes a bad station's line; returns whether the work goes on.
    bool add(const std::string& line) {
        if (!m_keepGoing) {
            m_refusal = line;
            return false;
        }
        std::cerr << "veldrune-calc: " << line << '\n';
        m_any = true;
        return true;
    }
    // When a bad station refused all: its line, printed, and the exit status.
    std::optional<int> refusal() const {
        return m_refusal.empty() ? std::nullopt : std::optional(refuse(m_refusal));
    }
    // The exit status once the work is done.
    int status() const { return m_any ? BadInput : 0; }

private:
    bool m_keepGoing;
    bool m_any = false;
    std::string m_refusal;
};

// Reads the command line. Returns the exit status when the program ends here (help, version,
// or a command line that makes no sense).
std::optional<int> readCommandLine(int argc, char* argv[], Request& request) {
    CLI::App cli{"Computes fastening stations exactly as the VELDRUNE window would.",
                 "veldrune-calc"};
    cli.add_option("stations", request.files,
                   "Station files (JSON), or tables of stations (CSV, a station per row)")
        ->required();
    cli.add_flag("--json", request.json, "Print the stations' JSON documents instead of a summary");
    cli.add_flag("--csv", request.csv, "Print the stations as a CSV table, one row per station");
    cli.add_flag("--rank", request.rank,
                 "Run the station with every tool of its system (and every head that fits, "
                 "when it names a head) and rank the runs");
    cli.add_flag("--plan", request.plan,
                 "Rank every station and print the fewest runs (tool and head) that do the "
                 "whole line, each within the torque band");
    cli.add_option("--torque-band", request.torqueBand,
                   "LOW:HIGH: where a station's fastening torque must lie in a planned tool, in "
                   "per cent of the tool's maximum (default 25:85)");
    cli.add_flag("-k,--keep-going", request.keepGoing,
                 "Report a bad station on standard error and compute the others; the exit "
                 "status is 2 at the end");
    cli.add_option("--catalogue", request.catalogue,
                   "Tool catalogue to read instead of the shipped TOOLINFO.LST");
    cli.add_option("--trace", request.trace,
                   "Write the duty-cycle steps of the station to this CSV file");
    cli.add_option("--chart", request.chart, "Write the station's load chart to this PNG file");
    cli.add_option("--report", request.report,
                   "Print the station's report into this PDF file; of several stations, a "
                   "summary, then each station's page");
    cli.add_option("-j,--jobs", request.jobs,
                   "Compute this many stations (or ranked runs) at once, on as many threads; "
                   "the output is the same")
        ->check(CLI::Range(1, 256));
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
    if (request.json && request.csv)
        return refuse("--json and --csv exclude each other");
    if (request.rank && request.plan)
        return refuse("--rank and --plan exclude each other");
    if ((request.rank || request.plan) && request.writesFiles())
        return refuse("--rank and --plan take no --trace, --chart or --report");
    if (!veldrune::ReadTorqueBand(QString::fromStdString(request.torqueBand)))
        return refuse("--torque-band " + request.torqueBand +
                      ": give LOW:HIGH in per cent, 0 <= LOW <= HIGH, such as 25:85");
    return std::nullopt;
}

// Fonts need a GUI application, but never a screen: drawing the chart and the report, and a
// caption file whose key 0 asks for the language font, which looks at the fonts installed.
std::unique_ptr<QCoreApplication> startApplication(int& argc, char* argv[]) {
    // Standard error is for the one line about bad input; Qt's notes stay out of it.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
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

// The output of many stations, gathered as each station's result comes and kept in a
// temporary file, not in memory, so that memory does not grow with the stations; standard
// output receives it only once every station has run, since a bad station refuses all.
class Spool {
public:
    explicit Spool(const Request& request)
        : m_request(request) {
        if (m_file.open())
            m_stream.setDevice(&m_file);
    }

    // Why the output cannot be kept, or nothing.
    std::optional<std::string> failure() const {
        if (!m_file.isOpen())
            return "a temporary file for the output cannot be made in " +
                   QDir::tempPath().toStdString() + ": " + m_file.errorString().toStdString();
        if (m_stream.status() != QDataStream::Ok)
            return "the temporary file for the output cannot be written: " +
                   m_file.errorString().toStdString();
        return std::nullopt;
    }

    // What a station adds: its text, or its row's cells. Made where the station was computed,
    // on its thread.
    struct Entry {
        QString file;
        std::string text;
        veldrune::CsvCells cells;
        std::optional<veldrune::LineRow> row; // in the line's report
    };
    static Entry entry(const Request& request, const QString& file,
                       const veldrune::StationReport& report) {
        if (request.csv)
            return {file, {}, veldrune::StationCells(report), {}};
        return {file,
                request.json ? veldrune::StationJsonElement(report)
                             : veldrune::StationLine(file, report),
                {},
                {}};
    }

    void add(const Entry& entry) {
        if (m_request.csv) {
            veldrune::MergeColumns(m_columns, entry.cells);
            m_stream << entry.file << quint32(entry.cells.size());
            for (const auto& [column, cell] : entry.cells)
                m_stream << QByteArray::fromStdString(column) << QByteArray::fromStdString(cell);
        } else {
            m_stream << QByteArray::fromStdString(entry.text);
        }
        ++m_count;
    }

    void print(std::ostream& out) {
        m_file.seek(0);
        if (m_request.csv)
            out << veldrune::CsvHeader(m_columns);
        else if (m_request.json)
            out << "[\n";
        for (int i = 0; i < m_count; ++i) {
            if (m_request.csv) {
                QString file;
                quint32 count = 0;
                m_stream >> file >> count;
                veldrune::CsvCells cells(count);
                for (auto& [column, cell] : cells) {
                    QByteArray name, value;
                    m_stream >> name >> value;
                    column = name.toStdString();
                    cell = value.toStdString();
                }
                out << veldrune::CsvRow(file, cells, m_columns);
            } else {
                QByteArray text;
                m_stream >> text;
                out << (m_request.json && i ? ",\n" : "") << text.toStdString();
            }
        }
        if (m_request.json)
            out << "\n]\n";
    }

private:
    const Request& m_request;
    QTemporaryFile m_file;
    QDataStream m_stream;
    std::vector<std::string> m_columns;
    int m_count = 0;
};

// One program started as every run would start: the runs then start like it, reading no
// file again.
struct Started {
    Started(const veldrune::RankPlace& place, veldrune::RunOptions& options)
        : platform(place.programFolder, place.workingFolder)
        , program(platform) {
        veldrune::StartProgram(program, platform, options);
        options.like = &program;
        options.likeMessages = platform.messages();
    }
    veldrune::RecordingPlatform platform;
    veldrune::Veldrune program;
};

// A station run (its report, or what it adds to the output of many), or the line that
// refuses it.
using Outcome = std::variant<veldrune::StationReport, Spool::Entry, std::string>;

Outcome runStation(const veldrune::NamedStation& named, const veldrune::RankPlace& place,
                   const veldrune::RunOptions& options) {
    if (const auto* error = std::get_if<veldrune::StationError>(&named.station))
        return where(named.name, *error);
    veldrune::RecordingPlatform platform(place.programFolder, place.workingFolder);
    auto result =
        veldrune::RunStation(std::get<veldrune::Station>(named.station), platform, options);
    if (const auto* error = std::get_if<veldrune::StationError>(&result))
        return where(named.name, *error);
    return std::move(std::get<veldrune::StationReport>(result));
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

// Ranks a station's runs, each with the shortest safe cycle time where it fits; the ranked
// runs, or the line that refuses the station.
std::variant<std::vector<veldrune::StationReport>, std::string>
rankStation(const Request& request, const veldrune::RunOptions& options,
            const veldrune::RankPlace& place, const veldrune::NamedStation& named,
            Progress& progress) {
    if (const auto* error = std::get_if<veldrune::StationError>(&named.station))
        return where(named.name, *error);
    auto ranked = veldrune::RankStation(
        std::get<veldrune::Station>(named.station), place, options,
        [&](const veldrune::StationReport&, int done, int total) {
            progress.update(done, total, "runs");
            return true;
        },
        request.jobs);
    progress.clear();
    if (const auto* error = std::get_if<veldrune::StationError>(&ranked))
        return where(named.name, *error);
    return std::move(std::get<std::vector<veldrune::StationReport>>(ranked));
}

// Ranks each station's runs and prints them: a table per station, or one CSV table, or the
// JSON array of one station's runs (of several stations, an object per station with its runs).
int rankStations(const Request& request, veldrune::RunOptions options,
                 const veldrune::RankPlace& place,
                 const std::vector<veldrune::NamedStation>& stations) {
    const Started started(place, options);
    Problems problems(request.keepGoing);
    Progress progress;
    std::string out;
    QStringList csvFiles;
    std::vector<veldrune::StationReport> csvRuns;
    int done = 0;
    for (const veldrune::NamedStation& named : stations) {
        auto ranked = rankStation(request, options, place, named, progress);
        if (const auto* error = std::get_if<std::string>(&ranked)) {
            if (!problems.add(*error))
                break;
            continue;
        }
        auto& reports = std::get<std::vector<veldrune::StationReport>>(ranked);
        if (request.csv) {
            csvFiles.append(QStringList(qsizetype(reports.size()), named.name));
            std::move(reports.begin(), reports.end(), std::back_inserter(csvRuns));
        } else if (request.json && stations.size() == 1) {
            out = veldrune::StationsJson(reports);
        } else if (request.json) {
            std::string runs = veldrune::StationsJson(reports);
            while (!runs.empty() && runs.back() == '\n')
                runs.pop_back();
            out += std::string(done ? ",\n" : "[\n") +
                   "{\"file\": " + nlohmann::json(named.name.toStdString()).dump() +
                   ", \"runs\": " + runs + "}";
        } else {
            out += (done ? "\n" : "") + veldrune::RankTable(named.name, reports);
        }
        ++done;
    }
    if (const auto refused = problems.refusal())
        return *refused;
    if (request.csv)
        std::cout << veldrune::StationsCsv(csvFiles, csvRuns);
    else if (request.json && stations.size() > 1)
        std::cout << (done ? out + "\n]\n" : "[]\n");
    else
        std::cout << out;
    return problems.status();
}

// Ranks every station and prints the fewest runs that do the line.
int planLine(const Request& request, veldrune::RunOptions options, const veldrune::RankPlace& place,
             const std::vector<veldrune::NamedStation>& stations) {
    const Started started(place, options);
    Problems problems(request.keepGoing);
    Progress progress;
    std::vector<veldrune::PlanStation> planned;
    for (const veldrune::NamedStation& named : stations) {
        auto ranked = rankStation(request, options, place, named, progress);
        if (const auto* error = std::get_if<std::string>(&ranked)) {
            if (!problems.add(*error))
                return *problems.refusal();
            continue;
        }
        planned.push_back(veldrune::PlanStationOf(
            named.name, std::get<std::vector<veldrune::StationReport>>(ranked)));
    }
    const auto plan = veldrune::PlanLine(
        planned, *veldrune::ReadTorqueBand(QString::fromStdString(request.torqueBand)));
    if (request.csv)
        std::cout << veldrune::PlanCsv(plan);
    else if (request.json)
        std::cout << veldrune::PlanJson(plan);
    else
        std::cout << veldrune::PlanText(plan);
    return problems.status();
}

// The line's report: its summary, then the page of each station reported, each station applied
// once more on the threads asked for and its page drawn as soon as it and those before it are
// done. Returns why the report could not be written, or nothing.
std::optional<std::string> writeLine(const Request& request, veldrune::RunOptions options,
                                     const veldrune::RankPlace& place,
                                     const std::vector<veldrune::NamedStation>& stations,
                                     const std::vector<int>& reported, veldrune::LineReport& line) {
    if (const auto failure = line.begin(QString::fromStdString(request.report)))
        return failure->toStdString();
    options.safeCycle = false;
    using Applied = std::variant<std::unique_ptr<veldrune::AppliedStation>, std::string>;
    std::string failure;
    veldrune::InOrder<Applied>(
        int(reported.size()), std::min(request.jobs, int(reported.size())),
        [&](int i) -> Applied {
            const auto& named = stations[std::size_t(reported[std::size_t(i)])];
            try {
                auto applied =
                    veldrune::ApplyStationAlone(std::get<veldrune::Station>(named.station),
                                                place.programFolder, place.workingFolder, options);
                if (auto* error = std::get_if<veldrune::StationError>(&applied))
                    return where(named.name, *error);
                return std::move(std::get<std::unique_ptr<veldrune::AppliedStation>>(applied));
            } catch (const std::exception& e) {
                return named.name.toStdString() + ": cannot be printed: " + e.what();
            }
        },
        [&](Applied&& applied) {
            if (auto* error = std::get_if<std::string>(&applied)) {
                failure = *error;
                return false;
            }
            line.addPage(std::get<std::unique_ptr<veldrune::AppliedStation>>(applied)->program);
            return true;
        });
    if (const auto ended = line.end(); ended && failure.empty())
        failure = ended->toStdString();
    return failure.empty() ? std::nullopt : std::optional(failure);
}

// Runs every station, on the threads asked for, each starting like one program started
// once; each result goes to the output as soon as it and those before it are done. Of
// several stations with --report, the line's report.
int runStations(const Request& request, veldrune::RunOptions options,
                const veldrune::RankPlace& place,
                const std::vector<veldrune::NamedStation>& stations) {
    const Started started(place, options);
    const int count = int(stations.size());
    std::optional<veldrune::LineReport> line;
    std::vector<int> reported; // the stations whose pages the line's report prints
    if (count > 1 && !request.report.empty()) {
        line.emplace();
        options.report.clear();
        options.safeCycle = true;
    }
    Progress progress;
    Spool spool(request);
    if (const auto failure = spool.failure(); failure && count > 1)
        return refuse(*failure);
    Problems problems(request.keepGoing);
    std::optional<veldrune::StationReport> single;
    int done = 0;  // stations computed
    int taken = 0; // outcomes taken, bad stations too
    veldrune::InOrder<Outcome>(
        count, std::min(request.jobs, count),
        [&](int i) -> Outcome {
            const veldrune::NamedStation& named = stations[std::size_t(i)];
            try {
                Outcome outcome = runStation(named, place, options);
                if (auto* report = std::get_if<veldrune::StationReport>(&outcome);
                    report && count > 1) {
                    Spool::Entry entry = Spool::entry(request, named.name, *report);
                    if (line)
                        entry.row = veldrune::LineRowOf(named.name, *report);
                    return entry;
                }
                return outcome;
            } catch (const std::exception& e) {
                // One station's failure is that station's error, as bad input is.
                return named.name.toStdString() + ": cannot be computed: " + e.what();
            }
        },
        [&](Outcome&& outcome) {
            const int index = taken++;
            if (auto* error = std::get_if<std::string>(&outcome)) {
                progress.clear();
                return problems.add(*error);
            }
            if (auto* report = std::get_if<veldrune::StationReport>(&outcome)) {
                single = std::move(*report);
            } else {
                auto& entry = std::get<Spool::Entry>(outcome);
                if (line && entry.row) {
                    line->add(std::move(*entry.row));
                    reported.push_back(index);
                }
                spool.add(entry);
            }
            progress.update(++done, count, "stations");
            return true;
        });
    progress.clear();
    if (const auto refused = problems.refusal())
        return *refused;
    if (count == 1 && !single)
        return problems.status();
    if (!single) {
        if (const auto failure = spool.failure())
            return refuse(*failure);
        if (line) {
            if (const auto failure = writeLine(request, options, place, stations, reported, *line))
                return refuse("--report " + request.report + ": " + *failure);
        }
        spool.print(std::cout);
        return problems.status();
    }
    if (const auto error = writeFiles(request, *single))
        return refuse(*error);
    const QString name = stations.front().name;
    if (request.csv)
        std::cout << veldrune::StationsCsv({name}, {*single});
    else if (request.json)
        std::cout << veldrune::StationJson(*single);
    else
        std::cout << veldrune::StationSummary(*single);
    return problems.status();
}

} // namespace

int main(int argc, char* argv[]) {
    Request request;
    if (const auto status = readCommandLine(argc, argv, request))
        return *status;
    const auto app = startApplication(argc, argv);
    const veldrune::RunOptions options = runOptions(request);
    if (!options.catalogueFile.isEmpty() && !QFile(options.catalogueFile).open(QIODevice::ReadOnly))
        return refuse("--catalogue " + request.catalogue + ": cannot be read");
    const veldrune::RankPlace place{QCoreApplication::applicationDirPath(), QDir::currentPath()};
    QStringList files;
    for (const std::string& file : request.files)
        files.append(QString::fromStdString(file));
    const auto stations = veldrune::ReadStations(
        veldrune::RecordingPlatform(place.programFolder, place.workingFolder), files);
    if (stations.empty())
        return refuse("no stations: the tables named hold no rows");
    if (stations.size() != 1 && (!request.trace.empty() || !request.chart.empty()))
        return refuse("--trace and --chart take one station");
    const int status = request.plan   ? planLine(request, options, place, stations)
                       : request.rank ? rankStations(request, options, place, stations)
                                      : runStations(request, options, place, stations);
    // Output that did not reach its place (a full disk) is a failure, not a silent success.
    if (!std::cout.flush() && status == 0)
        return refuse("standard output: cannot be written");
    return status;
}
