#include "platform/ansitext.h"

#include <QString>
#include <QStringList>

#include "support/qtprinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

TEST(DecodeAnsiText, ValidUtf8IsReadAsUtf8) {
    EXPECT_EQ(DecodeAnsiText(QByteArray("N\xC2\xB7m")), QString::fromUtf8("N\xC2\xB7m"));
    EXPECT_EQ(DecodeAnsiText(QByteArray("\xEF\xBB\xBFKRV")), u"KRV"_s);
}

TEST(DecodeAnsiText, OtherBytesAreWindows1252) {
    // 0xB7 alone is not UTF-8: the middle dot of the ANSI code page.
    EXPECT_EQ(DecodeAnsiText(QByteArray("N\xB7m")), QString::fromUtf8("N\xC2\xB7m"));
    EXPECT_EQ(DecodeAnsiText(QByteArray("\x80 \x99 \xE9")),
              QString::fromUtf8("\xE2\x82\xAC \xE2\x84\xA2 \xC3\xA9"));
}

} // namespace
} // namespace veldrune
