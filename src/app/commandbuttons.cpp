#include "app/commandbuttons.h"

#include "app/startup.h"
#include "calc/loadchart.h"
#include "platform/platform.h"
#include "window/form1.h"

namespace veldrune {

namespace {

// Switches between the short and the tall layout, deciding by the height alone.
void LoadCalculation(Form1& form, ProgramFlags& flags, Platform& platform) {
    const bool tall = form.height() == CompactHeight;
    for (Control* c : {&form.Text4(8), &form.Text4(9), &form.Line1, &form.Line2})
        c->setVisible(tall);
    form.setHeight(tall ? TallHeight : CompactHeight);
    flags.LoadSectionShown = tall;
    CentreForm(form, platform.screenSize());
}

} // namespace

void Command1Click(int Index, Form1& form, const Catalogue& catalogue, ProgramFlags& flags,
                   Platform& platform) {
    try {
        switch (Index) {
        case 0:
            if (flags.LoadSectionShown)
                RedrawLoadChart(form, catalogue, platform);
            break;
        case 3:
            LoadCalculation(form, flags, platform);
            break;
        default:
            break;
        }
    } catch (...) {
        // A failing action ends quietly; the epilogue still runs.
    }
    ButtonEpilogue(form);
}

void ButtonEpilogue(Form1& form) {
    for (int i = 0; i < 3; ++i)
        form.Command1(i).setVisible(true);
    form.setPointer(MousePointer::Normal);
}

} // namespace veldrune
