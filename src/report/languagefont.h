#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>

namespace veldrune {

class WindowModel;

// The font that suits the user's language, worked out once a run: a face, a size in points
// and a character set in the Windows numbering (0 Western, 128 Japanese, 204 Cyrillic, ...).
struct LanguageFont {
    QString LanguageFontName;
    std::int16_t LanguageFontSize = 0;
    std::int16_t LanguageFontCharset = 0;
};

// The Windows locale identifier (LCID) of the locale: the primary language in the low ten
// bits, the sub-language above them. Only the languages whose fonts differ (Chinese,
// Japanese, Korean) and their sub-languages matter here; the others get an identifier of
// their own, English (United States) 1033.
std::uint32_t LocaleIdentifier(const QLocale& locale);

// The Windows ANSI code page of the locale's language, in which text files written in that
// language are kept: 1251 for Cyrillic, 932 for Japanese, ...; 1252 where it has no other.
int AnsiCodePage(const QLocale& locale);

// The character set of the locale's ANSI code page: 0 for Western Europe, 238 for Central
// Europe, 204 for Cyrillic, 128 for Japanese, ...
std::int16_t UserCharset(const QLocale& locale);

// Whether the font system has a face of that name; the face becomes the name the font system
// reports for it. A stand-in of the same widths counts ("Arial" may come back as "Liberation
// Sans"); any other substitute does not.
bool FontExists(QString& face);

// The language font, computed on the first call and kept in `kept`; a face, size or
// character set that the table leaves unchosen keeps the value passed in.
void ChooseLanguageFont(LanguageFont& kept, const QLocale& locale, QString& face,
                        std::int16_t& size, std::int16_t& charset);

// Gives the window and each of its controls the language font, the controls bold.
void ApplyLanguageFont(WindowModel& window, LanguageFont& kept, const QLocale& locale);

} // namespace veldrune
