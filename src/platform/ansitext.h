#pragma once

#include <QByteArray>
#include <QString>

namespace veldrune {

// The code page of Western Europe, for text whose language gives no other.
inline constexpr int WesternCodePage = 1252;

// The text of a file written by hand: UTF-8, or the Windows ANSI code page of the language it
// was written in. Bytes that are valid UTF-8 are read as such (a leading byte-order mark
// dropped), anything else in the code page given by its Windows number (1252 Western, 1251
// Cyrillic, 932 Japanese, ...). A byte the code page has no character for becomes the
// character of the same value, as the five gaps of 1252 do on Windows.
QString DecodeAnsiText(const QByteArray& bytes, int codePage = WesternCodePage);

} // namespace veldrune
