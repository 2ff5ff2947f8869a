#pragma once

#include <QString>

#include <array>

namespace veldrune {

// Wording that depends on the kind of tool, copied into phase captions when the tool lists
// are filled. Entries 0..16; filled at start-up from the caption file or with defaults.
using ModeCaptions = std::array<QString, 17>;

// Program-wide switches, set at start-up or by the command buttons.
struct ProgramFlags {
    bool LoadSectionShown = false; // the tall layout with the duty-cycle section is shown
    bool SkipCaptionFile = false;  // the caption file is not read
    bool PressMode = false;        // the press layout of the lists; nothing switches it on
};

} // namespace veldrune
