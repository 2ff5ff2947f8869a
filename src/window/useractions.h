#pragma once

#include <QString>

namespace veldrune {

class Control;
class Form1;
class WindowModel;

// What a person does at the window, in the model's events. The batch calculator, station
// files and the tests all act through these, so the window is driven one way only.

// The focus comes to the field, its text is replaced by `text` (typing runs no reaction) and
// the focus goes on to DESCRIPTION, which has no reactions: the field's focus-lost reaction
// runs exactly once, and the control that had the focus before runs its own. Where that
// control sends the focus elsewhere itself (FASTENING TORQUE sends it on to TORQUE RECOVERY
// TIME), the text goes where the focus went, as a person's keys would, if that is a field.
void TypeAndLeave(Form1& form, Control& field, const QString& text);

// Makes the first entry from `first` on whose text equals `text`, surrounding blanks not
// counting, the list's current entry, which runs the list's reaction even when that entry
// was current already. False, and nothing happens, when no entry matches.
bool PickEntry(WindowModel& window, Control& list, const QString& text, int first = 0);

// A button's key pressed: as a mouse click on the button does, the focus comes to it (the
// control left runs its focus-lost reaction), then it is clicked. False, and nothing happens,
// for a button that is hidden or switched off.
bool PressButton(WindowModel& window, Control& button);

// The focus comes to the field, then Enter is pressed. Like every key it goes to the control
// that has the focus, which is another one when the field that had it sent it back.
void PressEnter(WindowModel& window, Control& field);

// The focus comes to the field, then each character is typed as a key into the field that
// has the focus (a reaction may send it elsewhere; typing stops at a control that takes no
// text): a key the key reaction lets through replaces the selection or goes in at the caret,
// as in a real field (so the first key replaces the text that gaining the focus selected).
// Returns the keys let through.
QString TypeKeys(WindowModel& window, Control& field, const QString& keys);

} // namespace veldrune
