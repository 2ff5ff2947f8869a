#pragma once

#include <QString>

namespace veldrune {

// Characters as the user counts them: a character outside the Basic Multilingual Plane is
// one character, not two halves.
qsizetype CharacterCount(const QString& text);
// The first `count` characters of the text, never cutting a character in half.
QString LeftCharacters(const QString& text, qsizetype count);

// A value quoted in a one-line message: in quotes, line breaks and other control characters
// written as escapes, and cut after 60 characters with the cut marked, so that a huge value
// still gives a short line.
QString Excerpt(const QString& value, QChar quote = u'"');

} // namespace veldrune
