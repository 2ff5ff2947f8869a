#pragma once

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

} // namespace veldrune
