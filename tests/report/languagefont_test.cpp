#include "report/languagefont.h"

#include "window/form1.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

#include <QFontDatabase>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

struct LocaleCase {
    QLocale::Language language;
    QLocale::Territory territory;
    std::uint32_t lcid;
    const char16_t* face; // nullptr: a Western face
    std::int16_t size;
    std::int16_t charset;
};

void PrintTo(const LocaleCase& c, std::ostream* os) {
    *os << c.lcid;
}

class LanguageFontByLocale : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(LanguageFontByLocale, ChoosesTheTablesFaceSizeAndCharacterSet) {
    const LocaleCase& c = GetParam();
    const QLocale locale(c.language, c.territory);
    EXPECT_EQ(LocaleIdentifier(locale), c.lcid);

    LanguageFont kept;
    QString face;
    std::int16_t size = 0;
    std::int16_t charset = 0;
    ChooseLanguageFont(kept, locale, face, size, charset);
    if (c.face) {
        EXPECT_EQ(face, QString::fromUtf16(c.face));
    } else {
        // Tahoma, Arial or System, whichever the font system really has; a substitute it
        // offers under another name does not count, so the face is always a real one.
        EXPECT_TRUE(QFontDatabase::families().contains(face)) << face.toStdString();
    }
    EXPECT_EQ(size, c.size);
    EXPECT_EQ(charset, c.charset);
    EXPECT_EQ(kept.LanguageFontName, face);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, LanguageFontByLocale,
    ::testing::Values(LocaleCase{QLocale::Chinese, QLocale::Taiwan, 1028, u"新細明體", 9, 136},
                      LocaleCase{QLocale::Chinese, QLocale::China, 2052, u"宋体", 9, 134},
                      LocaleCase{QLocale::Japanese, QLocale::Japan, 1041, u"ＭＳ Ｐゴシック", 9,
                                 128},
                      LocaleCase{QLocale::Korean, QLocale::SouthKorea, 1042, u"굴림", 9, 129},
                      LocaleCase{QLocale::English, QLocale::UnitedStates, 1033, nullptr, 8, 0},
                      LocaleCase{QLocale::German, QLocale::Germany, 1031, nullptr, 8, 0},
                      LocaleCase{QLocale::Polish, QLocale::Poland, 1045, nullptr, 8, 238},
                      LocaleCase{QLocale::Russian, QLocale::Russia, 1049, nullptr, 8, 204},
                      LocaleCase{QLocale::Greek, QLocale::Greece, 1032, nullptr, 8, 161}));

TEST(LanguageFont, IsKeptAfterTheFirstChoiceUnlessNoFaceWasChosen) {
    LanguageFont kept;
    QString face;
    std::int16_t size = 11;
    std::int16_t charset = 7;
    // Chinese of Hong Kong: the table chooses no face, size or character set; the values
    // passed in stay, and nothing is kept.
    const QLocale hongKong(QLocale::Chinese, QLocale::HongKong);
    EXPECT_EQ(LocaleIdentifier(hongKong), 3076u);
    ChooseLanguageFont(kept, hongKong, face, size, charset);
    EXPECT_EQ(face, QString());
    EXPECT_EQ(size, 11);
    EXPECT_EQ(charset, 7);

    ChooseLanguageFont(kept, QLocale(QLocale::Japanese, QLocale::Japan), face, size, charset);
    EXPECT_EQ(size, 9);
    QString again;
    ChooseLanguageFont(kept, QLocale(QLocale::Polish, QLocale::Poland), again, size, charset);
    EXPECT_EQ(again, face);
    EXPECT_EQ(charset, 128);
}

TEST(LanguageFont, MakesEveryControlWithAFontBoldAndLeavesTheOthers) {
    Form1 form;
    LanguageFont kept;
    const FontSpec lineFont = form.Line1.font();
    ApplyLanguageFont(form, kept, QLocale(QLocale::Korean, QLocale::SouthKorea));
    EXPECT_EQ(form.font().face, u"굴림"_s);
    EXPECT_EQ(form.font().points, 9);
    EXPECT_FALSE(form.font().bold);
    for (Control* c : {&form.Label13, &form.Frame2, &form.Text4(3), &form.TOOLLIST,
                       &form.Command1(2), &form.Option1(1), &form.PREVILING}) {
        EXPECT_EQ(c->font().face, u"굴림"_s) << c->displayName().toStdString();
        EXPECT_TRUE(c->font().bold) << c->displayName().toStdString();
    }
    EXPECT_EQ(form.Line1.font(), lineFont);
}

} // namespace
} // namespace veldrune
