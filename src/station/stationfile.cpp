#include "station/stationfile.h"

#include "app/veldrune.h"
#include "input/entryfields.h"
#include "input/torqueunits.h"
#include "numbers/numberformat.h"
#include "numbers/textvalue.h"
#include "platform/recordingplatform.h"
#include "platform/text.h"
#include "station/runner.h"

#include <nlohmann/json.hpp>

#include <array>

namespace veldrune {

namespace {

using Json = nlohmann::ordered_json;

std::string str(const QString& text) {
    return text.toStdString();
}

void putText(Json& json, const char* key, const std::optional<QString>& text) {
    if (text)
        json[key] = str(*text);
}

// A phase field still showing its start-up text, which no one has typed, is left out of the
// file, as typing it would format it ("1.0" becomes "1.00").
std::optional<QString> typed(const Form1& f, int field) {
    const QString text = f.Text4(field).text();
    if (field < int(std::size(PhaseStartUpTexts)) &&
        text == QLatin1String(PhaseStartUpTexts[field]))
        return std::nullopt;
    return text;
}

// A field that shows the caption of a limit stands for a value beyond it, which the window
// replaced by the caption: the file keeps a value beyond the limit, so that opening it puts
// the caption there again (the caption itself would be typed as its number).
QString beyond(const QString& text, const Control& maximum, const Control* minimum = nullptr) {
    if (text.trimmed().isEmpty())
        return text;
    if (text == maximum.text())
        return GeneralText(TextValue(text) + 1, 15);
    if (minimum && text == minimum->text())
        return GeneralText(TextValue(text) - 1, 15);
    return text;
}

std::optional<QString> speed(const Form1& f, int field) {
    auto text = typed(f, field);
    if (text)
        text = beyond(*text, f.Label3(0), &f.Label3(1));
    return text;
}

// The fastening torque, which the window caps at the tool's maximum in the chosen unit.
QString torque(const Form1& f) {
    for (int u = 0; u < UnitCount; ++u) {
        if (f.TQUNIT.text() == UnitNames[u])
            return beyond(f.Text4(9).text(), f.Label4(u));
    }
    return f.Text4(9).text();
}

// The station as the window shows it, with the free-run and the tightening phase each given
// by its speed or by its time.
Station shownStation(Veldrune& program, bool freerunTime, bool tighteningTime) {
    Form1& f = program.form();
    Station s;
    s.description = f.Text5.text();
    s.system = f.SYSTEM.text();
    s.tool = f.TOOLLIST.text().trimmed();
    if (f.ANGLE.visible())
        s.angleHead = f.ANGLE.text().trimmed();
    if (f.Option1(1).value()) {
        s.fastening = Station::Fastening::Revolutions;
        s.revolutions = f.Text3.text();
    } else {
        s.fastening = Station::Fastening::BoltData;
        s.boltLength = f.Text1.text();
        s.boltPitch = f.Text2.text();
    }
    s.initialTime = typed(f, 0);
    s.initialSpeed = speed(f, 1);
    (freerunTime ? s.freerunTime : s.freerunSpeed) = freerunTime ? typed(f, 2) : speed(f, 3);
    s.tighteningAngle = typed(f, 5);
    (tighteningTime ? s.tighteningTime : s.torqueSpeed) =
        tighteningTime ? typed(f, 4) : speed(f, 6);
    s.communicationTime = typed(f, 7);
    if (program.flags().LoadSectionShown) {
        Station::DutyCycle duty;
        duty.torqueUnit = f.TQUNIT.text();
        duty.stationCycleTime = f.Text4(8).text();
        duty.fasteningTorque = torque(f);
        duty.prevailingTorque = f.PREVILING.value();
        duty.torqueRecoveryTime = f.Text4(10).text();
        duty.periodMinutes = f.DURR.text();
        s.dutyCycle = duty;
    }
    return s;
}

// Whether two windows show the same: every text, what is shown, enabled, ticked and picked.
bool sameShown(const Form1& a, const Form1& b) {
    if (a.height() != b.height())
        return false;
    for (std::size_t i = 0; i < a.controls().size(); ++i) {
        const Control& x = *a.controls()[i];
        const Control& y = *b.controls()[i];
        if (x.text() != y.text() || x.visible() != y.visible() || x.enabled() != y.enabled() ||
            x.value() != y.value() || x.listIndex() != y.listIndex())
            return false;
    }
    return true;
}

// Opens the station in a freshly started window like the program's and lets `look` judge the
// result; false when the station is refused.
template <typename Look>
bool tryOpening(Veldrune& program, const Station& station, const Look& look) {
    RecordingPlatform quiet(program.platform());
    Veldrune trial(quiet);
    trial.form().setKeepsPictures(false);
    trial.startLike(program);
    return !ApplyStation(trial, station, quiet.messages()) && look(trial.form());
}

// Whether opening the station in a freshly started window shows what this window shows.
bool reproduces(Veldrune& program, const Station& station) {
    return tryOpening(program, station,
                      [&](const Form1& opened) { return sameShown(opened, program.form()); });
}

// The phase fields of the station, in the order of the window's fields Text4(0) to Text4(7).
std::array<std::optional<QString>*, 8> phaseFields(Station& s) {
    return {&s.initialTime,    &s.initialSpeed,    &s.freerunTime, &s.freerunSpeed,
            &s.tighteningTime, &s.tighteningAngle, &s.torqueSpeed, &s.communicationTime};
}

// The station without the phase fields that need no typing: those that a window given only
// the rest of the station shows as this one does.
Station withoutUntyped(Veldrune& program, Station station) {
    Station rest = station;
    for (auto* field : phaseFields(rest))
        field->reset();
    tryOpening(program, rest, [&](const Form1& opened) {
        const auto fields = phaseFields(station);
        for (int i = 0; i < int(fields.size()); ++i) {
            if (opened.Text4(i).text() == program.form().Text4(i).text())
                fields[std::size_t(i)]->reset();
        }
        return true;
    });
    return station;
}

} // namespace

std::optional<Station> StationOfWindow(Veldrune& program) {
    if (NoToolChosen(program.form()))
        return std::nullopt;
    // A phase is given by its speed, from which the window derives its time; where the time
    // shown is not the one the speed gives (a typed time the calculation could not follow),
    // by its time. The first way that opens as the window shows is taken.
    // Failing that, only the phase fields that the rest of the station does not already
    // give are typed, as the user typed them.
    for (const bool onlyTyped : {false, true}) {
        for (const auto& [freerunTime, tighteningTime] :
             {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
            Station station = shownStation(program, freerunTime, tighteningTime);
            if (onlyTyped)
                station = withoutUntyped(program, station);
            if (reproduces(program, station))
                return station;
        }
    }
    return shownStation(program, false, false);
}

QByteArray StationFileText(const Station& s) {
    Json json = Json::object();
    putText(json, "description", s.description);
    json["system"] = str(s.system);
    json["tool"] = str(s.tool);
    if (!s.angleHead.isEmpty())
        json["angle_head"] = str(s.angleHead);
    if (s.fastening != Station::Fastening::Untouched) {
        Json fastening = Json::object();
        putText(fastening, "bolt_length", s.boltLength);
        putText(fastening, "bolt_pitch", s.boltPitch);
        putText(fastening, "revolutions", s.revolutions);
        json["fastening"] = fastening;
    }
    putText(json, "initial_time", s.initialTime);
    putText(json, "initial_speed", s.initialSpeed);
    putText(json, "freerun_speed", s.freerunSpeed);
    putText(json, "freerun_time", s.freerunTime);
    putText(json, "tightening_angle", s.tighteningAngle);
    putText(json, "torque_speed", s.torqueSpeed);
    putText(json, "tightening_time", s.tighteningTime);
    putText(json, "communication_time", s.communicationTime);
    if (s.dutyCycle) {
        const Station::DutyCycle& d = *s.dutyCycle;
        Json duty = {{"torque_unit", str(d.torqueUnit)}};
        putText(duty, "station_cycle_time", d.stationCycleTime);
        putText(duty, "fastening_torque", d.fasteningTorque);
        duty["prevailing_torque"] = d.prevailingTorque;
        putText(duty, "torque_recovery_time", d.torqueRecoveryTime);
        duty["period_minutes"] = str(d.periodMinutes);
        json["duty_cycle"] = duty;
    }
    // A text that is not whole UTF-16 (a lone surrogate) is written with a replacement.
    const std::string text = json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    return QByteArray::fromStdString(text);
}

QString StationErrorLine(const QString& file, const StationError& error) {
    QString text = file + QStringLiteral(": ");
    if (!error.key.isEmpty())
        text += QStringLiteral("key %1: ").arg(Excerpt(error.key));
    return text + error.message;
}

void StationFiles::open() {
    const QString path =
        m_program.platform().chooseStationFile(Platform::FileDialog::Open, m_current);
    if (!path.isEmpty())
        open(path);
}

bool StationFiles::open(const QString& path) {
    Platform& platform = m_program.platform();
    const auto refuse = [&](const QString& line) {
        platform.showMessage(line, MessageIcon::Critical, ProgramTitle);
        return false;
    };
    const auto bytes = platform.readFile(path);
    if (!bytes)
        return refuse(path + QStringLiteral(": cannot be read"));
    const auto read = ReadStation(*bytes);
    if (const auto* error = std::get_if<StationError>(&read))
        return refuse(StationErrorLine(path, *error));
    const Station& station = std::get<Station>(read);

    // The station is applied to a program of its own, started as the window was: a station
    // refused half-way (a tool the system does not offer, say) leaves the window as it was,
    // and an accepted one shows exactly what a freshly started window would.
    RecordingPlatform quiet(platform);
    Veldrune trial(quiet);
    trial.startLike(m_program);
    if (const auto refusal = ApplyStation(trial, station, quiet.messages()))
        return refuse(StationErrorLine(path, *refusal));
    m_program.takeOver(trial);
    // The messages the station gave, each once, as the window tells them.
    QStringList told;
    for (const QString& message : quiet.messages()) {
        if (!told.contains(message)) {
            told.append(message);
            platform.showMessage(message, MessageIcon::Critical, ProgramTitle);
        }
    }
    m_current = path;
    return true;
}

void StationFiles::save() {
    if (m_current.isEmpty())
        saveAs();
    else
        saveTo(m_current);
}

void StationFiles::saveAs() {
    const QString path =
        m_program.platform().chooseStationFile(Platform::FileDialog::Save, m_current);
    if (!path.isEmpty())
        saveTo(path);
}

void StationFiles::saveTo(const QString& path) {
    Platform& platform = m_program.platform();
    const auto station = StationOfWindow(m_program);
    if (!station) {
        platform.showMessage(QStringLiteral("CHOOSE A TOOL BEFORE SAVING THE STATION"),
                             MessageIcon::Information, ProgramTitle);
        return;
    }
    const QString failure = platform.writeFile(path, StationFileText(*station));
    if (!failure.isEmpty()) {
        platform.showMessage(
            QStringLiteral("THE STATION WAS NOT SAVED TO %1: %2").arg(path, failure),
            MessageIcon::Critical, ProgramTitle);
        return;
    }
    m_current = path;
}

} // namespace veldrune
