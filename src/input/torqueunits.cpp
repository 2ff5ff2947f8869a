#include "input/torqueunits.h"

#include "app/form1.h"
#include "calc/numberformat.h"
#include "calc/textvalue.h"
#include "catalogue/catalogue.h"
#include "input/entryfields.h"

namespace veldrune {

void UnitReaction(Form1& form, const Catalogue& catalogue, Platform& platform) {
    int u = -1;
    for (int i = 0; i < UnitCount && u < 0; ++i) {
        if (form.TQUNIT.entry(i) == form.TQUNIT.text())
            u = i;
    }
    if (NoToolChosen(form))
        return;
    const int decimals = u >= 0 ? catalogue.Tools[catalogue.SelectedTool].TorqueDecimals[u] : 0;
    if (decimals >= 0 && decimals <= 3)
        form.Text4(9).setText(FormatFixed(TextValue(form.Text4(9).text()), decimals));
    EnterInText4(form, 9, platform);
}

void LimitCheck(Form1& form) {
    for (int k = 0; k < UnitCount; ++k) {
        if (form.TQUNIT.text() != UnitNames[k])
            continue;
        const Control& maximum = form.Label4(k);
        if (TextValue(maximum.text()) < TextValue(form.Text4(9).text()))
            form.Text4(9).setText(maximum.text());
        return;
    }
}

} // namespace veldrune
