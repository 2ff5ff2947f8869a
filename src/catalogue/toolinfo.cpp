#include "catalogue/toolinfo.h"

#include "numbers/numberformat.h"
#include "numbers/textvalue.h"
#include "platform/ansitext.h"
#include "platform/fieldreader.h"
#include "platform/platform.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace veldrune {

namespace {

// Conversion factors from one kilogram-force metre, as the catalogue has always used them.
constexpr double NmPerKgm = 9.80665;
constexpr double KgcmPerKgm = 100;
constexpr double FtlbsPerKgm = 7.23312;
constexpr double InlbsPerKgm = 86.7974;

struct ReadError {
    QString reason;
};

// Reads one record, storing each field as soon as it is read, so that a failure keeps what
// came before it.
class RecordReader {
public:
    RecordReader(FieldReader& fields, bool longHeader)
        : m_fields(fields)
        , m_longHeader(longHeader) {}

    std::optional<ReadError> read(ToolEntry& entry) {
        const auto model = m_fields.next();
        if (!model)
            return ReadError{QStringLiteral("the file ends inside a record")};
        entry.Model = FixedModel(*model);
        const auto torque = m_fields.next();
        if (!torque)
            return ReadError{QStringLiteral("the file ends inside a record")};
        std::int16_t* integers[] = {
            &entry.MaxSpeed,          &entry.MinSpeed,          &entry.TorqueDecimals[0],
            &entry.SpareField[0],     &entry.TorqueDecimals[1], &entry.SpareField[1],
            &entry.TorqueDecimals[2], &entry.SpareField[2],     &entry.TorqueDecimals[3],
            &entry.SpareField[3],     &entry.TorqueDecimals[4], &entry.SpareField[4]};
        for (std::int16_t* field : integers) {
            if (auto error = readInteger(*field))
                return error;
        }
        if (auto error = convertTorque(*torque, entry))
            return error;
        if (entry.Model.startsWith(u"LMW") && !m_fields.next())
            return ReadError{QStringLiteral("the file ends inside a record")};
        if (m_longHeader) {
            if (auto error = readInteger(entry.ExtraField))
                return error;
        }
        return std::nullopt;
    }

private:
    std::optional<ReadError> readInteger(std::int16_t& target) {
        const auto field = m_fields.next();
        if (!field)
            return ReadError{QStringLiteral("the file ends inside a record")};
        const auto value = RoundInt16(TextValue(*field));
        if (!value)
            return ReadError{QStringLiteral("a whole number is out of range: ") + *field};
        target = *value;
        return std::nullopt;
    }

    // Fills MaxTorque in unit order. The file's own unit takes the text itself; the others
    // are computed, rounded to 15 significant digits, then scaled like a text.
    static std::optional<ReadError> convertTorque(const QString& text, ToolEntry& entry) {
        const bool newtonMetres = entry.Model.startsWith(u"KRV");
        std::optional<double> t;
        for (int u = 0; u < UnitCount; ++u) {
            const int decimals = entry.TorqueDecimals[u];
            if ((newtonMetres && u == 0) || (!newtonMetres && u == 1)) {
                entry.MaxTorque[u] = ScaleToInteger(text, decimals);
                continue;
            }
            if (!t) {
                t = StrictNumber(text);
                if (!t)
                    return ReadError{QStringLiteral("the torque is not a number: ") + text};
            }
            double value = 0;
            if (newtonMetres) {
                const double perUnit[] = {1, 1, KgcmPerKgm, FtlbsPerKgm, InlbsPerKgm};
                value = *t * perUnit[u] / NmPerKgm;
            } else {
                const double perUnit[] = {NmPerKgm, 1, KgcmPerKgm, FtlbsPerKgm, InlbsPerKgm};
                value = *t * perUnit[u];
            }
            if (!std::isfinite(value))
                return ReadError{QStringLiteral("the torque overflows: ") + text};
            entry.MaxTorque[u] = ScaleToInteger(GeneralText(value, 15), decimals);
        }
        return std::nullopt;
    }

    FieldReader& m_fields;
    bool m_longHeader;
};

} // namespace

std::int16_t ScaleToInteger(QStringView text, int decimals) {
    double x = TextValue(text);
    if (decimals >= 1 && decimals <= 4)
        x *= std::pow(10.0, decimals);
    if (x >= 32767.0)
        return 32767;
    if (x <= -32767.0)
        return -32767;
    const double whole = std::floor(x);
    const double rounded = x - whole >= 0.5 ? whole + 1 : whole;
    return static_cast<std::int16_t>(std::clamp(rounded, -32767.0, 32767.0));
}

ToolInfoResult ReadToolInfo(const QString& text) {
    ToolInfoResult result;
    FieldReader fields(text);
    QString third;
    for (int i = 0; i < 3; ++i) {
        const auto field = fields.next();
        if (!field) {
            result.stoppedBecause = QStringLiteral("the header has fewer than three fields");
            result.table[1].Model = FixedModel(QStringLiteral("END"));
            return result;
        }
        third = *field;
    }
    // A long third header field marks files whose records carry one more field.
    RecordReader records(fields, third.size() >= 70);
    int n = 0;
    while (!fields.atEnd()) {
        if (n == ToolTable::MaxTools) {
            result.stoppedBecause =
                QStringLiteral("the catalogue holds more than %1 tools").arg(ToolTable::MaxTools);
            break;
        }
        ++n;
        if (auto error = records.read(result.table[n])) {
            result.stoppedBecause = QStringLiteral("record %1: %2").arg(n).arg(error->reason);
            break;
        }
    }
    result.tools = n;
    result.table[n + 1].Model = FixedModel(QStringLiteral("END"));
    return result;
}

void LoadToolInfo(ToolTable& table, Platform& platform, const QString& path) {
    const auto bytes = platform.fileSize(path) > 0 ? platform.readFile(path) : std::nullopt;
    if (!bytes || bytes->isEmpty()) {
        platform.showMessage(ToolInfoMissingMessage, MessageIcon::Critical, ProgramTitle);
        return;
    }
    table = ReadToolInfo(DecodeAnsiText(*bytes)).table;
}

} // namespace veldrune
