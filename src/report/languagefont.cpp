#include "report/languagefont.h"

#include "platform/ansitext.h"
#include "window/windowmodel.h"

#include <QFont>
#include <QFontInfo>

namespace veldrune {

namespace {

struct Sublanguage {
    QLocale::Territory territory;
    std::uint32_t id;
};

// Primary language numbers of the Windows locale identifiers, and the ANSI code page of each
// language.
struct LanguageCode {
    QLocale::Language language;
    std::uint32_t primary;
    int codePage;
};

const LanguageCode Languages[] = {
    {QLocale::Arabic, 0x01, 1256},     {QLocale::Bulgarian, 0x02, 1251},
    {QLocale::Catalan, 0x03, 1252},    {QLocale::Chinese, 0x04, 936},
    {QLocale::Czech, 0x05, 1250},      {QLocale::Danish, 0x06, 1252},
    {QLocale::German, 0x07, 1252},     {QLocale::Greek, 0x08, 1253},
    {QLocale::English, 0x09, 1252},    {QLocale::Spanish, 0x0A, 1252},
    {QLocale::Finnish, 0x0B, 1252},    {QLocale::French, 0x0C, 1252},
    {QLocale::Hebrew, 0x0D, 1255},     {QLocale::Hungarian, 0x0E, 1250},
    {QLocale::Icelandic, 0x0F, 1252},  {QLocale::Italian, 0x10, 1252},
    {QLocale::Japanese, 0x11, 932},    {QLocale::Korean, 0x12, 949},
    {QLocale::Dutch, 0x13, 1252},      {QLocale::NorwegianBokmal, 0x14, 1252},
    {QLocale::Polish, 0x15, 1250},     {QLocale::Portuguese, 0x16, 1252},
    {QLocale::Romanian, 0x18, 1250},   {QLocale::Russian, 0x19, 1251},
    {QLocale::Croatian, 0x1A, 1250},   {QLocale::Serbian, 0x1A, 1251},
    {QLocale::Slovak, 0x1B, 1250},     {QLocale::Albanian, 0x1C, 1250},
    {QLocale::Swedish, 0x1D, 1252},    {QLocale::Thai, 0x1E, 874},
    {QLocale::Turkish, 0x1F, 1254},    {QLocale::Urdu, 0x20, 1256},
    {QLocale::Ukrainian, 0x22, 1251},  {QLocale::Belarusian, 0x23, 1251},
    {QLocale::Slovenian, 0x24, 1250},  {QLocale::Estonian, 0x25, 1257},
    {QLocale::Latvian, 0x26, 1257},    {QLocale::Lithuanian, 0x27, 1257},
    {QLocale::Persian, 0x29, 1256},    {QLocale::Vietnamese, 0x2A, 1258},
    {QLocale::Macedonian, 0x2F, 1251}, {QLocale::Kazakh, 0x3F, 1251},
};

// Character sets by ANSI code page; any other code page is the Western one, 0.
struct CodePageCharset {
    int codePage;
    std::int16_t charset;
};

const CodePageCharset Charsets[] = {
    {874, 222},  // Thai
    {932, 128},  // Shift-JIS
    {936, 134},  // GB2312
    {949, 129},  // Hangul
    {950, 136},  // Big5
    {1250, 238}, // Eastern Europe
    {1251, 204}, // Cyrillic
    {1253, 161}, // Greek
    {1254, 162}, // Turkish
    {1255, 177}, // Hebrew
    {1256, 178}, // Arabic
    {1257, 186}, // Baltic
    {1258, 163}, // Vietnamese
};

std::int16_t charsetOf(int codePage) {
    for (const CodePageCharset& entry : Charsets) {
        if (entry.codePage == codePage)
            return entry.charset;
    }
    return 0;
}

const LanguageCode* find(QLocale::Language language) {
    for (const LanguageCode& code : Languages) {
        if (code.language == language)
            return &code;
    }
    return nullptr;
}

// Chinese splits by script: traditional in Taiwan (1), Hong Kong (3) and Macao (5),
// simplified in China (2) and Singapore (4).
std::uint32_t chineseSublanguage(const QLocale& locale) {
    switch (locale.territory()) {
    case QLocale::Taiwan:
        return 1;
    case QLocale::China:
        return 2;
    case QLocale::HongKong:
        return 3;
    case QLocale::Singapore:
        return 4;
    case QLocale::Macao:
        return 5;
    default:
        return locale.script() == QLocale::TraditionalChineseScript ? 1 : 2;
    }
}

} // namespace

std::uint32_t LocaleIdentifier(const QLocale& locale) {
    const LanguageCode* code = find(locale.language());
    if (!code)
        return 1033;
    std::uint32_t sublanguage = 1;
    if (locale.language() == QLocale::Chinese)
        sublanguage = chineseSublanguage(locale);
    else if (locale.language() == QLocale::Korean && locale.territory() != QLocale::SouthKorea)
        sublanguage = 2;
    return sublanguage * 1024 + code->primary;
}

int AnsiCodePage(const QLocale& locale) {
    const LanguageCode* code = find(locale.language());
    if (!code)
        return WesternCodePage;
    if (locale.language() == QLocale::Chinese) {
        const std::uint32_t sub = chineseSublanguage(locale);
        return sub == 1 || sub == 3 || sub == 5 ? 950 : 936;
    }
    return code->codePage;
}

std::int16_t UserCharset(const QLocale& locale) {
    return charsetOf(AnsiCodePage(locale));
}

bool FontExists(QString& face) {
    const QString asked = face;
    face = QFontInfo(QFont(asked)).family();
    // Where Arial itself is missing, the font system offers a face of the very same widths
    // under its own name; the window and the report are laid out for those widths.
    const bool arialWidths = asked.compare(u"Arial", Qt::CaseInsensitive) == 0 &&
                             (face == u"Liberation Sans" || face == u"Arimo");
    return arialWidths || asked.toUpper() == face.toUpper();
}

void ChooseLanguageFont(LanguageFont& kept, const QLocale& locale, QString& face,
                        std::int16_t& size, std::int16_t& charset) {
    if (!kept.LanguageFontName.isEmpty()) {
        face = kept.LanguageFontName;
        size = kept.LanguageFontSize;
        charset = kept.LanguageFontCharset;
        return;
    }
    const auto lcid = std::int16_t(LocaleIdentifier(locale));
    const int primary = lcid & 1023;
    const int sublanguage = lcid / 1024;
    if (primary == 4) {
        if (sublanguage == 1) {
            face = QString::fromUtf16(u"\u65B0\u7D30\u660E\u9AD4");
            size = 9;
            charset = 136;
        } else if (sublanguage == 2) {
            face = QString::fromUtf16(u"\u5B8B\u4F53");
            size = 9;
            charset = 134;
        }
    } else if (primary == 17) {
        face = QString::fromUtf16(u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
        size = 9;
        charset = 128;
    } else if (primary == 18) {
        if (sublanguage == 1 || sublanguage == 2)
            face = QString::fromUtf16(u"\uAD74\uB9BC");
        size = 9;
        charset = 129;
    } else {
        QString candidate = QStringLiteral("Tahoma");
        if (!FontExists(candidate)) {
            candidate = QStringLiteral("Arial");
            if (!FontExists(candidate)) {
                candidate = QStringLiteral("System");
                FontExists(candidate);
            }
        }
        face = candidate;
        size = 8;
        charset = UserCharset(locale);
    }
    kept = {face, size, charset};
}

void ApplyLanguageFont(WindowModel& window, LanguageFont& kept, const QLocale& locale) {
    QString face;
    std::int16_t size = 0;
    std::int16_t charset = 0;
    ChooseLanguageFont(kept, locale, face, size, charset);
    // Qt picks the script from the text, so the character set has nothing to set. A size
    // left unchosen is the system's default size.
    FontSpec font{face, size > 0 ? double(size) : window.font().points, false, false};
    window.setFont(font);
    font.bold = true;
    for (const auto& control : window.controls()) {
        switch (control->kind()) {
        case ControlKind::Line:
        case ControlKind::FileList:
        case ControlKind::CommonDialog:
            break; // no font of their own
        default:
            control->setFont(font);
        }
    }
}

} // namespace veldrune
