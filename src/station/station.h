#pragma once

#include "station/session.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace veldrune {

class Platform;

// A problem with a station, naming the key it concerns (empty for the file as a whole).
struct StationError {
    QString key;
    QString message;
};

// The version of the station files this program writes; it reads every version up to it.
inline constexpr int StationFormat = 2;
// A station file larger than this is refused before it is read any further.
inline constexpr qsizetype MaxStationFileBytes = 1 << 20;

// A fastening station as a station file describes it: what to pick and what to type, each
// typed value already as the text that goes into its field, in the fixed order of application;
// then, where a file of an older version has one, the session: the user's further events in
// the order they happened. A station of a session alone has no system and no tool.
struct Station {
    int format = StationFormat; // the version of the file it was read from
    std::optional<QString> description;
    QString system; // empty: the station is its session alone
    QString tool;
    int toolOccurrence = 1; // the tool list's n-th entry of that name, where it repeats one
    QString angleHead;      // empty: no angle head

    // The fastening option chosen; the data of both options may be given.
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
    // The tall layout, with the duty-cycle section; nothing: tall with a duty cycle.
    std::optional<bool> tallLayout;

    std::vector<SessionStep> session;
};

// Reads a station file's JSON text. Checks its form (keys, value types, keys that exclude
// each other); whether the choices exist is for the window to tell when they are picked.
std::variant<Station, StationError> ReadStation(const QByteArray& json);

// Reads a station file: its JSON text, or why it cannot be had (missing, a folder, unreadable,
// larger than MaxStationFileBytes).
std::variant<Station, StationError> ReadStationFile(const Platform& platform, const QString& path);

// Why a station file was refused, in one line: the file, the key and the reason.
QString StationErrorLine(const QString& file, const StationError& error);

// The text a JSON number is typed as: its shortest decimal form with a full stop.
QString TypedNumber(double value);

} // namespace veldrune
