#pragma once

#include <QByteArray>
#include <QString>

namespace veldrune {

// Text files from the system the program was first made for are in its ANSI code page; files
// written since are often UTF-8. Bytes that are valid UTF-8 are read as such, anything else
// as Windows-1252.
QString DecodeAnsiText(const QByteArray& bytes);

} // namespace veldrune
