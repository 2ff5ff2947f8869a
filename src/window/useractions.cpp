#include "window/useractions.h"

#include "window/form1.h"

#include <algorithm>

namespace veldrune {

void TypeAndLeave(Form1& form, Control& field, const QString& text) {
    form.moveFocus(field);
    if (Control* typedInto = form.focused(); typedInto && typedInto->kind() == ControlKind::Entry)
        form.typeText(*typedInto, text);
    form.moveFocus(form.Text5);
}

bool PickEntry(WindowModel& window, Control& list, const QString& text, int first) {
    const QString wanted = text.trimmed();
    for (int i = first; i < list.listCount(); ++i) {
        if (list.entry(i).trimmed() == wanted) {
            window.pick(list, i);
            return true;
        }
    }
    return false;
}

bool PressButton(WindowModel& window, Control& button) {
    if (!button.shown() || !button.enabled())
        return false;
    window.moveFocus(button);
    window.click(button);
    return true;
}

void PressEnter(WindowModel& window, Control& field) {
    window.moveFocus(field);
    if (Control* target = window.focused())
        window.keyPress(*target, Key::Enter);
}

QString TypeKeys(WindowModel& window, Control& field, const QString& keys) {
    window.moveFocus(field);
    QString accepted;
    for (const QChar key : keys) {
        // Keys go where the focus is, which a reaction may have sent elsewhere.
        Control* target = window.focused();
        if (!target || target->kind() != ControlKind::Entry)
            break;
        if (!window.keyPress(*target, key.unicode()))
            continue;
        accepted += key;
        QString text = target->text();
        const int start = std::min(target->selectionStart(), int(text.size()));
        const int length = std::min(target->selectionLength(), int(text.size()) - start);
        text.replace(start, length, key);
        window.typeText(*target, text);
        target->select(start + 1, 0);
    }
    return accepted;
}

} // namespace veldrune
