#include "platform/text.h"

namespace veldrune {

namespace {

constexpr qsizetype ExcerptLength = 60;

// Where the character that starts at `i` ends, in UTF-16 units.
qsizetype nextCharacter(const QString& text, qsizetype i) {
    const bool pair =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    return i + (pair ? 2 : 1);
}

// Where the first `count` characters end, in UTF-16 units.
qsizetype endOfCharacters(const QString& text, qsizetype count) {
    qsizetype i = 0;
    for (qsizetype n = 0; n < count && i < text.size(); ++n)
        i = nextCharacter(text, i);
    return i;
}

} // namespace

qsizetype CharacterCount(const QString& text) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); i = nextCharacter(text, i))
        ++n;
    return n;
}

QString LeftCharacters(const QString& text, qsizetype count) {
    return text.left(endOfCharacters(text, count));
}

QString Excerpt(const QString& value, QChar quote) {
    const qsizetype end = endOfCharacters(value, ExcerptLength);
    QString quoted = quote;
    for (qsizetype i = 0; i < end; ++i) {
        const char16_t c = value[i].unicode();
        if (c == u'\n')
            quoted += QStringLiteral("\\n");
        else if (c == u'\r')
            quoted += QStringLiteral("\\r");
        else if (c == u'\t')
            quoted += QStringLiteral("\\t");
        else if (c < 0x20 || c == 0x7F)
            quoted += QStringLiteral("\\x%1").arg(int(c), 2, 16, QLatin1Char('0'));
        else
            quoted += QChar(c);
    }
    if (end == value.size())
        return quoted + quote;
    return quoted + QStringLiteral("...") + quote +
           QStringLiteral(" (cut; %1 characters in all)").arg(CharacterCount(value));
}

} // namespace veldrune
