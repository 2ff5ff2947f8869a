#include "support/randomuse.h"

#include "window/form1.h"
#include "window/useractions.h"

namespace veldrune::test {

namespace {

// Text of every kind a person types: numbers plain and odd, huge, negative, empty, letters,
// other scripts, control characters (separated by "|").
const QStringList Samples =
    QStringLiteral("|0|-5|12.5|1e308|-1e308|1e-320|99999999|32767|-32768|.|-|1.2.3|  7 |"
                   "abc|é€漢|\t\r|0.0001|nan|inf|1,5|2.675|+3|1d3")
        .split(u'|');
const QStringList Plausible =
    QStringLiteral("0.25|0.5|1|1.25|2|3.5|4.5|5|8|10|12.5|16|20|30|45|90|100|180|250|360|600|1200|")
        .split(u'|');

} // namespace

QString RandomEvent(Form1& f, const std::function<int(int, int)>& number, bool plausible) {
    const std::vector<Control*> lists{&f.SYSTEM, &f.TOOLLIST, &f.ANGLE, &f.TQUNIT, &f.DURR};
    const std::vector<Control*> buttons{&f.Command1(0), &f.Command1(1), &f.Command1(2),
                                        &f.Command1(3), &f.PREVILING,   &f.Option1(0),
                                        &f.Option1(1)};
    std::vector<Control*> fields{&f.Text1, &f.Text2, &f.Text3, &f.Text5};
    for (int i = 0; i < 12; ++i)
        fields.push_back(&f.Text4(i));
    const auto text = [&] {
        if (plausible)
            return Plausible[number(0, int(Plausible.size()) - 1)];
        QString result = Samples[number(0, int(Samples.size()) - 1)];
        if (number(0, 3) == 0)
            result += QString::number(number(-100000, 100000));
        if (number(0, 50) == 0)
            result += QString(number(100, 5000), QChar(u'0' + number(0, 9)));
        return result;
    };
    const int kind = number(0, 9);
    const auto& among = kind < 2 ? lists : kind < 8 ? fields : buttons;
    Control& target = *among[std::size_t(number(0, int(among.size()) - 1))];
    const QString name = target.displayName();
    // What a person can reach: shown, enabled and in sight.
    if (!target.shown() || !target.enabled() || !f.canTakeFocus(target) ||
        (kind < 2 && target.listCount() == 0))
        return QStringLiteral("nothing");
    if (kind < 2) {
        const int entry = number(0, target.listCount() - 1);
        f.pick(target, entry);
        return QStringLiteral("pick %1 in %2").arg(entry).arg(name);
    }
    if (kind < 6) { // keys typed, or typed and the field left
        const QString typed =
            kind == 5 && !plausible && number(0, 200) == 0 ? QString(100'000, u'9') : text();
        if (kind == 5)
            TypeAndLeave(f, target, typed);
        else
            TypeKeys(f, target, typed);
        return QStringLiteral("%1 %2 into %3")
            .arg(kind == 5 ? QStringLiteral("left") : QStringLiteral("keys"), typed.left(40), name);
    }
    if (kind == 6)
        PressEnter(f, target);
    else if (kind == 7)
        f.moveFocus(target);
    else
        f.click(target);
    return (kind == 6   ? QStringLiteral("Enter in ")
            : kind == 7 ? QStringLiteral("focus to ")
                        : QStringLiteral("click ")) +
           name;
}

} // namespace veldrune::test
