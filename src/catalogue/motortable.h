#pragma once

#include <array>

namespace veldrune {

// Constants of one motor, as its maker rates it.
struct MotorRecord {
    double WindingResistance = 0;
    double RatedCurrent = 0;
    double PeakCurrent = 0;
    double OverloadFactor = 0;
    double TimeFactor = 0;
    double PeakTorque = 0;
    double Spare1 = 0;
    double Spare2 = 0;
};

// Rows 1..20; rows 14..20 stay zero and are never chosen for a tool.
class MotorTable {
public:
    static constexpr int Size = 20;
    MotorRecord& operator[](int row) { return m_rows.at(row); }
    const MotorRecord& operator[](int row) const { return m_rows.at(row); }

private:
    std::array<MotorRecord, Size + 1> m_rows{}; // row 0 is not used
};

// Fills rows 1..13 with the motors the tools are built on.
void InitMotorTable(MotorTable& table);

} // namespace veldrune
