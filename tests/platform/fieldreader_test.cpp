#include "platform/fieldreader.h"

#include <QString>
#include <QStringList>

#include "support/qtprinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

QStringList readAll(const QString& text) {
    FieldReader reader(text);
    QStringList fields;
    while (!reader.atEnd()) {
        const auto field = reader.next();
        if (!field)
            break;
        fields.append(*field);
    }
    return fields;
}

TEST(FieldReader, CommasAndLineEndsSeparateFields) {
    EXPECT_EQ(readAll(QStringLiteral("a,b\nc\r\nd")),
              (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s}));
}

TEST(FieldReader, BlanksAroundUnquotedFieldsAreDropped) {
    EXPECT_EQ(readAll(QStringLiteral("  KRV-110 ,  5.88  \n")),
              (QStringList{u"KRV-110"_s, u"5.88"_s}));
}

TEST(FieldReader, QuotedFieldsKeepCommasAndBlanks) {
    EXPECT_EQ(readAll(QStringLiteral("\" a, b \",c")), (QStringList{u" a, b "_s, u"c"_s}));
    // Text after the closing quote up to the delimiter is passed over.
    EXPECT_EQ(readAll(QStringLiteral("\"x\"junk,y")), (QStringList{u"x"_s, u"y"_s}));
}

TEST(FieldReader, EmptyLinesAreSkippedAndOnlyTwoCommasEncloseAnEmptyField) {
    EXPECT_EQ(readAll(QStringLiteral("a\n\n\nb")), (QStringList{u"a"_s, u"b"_s}));
    EXPECT_EQ(readAll(QStringLiteral("a,\nb")), (QStringList{u"a"_s, u"b"_s}));
    EXPECT_EQ(readAll(QStringLiteral("a,,b")), (QStringList{u"a"_s, QString(), u"b"_s}));
}

TEST(FieldReader, TrailingLineEndsCountAsTheEnd) {
    FieldReader reader(QStringLiteral("a\r\n\r\n  \n"));
    EXPECT_EQ(reader.next(), u"a"_s);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_FALSE(reader.next());
}

TEST(FieldReader, AnUnclosedQuoteRunsToTheEnd) {
    EXPECT_EQ(readAll(QStringLiteral("\"abc,def")), (QStringList{u"abc,def"_s}));
}

} // namespace
} // namespace veldrune
