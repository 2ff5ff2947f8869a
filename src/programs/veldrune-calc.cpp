// The batch calculator: applies station files to the program as a person would at the window
// and prints what the window then shows.

#include "app/veldrune.h"
#include "platform/recordingplatform.h"
#include "station/inorder.h"
#include "station/output.h"
#include "station/rank.h"
#include "station/runner.h"
#include "station/station.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryFile>

#include <CLI/CLI.hpp>

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
    std::string catalogue;
    std::string trace;
    std::string chart;
    std::string report;
    int jobs = int(std::max(1u, std::thread::hardware_concurrency()));

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
    if (request.writesFiles() && request.files.size() != 1)
        return refuse("--trace, --chart and --report take one station file");
    if (request.json && request.csv)
        return refuse("--json and --csv exclude each other");
    if (request.rank && (request.files.size() != 1 || request.writesFiles()))
        return refuse("--rank takes one station file, without --trace, --chart or --report");
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
    };
    static Entry entry(const Request& request, const QString& file,
                       const veldrune::StationReport& report) {
        if (request.csv)
            return {file, {}, veldrune::StationCells(report)};
        return {file,
                request.json ? veldrune::StationJsonElement(report)
                             : veldrune::StationLine(file, report),
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

// A station file read and run (its report, or what it adds to the output of many), or the
// line that refuses it.
using Outcome = std::variant<veldrune::StationReport, Spool::Entry, std::string>;

Outcome runStation(const std::string& name, const veldrune::RankPlace& place,
                   const veldrune::RunOptions& options) {
    const QString file = QString::fromStdString(name);
    veldrune::RecordingPlatform platform(place.programFolder, place.workingFolder);
    const auto station = veldrune::ReadStationFile(platform, file);
    if (const auto* error = std::get_if<veldrune::StationError>(&station))
        return where(file, *error);
    auto result = veldrune::RunStation(std::get<veldrune::Station>(station), platform, options);
    if (const auto* error = std::get_if<veldrune::StationError>(&result))
        return where(file, *error);
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

// Ranks the one station's runs and prints them.
int rankStation(const Request& request, const veldrune::RunOptions& options,
                const veldrune::RankPlace& place) {
    const QString file = QString::fromStdString(request.files.front());
    const veldrune::RecordingPlatform files(place.programFolder, place.workingFolder);
    const auto station = veldrune::ReadStationFile(files, file);
    if (const auto* error = std::get_if<veldrune::StationError>(&station))
        return refuse(where(file, *error));
    Progress progress;
    const auto ranked = veldrune::RankStation(
        std::get<veldrune::Station>(station), place, options,
        [&](const veldrune::StationReport&, int done, int total) {
            progress.update(done, total, "runs");
            return true;
        },
        request.jobs);
    progress.clear();
    if (const auto* error = std::get_if<veldrune::StationError>(&ranked))
        return refuse(where(file, *error));
    const auto& reports = std::get<std::vector<veldrune::StationReport>>(ranked);
    if (request.csv)
        std::cout << veldrune::StationsCsv(QStringList(qsizetype(reports.size()), file), reports);
    else if (request.json)
        std::cout << veldrune::StationsJson(reports);
    else
        std::cout << veldrune::RankTable(file, reports);
    return 0;
}

// Runs every station, on the threads asked for, each starting like one program started
// once; each result goes to the output as soon as it and those before it are done.
int runStations(const Request& request, veldrune::RunOptions options,
                const veldrune::RankPlace& place) {
    veldrune::RecordingPlatform startPlatform(place.programFolder, place.workingFolder);
    veldrune::Veldrune started(startPlatform);
    veldrune::StartProgram(started, startPlatform, options);
    options.like = &started;
    options.likeMessages = startPlatform.messages();

    const int count = int(request.files.size());
    Progress progress;
    Spool spool(request);
    if (const auto failure = spool.failure(); failure && count > 1)
        return refuse(*failure);
    std::optional<veldrune::StationReport> single;
    std::string refusal;
    int done = 0;
    veldrune::InOrder<Outcome>(
        count, std::min(request.jobs, count),
        [&](int i) -> Outcome {
            const std::string& name = request.files[std::size_t(i)];
            try {
                Outcome outcome = runStation(name, place, options);
                if (const auto* report = std::get_if<veldrune::StationReport>(&outcome);
                    report && count > 1)
                    return Spool::entry(request, QString::fromStdString(name), *report);
                return outcome;
            } catch (const std::exception& e) {
                // One station's failure is that station's error, as bad input is.
                return name + ": cannot be computed: " + e.what();
            }
        },
        [&](Outcome&& outcome) {
            if (auto* error = std::get_if<std::string>(&outcome)) {
                refusal = *error;
                return false;
            }
            if (auto* report = std::get_if<veldrune::StationReport>(&outcome))
                single = std::move(*report);
            else
                spool.add(std::get<Spool::Entry>(outcome));
            progress.update(++done, count, "stations");
            return true;
        });
    progress.clear();
    if (!refusal.empty())
        return refuse(refusal);
    if (!single) {
        if (const auto failure = spool.failure())
            return refuse(*failure);
        spool.print(std::cout);
        return 0;
    }
    if (const auto error = writeFiles(request, *single))
        return refuse(*error);
    if (request.csv)
        std::cout << veldrune::StationsCsv({QString::fromStdString(request.files.front())},
                                           {*single});
    else if (request.json)
        std::cout << veldrune::StationJson(*single);
    else
        std::cout << veldrune::StationSummary(*single);
    return 0;
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
    const int status =
        request.rank ? rankStation(request, options, place) : runStations(request, options, place);
    // Output that did not reach its place (a full disk) is a failure, not a silent success.
    if (!std::cout.flush() && status == 0)
        return refuse("standard output: cannot be written");
    return status;
}
