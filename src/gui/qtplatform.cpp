#include "gui/qtplatform.h"

#include "gui/cupsqueue.h"
#include "window/twips.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QToolTip>

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
    if (owner)
        reactivate();
}

void QtPlatform::reactivate() {
    // Without a window manager nothing hands the activation back to the main window.
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

Platform::UnsavedChanges QtPlatform::askUnsavedChanges(const QString& fileName) {
    QWidget* owner = m_mainWindow && m_mainWindow->isVisible() ? m_mainWindow.data() : nullptr;
    QMessageBox box(QMessageBox::Warning, ProgramTitle,
                    QStringLiteral("THE CHANGES TO %1 ARE NOT SAVED.").arg(fileName),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner);
    box.setInformativeText(QStringLiteral("SAVE THEM BEFORE THEY ARE LOST?"));
    box.setDefaultButton(QMessageBox::Save);
    const int answer = box.exec();
    if (owner)
        reactivate();
    switch (answer) {
    case QMessageBox::Save:
        return UnsavedChanges::Save;
    case QMessageBox::Discard:
        return UnsavedChanges::Discard;
    default:
        return UnsavedChanges::Cancel;
    }
}

void QtPlatform::showStatus(const QString& text) {
    if (!m_mainWindow || !m_mainWindow->isVisible())
        return;
    QWidget* near = m_mainWindow->focusWidget() ? m_mainWindow->focusWidget() : m_mainWindow.data();
    QToolTip::showText(near->mapToGlobal(QPoint(0, near->height() + 4)), text, near, QRect(), 3000);
}

std::unique_ptr<QPagedPaintDevice> QtPlatform::choosePrinter(const QString& jobName) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(jobName);
    QPrintDialog dialog(printer.get(), m_mainWindow);
    // Printing several copies or a range of one page means nothing here.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    const bool chosen = dialog.exec() == QDialog::Accepted;
    if (m_mainWindow) {
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    }
    if (!chosen)
        return nullptr;
    // The page as a PDF file gets it: the origin at the paper's corner, no margins.
    printer->setFullPage(true);
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    return printer;
}

QString QtPlatform::printerTrouble(QPagedPaintDevice& device) {
    auto* printer = dynamic_cast<QPrinter*>(&device);
    if (!printer || printer->outputFormat() != QPrinter::NativeFormat)
        return {}; // a PDF file: its writing reports its own failures
    const QString name = printer->printerName();
    if (printer->printerState() == QPrinter::Aborted)
        return QStringLiteral("the print job for %1 was aborted").arg(name);
    if (printer->printerState() == QPrinter::Error)
        return QStringLiteral("the printer %1 reports an error").arg(name);
    const QPrinterInfo info(*printer);
    if (info.isNull())
        return QStringLiteral("the print system no longer knows the printer %1").arg(name);
    if (info.state() == QPrinter::Error || info.state() == QPrinter::Aborted)
        return QStringLiteral("the printer %1 is stopped or reports an error").arg(name);
    return CupsQueueRefusal(name);
}

QString QtPlatform::printRefusal(QPagedPaintDevice& device) {
    const auto* printer = dynamic_cast<QPrinter*>(&device);
    if (!printer || printer->outputFormat() != QPrinter::NativeFormat)
        return {};
    // The last request of the print system's library was the one that sent the page.
    return CupsLastRefusal();
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
    // The area windows may take: the screen less the desktop's panels.
    const QSize size = screen->availableGeometry().size();
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
