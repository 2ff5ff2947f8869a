#include "station/station.h"

#include "platform/platform.h"
#include "platform/text.h"

#include <QStringList>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace veldrune {

namespace {

using Json = nlohmann::json;

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

struct Failure {
    StationError error;
};

[[noreturn]] void fail(const QString& key, const QString& message) {
    throw Failure{{key, message}};
}

QString typeName(const Json& value) {
    return fromStd(value.type_name());
}

QString typed(const Json& value, const QString& key) {
    if (value.is_string())
        return fromStd(value.get<std::string>());
    if (value.is_number_integer() || value.is_number_unsigned())
        return fromStd(value.dump());
    if (value.is_number_float())
        return TypedNumber(value.get<double>());
    fail(key, QStringLiteral("must be a number or a string, not %1").arg(typeName(value)));
}

QString text(const Json& value, const QString& key) {
    if (!value.is_string())
        fail(key, QStringLiteral("must be a string, not %1").arg(typeName(value)));
    return fromStd(value.get<std::string>());
}

void readFastening(const Json& fastening, Station& station) {
    if (!fastening.is_object())
        fail(QStringLiteral("fastening"),
             QStringLiteral("must be an object with bolt_length and bolt_pitch, or revolutions"));
    std::optional<Station::Fastening> mode;
    for (const auto& [name, value] : fastening.items()) {
        const QString key = QStringLiteral("fastening.") + fromStd(name);
        if (name == "mode") {
            const QString option = text(value, key);
            if (option == QLatin1String("bolt_length"))
                mode = Station::Fastening::BoltData;
            else if (option == QLatin1String("revolutions"))
                mode = Station::Fastening::Revolutions;
            else
                fail(key, QStringLiteral("must be \"bolt_length\" or \"revolutions\", not %1")
                              .arg(Excerpt(option)));
        } else if (name == "bolt_length")
            station.boltLength = typed(value, key);
        else if (name == "bolt_pitch")
            station.boltPitch = typed(value, key);
        else if (name == "revolutions")
            station.revolutions = typed(value, key);
        else
            fail(key, QStringLiteral(
                          "unknown key; allowed: mode, bolt_length, bolt_pitch, revolutions"));
    }
    const bool bolt = station.boltLength || station.boltPitch;
    if (mode) { // the option chosen, and the data of both options
        station.fastening = *mode;
        return;
    }
    if (bolt && station.revolutions)
        fail(QStringLiteral("fastening"),
             QStringLiteral("give either bolt_length and bolt_pitch, or revolutions, not both"));
    if (bolt)
        station.fastening = Station::Fastening::BoltData;
    else if (station.revolutions)
        station.fastening = Station::Fastening::Revolutions;
}

void readDutyCycle(const Json& duty, Station& station) {
    if (!duty.is_object())
        fail(QStringLiteral("duty_cycle"), QStringLiteral("must be an object"));
    Station::DutyCycle& d = station.dutyCycle.emplace(Station::DutyCycle{});
    const std::map<std::string, std::optional<QString> Station::DutyCycle::*> typedFields = {
        {"station_cycle_time", &Station::DutyCycle::stationCycleTime},
        {"fastening_torque", &Station::DutyCycle::fasteningTorque},
        {"torque_recovery_time", &Station::DutyCycle::torqueRecoveryTime},
    };
    for (const auto& [name, value] : duty.items()) {
        const QString key = QStringLiteral("duty_cycle.") + fromStd(name);
        if (const auto field = typedFields.find(name); field != typedFields.end()) {
            d.*(field->second) = typed(value, key);
        } else if (name == "torque_unit") {
            d.torqueUnit = text(value, key);
        } else if (name == "period_minutes") {
            d.periodMinutes = typed(value, key);
        } else if (name == "prevailing_torque") {
            if (!value.is_boolean())
                fail(key, QStringLiteral("must be true or false, not %1").arg(typeName(value)));
            d.prevailingTorque = value.get<bool>();
        } else {
            fail(key, QStringLiteral("unknown key; allowed: torque_unit, station_cycle_time, "
                                     "fastening_torque, prevailing_torque, "
                                     "torque_recovery_time, period_minutes"));
        }
    }
}

// A whole number from `low` to a million; a number beyond 63 bits is not read as a negative one.
int integer(const Json& value, const QString& key, int low = -1000000) {
    if (!value.is_number_integer() || value.get<double>() < low || value.get<double>() > 1000000)
        fail(key, QStringLiteral("must be a whole number from %1 to 1000000, not %2")
                      .arg(low)
                      .arg(Excerpt(fromStd(value.dump()), u'`')));
    return int(value.get<std::int64_t>());
}

// One event of a session: the event's name as the key of the control it goes to, and what
// the event needs besides.
SessionStep readStep(const Json& item, const QString& key) {
    static const std::map<std::string, std::pair<UserEvent::Kind, const char*>> Events = {
        {"focus", {UserEvent::Kind::Focus, ""}},
        {"type", {UserEvent::Kind::Type, "text"}},
        {"key", {UserEvent::Kind::Key, "code"}},
        {"click", {UserEvent::Kind::Click, ""}},
        {"pick", {UserEvent::Kind::Pick, "entry"}}};
    if (!item.is_object())
        fail(key, QStringLiteral("must be an object such as {\"click\": \"load_calculation\"}"));
    SessionStep step;
    std::string event;
    for (const auto& [name, value] : item.items()) {
        if (const auto found = Events.find(name); found != Events.end()) {
            if (!event.empty())
                fail(key, QStringLiteral("holds two events, %1 and %2")
                              .arg(fromStd(event), fromStd(name)));
            event = name;
            step.kind = found->second.first;
            step.control = text(value, key + u'.' + fromStd(name));
        }
    }
    if (event.empty())
        fail(key, QStringLiteral("names no event; events: focus, type, key, click, pick"));
    const std::string needed = Events.at(event).second;
    for (const auto& [name, value] : item.items()) {
        const QString at = key + u'.' + fromStd(name);
        if (name == event)
            continue;
        if (name == "text" && needed == "text")
            step.text = typed(value, at);
        else if (name == "code" && needed == "code")
            step.value = integer(value, at);
        else if (name == "entry" && needed == "entry")
            step.text = text(value, at);
        else if (name == "position" && needed == "entry")
            step.value = integer(value, at, 0);
        else
            fail(at, QStringLiteral("unknown key for a %1 event").arg(fromStd(event)));
    }
    if (!needed.empty() && !item.contains(needed))
        fail(key, QStringLiteral("a %1 event needs %2")
                      .arg(fromStd(event), QString::fromLatin1(needed.c_str())));
    return step;
}

void readSession(const Json& session, Station& station) {
    if (!session.is_array())
        fail(QStringLiteral("session"), QStringLiteral("must be a list of events"));
    for (std::size_t i = 0; i < session.size(); ++i)
        station.session.push_back(readStep(session[i], QStringLiteral("session[%1]").arg(i + 1)));
}

// The version that wrote the file, read before anything else: a newer version's file may hold
// keys this one does not know.
int formatOf(const Json& root) {
    const auto found = root.find("format");
    if (found == root.end())
        return 1;
    if (found->is_number_integer() && found->get<double>() > StationFormat)
        fail(QStringLiteral("format"), QStringLiteral("made by a newer version of VELDRUNE"));
    return integer(*found, QStringLiteral("format"), 1);
}

Station readStation(const Json& root) {
    if (!root.is_object())
        fail({},
             QStringLiteral("a station file holds one JSON object, not %1").arg(typeName(root)));
    Station station;
    station.format = formatOf(root);
    const std::map<std::string, std::optional<QString> Station::*> typedFields = {
        {"description", &Station::description},
        {"initial_time", &Station::initialTime},
        {"initial_speed", &Station::initialSpeed},
        {"freerun_time", &Station::freerunTime},
        {"freerun_speed", &Station::freerunSpeed},
        {"tightening_angle", &Station::tighteningAngle},
        {"tightening_time", &Station::tighteningTime},
        {"torque_speed", &Station::torqueSpeed},
        {"communication_time", &Station::communicationTime},
    };
    bool hasSystem = false;
    bool hasTool = false;
    for (const auto& [name, value] : root.items()) {
        const QString key = fromStd(name);
        if (const auto field = typedFields.find(name); field != typedFields.end()) {
            station.*(field->second) = typed(value, key);
        } else if (name == "system") {
            station.system = text(value, key);
            hasSystem = true;
        } else if (name == "tool") {
            station.tool = text(value, key);
            hasTool = true;
        } else if (name == "tool_occurrence") {
            station.toolOccurrence = integer(value, key, 1);
        } else if (name == "format") {
            // read first
        } else if (name == "layout") {
            const QString layout = text(value, key);
            if (layout != QLatin1String("tall") && layout != QLatin1String("short"))
                fail(key,
                     QStringLiteral("must be \"tall\" or \"short\", not %1").arg(Excerpt(layout)));
            station.tallLayout = layout == QLatin1String("tall");
        } else if (name == "angle_head") {
            station.angleHead = text(value, key).trimmed();
        } else if (name == "fastening") {
            readFastening(value, station);
        } else if (name == "duty_cycle") {
            readDutyCycle(value, station);
        } else if (name == "session") {
            readSession(value, station);
        } else {
            fail(key, QStringLiteral("unknown key"));
        }
    }
    // A session alone may stand for the whole station; otherwise the system and the tool
    // are where the station starts.
    const bool sessionAlone = root.contains("session") && !hasSystem && !hasTool;
    if (!hasSystem && !sessionAlone)
        fail(QStringLiteral("system"), QStringLiteral("is missing"));
    if (!hasTool && !sessionAlone)
        fail(QStringLiteral("tool"), QStringLiteral("is missing"));
    for (const auto& [name, value] : root.items()) {
        if (sessionAlone && name != "session" && name != "description" && name != "format")
            fail(fromStd(name),
                 QStringLiteral("needs the system and the tool, or a session alone"));
    }
    if (station.freerunTime && station.freerunSpeed)
        fail(QStringLiteral("freerun_time"),
             QStringLiteral("excludes freerun_speed; give one of them"));
    if (station.tighteningTime && station.torqueSpeed)
        fail(QStringLiteral("tightening_time"),
             QStringLiteral("excludes torque_speed; give one of them"));
    return station;
}

// nlohmann reports the byte where parsing stopped; people count lines.
int lineOf(const QByteArray& json, std::size_t byte) {
    const auto end = std::min<std::size_t>(byte, std::size_t(json.size()));
    return 1 + int(std::count(json.begin(), json.begin() + qsizetype(end), '\n'));
}

// The parser's own words without its "[json.exception...] parse error at ...: " prefix, the
// text it quotes (the last token read, a number) cut to an excerpt.
QString parserReason(const char* what) {
    QString reason = fromStd(what);
    if (reason.startsWith(u'[')) // "[json.exception.out_of_range.406] "
        reason = reason.mid(reason.indexOf(u']') + 2);
    if (reason.startsWith(QStringLiteral("parse error")))
        reason = reason.mid(reason.indexOf(QStringLiteral(": ")) + 2);
    if (reason.startsWith(QStringLiteral("syntax error ")))
        reason.remove(0, 13);
    // The quoted token runs to the quote before "; expected ...", or to the last quote.
    qsizetype open = reason.indexOf(QStringLiteral("last read: '"));
    open = open >= 0 ? open + 11 : reason.indexOf(QStringLiteral("parsing '")) + 8;
    qsizetype close = reason.lastIndexOf(QStringLiteral("'; expected "));
    if (close < open)
        close = reason.lastIndexOf(u'\'');
    if (open >= 8 && close > open)
        reason = reason.left(open) + Excerpt(reason.mid(open + 1, close - open - 1), u'\'') +
                 reason.mid(close + 1);
    return reason;
}

// Where the parser failed inside a value (a number beyond the range of a double): the keys
// leading to it, found by reading the text once more, without keeping it.
class KeyTracker : public nlohmann::json_sax<Json> {
public:
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override {
        keys.emplace_back();
        return true;
    }
    bool key(string_t& name) override {
        keys.back() = name;
        return true;
    }
    bool end_object() override {
        keys.pop_back();
        return true;
    }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }
    std::vector<std::string> keys;
};

