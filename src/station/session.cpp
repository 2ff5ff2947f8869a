#include "station/session.h"

#include "platform/text.h"
#include "window/form1.h"

namespace veldrune {

namespace {

// The controls a session names by the station file's keys.
struct ControlKey {
    const char* key;
    const char* name;
    int index;
};
constexpr ControlKey ControlKeys[] = {
    {"description", "Text5", -1},
    {"bolt_length", "Text1", -1},
    {"bolt_pitch", "Text2", -1},
    {"revolutions", "Text3", -1},
    {"initial_time", "Text4", 0},
    {"initial_speed", "Text4", 1},
    {"freerun_time", "Text4", 2},
    {"freerun_speed", "Text4", 3},
    {"tightening_time", "Text4", 4},
    {"tightening_angle", "Text4", 5},
    {"torque_speed", "Text4", 6},
    {"communication_time", "Text4", 7},
    {"station_cycle_time", "Text4", 8},
    {"fastening_torque", "Text4", 9},
    {"torque_recovery_time", "Text4", 10},
    {"system", "SYSTEM", -1},
    {"tool", "TOOLLIST", -1},
    {"angle_head", "ANGLE", -1},
    {"torque_unit", "TQUNIT", -1},
    {"period_minutes", "DURR", -1},
    {"prevailing_torque", "PREVILING", -1},
    {"bolt_length_option", "Option1", 0},
    {"revolutions_option", "Option1", 1},
    {"update_calculation", "Command1", 0},
    {"print_out", "Command1", 1},
    {"about", "Command1", 2},
    {"load_calculation", "Command1", 3},
};

Control* controlOf(const Form1& form, const QString& key) {
    for (const ControlKey& k : ControlKeys) {
        if (key == QLatin1String(k.key))
            return form.find(QString::fromLatin1(k.name), k.index);
    }
    for (const auto& control : form.controls()) {
        if (control->displayName() == key)
            return control.get();
    }
    return nullptr;
}

bool takes(const Control& control, UserEvent::Kind kind) {
    switch (kind) {
    case UserEvent::Kind::Focus:
        return true;
    case UserEvent::Kind::Type:
    case UserEvent::Kind::Key:
        return control.kind() == ControlKind::Entry;
    case UserEvent::Kind::Click:
        return control.kind() == ControlKind::Button ||
               control.kind() == ControlKind::PictureButton ||
               control.kind() == ControlKind::OptionButton ||
               control.kind() == ControlKind::CheckBox;
    case UserEvent::Kind::Pick:
        return control.kind() == ControlKind::DropDownList;
    }
    return false;
}

} // namespace

std::optional<QString> ReplayStep(Form1& form, const SessionStep& step) {
    Control* control = controlOf(form, step.control);
    if (!control)
        return QStringLiteral("%1 is no control of the window").arg(Excerpt(step.control));
    if (!takes(*control, step.kind))
        return QStringLiteral("%1 takes no such event").arg(step.control);
    if (!control->shown() || !control->enabled())
        return QStringLiteral("%1 is %2")
            .arg(step.control,
                 control->shown() ? QStringLiteral("switched off") : QStringLiteral("hidden"));
    int value = step.value.value_or(0);
    if (step.kind == UserEvent::Kind::Pick) {
        // By the position where one is given (entries may repeat), else the first entry of
        // the text; either way the entry must be the one named.
        if (!step.value) {
            value = -1;
            for (int i = 0; i < control->listCount() && value < 0; ++i) {
                if (control->entry(i).trimmed() == step.text)
                    value = i;
            }
        }
        if (value < 0 || value >= control->listCount() ||
            control->entry(value).trimmed() != step.text)
            return QStringLiteral("%1 holds no entry %2%3")
                .arg(step.control, Excerpt(step.text),
                     step.value ? QStringLiteral(" at position %1").arg(value) : QString());
    }
    form.replay({step.kind, control->id(), value, step.text});
    return std::nullopt;
}

} // namespace veldrune
