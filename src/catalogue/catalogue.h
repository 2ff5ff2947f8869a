#pragma once

#include "catalogue/motortable.h"
#include "catalogue/tooltable.h"

#include <cstdint>
#include <functional>

namespace veldrune {

// The program-wide tool data: read or filled once at start-up, never changed afterwards.
struct Catalogue {
    ToolTable Tools;
    MotorTable Motors;
};

// The user's choice among the tools, and what follows from it.
struct ToolSelection {
    std::int16_t SelectedTool = 0; // ToolTable index of the tool last picked; 0 before any
    bool NmOnly = false;           // "NM.TXT" was found: only newton metres are offered
    float HeadRatio = 1.0f;        // gear ratio of the angle head in use, 1 without one
};

// Recalculates the cycle after a pick, as the window's CALC with EditedIndex 0 does. The
// program object supplies it: the calculation is a layer above the catalogue.
using Recalculate = std::function<void()>;

} // namespace veldrune
