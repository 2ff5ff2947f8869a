#include "catalogue/toollists.h"

#include "app/form1.h"
#include "calc/calc.h"
#include "catalogue/angleheads.h"
#include "catalogue/catalogue.h"
#include "catalogue/ratings.h"

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

void nutrunnerLayout(Form1& form, const Catalogue& catalogue, const ModeCaptions& captions) {
    form.TQUNIT.clear();
    form.TQUNIT.addItem(UnitNames[0]);
    if (!catalogue.NmOnly) {
        for (int u = 1; u < UnitCount; ++u)
            form.TQUNIT.addItem(UnitNames[u]);
    }
    form.TQUNIT.setListIndex(0);

    for (int u = 0; u < UnitCount; ++u)
        form.Label5(u).setText(UnitNames[u]);
    for (int u = 1; u < UnitCount; ++u) {
        form.Label4(u).setVisible(!catalogue.NmOnly);
        form.Label5(u).setVisible(!catalogue.NmOnly);
    }

    form.Frame2.setVisible(true);
    for (Control* c :
         {&form.Frame3, &form.Line3, &form.Line4, &form.Line5, &form.Label22, &form.Text4(11)})
        c->setVisible(false);
    form.Label10(4).setText(captions[12]);
    form.Label10(5).setText(captions[13]);
    form.Label10(7).setText(captions[14]);
    form.Label11(2).setText(captions[15]);
    form.Label11(3).setText(captions[15]);
}

// The layout for presses: force units instead of torque units, press length and recovery
// time instead of the bolt data, and a return stroke. Nothing switches it on at present.
void pressLayout(Form1& form, const Catalogue& catalogue, const ModeCaptions& captions) {
    const QString units[] = {QStringLiteral("KN"), QStringLiteral("KLBS"), QStringLiteral("TON")};
    form.TQUNIT.clear();
    form.TQUNIT.addItem(units[0]);
    if (!catalogue.NmOnly) {
        form.TQUNIT.addItem(units[1]);
        form.TQUNIT.addItem(units[2]);
    }
    form.TQUNIT.setListIndex(0);

    for (int u = 0; u < 3; ++u)
        form.Label5(u).setText(units[u]);
    for (int u = 1; u < 3; ++u) {
        form.Label4(u).setVisible(!catalogue.NmOnly);
        form.Label5(u).setVisible(!catalogue.NmOnly);
    }
    for (int u = 3; u < UnitCount; ++u) {
        form.Label4(u).setVisible(false);
        form.Label5(u).setVisible(false);
    }

    form.Frame2.setVisible(false);
    for (Control* c :
         {&form.Frame3, &form.Line3, &form.Line4, &form.Line5, &form.Label22, &form.Text4(11)})
        c->setVisible(true);
    form.Label10(4).setText(captions[8]);
    form.Label10(5).setText(captions[9]);
    form.Label10(7).setText(captions[10]);
    form.Label11(2).setText(captions[16]);
    form.Label11(3).setText(captions[16]);
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

void SystemClick(Form1& form, Catalogue& catalogue, const ModeCaptions& captions,
                 const ProgramFlags& flags) {
    const QString system = form.SYSTEM.text();
    for (const SystemLayout& layout : Systems) {
        if (layout.name == system) {
            form.Command1(3).setEnabled(layout.loadCalculation);
            form.TOOLLIST.setWidth(layout.toolListWidth);
            form.ANGLE.setVisible(layout.angleHeads);
        }
    }
    FillToolLists(form, catalogue, captions, flags);
}

void FillToolLists(Form1& form, Catalogue& catalogue, const ModeCaptions& captions,
                   const ProgramFlags& flags) {
    form.TOOLLIST.clear();
    form.TOOLLIST.addItem(ToolPrompt);
    const QString system = form.SYSTEM.text();
    for (int i = 1; i <= ListedTools && !catalogue.Tools.isEnd(i); ++i) {
        const QString& model = catalogue.Tools[i].Model;
        if (OffersTool(system, model))
            form.TOOLLIST.addItem(model);
    }

    if (form.File1.entries().contains(NmOnlyMarker))
        catalogue.NmOnly = true;

    // The ratings of the tool picked before stay on display.
    form.TOOLLIST.setListIndex(0);

    if (flags.PressMode)
        pressLayout(form, catalogue, captions);
    else
        nutrunnerLayout(form, catalogue, captions);
}

void ToolListClick(Form1& form, Catalogue& catalogue, const ProgramFlags& flags,
                   Platform& platform) {
    const QString picked = form.TOOLLIST.text();
    if (picked == form.TOOLLIST.entry(0))
        return;
    std::int16_t tool = 0;
    for (int i = 1; i <= ListedTools && tool == 0; ++i) {
        if (catalogue.Tools[i].Model == picked)
            tool = std::int16_t(i);
    }
    if (tool == 0)
        return;
    catalogue.SelectedTool = tool;
    ANGLEHEAD(form, catalogue, tool);
    ShowToolRatings(form, catalogue);
    CALC(form, 0, platform);
    if (flags.PressMode)
        form.Text6.setFocus();
    else
        (form.Text1.enabled() ? form.Text1 : form.Text3).setFocus();
}

} // namespace veldrune
