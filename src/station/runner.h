#pragma once

#include "app/veldrune.h"
#include "calc/loadchart.h"
#include "platform/recordingplatform.h"
#include "station/station.h"

#include <QImage>
#include <QStringList>

#include <memory>

#include <optional>
#include <utility>
#include <variant>
#include <vector>

class QPdfWriter;

namespace veldrune {

// What the window shows once a station has been applied, text for text.
struct StationReport {
    QString description;
    QString system;
    QString tool;      // the picked entry without surrounding blanks
    QString angleHead; // likewise; empty without a head
    QString maxSpeed;
    QString minSpeed;
    std::vector<std::pair<QString, QString>> maxTorque; // offered unit, caption
    std::optional<QString> gearRatio;                   // while an angle head is in use
    bool boltLengthMode = true;
    QString boltLength;
    QString boltPitch;
    QString revolutions;
    struct Phase {
        QString time;
        QString speed;
        QString revolutions; // initial and free run
        QString angle;       // tightening
    };
    Phase initial;
    Phase freerun;
    Phase tightening;
    QString communicationTime;
    QString totalTime;
    QStringList messages; // distinct, in order of first appearance

    // With a duty cycle: its fields as the window shows them, and the load it simulates.
    struct DutyCycle {
        QString torqueUnit;
        QString stationCycleTime;
        QString fasteningTorque;
        bool prevailingTorque = false;
        QString torqueRecoveryTime;
        QString periodMinutes;
        LoadSimulation load;
        QString torqueMaximum;           // the tool's maximum in the unit, as shown, trimmed
        bool torqueAboveMaximum = false; // the station asks more, which the window cut down
        // The shortest station cycle time, in steps of 0.1 s from the station's own down to the
        // cycle's total time, at which the motor keeps within its load; when asked for.
        std::optional<QString> shortestSafeCycleTime;
    };
    std::optional<DutyCycle> dutyCycle;
    // Where a ranking put the run, and why it is out of the running if it is.
    struct Rank {
        int position = 0;
        QString verdict;
    };
    std::optional<Rank> rank;
    QImage chart;          // Picture2, when it was asked for
    QString reportFailure; // why the report could not be written, when it was asked for
};

// Prints the program's report as PRINT OUT would, on one A4 page of a PDF file. Returns why
// it could not, or nothing.
QString WriteReport(Veldrune& program, const QString& file);
// The same onto a PDF writer, which it sets up for the page.
QString WriteReport(Veldrune& program, QPdfWriter& writer);

struct RunOptions {
    QString catalogueFile;  // replaces the program's TOOLINFO.LST when not empty
    bool chart = false;     // keep the chart that Picture2 shows
    bool steps = false;     // keep every simulated step of the duty cycle, not only its sums
    QString report;         // prints the report into this PDF file when not empty
    bool safeCycle = false; // searches the shortest safe cycle time of a duty cycle that fits
    // A program started as the runs would start, and the messages its start-up showed (a
    // catalogue missing): each run then starts like it, reading no file again, with those
    // messages as its own. Runs on several threads share it only for reading.
    const Veldrune* like = nullptr;
    QStringList likeMessages;
};

// Starts the program as the window does, with the options' catalogue and pictures, or like
// the options' program.
void StartProgram(Veldrune& program, RecordingPlatform& platform, const RunOptions& options);

// Starts the program as the window does and applies the station as a person would at it (see
// ApplyStation). The platform should be fresh: its messages are the station's.
std::variant<StationReport, StationError>
RunStation(const Station& station, RecordingPlatform& platform, const RunOptions& options = {});

// A program started as RunStation starts it, with a station applied, kept for the caller to
// print from; with the platform it uses.
struct AppliedStation {
    AppliedStation(const QString& programFolder, const QString& workingFolder)
        : platform(programFolder, workingFolder)
        , program(platform) {}
    RecordingPlatform platform;
    Veldrune program;
};
std::variant<std::unique_ptr<AppliedStation>, StationError>
ApplyStationAlone(const Station& station, const QString& programFolder,
                  const QString& workingFolder, const RunOptions& options = {});

} // namespace veldrune