QString keyOfFailure(const QByteArray& json) {
    KeyTracker tracker;
    Json::sax_parse(json.begin(), json.end(), &tracker, Json::input_format_t::json, false);
    QStringList path;
    for (const std::string& key : tracker.keys) {
        if (!key.empty())
            path.append(fromStd(key));
    }
    return path.join(u'.');
}

QString tooLarge(qint64 bytes) {
    return (bytes > 0 ? QStringLiteral("it holds %1 bytes, ").arg(bytes)
                      : QStringLiteral("it holds ")) +
           QStringLiteral("more than the 1 MiB (%1 bytes) a station file may hold")
               .arg(MaxStationFileBytes);
}

} // namespace

QString TypedNumber(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

std::variant<Station, StationError> ReadStation(const QByteArray& json) {
    if (json.size() > MaxStationFileBytes)
        return StationError{{}, tooLarge(json.size())};
    Json root;
    try {
        root = Json::parse(json.begin(), json.end());
    } catch (const Json::parse_error& e) {
        const int line = e.byte == 0 ? 1 : lineOf(json, e.byte - 1);
        return StationError{
            {},
            QStringLiteral("line %1: JSON syntax error %2").arg(line).arg(parserReason(e.what()))};
    } catch (const Json::exception& e) {
        return StationError{keyOfFailure(json), parserReason(e.what())};
    }
    try {
        return readStation(root);
    } catch (const Failure& failure) {
        return failure.error;
    }
}

std::variant<Station, StationError> ReadStationFile(const Platform& platform, const QString& path) {
    auto read = platform.readFileUpTo(path, MaxStationFileBytes);
    if (const auto* reason = std::get_if<QString>(&read))
        return StationError{{}, QStringLiteral("cannot be read: ") + *reason};
    const QByteArray& bytes = std::get<QByteArray>(read);
    if (bytes.size() > MaxStationFileBytes)
        return StationError{{}, tooLarge(platform.fileSize(path))};
    return ReadStation(bytes);
}

QString StationErrorLine(const QString& file, const StationError& error) {
    QString text = file + QStringLiteral(": ");
    if (!error.key.isEmpty())
        text += QStringLiteral("key %1: ").arg(Excerpt(error.key));
    return text + error.message;
}

} // namespace veldrune
