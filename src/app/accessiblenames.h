#pragma once

#include <QString>

namespace veldrune {

class Control;
class Form1;

// What assistive technology calls a control of the main window, from what the window shows
// now, so that the names follow a caption file's wording: an entry field or a list the
// caption beside it ("INITIAL TIME", "TOOL TYPE"), a result the caption and what it shows
// ("ESTIMATED TOTAL TIME 2.97"), a picture button its tooltip, the chart the caption of its
// section; any other control its own text.
QString AccessibleName(const Form1& form, const Control& control);

// The control whose caption names an entry field, a list or the chart; nothing for others.
const Control* CaptionOf(const Form1& form, const Control& control);

} // namespace veldrune
