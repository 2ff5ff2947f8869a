#include "app/veldrune.h"

#include "app/commandbuttons.h"
#include "app/startup.h"
#include "calc/calc.h"
#include "calc/loadchart.h"
#include "catalogue/angleheads.h"
#include "catalogue/toolinfo.h"
#include "catalogue/toollists.h"
#include "input/entryfields.h"
#include "input/torqueunits.h"
#include "platform/platform.h"
#include "report/captions.h"
#include "report/preview.h"

namespace veldrune {

Veldrune::Veldrune(Platform& platform)
    : m_platform(platform) {
    attachReactions();
}

void Veldrune::attachReactions() {
    Form1& f = m_form;
    const ToolTable& tools = m_catalogue.Tools;
    const Recalculate recalculate = [this] { CALC(m_form, 0, m_platform); };
    f.SYSTEM.onClick = [this, &tools] {
        SystemClick(m_form, tools, m_selection, m_modeCaptions, m_flags);
    };
    f.TOOLLIST.onClick = [this, &tools, recalculate] {
        ToolListClick(m_form, tools, m_selection, m_flags, recalculate);
    };
    f.ANGLE.onClick = [this, &tools, recalculate] {
        AngleClick(m_form, tools, m_selection, recalculate);
    };
    f.TQUNIT.onClick = [this, &tools] { UnitReaction(m_form, tools, m_selection, m_platform); };
    f.DURR.onClick = [this] { RedrawLoadChart(m_form, m_catalogue, m_platform, m_chart); };
    f.afterEvent = [this] { MarkLoadChart(m_form, m_chart); };
    for (int i = 0; i < 4; ++i)
        f.Command1(i).onClick = [this, i] { Command1Click(i, *this); };
    f.PRNTEST.onClick = [this] { printTest(); };
    AttachEntryFields(f, tools, m_selection, m_platform);
}

void Veldrune::startUp(const QString& commandLine) {
    Form1& f = m_form;

    // The file list reads the working folder once, as the window loads; a program started
    // like another has its list.
    if (!m_startedLike) {
        for (const QString& name :
             m_platform.listFiles(m_platform.workingFolder(), f.File1.design().pattern))
            f.File1.addItem(name);
    }

    f.SYSTEM.clear();
    for (const QString& system : {MVC2400, Tarvon, MVC4800})
        f.SYSTEM.addItem(system);
    f.SYSTEM.setListIndex(2);
    f.SYSTEM.setEnabled(true);

    m_flags.PressMode = false;
    if (m_givenTools)
        m_catalogue.Tools = *m_givenTools;
    else
        LoadToolInfo(m_catalogue.Tools, m_platform,
                     m_catalogueFile.isEmpty() ? DataFilePath(m_platform, ToolInfoFileName)
                                               : m_catalogueFile);

    f.Option1(0).setValue(true);

    for (int i = 0; i < int(std::size(PhaseStartUpTexts)); ++i)
        f.Text4(i).setText(QString::fromLatin1(PhaseStartUpTexts[i]));

    f.DURR.clear();
    for (const char* minutes : {"2", "4", "8", "16"})
        f.DURR.addItem(QString::fromLatin1(minutes));
    f.DURR.setListIndex(1);

    ScanCommandLine(commandLine, f, m_flags);
    m_commandLine = commandLine;
    if (!m_startedLike)
        m_captionText = ReadCaptionText(m_flags, m_platform);
    ApplyCaptionFile(f, m_modeCaptions, m_captionText, [this] {
        ApplyLanguageFont(m_form, m_languageFont, m_platform.userLocale());
    });
    FillToolLists(f, m_catalogue.Tools, m_selection, m_modeCaptions, m_flags);
    f.setHeight(CompactHeight);
    InitMotorTable(m_catalogue.Motors);
    CentreForm(f, m_platform.screenSize());

    // The window opens with the focus on the first control of the focus order.
    f.moveFocus(f.TOOLLIST);
}

void Veldrune::startLike(const Veldrune& running) {
    m_givenTools = running.m_catalogue.Tools;
    m_captionText = running.m_captionText;
    m_startedLike = true;
    m_form.File1.clear();
    for (const QString& name : running.m_form.File1.entries())
        m_form.File1.addItem(name);
    startUp(running.m_commandLine);
}

void Veldrune::takeOver(const Veldrune& other) {
    const bool resized = m_form.height() != other.m_form.height();
    m_form.assignState(other.m_form);
    if (resized) // as LOAD CALCULATION does
        CentreForm(m_form, m_platform.screenSize());
    m_selection = other.m_selection;
    m_chart = other.m_chart;
    m_flags.LoadSectionShown = other.m_flags.LoadSectionShown;
    m_flags.PressMode = other.m_flags.PressMode;
}

Form2& Veldrune::loadedForm2() {
    if (!m_form2.loaded())
        LoadPreview(m_form2, m_platform, m_languageFont);
    return m_form2;
}

ReportContext Veldrune::reportContext(bool printTest) {
    // Measuring a text loads the preview window, where FONTDUMMY lives, without showing it.
    auto measure = [this](const FontSpec& font, const QString& text) {
        return loadedForm2().measure(font, text);
    };
    return {m_form, m_flags, printTest, m_catalogue, m_platform, measure, ReportLogo()};
}

void Veldrune::printTest() {
    loadedForm2().setVisible(true);
    DrawPreview(m_form2, reportContext(true));
}

} // namespace veldrune
