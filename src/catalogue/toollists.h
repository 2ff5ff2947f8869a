#pragma once

#include "catalogue/catalogue.h"
#include "window/programstate.h"

#include <QString>

namespace veldrune {

class Form1;

inline const QString ToolPrompt = QStringLiteral("SELECT TOOL TYPE");
inline const QString NmOnlyMarker = QStringLiteral("NM.TXT");

// The controller systems, in list order.
inline const QString MVC2400 = QStringLiteral("MVC2400");
inline const QString Tarvon = QStringLiteral("Tarvon");
inline const QString MVC4800 = QStringLiteral("MVC4800");

// Whether the tool list offers a model for a system.
bool OffersTool(const QString& system, const QString& model);

// A pick in the SYSTEM list: the LOAD CALCULATION button, the tool list's width and the
// angle-head list follow the system, then the lists are filled anew.
void SystemClick(Form1& form, const ToolTable& tools, ToolSelection& selection,
                 const ModeCaptions& captions, const ProgramFlags& flags);

// Fills the tool list with the current system's tools and the unit list with the torque
// units, and sets the unit names and the phase captions of the current layout.
void FillToolLists(Form1& form, const ToolTable& tools, ToolSelection& selection,
                   const ModeCaptions& captions, const ProgramFlags& flags);

// A pick in the TOOL TYPE list: the tool becomes the selected one, its angle heads and
// ratings are shown, the cycle is recalculated and the focus moves to the fastening data.
void ToolListClick(Form1& form, const ToolTable& tools, ToolSelection& selection,
                   const ProgramFlags& flags, const Recalculate& recalculate);

} // namespace veldrune
