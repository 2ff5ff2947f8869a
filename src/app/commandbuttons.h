#pragma once

#include <QString>

namespace veldrune {

class Form1;
class Veldrune;

// The program's version, the project's: 1.2.4 is shown as "Version 1.24".
inline constexpr int VersionMajor = VELDRUNE_VERSION_MAJOR;
inline constexpr int VersionMinor = VELDRUNE_VERSION_MINOR;
inline constexpr int VersionRevision = VELDRUNE_VERSION_PATCH;

// The about box's text: the version, a carriage return alone, the maker line.
QString AboutText();

// A click on one of the four command buttons at the window's right edge: UPDATE CALCULATION
// (0), PRINT OUT (1), ABOUT VELDRUNE (2) and LOAD CALCULATION (3), each followed by
// ButtonEpilogue, which also ends an action that fails.
void Command1Click(int Index, Veldrune& program);

// The closing steps of every button action: the first three buttons shown and the normal
// pointer back.
void ButtonEpilogue(Form1& form);

} // namespace veldrune
