#include "input/torqueunits.h"

#include "catalogue/catalogue.h"
#include "input/entryfields.h"
#include "numbers/numberformat.h"
#include "numbers/textvalue.h"
#include "window/form1.h"

namespace veldrune {

namespace {

// The torque's text with the tool's decimals for the current unit.
QString withToolDecimals(const Form1& form, const ToolTable& tools, const ToolSelection& selection,
                         const QString& torque) {
    int u = -1;
    for (int i = 0; i < UnitCount && u < 0; ++i) {
        if (form.TQUNIT.entry(i) == form.TQUNIT.text())
            u = i;
    }
    const int decimals = u >= 0 ? tools[selection.SelectedTool].TorqueDecimals[u] : 0;
    return decimals >= 0 && decimals <= 3 ? FormatFixed(TextValue(torque), decimals) : torque;
}

// The tool's maximum in the current unit as shown; none where the unit has no maximum or it
// is shown blank (too large for the catalogue's field).
const Control* shownMaximum(const Form1& form) {
    for (int k = 0; k < UnitCount; ++k) {
        if (form.TQUNIT.text() == UnitNames[k])
            return form.Label4(k).text().trimmed().isEmpty() ? nullptr : &form.Label4(k);
    }
    return nullptr;
}

} // namespace

void UnitReaction(Form1& form, const ToolTable& tools, const ToolSelection& selection,
                  Platform& platform) {
    if (NoToolChosen(form))
        return;
    form.Text4(9).setText(withToolDecimals(form, tools, selection, form.Text4(9).text()));
    EnterInText4(form, 9, platform);
}

void LimitCheck(Form1& form) {
    const Control* maximum = shownMaximum(form);
    if (maximum && TextValue(maximum->text()) < TextValue(form.Text4(9).text()))
        form.Text4(9).setText(maximum->text());
}

bool TorqueAboveMaximum(const Form1& form, const ToolTable& tools, const ToolSelection& selection,
                        const QString& typed) {
    const Control* maximum = shownMaximum(form);
    return maximum && !NoToolChosen(form) &&
           TextValue(maximum->text()) < TextValue(withToolDecimals(form, tools, selection, typed));
}

} // namespace veldrune
