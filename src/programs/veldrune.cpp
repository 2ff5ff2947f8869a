// The window program: the main window on the desktop.

#include "app/veldrune.h"
#include "app/commandbuttons.h"
#include "app/startup.h"
#include "gui/qtplatform.h"
#include "gui/qtwindow.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELDRUNE"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(veldrune::VersionMajor)
                                            .arg(veldrune::VersionMinor)
                                            .arg(veldrune::VersionRevision));
    // One look on every desktop: the window is laid out to the pixel.
    QApplication::setStyle(QStringLiteral("Fusion"));

    veldrune::QtPlatform platform(QApplication::applicationDirPath(), QDir::currentPath());
    veldrune::Veldrune program(platform);
    veldrune::QtWindow window(program.form());
    veldrune::QtWindow preview(program.form2(), false);
    // Closing the preview unloads it: the next use loads it again.
    preview.onClosed = [&] { program.form2().setLoaded(false); };
    platform.setMainWindow(&window);

    program.startUp(veldrune::JoinArguments(QApplication::arguments().mid(1)));
    // Start-up centred the window by the frame the layout assumes; once the window system
    // tells the real one, the window is centred by that.
    window.onFrameChanged = [&] { veldrune::CentreForm(program.form(), platform.screenSize()); };
    window.show();
    window.activateWindow();
    return QApplication::exec();
}
