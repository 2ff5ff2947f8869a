#include "report/languagefont.h"

#include "window/form1.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

#include <QFontDatabase>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

TEST(LanguageFont, ChoosesTheTablesFaceSizeAndCharacterSetByTheLocaleIdentifier) {
    struct Row {
        const char* locale;
        std::uint32_t lcid;
        const char16_t* face; // nullptr: a Western face
        std::int16_t size, charset;
    };
    const Row rows[] = {Row{"zh_TW", 1028, u"新細明體", 9, 136},
                        Row{"zh_CN", 2052, u"宋体", 9, 134},
                        Row{"ja_JP", 1041, u"ＭＳ Ｐゴシック", 9, 128},
                        Row{"ko_KR", 1042, u"굴림", 9, 129},
                        Row{"en_US", 1033, nullptr, 8, 0},
                        Row{"pl_PL", 1045, nullptr, 8, 238},
                        Row{"ru_RU", 1049, nullptr, 8, 204}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.locale);
        const QLocale locale(QString::fromLatin1(row.locale));
        EXPECT_EQ(LocaleIdentifier(locale), row.lcid);
        LanguageFont kept;
        QString face;
        std::int16_t size = 0, charset = 0;
        ChooseLanguageFont(kept, locale, face, size, charset);
        // Tahoma, Arial or System, whichever the font system really has; a substitute it
        // offers under another name does not count, so the face is always a real one.
        if (row.face)
            EXPECT_EQ(face, QString::fromUtf16(row.face));
        else
            EXPECT_TRUE(QFontDatabase::families().contains(face)) << face.toStdString();
        EXPECT_EQ(size, row.size);
        EXPECT_EQ(charset, row.charset);
        EXPECT_EQ(kept.LanguageFontName, face);
    }
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
