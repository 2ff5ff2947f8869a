#include "input/entryfields.h"

#include "app/form1.h"

namespace veldrune {

void FasteningModeClick(Form1& form) {
    const bool boltLength = form.Option1(0).value();
    for (Control* bolt : {&form.Text1, &form.Text2}) {
        bolt->setEnabled(boltLength);
        bolt->setBackColour(boltLength ? FieldColour : GreyColour);
    }
    form.Text3.setEnabled(!boltLength);
    form.Text3.setBackColour(boltLength ? GreyColour : FieldColour);
}

} // namespace veldrune
