// The caption text file: whatever it holds, it changes only the captions its keys name and
// the mode captions, and reading it always ends.

#include "fuzzsetup.h"

#include "platform/ansitext.h"
#include "report/captions.h"
#include "window/form1.h"

#include <algorithm>
#include <utility>

using namespace veldrune;
using veldrune::fuzz::Check;

namespace {

// The controls a caption key may set, by name and, for an array, how many of its first
// members; every other control keeps its text.
const std::pair<const char*, int> Reachable[] = {
    {"Label13", 0}, {"Label1", 0},   {"Label2", 2},  {"Frame1", 0},  {"Label5", 5},
    {"Frame2", 0},  {"Option1", 2},  {"Label7", 0},  {"Label8", 0},  {"Label9", 0},
    {"Label6", 0},  {"Label10", 12}, {"Label11", 4}, {"Label14", 0}, {"PREVILING", 0},
    {"Frame3", 0},  {"Label16", 0},  {"Label18", 0}, {"Label20", 0}, {"Label21", 0},
    {"Label22", 0},
};

bool reachable(const Control& control) {
    return std::any_of(std::begin(Reachable), std::end(Reachable), [&](const auto& reach) {
        return control.name() == QLatin1String(reach.first) &&
               (reach.second == 0 ? control.index() < 0 : control.index() < reach.second);
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        DecodeAnsiText(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    Form1 form;
    QStringList before;
    for (const auto& control : form.controls())
        before.append(control->text());

    ModeCaptions captions;
    int fontRequests = 0;
    const CaptionReading reading = ApplyCaptionText(text, form, captions, [&] { ++fontRequests; });
    Check(reading.applied >= fontRequests, QStringLiteral("more font requests than records"));
    Check(captions[11].isEmpty(), QStringLiteral("no key sets mode caption 11"));

    for (std::size_t i = 0; i < form.controls().size(); ++i) {
        const Control& control = *form.controls()[i];
        Check(control.text() == before[qsizetype(i)] || reachable(control),
              control.displayName() + QStringLiteral(" was changed"));
    }
    return 0;
}
