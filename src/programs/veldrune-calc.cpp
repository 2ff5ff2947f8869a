// The batch calculator: applies station files to the program as a person would at the window
// and prints what the window then shows.

#include "platform/recordingplatform.h"
#include "platform/text.h"
#include "station/output.h"
#include "station/runner.h"
#include "station/station.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>
#include <memory>

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
    CLI::App cli{"Computes fastening stations exactly as the VELDRUNE window would.",
                 "veldrune-calc"};
    std::vector<std::string> files;
    bool json = false;
    std::string catalogue;
    std::string trace;
    std::string chart;
    std::string report;
    cli.add_option("stations", files, "Station files (JSON)")->required();
    cli.add_flag("--json", json, "Print the stations' JSON documents instead of a summary");
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
        auto result = veldrune::RunStation(std::get<veldrune::Station>(station), platform, options);
        if (const auto* error = std::get_if<veldrune::StationError>(&result))
            return refuse(where(file, *error));
        reports.push_back(std::move(std::get<veldrune::StationReport>(result)));
    }

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
