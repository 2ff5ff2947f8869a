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
        QLocale::Language language;
        QLocale::Territory territory;
        std::uint32_t lcid;
        const char16_t* face; // nullptr: a Western face
        std::int16_t size, charset;
    };
    const Row rows[] = {Row{QLocale::Chinese, QLocale::Taiwan, 1028, u"新細明體", 9, 136},
                        Row{QLocale::Chinese, QLocale::China, 2052, u"宋体", 9, 134},
                        Row{QLocale::Japanese, QLocale::Japan, 1041, u"ＭＳ Ｐゴシック", 9, 128},
                        Row{QLocale::Korean, QLocale::SouthKorea, 1042, u"굴림", 9, 129},
                        Row{QLocale::English, QLocale::UnitedStates, 1033, nullptr, 8, 0},
                        Row{QLocale::German, QLocale::Germany, 1031, nullptr, 8, 0},
                        Row{QLocale::Polish, QLocale::Poland, 1045, nullptr, 8, 238},
                        Row{QLocale::Russian, QLocale::Russia, 1049, nullptr, 8, 204},
                        Row{QLocale::Greek, QLocale::Greece, 1032, nullptr, 8, 161}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.lcid);
        const QLocale locale(row.language, row.territory);
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
