// The window program: the main window on the desktop.

#include "app/veldrune.h"
#include "app/commandbuttons.h"
#include "app/startup.h"
#include "gui/qtplatform.h"
#include "gui/qtwindow.h"
#include "gui/windowcommands.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <iostream>
#include <memory>
#include <string_view>

int main(int argc, char* argv[]) {
    // Answered before the window is created, so they need no display.
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--version") {
            std::cout << "veldrune " VELDRUNE_VERSION "\n";
            return 0;
        }
        if (argument == "--help") {
            std::cout << "Usage: veldrune [/D] [/E] [station.json]\n"
                         "  /D            show the PRINT TEST button\n"
                         "  /E            ignore VELDRUNE.TXT and keep the built-in wording\n"
                         "  station.json  open this station file once the window is up\n"
                         "  --help        print this help and exit\n"
                         "  --version     print the version and exit\n";
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELDRUNE"));
    // The window belongs to its menu entry, org.veldrune.Veldrune.desktop.
    QApplication::setDesktopFileName(QStringLiteral("org.veldrune.Veldrune"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(veldrune::VersionMajor)
                                            .arg(veldrune::VersionMinor)
                                            .arg(veldrune::VersionRevision));
    // One look on every desktop: the window is laid out to the pixel.
    QApplication::setStyle(QStringLiteral("Fusion"));

    veldrune::QtPlatform platform(QApplication::applicationDirPath(), QDir::currentPath());
    veldrune::Veldrune program(platform);
    // The model starts up before the widgets exist: each widget is then made once as the
    // window first shows it, instead of following every step of the start-up (the chart
    // drawn into the hidden duty-cycle picture, every list filled and refilled). Until the
    // window is shown, a message box stands alone either way.
    const auto arguments = veldrune::SplitArguments(QApplication::arguments().mid(1));
    program.startUp(arguments.commandLine);
    veldrune::QtWindow window(program.form());
    platform.setMainWindow(&window);
    // Start-up centred the window by the frame the layout assumes; once the window system
    // tells the real one, the window is centred by that.
    window.onFrameChanged = [&] { veldrune::CentreForm(program.form(), platform.screenSize()); };

    // Keys, station files, the tool comparison, names for assistive technology.
    veldrune::WindowCommands commands(window, program);

    window.show();
    window.activateWindow();
    // The preview of PRINT TEST is made once the main window is up: nothing can show it before.
    std::unique_ptr<veldrune::QtWindow> preview;
    QTimer::singleShot(0, &window, [&] {
        preview = std::make_unique<veldrune::QtWindow>(program.form2(), false);
        // Closing the preview unloads it: the next use loads it again.
        preview->onClosed = [&] { program.form2().setLoaded(false); };
    });
    if (!arguments.stationFiles.isEmpty()) {
        const QString path = QDir::current().absoluteFilePath(arguments.stationFiles.first());
        QTimer::singleShot(0, &window,
                           [&, path] { window.perform([&] { commands.files().open(path); }); });
    }
    return QApplication::exec();
}
