#include "input/entryfields.h"

#include "calc/calc.h"
#include "input/torqueunits.h"
#include "numbers/numberformat.h"
#include "numbers/textvalue.h"
#include "window/form1.h"

#include <cmath>

namespace veldrune {

namespace {

void gotFocus(Control& field) {
    field.setAlignment(Alignment::Left);
    field.select(0, int(field.text().size()));
}

// The bolt fields format their own text: a number is rewritten with two decimals, anything
// else (an empty field, a word) stays as it is.
void formatOwnText(Control& field) {
    if (const auto number = StrictNumber(field.text()))
        field.setText(FormatFixed(*number, 2));
}

// Revolutions of the fastening from bolt length and pitch. A quotient too large for a
// number leaves the revolutions as they were.
void revolutionsFromBolt(Form1& form) {
    const double revolutions = TextValue(form.Text1.text()) / TextValue(form.Text2.text());
    if (std::isfinite(revolutions))
        form.Text3.setText(FormatFixed(revolutions, 2));
}

void boltLostFocus(Form1& form, Control& field, Platform& platform) {
    if (&field == &form.Text1 && TextValue(form.Text2.text()) != 0)
        revolutionsFromBolt(form);
    if (&field == &form.Text2 && TextValue(form.Text1.text()) != 0 &&
        TextValue(form.Text2.text()) != 0)
        revolutionsFromBolt(form);
    formatOwnText(field);
    CALC(form, 0, platform);
    field.setAlignment(Alignment::Right);
}

bool boltKeyPress(Form1& form, Control& field, int key) {
    if (key != Key::Enter)
        return true;
    (&field == &form.Text1 ? form.Text2 : form.Text4(0)).setFocus();
    return false;
}

bool text4KeyPress(Form1& form, int i, int key, Platform& platform) {
    if (NoToolChosen(form)) {
        form.TOOLLIST.setFocus();
        return false;
    }
    if (key != Key::Enter)
        return true;
    EnterInText4(form, i, platform);
    return false;
}

void text4LostFocus(Form1& form, int i, const ToolTable& tools, const ToolSelection& selection,
                    Platform& platform) {
    Control& field = form.Text4(i);
    switch (i) {
    case 0:
    case 2:
    case 4:
    case 7:
    case 8:
    case 10:
        field.setText(FormatFixed(TextValue(field.text()), 2));
        break;
    case 1:
    case 3:
    case 5:
    case 6:
        field.setText(FormatFixed(TextValue(field.text()), 0));
        break;
    case 9:
        UnitReaction(form, tools, selection, platform);
        break;
    default:
        break;
    }
    CALC(form, std::int16_t(i), platform);
    field.setAlignment(Alignment::Right);
}

} // namespace

void FasteningModeClick(Form1& form) {
    const bool boltLength = form.Option1(0).value();
    for (Control* bolt : {&form.Text1, &form.Text2}) {
        bolt->setEnabled(boltLength);
        bolt->setBackColour(boltLength ? FieldColour : GreyColour);
    }
    form.Text3.setEnabled(!boltLength);
    form.Text3.setBackColour(boltLength ? GreyColour : FieldColour);
}

bool NoToolChosen(const Form1& form) {
    return form.TOOLLIST.text() == form.TOOLLIST.entry(0);
}

void EnterInText4(Form1& form, int i, Platform& platform) {
    if (i == 9)
        LimitCheck(form);
    CALC(form, std::int16_t(i), platform);
    const int last = form.Text4(8).visible() ? 10 : 7;
    (i < last ? form.Text4(i + 1) : form.TOOLLIST).setFocus();
}

void AttachEntryFields(Form1& form, const ToolTable& tools, const ToolSelection& selection,
                       Platform& platform) {
    for (int i = 0; i < 2; ++i)
        form.Option1(i).onClick = [&form] { FasteningModeClick(form); };
    for (Control* field : {&form.Text1, &form.Text2, &form.Text3}) {
        field->onGotFocus = [field] { gotFocus(*field); };
        field->onKeyPress = [&form, field](int key) { return boltKeyPress(form, *field, key); };
        if (field == &form.Text3) {
            field->onLostFocus = [&form, &platform] {
                formatOwnText(form.Text3);
                CALC(form, 0, platform);
                form.Text3.setAlignment(Alignment::Right);
            };
        } else {
            field->onLostFocus = [&form, field, &platform] {
                boltLostFocus(form, *field, platform);
            };
        }
    }
    for (int i = 0; i < 12; ++i) {
        Control& field = form.Text4(i);
        field.onGotFocus = [&field] { gotFocus(field); };
        field.onKeyPress = [&form, i, &platform](int key) {
            return text4KeyPress(form, i, key, platform);
        };
        field.onLostFocus = [&form, i, &tools, &selection, &platform] {
            text4LostFocus(form, i, tools, selection, platform);
        };
    }
}

} // namespace veldrune
