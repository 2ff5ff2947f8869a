// A table of stations as a spreadsheet might save it, or not: whatever the bytes, the reader
// gives stations or one-line reasons, each row on a line after the header and after the row
// before it.

#include "fuzzsetup.h"

#include "station/stationtable.h"

using namespace veldrune;
using veldrune::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto read =
        ReadStationTable(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (const auto* error = std::get_if<TableError>(&read)) {
        Check(!error->error.message.isEmpty() && !error->error.message.contains(u'\n'),
              QStringLiteral("a refusal is one line: ") + error->error.message.left(200));
        return 0;
    }
    int line = 1;
    for (const TableStation& row : std::get<std::vector<TableStation>>(read)) {
        Check(row.line > line, QStringLiteral("row lines go backwards at %1").arg(row.line));
        line = row.line;
        if (const auto* error = std::get_if<StationError>(&row.station))
            Check(!error->message.isEmpty() && !error->message.contains(u'\n'),
                  QStringLiteral("a row's refusal is one line: ") + error->message.left(200));
    }
    return 0;
}
