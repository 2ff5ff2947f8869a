#pragma once

#include "station/station.h"

#include <QStringList>

#include <optional>
#include <variant>
#include <vector>

namespace veldrune {

class Veldrune;

// Applies the station to a freshly started program as a person would at the window, in the
// fixed order of application: the description; the system, the tool and the angle head; the
// fastening; the phase fields; the duty cycle; the layout; then an older file's session, event
// by event. A pick of the entry a list already shows, and typing the text a field already
// shows, are left out: they would change nothing but the formatting. The chart is drawn once,
// at the end, where the window shows it. `messagesSoFar` are the messages shown before, such
// as a missing catalogue, which a refusal names. Returns the refusal, if any; the program then
// holds what was applied before it.
std::optional<StationError> ApplyStation(Veldrune& program, const Station& station,
                                         const QStringList& messagesSoFar = {});

// A tool the system offers, and the angle heads that fit it (none when the system shows no
// heads).
struct ToolChoice {
    QString tool;
    QStringList angleHeads;
};

// The tools that the system offers on a freshly started program, in list order, each once, with
// their heads: what a person finds by picking the system and then each tool.
std::variant<std::vector<ToolChoice>, StationError>
ToolsOffered(Veldrune& program, const QString& system, const QStringList& messagesSoFar);

} // namespace veldrune
