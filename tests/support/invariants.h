#pragma once

#include <QString>

namespace veldrune {
class Veldrune;
}

namespace veldrune::test {

// What must hold after every event whatever the user did: the window is in one of its two
// layouts and its height says which, no number shown is infinite or not a number, and the
// selected tool is a catalogue entry or none. Returns the first thing that does not hold,
// or an empty text.
QString BrokenInvariant(Veldrune& program);

// Whether a text shows an infinite value or not a number, as formatting would write them.
bool ShowsNonFinite(const QString& text);

} // namespace veldrune::test
