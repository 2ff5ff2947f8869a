#pragma once

#include <QString>

#include <cstdint>

namespace veldrune {

class Form1;
class ToolTable;
struct ToolSelection;

// Shows the selected tool's speed range and maximum torques, with the angle head's gear ratio
// and capped ratings when a head is in use, and writes the default speeds into the entry
// fields. Does nothing before a tool has been picked.
void ShowToolRatings(Form1& form, const ToolTable& tools, ToolSelection& selection);

// A scaled catalogue torque as text, right-aligned in six characters; five blanks for a
// torque too large for its field. Decimals outside 0..4 leave `text` as it was, aligned.
void FormatScaled(std::int16_t value, std::int16_t decimals, QString& text);

// The torque a head gives: ratio x the text's number x the head factor, with the unit's
// decimals; empty for decimals outside 0..4.
QString FormatHeadTorque(const QString& text, float ratio, std::int16_t decimals);

} // namespace veldrune
