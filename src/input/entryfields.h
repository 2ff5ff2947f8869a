#pragma once

namespace veldrune {

class Form1;

// A click on either fastening option: the bolt fields or the revolutions field take input,
// the others are switched off and greyed. Texts stay as they are.
void FasteningModeClick(Form1& form);

} // namespace veldrune
