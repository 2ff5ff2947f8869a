#include "support/invariants.h"

#include "app/veldrune.h"
#include "input/entryfields.h"

namespace veldrune::test {

bool ShowsNonFinite(const QString& text) {
    return text.contains(u"inf", Qt::CaseInsensitive) || text.contains(u"nan", Qt::CaseInsensitive);
}

QString BrokenInvariant(Veldrune& program) {
    Form1& f = program.form();
    const bool tall = program.flags().LoadSectionShown;
    if (f.height() != (tall ? TallHeight : CompactHeight))
        return QStringLiteral("the height %1 does not match the layout").arg(f.height());

    // The numbers the program writes, and the fields it rewrites as numbers when the user
    // leaves them (a field keeps what is typed into it until then). Formatting an infinity
    // or a NaN gives an empty text, so once a tool is chosen the total and the phase fields,
    // which then always hold a number, must not be empty either. (Without a tool a speed
    // beyond the range takes the range's caption, which is empty.) The bolt fields keep a
    // word as it was typed, and so does the fastening torque before a tool is chosen.
    std::vector<const Control*> always{&f.TOTAL};
    for (int i = 0; i <= 7; ++i)
        always.push_back(&f.Text4(i));
    for (const Control* c : always) {
        if (!NoToolChosen(f) && !c->hasFocus() && c->text().trimmed().isEmpty())
            return c->displayName() + QStringLiteral(" shows no number");
    }
    std::vector<const Control*> numbers{&f.Label17, &f.TOTAL, &f.Text4(8), &f.Text4(10)};
    for (int i = 0; i < 2; ++i) {
        numbers.push_back(&f.Label3(i));
        numbers.push_back(&f.Label12(i));
    }
    for (int i = 0; i < 5; ++i)
        numbers.push_back(&f.Label4(i));
    numbers.insert(numbers.end(), always.begin(), always.end());
    for (const Control* c : numbers) {
        if (!c->hasFocus() && ShowsNonFinite(c->text()))
            return c->displayName() + QStringLiteral(" shows ") + c->text().left(60);
    }

    const int selected = program.selection().SelectedTool;
    if (selected < 0 || selected > program.catalogue().Tools.toolCount())
        return QStringLiteral("the selected tool %1 is not in the catalogue").arg(selected);
    return {};
}

} // namespace veldrune::test
