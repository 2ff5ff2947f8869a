#include "station/savestation.h"

#include "app/veldrune.h"
#include "input/entryfields.h"
#include "numbers/textvalue.h"
#include "station/reopen.h"

#include <nlohmann/json.hpp>

namespace veldrune {

namespace {

using Json = nlohmann::ordered_json;

// Whether the text is one of the limits' captions, which the window puts in place of a value
// beyond the limit.
bool isLimit(const QString& text, std::initializer_list<const Control*> limits) {
    for (const Control* limit : limits) {
        if (!limit->text().trimmed().isEmpty() && text == limit->text())
            return true;
    }
    return false;
}

// The field as the window shows it or, where it shows a limit's caption, as it was last typed.
QString asWritten(const Form1& f, const Control& field,
                  std::initializer_list<const Control*> limits, bool typedBeyondLimits) {
    if (typedBeyondLimits && isLimit(field.text(), limits)) {
        if (const auto typed = f.lastInput(field))
            return typed->text;
    }
    return field.text();
}

// Whether the duty-cycle fields hold anything but what they start with.
bool dutyCycleTouched(const Form1& f) {
    return TextValue(f.Text4(8).text()) != 0 || !f.Text4(9).text().isEmpty() ||
           !f.Text4(10).text().isEmpty() || f.PREVILING.value() || f.TQUNIT.listIndex() != 0 ||
           f.DURR.listIndex() != 1;
}

Station plainStation(Veldrune& program, bool typedBeyondLimits) {
    const Form1& f = program.form();
    const auto speed = [&](int i) {
        return asWritten(f, f.Text4(i), {&f.Label3(0), &f.Label3(1)}, typedBeyondLimits);
    };
    Station s;
    s.description = f.Text5.text();
    s.system = f.SYSTEM.text();
    s.tool = f.TOOLLIST.text().trimmed();
    for (int i = 1; i < f.TOOLLIST.listIndex(); ++i)
        s.toolOccurrence += f.TOOLLIST.entry(i).trimmed() == s.tool;
    if (f.ANGLE.visible())
        s.angleHead = f.ANGLE.text().trimmed();
    s.fastening =
        f.Option1(1).value() ? Station::Fastening::Revolutions : Station::Fastening::BoltData;
    s.boltLength = f.Text1.text();
    s.boltPitch = f.Text2.text();
    s.revolutions = f.Text3.text();
    // The free-run and tightening phases go by their speeds, from which the window derives the
    // times.
    s.initialTime = f.Text4(0).text();
    s.initialSpeed = speed(1);
    s.freerunSpeed = speed(3);
    s.tighteningAngle = f.Text4(5).text();
    s.torqueSpeed = speed(6);
    s.communicationTime = f.Text4(7).text();
    // The duty cycle where its section shows, or holds something.
    const bool tall = program.flags().LoadSectionShown;
    if (tall || dutyCycleTouched(f)) {
        Station::DutyCycle& d = s.dutyCycle.emplace(Station::DutyCycle{});
        d.torqueUnit = f.TQUNIT.text();
        d.stationCycleTime = f.Text4(8).text();
        d.fasteningTorque = f.Text4(9).text();
        d.prevailingTorque = f.PREVILING.value();
        d.torqueRecoveryTime = f.Text4(10).text();
        d.periodMinutes = f.DURR.text();
    }
    s.tallLayout = tall;
    return s;
}

void put(Json& json, const char* key, const std::optional<QString>& text) {
    if (text)
        json[key] = text->toStdString();
}

// The station as its file reopens it: written, read back and applied.
SavedStation saved(Veldrune& program, const Station& station) {
    const auto read = ReadStation(StationFileText(station));
    if (const auto* error = std::get_if<StationError>(&read))
        return {station, {QStringLiteral("THE FILE WOULD BE REFUSED: ") + error->message}};
    return {station, ReopenDifferences(program, std::get<Station>(read))};
}

} // namespace

std::optional<SavedStation> SaveStation(Veldrune& program) {
    program.form().finishEdit();
    if (NoToolChosen(program.form()))
        return std::nullopt;
    const Station typed = plainStation(program, true);
    SavedStation result = saved(program, typed);
    if (!result.differences.isEmpty()) {
        // What the window shows, every field as it stands, where that reopens closer.
        const Station shown = plainStation(program, false);
        if (StationFileText(shown) != StationFileText(typed)) {
            SavedStation other = saved(program, shown);
            if (other.differences.size() < result.differences.size())
                result = std::move(other);
        }
    }
    return result;
}

Station PlainStation(Veldrune& program) {
    return plainStation(program, true);
}

QByteArray StationFileText(const Station& s) {
    Json json = {{"format", StationFormat}};
    put(json, "description", s.description);
    json["system"] = s.system.toStdString();
    json["tool"] = s.tool.toStdString();
    if (s.toolOccurrence > 1)
        json["tool_occurrence"] = s.toolOccurrence;
    if (!s.angleHead.isEmpty())
        json["angle_head"] = s.angleHead.toStdString();
    if (s.fastening != Station::Fastening::Untouched) {
        Json fastening = {{"mode", s.fastening == Station::Fastening::Revolutions ? "revolutions"
                                                                                  : "bolt_length"}};
        put(fastening, "bolt_length", s.boltLength);
        put(fastening, "bolt_pitch", s.boltPitch);
        put(fastening, "revolutions", s.revolutions);
        json["fastening"] = fastening;
    }
    put(json, "initial_time", s.initialTime);
    put(json, "initial_speed", s.initialSpeed);
    put(json, "freerun_speed", s.freerunSpeed);
    put(json, "freerun_time", s.freerunTime);
    put(json, "tightening_angle", s.tighteningAngle);
    put(json, "torque_speed", s.torqueSpeed);
    put(json, "tightening_time", s.tighteningTime);
    put(json, "communication_time", s.communicationTime);
    if (s.dutyCycle) {
        const Station::DutyCycle& d = *s.dutyCycle;
        Json duty = {{"torque_unit", d.torqueUnit.toStdString()}};
        put(duty, "station_cycle_time", d.stationCycleTime);
        put(duty, "fastening_torque", d.fasteningTorque);
        duty["prevailing_torque"] = d.prevailingTorque;
        put(duty, "torque_recovery_time", d.torqueRecoveryTime);
        duty["period_minutes"] = d.periodMinutes.toStdString();
        json["duty_cycle"] = duty;
    }
    if (s.tallLayout)
        json["layout"] = *s.tallLayout ? "tall" : "short";
    // A text that is not whole UTF-16 (a lone surrogate) is written with a replacement; the
    // reopening check then tells.
    return QByteArray::fromStdString(json.dump(2, ' ', false, Json::error_handler_t::replace) +
                                     "\n");
}

} // namespace veldrune
