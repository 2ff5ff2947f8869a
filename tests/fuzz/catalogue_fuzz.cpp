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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    const ToolInfoResult result = ReadToolInfo(DecodeAnsiText(bytes));
    Check(result.tools >= 0 && result.tools <= ToolTable::MaxTools &&
              result.table.isEnd(result.tools + 1) && result.table.toolCount() <= result.tools,
          QStringLiteral("%1 tools read, not all before the end marker").arg(result.tools));

    // The window on this catalogue: each system, its first tools, each of their heads.
    test::FakePlatform platform;
    platform.putProgramFile(ToolInfoFileName, bytes);
    Veldrune program(platform);
    program.startUp({});
    const auto checkWindow = [&program] {
        const QString broken = test::BrokenInvariant(program);
        Check(broken.isEmpty(), broken);
    };
    checkWindow();
    Form1& f = program.form();
    for (int system = 0; system < f.SYSTEM.listCount(); ++system) {
        f.pick(f.SYSTEM, system);
        checkWindow();
        for (int tool = 0; tool < std::min(f.TOOLLIST.listCount(), 12); ++tool) {
            f.pick(f.TOOLLIST, tool);
            checkWindow();
            for (int head = 0; head < f.ANGLE.listCount(); ++head) {
                f.pick(f.ANGLE, head);
                checkWindow();
            }
        }
    }
    return 0;
}
