#pragma once

#include "catalogue/motortable.h"
#include "catalogue/tooltable.h"

#include <cstdint>

namespace veldrune {

// The program-wide tool data and the user's choice among it.
struct Catalogue {
    ToolTable Tools;
    MotorTable Motors;
    std::int16_t SelectedTool = 0; // ToolTable index of the tool last picked; 0 before any
    bool NmOnly = false;           // "NM.TXT" was found: only newton metres are offered
    float HeadRatio = 1.0f;        // gear ratio of the angle head in use, 1 without one
};

} // namespace veldrune
