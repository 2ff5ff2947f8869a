#pragma once

namespace veldrune {

class Form1;
class Platform;
class ToolTable;
struct ToolSelection;

// A click on either fastening option: the bolt fields or the revolutions field take input,
// the others are switched off and greyed. Texts stay as they are.
void FasteningModeClick(Form1& form);

// Attaches the focus, key and option reactions of the numeric entry fields: the bolt data
// (Text1..Text3) and the Text4 phase and duty-cycle fields.
void AttachEntryFields(Form1& form, const ToolTable& tools, const ToolSelection& selection,
                       Platform& platform);

// Whether the tool list still shows its prompt: no tool has been picked for this system.
bool NoToolChosen(const Form1& form);

// Enter in the Text4 field with index i once a tool is chosen, also run by the torque unit:
// checks the torque limit for FASTENING TORQUE, recalculates and moves on to the next field.
void EnterInText4(Form1& form, int i, Platform& platform);

} // namespace veldrune
