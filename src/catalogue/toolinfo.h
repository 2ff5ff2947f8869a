#pragma once

#include "catalogue/tooltable.h"

#include <QString>

#include <optional>

namespace veldrune {

class Platform;

inline const QString ToolInfoFileName = QStringLiteral("TOOLINFO.LST");
inline const QString ToolInfoMissingMessage = QStringLiteral("TOOL INFORMATION FILE IS MISSING");

// Scales a number text to a 16-bit integer with the given decimals: the leading number times
// 10^decimals (for 1..4 decimals), rounded with halves upwards, kept within -32767..32767.
std::int16_t ScaleToInteger(QStringView text, int decimals);

struct ToolInfoResult {
    ToolTable table;
    int tools = 0; // entries 1..tools hold tools, tools + 1 the marker
    // Why reading stopped before the end of the text, when it did; the tools read so far,
    // and the record being read, stay in the table.
    std::optional<QString> stoppedBecause;
};

// Reads a tool catalogue from its text.
ToolInfoResult ReadToolInfo(const QString& text);

// Reads a catalogue file (TOOLINFO.LST, beside the program or in its data folder) into the
// table; a missing, unreadable or empty file is reported in a message box and leaves the table
// empty.
void LoadToolInfo(ToolTable& table, Platform& platform, const QString& path);

} // namespace veldrune
