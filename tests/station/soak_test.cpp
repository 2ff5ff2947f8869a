// Random use: every event a person can make at the window, in any order, in sessions of 60
// events, every other session with texts of every kind (huge, negative, letters, control
// characters) and the others with numbers a station may have. After each event the program's
// invariants must hold; at the end of a session the window is saved as a plain station, and the
// file must reopen to the same window or the save must have said what will differ. With
// plausible numbers at least 99 % of the saves reopen exactly; with texts of every kind, the
// results a calculation stopped by an arithmetic failure leaves behind depend on what came
// before, which no station holds.

#include "input/entryfields.h"
#include "support/invariants.h"
#include "support/randomuse.h"
#include "support/station.h"

#include <gtest/gtest.h>

#include <array>
#include <iostream>
#include <random>

namespace veldrune {
namespace {

TEST(Soak, AHundredThousandRandomEventsKeepTheInvariantsAndEverySavedWindowReopens) {
    std::mt19937 random{20261206};
    const auto number = [&](int low, int high) {
        return std::uniform_int_distribution(low, high)(random);
    };
    std::unique_ptr<test::StartedProgram> s;
    QStringList recent;
    std::array<int, 2> saved{}, exact{}; // by session kind: every kind of text, plausible
    for (int event = 0; event < 100'000; ++event) {
        const int session = event / 60;
        const bool plausible = session % 2 == 1;
        if (event % 60 == 0) {
            s = std::make_unique<test::StartedProgram>();
            s->form().setKeepsPictures(false); // the chart's drawing is the same every time
            recent.clear();
        }
        try {
            recent.append(test::RandomEvent(s->form(), number, plausible));
        } catch (...) {
            FAIL() << "an exception escaped event " << event;
        }
        const auto failed = [&](const QString& what) {
            return QStringLiteral("after event %1: %2\nthe session's events:\n%3")
                .arg(QString::number(event), what, recent.join(u'\n'))
                .toStdString();
        };
        if (const QString broken = test::BrokenInvariant(*s->program); !broken.isEmpty())
            FAIL() << failed(broken);
        if (event % 60 == 59 && !NoToolChosen(s->form())) {
            ++saved[plausible];
            SavedStation save;
            if (const QString differs = test::ReopenedDifference(*s->program, &save);
                !differs.isEmpty())
                FAIL() << failed(QStringLiteral("the saved window reopens otherwise: ") + differs);
            exact[plausible] += save.differences.isEmpty();
        }
        if (s->platform.messages().size() > 1000)
            s->platform.clearMessages();
    }
    std::cout << "Saved windows that reopen exactly: " << exact[0] << " of " << saved[0]
              << " with texts of every kind, " << exact[1] << " of " << saved[1]
              << " with plausible numbers; the others were saved with what will differ\n";
    EXPECT_GT(saved[0] + saved[1], 500);
    EXPECT_GE(exact[1] * 100, saved[1] * 99);
}

} // namespace
} // namespace veldrune
