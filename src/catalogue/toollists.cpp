#include "catalogue/toollists.h"

#include "catalogue/angleheads.h"
#include "catalogue/ratings.h"
#include "window/form1.h"

#include <array>
#include <vector>

namespace veldrune {

namespace {

// Only the first 150 catalogue entries are ever offered or looked up from the list.
constexpr int ListedTools = 150;

struct SystemLayout {
    const QString& name;
    bool loadCalculation; // LOAD CALCULATION button enabled
    int toolListWidth;    // twips
    bool angleHeads;      // ANGLE list shown
};

const SystemLayout Systems[] = {
    {MVC2400, true, 3075, false},
    {Tarvon, false, 3075, false},
    {MVC4800, true, 2215, true},
};

// What the unit list, the unit names and the phase captions hold for a kind of tool.
struct ListLayout {
    std::vector<QString> units;
    bool press;
    // ModeCaptions entries for Label10(4), Label10(5), Label10(7) and both Label11(2..3).
    std::array<int, 4> captions;
};

const ListLayout Nutrunners{{UnitNames.begin(), UnitNames.end()}, false, {12, 13, 14, 15}};
// Presses: force units, press length and recovery time instead of the bolt data, and a return
// stroke. Nothing switches this layout on at present.
const ListLayout Presses{
    {QStringLiteral("KN"), QStringLiteral("KLBS"), QStringLiteral("TON")}, true, {8, 9, 10, 16}};

void applyLayout(Form1& form, const ToolSelection& selection, const ModeCaptions& captions,
                 const ListLayout& layout) {
    const int units = int(layout.units.size());
    form.TQUNIT.clear();
    for (int u = 0; u < (selection.NmOnly ? 1 : units); ++u)
        form.TQUNIT.addItem(layout.units[u]);
    form.TQUNIT.setListIndex(0);

    for (int u = 0; u < units; ++u)
        form.Label5(u).setText(layout.units[u]);
    for (int u = 1; u < UnitCount; ++u) {
        const bool offered = u < units && !selection.NmOnly;
        form.Label4(u).setVisible(offered);
        form.Label5(u).setVisible(offered);
    }

    form.Frame2.setVisible(!layout.press);
    for (Control* c :
         {&form.Frame3, &form.Line3, &form.Line4, &form.Line5, &form.Label22, &form.Text4(11)})
        c->setVisible(layout.press);
    form.Label10(4).setText(captions[layout.captions[0]]);
    form.Label10(5).setText(captions[layout.captions[1]]);
    form.Label10(7).setText(captions[layout.captions[2]]);
    form.Label11(2).setText(captions[layout.captions[3]]);
    form.Label11(3).setText(captions[layout.captions[3]]);
}

} // namespace

bool OffersTool(const QString& system, const QString& model) {
    if (model.startsWith(u"PZS") && system == MVC2400)
        return true;
    if (model.startsWith(u"GQY") && system == Tarvon)
        return true;
    if (system != MVC4800)
        return false;
    return model.startsWith(u"KRV") || model.left(12) == u"PZS-520QM4-S" ||
           model.left(12) == u"PZS-820QM4-S";
}

void SystemClick(Form1& form, const ToolTable& tools, ToolSelection& selection,
                 const ModeCaptions& captions, const ProgramFlags& flags) {
    const QString system = form.SYSTEM.text();
    for (const SystemLayout& layout : Systems) {
        if (layout.name == system) {
            form.Command1(3).setEnabled(layout.loadCalculation);
            form.TOOLLIST.setWidth(layout.toolListWidth);
            form.ANGLE.setVisible(layout.angleHeads);
        }
    }
    FillToolLists(form, tools, selection, captions, flags);
}

void FillToolLists(Form1& form, const ToolTable& tools, ToolSelection& selection,
                   const ModeCaptions& captions, const ProgramFlags& flags) {
    form.TOOLLIST.clear();
    form.TOOLLIST.addItem(ToolPrompt);
    const QString system = form.SYSTEM.text();
    for (int i = 1; i <= ListedTools && !tools.isEnd(i); ++i) {
        const QString& model = tools[i].Model;
        if (OffersTool(system, model))
            form.TOOLLIST.addItem(model);
    }

    if (form.File1.entries().contains(NmOnlyMarker))
        selection.NmOnly = true;

    // The ratings of the tool picked before stay on display.
    form.TOOLLIST.setListIndex(0);

    applyLayout(form, selection, captions, flags.PressMode ? Presses : Nutrunners);
}

void ToolListClick(Form1& form, const ToolTable& tools, ToolSelection& selection,
                   const ProgramFlags& flags, const Recalculate& recalculate) {
    const QString picked = form.TOOLLIST.text();
    if (picked == form.TOOLLIST.entry(0))
        return;
    std::int16_t tool = 0;
    for (int i = 1; i <= ListedTools && tool == 0; ++i) {
        if (tools[i].Model == picked)
            tool = std::int16_t(i);
    }
    if (tool == 0)
        return;
    selection.SelectedTool = tool;
    ANGLEHEAD(form, tools, tool);
    ShowToolRatings(form, tools, selection);
    recalculate();
    if (flags.PressMode)
        form.Text6.setFocus();
    else
        (form.Text1.enabled() ? form.Text1 : form.Text3).setFocus();
}

} // namespace veldrune
