#include "gui/qtplatform.h"

#include "window/twips.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace veldrune {

QtPlatform::QtPlatform(QString programFolder, QString workingFolder)
    : LocalFiles(std::move(programFolder), std::move(workingFolder)) {}

void QtPlatform::showMessage(const QString& text, MessageIcon icon, const QString& title) {
    // Before the main window is shown (at start-up) the box stands alone, centred on the
    // screen.
    QWidget* owner = m_mainWindow && m_mainWindow->isVisible() ? m_mainWindow.data() : nullptr;
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical
                                                  : QMessageBox::Information,
                    title, text, QMessageBox::Ok, owner);
    box.exec();
    // Without a window manager nothing hands the activation back to the main window.
    if (owner) {
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    }
}

QSizeF QtPlatform::screenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QSize size = screen->geometry().size();
    return {double(size.width() * TwipsPerPixel), double(size.height() * TwipsPerPixel)};
}

} // namespace veldrune
