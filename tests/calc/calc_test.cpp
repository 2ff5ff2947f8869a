#include "calc/calc.h"

#include "support/fakeplatform.h"
#include "support/qtprinters.h"
#include "window/form1.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// The worked example's inputs under speed limits that do not interfere, with the texts given
// ("Text3=2;4=1": a control by name, a number for a field of Text4) typed over them,
// recalculated for an edit of Text4(edited). Returns what the window then shows: the phase
// revolutions | the speeds | the free-run and tightening times | the total and the station
// cycle time, then a failure and the messages.
QString Calculated(const QString& typed, int edited) {
    Form1 f;
    test::FakePlatform platform;
    const QString inputs = u"Label3(0)=3000 RPM;Label3(1)=1 RPM;Text3=10;0=0.5;1=120;3=600;4=0;"
                           u"5=90;6=60;"_s;
    for (const QString& entry : (inputs + typed).split(u';', Qt::SkipEmptyParts)) {
        const QString name = entry.section(u'=', 0, 0).trimmed();
        const QString text = entry.section(u'=', 1);
        for (const auto& c : f.controls()) {
            if (c->displayName() == name || c->displayName() == u"Text4(%1)"_s.arg(name))
                c->setText(text);
        }
    }
    const bool failed = CALC(f, std::int16_t(edited), platform) != CalcOutcome::Completed;
    QStringList shown{u"%1 %2 | %3 %4 %5 | %6 %7 | %8 %9"_s.arg(
        f.Label12(0).text(), f.Label12(1).text(), f.Text4(1).text(), f.Text4(3).text(),
        f.Text4(6).text(), f.Text4(2).text(), f.Text4(4).text(), f.TOTAL.text(),
        f.Text4(8).text())};
    if (failed)
        shown.append(u"failed"_s);
    for (const test::ShownMessage& m : platform.messages()) {
        EXPECT_EQ(m.icon, MessageIcon::Critical);
        EXPECT_EQ(m.title, u"VELDRUNE"_s);
        shown.append(m.text);
    }
    return shown.join(u", "_s);
}

// Each step reads the texts the steps before it wrote.
TEST(Calc, WritesEachStepsResultsAsTheNextStepReadsThem) {
    const std::tuple<QString, int, QString> rows[] = {
        // The worked example, from the speeds and from a typed free-run time.
        {{}, 0, u"1.00 9.00 | 120 600 60 | 0.90 0.25 | 1.65 0.00"_s},
        {u"2=0.8"_s, 2, u"1.00 9.00 | 120 675 60 | 0.80 0.25 | 1.55 0.00"_s},
        // A speed outside the limits takes the caption text, which is read back as a number.
        {u"3=5000"_s, 0, u"1.00 9.00 | 120 3000 RPM 60 | 0.18 0.25 | 0.93 0.00"_s},
        // Without shown limits every non-zero speed is emptied, and zero speeds skip the time
        // derivations: the typed times stay.
        {u"Label3(0)=;Label3(1)=;2=0.77;4=0.66;7=0.5"_s, 0,
         u"0.00 10.00 |    | 0.77 0.66 | 2.43 0.00"_s},
        // Derived speeds keep to the range (9 RPM is below 20: a longer time) and round halves
        // to even (2.5 and 3.5 RPM).
        {u"Label3(1)=20 RPM;2=60"_s, 2, u"1.00 9.00 | 120 20 60 | 27.00 0.25 | 27.75 0.00"_s},
        {u"5=15;4=1"_s, 4, u"1.00 9.00 | 120 600 2 | 0.90 1.25 | 2.65 0.00"_s},
        {u"5=21;4=1"_s, 4, u"1.00 9.00 | 120 600 4 | 0.90 0.88 | 2.28 0.00"_s},
        // One free-run revolution at 180 RPM is 0.333... s: the total adds the shown 0.33.
        {u"Text3=2;3=180;5=0"_s, 0, u"1.00 1.00 | 120 180 60 | 0.33 0.00 | 0.83 0.00"_s},
        // Fewer revolutions than the initial phase turns leave none for the free run, whatever
        // the free run turned before.
        {u"Text3=0.5;Label12(1)=5.00"_s, 0, u"1.00 0.00 | 120 600 60 | 0.00 0.25 | 0.75 0.00"_s},
        // Time limits: initial 999.5 s at the minimum speed, free run 0.5 s, tightening 6000
        // degrees at 1 RPM, 1000 s; exactly 1000 is no excess. Messages come in order and
        // change nothing.
        {u"Text3=21.66;0=999.5;1=0;5=6000;6=1"_s, 0,
         u"16.66 5.00 | 1 RPM 600 1 | 0.50 1000.00 | 2000.00 0.00"_s},
        {u"Text3=21.66;0=999.51;1=0;5=6000.06;6=1"_s, 0,
         u"16.66 5.00 | 1 RPM 600 1 | 0.50 1000.01 | 2000.02 0.00, FIRST TIME LIMIT OVER, "
         u"SECOND TIME LIMIT OVER"_s},
        // A failed step ends the calculation keeping the earlier results, without warnings: a
        // typed free-run time of 0 after steps 2 and 3 ran, then a speed of 50000 RPM.
        {u"0=2000;2=0;8=7;TOTAL=1.65"_s, 2, u"4000.00 0.00 | 120 600 60 | 0 0 | 1.65 7, failed"_s},
        {u"Label3(0)=99999 RPM;4=0.0003"_s, 4,
         u"1.00 9.00 | 120 600 60 | 0.90 0.0003 | 1.00 , failed"_s},
    };
    for (const auto& [typed, edited, shown] : rows)
        EXPECT_EQ(Calculated(typed, edited), shown) << typed.toStdString();
}

} // namespace
} // namespace veldrune
