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

// A field still showing its start-up text, which no one has typed, is left out of the file,
// as typing it would format it ("1.0" becomes "1.00", "" becomes "0.00").
std::optional<QString> typed(const Control& field, const char* startUp = "") {
    if (field.text() == QLatin1String(startUp))
        return std::nullopt;
    return field.text();
}

std::optional<QString> typed(const Form1& f, int field) {
    return typed(f.Text4(field), field < 8 ? PhaseStartUpTexts[field] : "");
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
std::optional<QString> torque(const Form1& f) {
    auto text = typed(f, 9);
    for (int u = 0; u < UnitCount && text; ++u) {
        if (f.TQUNIT.text() == UnitNames[u])
            return beyond(*text, f.Label4(u));
    }
    return text;
}

} // namespace

// The free-run and tightening phases go by their speeds, from which the window derives the
// times.
Station PlainStation(Veldrune& program) {
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
        s.boltLength = typed(f.Text1);
        s.boltPitch = typed(f.Text2);
    }
    s.initialTime = typed(f, 0);
    s.initialSpeed = speed(f, 1);
    s.freerunSpeed = speed(f, 3);
    s.tighteningAngle = typed(f, 5);
    s.torqueSpeed = speed(f, 6);
    s.communicationTime = typed(f, 7);
    if (program.flags().LoadSectionShown) {
        Station::DutyCycle duty;
        duty.torqueUnit = f.TQUNIT.text();
        duty.stationCycleTime = typed(f, 8);
        duty.fasteningTorque = torque(f);
        duty.prevailingTorque = f.PREVILING.value();
        duty.torqueRecoveryTime = typed(f, 10);
        duty.periodMinutes = f.DURR.text();
        s.dutyCycle = duty;
    }
    return s;
}

namespace {

// The station applied to a freshly started window like the program's: the window, or why
// the station is refused.
std::unique_ptr<Veldrune> trialOf(Veldrune& program, const Station& station,
                                  RecordingPlatform& quiet, std::optional<StationError>& refusal) {
    auto trial = std::make_unique<Veldrune>(quiet);
    trial->form().setKeepsPictures(false);
    trial->startLike(program);
    refusal = ApplyStation(*trial, station, quiet.messages());
    return trial;
}

} // namespace

bool SameShown(const Form1& a, const Form1& b) {
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

bool Reopens(Veldrune& program, const Station& station) {
    RecordingPlatform quiet(program.platform());
    std::optional<StationError> refusal;
    const auto trial = trialOf(program, station, quiet, refusal);
    return !refusal && SameShown(trial->form(), program.form());
}

std::optional<Station> StationOfWindow(Veldrune& program, const std::optional<Station>& opened) {
    if (NoToolChosen(program.form()))
        return std::nullopt;
    Station plain = PlainStation(program);
    if (Reopens(program, plain))
        return plain;
    // The station the window started from, and everything the user did since, in order.
    Station station = opened.value_or(Station{});
    const auto steps = SessionOfJournal(program.form(), program.form().journal());
    station.session.insert(station.session.end(), steps.begin(), steps.end());
    return station;
}

QByteArray StationFileText(const Station& s) {
    Json json = Json::object();
    putText(json, "description", s.description);
    if (!s.system.isEmpty()) {
        json["system"] = str(s.system);
        json["tool"] = str(s.tool);
    }
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
    const auto dump = [](const Json& value, int indent) {
        return value.dump(indent, ' ', false, Json::error_handler_t::replace);
    };
    std::string text = dump(json, 2);
    if (!s.session.empty()) {
        // One event a line, in the order they happened.
        static const char* const Events[] = {"focus", "type", "key", "click", "pick"};
        std::string events;
        for (const SessionStep& step : s.session) {
            Json event = {{Events[int(step.kind)], str(step.control)}};
            if (step.kind == UserEvent::Kind::Type)
                event["text"] = str(step.text);
            else if (step.kind == UserEvent::Kind::Key)
                event["code"] = step.value.value_or(0);
            else if (step.kind == UserEvent::Kind::Pick)
                event["entry"] = str(step.text);
            if (step.kind == UserEvent::Kind::Pick && step.value)
                event["position"] = *step.value;
            events += (events.empty() ? "\n    " : ",\n    ") + dump(event, -1);
        }
        text.pop_back(); // the closing brace
        if (text.size() > 2)
            text.back() = ',';
        text += "\n  \"session\": [" + events + "\n  ]\n}";
    }
    return QByteArray::fromStdString(text + "\n");
}

QString StationErrorLine(const QString& file, const StationError& error) {
    QString text = file + QStringLiteral(": ");
    if (!error.key.isEmpty())
        text += QStringLiteral("key %1: ").arg(Excerpt(error.key));
    return text + error.message;
}

} // namespace veldrune
