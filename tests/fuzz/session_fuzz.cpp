// A session at the window: picks, typing, the options, the check box, the buttons and system
// changes, in the order and with the texts the input chooses; then the window is saved as a
// plain station and the file opened in a freshly started program, which must show the very
// same window, control for control (text, shown, enabled, ticked and picked), unless the save
// said what will differ.

#include "fuzzsetup.h"

#include "input/entryfields.h"
#include "support/randomuse.h"
#include "support/station.h"

using veldrune::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    veldrune::test::StartedProgram s;
    s.form().setKeepsPictures(false);
    // Each choice takes the input's next two bytes; the session ends with the input.
    std::size_t at = 0;
    const auto number = [&](int low, int high) {
        const int bytes = at + 1 < size ? data[at] << 8 | data[at + 1] : 0;
        at += 2;
        return low + bytes % (high - low + 1);
    };
    while (at < size)
        veldrune::test::RandomEvent(s.form(), number);
    if (!veldrune::NoToolChosen(s.form())) {
        const QString differs = veldrune::test::ReopenedDifference(*s.program);
        Check(differs.isEmpty(), QStringLiteral("the saved window reopens otherwise: ") + differs);
    }
    return 0;
}
