#include "platform/text.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

TEST(Characters, ACharacterOutsideTheBasicPlaneCountsOnceAndIsNeverCutInHalf) {
    const QString text = u"ab\U0001F527c"_s;
    EXPECT_EQ(CharacterCount(text), 4);
    EXPECT_EQ(LeftCharacters(text, 3), u"ab\U0001F527"_s);
    EXPECT_EQ(LeftCharacters(text, 9), text);
}

TEST(Excerpt, QuotesShortValuesWholeAndCutsLongOnesOnOneLine) {
    EXPECT_EQ(Excerpt(u"RH9"_s), u"\"RH9\""_s);
    EXPECT_EQ(Excerpt(u"a\nb\x01"_s, u'\''), u"'a\\nb\\x01'"_s);
    const QString cut = Excerpt(QString(59, u'x') + u"\U0001F527\U0001F527"_s);
    EXPECT_EQ(cut, u"\""_s + QString(59, u'x') + u"\U0001F527...\" (cut; 61 characters in all)"_s);
}

} // namespace
} // namespace veldrune
