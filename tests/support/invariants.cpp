#include "support/invariants.h"

#include "app/veldrune.h"
#include "input/entryfields.h"

namespace veldrune::test {

bool ShowsNonFinite(const QString& text) {
    return text.contains(u"inf", Qt::CaseInsensitive) || text.contains(u"nan", Qt::CaseInsensitive);
}

QString BrokenInvariant(Veldrune& program) {
    Form1& f = program.form();
    if (f.height() != (program.flags().LoadSectionShown ? TallHeight : CompactHeight))
        return QStringLiteral("the height %1 does not match the layout").arg(f.height());

    // The numbers the program writes, and the fields it rewrites as numbers when the user
    // leaves them (a field keeps what is typed into it until then). Formatting an infinity
    // or a NaN gives an empty text, so once a tool is chosen the total and the phase fields
    // (the first nine here), which then always hold a number, must not be empty either.
    // (Without a tool a speed beyond the range takes the range's caption, which is empty.)
    // The bolt fields keep a word as it was typed, and so does the fastening torque before a
    // tool is chosen.
    const Control* numbers[] = {
        &f.TOTAL,     &f.Text4(0),  &f.Text4(1),   &f.Text4(2),   &f.Text4(3),  &f.Text4(4),
        &f.Text4(5),  &f.Text4(6),  &f.Text4(7),   &f.Label17,    &f.Text4(8),  &f.Text4(10),
        &f.Label3(0), &f.Label3(1), &f.Label12(0), &f.Label12(1), &f.Label4(0), &f.Label4(1),
        &f.Label4(2), &f.Label4(3), &f.Label4(4)};
    for (std::size_t i = 0; i < std::size(numbers); ++i) {
        const Control* c = numbers[i];
        if (c->hasFocus())
            continue;
        if (i < 9 && !NoToolChosen(f) && c->text().trimmed().isEmpty())
            return c->displayName() + QStringLiteral(" shows no number");
        if (ShowsNonFinite(c->text()))
            return c->displayName() + QStringLiteral(" shows ") + c->text().left(60);
    }

    const int selected = program.selection().SelectedTool;
    if (selected < 0 || selected > program.catalogue().Tools.toolCount())
        return QStringLiteral("the selected tool %1 is not in the catalogue").arg(selected);
    return {};
}

} // namespace veldrune::test
