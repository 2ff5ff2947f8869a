// A long session of random use: every event a person can make at the window, in any order,
// with any text. After each one the program's invariants must hold.

#include "support/invariants.h"
#include "support/station.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// Text of every kind a person types: numbers plain and odd, huge, negative, empty, letters,
// other scripts, control characters (separated by "|").
const QStringList Samples = u"|0|-5|12.5|1e308|-1e308|1e-320|99999999|32767|-32768|.|-|1.2.3|  7 |"
                            u"abc|é€漢|\t\r|0.0001|nan|inf|1,5|2.675|+3|1d3"_s.split(u'|');

TEST(Soak, AHundredThousandRandomEventsKeepTheInvariants) {
    test::StartedProgram s;
    Form1& f = s.form();
    f.setKeepsPictures(false); // the chart's drawing is the same code every time
    std::mt19937 random{20261206};
    const auto number = [&](int low, int high) {
        return std::uniform_int_distribution(low, high)(random);
    };
    const std::vector<Control*> lists{&f.SYSTEM, &f.TOOLLIST, &f.ANGLE, &f.TQUNIT, &f.DURR};
    const std::vector<Control*> buttons{&f.Command1(0), &f.Command1(1), &f.Command1(2),
                                        &f.Command1(3), &f.PREVILING,   &f.Option1(0),
                                        &f.Option1(1)};
    std::vector<Control*> fields{&f.Text1, &f.Text2, &f.Text3, &f.Text5};
    for (int i = 0; i < 12; ++i)
        fields.push_back(&f.Text4(i));
    const auto text = [&] {
        QString result = Samples[number(0, int(Samples.size()) - 1)];
        if (number(0, 3) == 0)
            result += QString::number(number(-100000, 100000));
        if (number(0, 50) == 0)
            result += QString(number(100, 5000), QChar(u'0' + number(0, 9)));
        return result;
    };
    // Makes one event; returns what it was, for the record of a failure.
    const auto act = [&]() -> QString {
        const int kind = number(0, 9);
        const auto& among = kind < 2 ? lists : kind < 8 ? fields : buttons;
        Control& target = *among[std::size_t(number(0, int(among.size()) - 1))];
        const QString name = target.displayName();
        // What a person can reach: shown, enabled and in sight.
        if (!target.shown() || !target.enabled() || !f.canTakeFocus(target) ||
            (kind < 2 && target.listCount() == 0))
            return u"nothing"_s;
        if (kind < 2) {
            const int entry = number(0, target.listCount() - 1);
            f.pick(target, entry);
            return u"pick %1 in %2"_s.arg(entry).arg(name);
        }
        if (kind < 6) { // keys typed, or typed and the field left
            const QString typed =
                kind == 5 && number(0, 200) == 0 ? QString(100'000, u'9') : text();
            if (kind == 5)
                TypeAndLeave(f, target, typed);
            else
                TypeKeys(f, target, typed);
            return u"%1 %2 into %3"_s.arg(kind == 5 ? u"left"_s : u"keys"_s, typed.left(40), name);
        }
        if (kind == 6)
            PressEnter(f, target);
        else if (kind == 7)
            f.moveFocus(target);
        else
            f.click(target);
        return (kind == 6 ? u"Enter in "_s : kind == 7 ? u"focus to "_s : u"click "_s) + name;
    };

    QStringList recent;
    for (int event = 0; event < 100'000; ++event) {
        try {
            recent.append(act());
        } catch (...) {
            FAIL() << "an exception escaped event " << event;
        }
        if (recent.size() > 12)
            recent.removeFirst();
        if (const QString broken = test::BrokenInvariant(*s.program); !broken.isEmpty()) {
            FAIL() << "after event " << event << ": " << broken.toStdString() << "\nlast events:\n"
                   << recent.join(u'\n').toStdString();
        }
        if (s.platform.messages().size() > 1000)
            s.platform.clearMessages();
    }
}

} // namespace
} // namespace veldrune
