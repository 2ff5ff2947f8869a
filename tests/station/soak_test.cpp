// Random use: every event a person can make at the window, in any order, with any text, in
// sessions of 60 events. After each event the program's invariants must hold; at the end of a
// session the window is saved as a plain station, and the file must reopen to the same window
// or the save must have said what will differ. How many saves said so is counted.

#include "input/entryfields.h"
#include "support/invariants.h"
#include "support/randomuse.h"
#include "support/station.h"

#include <gtest/gtest.h>

#include <iostream>
#include <random>

namespace veldrune {
namespace {

TEST(Soak, AHundredThousandRandomEventsKeepTheInvariantsAndEverySavedWindowReopens) {
    std::mt19937 random{20261206};
    const auto number = [&](int low, int high) {
        return std::uniform_int_distribution(low, high)(random);
    };
    // A window lives for 60 events and is saved, then a new one starts.
    std::unique_ptr<test::StartedProgram> s;
    QStringList recent;
    int saved = 0;
    int told = 0;
    for (int event = 0; event < 100'000; ++event) {
        if (event % 60 == 0) {
            s = std::make_unique<test::StartedProgram>();
            s->form().setKeepsPictures(false); // the chart's drawing is the same every time
        }
        try {
            recent.append(test::RandomEvent(s->form(), number));
        } catch (...) {
            FAIL() << "an exception escaped event " << event;
        }
        if (recent.size() > 12)
            recent.removeFirst();
        const auto failed = [&](const QString& what) {
            return QStringLiteral("after event %1: %2\nlast events:\n%3")
                .arg(QString::number(event), what, recent.join(u'\n'))
                .toStdString();
        };
        if (const QString broken = test::BrokenInvariant(*s->program); !broken.isEmpty())
            FAIL() << failed(broken);
        if (event % 60 == 59 && !NoToolChosen(s->form())) {
            ++saved;
            SavedStation save;
            if (const QString differs = test::ReopenedDifference(*s->program, &save);
                !differs.isEmpty())
                FAIL() << failed(QStringLiteral("the saved window reopens otherwise: ") + differs);
            told += !save.differences.isEmpty();
        }
        if (s->platform.messages().size() > 1000)
            s->platform.clearMessages();
    }
    EXPECT_GT(saved, 500);
    std::cout << saved - told << " of " << saved << " saved windows reopen exactly; the others "
              << "were saved with what will differ\n";
}

} // namespace
} // namespace veldrune
