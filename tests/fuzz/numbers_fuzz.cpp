// Reading and writing numbers: whatever the text, reading gives a finite number, and writing
// a finite number gives a text that reads back as that number, to the digits written.

#include "fuzzsetup.h"

#include "catalogue/ratings.h"
#include "catalogue/toolinfo.h"
#include "numbers/numberformat.h"
#include "numbers/textvalue.h"

#include <cmath>
#include <cstring>

using namespace veldrune;
using veldrune::fuzz::Check;

namespace {

bool broken(const QString& text) {
    return text.isEmpty() || text.contains(u"inf", Qt::CaseInsensitive) ||
           text.contains(u"nan", Qt::CaseInsensitive);
}

void checkWriting(double value) {
    const QString v = QString::number(value, 'g', 17);
    for (int decimals = 0; decimals <= 4; ++decimals) {
        const QString fixed = FormatFixed(value, decimals);
        const double tolerance = 0.5 * std::pow(10.0, -decimals) + std::abs(value) * 1e-14;
        Check(!broken(fixed) && std::abs(TextValue(fixed) - value) <= tolerance * (1 + 1e-9),
              QStringLiteral("FormatFixed(%1, %2) gave %3").arg(v).arg(decimals).arg(fixed));
    }
    for (const int digits : {7, 15}) {
        const QString general = GeneralText(value, digits);
        const double tolerance = std::abs(value) * 6 * std::pow(10.0, -digits);
        Check(!broken(general) && std::abs(TextValue(general) - value) <= tolerance,
              QStringLiteral("GeneralText(%1, %2) gave %3").arg(v).arg(digits).arg(general));
        Check(!broken(SignedText(value, digits)), QStringLiteral("SignedText broke"));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    const double value = TextValue(text);
    Check(std::isfinite(value), QStringLiteral("TextValue gave a non-finite number"));
    if (const auto strict = StrictNumber(text))
        Check(*strict == value, QStringLiteral("StrictNumber and TextValue differ"));
    const auto whole = RoundInt16(value);
    Check(whole ? std::abs(*whole - value) <= 0.5 : std::abs(value) >= 32767.5,
          QStringLiteral("RoundInt16 is off by more than 0.5 or refused an in-range value"));
    checkWriting(value);

    // The catalogue's scaled integers and their captions.
    for (std::int16_t decimals = 0; decimals <= 5; ++decimals) {
        const std::int16_t scaled = ScaleToInteger(text, decimals);
        Check(scaled != -32768, QStringLiteral("ScaleToInteger out of range"));
        QString caption;
        if (decimals <= 4)
            FormatScaled(scaled, decimals, caption);
        Check(decimals > 4 || !broken(caption), QStringLiteral("FormatScaled wrote ") + caption);
    }

    // Any double at all, including the ones no short text reaches.
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        if (std::isfinite(raw))
            checkWriting(raw);
    }
    return 0;
}
