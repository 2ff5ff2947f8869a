// The tool catalogue: whatever the file holds, the table ends with its marker and holds at
// most 199 tools, and the window built on it shows only finite numbers for every tool and
// angle head.

#include "fuzzsetup.h"

#include "app/veldrune.h"
#include "catalogue/toolinfo.h"
#include "platform/ansitext.h"
#include "window/useractions.h"

#include "support/fakeplatform.h"
#include "support/invariants.h"

using namespace veldrune;
using veldrune::fuzz::Check;

namespace {

void checkWindow(Veldrune& program) {
    const QString broken = test::BrokenInvariant(program);
    Check(broken.isEmpty(), broken);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    const ToolInfoResult result = ReadToolInfo(DecodeAnsiText(bytes));
    Check(result.tools >= 0 && result.tools <= ToolTable::MaxTools,
          QStringLiteral("%1 tools read").arg(result.tools));
    Check(result.table.isEnd(result.tools + 1), QStringLiteral("no end marker after the tools"));
    Check(result.table.toolCount() <= result.tools, QStringLiteral("tools beyond the marker"));

    // The window on this catalogue: each system, its first tools, each of their heads.
    test::FakePlatform platform;
    platform.putProgramFile(ToolInfoFileName, bytes);
    Veldrune program(platform);
    program.startUp({});
    checkWindow(program);
    Form1& f = program.form();
    for (int system = 0; system < f.SYSTEM.listCount(); ++system) {
        f.pick(f.SYSTEM, system);
        checkWindow(program);
        for (int tool = 0; tool < std::min(f.TOOLLIST.listCount(), 12); ++tool) {
            f.pick(f.TOOLLIST, tool);
            checkWindow(program);
            for (int head = 0; head < f.ANGLE.listCount(); ++head) {
                f.pick(f.ANGLE, head);
                checkWindow(program);
            }
        }
    }
    return 0;
}
