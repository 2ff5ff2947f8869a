#pragma once

#include "window/programstate.h"

namespace veldrune {

struct Catalogue;
class Form1;
class Platform;

// A click on one of the four command buttons at the window's right edge: UPDATE CALCULATION
// (0), PRINT OUT (1), ABOUT VELDRUNE (2) and LOAD CALCULATION (3), each followed by
// ButtonEpilogue, which also ends an action that fails.
void Command1Click(int Index, Form1& form, const Catalogue& catalogue, ProgramFlags& flags,
                   Platform& platform);

// The closing steps of every button action: the first three buttons shown and the normal
// pointer back.
void ButtonEpilogue(Form1& form);

} // namespace veldrune
