#pragma once

#include <QString>

#include <optional>

namespace veldrune {

// Reads a text as a sequence of fields separated by commas or line ends, the convention of
// the sequential text files the program reads (tool catalogue, caption texts):
// - blanks before and after an unquoted field are not part of it;
// - a field in double quotes is taken without them and may hold commas and line ends;
// - line ends carry no structure: empty lines are skipped and a record may continue on the
//   next line after a comma; two commas in a row enclose an empty field.
class FieldReader {
public:
    explicit FieldReader(QString text);

    // True when nothing but blanks and line ends is left.
    bool atEnd() const;
    // The next field, or nothing when the text is used up (reading past its end).
    std::optional<QString> next();

private:
    QString m_text;
    qsizetype m_pos = 0;
};

} // namespace veldrune
