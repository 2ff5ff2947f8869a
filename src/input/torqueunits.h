#pragma once

#include <QString>

namespace veldrune {

class Form1;
class Platform;
class ToolTable;
struct ToolSelection;

// A new current entry in TQUNIT, or FASTENING TORQUE being left: once a tool is chosen, the
// torque is rewritten with the tool's decimals for the unit (the number itself is kept, now
// read in the new unit) and then confirmed as by Enter.
void UnitReaction(Form1& form, const ToolTable& tools, const ToolSelection& selection,
                  Platform& platform);

// Cuts FASTENING TORQUE down to the tool's maximum in the current unit, copying the
// maximum's text as displayed. A maximum shown blank (too large for the catalogue's field)
// sets no limit.
void LimitCheck(Form1& form);

// Whether a torque typed into FASTENING TORQUE is more than LimitCheck lets stand: the text
// as the field then shows it, with the chosen tool's decimals for the current unit, against
// the maximum shown ("8.784" shows as 8.78 and is not above a maximum of 8.78).
bool TorqueAboveMaximum(const Form1& form, const ToolTable& tools, const ToolSelection& selection,
                        const QString& typed);

} // namespace veldrune
