#include "platform/fieldreader.h"

#include "support/qtprinters.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// Every field up to the end, where reading on gives nothing.
QStringList readAll(const QString& text) {
    FieldReader reader(text);
    QStringList fields;
    while (!reader.atEnd())
        fields.append(reader.next().value_or(u"<nothing>"_s));
    EXPECT_FALSE(reader.next());
    return fields;
}

TEST(FieldReader, SplitsAtCommasAndLineEndsAsTheSequentialFilesDo) {
    const std::pair<QString, QStringList> cases[] = {
        {u"a,b\nc\r\nd"_s, {u"a"_s, u"b"_s, u"c"_s, u"d"_s}},
        {u"  KRV-110 ,  5.88  \n"_s, {u"KRV-110"_s, u"5.88"_s}}, // blanks around dropped
        {u"\" a, b \",c"_s, {u" a, b "_s, u"c"_s}},              // quotes keep commas, blanks
        {u"\"x\"junk,y"_s, {u"x"_s, u"y"_s}},                    // text after a quote passed over
        {u"\"abc,def"_s, {u"abc,def"_s}},         // an unclosed quote runs to the end
        {u"a\n\n\nb"_s, {u"a"_s, u"b"_s}},        // empty lines skipped
        {u"a,\nb"_s, {u"a"_s, u"b"_s}},           // a record continues after a comma
        {u"a,,b"_s, {u"a"_s, QString(), u"b"_s}}, // only two commas enclose a field
        {u"a\r\n\r\n  \n"_s, {u"a"_s}},           // trailing line ends count as the end
    };
    for (const auto& [text, fields] : cases)
        EXPECT_EQ(readAll(text), fields) << text.toStdString();
}

} // namespace
} // namespace veldrune
