// A station file through the batch calculator's whole run: read, then applied to the
// headless window as a person would. Whatever the input, the run either reports the station
// or refuses it with a one-line reason, and a report shows only finite numbers.
//
// An input starting with "{" is a station file. Any other input is a station built from its
// lines: the first byte chooses the system, tool, head, fastening mode and duty cycle, and each
// further line is typed into the next field, so that typed text reaches every field.
//
// A station that runs is also printed as `--report` prints it: everything drawn stays on the
// printable part of the page, and no text runs into the next one on its line.

#include "fuzzsetup.h"

#include "platform/recordingplatform.h"
#include "station/output.h"
#include "station/runner.h"

#include "support/invariants.h"
#include "support/recordingpage.h"

#include <QPdfWriter>

#include <nlohmann/json.hpp>

using namespace veldrune;
using veldrune::fuzz::Check;

namespace {

const char* const Systems[] = {"MVC4800", "MVC2400", "Tarvon", "MVC4800"};
const char* const Tools[] = {"KRV-110QM1-05", "KRV-220QT2-A", "PZS-520QM4-S12", "GQY-100QH1",
                             "LMW-200QM2",    "KRV-910QM5",   "PZS-820QM4-S20", "GQY-720QM5"};
const char* const Heads[] = {"", "RH1", "RH3", "RH4"};

Station fromLines(std::uint8_t choice, const QString& text) {
    Station s;
    s.system = QString::fromLatin1(Systems[choice & 3]);
    s.tool = QString::fromLatin1(Tools[(choice >> 2) & 7]);
    s.angleHead = QString::fromLatin1(Heads[(choice >> 5) & 3]);
    const bool revolutions = choice & 0x80;
    s.fastening = revolutions ? Station::Fastening::Revolutions : Station::Fastening::BoltData;
    Station::DutyCycle duty;
    duty.prevailingTorque = choice & 1;
    std::optional<QString> unit, period;
    std::vector<std::optional<QString>*> fields{&s.description};
    if (revolutions)
        fields.push_back(&s.revolutions);
    else
        fields.insert(fields.end(), {&s.boltLength, &s.boltPitch});
    fields.insert(fields.end(), {&s.initialTime, &s.initialSpeed, &s.freerunSpeed,
                                 &s.tighteningAngle, &s.torqueSpeed, &s.communicationTime,
                                 &s.freerunTime, &s.tighteningTime, &unit, &duty.stationCycleTime,
                                 &duty.fasteningTorque, &duty.torqueRecoveryTime, &period});
    const QStringList lines = text.split(u'\n');
    for (std::size_t i = 0; i < std::min(std::size_t(lines.size()), fields.size()); ++i)
        *fields[i] = lines[qsizetype(i)];
    if (unit) {
        duty.torqueUnit = *unit;
        duty.periodMinutes = period.value_or(QStringLiteral("2"));
        s.dutyCycle = duty;
    }
    return s;
}

void checkRefusal(const StationError& error) {
    Check(!error.message.isEmpty() && !error.message.contains(u'\n'),
          QStringLiteral("a refusal is one line: ") + error.message.left(200));
}

void checkReport(const StationReport& r) {
    for (const QString& number :
         {r.maxSpeed, r.minSpeed, r.gearRatio.value_or(QString()), r.revolutions, r.initial.time,
          r.initial.revolutions, r.freerun.time, r.freerun.revolutions, r.tightening.time,
          r.totalTime})
        Check(!test::ShowsNonFinite(number), QStringLiteral("the report shows ") + number);
    for (const auto& [unit, torque] : r.maxTorque)
        Check(!test::ShowsNonFinite(torque), QStringLiteral("the torque shows ") + torque);
    // What the batch calculator prints of it: JSON that reads back, and a summary.
    Check(nlohmann::json::accept(StationJson(r)), QStringLiteral("the JSON output is not JSON"));
    Check(!StationSummary(r).empty(), QStringLiteral("an empty summary"));
    if (const auto& duty = r.dutyCycle)
        Check(std::isfinite(duty->load.peakLoadPercent) &&
                  std::isfinite(duty->load.peakTorquePercent) &&
                  std::isfinite(duty->load.finalLoadPercent),
              QStringLiteral("the duty cycle's peaks are not finite"));
}

void checkPage(const Station& station, const QString& folder) {
    auto applied = ApplyStationAlone(station, folder, folder, {});
    if (const auto* program = std::get_if<std::unique_ptr<AppliedStation>>(&applied)) {
        test::PageRecorder page;
        test::Recorded<QPdfWriter> pdf(page, QStringLiteral("unwritten.pdf"));
        WriteReport((*program)->program, pdf);
        const QString outside = page.outside(test::PageRecorder::PrintableA4);
        Check(outside.isEmpty(), QStringLiteral("drawn off the page: ") + outside);
        const QString crowded = page.crowded();
        Check(crowded.isEmpty(), QStringLiteral("on the page, ") + crowded);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto read = bytes.startsWith('{') || size == 0
                          ? ReadStation(bytes)
                          : fromLines(data[0], QString::fromUtf8(bytes.mid(1)));
    if (const auto* error = std::get_if<StationError>(&read)) {
        checkRefusal(*error);
        return 0;
    }
    const QString folder = QStringLiteral(VELDRUNE_SHIPPED_DATA);
    RecordingPlatform platform(folder, folder);
    const auto run = RunStation(std::get<Station>(read), platform);
    if (const auto* error = std::get_if<StationError>(&run)) {
        checkRefusal(*error);
    } else {
        checkReport(std::get<StationReport>(run));
        checkPage(std::get<Station>(read), folder);
    }
    return 0;
}
