#pragma once

namespace veldrune {

class Form2;
class Platform;
struct LanguageFont;
struct ReportContext;

// The printer's font size, which the preview's canvas starts with.
inline constexpr double PrinterFontSize = 10;

// Loads the preview window: its canvas the size of the printer's page, on which the report
// is drawn at half size; the window half that size, so that it frames the half-size page;
// the language font, Arial where the font system lacks its face.
void LoadPreview(Form2& form2, Platform& platform, LanguageFont& languageFont);

// Clears the preview's canvas and draws the report on it at half size.
void DrawPreview(Form2& form2, const ReportContext& context);

} // namespace veldrune
