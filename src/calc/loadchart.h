#pragma once

#include "calc/loadsimulation.h"

#include <QString>

#include <cstdint>
#include <optional>

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
// target the drawing is skipped and the rest still runs. `LineTwips`: the target's units a pixel
// of line width takes, so that a page draws the same lines at any resolution; 0 takes the
// device's own pixels, as a screen does.
void DrawLoadChart(QPainter* Target, std::int16_t OriginX, std::int16_t OriginY, float ScaleX,
                   Form1& form, const Catalogue& catalogue, Platform& platform,
                   double LineTwips = 0);

// What the chart in Picture2 was last drawn for, and its figures in words: once the window's
// inputs differ from those, the picture belongs to other inputs than the window shows.
struct DrawnChart {
    std::optional<DutyCycleInputs> inputs; // nothing before the chart is first drawn
    QString words;
};

// The mark over a chart drawn for other inputs than the window shows, and its tooltip then.
inline const QString ChartOutOfDateMark = QStringLiteral("OUT OF DATE - F5 UPDATES");

// A pick in DURR, and UPDATE CALCULATION: Picture2 is cleared and the chart drawn into it.
void RedrawLoadChart(Form1& form, const Catalogue& catalogue, Platform& platform,
                     DrawnChart& drawn);

// Whether the window's inputs differ from those the chart in Picture2 was drawn for.
bool ChartOutOfDate(const Form1& form, const DrawnChart& drawn);

// Marks the chart in Picture2 out of date, its tooltip (which a screen reader reads too) saying
// so instead of figures for other inputs, while ChartOutOfDate holds; unmarks it otherwise. The
// picture itself stays as drawn.
void MarkLoadChart(Form1& form, const DrawnChart& drawn);

} // namespace veldrune
