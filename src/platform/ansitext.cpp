#include "platform/ansitext.h"

#include <QStringDecoder>

#include <cerrno>
#include <iconv.h>

namespace veldrune {

namespace {

// The only call into the system's converter, the C library's iconv (MultiByteToWideChar
// would take its place on Windows). Without the code page every byte is a gap.
QString decodeCodePage(const QByteArray& bytes, int codePage) {
    const QByteArray name = QByteArrayLiteral("CP") + QByteArray::number(codePage);
    const iconv_t converter = iconv_open("UTF-8", name.constData());
    if (converter == iconv_t(-1))
        return QString::fromLatin1(bytes);
    QString text;
    char buffer[1024];
    // Converts what fits into the buffer; null input flushes what the converter holds back.
    const auto convert = [&](char** in, std::size_t* inLeft) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const bool failed = iconv(converter, in, inLeft, &out, &outLeft) == std::size_t(-1);
        const int error = failed ? errno : 0;
        text += QString::fromUtf8(buffer, out - buffer); // iconv writes whole characters
        return error;
    };
    QByteArray input = bytes;
    char* in = input.data();
    std::size_t inLeft = std::size_t(input.size());
    while (inLeft > 0) {
        const int error = convert(&in, &inLeft);
        if (error != 0 && error != E2BIG) { // a gap, or a character cut short by the end
            convert(nullptr, nullptr);
            text += QChar(char16_t(static_cast<unsigned char>(*in)));
            ++in;
            --inLeft;
        }
    }
    convert(nullptr, nullptr);
    iconv_close(converter);
    return text;
}

} // namespace

QString DecodeAnsiText(const QByteArray& bytes, int codePage) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return decodeCodePage(bytes, codePage);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

} // namespace veldrune
