#pragma once

#include "calc/loadchart.h"
#include "catalogue/catalogue.h"
#include "report/languagefont.h"
#include "report/printreport.h"
#include "window/form1.h"
#include "window/form2.h"
#include "window/programstate.h"

#include <optional>

namespace veldrune {

class Platform;

// The texts the phase fields Text4(0) to Text4(7) show after start-up, before anyone types.
inline constexpr const char* PhaseStartUpTexts[] = {"1.0", "0",    "0", "0",
                                                    "0.5", "90.0", "0", "0.25"};

// The program: its main window and every program-wide table and flag, created once and
// living until the end. The real window and the batch calculator each make one.
//
// Data flow: an event enters the window model (Form1) from the real window, a test or the
// batch calculator; the model runs the reaction attached here, which belongs to its
// subsystem (catalogue/, input/, calc/); the reaction reads its inputs from control texts
// and this object's tables and writes its results back into control texts, which the real
// window shows. Each subsystem sees only the layers below it; where a lower one must start
// a higher one's work (a tool pick recalculates the cycle), this object hands it the call.
class Veldrune {
public:
    explicit Veldrune(Platform& platform);
    Veldrune(const Veldrune&) = delete;
    Veldrune& operator=(const Veldrune&) = delete;

    // Everything that happens while the main window loads, before it is first shown.
    void startUp(const QString& commandLine);
    // Reads the tool catalogue from this file instead of the TOOLINFO.LST it finds.
    void setCatalogueFile(const QString& path) { m_catalogueFile = path; }
    // Starts as the running program started, from what it read then (its tools, its caption
    // text, its working folder's files, its command line), reading nothing again.
    void startLike(const Veldrune& running);
    // Takes over the window and the tables of another program started like this one: what
    // its window shows, this one shows, without running a reaction.
    void takeOver(const Veldrune& other);

    Form1& form() { return m_form; }
    // The preview window, loaded on first use.
    Form2& form2() { return m_form2; }
    Form2& loadedForm2();
    const Catalogue& catalogue() const { return m_catalogue; }
    ToolSelection& selection() { return m_selection; }
    ModeCaptions& modeCaptions() { return m_modeCaptions; }
    ProgramFlags& flags() { return m_flags; }
    Platform& platform() { return m_platform; }
    LanguageFont& languageFont() { return m_languageFont; }
    // What the chart in Picture2 was last drawn for: the window marks it out of date once its
    // inputs differ.
    DrawnChart& chart() { return m_chart; }

    // What the report reads besides the window, for the printer (false) or the preview.
    ReportContext reportContext(bool printTest);
    // PRINT TEST: the report at half size in the preview window, which opens.
    void printTest();

private:
    void attachReactions();

    Platform& m_platform;
    Form1 m_form;
    Form2 m_form2;
    Catalogue m_catalogue;
    ToolSelection m_selection;
    ModeCaptions m_modeCaptions;
    ProgramFlags m_flags;
    LanguageFont m_languageFont;
    DrawnChart m_chart;
    QString m_catalogueFile;
    std::optional<ToolTable> m_givenTools;
    QString m_commandLine;
    std::optional<QString> m_captionText; // as read at start-up
    bool m_startedLike = false;
};

} // namespace veldrune
