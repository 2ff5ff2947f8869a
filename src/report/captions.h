#pragma once

#include "window/programstate.h"

#include <QString>

#include <functional>
#include <optional>

namespace veldrune {

class Form1;
class Platform;

inline const QString CaptionFileName = QStringLiteral("VELDRUNE.TXT");

// The wording of the mode captions when no caption file supplies it.
void StoreDefaultModeCaptions(ModeCaptions& captions);

// What reading the caption text came to: the records applied, and whether a key beyond 16
// bits stopped it early.
struct CaptionReading {
    int applied = 0;
    bool stopped = false;
};

// Applies a caption text: records of a key, a tab and a text, one to a line or separated by
// commas, a quoted record keeping its commas; empty records and those starting with an
// apostrophe are comments. Each key sets a caption of the window or an entry of the mode
// captions; key 0 asks for the language font, through `languageFont`. A key beyond 16 bits
// stops the reading there, keeping what earlier records set.
CaptionReading ApplyCaptionText(const QString& text, Form1& form, ModeCaptions& captions,
                                const std::function<void()>& languageFont);

// The text of VELDRUNE.TXT, beside the program or in the data folder; nothing when /E asked
// to skip it or it cannot be read.
std::optional<QString> ReadCaptionText(const ProgramFlags& flags, Platform& platform);

// Applies a caption text that was read: without one, or when its reading stops early, the
// default mode captions are stored; a text read to its end sets only what it says.
void ApplyCaptionFile(Form1& form, ModeCaptions& captions, const std::optional<QString>& text,
                      const std::function<void()>& languageFont);

// Sets the window's wording from VELDRUNE.TXT (beside the program, else in its data folder),
// unless /E asked to skip it. Without the file, or when its reading stops early, the default
// mode captions are stored; a file read to its end sets only what it says.
void LoadCaptionText(Form1& form, ModeCaptions& captions, const ProgramFlags& flags,
                     Platform& platform, const std::function<void()>& languageFont);

} // namespace veldrune
