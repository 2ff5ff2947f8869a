#pragma once

#include "calc/loadsimulation.h"

#include <cstdint>

class QPainter;

namespace veldrune {

struct Catalogue;
class Form1;
class Platform;

// What the duty-cycle simulation reads from the main window's fields and lists.
DutyCycleInputs ReadDutyCycleInputs(const Form1& form);

// Draws the load chart of the window's current duty cycle: frame, grid, axis labels and
// legend, then the torque and load curves, in the target's own units (twips), every x at
// (OriginX + x) x ScaleX and every y at OriginY + y, clipped to the area of Picture2 there
// (a curve above 112 % leaves it). A failure stops the drawing there, keeping what is drawn. Shows
// the busy pointer meanwhile and, in test mode, the milliseconds it took in the caption. Without a
// target the drawing is skipped and the rest still runs.
void DrawLoadChart(QPainter* Target, std::int16_t OriginX, std::int16_t OriginY, float ScaleX,
                   Form1& form, const Catalogue& catalogue, Platform& platform);

// A pick in DURR, and UPDATE CALCULATION: Picture2 is cleared and the chart drawn into it.
void RedrawLoadChart(Form1& form, const Catalogue& catalogue, Platform& platform);

} // namespace veldrune
