#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace veldrune {

// Torque units, in the order of the unit list and of the per-unit fields of a tool.
inline constexpr int UnitCount = 5;
inline const std::array<QString, UnitCount> UnitNames = {
    QStringLiteral("NM"), QStringLiteral("KGM"), QStringLiteral("KGCM"), QStringLiteral("FTLBS"),
    QStringLiteral("INLBS")};

inline constexpr int ModelLength = 20;
// Marks a torque too large for its 16-bit field.
inline constexpr std::int16_t TorqueTooLarge = 32767;

struct ToolEntry {
    QString Model; // exactly ModelLength characters once read; series prefix first
    std::int16_t MaxSpeed = 0;
    std::int16_t MinSpeed = 0;
    std::array<std::int16_t, UnitCount> TorqueDecimals{};
    std::array<std::int16_t, UnitCount> SpareField{};
    // The maximum torque per unit, times 10^TorqueDecimals, rounded.
    std::array<std::int16_t, UnitCount> MaxTorque{};
    std::int16_t ExtraField = 0;
};

// The tool catalogue: entries 1..200, the entry after the last tool holding the model "END".
// Until a catalogue is read it holds neither tools nor the marker, and reads as empty.
class ToolTable {
public:
    static constexpr int Size = 200;
    static constexpr int MaxTools = Size - 1; // the marker takes an entry too

    ToolEntry& operator[](int index) { return m_entries.at(index); }
    const ToolEntry& operator[](int index) const { return m_entries.at(index); }

    // Whether the entry at index is the end marker.
    bool isEnd(int index) const { return m_entries.at(index).Model.trimmed() == u"END"; }
    // Number of tools before the marker; 0 when there is no marker.
    int toolCount() const;

private:
    std::array<ToolEntry, Size + 1> m_entries{}; // entry 0 is not used
};

// A model name as the catalogue stores it: padded with blanks or cut to ModelLength
// characters, a character outside the Basic Multilingual Plane counting as one.
QString FixedModel(const QString& name);

} // namespace veldrune
