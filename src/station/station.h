#pragma once

#include "station/session.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace veldrune {

// A problem with a station, naming the key it concerns (empty for the file as a whole).
struct StationError {
    QString key;
    QString message;
};

// A fastening station as a station file describes it: what to pick and what to type, each
// typed value already as the text that goes into its field, in the fixed order of application;
// then, where the file has one, the session: the user's further events in the order they
// happened. A station of a session alone has no system and no tool.
struct Station {
    std::optional<QString> description;
    QString system; // empty: the station is its session alone
    QString tool;
    QString angleHead; // empty: no angle head

    enum class Fastening { Untouched, BoltData, Revolutions };
    Fastening fastening = Fastening::Untouched;
    std::optional<QString> boltLength;
    std::optional<QString> boltPitch;
    std::optional<QString> revolutions;

    std::optional<QString> initialTime;
    std::optional<QString> initialSpeed;
    std::optional<QString> freerunTime;
    std::optional<QString> freerunSpeed;
    std::optional<QString> tighteningAngle;
    std::optional<QString> tighteningTime;
    std::optional<QString> torqueSpeed;
    std::optional<QString> communicationTime;

    // The duty-cycle section, applied in the tall layout.
    struct DutyCycle {
        QString torqueUnit = QStringLiteral("NM");
        std::optional<QString> stationCycleTime;
        std::optional<QString> fasteningTorque;
        bool prevailingTorque = false;
        std::optional<QString> torqueRecoveryTime;
        QString periodMinutes = QStringLiteral("4");
    };
    std::optional<DutyCycle> dutyCycle;

    std::vector<SessionStep> session;
};

// Reads a station file's JSON text. Checks its form (keys, value types, keys that exclude
// each other); whether the choices exist is for the window to tell when they are picked.
std::variant<Station, StationError> ReadStation(const QByteArray& json);

// The text a JSON number is typed as: its shortest decimal form with a full stop.
QString TypedNumber(double value);

} // namespace veldrune
