#pragma once

#include "gui/stationfiles.h"

#include <QPointer>

namespace veldrune {

class CompareDialog;
class QtWindow;
class Veldrune;

// The main window's commands beyond the clicks on its controls: a key for each picture button
// (F5 UPDATE CALCULATION, Ctrl+P PRINT OUT, F1 the about box, Ctrl+L LOAD CALCULATION), station
// files (Ctrl+O, Ctrl+S, Ctrl+Shift+S, drops, Ctrl+Q to close), "Compare tools..." (F3 and the tool
// list's context menu), and the names assistive technology reads for every control.
class WindowCommands {
public:
    WindowCommands(QtWindow& window, Veldrune& program);

    StationFiles& files() { return m_files; }

    // Opens "Compare tools..." beside the window, which stays usable while it ranks; a picked
    // row's run is shown in the window as a station file of it would be. The dialog deletes
    // itself when closed.
    CompareDialog* compareTools();

private:
    QtWindow& m_window;
    Veldrune& m_program;
    StationFiles m_files;
};

} // namespace veldrune
