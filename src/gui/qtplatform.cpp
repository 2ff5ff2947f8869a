#include "gui/qtplatform.h"

#include "window/twips.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>

namespace veldrune {

QtPlatform::QtPlatform(QString programFolder, QString workingFolder)
    : LocalFiles(std::move(programFolder), std::move(workingFolder)) {}

void QtPlatform::showMessage(const QString& text, MessageIcon icon, const QString& title) {
    // Before the main window is shown (at start-up) the box stands alone, centred on the
    // screen.
    QWidget* owner = m_mainWindow && m_mainWindow->isVisible() ? m_mainWindow.data() : nullptr;
    // The program's messages break their lines with a carriage return; Qt's boxes break
    // them at a line feed.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical
                                                  : QMessageBox::Information,
                    title, shown, QMessageBox::Ok, owner);
    box.exec();
    // Without a window manager nothing hands the activation back to the main window.
    if (owner) {
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    }
}

std::unique_ptr<QPagedPaintDevice> QtPlatform::choosePrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), m_mainWindow);
    // Printing several copies or a range of one page means nothing here.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    const bool chosen = dialog.exec() == QDialog::Accepted;
    if (m_mainWindow) {
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    }
    return chosen ? std::move(printer) : nullptr;
}

QSizeF QtPlatform::printerPageSize() const {
    const QPrinter printer;
    const QSizeF points = printer.pageLayout().fullRect(QPageLayout::Point).size();
    return points * 20;
}

QSizeF QtPlatform::screenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QSize size = screen->geometry().size();
    return {double(size.width() * TwipsPerPixel), double(size.height() * TwipsPerPixel)};
}

QString QtPlatform::chooseStationFile(FileDialog dialog, const QString& suggested) {
    const QString filter = QStringLiteral("Station files (*.json);;All files (*)");
    const QString start = suggested.isEmpty() ? workingFolder() : suggested;
    QString path;
    if (dialog == FileDialog::Open) {
        path = QFileDialog::getOpenFileName(m_mainWindow, QStringLiteral("Open station"), start,
                                            filter);
    } else {
        path = QFileDialog::getSaveFileName(m_mainWindow, QStringLiteral("Save station"), start,
                                            filter);
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".json");
    }
    if (m_mainWindow && !m_mainWindow->isActiveWindow())
        m_mainWindow->activateWindow();
    return path;
}

} // namespace veldrune
