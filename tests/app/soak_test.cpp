// A long session of random use: every event a person can make at the window, in any order,
// with any text. After each one the program's invariants must hold.

#include "support/invariants.h"
#include "support/station.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

class RandomUser {
public:
    explicit RandomUser(test::StartedProgram& s)
        : m_form(s.form()) {
        Form1& f = m_form;
        m_lists = {&f.SYSTEM, &f.TOOLLIST, &f.ANGLE, &f.TQUNIT, &f.DURR};
        m_fields = {&f.Text1, &f.Text2, &f.Text3, &f.Text5};
        for (int i = 0; i < 12; ++i)
            m_fields.push_back(&f.Text4(i));
        for (int i = 0; i < 4; ++i)
            m_buttons.push_back(&f.Command1(i));
        m_buttons.insert(m_buttons.end(), {&f.PREVILING, &f.Option1(0), &f.Option1(1)});
    }

    // Makes one event; returns what it was, for the record of a failure.
    QString act() {
        switch (number(0, 9)) {
        case 0:
        case 1: {
            Control& list = *m_lists[std::size_t(number(0, int(m_lists.size()) - 1))];
            if (!usable(list) || list.listCount() == 0)
                return u"nothing"_s;
            const int entry = number(0, list.listCount() - 1);
            m_form.pick(list, entry);
            return u"pick %1 in %2"_s.arg(entry).arg(list.displayName());
        }
        case 2:
        case 3:
        case 4: {
            Control& field = anyField();
            if (!usable(field))
                return u"nothing"_s;
            const QString keys = text();
            TypeKeys(m_form, field, keys);
            return u"keys %1 into %2"_s.arg(keys.left(40), field.displayName());
        }
        case 5: {
            Control& field = anyField();
            if (!usable(field))
                return u"nothing"_s;
            const QString typed = number(0, 200) == 0 ? QString(100'000, u'9') : text();
            TypeAndLeave(m_form, field, typed);
            return u"typed %1 into %2 and left"_s.arg(typed.left(40), field.displayName());
        }
        case 6: {
            Control& field = anyField();
            if (!usable(field))
                return u"nothing"_s;
            PressEnter(m_form, field);
            return u"Enter in "_s + field.displayName();
        }
        case 7: {
            Control& target = anyField();
            if (!usable(target))
                return u"nothing"_s;
            m_form.moveFocus(target);
            return u"focus to "_s + target.displayName();
        }
        default: {
            Control& button = *m_buttons[std::size_t(number(0, int(m_buttons.size()) - 1))];
            if (!usable(button))
                return u"nothing"_s;
            m_form.click(button);
            return u"click "_s + button.displayName();
        }
        }
    }

private:
    int number(int low, int high) { return std::uniform_int_distribution(low, high)(m_random); }
    Control& anyField() { return *m_fields[std::size_t(number(0, int(m_fields.size()) - 1))]; }
    // What a person can reach: shown, enabled and in sight.
    bool usable(const Control& control) const {
        return control.shown() && control.enabled() && m_form.canTakeFocus(control);
    }

    // Text of every kind a person types: numbers plain and odd, huge, negative, empty,
    // letters, other scripts, control characters.
    QString text() {
        static const QString samples[] = {
            u""_s,       u"0"_s,        u"-5"_s,    u"12.5"_s,   u"1e308"_s, u"-1e308"_s,
            u"1e-320"_s, u"99999999"_s, u"32767"_s, u"-32768"_s, u"."_s,     u"-"_s,
            u"1.2.3"_s,  u"  7 "_s,     u"abc"_s,   u"é€漢"_s,   u"\t\r"_s,  u"0.0001"_s,
            u"nan"_s,    u"inf"_s,      u"1,5"_s,   u"2.675"_s,  u"+3"_s,    u"1d3"_s,
        };
        QString result = samples[number(0, std::size(samples) - 1)];
        if (number(0, 3) == 0)
            result += QString::number(number(-100000, 100000));
        if (number(0, 50) == 0)
            result += QString(number(100, 5000), QChar(u'0' + number(0, 9)));
        return result;
    }

    Form1& m_form;
    std::mt19937 m_random{20261206};
    std::vector<Control*> m_lists;
    std::vector<Control*> m_fields;
    std::vector<Control*> m_buttons;
};

TEST(Soak, AHundredThousandRandomEventsKeepTheInvariants) {
    test::StartedProgram s;
    s.form().setKeepsPictures(false); // the chart's drawing is the same code every time
    RandomUser user(s);
    std::deque<QString> recent;
    for (int event = 0; event < 100'000; ++event) {
        QString what;
        try {
            what = user.act();
        } catch (...) {
            FAIL() << "an exception escaped event " << event;
        }
        recent.push_back(what);
        if (recent.size() > 12)
            recent.pop_front();
        const QString broken = test::BrokenInvariant(*s.program);
        if (!broken.isEmpty()) {
            QStringList trail(recent.begin(), recent.end());
            FAIL() << "after event " << event << ": " << broken.toStdString() << "\nlast events:\n"
                   << trail.join(u'\n').toStdString();
        }
        if (s.platform.messages().size() > 1000)
            s.platform.clearMessages();
    }
}

} // namespace
} // namespace veldrune
