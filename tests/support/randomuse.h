#pragma once

#include <QString>

#include <functional>

namespace veldrune {
class Form1;
}

namespace veldrune::test {

// Makes one event a person can make at the window, in any order, with any text: a pick in a
// list, keys typed into a field or a field typed and left, Enter, a focus move, a click on a
// button, an option or the check box. `number(low, high)` chooses. The texts are of every kind
// or, for `plausible` use, numbers a fastening station may have. Returns what it did.
QString RandomEvent(Form1& f, const std::function<int(int, int)>& number, bool plausible = false);

} // namespace veldrune::test
