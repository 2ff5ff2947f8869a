#include "calc/calc.h"

#include "numbers/numberformat.h"
#include "numbers/textvalue.h"
#include "platform/platform.h"
#include "window/form1.h"

#include <cmath>
#include <limits>
#include <optional>

namespace veldrune {

namespace {

double value(const Control& control) {
    return TextValue(control.text());
}

// A result that is not a finite number is a failed step.
struct Failed {};

double checked(double result) {
    if (!std::isfinite(result))
        throw Failed{};
    return result;
}

// Conversion to a 32-bit float; a value beyond its range fails like an overflow.
float single(double result) {
    checked(result);
    if (std::fabs(result) > double(std::numeric_limits<float>::max()))
        throw Failed{};
    return static_cast<float>(result);
}

std::int16_t roundInt16(double result) {
    const auto rounded = RoundInt16(result);
    if (!rounded)
        throw Failed{};
    return *rounded;
}

void write(Control& control, double result, int decimals) {
    control.setText(FormatFixed(checked(result), decimals));
}

// A speed derived from a typed time, kept within the tool's speed range and made whole.
std::int16_t limitedSpeed(float speed, const Form1& form) {
    const float max = single(value(form.Label3(0)));
    const float min = single(value(form.Label3(1)));
    if (max < speed)
        return roundInt16(value(form.Label3(0)));
    if (min <= speed)
        return roundInt16(speed);
    return roundInt16(value(form.Label3(1)));
}

void runSteps(Form1& form, std::int16_t EditedIndex, Platform& platform) {
    // 1. Speed limits: a speed outside the range takes the limit's caption text as it stands.
    for (const int field : {1, 3, 6}) {
        Control& speed = form.Text4(field);
        if (value(form.Label3(0)) < value(speed))
            speed.setText(form.Label3(0).text());
        else if (value(form.Label3(1)) > value(speed))
            speed.setText(form.Label3(1).text());
    }

    // 2. Initial revolutions.
    write(form.Label12(0), value(form.Text4(0)) * value(form.Text4(1)) / 60, 2);

    // 3. Free-run revolutions; none when the initial phase turns as much as the fastening or
    // more. (Keeping the earlier ones there made the total depend on what was typed before.)
    if (value(form.Label12(0)) <= value(form.Text3))
        write(form.Label12(1), value(form.Text3) - value(form.Label12(0)), 2);
    else
        write(form.Label12(1), 0, 2);

    // 4.-5. Free-run speed from a typed free-run time, else free-run time from the speed.
    if (EditedIndex == 2) {
        const float speed = single(value(form.Label12(1)) * 60 / value(form.Text4(2)));
        form.Text4(3).setText(FormatFixed(limitedSpeed(speed, form), 0));
        write(form.Text4(2), value(form.Label12(1)) * 60 / value(form.Text4(3)), 2);
    } else if (value(form.Text4(3)) != 0) {
        write(form.Text4(2), value(form.Label12(1)) * 60 / value(form.Text4(3)), 2);
    }

    // 6.-7. The same for the tightening phase: degrees per second / 6 is RPM.
    if (EditedIndex == 4) {
        const float speed = single(value(form.Text4(5)) / 6 / value(form.Text4(4)));
        form.Text4(6).setText(FormatFixed(limitedSpeed(speed, form), 0));
        write(form.Text4(4), value(form.Text4(5)) / 6 / value(form.Text4(6)), 2);
    } else if (value(form.Text4(6)) != 0) {
        write(form.Text4(4), value(form.Text4(5)) / 6 / value(form.Text4(6)), 2);
    }

    // 8.-9. Time limits: warnings only, the calculation goes on.
    if (checked(value(form.Text4(0)) + value(form.Text4(2))) > 1000) {
        platform.showMessage(QString::fromLatin1(FirstTimeLimitMessage), MessageIcon::Critical,
                             ProgramTitle);
    }
    if (value(form.Text4(4)) > 1000) {
        platform.showMessage(QString::fromLatin1(SecondTimeLimitMessage), MessageIcon::Critical,
                             ProgramTitle);
    }

    // 10. Total: free run, initial, tightening, communication and torque recovery time.
    write(form.TOTAL,
          value(form.Text4(2)) + value(form.Text4(0)) + value(form.Text4(4)) +
              value(form.Text4(7)) + value(form.Text4(10)),
          2);

    // 11. The station cycle time always shows two decimals.
    write(form.Text4(8), value(form.Text4(8)), 2);
}

} // namespace

CalcOutcome CALC(Form1& form, std::int16_t EditedIndex, Platform& platform) {
    try {
        runSteps(form, EditedIndex, platform);
    } catch (const Failed&) {
        return CalcOutcome::ArithmeticFailure;
    }
    return CalcOutcome::Completed;
}

} // namespace veldrune
