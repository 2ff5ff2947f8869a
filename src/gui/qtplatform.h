#pragma once

#include "platform/platform.h"

#include <QPointer>

class QWidget;

namespace veldrune {

// The desktop: real message boxes over the main window, the primary screen's size.
class QtPlatform : public LocalFiles {
public:
    QtPlatform(QString programFolder, QString workingFolder);

    // Message boxes open over this window, which is made active again when they close.
    void setMainWindow(QWidget* window) { m_mainWindow = window; }

    void showMessage(const QString& text, MessageIcon icon, const QString& title) override;
    QSizeF screenSize() const override;
    std::unique_ptr<QPagedPaintDevice> choosePrinter(const QString& jobName) override;
    QString printerTrouble(QPagedPaintDevice& device) override;
    QString printRefusal(QPagedPaintDevice& device) override;
    QSizeF printerPageSize() const override;
    QString chooseStationFile(FileDialog dialog, const QString& suggested) override;
    UnsavedChanges askUnsavedChanges(const QString& fileName) override;
    // A tooltip under the control with the focus, for three seconds.
    void showStatus(const QString& text) override;

private:
    void reactivate();

    QPointer<QWidget> m_mainWindow;
};

} // namespace veldrune
