#pragma once

#include "catalogue/catalogue.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace veldrune {

class Form1;
struct ToolSelection;

// The gear ratio and the torque factor the rating display applies for any angle head.
inline constexpr float DisplayHeadRatio = 1.555f;
inline constexpr double HeadTorqueFactor = 0.96;

// The entry of the angle-head list that stands for no head.
inline const QString NoAngleHead = QStringLiteral(" ");

struct AngleHead {
    QString name;
    // Maximum output torque per unit, as the head's rating sheet writes it.
    std::array<QString, UnitCount> ratings;
};

// The head of that name, if there is one.
const AngleHead* FindAngleHead(const QString& name);

// The heads that fit a tool, in list order, chosen by the first 7 characters of its model.
QStringList HeadsForModel(const QString& model);

// Refills the ANGLE list for the tool at TOOLTYPE and selects the entry for no head.
void ANGLEHEAD(Form1& form, const ToolTable& tools, std::int16_t TOOLTYPE);

// A pick in the ANGLE list: the ratings are shown for the head and the cycle recalculated.
void AngleClick(Form1& form, const ToolTable& tools, ToolSelection& selection,
                const Recalculate& recalculate);

} // namespace veldrune
