// The batch calculator: applies station files to the program as a person would at the window
// and prints what the window then shows.

#include "platform/recordingplatform.h"
#include "platform/text.h"
#include "station/output.h"
#include "station/runner.h"
#include "station/station.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>

namespace {

// Bad input: one line on standard error and nothing on standard output.
constexpr int BadInput = 2;

int refuse(const std::string& message) {
    std::cerr << "veldrune-calc: " << message << '\n';
    return BadInput;
}

std::string where(const QString& file, const veldrune::StationError& error) {
    QString text = file + QStringLiteral(": ");
    if (!error.key.isEmpty())
        text += QStringLiteral("key %1: ").arg(veldrune::Excerpt(error.key));
    return (text + error.message).toStdString();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);

    CLI::App cli{"Computes fastening stations exactly as the VELDRUNE window would.",
                 "veldrune-calc"};
    std::vector<std::string> files;
    bool json = false;
    std::string catalogue;
    std::string trace;
    cli.add_option("stations", files, "Station files (JSON)")->required();
    cli.add_flag("--json", json, "Print the stations' JSON documents instead of a summary");
    cli.add_option("--catalogue", catalogue,
                   "Tool catalogue to read instead of TOOLINFO.LST beside the program");
    cli.add_option("--trace", trace, "Write the duty-cycle steps to this CSV file");
    try {
        cli.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << cli.help();
        return 0;
    } catch (const CLI::ParseError& e) {
        return refuse(e.what());
    }

    const QString catalogueFile = QString::fromStdString(catalogue);
    if (!catalogueFile.isEmpty() && !QFile(catalogueFile).open(QIODevice::ReadOnly))
        return refuse("--catalogue " + catalogue + ": cannot be read");

    std::vector<veldrune::StationReport> reports;
    for (const std::string& name : files) {
        const QString file = QString::fromStdString(name);
        QFile input(file);
        if (!input.open(QIODevice::ReadOnly))
            return refuse(name + ": cannot be read: " + input.errorString().toStdString());
        const auto station = veldrune::ReadStation(input.readAll());
        if (const auto* error = std::get_if<veldrune::StationError>(&station))
            return refuse(where(file, *error));
        veldrune::RecordingPlatform platform(QCoreApplication::applicationDirPath(),
                                             QDir::currentPath());
        const auto result =
            veldrune::RunStation(std::get<veldrune::Station>(station), platform, catalogueFile);
        if (const auto* error = std::get_if<veldrune::StationError>(&result))
            return refuse(where(file, *error));
        reports.push_back(std::get<veldrune::StationReport>(result));
    }

    if (!trace.empty()) {
        // No station computes a duty cycle yet: the trace holds its header alone.
        std::ofstream out(trace);
        out << veldrune::TraceHeader;
        if (!out)
            return refuse("--trace " + trace + ": cannot be written");
    }

    if (json)
        std::cout << (reports.size() == 1 ? veldrune::StationJson(reports.front())
                                          : veldrune::StationsJson(reports));
    else if (reports.size() == 1)
        std::cout << veldrune::StationSummary(reports.front());
    else
        for (std::size_t i = 0; i < reports.size(); ++i)
            std::cout << veldrune::StationLine(QString::fromStdString(files[i]), reports[i]);
    return 0;
}
