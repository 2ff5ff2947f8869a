#include "input/torqueunits.h"

#include "catalogue/catalogue.h"
#include "input/entryfields.h"
#include "numbers/numberformat.h"
#include "numbers/textvalue.h"
#include "window/form1.h"

namespace veldrune {

void UnitReaction(Form1& form, const ToolTable& tools, const ToolSelection& selection,
                  Platform& platform) {
    int u = -1;
    for (int i = 0; i < UnitCount && u < 0; ++i) {
        if (form.TQUNIT.entry(i) == form.TQUNIT.text())
            u = i;
    }
    if (NoToolChosen(form))
        return;
    const int decimals = u >= 0 ? tools[selection.SelectedTool].TorqueDecimals[u] : 0;
    if (decimals >= 0 && decimals <= 3)
        form.Text4(9).setText(FormatFixed(TextValue(form.Text4(9).text()), decimals));
    EnterInText4(form, 9, platform);
}

void LimitCheck(Form1& form) {
    for (int k = 0; k < UnitCount; ++k) {
        if (form.TQUNIT.text() != UnitNames[k])
            continue;
        const Control& maximum = form.Label4(k);
        if (maximum.text().trimmed().isEmpty())
            return;
        if (TextValue(maximum.text()) < TextValue(form.Text4(9).text()))
            form.Text4(9).setText(maximum.text());
        return;
    }
}

} // namespace veldrune
