#pragma once

#include "window/programstate.h"

namespace veldrune {

class Form1;
class Platform;

// The wording of the mode captions when no caption file supplies it.
void StoreDefaultModeCaptions(ModeCaptions& captions);

// Sets the window's wording and the mode captions. The caption file is not read yet; the
// built-in wording and the default mode captions are used.
void LoadCaptionText(Form1& form, ModeCaptions& captions, const ProgramFlags& flags,
                     Platform& platform);

} // namespace veldrune
