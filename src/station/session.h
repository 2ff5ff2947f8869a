#pragma once

#include "window/windowmodel.h"

#include <QString>

#include <optional>

namespace veldrune {

class Form1;

// A user's event as the station files of the first version wrote it, in their "session": the
// control by the station
// file's key for it ("initial_time", "tool") or, for controls without one, by its name in the
// window ("Text4(11)"); a picked entry by its text and its position in the list.
struct SessionStep {
    UserEvent::Kind kind = UserEvent::Kind::Focus;
    QString control;
    QString text;             // the text typed, or the entry picked
    std::optional<int> value; // the key's code, or the entry's position in the list
    friend bool operator==(const SessionStep&, const SessionStep&) = default;
};

// Makes the step on the window as the user made it. Returns why it cannot be made as a user
// could not make it (no such control, a control that takes no such event, one that is hidden
// or switched off, an entry the list does not hold), or nothing.
std::optional<QString> ReplayStep(Form1& form, const SessionStep& step);

} // namespace veldrune
