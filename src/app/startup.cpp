#include "app/startup.h"

#include "window/form1.h"

#include <algorithm>

namespace veldrune {

Arguments SplitArguments(const QStringList& arguments) {
    Arguments split;
    QStringList others;
    for (const QString& argument : arguments) {
        if (argument.endsWith(u".json", Qt::CaseInsensitive))
            split.stationFiles.append(argument);
        else
            others.append(argument);
    }
    split.commandLine = others.join(u' ');
    return split;
}

void ScanCommandLine(const QString& commandLine, Form1& form, ProgramFlags& flags) {
    if (commandLine.size() < 2)
        return;
    for (qsizetype i = 0; i + 1 < commandLine.size(); ++i) {
        const QString pair = commandLine.mid(i, 2).toUpper();
        if (pair == u"/D")
            form.PRNTEST.setVisible(true);
        else if (pair == u"/E")
            flags.SkipCaptionFile = true;
    }
}

void CentreForm(WindowModel& window, QSizeF screen) {
    if (window.state() != WindowState::Normal)
        return;
    // A window larger than the screen keeps its top-left corner, and its title bar, on it.
    window.setPosition(std::max(0.0, (screen.width() - window.outerWidth()) / 2),
                       std::max(0.0, (screen.height() - window.outerHeight()) / 2));
}

} // namespace veldrune
