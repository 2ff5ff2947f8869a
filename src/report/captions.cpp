#include "report/captions.h"

namespace veldrune {

void StoreDefaultModeCaptions(ModeCaptions& captions) {
    const char* defaults[] = {"PRESS TIME",   "PRESS LENGTH",    "PRESS SPEED",
                              "RETURN SPEED", "TIGHTENING TIME", "TIGHTENING ANGLE",
                              "TORQUE SPEED", "REVOLUTIONS",     "DISTANCE"};
    for (int i = 0; i < 9; ++i)
        captions[8 + i] = QString::fromLatin1(defaults[i]);
}

void LoadCaptionText(Form1& /*form*/, ModeCaptions& captions, const ProgramFlags& /*flags*/,
                     Platform& /*platform*/) {
    StoreDefaultModeCaptions(captions);
}

} // namespace veldrune
