// A long session of random use: every event a person can make at the window, in any order,
// with any text. After each one the program's invariants must hold, and every few hundred
// the window is saved and the file must reopen to the same window.

#include "input/entryfields.h"
#include "support/invariants.h"
#include "support/randomuse.h"
#include "support/station.h"

#include <gtest/gtest.h>

#include <random>

namespace veldrune {
namespace {

TEST(Soak, AHundredThousandRandomEventsKeepTheInvariantsAndEverySavedWindowReopens) {
    std::mt19937 random{20261206};
    const auto number = [&](int low, int high) {
        return std::uniform_int_distribution(low, high)(random);
    };
    // A window lives for 1,000 events, saved every 500, then a new one starts.
    std::unique_ptr<test::StartedProgram> s;
    QStringList recent;
    int saved = 0;
    for (int event = 0; event < 100'000; ++event) {
        if (event % 1000 == 0) {
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
        if (event % 500 == 499 && !NoToolChosen(s->form())) {
            ++saved;
            if (const QString differs = test::ReopenedDifference(*s->program); !differs.isEmpty())
                FAIL() << failed(QStringLiteral("the saved window reopens otherwise: ") + differs);
        }
        if (s->platform.messages().size() > 1000)
            s->platform.clearMessages();
    }
    EXPECT_GT(saved, 50);
}

} // namespace
} // namespace veldrune
